#include "sales/salesslip.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/schema.h"
#include "data/session.h"
#include "sales/saleline.h"
#include "sales/salesnumbers.h"
#include "sales/turnovernumbers.h"

#include <algorithm>
#include <cmath>

namespace fm {

namespace {

const QString kUnpaid = QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！");
const QString kTooManyLines = QStringLiteral("你的记录数已经超过8条，请收款打印后重新选择客户！");
const QString kChooseCustomer = QStringLiteral("请先选择客户！");

// The print rows of this workstation and operator for a customer.
const QString kOwnPrintRows = QStringLiteral("owner = ? AND czydm = ? AND {ci:khdm} = {ci:?}");
// The issue lines of a slip.
const QString kSlipLines = QStringLiteral("zzhm = ? AND {ci:khdm} = {ci:?} AND rq_1 = ? AND bz_1 = '1'");

} // namespace

SalesSlip::SalesSlip(Session &s, const Clock &clock, QString operatorCode, QString workstation)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode)), m_workstation(std::move(workstation))
{
    m_lineDate = dateText(m_clock.today());
}

bool SalesSlip::openWindow()
{
    TurnoverNumbers(m_s).restartSerialPast300();
    if (isOpen()) return false;
    m_lineDate = dateText(m_clock.today());

    // Print rows still holding a slip's number belong to a slip that was not closed.
    const Rows candidates = m_s.rows(QStringLiteral("SELECT DISTINCT khdm, zzhm FROM {khprn} "
                                                    "WHERE owner = ? AND czydm = ? AND zzhm <> ''"),
                                     {m_workstation, m_operator});
    Rows found;
    for (const Row &c : candidates) {
        Rows lines = m_s.rows(QStringLiteral("SELECT id, khdm, khmc, region, rq_1, zzhm FROM {sale1} "
                                             "WHERE zzhm = ? AND {ci:khdm} = {ci:?} AND bz_1 = '1' AND czydm = ? ORDER BY id"),
                              {c.text(QStringLiteral("zzhm")), c.text(QStringLiteral("khdm")), m_operator});
        // The latest such slip first; an earlier one comes back after it is closed.
        if (!lines.empty() && (found.empty() || lines.back().id() > found.back().id())) found = std::move(lines);
    }
    if (found.empty()) return false;

    const Row &first = found.front();
    m_number = first.text(QStringLiteral("zzhm"));
    if (const auto c = findCustomer(m_s, first.text(QStringLiteral("khdm")))) {
        m_customer = *c;
    } else {
        // The customer has gone from the register since: the slip still names it.
        m_customer = Customer();
        m_customer.code = first.text(QStringLiteral("khdm"));
        m_customer.name = first.text(QStringLiteral("khmc"));
        m_customer.region = first.text(QStringLiteral("region"));
    }
    m_lineDate = first.dateText(QStringLiteral("rq_1"));
    m_fundsId = 0;
    m_state = State::CustomerEntered;

    // The print lines used so far (a deleted line keeps its place), and which
    // line fills which: the lines still there fill the rows not emptied, in order.
    const Rows print = m_s.rows(QStringLiteral("SELECT zznum, cpdm FROM {khprn} WHERE ") + kOwnPrintRows
                                    + QStringLiteral(" AND zzhm = ? ORDER BY zznum"),
                                {m_workstation, m_operator, m_customer.code, m_number});
    m_lines = 0;
    m_printLines.clear();
    size_t next = 0;
    for (const Row &p : print) {
        const int n = int(std::lround(p.number(QStringLiteral("zznum"))));
        m_lines = std::max(m_lines, n);
        if (!p.text(QStringLiteral("cpdm")).isEmpty() && next < found.size()) m_printLines[found[next++].id()] = n;
    }
    recomputeTotals();
    return true;
}

void SalesSlip::checkLeave()
{
    if (!canAbandon()) throw DomainError(kUnpaid, ErrorCode::Unpaid);
}

QStringList SalesSlip::restoredNotice() const
{
    return {QStringLiteral("上次未收款的周转单已恢复：周转号码%1，客户%2 %3。").arg(m_number, m_customer.code, m_customer.name),
            kUnpaid};
}

QString SalesSlip::start()
{
    checkLeave();
    QString number;
    m_s.transaction([&] {
        number = TurnoverNumbers(m_s).drawNext();
        // A slip left with its lines all deleted no longer holds its print rows.
        if (isOpen())
            m_s.execute(QStringLiteral("UPDATE {khprn} SET zzhm = '' WHERE ") + kOwnPrintRows,
                        {m_workstation, m_operator, m_customer.code});
    });
    m_number = number;
    m_customer = Customer();
    m_totals = SlipTotals();
    m_lines = 0;
    m_fundsId = 0;
    m_printLines.clear();
    m_lineDate = dateText(m_clock.today());
    m_state = State::Started;
    return number;
}

std::optional<Customer> SalesSlip::enterCustomer(const QString &code)
{
    if (m_state != State::Started) return std::nullopt;
    const std::optional<Customer> found = findCustomer(m_s, code);
    if (!found) return std::nullopt;
    if (found->isClosed()) throw DomainError(QStringLiteral("此客户已经销户不能开票!"));
    m_customer = *found;
    m_totals.difference = 0;
    preparePrintRows();
    m_state = State::CustomerEntered;
    return found;
}

void SalesSlip::preparePrintRows()
{
    const ColumnDef *owner = findTable(QStringLiteral("khprn"))->column(QStringLiteral("owner"));
    if (m_workstation.isEmpty() || (owner && m_workstation.size() > owner->width))
        throw DomainError(QStringLiteral("工作站名称为空或太长（最多%1个字符），请在config.ini中设置workstation！")
                              .arg(owner ? owner->width : 0));
    // All of this customer's print rows of this workstation and operator are
    // cleared, and the eight lines exist, whatever earlier slips left behind.
    m_s.transaction([&] {
        const int cleared = m_s.execute(
            QStringLiteral("UPDATE {khprn} SET khmc = ?, region = ?, sjxl1 = '', zzhm = '', kpjg = '', kpje = '', "
                           "sjbs = '', bszl = '', cpdm = '', cpmc = '', cpgg = '' WHERE ")
                + kOwnPrintRows,
            {m_customer.name, m_customer.region, m_workstation, m_operator, m_customer.code});
        if (cleared == kMaxLines) return; // the usual case: the customer's eight rows
        bool present[kMaxLines + 1] = {};
        for (const Row &r : m_s.rows(QStringLiteral("SELECT zznum FROM {khprn} WHERE ") + kOwnPrintRows,
                                     {m_workstation, m_operator, m_customer.code})) {
            const long n = std::lround(r.number(QStringLiteral("zznum")));
            if (n >= 1 && n <= kMaxLines) present[n] = true;
        }
        for (int n = 1; n <= kMaxLines; ++n) {
            if (present[n]) continue;
            m_s.insert(QStringLiteral("khprn"), {{QStringLiteral("khdm"), m_customer.code},
                                                 {QStringLiteral("khmc"), m_customer.name},
                                                 {QStringLiteral("region"), m_customer.region},
                                                 {QStringLiteral("czydm"), m_operator},
                                                 {QStringLiteral("zznum"), double(n)},
                                                 {QStringLiteral("owner"), m_workstation}});
        }
    });
}

std::optional<Product> SalesSlip::product(const QString &code)
{
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines, ErrorCode::Unpaid);
    if (m_state != State::CustomerEntered) return std::nullopt;
    return findProduct(m_s, code.trimmed().toLower());
}

ProductQuote SalesSlip::quote(const Product &p)
{
    requireOpen();
    ProductQuote q;
    q.product = p;
    // The customer's price row, the product's category and a below-cost row
    // in one statement: on a server each statement is a round trip.
    const auto k = m_s.row(
        QStringLiteral("SELECT k.fhll, k.cpgg, k.cpbz, g.zcjg, g.cbjg, g.jgce, "
                       "(SELECT c.lbmc FROM {cplbgg} c WHERE c.cpbz = ? ORDER BY c.id {first:1}) AS lbmc "
                       "FROM {khprice} k LEFT JOIN {khjggl} g ON {ci:g.khdm} = {ci:k.khdm} "
                       "AND {ci:g.cpdm} = {ci:k.cpdm} AND g.cpgg = k.cpgg "
                       "WHERE {ci:k.khdm} = {ci:?} AND {ci:k.cpdm} = {ci:?} ORDER BY k.id, g.id {first:1}"),
        {p.flag, m_customer.code, p.code});
    if (!k) {
        const QString refusal = QStringLiteral("该客户此品种没有设开票价格，请与客户经理联系！");
        if (m_customer.isRetail()) throw DomainError(QStringLiteral("该客户该产品不存在！\n") + refusal, ErrorCode::NotFound);
        throw DomainError(refusal, ErrorCode::NotFound);
    }
    q.category = k->text(QStringLiteral("lbmc"));
    q.policyPrice = k->number(QStringLiteral("fhll"));
    q.policyMissing = k->isNull(QStringLiteral("fhll")) || money::isZero(q.policyPrice);
    q.spec = k->text(QStringLiteral("cpgg"));
    q.priceFlag = k->text(QStringLiteral("cpbz"));
    q.price = m_customer.isRetail() ? q.policyPrice : p.listPrice;
    q.priceEditable = m_customer.isRetail() || p.flag == QLatin1String("3");

    if (!k->isNull(QStringLiteral("jgce")) && k->number(QStringLiteral("jgce")) <= 1e-9) {
        q.warnings << QStringLiteral("注意：该客户该产品政策价格(") + numberText(k->number(QStringLiteral("zcjg")))
                + QStringLiteral("元/吨)低于成本价格(") + numberText(k->number(QStringLiteral("cbjg")))
                + QStringLiteral("元/吨)");
    }
    if (q.policyMissing) q.warnings << QStringLiteral("注意：该客户该产品没有设政策价格！");
    return q;
}

std::optional<ProductQuote> SalesSlip::quote(const QString &code)
{
    const std::optional<Product> p = product(code);
    if (!p) return std::nullopt;
    return quote(*p);
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
    if (!parseNumber(spec, &perBag) || perBag <= 0) throw DomainError(QStringLiteral("产品规格有错：%1").arg(spec));
    return sales::checkKilograms(sales::checkBags(bags) * perBag);
}

void SalesSlip::requireOpen() const
{
    if (m_state != State::CustomerEntered) throw DomainError(kChooseCustomer, ErrorCode::Incomplete);
}

SlipLine SalesSlip::prepareLine(const ProductQuote &q, double price, double bags, const QString &unit,
                                std::optional<double> retailPolicy)
{
    requireOpen();
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines, ErrorCode::Unpaid);
    if (unit.trimmed().isEmpty()) throw DomainError(QStringLiteral("请输入单位！"), ErrorCode::Incomplete);
    SlipLine line;
    line.quote = q;
    line.price = sales::checkPrice(price);
    line.bags = sales::checkBags(bags);
    line.unit = unit.trimmed();
    line.kilograms = kilograms(bags, q.spec);
    line.amount = money::lineAmount(line.price, line.kilograms);
    if (m_customer.isRetail())
        line.policyPrice = retailPolicy ? sales::checkPrice(*retailPolicy) : line.price;
    else
        // Without a policy price the line adds no promotion fee.
        line.policyPrice = q.policyMissing ? line.price : q.policyPrice;
    return line;
}

qint64 SalesSlip::confirmLine(const SlipLine &line)
{
    requireOpen();
    if (m_lines >= kMaxLines) throw DomainError(kTooManyLines, ErrorCode::Unpaid);
    const ProductQuote &q = line.quote;
    const int printLine = m_lines + 1;
    qint64 id = 0;
    m_s.transaction([&] {
        SaleLine l;
        l.recnum = TurnoverNumbers(m_s).drawSerial();
        if (m_customer.isRetail()) {
            // The retail customer's next sale of the product starts from this price.
            m_s.execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?}"),
                        {line.price, m_customer.code, q.product.code});
        }
        l.rq_1 = m_lineDate;
        l.khdm = m_customer.code;
        l.khmc = m_customer.name;
        l.region = m_customer.region;
        l.cpdm = q.product.code;
        l.cpmc = q.product.name;
        l.cpgg = q.spec;
        l.zzhm = m_number;
        l.bz_1 = QStringLiteral("1");
        l.bz_3 = q.priceFlag;
        l.bszl = line.unit;
        l.czydm = m_operator;
        l.zcjg = line.policyPrice;
        l.zznum = line.kilograms;
        l.zzjg = line.price;
        l.zzje = line.amount;
        l.cbjg = q.product.costPrice;
        l.sjbs = line.bags;
        id = writeSaleLine(m_s, l);
        double perBag = 0;
        parseNumber(q.spec, &perBag);
        const int n = m_s.execute(
            QStringLiteral("UPDATE {khprn} SET cpmc = ?, sjxl1 = ?, zzhm = ?, kpjg = ?, kpje = ?, sjbs = ?, bszl = ?, "
                           "cpdm = ?, cpgg = ? WHERE ")
                + kOwnPrintRows + QStringLiteral(" AND zznum = ?"),
            {q.product.name, numberText(line.kilograms), m_number, numberText(money::bagPrice(line.price, perBag)),
             numberText(line.amount), numberText(line.bags), line.unit, q.product.code, q.spec, m_workstation,
             m_operator, m_customer.code, double(printLine)});
        if (n != 1) throw DomainError(QStringLiteral("打印行有错，请重新选择客户！"));
    });
    m_totals.quantity += line.kilograms;
    m_totals.amount += line.amount;
    m_totals.difference += money::promotionFee(line.kilograms, line.price, line.policyPrice);
    m_lines = printLine;
    m_printLines[id] = printLine;
    return id;
}

void SalesSlip::declineLine()
{
    TurnoverNumbers(m_s).drawSerial();
}

int SalesSlip::printLineOf(qint64 saleId) const
{
    auto it = m_printLines.find(saleId);
    return it == m_printLines.end() ? 0 : it->second;
}

void SalesSlip::startPayment()
{
    requireOpen();
    m_state = State::Paying;
}

double SalesSlip::owedAfter(double received) const
{
    return money::owed(m_totals.amount, sales::checkMoney(received));
}

qint64 SalesSlip::close(double received)
{
    if (m_state != State::Paying) throw DomainError(QStringLiteral("请先收款！"), ErrorCode::Incomplete);
    received = sales::checkMoney(received);
    const double owed = owedAfter(received);
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
        // Paid: the print rows no longer mark an open slip.
        m_s.execute(QStringLiteral("UPDATE {khprn} SET zzhm = '' WHERE ") + kOwnPrintRows,
                    {m_workstation, m_operator, m_customer.code});
    });
    m_fundsId = id;
    m_state = State::Closed;
    return id;
}

void SalesSlip::recomputeTotals()
{
    if (m_number.isEmpty() || m_customer.code.isEmpty()) return;
    const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(zznum), 0) AS kg, COALESCE(SUM(zzje), 0) AS amount, "
                                          "COALESCE(SUM(zznum * (zzjg - zcjg)), 0) AS fee FROM {sale1} WHERE ")
                               + kSlipLines,
                           {m_number, m_customer.code, m_lineDate});
    if (!r) return;
    m_totals.quantity = r->number(QStringLiteral("kg"));
    m_totals.amount = r->number(QStringLiteral("amount"));
    m_totals.difference = r->number(QStringLiteral("fee")) / 1000;
}

bool SalesSlip::canAbandon()
{
    if (!isOpen()) return true;
    const auto r = m_s.row(QStringLiteral("SELECT COUNT(*) AS n FROM {sale1} WHERE ") + kSlipLines,
                           {m_number, m_customer.code, m_lineDate});
    return !r || r->integer(QStringLiteral("n")) == 0;
}

Rows SalesSlip::lines()
{
    if (m_number.isEmpty() || m_customer.code.isEmpty()) return {};
    return m_s.rows(QStringLiteral("SELECT id, khdm, region, khmc, zzhm, zznum, zzjg, zzje, cpdm, cpmc, cpgg, bz_1, "
                                   "czydm, rq_1 FROM {sale1} WHERE ")
                        + kSlipLines + QStringLiteral(" ORDER BY id"),
                    {m_number, m_customer.code, m_lineDate});
}

} // namespace fm
