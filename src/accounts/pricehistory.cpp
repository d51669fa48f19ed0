#include "accounts/pricehistory.h"

#include "common/dates.h"
#include "data/session.h"

namespace fm {

namespace {

QString select(bool archived)
{
    return QStringLiteral("SELECT id, rq_1, cpmc, cpgg, zzjg, kpjg, zcjg, zznum, tlnum, kpje, khmc, rq_2, region, czydm, "
                          "sjbs, cpdm, khdm FROM {%1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?")
        .arg(archived ? QStringLiteral("his_sale1") : QStringLiteral("sale1"));
}

Values range(const QString &code, const QDate &start, const QDate &end)
{
    return {code.trimmed(), dateText(start), dateText(end)};
}

} // namespace

RowQuery priceHistoryQuery(bool archived, const QString &customerCode, const QDate &start, const QDate &end)
{
    return {select(archived), range(customerCode, start, end), {QStringLiteral("rq_1")}};
}

bool hasPriceHistory(Session &s, bool archived, const QString &customerCode, const QDate &start, const QDate &end)
{
    return s.row(select(archived) + QStringLiteral(" ORDER BY rq_1, id {first:1}"), range(customerCode, start, end))
        .has_value();
}

std::vector<PriceHistoryLine> priceHistory(Session &s, const QString &customerCode, const QDate &start, const QDate &end)
{
    std::vector<PriceHistoryLine> out;
    for (const Row &r : s.rows(select(false) + QStringLiteral(" ORDER BY rq_1, id"), range(customerCode, start, end))) {
        PriceHistoryLine l;
        l.id = r.id();
        l.date = r.text(QStringLiteral("rq_1"));
        l.customer = r.text(QStringLiteral("khmc"));
        l.product = r.text(QStringLiteral("cpmc"));
        l.spec = r.text(QStringLiteral("cpgg"));
        l.sold = r.number(QStringLiteral("zznum"));
        l.returned = r.number(QStringLiteral("tlnum"));
        l.price = r.number(QStringLiteral("zzjg"));
        l.returnPrice = r.number(QStringLiteral("kpjg"));
        l.policyPrice = r.number(QStringLiteral("zcjg"));
        out.push_back(l);
    }
    return out;
}

} // namespace fm
