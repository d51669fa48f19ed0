#include "sales/returns.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"

namespace fm {

namespace {

const QString kPurchaseColumns = QStringLiteral(
    "SELECT id, rq_1, cpmc, cpgg, zcjg, zznum, zzjg, zzje, khmc, cpdm, region, khdm, czydm, sjbs, recnum, cbjg, bz_3, zzhm ");

Purchase purchaseFrom(const QSqlQuery &q, bool history)
{
    Purchase p;
    p.id = q.value(0).toLongLong();
    p.history = history;
    p.rq_1 = q.value(1).toString().trimmed();
    p.cpmc = q.value(2).toString().trimmed();
    p.cpgg = q.value(3).toString().trimmed();
    p.zcjg = q.value(4).toDouble();
    p.zznum = q.value(5).toDouble();
    p.zzjg = q.value(6).toDouble();
    p.zzje = q.value(7).toDouble();
    p.khmc = q.value(8).toString().trimmed();
    p.cpdm = q.value(9).toString().trimmed();
    p.region = q.value(10).toString().trimmed();
    p.khdm = q.value(11).toString().trimmed();
    p.czydm = q.value(12).toString().trimmed();
    p.sjbs = q.value(13).toInt();
    p.recnum = q.value(14).toInt();
    p.cbjg = q.value(15).toDouble();
    p.bz_3 = q.value(16).toString().trimmed();
    p.zzhm = q.value(17).toString().trimmed();
    return p;
}

} // namespace

Returns::Returns(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

std::optional<SalesCustomer> Returns::customer(const QString &code)
{
    return findSalesCustomer(m_s, code);
}

std::vector<Purchase> Returns::purchases(const QString &customerCode, const QString &from, const QString &to)
{
    std::vector<Purchase> out;
    const QString where = QStringLiteral("WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? AND bz_1 <> '3' ORDER BY rq_1, id");
    QSqlQuery q = m_s.exec(kPurchaseColumns + QStringLiteral("FROM {sale1} ") + where, {customerCode.trimmed(), from, to});
    while (q.next()) out.push_back(purchaseFrom(q, false));
    q.finish();
    QSqlQuery h = m_s.exec(kPurchaseColumns + QStringLiteral("FROM {his_sale1} ") + where, {customerCode.trimmed(), from, to});
    while (h.next()) out.push_back(purchaseFrom(h, true));
    return out;
}

QString Returns::unitFor(const QString &spec)
{
    const QString s = spec.trimmed();
    if (s == QLatin1String("5") || s == QLatin1String("10")) return QStringLiteral("小包");
    if (s == QLatin1String("20")) return QStringLiteral("中包");
    if (s == QLatin1String("40") || s == QLatin1String("50")) return QStringLiteral("大包");
    return QString();
}

double Returns::kilograms(const QString &unit, double bags, const QString &spec, double current)
{
    const QString u = unit.trimmed();
    if (u == QStringLiteral("吨")) return bags;
    if (u == QStringLiteral("箱")) return bags * 20;
    static const QStringList bySpec{QStringLiteral("大包"), QStringLiteral("中包"), QStringLiteral("小包"),
                                    QStringLiteral("包"), QStringLiteral("袋")};
    if (bySpec.contains(u)) {
        double perBag = 0;
        if (!parseNumber(spec, &perBag)) throw DomainError(QStringLiteral("产品规格有错：%1").arg(spec));
        return bags * perBag;
    }
    return current;
}

PreparedReturn Returns::prepare(const Purchase &p, double bags, const QString &unit, double kilograms)
{
    PreparedReturn r;
    r.purchase = p;
    r.category = m_s.scalar(QStringLiteral("SELECT lbmc FROM {cplbgg} WHERE cpbz = ? ORDER BY id {first:1}"), {p.bz_3})
                     .toString()
                     .trimmed();
    r.bags = bags;
    r.unit = unit.trimmed();
    r.kilograms = kilograms;
    // Double precision throughout: the amount is exactly price × kg / 1000.
    r.amount = p.zzjg * kilograms / 1000;
    r.serial = TurnoverNumbers(m_s).drawSerial();
    return r;
}

ReturnResult Returns::confirm(const SalesCustomer &customer, const PreparedReturn &r, const QString &lineDate)
{
    const Purchase &p = r.purchase;
    const QDateTime now = m_clock.now();
    // A retail customer's return line carries the policy price; its amount is at the sold price.
    const double linePrice = customer.retail() ? p.zcjg : p.zzjg;
    ReturnResult out;
    m_s.transaction([&] {
        out.saleId = m_s.insert(QStringLiteral("sale1"),
                                {{QStringLiteral("rq_1"), lineDate},
                                 {QStringLiteral("cpmc"), p.cpmc},
                                 {QStringLiteral("cpgg"), p.cpgg},
                                 {QStringLiteral("zcjg"), p.zcjg},
                                 {QStringLiteral("zznum"), 0.0},
                                 {QStringLiteral("zzjg"), 0.0},
                                 {QStringLiteral("zzje"), 0.0},
                                 {QStringLiteral("kpjg"), linePrice},
                                 {QStringLiteral("tlnum"), r.kilograms},
                                 {QStringLiteral("kpje"), r.amount},
                                 {QStringLiteral("khmc"), customer.name},
                                 {QStringLiteral("rq_2"), lineDate},
                                 {QStringLiteral("cpdm"), p.cpdm},
                                 {QStringLiteral("region"), customer.region},
                                 {QStringLiteral("khdm"), customer.code},
                                 {QStringLiteral("czydm"), m_operator},
                                 {QStringLiteral("sjbs"), int(qRound(r.bags))},
                                 {QStringLiteral("recnum"), r.serial},
                                 {QStringLiteral("bz_1"), QStringLiteral("3")},
                                 {QStringLiteral("cbjg"), p.cbjg},
                                 {QStringLiteral("zzhm"), QStringLiteral("0")},
                                 {QStringLiteral("bz_3"), p.bz_3},
                                 {QStringLiteral("sjxl1"), 0.0},
                                 {QStringLiteral("sjxl2"), 0.0},
                                 {QStringLiteral("zcje"), p.zcjg * r.kilograms / 1000},
                                 {QStringLiteral("cbje"), 0.0},
                                 {QStringLiteral("hksl"), 0.0},
                                 {QStringLiteral("hkje"), 0.0},
                                 {QStringLiteral("ce"), 0.0},
                                 {QStringLiteral("bz_2"), QStringLiteral("0")},
                                 {QStringLiteral("fphm"), QString()},
                                 {QStringLiteral("bszl"), r.unit}});
        out.registerId = m_s.insert(QStringLiteral("khtl"), {{QStringLiteral("khdm"), customer.code},
                                                             {QStringLiteral("region"), customer.region},
                                                             {QStringLiteral("khmc"), customer.name},
                                                             {QStringLiteral("cpdm"), p.cpdm},
                                                             {QStringLiteral("cpmc"), p.cpmc},
                                                             {QStringLiteral("cpgg"), p.cpgg},
                                                             {QStringLiteral("tlprice"), p.zzjg},
                                                             {QStringLiteral("tlnum"), r.kilograms},
                                                             {QStringLiteral("tlje"), r.amount},
                                                             {QStringLiteral("bz"), QStringLiteral("0")},
                                                             {QStringLiteral("czydm"), m_operator},
                                                             {QStringLiteral("tlrq"), lineDate},
                                                             {QStringLiteral("kprq"), p.rq_1},
                                                             {QStringLiteral("rec_num"), r.serial}});
        // The return takes back exactly the promotion fee of the goods returned.
        out.fundsId = m_s.insert(QStringLiteral("khzj"),
                                 {{QStringLiteral("khdm"), customer.code},
                                  {QStringLiteral("khmc"), customer.name},
                                  {QStringLiteral("region"), customer.region},
                                  {QStringLiteral("ysje"), -r.amount},
                                  {QStringLiteral("sjje"), 0.0},
                                  {QStringLiteral("sjdx"), QStringLiteral("退料时间:") + dateTimeText(now)},
                                  {QStringLiteral("sqje"), 0.0},
                                  {QStringLiteral("sjxl"), r.kilograms},
                                  {QStringLiteral("rq"), dateText(now.date())},
                                  {QStringLiteral("czydm"), m_operator},
                                  {QStringLiteral("zzje"), -r.kilograms * (p.zzjg - p.zcjg) / 1000}});
        const int n = m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ? WHERE {ci:cpdm} = {ci:?}"),
                                  {r.kilograms, p.cpdm});
        out.productMissing = n == 0;
    });
    return out;
}

std::vector<ReturnLine> Returns::todaysReturns(const QString &lineDate, const QString &customerCode)
{
    QString sql = QStringLiteral("SELECT id, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, tlnum, kpjg, kpje, rq_1, rq_2, "
                                 "zzhm, czydm FROM {sale1} WHERE czydm = ? AND rq_2 = ? AND bz_1 = '3'");
    Values values{m_operator, lineDate};
    if (!customerCode.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND {ci:khdm} = {ci:?}");
        values << customerCode.trimmed();
    }
    sql += QStringLiteral(" ORDER BY id");
    std::vector<ReturnLine> out;
    QSqlQuery q = m_s.exec(sql, values);
    while (q.next()) {
        ReturnLine l;
        l.id = q.value(0).toLongLong();
        l.khdm = q.value(1).toString().trimmed();
        l.region = q.value(2).toString().trimmed();
        l.khmc = q.value(3).toString().trimmed();
        l.cpdm = q.value(4).toString().trimmed();
        l.cpmc = q.value(5).toString().trimmed();
        l.cpgg = q.value(6).toString().trimmed();
        l.zznum = q.value(7).toDouble();
        l.tlnum = q.value(8).toDouble();
        l.kpjg = q.value(9).toDouble();
        l.kpje = q.value(10).toDouble();
        l.rq_1 = q.value(11).toString().trimmed();
        l.rq_2 = q.value(12).toString().trimmed();
        l.zzhm = q.value(13).toString().trimmed();
        l.czydm = q.value(14).toString().trimmed();
        out.push_back(l);
    }
    return out;
}

} // namespace fm
