#pragma once
// The month's figures for the accounts, built from production and sales:
//   - the production cost summary: per product the tonnes produced and their
//     cost (cpcbhz), per raw material its theoretical and actual use (ylhyhz),
//     the month's overheads shared out, and each product's cost per tonne
//     written back into the production master (velcpzk.sccb);
//   - the sales cost summary: per product the kilograms sold at its current
//     production cost (cpsxhz);
//   - the financial summary: per product of the price list, the quantities and
//     amounts sold and returned (cpbb).
//
// Each run reads the period's rows once (a few set-based reads, then hash
// maps), rebuilds its table in one transaction and is serialised between
// workstations: a second run waits until the first has committed, so nobody
// sees or writes from a half-built table.
//
// How a production line counts depends on its kind (velcpk.txm):
//   "杂料回机"          tonnes only;
//   "掺拌生产", "换包"   tonnes, packaging and labels, finished cost (t × sccb);
//   anything else       tonnes, packaging and labels, and the theoretical
//                       materials of its formula drawn in the period
//                       (scylk: Q = pfbl × t / 100 at that row's yljg).
// A line follows the formula whose number is the longest registered prefix of
// its pfhm (its first six characters when none is registered). Of several
// scylk rows of one formula and material in the period, the earliest counts.
// Materials of class "2" (premix) are semi-finished (bcp), the rest raw (sjxh).

#include "common/clock.h"
#include "data/session.h"
#include "reports/reportdocument.h"

#include <functional>
#include <vector>

namespace fm {

// A row of cpcbhz.
struct ProductCostRow {
    QString cpdm, cpmc, cpgg, bz;
    double scsl = 0, sjxh = 0, ccp = 0, bcp = 0, bzw = 0, bq = 0, qf = 0, zzfy = 0, hj = 0, qt = 0, price = 0;
    QString rq1, rq0; // date and moment of the run, as stored (read back only)
};

// A row of ylhyhz.
struct MaterialUseRow {
    QString yldm, ylmc, bz;
    double sjsl = 0, yljg = 0, zje = 0, sjhy = 0, ylxh = 0, xhje = 0;
    QString rq_1, rq_0; // read back only
};

// A row of cpsxhz.
struct SalesCostRow {
    QString cpdm, cpmc, cpgg;
    double scsl = 0, sxcb = 0;
    QString rq1, rq0; // read back only
};

// A row of cpbb.
struct FinancialRow {
    QString cpdm, cpmc, cpgg;
    double zznum = 0, zzje = 0, tlnum = 0, tlje = 0;
    QString rq_1, rq_0; // read back only
};

// The figures the first tab shows.
struct CostTotals {
    double tonnes = 0;        // 生产数量：(吨)
    double rawMaterials = 0;  // 原材料 (yuan; the window shows 万元)
    double finished = 0;      // 产成品
    double semiFinished = 0;  // 半成品
    double packaging = 0;     // 包装物 (labels not included)
    double overheads = 0;     // 制造费用
    double materialTonnes = 0; // 累计数量：(吨)
    double materialAmount = 0; // 累计金额：(元)
    double lossTonnes = 0;     // 实际损耗累计：(吨)
    double lossAmount = 0;     // 累计损耗金额：(元)
};

struct CostSummaryOutcome {
    std::vector<ProductCostRow> products; // as written, in product order
    std::vector<MaterialUseRow> materials;
    CostTotals totals;
    QStringList warnings;   // "生产数量为0，数据有错误!" once per such product
    int costsWrittenBack = 0;
};

// The month's overheads (zzfy).
struct MonthOverheads {
    double qf = 0, gz = 0, df = 0, qt = 0;
};

class CostSummary {
public:
    using Progress = std::function<void(int done, int total)>;

    CostSummary(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    // The message when the month of start has no overheads row.
    static QString missingOverheadsMessage(const QString &start);
    static constexpr const char *kZeroQuantity = "生产数量为0，数据有错误!";
    // A period that ends before it starts would empty the tables for nothing.
    static constexpr const char *kEndBeforeStart = "截止日期不能早于起始日期！";
    // The question when the period runs over more than one month: only the
    // start month's overheads are shared out.
    static QString monthsDifferQuestion(const QString &start, const QString &end);

    // The overheads of the month of start ("yyyy-mm-dd"), if entered.
    std::optional<MonthOverheads> overheadsOf(const QString &start);

    // Replaces cpcbhz and ylhyhz by the period's figures and writes each
    // product's cost per tonne back when today lies within the period.
    // Throws DomainError (Refused) with missingOverheadsMessage, touching
    // nothing, when the month's overheads are missing, and with
    // kEndBeforeStart when the end date lies before the start date.
    CostSummaryOutcome summarise(const QString &start, const QString &end, const Progress &progress = {});

    // Replaces cpsxhz: every product with the kilograms sold in the period.
    std::vector<SalesCostRow> summariseSales(const QString &start, const QString &end, const Progress &progress = {});

    // Empties cpbb.
    void clearFinancial();
    // Replaces cpbb by the price list's products sold or returned in the
    // period, largest quantity sold first.
    std::vector<FinancialRow> summariseFinancial(const QString &start, const QString &end,
                                                 const Progress &progress = {});

    // What the tables hold now (the grids and reports).
    std::vector<ProductCostRow> productCosts();
    std::vector<MaterialUseRow> materialUse();
    std::vector<SalesCostRow> salesCosts();
    std::vector<FinancialRow> financialRows();
    Rows overheadRows(const QString &month); // zzfy of the month "yyyymm"

    // The printed documents. Dates are "yyyy-mm-dd".
    static ReportDocument productCostReport(const std::vector<ProductCostRow> &rows, const QString &printed,
                                            const QString &start, const QString &end);
    static ReportDocument salesCostReport(const std::vector<SalesCostRow> &rows, const QString &printed,
                                          const QString &start, const QString &end);
    static ReportDocument materialUseReport(const std::vector<MaterialUseRow> &rows, const QString &printed,
                                            const QString &start, const QString &end);
    static ReportDocument financialReport(const std::vector<FinancialRow> &rows, const QString &printed,
                                          const QString &start, const QString &end);

private:
    // Waits for any other summary to commit (inside a transaction).
    void serialise();

    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
