// The tables of the catalogs vel, histvel and sc.
//
// Widths are characters. A column that receives a value copied from another
// column is at least as wide as its source, so nothing is cut on the way
// (history tables included); the shared widths below keep the copies in step.
// The surrogate key "id" is added by the DDL layer, not listed here.

#include "data/schema.h"

#include <QHash>

namespace fm {

namespace {

// Shared widths of values that travel between tables.
constexpr int kProductCode = 20;  // cpdm: catalogue entry allows 20
constexpr int kProductName = 28;  // cpmc: catalogue entry allows 28
constexpr int kCustomerCode = 8;  // khdm
constexpr int kCustomerName = 12; // khmc: as in the customer register
constexpr int kRegion = 12;       // region, dqmc (the register's dq is 10)
constexpr int kSpec = 5;          // cpgg, gg: kg per bag
constexpr int kPackCode = 8;      // packaging code, as bzbqk.dm
constexpr int kMaterialName = 20; // ylmc: register entry allows 20
constexpr int kOperatorCode = 5;  // czydm, authid
constexpr int kStaffCode = 7;     // rydm
constexpr int kStaffName = 10;    // rymc
constexpr int kDate = 10;         // "yyyy-mm-dd"
constexpr int kWorkstation = 128; // a workstation's identity: a host name or the configured key
constexpr int kDefaultText = 20;  // a text column declared without a width

using Cols = std::vector<ColumnDef>;
using Indexes = std::vector<IndexDef>;

ColumnDef T(const char *name, int width = kDefaultText)
{
    return {QString::fromLatin1(name), ColType::Text, width};
}
ColumnDef F(const char *name) { return {QString::fromLatin1(name), ColType::Float, 0}; }
ColumnDef I(const char *name) { return {QString::fromLatin1(name), ColType::Integer, 0}; }
ColumnDef DT(const char *name) { return {QString::fromLatin1(name), ColType::DateTime, 0}; }
ColumnDef DEC(const char *name) { return {QString::fromLatin1(name), ColType::Decimal, 0}; }
ColumnDef CUR(const char *name) { return {QString::fromLatin1(name), ColType::Currency, 0}; }

// Dates beside a code in a look-up index are compared as stored.
QStringList dateColumns(const QStringList &columns)
{
    QStringList out;
    for (const QString &c : columns)
        if (c.startsWith(QLatin1String("rq")) || c.endsWith(QLatin1String("rq")) || c.startsWith(QLatin1String("scrq")))
            out << c;
    return out;
}

// Unique, matched without regard to case.
IndexDef UCI(QStringList columns) { return {std::move(columns), true, true, {}}; }
// Unique, exact.
IndexDef UX(QStringList columns) { return {std::move(columns), true, false, {}}; }
// Look-up on codes (or names) that statements match without regard to case;
// a plain index would not serve lower(col) = lower(?).
IndexDef CI(QStringList columns)
{
    QStringList exact = dateColumns(columns);
    return {std::move(columns), false, true, std::move(exact)};
}
// Look-up on dates, flags and names that are compared as stored.
IndexDef IX(QStringList columns) { return {std::move(columns), false, false, {}}; }

Cols operator+(Cols a, const Cols &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// s0 (a price in yuan per kg) followed by the 38 nutrient factors.
Cols factorColumns()
{
    Cols c;
    for (int i = 0; i <= 38; ++i)
        c.push_back({QStringLiteral("s%1").arg(i), ColType::Float, 0});
    return c;
}

// sale1 and his_sale1 share this list, so archiving copies like for like.
Cols salesLineColumns()
{
    return {T("rq_1", kDate), T("cpmc", kProductName), T("cpgg", kSpec), F("zcjg"),
            F("zznum"), F("zzjg"), F("zzje"), F("kpjg"), F("tlnum"), F("kpje"),
            T("khmc", kCustomerName), T("rq_2", kDate), T("cpdm", kProductCode),
            T("region", kRegion), T("khdm", kCustomerCode), T("czydm", kOperatorCode),
            DEC("sjbs"), I("recnum"), T("bz_1", 1), F("cbjg"), T("zzhm", 8), T("bz_3", 1),
            F("sjxl1"), F("sjxl2"), F("zcje"), F("cbje"), F("hksl"), F("hkje"), F("ce"),
            T("bz_2", 1), T("fphm", 8), T("bszl", 4)};
}

// khzj and his_khzj share this list. sale1_id links a return's funds row to
// its sales line (empty for slips, payments and rows written before the link).
Cols fundsLineColumns()
{
    return {T("khdm", kCustomerCode), T("khmc", kCustomerName), T("region", kRegion),
            F("ysje"), F("sjje"), T("sjdx", 64), F("sqje"), F("sjxl"), T("rq", kDate),
            T("czydm", kOperatorCode), F("zzje"), I("sale1_id")};
}

// khzqk and khqk_cx differ only in the width of rq (a month or a date).
Cols arrearsColumns(int rqWidth)
{
    return {T("khdm", kCustomerCode), T("khmc", kCustomerName), T("region", kRegion),
            F("ysje"), F("sjje"), F("sjqk"), F("sjzq"), F("tgf"), T("rq", rqWidth)};
}

Cols nutrientResultColumns()
{
    return {T("pfhm", 9), T("pfmc", 12), T("ylys", 20), T("ysdm", 3), F("result"),
            F("stand"), F("comp"), T("rec_num", 2)};
}

// A packaging group of a production line: code, name, [spec,] price, count, amount.
Cols packagingColumns(const char *code, const char *name, const char *spec, const char *price,
                      const char *count, const char *amount)
{
    Cols c{T(code, kPackCode), T(name, kProductName)};
    if (spec)
        c.push_back(T(spec, kSpec));
    return c + Cols{F(price), I(count), F(amount)};
}

// Product stock lines and cost summaries share the product triple.
Cols productColumns()
{
    return {T("cpdm", kProductCode), T("cpmc", kProductName), T("cpgg", kSpec)};
}

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> t;
    auto add = [&t](Catalog cat, const char *name, Cols cols, Indexes idx = {}) {
        TableDef d;
        d.catalog = cat;
        d.name = QString::fromLatin1(name);
        d.columns = std::move(cols);
        d.indexes = std::move(idx);
        t.push_back(std::move(d));
    };
    const Catalog V = Catalog::Vel, H = Catalog::Histvel, S = Catalog::Sc;

    // ---- vel: sales and accounts -------------------------------------------

    // Operators; password holds a salted hash, author the rights string.
    add(V, "zxauth1",
        {T("authid", kOperatorCode), T("authmc", 10), T("password", 128), T("deptment", 10),
         T("author", 76)},
        {UCI({"authid"})});

    // Customer register; xyed is the credit limit (yuan), empty for none.
    add(V, "zxkh",
        {T("khdm", kCustomerCode), T("khmc", kCustomerName), T("dq", 10), T("khbz", 1),
         T("teleph", 12), F("xyed")},
        {UCI({"khdm"}), IX({"dq"})});

    // Regions.
    add(V, "dqk", {T("dq", 10), T("bh", 2)}, {UCI({"dq"}), UX({"bh"})});

    // One row per product name.
    add(V, "cpgg",
        {T("cpdm", kProductCode), T("cpmc", kProductName), T("gg_5", 1), T("gg_20", 1),
         T("gg_40", 1), T("bz", 1)},
        {UCI({"cpmc"})});

    // Product categories with their list of bag sizes.
    add(V, "cplbgg", {T("lbmc", 12), T("cpbz", 1), T("cpgg", 50)},
        {UCI({"cpbz"}), UCI({"lbmc"})});

    // Saleable products with list and cost price.
    add(V, "price",
        {T("cpmc", kProductName), T("cpgg", kSpec), F("kpjg"), F("cbjg"), T("cpbz", 1),
         DT("rq"), T("cpdm", kProductCode)},
        {UCI({"cpdm"}), IX({"cpbz"}), IX({"cpmc", "cpgg"})});

    // Price per customer and product; looked up by region and by customer
    // name (compared as stored) too.
    add(V, "khprice",
        {T("khdm", kCustomerCode), T("khmc", kCustomerName), T("cpdm", kProductCode),
         T("cpmc", kProductName), T("cpgg", kSpec), F("kpjg"), T("dqbh", 2),
         T("dqmc", kRegion), T("cpbz", 1), DT("rq"), F("fhll")},
        // A region's prices are read a page at a time in the order of the
        // folded codes: the region index carries them, so no page sorts the
        // region's rows.
        {UCI({"khdm", "cpdm"}), CI({"cpdm"}), IndexDef{{"dqmc", "khdm", "cpdm"}, false, true, {"dqmc"}},
         IX({"khmc"})});

    // Month-end rebate schedule, one row per product flag.
    {
        Cols c;
        for (int i = 1; i <= 10; ++i)
            c.push_back({QStringLiteral("b%1").arg(i, 2, 10, QLatin1Char('0')), ColType::Float, 0});
        add(V, "zcprice", c + Cols{DT("rq1"), T("cpbz", 1)}, {UX({"cpbz"})});
    }

    // Sales and return lines of the current period; an operator's lines of a
    // day by kind (the day's returns) have their own index.
    add(V, "sale1", salesLineColumns(),
        {CI({"khdm", "rq_1"}), IX({"rq_1"}), IX({"region", "rq_1"}), IX({"bz_3", "rq_1"}),
         IX({"zzhm"}), IX({"czydm", "rq_2", "bz_1"})});

    // Return lines; sale1_id is the id of the return's sales line.
    add(V, "khtl",
        {T("khdm", kCustomerCode), T("region", kRegion), T("khmc", kCustomerName),
         T("cpdm", kProductCode), T("cpmc", kProductName), T("cpgg", kSpec), F("tlprice"),
         F("tlnum"), F("tlje"), T("bz", 1), T("czydm", kOperatorCode), T("tlrq", kDate),
         T("kprq", kDate), I("rec_num"), I("sale1_id")},
        // sale1_id: the return line the row was written with. The return
        // query searches by invoice or by return date.
        {CI({"khdm"}), IX({"sale1_id"}), IX({"kprq"}), IX({"tlrq"})});

    // Payment lines against products.
    add(V, "khhk",
        {T("khdm", kCustomerCode), T("region", kRegion), T("khmc", kCustomerName),
         T("cpdm", kProductCode), T("cpmc", kProductName), T("cpgg", kSpec), F("hksl"),
         F("hkjg"), F("hkje"), DT("hkrq"), T("fphm", 8), T("bz", 1), T("czydm", kOperatorCode),
         T("zzhm", 8)});

    // Turnover-number and serial counters; at most one row (empty = not initialised).
    add(V, "fphm", {T("zzhm", 8), I("rec_num")});

    // Customer funds lines of the current period.
    // sale1_id: the return line a return's row was written with.
    add(V, "khzj", fundsLineColumns(),
        {CI({"khdm", "rq"}), IX({"rq"}), IX({"region", "rq"}), IX({"sale1_id"})});

    // Settlement totals per customer and period.
    add(V, "khjs",
        {T("khdm", kCustomerCode), T("khmc", kCustomerName), F("zxl"), F("zje"), F("ztl"),
         F("tlzc"), F("sjxl"), F("sjje"), F("qtjl"), F("khjj"), T("rq_1", kDate),
         T("rq_2", kDate)});

    // Settlement detail per customer and product.
    add(V, "khjs_mx",
        Cols{T("khdm", kCustomerCode), T("region", kRegion), T("khmc", kCustomerName)}
            + productColumns()
            + Cols{F("sjxl"), F("pmje"), F("zcjg"), F("zcje"), F("tgf"), T("rq_1", kDate),
                   T("rq_2", kDate), T("cplb", 1)},
        {CI({"khdm"})});

    // Customer cost detail (fphm holds the sales line's recnum as text, up to
    // eleven characters). Each workstation keeps its own rows (owner: its
    // identity), so two clerks processing costs never replace each other's.
    // A workstation holds one run's rows, so its owner finds a customer's
    // rows too; a second index would only slow the rebuild.
    add(V, "khcb_mx",
        Cols{T("khdm", kCustomerCode), T("region", kRegion), T("khmc", kCustomerName)}
            + productColumns()
            + Cols{F("zznum"), F("zzjg"), F("zzje"), F("cbjg"), F("cbje"), F("cbce"),
                   T("rq", kDate), T("fphm", 11), T("owner", kWorkstation)},
        {IX({"owner", "region"})});

    // Customer arrears by month ("yyyy-mm").
    add(V, "khzqk", arrearsColumns(7), {CI({"khdm", "rq"}), IX({"region"}), IX({"rq"})});

    // Working table of the arrears summary.
    add(V, "khqk_cx", arrearsColumns(kDate));

    // Print lines of a sales slip: eight per customer, owned by one workstation
    // (its identity, up to 64 characters, ":" and the operator code).
    add(V, "khprn",
        {T("khdm", kCustomerCode), T("khmc", kCustomerName), T("region", kRegion),
         T("czydm", kOperatorCode), F("zznum"), T("cpmc", kProductName), T("sjxl1", 20),
         T("zzhm", 8), T("kpjg", 20), T("kpje", 20), T("sjbs", 20), T("bszl", 4),
         T("cpdm", kProductCode), T("cpgg", kSpec), T("owner", kWorkstation)},
        // The owner is the workstation's identity (czydm the operator's) and
        // compared as stored.
        {IndexDef{{"owner", "khdm"}, false, true, {"owner"}}});

    // Sales below cost, found by the price filter.
    add(V, "khjggl",
        Cols{T("dqbh", 20), T("dqmc", kRegion), T("khmc", kCustomerName),
             T("khdm", kCustomerCode)}
            + productColumns() + Cols{DEC("zcjg"), DEC("cbjg"), DEC("jgce"), DT("rq")},
        {CI({"khdm", "cpdm", "cpgg"})});

    // Product register of the stock windows.
    add(V, "cpb",
        {T("cpdm", kProductCode), T("cpmc", kProductName), T("gg", kSpec), T("sm", 12)},
        {UCI({"cpdm"}), UCI({"cpmc"})});

    // Product receipts into stock.
    add(V, "cprkb",
        {T("cpdm", kProductCode), T("cpmc", kProductName), T("gg", kSpec), F("cprksl"),
         T("bz", 1), T("rq", kDate)});

    // Product issues from stock.
    add(V, "cpckb",
        {T("cpdm", kProductCode), T("cpmc", kProductName), T("gg", kSpec), F("cpcksl"),
         T("bz", 1), T("rq", kDate)});

    // Product stock report of the ledger above: per product and period, the
    // opening quantity, receipts, issues and closing quantity in kg.
    add(V, "cprbb",
        {T("cpdm", kProductCode), T("cpmc", kProductName), T("gg", kSpec), F("qcsl"), F("rksl"),
         F("cksl"), F("qmsl"), T("rq_1", kDate), T("rq_2", kDate)},
        {CI({"cpdm"})});

    // Product sales summary for the financial report.
    add(V, "cpbb",
        productColumns()
            + Cols{F("zznum"), CUR("zzje"), F("tlnum"), CUR("tlje"), T("rq_1", kDate),
                   DT("rq_0")});

    // Archiving control; at most one row.
    add(V, "gd_rq", {T("qsrq"), T("jzrq"), T("gdbz")});

    // Change log: one row per correction, deletion or price/rights change,
    // written in the transaction of the change. The application only ever
    // appends to it; archiving leaves it alone. rq is the date of rq_0, so
    // the query's date range is an index search.
    add(V, "czrz",
        {DT("rq_0"), T("rq", kDate), T("czydm", kOperatorCode), T("gzz", kWorkstation),
         T("gnmc", 20), T("bm", 12), I("jlid"), T("dm", kProductCode), T("czlx", 4),
         T("jz", 2000), T("xz", 2000)},
        {IX({"rq"}), CI({"czydm", "rq"}), IX({"bm", "rq"}), CI({"dm", "rq"})});

    // ---- histvel: archived lines -------------------------------------------

    // Archived sales lines.
    add(H, "his_sale1", salesLineColumns(),
        {CI({"khdm", "rq_1"}), IX({"rq_1"}), IX({"region", "rq_1"}), IX({"bz_3", "rq_1"})});

    // Archived customer funds lines.
    add(H, "his_khzj", fundsLineColumns(), {CI({"khdm", "rq"}), IX({"rq"}), IX({"sale1_id"})});

    // ---- sc: production and materials --------------------------------------

    // Raw-material register: price s0 and nutrient factors s1..s38.
    add(S, "ylpzk", Cols{T("yldm", 9), T("ylmc", kMaterialName), T("descip", 2)} + factorColumns(),
        {UCI({"yldm"}), CI({"ylmc"})});

    // Nutrient standards.
    add(S, "yybzk", Cols{T("xqdm", 6), T("xqmc", 14)} + factorColumns() + Cols{DT("rq_0")},
        {UCI({"xqdm"})});

    // Pellet and crumble kinds.
    add(S, "ymps",
        {T("ypmc", 8), T("bz_1", 1), T("klbz", 1), T("klmc", 8), T("sm", 14), I("rec_no")});

    // Formula register.
    add(S, "pfzlk",
        {T("pfhm", 9), T("pfmc", 12), T("pfbz", 14), F("pfcb"), DT("rq_0"),
         T("rydm", kStaffCode), T("bz1", 1), T("bz2", 2)},
        {UCI({"pfhm"}), IX({"pfmc"})});

    // Formula lines, one per raw material.
    add(S, "velpfk",
        {T("pfhm", 9), T("pfmc", 12), T("yldm", 9), T("ylmc", kMaterialName), T("yldj", 1),
         F("ylsl"), F("yljg"), F("pfcb"), T("rq_1", kDate), DT("rq_0"), T("pfbz", 1),
         T("rydm", kStaffCode), T("sm", 14)},
        {CI({"pfhm"}), CI({"yldm"})});

    // Working table of the formula calculation.
    add(S, "pf_tmp",
        {T("ylmc", kMaterialName), T("yldm", 9), F("pfbl"), DT("rq_0"), F("jsjg"), T("ylbz", 1)});

    // Nutrient result of the formula being calculated, one row per factor and
    // operator: each operator composes a formula of their own.
    add(S, "pfysk", nutrientResultColumns() + Cols{T("czydm", kOperatorCode)}, {UX({"czydm", "ysdm"})});

    // Saved nutrient results per formula.
    add(S, "pfyyk",
        nutrientResultColumns()
            + Cols{T("rq_1", kDate), DT("rq_0"), T("xqdm", 6), T("xqmc", 14)},
        {CI({"pfhm", "rq_1"}), IX({"ylys", "rq_1"})});

    // Raw-material receipt lines.
    add(S, "ylrkmx",
        {T("ylmc", kMaterialName), F("ylsl"), F("yljg"), F("sjje"), F("sfje"), F("sqje"),
         T("gysdm", 7), T("gysmc", 14), T("yldj", 2), T("rq_1", kDate), T("hthm", 16),
         T("czydm", kOperatorCode), T("yldm", 9), T("cgydm", 7), T("bz_1", 1), DT("rq_0")},
        {IX({"rq_1"}), CI({"yldm", "rq_1"}), CI({"gysdm", "rq_1"})});

    // Raw-material issue lines; rq_0 stamps the moment of issue.
    add(S, "ylckmx",
        {T("yldm", 9), T("ylmc", kMaterialName), F("yljg"), T("yldj", 2), F("ylsl"), F("ylje"),
         T("ck_bz", 1), T("rq_1", kDate), T("rydm", kStaffCode), T("rymc", kStaffName),
         T("ly_sm", 18), T("tl_sm", 18), T("czydm", kOperatorCode), T("bzdm", 2), DT("rq_0")},
        {IX({"rq_1", "ck_bz"}), CI({"yldm", "rq_1"})});

    // Raw-material stock, one row per material.
    add(S, "ylhzk",
        {T("yldm", 9), T("ylmc", kMaterialName), T("yldj", 2), F("ylsl"), F("yljg"),
         T("rq_1", kDate), DT("rq_0"), T("bz_1", 1)},
        {UCI({"yldm"}), CI({"ylmc"})});

    // Supplier register.
    add(S, "gyszlk",
        {T("gysdm", 7), T("gysmc", 14), T("gysaddr", 20), T("gystel", 15), T("gysbz", 1)},
        {UCI({"gysdm"})});

    // Supplier fund lines.
    add(S, "gyszjk",
        {T("gysdm", 7), T("gysmc", 14), F("ylsl"), F("yfje"), F("sfje"), F("sqje"),
         T("rq_1", kDate), T("sm", 14), T("czydm", kOperatorCode), DT("rq_0")},
        {CI({"gysdm", "rq_1"}), IX({"rq_1"})});

    // Supplier fund summary (working table).
    add(S, "gyszjhz",
        {T("gysdm", 7), T("gysmc", 14), F("yfje"), F("sfje"), F("sqje"), T("rq_1", kDate),
         T("sm", 14), DT("rq_0"), T("czydm", kOperatorCode)});

    // Packaging material stock; here rq_0 is the date text and rq_1 the moment.
    add(S, "bzbqk",
        {T("dm", kPackCode), T("mc", kProductName), T("gg", kSpec), F("price"), I("sl"),
         F("zje"), T("rq_0", kDate), DT("rq_1"), T("bz", 1)},
        {UCI({"dm"}), IX({"bz"})});

    // Packaging movement lines ("I" receipt, "O" issue).
    add(S, "bqk",
        {T("bz", 1), T("dm", kPackCode), T("mc", kProductName), T("gg", kSpec), I("sl"),
         F("price"), F("zje"), T("rq_1", kDate), DT("rq_0")},
        {IX({"bz", "rq_1"})});

    // Product-to-formula master and feed product stock; scbz holds a team's
    // code or, from the product inputs, its name.
    add(S, "velcpzk",
        productColumns()
            + Cols{F("scsl"), F("sccb"), T("pfhm", 9), T("scbz", 10), T("scrq_1", kDate),
                   DT("scrq_0"), T("cpbz", 1)},
        {UCI({"cpdm"}), CI({"pfhm"}), IX({"cpbz"})});

    // Production lines with their packaging.
    add(S, "velcpk",
        productColumns()
            + Cols{F("scsl"), F("sccb"), T("pfhm", 9), T("scbz", 10), T("scrq_1", kDate),
                   DT("scrq_0"), T("txm", 21), T("cpbz", 1), I("rec_num"), I("scpc")}
            + packagingColumns("bzddm", "bzdmc", "bzdgg", "bzdjg", "bzdsl", "bzdje")
            + packagingColumns("bqdm", "bqmc", nullptr, "bqjg", "bqsl", "bqje")
            + Cols{T("klbz", 1), T("klmc", 14), F("psnum")}
            + packagingColumns("fwbqdm", "fwbqmc", nullptr, "fwbqjg", "fwbqsl", "fwbqje")
            + packagingColumns("qtbzdm", "qtbzmc", nullptr, "qtbzjg", "qtbzsl", "qtbzje")
            + Cols{T("qtbzgg", kSpec)},
        {IX({"txm"}), IX({"scrq_1"})});

    // Sundry material returned for reprocessing, per product.
    add(S, "scsyk",
        productColumns()
            + Cols{F("scsl"), F("sccb"), T("pfhm", 9), T("scbz", 2), T("scrq_1", kDate),
                   DT("scrq_0"), T("cpbz", 1)});

    // Raw materials drawn by a team for a formula.
    add(S, "scylk",
        {T("yldm", 9), T("ylmc", kMaterialName), T("yldj", 1), F("sjsl"), F("yljg"),
         T("bzdm", 2), T("bzdm0", 2), T("pfhm", 9), F("lrsl"), F("scjc"), F("sjjc"),
         F("lrjc"), T("rq_1", kDate), T("bz", 1), I("rec_num"), DT("rq_0"), F("pfbl"),
         T("pfmc", 14), I("scpc"), T("ylbz", 1)},
        {CI({"bzdm", "rq_1"}), CI({"pfhm", "rq_1"}), IX({"rq_1"})});

    // Raw-material consumption per material, team and date.
    add(S, "scylxh",
        {T("yldm", 9), T("ylmc", kMaterialName), F("yljg"), F("sjsl"), F("scjc"), F("lrsl"),
         F("sjjc"), F("lrjc"), F("sjxh"), T("bzdm", 2), T("bzdm0", 2), T("rq_1", kDate),
         DT("rq_0"), I("rec_num"), T("bz", 1), T("ylbz", 1)},
        {CI({"bzdm", "rq_1", "yldm"}), IX({"rq_1"})});

    // Theoretical raw-material use over a period; rq_0 is the end date text.
    add(S, "scyl_lr",
        {T("yldm", 9), T("ylmc", kMaterialName), T("yldj", 2), F("ylsl"), F("yljg"),
         T("rq_1", kDate), T("bz_1", 1), T("rq_0", kDate)});

    // Products sent back for reprocessing and what they became.
    add(S, "cphj",
        {T("cpdm1", kProductCode), T("cpmc1", kProductName), T("cpgg1", kSpec), F("hjsl"),
         F("cpjg"), F("cpje"), T("bz", 1), T("hjrq", kDate), DT("hjtm"), T("rydm", kStaffCode),
         T("rymc", kStaffName), T("bzdm", 2), T("bzmc", 10), T("cpdm2", kProductCode),
         T("cpmc2", kProductName), T("cpgg2", kSpec)});

    // Production parameters per category and size.
    add(S, "sccsk",
        {T("cpbz", 1), T("cpgg", kSpec), T("lbmc", 12), T("ypmc", 8), T("klbz", 1),
         T("klmc", 14), F("qtbz"), T("jsbz", 1), DT("rq_0"), T("rq_1", kDate), T("bz_1", 1),
         T("sm", 14), F("gzbz")});

    // Production teams.
    add(S, "bzzl",
        {T("bzdm", 2), T("bzmc", 10), T("msdm", 5), T("msmc", 10), I("scpc"), DT("rq_1")},
        {UCI({"bzdm"})});

    // Production staff.
    add(S, "bzry",
        {T("rydm", kStaffCode), T("rymc", kStaffName), T("bzdm", 2), T("rq", kDate)},
        {UCI({"rydm"})});

    // Production wage lines.
    add(S, "scgzmx",
        {T("rydm", kStaffCode), T("rymc", kStaffName), T("bzdm", 2), F("scgz"), F("jsbt"),
         F("gwbt"), F("wsf"), F("fsbt"), F("jgf"), F("qtys"), F("ysgz"), F("fk"), F("qt"),
         F("sjgz"), DT("rq_0"), T("rq_1", kDate), F("dbf")},
        {CI({"bzdm"}), CI({"rydm"})});

    // Production cost per team and period.
    add(S, "sccbk",
        {T("bzdm", 2), T("bzmc", 10), F("scsl"), F("sjcb"), F("lrxh"), F("scxhl"), F("dh"),
         F("mh"), F("sh"), F("qt"), T("rq_1", kDate), DT("rq_0"), I("scry_num"), F("scgz")});

    // Manufacturing overheads per month ("yyyymm").
    add(S, "zzfy",
        {T("rq_1", 6), F("qf"), F("gz"), F("df"), F("qt"), DT("rq_0"), T("rydm", kStaffCode)},
        {UCI({"rq_1"})});

    // Product cost summary.
    add(S, "cpcbhz",
        productColumns()
            + Cols{F("scsl"), F("sjxh"), F("ccp"), F("bcp"), F("bzw"), F("bq"), F("qf"),
                   F("zzfy"), F("hj"), F("qt"), F("price"), T("bz", 1), T("rq1", kDate),
                   DT("rq0")});

    // Product sales-cost summary.
    add(S, "cpsxhz",
        productColumns() + Cols{F("scsl"), F("sxcb"), T("rq1", kDate), DT("rq0")});

    // Raw-material consumption summary.
    add(S, "ylhyhz",
        {T("yldm", 9), T("ylmc", kMaterialName), F("sjsl"), F("yljg"), F("zje"),
         T("rq_1", kDate), T("bz", 1), DT("rq_0"), F("sjhy"), F("ylxh"), F("xhje")});

    return t;
}

} // namespace

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns)
        if (c.name == name)
            return &c;
    return nullptr;
}

QStringList TableDef::columnNames() const
{
    QStringList names;
    names.reserve(int(columns.size()));
    for (const ColumnDef &c : columns)
        names << c.name;
    return names;
}

const std::vector<TableDef> &schemaTables()
{
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef *findTable(const QString &name)
{
    // Looked up for every statement that names a table, so keep it a hash.
    static const QHash<QString, const TableDef *> byName = [] {
        QHash<QString, const TableDef *> h;
        for (const TableDef &t : schemaTables())
            h.insert(t.name, &t);
        return h;
    }();
    return byName.value(name, nullptr);
}

QString catalogName(Catalog c)
{
    switch (c) {
    case Catalog::Vel:
        return QStringLiteral("vel");
    case Catalog::Sc:
        return QStringLiteral("sc");
    case Catalog::Histvel:
        return QStringLiteral("histvel");
    }
    return QString();
}

} // namespace fm
