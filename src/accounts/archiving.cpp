#include "accounts/archiving.h"

#include "common/dates.h"
#include "data/schema.h"
#include "data/session.h"

#include <algorithm>
#include <cmath>

namespace fm {

const QString Archiving::kConfirm = QStringLiteral("确认否？请所有用户退出！可能时间较长");
const QString Archiving::kNoEndDate = QStringLiteral("请输入截止日期！");
const QString Archiving::kNotCutOff = QStringLiteral("截至日期为每月的18日,请重新输入截止日期!");
const QString Archiving::kEndBeforeStart = QStringLiteral("截止日期不能早于起始日期！");
const QString Archiving::kVerifying = QStringLiteral("正在校验数据。。。");
const QString Archiving::kSalesCorrect = QStringLiteral("销售数据正确！");
const QString Archiving::kFundsCorrect = QStringLiteral("资金数据正确！");
const QString Archiving::kMismatch = QStringLiteral("校验数据不正确，请检查！");
const QString Archiving::kDeleteQuestion = QStringLiteral("校验数据正确，是否清除原数据库数据！");
const QString Archiving::kCleaning = QStringLiteral("正在整理数据库，请稍侯。。。");
const QString Archiving::kCleaned = QStringLiteral("数据库整理完毕！");

namespace {

// A run that ends without deleting: the transaction rolls back.
struct Declined {};
struct Mismatch {};

// Two sums of the same values, added in whatever order the engine chose.
bool sameSum(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

// How many days each copy statement takes: about twenty statements a run,
// so the bar moves while every statement still finds its rows by date.
int daysPerStatement(const QDate &start, const QDate &end)
{
    return int(std::max<qint64>(1, (start.daysTo(end) + 1 + 19) / 20));
}

} // namespace

bool ArchiveTotals::sameSales(const ArchiveTotals &o) const
{
    return sales == o.sales && sameSum(issuedKg, o.issuedKg) && sameSum(invoiced, o.invoiced)
        && sameSum(returnedKg, o.returnedKg) && sameSum(returned, o.returned);
}

bool ArchiveTotals::sameFunds(const ArchiveTotals &o) const
{
    return funds == o.funds && sameSum(receivable, o.receivable) && sameSum(received, o.received)
        && sameSum(owed, o.owed);
}

QString Archiving::proposedStart()
{
    const auto r = m_s.row(QStringLiteral("SELECT qsrq, jzrq FROM {gd_rq} ORDER BY id {first:1}"));
    if (!r) return QString();
    const QString start = r->text(QStringLiteral("qsrq"));
    const QString cutOff = r->text(QStringLiteral("jzrq"));
    if (cutOff.compare(start, Qt::CaseInsensitive) == 0) return cutOff;
    return cutOff.left(8) + QStringLiteral("19");
}

QDate Archiving::checkStart(const QString &typed)
{
    const QDate d = parseDateText(typed);
    if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    return d;
}

QDate Archiving::checkEnd(const QString &typed)
{
    if (typed.trimmed().isEmpty()) throw DomainError(kNoEndDate, ErrorCode::Incomplete);
    const QDate d = parseDateText(typed);
    if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    if (d.day() != 18) throw DomainError(kNotCutOff, ErrorCode::Refused);
    return d;
}

void Archiving::checkRange(const QDate &start, const QDate &end)
{
    // An end before the start would copy nothing and move the cut-off back.
    if (end < start) throw DomainError(kEndBeforeStart, ErrorCode::Refused);
}

QString Archiving::historyHoldsMessage(const QDate &start, const QDate &end)
{
    return QStringLiteral("历史数据库中已有%1至%2的数据，不能重复归档！").arg(dateText(start), dateText(end));
}

void Archiving::checkHistoryFree(const QDate &start, const QDate &end)
{
    const Values range{dateText(start), dateText(end)};
    const bool held =
        m_s.row(QStringLiteral("SELECT id FROM {his_sale1} WHERE rq_1 >= ? AND rq_1 <= ? ORDER BY rq_1 {first:1}"), range)
        || m_s.row(QStringLiteral("SELECT id FROM {his_khzj} WHERE rq >= ? AND rq <= ? ORDER BY rq {first:1}"), range);
    if (held) throw DomainError(historyHoldsMessage(start, end), ErrorCode::Duplicate);
}

RowQuery Archiving::linesQuery(const QDate &start, const QDate &end) const
{
    return RowQuery{QStringLiteral("SELECT id, khdm, region, khmc, tlnum, kpjg, kpje, zzjg, zzje, rq_1, cpdm, cpmc, cpgg, "
                                   "czydm FROM {sale1} WHERE rq_1 >= ? AND rq_1 <= ?"),
                    {dateText(start), dateText(end)},
                    {QStringLiteral("rq_1")}};
}

ArchiveTotals Archiving::totals(const QString &sales, const QString &funds, const QDate &start, const QDate &end)
{
    const Values range{dateText(start), dateText(end)};
    ArchiveTotals t;
    const auto s = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(zznum) AS zznum, SUM(zzje) AS zzje, "
                                          "SUM(tlnum) AS tlnum, SUM(kpje) AS kpje FROM {%1} WHERE rq_1 >= ? AND rq_1 <= ?")
                               .arg(sales),
                           range);
    t.sales = s->integer(QStringLiteral("n"));
    t.issuedKg = s->number(QStringLiteral("zznum"));
    t.invoiced = s->number(QStringLiteral("zzje"));
    t.returnedKg = s->number(QStringLiteral("tlnum"));
    t.returned = s->number(QStringLiteral("kpje"));
    const auto f = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(ysje) AS ysje, SUM(sjje) AS sjje, SUM(sqje) AS sqje "
                                          "FROM {%1} WHERE rq >= ? AND rq <= ?")
                               .arg(funds),
                           range);
    t.funds = f->integer(QStringLiteral("n"));
    t.receivable = f->number(QStringLiteral("ysje"));
    t.received = f->number(QStringLiteral("sjje"));
    t.owed = f->number(QStringLiteral("sqje"));
    return t;
}

ArchiveTotals Archiving::currentTotals(const QDate &start, const QDate &end)
{
    return totals(QStringLiteral("sale1"), QStringLiteral("khzj"), start, end);
}

qint64 Archiving::copy(const QString &from, const QString &to, const QString &dateColumn, const QDate &start,
                       const QDate &end, const std::function<void(qint64)> &copied)
{
    // Every column, the key included: History holds the rows as they were.
    const QString columns = QStringLiteral("id, ") + findTable(from)->columnNames().join(QStringLiteral(", "));
    const QString target = m_s.expand(QLatin1Char('{') + to + QLatin1Char('}'));
    const QString insert = QStringLiteral("INSERT INTO {%1} (%3) SELECT %3 FROM {%2} WHERE %4 >= ? AND %4 <= ? ORDER BY id")
                               .arg(to, from, columns, dateColumn);
    for (const QString &s : m_s.dialect().beforeExplicitIds(target)) m_s.exec(s);
    qint64 total = 0;
    const int step = daysPerStatement(start, end);
    for (QDate day = start; day <= end; day = day.addDays(step)) {
        const QDate last = std::min(end, day.addDays(step - 1));
        total += m_s.execute(insert, {dateText(day), dateText(last)});
        if (copied) copied(total);
    }
    for (const QString &s : m_s.dialect().afterExplicitIds(target)) m_s.exec(s);
    return total;
}

ArchiveResult Archiving::archive(const QDate &start, const QDate &end, const ArchiveObserver &observer)
{
    checkRange(start, end);
    const auto stage = [&](const QString &text) {
        if (observer.stage) observer.stage(text);
    };
    const Values range{dateText(start), dateText(end)};
    ArchiveResult result;
    try {
        m_s.transaction([&] {
            result = ArchiveResult();
            // One archiving run at a time; the control row is taken first,
            // before any line.
            m_s.lockRows(QStringLiteral("gd_rq"), QStringLiteral("gdbz"));
            checkHistoryFree(start, end);
            const ArchiveTotals before = currentTotals(start, end);
            result.totals = before;
            const qint64 all = before.sales + before.funds;
            if (observer.progress) observer.progress(0, all);
            copy(QStringLiteral("sale1"), QStringLiteral("his_sale1"), QStringLiteral("rq_1"), start, end, [&](qint64 n) {
                if (observer.progress) observer.progress(n, all);
            });
            copy(QStringLiteral("khzj"), QStringLiteral("his_khzj"), QStringLiteral("rq"), start, end, [&](qint64 n) {
                if (observer.progress) observer.progress(before.sales + n, all);
            });

            stage(kVerifying);
            const ArchiveTotals copied = totals(QStringLiteral("his_sale1"), QStringLiteral("his_khzj"), start, end);
            const bool salesOk = copied.sameSales(before);
            const bool fundsOk = copied.sameFunds(before);
            if (salesOk) stage(kSalesCorrect);
            if (fundsOk) stage(kFundsCorrect);
            if (!salesOk || !fundsOk) throw Mismatch();

            if (!observer.confirmDelete || !observer.confirmDelete(kDeleteQuestion)) throw Declined();
            // Rows written or changed in the range while the clerk was asked
            // would be deleted without their copy: count and sum again.
            const ArchiveTotals now = currentTotals(start, end);
            if (!now.sameSales(before) || !now.sameFunds(before)) throw Mismatch();
            const int sales = m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE rq_1 >= ? AND rq_1 <= ?"), range);
            const int funds = m_s.execute(QStringLiteral("DELETE FROM {khzj} WHERE rq >= ? AND rq <= ?"), range);
            if (sales != before.sales || funds != before.funds) throw Mismatch();
            if (m_s.execute(QStringLiteral("UPDATE {gd_rq} SET jzrq = ?, gdbz = '1'"), {dateText(end)}) == 0)
                m_s.insert(QStringLiteral("gd_rq"), {{QStringLiteral("qsrq"), dateText(start)},
                                                     {QStringLiteral("jzrq"), dateText(end)},
                                                     {QStringLiteral("gdbz"), QStringLiteral("1")}});
            result.outcome = ArchiveResult::Outcome::Archived;
        });
    } catch (const Declined &) {
        result.outcome = ArchiveResult::Outcome::Declined;
    } catch (const Mismatch &) {
        result.outcome = ArchiveResult::Outcome::Mismatch;
    }
    if (observer.progress) observer.progress(0, 0);
    return result;
}

CleanUpResult Archiving::cleanUp()
{
    CleanUpResult r;
    m_s.transaction([&] {
        r.sales = m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE zznum = 0 AND tlnum = 0"));
        r.funds = m_s.execute(QStringLiteral("DELETE FROM {khzj} WHERE ysje = 0 AND sjje = 0 AND sqje = 0"));
    });
    return r;
}

} // namespace fm
