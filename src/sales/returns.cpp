#include "sales/returns.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/salesnumbers.h"
#include "sales/turnovernumbers.h"

namespace fm {

namespace {

QString purchaseSelect(bool history)
{
    return QStringLiteral("SELECT %1 FROM {%2} ").arg(SaleLine::columns(), history ? QStringLiteral("his_sale1")
                                                                                           : QStringLiteral("sale1"));
}

const QString kPurchaseWhere = QStringLiteral("WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? AND bz_1 <> '3'");

} // namespace

void ReturnTotals::add(const PreparedReturn &r)
{
    kilograms += r.kilograms;
    amount += r.amount;
}

ReturnTotals ReturnTotals::of(const Rows &lines, const QString &customerCode)
{
    ReturnTotals t;
    for (const Row &l : lines) {
        if (l.text(QStringLiteral("khdm")).compare(customerCode.trimmed(), Qt::CaseInsensitive) != 0) continue;
        t.kilograms += l.number(QStringLiteral("tlnum"));
        t.amount += l.number(QStringLiteral("kpje"));
    }
    return t;
}

Returns::Returns(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

std::optional<Customer> Returns::customer(const QString &code)
{
    return findCustomer(m_s, code);
}

RowQuery Returns::purchaseQuery(const QString &customerCode, const QString &from, const QString &to, bool history) const
{
    return RowQuery{purchaseSelect(history) + kPurchaseWhere, {customerCode.trimmed(), from, to},
                    {QStringLiteral("rq_1")}};
}

std::vector<Purchase> Returns::purchases(const QString &customerCode, const QString &from, const QString &to)
{
    std::vector<Purchase> out;
    for (bool history : {false, true}) {
        const RowQuery q = purchaseQuery(customerCode, from, to, history);
        for (const Row &r : m_s.rows(q.select + QStringLiteral(" ORDER BY rq_1, id"), q.values)) {
            Purchase p;
            static_cast<SaleLine &>(p) = SaleLine::read(r);
            p.history = history;
            out.push_back(p);
        }
    }
    return out;
}

std::optional<Purchase> Returns::purchase(qint64 id, bool history)
{
    const auto r = m_s.row(purchaseSelect(history) + QStringLiteral("WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    Purchase p;
    static_cast<SaleLine &>(p) = SaleLine::read(*r);
    p.history = history;
    return p;
}

QString Returns::category(const QString &flag)
{
    const auto r = m_s.row(QStringLiteral("SELECT lbmc FROM {cplbgg} WHERE cpbz = ? ORDER BY id {first:1}"), {flag});
    return r ? r->text(QStringLiteral("lbmc")) : QString();
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
        if (!parseNumber(spec, &perBag) || perBag <= 0) throw DomainError(QStringLiteral("产品规格有错：%1").arg(spec));
        return bags * perBag;
    }
    return current;
}

PreparedReturn Returns::prepare(const Purchase &p, double bags, const QString &unit, double kilograms)
{
    PreparedReturn r;
    r.purchase = p;
    r.bags = sales::checkBags(bags);
    r.unit = unit.trimmed();
    r.kilograms = sales::checkKilograms(kilograms);
    // Double precision throughout: the amount is exactly price × kg / 1000.
    r.amount = money::lineAmount(p.zzjg, r.kilograms);
    r.serial = TurnoverNumbers(m_s).drawSerial();
    return r;
}

ReturnResult Returns::confirm(const Customer &customer, const PreparedReturn &r, const QString &lineDate)
{
    const Purchase &p = r.purchase;
    sales::checkKilograms(r.kilograms);
    sales::checkBags(r.bags);
    // Every row of the return carries the window's line date, so that a
    // return confirmed after midnight is found again with its lines.
    const QString date = lineDate;
    ReturnResult out;
    m_s.transaction([&] {
        SaleLine l;
        l.rq_1 = l.rq_2 = date;
        l.khdm = customer.code;
        l.khmc = customer.name;
        l.region = customer.region;
        l.cpdm = p.cpdm;
        l.cpmc = p.cpmc;
        l.cpgg = p.cpgg;
        l.zzhm = QStringLiteral("0");
        l.bz_1 = QStringLiteral("3");
        l.bz_3 = p.bz_3;
        l.bszl = r.unit;
        l.czydm = m_operator;
        // A retail customer's return line carries the policy price; its amount is at the sold price.
        l.kpjg = customer.isRetail() ? p.zcjg : p.zzjg;
        l.tlnum = r.kilograms;
        l.kpje = r.amount;
        l.zcjg = p.zcjg;
        l.zcje = money::lineAmount(p.zcjg, r.kilograms);
        l.cbjg = p.cbjg;
        l.sjbs = r.bags;
        l.recnum = r.serial;
        out.saleId = writeSaleLine(m_s, l);
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
                                                             {QStringLiteral("tlrq"), date},
                                                             {QStringLiteral("kprq"), p.rq_1},
                                                             {QStringLiteral("rec_num"), r.serial},
                                                             {QStringLiteral("sale1_id"), out.saleId}});
        // The return takes back exactly the promotion fee of the goods returned.
        out.fundsId = m_s.insert(QStringLiteral("khzj"),
                                 {{QStringLiteral("khdm"), customer.code},
                                  {QStringLiteral("khmc"), customer.name},
                                  {QStringLiteral("region"), customer.region},
                                  {QStringLiteral("ysje"), -r.amount},
                                  {QStringLiteral("sjje"), 0.0},
                                  {QStringLiteral("sjdx"), QStringLiteral("退料时间:") + dateTimeText(m_clock.now())},
                                  {QStringLiteral("sqje"), 0.0},
                                  {QStringLiteral("sjxl"), r.kilograms},
                                  {QStringLiteral("rq"), date},
                                  {QStringLiteral("czydm"), m_operator},
                                  {QStringLiteral("zzje"), -money::promotionFee(r.kilograms, p.zzjg, p.zcjg)},
                                  {QStringLiteral("sale1_id"), out.saleId}});
        const int n = m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ? WHERE {ci:cpdm} = {ci:?}"),
                                  {r.kilograms, p.cpdm});
        out.productMissing = n == 0;
    });
    return out;
}

Rows Returns::returnsOfDay(const QString &lineDate, List list, const QString &customerCode)
{
    QString sql = QStringLiteral("SELECT id, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, tlnum, kpjg, kpje, rq_1, rq_2, "
                                 "zzhm, czydm FROM {sale1} WHERE rq_2 = ? AND bz_1 = '3'");
    Values values{lineDate};
    if (list != List::Customer) {
        sql += QStringLiteral(" AND czydm = ?");
        values << m_operator;
    }
    if (list != List::Operator) {
        sql += QStringLiteral(" AND {ci:khdm} = {ci:?}");
        values << customerCode.trimmed();
    }
    return m_s.rows(sql + QStringLiteral(" ORDER BY id"), values);
}

} // namespace fm
