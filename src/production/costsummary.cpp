#include "production/costsummary.h"

#include "common/dates.h"
#include "production/productcatalogue.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace fm {

namespace {

const QString kSundry = QStringLiteral("杂料回机");
const QString kBlending = QStringLiteral("掺拌生产");
const QString kRebagging = QStringLiteral("换包");

QString fold(const QString &code) { return code.trimmed().toLower(); }

// A stored moment as "yyyy-mm-dd hh:mm:ss", empty when null.
QString moment(const Row &r, const QString &column)
{
    return r.isNull(column) ? QString() : dateTimeText(readDateTime(r.value(column)));
}

QString monthKey(const QString &start) { return start.left(4) + start.mid(5, 2); }

struct ProductAcc {
    QString cpdm, cpmc, cpgg, bz;
    bool hasLines = false;
    double tonnes = 0, raw = 0, semi = 0, finished = 0, packaging = 0, labels = 0;
};

struct MaterialAcc {
    QString yldm, ylmc, bz;
    bool used = false;
    double q = 0, m = 0, lastPrice = 0;
};

} // namespace

QString CostSummary::missingOverheadsMessage(const QString &start)
{
    return start.left(4) + QStringLiteral("年") + start.mid(5, 2)
        + QStringLiteral("月的制造费用汇总数据不存在,请输入制造费用！");
}

QString CostSummary::monthsDifferQuestion(const QString &start, const QString &end)
{
    if (start.left(7) == end.left(7)) return QString();
    return QStringLiteral("起始时间与截止时间不在同一个月，只分摊%1年%2月的制造费用。是否继续？")
        .arg(start.left(4), start.mid(5, 2));
}

std::optional<MonthOverheads> CostSummary::overheadsOf(const QString &start)
{
    const auto r = m_s.row(QStringLiteral("SELECT qf, gz, df, qt FROM {zzfy} WHERE {ci:rq_1} = {ci:?} ORDER BY id {first:1}"),
                           {monthKey(start)});
    if (!r) return std::nullopt;
    return MonthOverheads{r->number(QStringLiteral("qf")), r->number(QStringLiteral("gz")),
                          r->number(QStringLiteral("df")), r->number(QStringLiteral("qt"))};
}

void CostSummary::serialise()
{
    // One small register table every summary takes first, all of it: a
    // second summary waits here until this one has committed.
    m_s.lockRows(QStringLiteral("zcprice"), QStringLiteral("cpbz"));
}

CostSummaryOutcome CostSummary::summarise(const QString &start, const QString &end, const Progress &progress)
{
    if (end < start) throw DomainError(QString::fromUtf8(kEndBeforeStart), ErrorCode::Refused);
    CostSummaryOutcome out;
    m_s.transaction([&] {
        out = CostSummaryOutcome();
        serialise();
        const std::optional<MonthOverheads> month = overheadsOf(start);
        if (!month) throw DomainError(missingOverheadsMessage(start), ErrorCode::Refused);
        const QString today = dateText(m_clock.today());
        const QString now = dateTimeText(m_clock.now());

        // Products in table order; their lines of the period.
        std::vector<ProductAcc> products;
        QHash<QString, int> productAt;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, cpbz FROM {velcpzk} ORDER BY cpdm, id"))) {
            ProductAcc p;
            p.cpdm = r.text(QStringLiteral("cpdm"));
            p.cpmc = r.text(QStringLiteral("cpmc"));
            p.cpgg = r.text(QStringLiteral("cpgg"));
            p.bz = r.text(QStringLiteral("cpbz"));
            productAt.insert(fold(p.cpdm), int(products.size()));
            products.push_back(p);
        }
        if (progress) progress(0, int(products.size()));

        QSet<QString> formulaNumbers;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk}")))
            formulaNumbers.insert(fold(r.text(QStringLiteral("pfhm"))));
        QHash<QString, QString> formulaOf; // folded pfhm → folded formula
        auto formulaFor = [&](const QString &pfhm) {
            const QString key = fold(pfhm);
            auto it = formulaOf.constFind(key);
            if (it != formulaOf.constEnd()) return *it;
            QString f = ProductCatalogue::followedFormula(pfhm, formulaNumbers);
            if (f.isEmpty()) f = key.left(6);
            formulaOf.insert(key, f);
            return f;
        };

        // The period's theoretical rows: per formula its materials, each at
        // its earliest row (pfbl, yljg).
        struct Drawn {
            QString yldm, ylmc;
            double pfbl = 0, yljg = 0;
        };
        QHash<QString, std::vector<Drawn>> drawnByFormula;
        QSet<QString> drawnKeys;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm, yldm, ylmc, pfbl, yljg FROM {scylk} "
                                                    "WHERE rq_1 >= ? AND rq_1 <= ? ORDER BY rq_1, rq_0, id"),
                                     {start, end})) {
            const QString f = fold(r.text(QStringLiteral("pfhm")));
            const QString m = fold(r.text(QStringLiteral("yldm")));
            if (drawnKeys.contains(f + QChar(0) + m)) continue;
            drawnKeys.insert(f + QChar(0) + m);
            drawnByFormula[f].push_back(Drawn{r.text(QStringLiteral("yldm")), r.text(QStringLiteral("ylmc")),
                                              r.number(QStringLiteral("pfbl")), r.number(QStringLiteral("yljg"))});
        }

        // Materials: the stock's, then any drawn material the stock lacks
        // (costed all the same rather than silently left out).
        std::vector<MaterialAcc> materials;
        QHash<QString, int> materialAt;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT yldm, ylmc, bz_1 FROM {ylhzk} ORDER BY yldm, id"))) {
            const QString key = fold(r.text(QStringLiteral("yldm")));
            if (materialAt.contains(key)) continue;
            materialAt.insert(key, int(materials.size()));
            materials.push_back(MaterialAcc{r.text(QStringLiteral("yldm")), r.text(QStringLiteral("ylmc")),
                                            r.text(QStringLiteral("bz_1"))});
        }
        QHash<QString, QString> registerClass;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT yldm, descip FROM {ylpzk}")))
            registerClass.insert(fold(r.text(QStringLiteral("yldm"))), r.text(QStringLiteral("descip")));
        std::vector<MaterialAcc> unstocked;
        for (auto it = drawnByFormula.cbegin(); it != drawnByFormula.cend(); ++it)
            for (const Drawn &d : *it) {
                const QString key = fold(d.yldm);
                if (materialAt.contains(key)) continue;
                materialAt.insert(key, -1);
                unstocked.push_back(MaterialAcc{d.yldm, d.ylmc, registerClass.value(key)});
            }
        std::sort(unstocked.begin(), unstocked.end(),
                  [](const MaterialAcc &a, const MaterialAcc &b) { return fold(a.yldm) < fold(b.yldm); });
        for (const MaterialAcc &m : unstocked) {
            materialAt.insert(fold(m.yldm), int(materials.size()));
            materials.push_back(m);
        }

        // Actual use per material over the period, all teams.
        QHash<QString, double> actual;
        for (const Row &r : m_s.rows(QStringLiteral("SELECT {ci:yldm} AS code, SUM(sjxh) AS kg FROM {scylxh} "
                                                    "WHERE rq_1 >= ? AND rq_1 <= ? GROUP BY {ci:yldm}"),
                                     {start, end}))
            actual.insert(fold(r.text(QStringLiteral("code"))), r.number(QStringLiteral("kg")) / 1000);

        // The lines, product by product in table order, each in line order.
        std::vector<std::vector<Row>> linesOf(products.size());
        for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, scsl, sccb, txm, pfhm, bzdje, qtbzje, bqje, fwbqje "
                                                    "FROM {velcpk} WHERE scrq_1 >= ? AND scrq_1 <= ? ORDER BY id"),
                                     {start, end})) {
            auto at = productAt.constFind(fold(r.text(QStringLiteral("cpdm"))));
            if (at != productAt.constEnd()) linesOf[size_t(*at)].push_back(r);
        }

        for (size_t i = 0; i < products.size(); ++i) {
            ProductAcc &p = products[i];
            for (const Row &l : linesOf[i]) {
                p.hasLines = true;
                const double t = l.number(QStringLiteral("scsl")) / 1000;
                const QString kind = l.text(QStringLiteral("txm"));
                p.tonnes += t;
                if (kind == kSundry) continue;
                p.packaging += l.number(QStringLiteral("bzdje")) + l.number(QStringLiteral("qtbzje"));
                p.labels += l.number(QStringLiteral("bqje")) + l.number(QStringLiteral("fwbqje"));
                if (kind == kBlending || kind == kRebagging) {
                    p.finished += t * l.number(QStringLiteral("sccb"));
                    continue;
                }
                auto drawn = drawnByFormula.constFind(formulaFor(l.text(QStringLiteral("pfhm"))));
                if (drawn == drawnByFormula.constEnd()) continue;
                for (const Drawn &d : *drawn) {
                    MaterialAcc &m = materials[size_t(materialAt.value(fold(d.yldm)))];
                    const double q = d.pfbl * t / 100;
                    const double amount = q * d.yljg;
                    (m.bz == QLatin1String("2") ? p.semi : p.raw) += amount;
                    m.used = true;
                    m.q += q;
                    m.m += amount;
                    m.lastPrice = d.yljg;
                }
            }
            if (progress) progress(int(i) + 1, int(products.size()));
        }

        // Product rows and the overheads shared out over them.
        double total = 0, gasBase = 0;
        for (const ProductAcc &p : products) {
            if (!p.hasLines) continue;
            if (p.tonnes == 0) {
                out.warnings << QString::fromUtf8(kZeroQuantity);
                continue;
            }
            ProductCostRow c;
            c.cpdm = p.cpdm;
            c.cpmc = p.cpmc;
            c.cpgg = p.cpgg;
            c.bz = p.bz;
            c.scsl = p.tonnes;
            c.sjxh = p.raw;
            c.ccp = p.finished;
            c.bcp = p.semi;
            c.bzw = p.packaging;
            c.bq = p.labels;
            out.products.push_back(c);
            total += c.scsl;
            if (c.bz == QLatin1String("1")) gasBase += c.scsl;
        }
        const double others = month->gz + month->df + month->qt;
        for (ProductCostRow &c : out.products) {
            if (total != 0) {
                // Only complete feed bears gas; with none, the gas stays unshared.
                c.qf = c.bz == QLatin1String("1") && gasBase != 0 ? month->qf / gasBase * c.scsl : 0;
                c.zzfy = others / total * c.scsl;
            }
            c.hj = c.sjxh + c.ccp + c.bcp + c.bzw + c.bq + c.qf + c.zzfy;
            c.price = total != 0 ? c.hj / c.scsl : 0;
        }

        for (const MaterialAcc &m : materials) {
            if (!m.used) continue;
            MaterialUseRow u;
            u.yldm = m.yldm;
            u.ylmc = m.ylmc;
            u.bz = m.bz;
            u.sjsl = m.q;
            u.yljg = m.lastPrice;
            u.zje = m.m;
            u.sjhy = actual.value(fold(m.yldm));
            u.ylxh = u.sjsl - u.sjhy;
            u.xhje = u.ylxh * u.yljg;
            out.materials.push_back(u);
        }

        // Write the tables.
        m_s.execute(QStringLiteral("DELETE FROM {cpcbhz}"));
        m_s.execute(QStringLiteral("DELETE FROM {ylhyhz}"));
        for (const ProductCostRow &c : out.products)
            m_s.execute(QStringLiteral("INSERT INTO {cpcbhz} (cpdm, cpmc, cpgg, scsl, sjxh, ccp, bcp, bzw, bq, qf, zzfy, hj, "
                                       "qt, price, bz, rq1, rq0) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        {c.cpdm, c.cpmc, c.cpgg, c.scsl, c.sjxh, c.ccp, c.bcp, c.bzw, c.bq, c.qf, c.zzfy, c.hj, c.qt,
                         c.price, c.bz, today, now});
        for (const MaterialUseRow &u : out.materials)
            m_s.execute(QStringLiteral("INSERT INTO {ylhyhz} (yldm, ylmc, sjsl, yljg, zje, rq_1, bz, rq_0, sjhy, ylxh, xhje) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        {u.yldm, u.ylmc, u.sjsl, u.yljg, u.zje, today, u.bz, now, u.sjhy, u.ylxh, u.xhje});

        // The rows carry today's date: the master takes the new costs only
        // when today lies within the period.
        if (total != 0 && today >= start && today <= end)
            for (const ProductCostRow &c : out.products)
                out.costsWrittenBack += m_s.execute(
                    QStringLiteral("UPDATE {velcpzk} SET sccb = ? WHERE {ci:cpdm} = {ci:?}"), {c.price, c.cpdm});

        CostTotals &t = out.totals;
        t.tonnes = total;
        for (const ProductCostRow &c : out.products) {
            t.rawMaterials += c.sjxh;
            t.finished += c.ccp;
            t.semiFinished += c.bcp;
            t.packaging += c.bzw;
            t.overheads += c.zzfy;
        }
        for (const MaterialUseRow &u : out.materials) {
            t.materialTonnes += u.sjsl;
            t.materialAmount += u.zje;
            t.lossTonnes += u.ylxh;
            t.lossAmount += u.xhje;
        }
    });
    return out;
}

std::vector<SalesCostRow> CostSummary::summariseSales(const QString &start, const QString &end, const Progress &progress)
{
    if (end < start) throw DomainError(QString::fromUtf8(kEndBeforeStart), ErrorCode::Refused);
    m_s.transaction([&] {
        serialise();
        const int n = m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {velcpzk}")).toInt();
        if (progress) progress(0, n);
        m_s.execute(QStringLiteral("DELETE FROM {cpsxhz}"));
        m_s.execute(QStringLiteral(
                        "INSERT INTO {cpsxhz} (cpdm, cpmc, cpgg, scsl, sxcb) "
                        "SELECT p.cpdm, p.cpmc, p.cpgg, COALESCE(s.kg, 0), COALESCE(s.kg, 0) * COALESCE(p.sccb, 0) / 1000 "
                        "FROM {velcpzk} p LEFT JOIN (SELECT {ci:cpdm} AS code, SUM(zznum) AS kg FROM {sale1} "
                        "WHERE rq_1 >= ? AND rq_1 <= ? GROUP BY {ci:cpdm}) s ON s.code = {ci:p.cpdm} ORDER BY p.cpdm, p.id"),
                    {start, end});
        m_s.execute(QStringLiteral("UPDATE {cpsxhz} SET rq1 = ?, rq0 = ?"),
                    {dateText(m_clock.today()), dateTimeText(m_clock.now())});
        if (progress) progress(n, n);
    });
    return salesCosts();
}

void CostSummary::clearFinancial()
{
    m_s.transaction([&] {
        serialise();
        m_s.execute(QStringLiteral("DELETE FROM {cpbb}"));
    });
}

std::vector<FinancialRow> CostSummary::summariseFinancial(const QString &start, const QString &end,
                                                          const Progress &progress)
{
    m_s.transaction([&] {
        serialise();
        const int n = m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {price}")).toInt();
        if (progress) progress(0, n);
        m_s.execute(QStringLiteral("DELETE FROM {cpbb}"));
        m_s.execute(QStringLiteral(
                        "INSERT INTO {cpbb} (cpdm, cpmc, cpgg, zznum, zzje, tlnum, tlje) "
                        "SELECT p.cpdm, p.cpmc, p.cpgg, s.a, s.b, s.c, s.d FROM {price} p JOIN "
                        "(SELECT {ci:TRIM(cpdm)} AS code, SUM(COALESCE(zznum, 0)) AS a, SUM(COALESCE(zzje, 0)) AS b, "
                        "SUM(COALESCE(tlnum, 0)) AS c, SUM(COALESCE(kpje, 0)) AS d FROM {sale1} "
                        "WHERE rq_1 >= ? AND rq_1 <= ? GROUP BY {ci:TRIM(cpdm)}) s ON s.code = {ci:TRIM(p.cpdm)} "
                        "WHERE s.a <> 0 OR s.b <> 0 OR s.c <> 0 OR s.d <> 0 ORDER BY p.cpdm, p.id"),
                    {start, end});
        m_s.execute(QStringLiteral("UPDATE {cpbb} SET rq_1 = ?, rq_0 = ?"),
                    {dateText(m_clock.today()), dateTimeText(m_clock.now())});
        if (progress) progress(n, n);
    });
    return financialRows();
}

std::vector<ProductCostRow> CostSummary::productCosts()
{
    std::vector<ProductCostRow> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, scsl, sjxh, ccp, bcp, bzw, bq, qf, zzfy, hj, qt, "
                                                "price, bz, rq1, rq0 FROM {cpcbhz} ORDER BY id"))) {
        ProductCostRow c;
        c.cpdm = r.text(QStringLiteral("cpdm"));
        c.cpmc = r.text(QStringLiteral("cpmc"));
        c.cpgg = r.text(QStringLiteral("cpgg"));
        c.bz = r.text(QStringLiteral("bz"));
        c.scsl = r.number(QStringLiteral("scsl"));
        c.sjxh = r.number(QStringLiteral("sjxh"));
        c.ccp = r.number(QStringLiteral("ccp"));
        c.bcp = r.number(QStringLiteral("bcp"));
        c.bzw = r.number(QStringLiteral("bzw"));
        c.bq = r.number(QStringLiteral("bq"));
        c.qf = r.number(QStringLiteral("qf"));
        c.zzfy = r.number(QStringLiteral("zzfy"));
        c.hj = r.number(QStringLiteral("hj"));
        c.qt = r.number(QStringLiteral("qt"));
        c.price = r.number(QStringLiteral("price"));
        c.rq1 = r.text(QStringLiteral("rq1"));
        c.rq0 = moment(r, QStringLiteral("rq0"));
        out.push_back(c);
    }
    return out;
}

std::vector<MaterialUseRow> CostSummary::materialUse()
{
    std::vector<MaterialUseRow> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT yldm, ylmc, sjsl, yljg, zje, bz, sjhy, ylxh, xhje, rq_1, rq_0 FROM {ylhyhz} "
                                                "ORDER BY id"))) {
        MaterialUseRow u;
        u.yldm = r.text(QStringLiteral("yldm"));
        u.ylmc = r.text(QStringLiteral("ylmc"));
        u.bz = r.text(QStringLiteral("bz"));
        u.sjsl = r.number(QStringLiteral("sjsl"));
        u.yljg = r.number(QStringLiteral("yljg"));
        u.zje = r.number(QStringLiteral("zje"));
        u.sjhy = r.number(QStringLiteral("sjhy"));
        u.ylxh = r.number(QStringLiteral("ylxh"));
        u.xhje = r.number(QStringLiteral("xhje"));
        u.rq_1 = r.text(QStringLiteral("rq_1"));
        u.rq_0 = moment(r, QStringLiteral("rq_0"));
        out.push_back(u);
    }
    return out;
}

std::vector<SalesCostRow> CostSummary::salesCosts()
{
    std::vector<SalesCostRow> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, scsl, sxcb, rq1, rq0 FROM {cpsxhz} ORDER BY id"))) {
        SalesCostRow c;
        c.cpdm = r.text(QStringLiteral("cpdm"));
        c.cpmc = r.text(QStringLiteral("cpmc"));
        c.cpgg = r.text(QStringLiteral("cpgg"));
        c.scsl = r.number(QStringLiteral("scsl"));
        c.sxcb = r.number(QStringLiteral("sxcb"));
        c.rq1 = r.text(QStringLiteral("rq1"));
        c.rq0 = moment(r, QStringLiteral("rq0"));
        out.push_back(c);
    }
    return out;
}

std::vector<FinancialRow> CostSummary::financialRows()
{
    std::vector<FinancialRow> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, zznum, zzje, tlnum, tlje, rq_1, rq_0 FROM {cpbb} "
                                                "WHERE zznum <> 0 OR tlnum <> 0 ORDER BY zznum DESC, id"))) {
        FinancialRow f;
        f.cpdm = r.text(QStringLiteral("cpdm"));
        f.cpmc = r.text(QStringLiteral("cpmc"));
        f.cpgg = r.text(QStringLiteral("cpgg"));
        f.zznum = r.number(QStringLiteral("zznum"));
        f.zzje = r.number(QStringLiteral("zzje"));
        f.tlnum = r.number(QStringLiteral("tlnum"));
        f.tlje = r.number(QStringLiteral("tlje"));
        f.rq_1 = r.text(QStringLiteral("rq_1"));
        f.rq_0 = moment(r, QStringLiteral("rq_0"));
        out.push_back(f);
    }
    return out;
}

Rows CostSummary::overheadRows(const QString &month)
{
    return m_s.rows(QStringLiteral("SELECT rq_1, qf, gz, df, qt, rq_0, rydm FROM {zzfy} WHERE {ci:rq_1} = {ci:?} ORDER BY id"),
                    {month});
}

namespace {

QList<ReportField> periodLine(const QString &printed, const QString &start, const QString &end)
{
    return {ReportField(QStringLiteral("打印时间："), printed), ReportField(QStringLiteral("起始时间："), start),
            ReportField(QStringLiteral("截止时间："), end)};
}

} // namespace

// Printed figures: amounts to the fen, tonnes to the kilogram, kilograms to
// two places; the grids keep every digit.
ReportDocument CostSummary::productCostReport(const std::vector<ProductCostRow> &rows, const QString &printed,
                                              const QString &start, const QString &end)
{
    ReportDocument doc;
    doc.setPage(PageSetup::custom(250, 353)); // B4 portrait
    doc.addTitle(QStringLiteral("生产成本打印:"));
    doc.addHeaderLine(periodLine(printed, start, end));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 1.9).asText(),
                                   ReportColumn(QStringLiteral("规格"), {}, 0.7).asText(),
                                   ReportColumn(QStringLiteral("数量(吨)"), {}, 1.2).withDecimals(3),
                                   ReportColumn(QStringLiteral("原材料(元)"), {}, 1.6).withDecimals(2),
                                   ReportColumn(QStringLiteral("产成品(元)"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("半成品(元)"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("包装物(元)"), QStringLiteral("标签(元)"), 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("气费"), {}, 1.1).withDecimals(2),
                                   ReportColumn(QStringLiteral("制造费用(元)"), {}, 1.3).withDecimals(2),
                                   ReportColumn(QStringLiteral("合计(元)"), {}, 1.6).withDecimals(2),
                                   ReportColumn(QStringLiteral("单价(元/吨)"), {}, 1.1).withDecimals(2)});
    for (const ProductCostRow &c : rows)
        t.addRow({c.cpmc, c.cpgg, c.scsl, c.sjxh, c.ccp, c.bcp, c.bzw + c.bq, c.qf, c.zzfy, c.hj, c.price});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(3).sum(4).sum(5).sum(6).sum(7).sum(8).sum(9));
    return doc;
}

ReportDocument CostSummary::salesCostReport(const std::vector<SalesCostRow> &rows, const QString &printed,
                                            const QString &start, const QString &end)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("销售成本报表："));
    doc.addHeaderLine(periodLine(printed, start, end));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("规格"), {}, 0.7).asText(),
                                   ReportColumn(QStringLiteral("销售数量(公斤)"), {}, 1.3).withDecimals(2),
                                   ReportColumn(QStringLiteral("销售成本(元)"), {}, 1.3).withDecimals(2)});
    for (const SalesCostRow &c : rows) t.addRow({c.cpmc, c.cpgg, c.scsl, c.sxcb});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(3));
    return doc;
}

ReportDocument CostSummary::materialUseReport(const std::vector<MaterialUseRow> &rows, const QString &printed,
                                              const QString &start, const QString &end)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("原料耗用表："));
    doc.addHeaderLine(periodLine(printed, start, end));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("原料名称："), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("单价：(元/吨)"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("数量(吨)")).withDecimals(3),
                                   ReportColumn(QStringLiteral("金额(元)"), {}, 1.3).withDecimals(2)});
    for (const MaterialUseRow &u : rows) t.addRow({u.ylmc, u.yljg, u.sjsl, u.zje});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(3));
    return doc;
}

ReportDocument CostSummary::financialReport(const std::vector<FinancialRow> &rows, const QString &printed,
                                            const QString &start, const QString &end)
{
    ReportDocument doc;
    doc.setPage(PageSetup::custom(210, 200));
    doc.addTitle(QStringLiteral("产品财务汇总表："));
    // "数据日期：" heads the period: "起始日期：" S "  截止日期：" E.
    doc.addHeaderLine({ReportField(QStringLiteral("数据日期："), QStringLiteral("起始日期：") + start),
                       ReportField(QStringLiteral("  截止日期："), end),
                       ReportField(QStringLiteral("打印日期："), printed)});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品代码：")).asText(),
                                   ReportColumn(QStringLiteral("产品名称："), {}, 1.8).asText(),
                                   ReportColumn(QStringLiteral("规格(kg/包)："), {}, 0.9).asText(),
                                   ReportColumn(QStringLiteral("销量(kg):")).withDecimals(2),
                                   ReportColumn(QStringLiteral("金额(元):")).withDecimals(2),
                                   ReportColumn(QStringLiteral("退料(kg):")).withDecimals(2),
                                   ReportColumn(QStringLiteral("金额(元):")).withDecimals(2)});
    t.setPrintCondition([](const ReportRowValues &r) { return r.number(3) != 0 || r.number(5) != 0; });
    for (const FinancialRow &f : rows) t.addRow({f.cpdm, f.cpmc, f.cpgg, f.zznum, f.zzje, f.tlnum, f.tlje});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(3).sum(4).sum(5).sum(6));
    return doc;
}

} // namespace fm
