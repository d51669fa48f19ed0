#include "warehouse/receiptcorrections.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "data/changelog.h"
#include "data/session.h"
#include "warehouse/materialdesk.h"
#include "warehouse/materials.h"
#include "warehouse/stockvaluation.h"

#include <cmath>

namespace fm {

const QString ReceiptCorrections::kQuestion = QStringLiteral("是否确认修改？");
const QString ReceiptCorrections::kDeclined = QStringLiteral("你已经放弃修改！");
const QString ReceiptCorrections::kNotFound = QStringLiteral("未找到要修改的记录！");

bool ReceiptLine::amountOnly() const
{
    return std::fabs(kilograms) <= stockvalue::kEmptyKilograms && std::fabs(pricePerKilogram) < 1e-9;
}

QString ReceiptLine::columns()
{
    return QStringLiteral("id, yldm, ylmc, ylsl, yljg, sjje, sfje, sqje, gysdm, gysmc, yldj, rq_1, hthm, czydm");
}

ReceiptLine ReceiptLine::read(const Row &r)
{
    ReceiptLine l;
    l.id = r.id();
    l.materialCode = r.text(QStringLiteral("yldm"));
    l.materialName = r.text(QStringLiteral("ylmc"));
    l.kilograms = r.number(QStringLiteral("ylsl"));
    l.pricePerKilogram = r.number(QStringLiteral("yljg"));
    l.payable = r.number(QStringLiteral("sjje"));
    l.paid = r.number(QStringLiteral("sfje"));
    l.owed = r.number(QStringLiteral("sqje"));
    l.supplierCode = r.text(QStringLiteral("gysdm"));
    l.supplierName = r.text(QStringLiteral("gysmc"));
    l.flag = r.text(QStringLiteral("yldj"));
    l.date = r.text(QStringLiteral("rq_1"));
    l.contract = r.text(QStringLiteral("hthm"));
    l.operatorCode = r.text(QStringLiteral("czydm"));
    return l;
}

ReceiptCorrections::ReceiptCorrections(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

RowQuery ReceiptCorrections::between(QDate from, QDate to) const
{
    return RowQuery{QStringLiteral("SELECT * FROM {ylrkmx} WHERE rq_1 >= ? AND rq_1 <= ?"),
                    {dateText(from), dateText(to)},
                    {QStringLiteral("rq_1")}};
}

std::optional<ReceiptLine> ReceiptCorrections::line(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {ylrkmx} WHERE id = ?").arg(ReceiptLine::columns()), {id});
    if (!r) return std::nullopt;
    return ReceiptLine::read(*r);
}

double ReceiptCorrections::checkKilograms(double kilograms)
{
    if (!std::isfinite(kilograms) || kilograms < 0 || kilograms > kMaxKilograms) throw badNumber();
    return kilograms;
}

double ReceiptCorrections::checkPrice(double pricePerTonne)
{
    return MaterialDesk::checkPrice(pricePerTonne);
}

double ReceiptCorrections::checkPaid(double paid)
{
    return MaterialDesk::checkPaid(paid);
}

CorrectionFigures ReceiptCorrections::figures(const ReceiptLine &former, double kilograms, double pricePerTonne,
                                              double paid)
{
    CorrectionFigures f;
    const bool stillAmountOnly = former.amountOnly() && std::fabs(kilograms) <= stockvalue::kEmptyKilograms
        && std::fabs(pricePerTonne) < 1e-9;
    f.payable = stillAmountOnly ? former.payable
                                : money::lineAmount(checkPrice(pricePerTonne), checkKilograms(kilograms));
    f.owed = money::owed(f.payable, checkPaid(paid));
    return f;
}

ReceiptCorrectionResult ReceiptCorrections::correct(const ReceiptCorrectionEntry &e)
{
    const double kilograms = checkKilograms(e.kilograms);
    const double price = checkPrice(e.pricePerTonne);
    const double paid = checkPaid(e.paid);
    const QString supplierName = e.supplierName.trimmed();
    const QString materialName = e.materialName.trimmed();
    if (supplierName.isEmpty() || materialName.isEmpty())
        throw DomainError(QStringLiteral("供应商名称和原料名称不能为空！"), ErrorCode::Incomplete);
    if (!line(e.lineId)) throw DomainError(kNotFound, ErrorCode::NotFound);

    const QDateTime now = m_clock.now();
    ReceiptCorrectionResult result;
    m_s.transaction([&] {
        result = ReceiptCorrectionResult();
        // Register, then the line, then stock: the order every warehouse
        // operation takes its locks in. The line is read again under its
        // lock, so the differences are taken from what is stored.
        if (const auto registered = findMaterial(m_s, line(e.lineId)->materialCode))
            m_s.lockRows(QStringLiteral("ylpzk"), QStringLiteral("s0"), QStringLiteral("id = ?"), {registered->id});
        m_s.lockRows(QStringLiteral("ylrkmx"), QStringLiteral("ylsl"), QStringLiteral("id = ?"), {e.lineId});
        const std::optional<ReceiptLine> former = line(e.lineId);
        if (!former) throw DomainError(kNotFound, ErrorCode::NotFound);
        const CorrectionFigures f = figures(*former, kilograms, price, paid);
        const int n = m_s.execute(QStringLiteral("UPDATE {ylrkmx} SET ylmc = ?, gysmc = ?, ylsl = ?, yljg = ?, sfje = ?, "
                                                 "sjje = ?, sqje = ? WHERE id = ?"),
                                  {materialName, supplierName, kilograms, price / 1000, paid, f.payable, f.owed,
                                   e.lineId});
        if (n != 1) throw DomainError(kNotFound, ErrorCode::NotFound);
        ChangeRecord(QStringLiteral("原料入库修正"), QStringLiteral("ylrkmx"), e.lineId, former->materialCode)
            .change(QStringLiteral("ylmc"), former->materialName, materialName)
            .change(QStringLiteral("gysmc"), former->supplierName, supplierName)
            .change(QStringLiteral("ylsl"), former->kilograms, kilograms)
            .change(QStringLiteral("yljg"), former->pricePerKilogram, price / 1000)
            .change(QStringLiteral("sfje"), former->paid, paid)
            .change(QStringLiteral("sjje"), former->payable, f.payable)
            .change(QStringLiteral("sqje"), former->owed, f.owed)
            .write(m_s);

        result.fundId = m_s.insert(QStringLiteral("gyszjk"),
                                   {{QStringLiteral("gysdm"), former->supplierCode},
                                    {QStringLiteral("gysmc"), supplierName},
                                    {QStringLiteral("ylsl"), kilograms - former->kilograms},
                                    {QStringLiteral("yfje"), f.payable - former->payable},
                                    {QStringLiteral("sfje"), paid - former->paid},
                                    {QStringLiteral("sqje"), f.owed - former->owed},
                                    {QStringLiteral("rq_1"), dateText(now.date())},
                                    {QStringLiteral("rq_0"), dateTimeText(now)},
                                    {QStringLiteral("sm"), QStringLiteral("")},
                                    {QStringLiteral("czydm"), m_operator}});

        // The stock loses the receipt as it was and gains it as corrected:
        // its value by the payables, its quantity by the kilograms.
        if (const auto stock = findStock(m_s, former->materialCode)) {
            m_s.lockRows(QStringLiteral("ylhzk"), QStringLiteral("ylsl"), QStringLiteral("id = ?"), {stock->id});
            const StockRow locked = *stockById(m_s, stock->id);
            const stockvalue::Stock after = stockvalue::afterCorrection({locked.kilograms, locked.pricePerTonne},
                                                                        former->kilograms, former->payable, kilograms,
                                                                        f.payable);
            m_s.execute(QStringLiteral("UPDATE {ylhzk} SET ylsl = ylsl + ?, yljg = ? WHERE id = ?"),
                        {kilograms - former->kilograms, after.pricePerTonne, stock->id});
            result.stockChanged = true;
            const StockRow written = *stockById(m_s, stock->id);
            result.stockKilograms = written.kilograms;
            result.stockPrice = written.pricePerTonne;
        }
    });
    return result;
}

} // namespace fm
