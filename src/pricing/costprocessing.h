#pragma once
// Cost processing: the gross profit ("毛利润") of a region's sales lines over a
// period, measured at the policy price (what the mill really earns once the
// promotion fee is paid back) against the cost price recorded on each line.
//
// A run rebuilds the cost detail (khcb_mx) from the region's lines of the
// period with one INSERT ... SELECT, in one transaction. Each workstation owns
// its rows (khcb_mx.owner is its identity): choosing a region clears only
// this workstation's rows of it, a run replaces only this workstation's rows,
// so two clerks processing costs at once keep their own results.
//
// A line counts with quantity q, policy price p and cost price c:
//   an issue (bz_1 other than "3"): q = zznum,  p = zcjg, c = cbjg
//   a return (bz_1 "3"):            q = −tlnum, p = zcjg, c = cbjg
// so a return takes back its share of revenue, cost and margin. Its row holds
// zznum = q, zzjg = p, zzje = p·q/1000, cbjg = c, cbje = c·q/1000,
// cbce = zzje − cbje, rq = the line's date and fphm = its serial number.
//
// A line whose cost price is 0 stops the run there: the lines before it (in
// table order) are kept and totalled, the rest are not processed, and the
// clerk is told which customer, product and size to check.

#include "data/rowpager.h"
#include "sales/saleline.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;

// A row of khcb_mx.
struct CostDetail {
    qint64 id = 0;
    QString khdm, region, khmc, cpdm, cpmc, cpgg;
    double zznum = 0; // q
    double zzjg = 0;  // policy price p
    double zzje = 0;  // policy amount
    double cbjg = 0;  // cost price c
    double cbje = 0;  // cost amount
    double cbce = 0;  // margin: policy amount − cost amount
    QString rq, fphm;

    // Whether the policy price does not exceed the cost price (p − c ≤ 0):
    // the abnormal sheet lists these, returns included.
    bool belowCost() const;

    static QString columns();
    static CostDetail read(const Row &r);
};

// What "开始处理" did.
struct CostRun {
    int lines = 0;           // rows written
    double grossProfit = 0;  // G: Σ cbce of the region's rows
    QString stopMessage;     // set when a line without cost price stopped the run
};

class CostProcessing {
public:
    // workstation: the identity that owns this workstation's rows.
    CostProcessing(Session &s, QString workstation) : m_s(s), m_owner(std::move(workstation)) {}

    // A typed date "yyyy-mm-dd" (or "yyyy/mm/dd", "yyyy.mm.dd").
    static QDate parseDate(const QString &typed);
    // An end before the start is refused.
    static void checkRange(const QDate &start, const QDate &end);
    static QString zeroCostMessage(const QString &khmc, const QString &cpmc, const QString &cpgg);

    // ---- "成本数据处理" ------------------------------------------------------

    // The region's sales lines of the period in table order, as the window
    // lists them (a region's year can be thousands of lines).
    RowQuery salesLinesQuery(const QString &region, const QDate &start, const QDate &end) const;
    // Choosing a region: this workstation's rows of that region go.
    int clearRegion(const QString &region);
    // "开始处理": replaces this workstation's rows by the region's lines of
    // the period, up to the first line without cost price.
    CostRun process(const QString &region, const QDate &start, const QDate &end);
    // This workstation's rows of the region: by date (the regional sheet) or
    // in table order (the abnormal sheet).
    std::vector<CostDetail> regionRows(const QString &region, bool byDate);

    // ---- "客户成本结算打印" --------------------------------------------------

    // This workstation's rows of the customer (code trimmed, letter case
    // ignored) dated within the dates, in table order.
    std::vector<CostDetail> customerRows(const QString &customerCode, const QDate &start, const QDate &end);

    // ---- "成本数据查询" -------------------------------------------------------

    // The customer's sales lines within the dates, current or archived.
    RowQuery customerLinesQuery(const QString &customerCode, const QDate &start, const QDate &end,
                                bool history) const;
    std::vector<SaleLine> customerLines(const QString &customerCode, const QDate &start, const QDate &end);
    // Whether the archive holds lines of the customer within the dates.
    bool hasLines(const QString &customerCode, const QDate &start, const QDate &end, bool history);

private:
    Session &m_s;
    QString m_owner;
};

} // namespace fm
