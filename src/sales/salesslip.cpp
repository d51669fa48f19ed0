#include "sales/salesslip.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/turnovernumbers.h"

#include <cmath>

namespace fm {

namespace {

const QString kUnpaid = QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！");
const QString kTooManyLines = QStringLiteral("你的记录数已经超过8条，请收款打印后重新选择客户！");

} // namespace

std::optional<SalesCustomer> findSalesCustomer(Session &s, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    auto r = s.first(QStringLiteral("SELECT khdm, khmc, dq, khbz FROM {zxkh} WHERE {ci:khdm} = {ci:?} ORDER BY khdm {first:1}"), {c});
    if (!r) return std::nullopt;
    SalesCustomer cust;
    cust.code = r->value(0).toString().trimmed();
    cust.name = r->value(1).toString().trimmed();
    cust.region = r->value(2).toString().trimmed();
    cust.flag = r->value(3).toString().trimmed();
    return cust;
}

SalesSlip::SalesSlip(Session &s, const Clock &clock, QString operatorCode, QString owner)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode)), m_owner(std::move(owner))
{
}

void SalesSlip::openWindow()
{
    if (m_state == State::Idle || m_state == State::Closed) m_lineDate = dateText(m_clock.today());
    if (m_lineDate.isEmpty()) m_lineDate = dateText(m_clock.today());
    TurnoverNumbers(m_s).restartSerialPast300();
}

QString SalesSlip::start()
{
    if (!canAbandon()) throw DomainError(kUnpaid);
    const QString number = TurnoverNumbers(m_s).drawNext();
    m_number = number;
    m_customer = SalesCustomer();
    m_totals = SlipTotals();
    m_lines = 0;
    m_fundsId = 0;
    m_printLines.clear();
    m_lineDate = dateText(m_clock.today());
    m_state = State::Started;
    return number;
}

std::optional<SalesCustomer> SalesSlip::enterCustomer(const QString &code)
{
    if (m_state != State::Started) return std::nullopt;
    const std::optional<SalesCustomer> found = findSalesCustomer(m_s, code);
    if (!found) return std::nullopt;
    const SalesCustomer &cust = *found;
    if (cust.closed()) throw DomainError(QStringLiteral("此客户已经销户不能开票!"));
    m_customer = cust;
    m_totals.difference = 0;
    preparePrintRows();
    m_state = State::CustomerEntered;
    return cust;
}

void SalesSlip::preparePrintRows()
{
    // All of this customer's print rows of this workstation are cleared, and
    // the eight lines exist, whatever earlier slips left behind.
    m_s.transaction([&] {
        m_s.execute(QStringLiteral("UPDATE {khprn} SET khmc = ?, region = ?, czydm = ?, sjxl1 = '', zzhm = '', "
                                   "kpjg = '', kpje = '', sjbs = '', bszl = '', cpdm = '', cpmc = '', cpgg = '' "
                                   "WHERE owner = ? AND {ci:khdm} = {ci:?}"),
                    {m_customer.name, m_customer.region, m_operator, m_owner, m_customer.code});
        QSqlQuery q = m_s.exec(QStringLiteral("SELECT zznum FROM {khprn} WHERE owner = ? AND {ci:khdm} = {ci:?}"),
                               {m_owner, m_customer.code});
        bool present[kMaxLines + 1] = {};
        while (q.next()) {
            const int n = int(std::lround(q.value(0).toDouble()));
            if (n >= 1 && n <= kMaxLines) present[n] = true;
        }
        q.finish();
        for (int n = 1; n <= kMaxLines; ++n) {
            if (present[n]) continue;
            m_s.insert(QStringLiteral("khprn"), {{QStringLiteral("khdm"), m_customer.code},
                                                 {QStringLiteral("khmc"), m_customer.name},
                                                 {QStringLiteral("region"), m_customer.region},
                                                 {QStringLiteral("czydm"), m_operator},
                                                 {QStringLiteral("zznum"), double(n)},
                                                 {QStringLiteral("owner"), m_owner}});
        }
    });
}

std::optional<ProductQuote> SalesSlip::quote(const QString &code)
{
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines);
    if (m_state != State::CustomerEntered) return std::nullopt;
    const QString c = code.trimmed().toLower();
    if (c.isEmpty()) return std::nullopt;
    auto p = m_s.first(QStringLiteral("SELECT cpdm, cpmc, kpjg, cbjg, cpbz FROM {price} WHERE {ci:cpdm} = {ci:?} "
                                      "ORDER BY id {first:1}"),
                       {c});
    if (!p) return std::nullopt;
    ProductQuote q;
    q.code = p->value(0).toString().trimmed();
    q.name = p->value(1).toString().trimmed();
    const double listPrice = p->value(2).toDouble();
    q.costPrice = p->value(3).toDouble();
    q.productFlag = p->value(4).toString().trimmed();
    q.category = m_s.scalar(QStringLiteral("SELECT lbmc FROM {cplbgg} WHERE cpbz = ? ORDER BY id {first:1}"),
                            {q.productFlag}).toString().trimmed();

    auto k = m_s.first(QStringLiteral("SELECT fhll, cpgg, cpbz FROM {khprice} WHERE {ci:khdm} = {ci:?} "
                                      "AND {ci:cpdm} = {ci:?} ORDER BY id {first:1}"),
                       {m_customer.code, q.code});
    if (!k) {
        const QString refusal = QStringLiteral("该客户此品种没有设开票价格，请与客户经理联系！");
        if (m_customer.retail()) throw DomainError(QStringLiteral("该客户该产品不存在！\n") + refusal);
        throw DomainError(refusal);
    }
    q.policyPrice = k->value(0).toDouble();
    q.spec = k->value(1).toString().trimmed();
    q.priceFlag = k->value(2).toString().trimmed();
    q.price = m_customer.retail() ? q.policyPrice : listPrice;
    q.priceEditable = m_customer.retail() || q.productFlag == QLatin1String("3");

    auto below = m_s.first(QStringLiteral("SELECT zcjg, cbjg, jgce FROM {khjggl} WHERE {ci:khdm} = {ci:?} "
                                          "AND {ci:cpdm} = {ci:?} AND cpgg = ? ORDER BY id {first:1}"),
                           {m_customer.code, q.code, q.spec});
    if (below && below->value(2).toDouble() <= 1e-9) {
        q.warning = QStringLiteral("注意：该客户该产品政策价格(") + numberText(below->value(0).toDouble())
            + QStringLiteral("元/吨)低于成本价格(") + numberText(below->value(1).toDouble()) + QStringLiteral("元/吨)");
    }
    return q;
}

QString SalesSlip::unitFor(const QString &category, const QString &spec)
{
    const QString cat = category.trimmed();
    if (cat == QStringLiteral("预混料"))
        return spec == QLatin1String("0.5") ? QStringLiteral("袋") : QStringLiteral("包");
    const QString s = spec.trimmed();
    if (s == QLatin1String("5") || s == QLatin1String("10")) return QStringLiteral("小包");
    if (s == QLatin1String("20")) return QStringLiteral("中包");
    if (s == QLatin1String("40") || s == QLatin1String("50")) return QStringLiteral("大包");
    return QString();
}

double SalesSlip::kilograms(double bags, const QString &spec)
{
    double perBag = 0;
    if (!parseNumber(spec, &perBag)) throw DomainError(QStringLiteral("产品规格有错：%1").arg(spec));
    return bags * perBag;
}

SlipLine SalesSlip::prepareLine(const ProductQuote &q, double price, double policyPrice, double bags,
                                const QString &unit)
{
    if (m_state != State::CustomerEntered) throw DomainError(QStringLiteral("请先选择客户！"));
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines);
    if (unit.trimmed().isEmpty()) throw DomainError(QStringLiteral("请输入单位！"));
    SlipLine line;
    line.product = q;
    line.price = price;
    line.policyPrice = policyPrice;
    line.bags = bags;
    line.unit = unit.trimmed();
    line.kilograms = kilograms(bags, q.spec);
    line.amount = price * line.kilograms / 1000;
    line.serial = TurnoverNumbers(m_s).drawSerial();
    return line;
}

qint64 SalesSlip::confirmLine(const SlipLine &line)
{
    if (m_state != State::CustomerEntered) throw DomainError(QStringLiteral("请先选择客户！"));
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines);
    const ProductQuote &q = line.product;
    const int printLine = m_lines + 1;
    qint64 id = 0;
    m_s.transaction([&] {
        if (m_customer.retail()) {
            // The retail customer's next sale of the product starts from this price.
            m_s.execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?}"),
                        {line.price, m_customer.code, q.code});
        }
        id = m_s.insert(QStringLiteral("sale1"),
                        {{QStringLiteral("rq_1"), m_lineDate},
                         {QStringLiteral("cpmc"), q.name},
                         {QStringLiteral("cpgg"), q.spec},
                         {QStringLiteral("zcjg"), line.policyPrice},
                         {QStringLiteral("zznum"), line.kilograms},
                         {QStringLiteral("zzjg"), line.price},
                         {QStringLiteral("zzje"), line.amount},
                         {QStringLiteral("kpjg"), 0.0},
                         {QStringLiteral("tlnum"), 0.0},
                         {QStringLiteral("kpje"), 0.0},
                         {QStringLiteral("khmc"), m_customer.name},
                         {QStringLiteral("rq_2"), QString()},
                         {QStringLiteral("cpdm"), q.code},
                         {QStringLiteral("region"), m_customer.region},
                         {QStringLiteral("khdm"), m_customer.code},
                         {QStringLiteral("czydm"), m_operator},
                         {QStringLiteral("sjbs"), int(std::lround(line.bags))},
                         {QStringLiteral("recnum"), line.serial},
                         {QStringLiteral("bz_1"), QStringLiteral("1")},
                         {QStringLiteral("cbjg"), q.costPrice},
                         {QStringLiteral("zzhm"), m_number},
                         {QStringLiteral("bz_3"), q.priceFlag},
                         {QStringLiteral("sjxl1"), 0.0},
                         {QStringLiteral("sjxl2"), 0.0},
                         {QStringLiteral("zcje"), 0.0},
                         {QStringLiteral("cbje"), 0.0},
                         {QStringLiteral("hksl"), 0.0},
                         {QStringLiteral("hkje"), 0.0},
                         {QStringLiteral("ce"), 0.0},
                         {QStringLiteral("bz_2"), QStringLiteral("0")},
                         {QStringLiteral("fphm"), QString()},
                         {QStringLiteral("bszl"), line.unit}});
        double perBag = 0;
        parseNumber(q.spec, &perBag);
        const int n = m_s.execute(
            QStringLiteral("UPDATE {khprn} SET cpmc = ?, sjxl1 = ?, zzhm = ?, kpjg = ?, kpje = ?, sjbs = ?, bszl = ?, "
                           "cpdm = ?, cpgg = ?, czydm = ? WHERE owner = ? AND {ci:khdm} = {ci:?} AND zznum = ?"),
            {q.name, numberText(line.kilograms), m_number, numberText(perBag * line.price / 1000),
             numberText(line.amount), numberText(line.bags), line.unit, q.code, q.spec, m_operator, m_owner,
             m_customer.code, double(printLine)});
        if (n != 1) throw DomainError(QStringLiteral("打印行有错，请重新选择客户！"));
    });
    m_totals.quantity += line.kilograms;
    m_totals.amount += line.amount;
    m_totals.difference += line.kilograms * (line.price - line.policyPrice) / 1000;
    m_lines = printLine;
    m_printLines[id] = printLine;
    return id;
}

int SalesSlip::printLineOf(qint64 saleId) const
{
    auto it = m_printLines.find(saleId);
    return it == m_printLines.end() ? 0 : it->second;
}

void SalesSlip::startPayment()
{
    if (m_state != State::CustomerEntered) throw DomainError(QStringLiteral("请先选择客户！"));
    m_state = State::Paying;
}

qint64 SalesSlip::close(double received, double owed)
{
    if (m_state != State::Paying) throw DomainError(QStringLiteral("请先收款！"));
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("khzj"), {{QStringLiteral("khdm"), m_customer.code},
                                                 {QStringLiteral("khmc"), m_customer.name},
                                                 {QStringLiteral("region"), m_customer.region},
                                                 {QStringLiteral("ysje"), m_totals.amount},
                                                 {QStringLiteral("sjje"), received},
                                                 {QStringLiteral("sjdx"), dateTimeText(now)},
                                                 {QStringLiteral("sqje"), owed},
                                                 {QStringLiteral("sjxl"), m_totals.quantity},
                                                 {QStringLiteral("rq"), dateText(now.date())},
                                                 {QStringLiteral("czydm"), m_operator},
                                                 {QStringLiteral("zzje"), m_totals.difference}});
    });
    m_fundsId = id;
    m_state = State::Closed;
    return id;
}

void SalesSlip::recomputeTotals()
{
    if (m_number.isEmpty() || m_customer.code.isEmpty()) return;
    auto r = m_s.first(QStringLiteral("SELECT COALESCE(SUM(zznum), 0), COALESCE(SUM(zzje), 0), "
                                      "COALESCE(SUM(zznum * (zzjg - zcjg)), 0) FROM {sale1} "
                                      "WHERE zzhm = ? AND {ci:khdm} = {ci:?} AND rq_1 = ? AND bz_1 = '1'"),
                       {m_number, m_customer.code, m_lineDate});
    if (!r) return;
    m_totals.quantity = r->value(0).toDouble();
    m_totals.amount = r->value(1).toDouble();
    m_totals.difference = r->value(2).toDouble() / 1000;
}

bool SalesSlip::canAbandon()
{
    if (m_state != State::CustomerEntered && m_state != State::Paying) return true;
    const int lines = m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE zzhm = ? AND {ci:khdm} = {ci:?} "
                                                "AND rq_1 = ? AND bz_1 = '1'"),
                                 {m_number, m_customer.code, m_lineDate})
                          .toInt();
    return lines == 0;
}

} // namespace fm
