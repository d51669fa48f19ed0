#pragma once
// Archiving closed periods: the sales lines (sale1) and fund rows (khzj) of a
// range of dates that ends on a settlement cut-off (an 18th) move to the
// History catalog (his_sale1, his_khzj), and gd_rq records the cut-off.
//
// One run is one transaction: copy every row with every column verbatim (its
// key included, so the links of return rows to their lines still hold),
// verify the copy (counts and the sums of quantities and amounts), ask the
// clerk, count the range again, delete it and move the cut-off. A "No", a
// failed check, an error or a workstation killed at any point leaves both
// catalogs as they were. Rows written into the range by another workstation
// while the question is open make the recount differ, so nothing is deleted
// unarchived. A range that History already holds rows of is refused before
// anything is copied.

#include "data/rowpager.h"

#include <QDate>
#include <QString>
#include <functional>

namespace fm {

class Session;

// Rows and sums of a range, as copied and as left behind.
struct ArchiveTotals {
    qint64 sales = 0;      // sale1 rows
    double issuedKg = 0;   // Σ zznum
    double invoiced = 0;   // Σ zzje
    double returnedKg = 0; // Σ tlnum
    double returned = 0;   // Σ kpje
    qint64 funds = 0;      // khzj rows
    double receivable = 0; // Σ ysje
    double received = 0;   // Σ sjje
    double owed = 0;       // Σ sqje

    bool sameSales(const ArchiveTotals &o) const;
    bool sameFunds(const ArchiveTotals &o) const;
};

// What a run tells the window while it works. Every callback is optional.
struct ArchiveObserver {
    // A text for the caption ("正在校验数据。。。", "销售数据正确！", ...).
    std::function<void(const QString &text)> stage;
    // Rows copied so far of all rows to copy (the progress bar).
    std::function<void(qint64 done, qint64 total)> progress;
    // "校验数据正确，是否清除原数据库数据！": true deletes the current rows.
    // Asked inside the run's transaction; without it nothing is deleted.
    std::function<bool(const QString &question)> confirmDelete;
};

struct ArchiveResult {
    enum class Outcome { Archived, Declined, Mismatch };
    Outcome outcome = Outcome::Mismatch;
    ArchiveTotals totals; // of the range before the run
};

struct CleanUpResult {
    int sales = 0; // sale1 rows without an issued or a returned quantity
    int funds = 0; // khzj rows without any amount
};

class Archiving {
public:
    explicit Archiving(Session &s) : m_s(s) {}

    static const QString kConfirm;        // "确认否？请所有用户退出！可能时间较长"
    static const QString kNoEndDate;      // "请输入截止日期！"
    static const QString kNotCutOff;      // "截至日期为每月的18日,请重新输入截止日期!"
    static const QString kEndBeforeStart; // "截止日期不能早于起始日期！"
    static const QString kVerifying;      // "正在校验数据。。。"
    static const QString kSalesCorrect;   // "销售数据正确！"
    static const QString kFundsCorrect;   // "资金数据正确！"
    static const QString kMismatch;       // "校验数据不正确，请检查！"
    static const QString kDeleteQuestion; // "校验数据正确，是否清除原数据库数据！"
    static const QString kCleaning;       // "正在整理数据库，请稍侯。。。"
    static const QString kCleaned;        // "数据库整理完毕！"

    // The start the window proposes: the day after the last cut-off (the
    // cut-off itself while gd_rq's start and cut-off are the same date);
    // empty when gd_rq has no row yet.
    QString proposedStart();

    // The typed dates, checked as "开始" checks them. A start is any date.
    static QDate checkStart(const QString &typed);
    static QDate checkEnd(const QString &typed); // empty: kNoEndDate; not an 18th: kNotCutOff
    static void checkRange(const QDate &start, const QDate &end);
    // Refuses a range History already holds rows of.
    void checkHistoryFree(const QDate &start, const QDate &end);
    static QString historyHoldsMessage(const QDate &start, const QDate &end);

    // The sales lines of the range, as the window lists them.
    RowQuery linesQuery(const QDate &start, const QDate &end) const;
    ArchiveTotals currentTotals(const QDate &start, const QDate &end);

    // The run. Throws DomainError for a refused range and DbError for a
    // failure; both leave everything as it was.
    ArchiveResult archive(const QDate &start, const QDate &end, const ArchiveObserver &observer);

    // "数据库整理---清除多余记录": whatever their date.
    CleanUpResult cleanUp();

private:
    ArchiveTotals totals(const QString &sales, const QString &funds, const QDate &start, const QDate &end);
    // Copies the range of one table into its history table, a span of days
    // at a time; returns the rows copied.
    qint64 copy(const QString &from, const QString &to, const QString &dateColumn, const QDate &start, const QDate &end,
                const std::function<void(qint64)> &copied);

    Session &m_s;
};

} // namespace fm
