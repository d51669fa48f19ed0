#include "accounts/historyqueries.h"

#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kColumns = QStringLiteral("id, rq_1, cpmc, cpgg, zcjg, zznum, zzjg, zzje, kpjg, tlnum, kpje, khmc, rq_2, "
                                        "region, czydm, zzhm, khdm, bz_1");

double sumOf(const Row &r, const char *column)
{
    return r.isNull(QLatin1String(column)) ? 0 : r.number(QLatin1String(column));
}

} // namespace

HistoryQuery HistoryQueries::checked(const HistoryQuery &given)
{
    HistoryQuery q = given;
    const bool chosen = !q.regionCode.trimmed().isEmpty() || !q.customerCode.trimmed().isEmpty()
        || !q.categoryFlag.trimmed().isEmpty();
    if (!chosen && q.from.trimmed().isEmpty() && q.to.trimmed().isEmpty())
        throw DomainError(QStringLiteral("必须至少选择一个条件！"));
    if (q.from.trimmed().isEmpty() || q.to.trimmed().isEmpty())
        throw DomainError(QStringLiteral("请输入日期!"), ErrorCode::Incomplete);
    const QDate from = parseDateText(q.from);
    const QDate to = parseDateText(q.to);
    if (!from.isValid() || !to.isValid())
        throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    if (to < from) throw DomainError(QStringLiteral("截止日期不能早于起始日期！"), ErrorCode::BadNumber);
    q.from = dateText(from);
    q.to = dateText(to);
    return q;
}

RowQuery HistoryQueries::lines(const HistoryQuery &q, bool history) const
{
    QStringList terms;
    Values values;
    // A customer's lines are fewer than its region's, a region's fewer than a
    // category's: the narrowest chosen condition takes its index, the others
    // are written so that no planner without statistics (SQLite) reads a
    // region's or a category's lines to find one customer's. The values are
    // never empty, so the COALESCE changes no result.
    const QString code = q.regionCode.trimmed();
    const bool region = !code.isEmpty() && code != HistoryQuery::kAllRegions;
    const bool customer = !q.customerCode.trimmed().isEmpty();
    if (region) {
        terms << (customer ? QStringLiteral("COALESCE(region, '') = ?") : QStringLiteral("region = ?"));
        values << q.regionName.trimmed();
    }
    if (customer) {
        terms << QStringLiteral("{ci:khdm} = {ci:?}");
        values << q.customerCode.trimmed();
    }
    if (!q.categoryFlag.trimmed().isEmpty()) {
        terms << (customer || region ? QStringLiteral("COALESCE(bz_3, '') = ?") : QStringLiteral("bz_3 = ?"));
        values << q.categoryFlag.trimmed();
    }
    terms << QStringLiteral("rq_1 >= ? AND rq_1 <= ?");
    values << q.from << q.to;
    if (q.returns) terms << QStringLiteral("bz_1 = '3'");
    return RowQuery{QStringLiteral("SELECT %1 FROM {%2} WHERE %3")
                        .arg(kColumns, history ? QStringLiteral("his_sale1") : QStringLiteral("sale1"),
                             terms.join(QStringLiteral(" AND "))),
                    values, {QStringLiteral("rq_1")}};
}

HistoryTotals HistoryQueries::totals(const HistoryQuery &q)
{
    // Read outside a transaction: a write transaction would hold back every
    // workstation's entry while a long range is summed.
    HistoryTotals t;
    for (bool history : {true, false}) {
        const RowQuery l = lines(q, history);
        // "销售" nets the return lines out; "退料" lists only those.
        const auto r = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(zznum) AS zznum, SUM(zzje) AS zzje, "
                                              "SUM(CASE WHEN bz_1 = '3' THEN tlnum ELSE 0 END) AS tlnum, "
                                              "SUM(CASE WHEN bz_1 = '3' THEN kpje ELSE 0 END) AS kpje FROM (%1) q")
                                   .arg(l.select),
                               l.values);
        if (!r) continue;
        const double returned = sumOf(*r, "tlnum"), returnedAmount = sumOf(*r, "kpje");
        (history ? t.historyRows : t.currentRows) = r->integer(QStringLiteral("n"));
        if (q.returns) {
            t.kilograms += returned;
            t.amount += returnedAmount;
        } else {
            t.kilograms += sumOf(*r, "zznum") - returned;
            t.amount += sumOf(*r, "zzje") - returnedAmount;
        }
    }
    return t;
}

} // namespace fm
