#include "warehouse/materialdesk.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "staff/productionstaff.h"
#include "warehouse/materials.h"
#include "warehouse/stockvaluation.h"

#include <cmath>

namespace fm {

const QString MaterialDesk::kBadMaterialCode = QStringLiteral("原料代码错误，重新输入！");
const QString MaterialDesk::kNoSuchMaterial = QStringLiteral("原料库中无此原料！");
const QString MaterialDesk::kBadWorkerCode = QStringLiteral("人员代码错误！");
const QString MaterialDesk::kShortSuffix = QStringLiteral("库存数量不够！");
const QString MaterialDesk::kSupplierExists = QStringLiteral("该代码已存在，重新选择！");
const QString MaterialDesk::kBadSupplierCode = QStringLiteral("供应商代码错误，重新输入！");
const QString MaterialDesk::kNoStockToRevalue = QStringLiteral("库存数量为0，不能只输入金额！");

namespace {

// Text as stored: trimmed, and empty rather than NULL.
QString stored(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QStringLiteral("") : t;
}

QString blankAsSpace(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QStringLiteral(" ") : t;
}

double inRange(double v, double low, double high)
{
    if (!std::isfinite(v) || v < low || v > high) throw badNumber();
    return v;
}

} // namespace

// ---- running totals ----------------------------------------------------

void DeskTotals::add(const ReceiptResult &r)
{
    paid += r.figures.paid;
    kilograms += r.figures.kilograms;
}

void DeskTotals::add(const IssueResult &r)
{
    ++issues;
    issuedTonnes += r.kilograms / 1000;
}

QString DeskTotals::paidText() const
{
    return numberText(paid / 10000);
}

QString DeskTotals::receivedText() const
{
    return numberText(kilograms / 1000);
}

QString DeskTotals::issuesText() const
{
    return QString::number(issues);
}

QString DeskTotals::issuedText() const
{
    return numberText(issuedTonnes);
}

// ---- checks -------------------------------------------------------------

MaterialDesk::MaterialDesk(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

double MaterialDesk::checkTonnes(double tonnes)
{
    return inRange(tonnes, 0, kMaxTonnes);
}

double MaterialDesk::checkPrice(double pricePerTonne)
{
    return inRange(pricePerTonne, 0, kMaxPricePerTonne);
}

double MaterialDesk::checkPaid(double amount)
{
    return money::cents(inRange(amount, 0, kMaxAmount));
}

double MaterialDesk::checkRevaluation(double amount)
{
    const double a = money::cents(inRange(amount, -kMaxAmount, kMaxAmount));
    if (money::isZero(a)) throw badNumber();
    return a;
}

double MaterialDesk::checkPayment(double amount)
{
    const double a = checkPaid(amount);
    if (money::isZero(a)) throw badNumber();
    return a;
}

ReceiptFigures MaterialDesk::figures(const ReceiptEntry &e)
{
    ReceiptFigures f;
    if (e.amountOnly) {
        f.payable = checkRevaluation(e.amount);
        f.paid = 0;
    } else {
        f.kilograms = checkTonnes(e.tonnes) * 1000;
        f.payable = money::lineAmount(checkPrice(e.pricePerTonne), f.kilograms);
        f.paid = checkPaid(e.paid);
    }
    f.owed = money::owed(f.payable, f.paid);
    return f;
}

// ---- receipts -----------------------------------------------------------

ReceiptResult MaterialDesk::receive(const ReceiptEntry &e)
{
    const ReceiptFigures f = figures(e);
    const std::optional<Material> material = findMaterial(m_s, e.materialCode);
    if (!material) throw DomainError(kBadMaterialCode, ErrorCode::NotFound);
    const std::optional<Supplier> supplier = findSupplier(m_s, e.supplierCode);
    if (!supplier) throw DomainError(kBadSupplierCode, ErrorCode::NotFound);
    const double typedPrice = e.amountOnly ? 0.0 : e.pricePerTonne;

    const QDateTime now = m_clock.now();
    const QString today = dateText(now.date());
    const QString stamp = dateTimeText(now);
    ReceiptResult result;
    m_s.transaction([&] {
        result = ReceiptResult();
        result.figures = f;
        // The register row first: it serialises every receipt of this
        // material, the first one (which creates the stock row) included.
        m_s.lockRows(QStringLiteral("ylpzk"), QStringLiteral("s0"), QStringLiteral("id = ?"), {material->id});
        const std::optional<StockRow> stock = findStock(m_s, material->code);
        stockvalue::Stock after;
        if (!stock) {
            if (e.amountOnly) throw DomainError(kNoStockToRevalue);
            after = stockvalue::Stock{f.kilograms, typedPrice};
        } else {
            m_s.lockRows(QStringLiteral("ylhzk"), QStringLiteral("ylsl"), QStringLiteral("id = ?"), {stock->id});
            // Read again under the lock: another workstation may have moved it.
            const StockRow locked = *stockById(m_s, stock->id);
            const stockvalue::Stock before{locked.kilograms, locked.pricePerTonne};
            if (e.amountOnly) {
                if (!stockvalue::canRevalue(before)) throw DomainError(kNoStockToRevalue);
                after = stockvalue::afterAmount(before, f.payable);
            } else {
                after = stockvalue::afterReceipt(before, f.kilograms, typedPrice);
            }
        }

        result.lineId = m_s.insert(QStringLiteral("ylrkmx"),
                                   {{QStringLiteral("yldm"), material->code},
                                    {QStringLiteral("ylmc"), material->name},
                                    {QStringLiteral("ylsl"), f.kilograms},
                                    {QStringLiteral("yljg"), typedPrice / 1000},
                                    {QStringLiteral("sjje"), f.payable},
                                    {QStringLiteral("sfje"), f.paid},
                                    {QStringLiteral("sqje"), f.owed},
                                    {QStringLiteral("gysdm"), supplier->code},
                                    {QStringLiteral("gysmc"), supplier->name},
                                    {QStringLiteral("yldj"), material->flag},
                                    {QStringLiteral("rq_1"), today},
                                    {QStringLiteral("rq_0"), stamp},
                                    {QStringLiteral("hthm"), blankAsSpace(e.contract)},
                                    {QStringLiteral("cgydm"), QStringLiteral("")},
                                    {QStringLiteral("bz_1"), QStringLiteral("")},
                                    {QStringLiteral("czydm"), m_operator}});

        if (!stock) {
            m_s.insert(QStringLiteral("ylhzk"), {{QStringLiteral("yldm"), material->code},
                                                 {QStringLiteral("ylmc"), material->name},
                                                 {QStringLiteral("yldj"), material->flag},
                                                 {QStringLiteral("ylsl"), after.kilograms},
                                                 {QStringLiteral("yljg"), after.pricePerTonne},
                                                 {QStringLiteral("rq_1"), monthText(now.date())},
                                                 {QStringLiteral("rq_0"), stamp},
                                                 {QStringLiteral("bz_1"), material->flag.left(1)}});
        } else {
            // The quantity moves relative to what is stored; the price was
            // computed from the row as locked.
            m_s.execute(QStringLiteral("UPDATE {ylhzk} SET ylsl = ylsl + ?, yljg = ?, rq_1 = ?, rq_0 = ? WHERE id = ?"),
                        {f.kilograms, after.pricePerTonne, monthText(now.date()), stamp, stock->id});
        }
        m_s.execute(QStringLiteral("UPDATE {ylpzk} SET s0 = ? WHERE id = ?"), {after.pricePerTonne / 1000, material->id});

        result.fundId = m_s.insert(QStringLiteral("gyszjk"), {{QStringLiteral("gysdm"), supplier->code},
                                                             {QStringLiteral("gysmc"), supplier->name},
                                                             {QStringLiteral("ylsl"), f.kilograms},
                                                             {QStringLiteral("yfje"), f.payable},
                                                             {QStringLiteral("sfje"), f.paid},
                                                             {QStringLiteral("sqje"), f.owed},
                                                             {QStringLiteral("rq_1"), today},
                                                             {QStringLiteral("rq_0"), stamp},
                                                             {QStringLiteral("sm"), QStringLiteral("")},
                                                             {QStringLiteral("czydm"), m_operator}});
        const StockRow written = *findStock(m_s, material->code);
        result.stockKilograms = written.kilograms;
        result.stockPrice = written.pricePerTonne;
        result.registerPrice = after.pricePerTonne / 1000;
    });
    return result;
}

// ---- issues -------------------------------------------------------------

IssueResult MaterialDesk::issue(const IssueEntry &e)
{
    const double kilograms = checkTonnes(e.tonnes) * 1000;
    const std::optional<Material> material = findMaterial(m_s, e.materialCode);
    if (!material) throw DomainError(kBadMaterialCode, ErrorCode::NotFound);
    const std::optional<Worker> worker = ProductionStaff(m_s, m_clock).findWorker(e.workerCode);
    if (!worker) throw DomainError(kBadWorkerCode, ErrorCode::NotFound);

    const QDateTime now = m_clock.now();
    IssueResult result;
    m_s.transaction([&] {
        result = IssueResult();
        const std::optional<StockRow> stock = findStock(m_s, material->code);
        if (!stock) throw DomainError(kNoSuchMaterial, ErrorCode::NotFound);
        m_s.lockRows(QStringLiteral("ylhzk"), QStringLiteral("ylsl"), QStringLiteral("id = ?"), {stock->id});
        const StockRow locked = *stockById(m_s, stock->id);
        if (locked.kilograms + stockvalue::kEmptyKilograms < kilograms)
            throw DomainError(locked.name + kShortSuffix);

        m_s.execute(QStringLiteral("UPDATE {ylhzk} SET ylsl = ylsl - ? WHERE id = ?"), {kilograms, locked.id});
        result.kilograms = kilograms;
        result.pricePerTonne = locked.pricePerTonne;
        result.amount = money::lineAmount(locked.pricePerTonne, kilograms);
        result.lineId = m_s.insert(QStringLiteral("ylckmx"),
                                   {{QStringLiteral("yldm"), material->code},
                                    {QStringLiteral("ylmc"), material->name},
                                    {QStringLiteral("yljg"), locked.pricePerTonne},
                                    {QStringLiteral("ylsl"), kilograms},
                                    {QStringLiteral("ylje"), result.amount},
                                    {QStringLiteral("rq_1"), dateText(now.date())},
                                    {QStringLiteral("rydm"), worker->code},
                                    {QStringLiteral("rymc"), worker->name},
                                    {QStringLiteral("bzdm"), worker->team},
                                    {QStringLiteral("yldj"), material->flag},
                                    {QStringLiteral("ck_bz"), e.kind == IssueKind::Sale ? QStringLiteral("1")
                                                                                          : QStringLiteral("0")},
                                    {QStringLiteral("ly_sm"), stored(e.remark)},
                                    {QStringLiteral("tl_sm"), QStringLiteral("")},
                                    {QStringLiteral("rq_0"), dateTimeText(now)},
                                    {QStringLiteral("czydm"), m_operator}});
        result.stockLeft = stockById(m_s, locked.id)->kilograms;
    });
    return result;
}

// ---- supplier payments and new suppliers ---------------------------------

qint64 MaterialDesk::pay(const QString &supplierCode, double amount)
{
    const double paid = checkPayment(amount);
    const std::optional<Supplier> supplier = findSupplier(m_s, supplierCode);
    if (!supplier) throw DomainError(kBadSupplierCode, ErrorCode::NotFound);
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("gyszjk"), {{QStringLiteral("gysdm"), supplier->code},
                                                  {QStringLiteral("gysmc"), supplier->name},
                                                  {QStringLiteral("ylsl"), 0.0},
                                                  {QStringLiteral("yfje"), 0.0},
                                                  {QStringLiteral("sfje"), paid},
                                                  {QStringLiteral("sqje"), 0.0},
                                                  {QStringLiteral("rq_1"), dateText(now.date())},
                                                  {QStringLiteral("rq_0"), dateTimeText(now)},
                                                  {QStringLiteral("sm"), QStringLiteral("")},
                                                  {QStringLiteral("czydm"), m_operator}});
    });
    return id;
}

QString MaterialDesk::checkNewSupplierCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) throw DomainError(kBadSupplierCode, ErrorCode::Incomplete);
    if (findSupplier(m_s, c)) throw DomainError(kSupplierExists, ErrorCode::Duplicate);
    return c;
}

qint64 MaterialDesk::addSupplier(const NewSupplier &n)
{
    const QString code = checkNewSupplierCode(n.code);
    const QString name = n.name.trimmed();
    if (name.isEmpty()) throw DomainError(QStringLiteral("供应商名称不能为空！"), ErrorCode::Incomplete);
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("gyszlk"), {{QStringLiteral("gysdm"), code},
                                                  {QStringLiteral("gysmc"), name},
                                                  {QStringLiteral("gysaddr"), blankAsSpace(n.address)},
                                                  {QStringLiteral("gystel"), blankAsSpace(n.phone)},
                                                  {QStringLiteral("gysbz"), QStringLiteral("1")}});
    });
    return id;
}

// ---- today's lists --------------------------------------------------------

RowQuery MaterialDesk::todaysReceipts() const
{
    return RowQuery{QStringLiteral("SELECT * FROM {ylrkmx} WHERE rq_1 = ?"), {dateText(m_clock.today())}, {}};
}

RowQuery MaterialDesk::todaysIssues() const
{
    return RowQuery{QStringLiteral("SELECT * FROM {ylckmx} WHERE rq_1 = ? AND ck_bz <> '3'"),
                    {dateText(m_clock.today())}, {}};
}

RowQuery MaterialDesk::todaysFunds() const
{
    return RowQuery{QStringLiteral("SELECT * FROM {gyszjk} WHERE rq_1 = ?"), {dateText(m_clock.today())}, {}};
}

} // namespace fm
