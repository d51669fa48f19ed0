#include "accounts/statements.h"

#include "common/dates.h"
#include "common/money.h"
#include "data/dberror.h"
#include "data/session.h"
#include "reports/reportvalue.h"

#include <algorithm>

namespace fm {

namespace {

const QString kFundRows = QStringLiteral("SELECT id, rq, ysje, sjje, zzje FROM {khzj} "
                                         "WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ?");

int monthIndex(const QString &key)
{
    return key.left(4).toInt() * 12 + key.mid(5, 2).toInt();
}

MonthRecord readRecord(const Row &r)
{
    MonthRecord m;
    m.id = r.id();
    m.code = r.text(QStringLiteral("khdm"));
    m.name = r.text(QStringLiteral("khmc"));
    m.region = r.text(QStringLiteral("region"));
    m.month = r.text(QStringLiteral("rq"));
    m.receivable = r.number(QStringLiteral("ysje"));
    m.received = r.number(QStringLiteral("sjje"));
    m.arrears = r.number(QStringLiteral("sjqk"));
    m.arrearsBeforeFee = r.number(QStringLiteral("sjzq"));
    m.fee = r.number(QStringLiteral("tgf"));
    return m;
}

} // namespace

Statement statementOf(Session &s, const QString &customerCode, const QDate &start, const QDate &end)
{
    Statement st;
    for (const Row &r : s.rows(kFundRows + QStringLiteral(" ORDER BY rq, id"),
                               {customerCode.trimmed(), dateText(start), dateText(end)})) {
        FundRow f;
        f.id = r.id();
        f.date = r.text(QStringLiteral("rq"));
        f.receivable = r.number(QStringLiteral("ysje"));
        f.received = r.number(QStringLiteral("sjje"));
        f.fee = r.number(QStringLiteral("zzje"));
        st.receivable += f.receivable;
        st.received += f.received;
        st.rows.push_back(f);
    }
    if (!st.rows.empty()) st.fee = st.rows.back().fee;
    return st;
}

RowQuery statementQuery(const QString &customerCode, const QDate &start, const QDate &end)
{
    return {kFundRows, {customerCode.trimmed(), dateText(start), dateText(end)}, {QStringLiteral("rq")}};
}

ArrearsAging arrearsAging(Session &s, const QString &customerCode, const QDate &cutOff)
{
    ArrearsAging a;
    a.monthKey = periodMonthKey(settlementPeriodOf(cutOff));
    const std::vector<MonthRecord> records =
        MonthRecords(s).list({customerCode, a.monthKey});
    for (const MonthRecord &m : records) a.total += m.arrears;
    if (a.total <= money::kTolerance) return a;

    const int now = monthIndex(a.monthKey);
    double open = a.total;
    auto bucket = [&](const MonthRecord &m) -> double & {
        const int age = now - monthIndex(m.month);
        return age <= 0 ? a.current : age <= 3 ? a.upTo3 : age <= 6 ? a.upTo6 : a.older;
    };
    for (auto it = records.rbegin(); it != records.rend() && open > 0; ++it) {
        const double debt = std::max(0.0, it->receivable - it->fee);
        const double take = std::min(open, debt);
        bucket(*it) += take;
        open -= take;
    }
    // More open than the months' debts (payments taken back): the oldest month.
    if (open > money::kTolerance && !records.empty()) bucket(records.front()) += open;
    return a;
}

std::vector<MonthRecord> MonthRecords::list(const MonthRecordFilter &filter)
{
    QString sql = QStringLiteral("SELECT id, khdm, khmc, region, ysje, sjje, sjqk, sjzq, tgf, rq FROM {khzqk} "
                                 "WHERE {ci:khdm} = {ci:?}");
    Values values{filter.customerCode.trimmed()};
    if (!filter.cutOff.isEmpty()) {
        sql += QStringLiteral(" AND rq <= ?");
        values << filter.cutOff;
    }
    std::vector<MonthRecord> out;
    for (const Row &r : m_s.rows(sql + QStringLiteral(" ORDER BY rq, id"), values)) out.push_back(readRecord(r));
    return out;
}

MonthTotals MonthRecords::totals(const std::vector<MonthRecord> &records)
{
    MonthTotals t;
    for (const MonthRecord &m : records) {
        t.arrearsBeforeFee += m.arrearsBeforeFee;
        t.fee += m.fee;
        t.receivable += m.receivable;
        t.received += m.received;
    }
    return t;
}

void MonthRecords::remove(qint64 id)
{
    m_s.transaction([&] {
        if (m_s.execute(QStringLiteral("DELETE FROM {khzqk} WHERE id = ?"), {id}) != 1)
            throw DomainError(QStringLiteral("未找到要删除的记录！"), ErrorCode::NotFound);
    });
}

QString yuanText(double amount)
{
    return NumberFormat::fixed(2, true).format(amount);
}

QDate checkTypedDate(const QString &typed)
{
    const QDate d = parseDateText(typed);
    if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    return d;
}

} // namespace fm
