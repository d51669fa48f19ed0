#pragma once
// What the statements sent to a customer are made of: the fund rows of a
// range (the statement of account), the month records settlement left in
// khzqk (the statement of arrears and its browser), and the age of the
// arrears those month records still carry.

#include "data/rowpager.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;

// ---- statement of account ----------------------------------------------

struct FundRow {
    qint64 id = 0;
    QString date;          // rq
    double receivable = 0; // ysje
    double received = 0;   // sjje
    double fee = 0;        // zzje: the period's promotion fee once settled
};

struct Statement {
    std::vector<FundRow> rows; // by date
    double receivable = 0;     // Σ ysje
    double received = 0;       // Σ sjje
    double fee = 0;            // zzje of the last row, printed or not
    double owed() const { return receivable - received; }            // 总欠款
    double actual() const { return receivable - received - fee; }    // 本期实际欠款
};

// The customer's fund rows from start to end, by date.
Statement statementOf(Session &s, const QString &customerCode, const QDate &start, const QDate &end);
// The same rows for a grid (date, receivable, received, fee).
RowQuery statementQuery(const QString &customerCode, const QDate &start, const QDate &end);

// ---- the age of the arrears ---------------------------------------------

// The open arrears by the age of the month record they come from, counted
// in months back from the settlement period of the cut-off. Payments settle
// the oldest debts first, so what is still open is the newest months' debt
// (receivable less promotion fee), up to the arrears.
struct ArrearsAging {
    QString monthKey;  // the cut-off's period, "yyyy-mm"
    double current = 0;  // that period's record
    double upTo3 = 0;    // 1 to 3 months older
    double upTo6 = 0;    // 4 to 6 months older
    double older = 0;    // more than 6 months
    double total = 0;    // Σ sjqk up to the cut-off: negative when the customer is in credit
};

ArrearsAging arrearsAging(Session &s, const QString &customerCode, const QDate &cutOff);

// ---- month records ------------------------------------------------------

struct MonthRecord {
    qint64 id = 0;
    QString code, name, region;
    QString month; // rq, "yyyy-mm"
    double receivable = 0; // ysje
    double received = 0;   // sjje
    double arrears = 0;    // sjqk
    double arrearsBeforeFee = 0; // sjzq
    double fee = 0;        // tgf
};

// Which month records a browser shows: a customer's, all or up to a cut-off
// (a date or a month, compared as text: "yyyy-mm" sorts before every day of
// its month, so the cut-off's month is in).
struct MonthRecordFilter {
    QString customerCode;
    QString cutOff; // empty: every month
};

struct MonthTotals {
    double arrearsBeforeFee = 0; // Σ sjzq  "累计实际总欠："
    double fee = 0;              // Σ tgf   "累计推广费："
    double receivable = 0;       // Σ ysje  "累计应收金额："
    double received = 0;         // Σ sjje  "累计实收金额："
    double actual() const { return arrearsBeforeFee - fee; } // "累计实际欠款："
};

class MonthRecords {
public:
    explicit MonthRecords(Session &s) : m_s(s) {}

    // By month, as the statement of arrears reads them.
    std::vector<MonthRecord> list(const MonthRecordFilter &filter);
    static MonthTotals totals(const std::vector<MonthRecord> &records);
    // Deletes one month record; refused when it is no longer there.
    void remove(qint64 id);

private:
    Session &m_s;
};

// Money as the statements print it: two decimals with thousands separators.
QString yuanText(double amount);

// A date typed into a statement window: "yyyy-mm-dd" (or with "/" or ".");
// refused with "日期有错！请按yyyy-mm-dd输入。".
QDate checkTypedDate(const QString &typed);

} // namespace fm
