#include "accounts/historycorrections.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"
#include "sales/corrections.h"
#include "sales/salesnumbers.h"

namespace fm {

namespace {

const QString kNotFound = QStringLiteral("未找到要修改的记录！");

DomainError notFound()
{
    return DomainError(kNotFound, ErrorCode::NotFound);
}

const QString kFundsColumns = QStringLiteral("id, khdm, khmc, region, ysje, sjje, sqje, sjxl, rq, czydm, sjdx");
const QString kLineColumns = QStringLiteral("id, khdm, khmc, region, cpdm, cpmc, cpgg, zcjg, zznum, zzjg, zzje, tlnum, "
                                            "kpjg, kpje, zcje, rq_1, rq_2, recnum, czydm, bz_1");
const QString kRegisterColumns = QStringLiteral("id, khdm, region, khmc, cpdm, cpmc, cpgg, tlnum, tlprice, tlje, bz, "
                                                "czydm, kprq, tlrq");

// The range's customer and dates on a table's code and date columns.
const QString kFunction = QStringLiteral("历史数据修改");

const QString kFundsWhere = QStringLiteral("{ci:khdm} = {ci:?} AND rq <= ? AND rq >= ?");
const QString kLineWhere = QStringLiteral("{ci:khdm} = {ci:?} AND rq_1 <= ? AND rq_1 >= ?");
const QString kRegisterWhere = QStringLiteral("{ci:khdm} = {ci:?} AND tlrq <= ? AND tlrq >= ?");

Values rangeValues(const CorrectionRange &r)
{
    return {r.customerCode, r.to, r.from};
}

bool within(const CorrectionRange &r, const QString &code, const QString &date)
{
    return code.compare(r.customerCode, Qt::CaseInsensitive) == 0 && date >= r.from && date <= r.to;
}

} // namespace

std::optional<Customer> HistoryCorrections::customer(const QString &code)
{
    return findCustomer(m_s, code);
}

CorrectionRange HistoryCorrections::range(const QString &customerCode, const QString &from, const QString &to)
{
    const std::optional<Customer> c = customer(customerCode);
    if (!c) throw DomainError(QStringLiteral("查无此客户！"), ErrorCode::NotFound);
    const QDate start = parseDateText(from);
    const QDate end = to.trimmed().isEmpty() ? m_clock.today() : parseDateText(to);
    if (!start.isValid() || !end.isValid())
        throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    if (end < start) throw DomainError(QStringLiteral("截止日期不能早于起始日期！"), ErrorCode::BadNumber);
    return {c->code, dateText(start), dateText(end)};
}

// ---- rows -----------------------------------------------------------------------

RowQuery HistoryCorrections::fundsRows(const CorrectionRange &r) const
{
    return RowQuery{QStringLiteral("SELECT %1 FROM {khzj} WHERE %2").arg(kFundsColumns, kFundsWhere), rangeValues(r),
                    {QStringLiteral("rq")}};
}

FundsSums HistoryCorrections::fundsSums(const CorrectionRange &r)
{
    FundsSums s;
    const auto row = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(ysje) AS ysje, SUM(sjje) AS sjje FROM {khzj} WHERE ") + kFundsWhere,
                             rangeValues(r));
    if (!row) return s;
    s.rows = row->integer(QStringLiteral("n"));
    s.receivable = row->isNull(QStringLiteral("ysje")) ? 0 : row->number(QStringLiteral("ysje"));
    s.received = row->isNull(QStringLiteral("sjje")) ? 0 : row->number(QStringLiteral("sjje"));
    return s;
}

RowQuery HistoryCorrections::saleLines(const CorrectionRange &r, bool returns) const
{
    Values values = rangeValues(r);
    values << (returns ? QStringLiteral("3") : QStringLiteral("1"));
    return RowQuery{QStringLiteral("SELECT %1 FROM {sale1} WHERE %2 AND bz_1 = ?").arg(kLineColumns, kLineWhere), values,
                    {QStringLiteral("rq_1")}};
}

RowQuery HistoryCorrections::returnRegister(const CorrectionRange &r) const
{
    return RowQuery{QStringLiteral("SELECT %1 FROM {khtl} WHERE %2").arg(kRegisterColumns, kRegisterWhere),
                    rangeValues(r), {QStringLiteral("tlrq")}};
}

Row HistoryCorrections::fundsRow(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {khzj} WHERE id = ?").arg(kFundsColumns), {id});
    if (!r) throw notFound();
    return *r;
}

Row HistoryCorrections::saleLine(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {sale1} WHERE id = ?").arg(kLineColumns), {id});
    if (!r) throw notFound();
    return *r;
}

Row HistoryCorrections::registerRow(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {khtl} WHERE id = ?").arg(kRegisterColumns), {id});
    if (!r) throw notFound();
    return *r;
}

double HistoryCorrections::amount(double kilograms, double price)
{
    return Corrections::amount(kilograms, price);
}

// ---- corrections -------------------------------------------------------------

void HistoryCorrections::correctFunds(const CorrectionRange &r, qint64 id, double receivable, double received,
                                      double owed)
{
    receivable = sales::checkMoney(receivable);
    received = sales::checkMoney(received);
    owed = sales::checkMoney(owed);
    Values values{receivable, received, owed, id};
    values << rangeValues(r);
    m_s.transaction([&] {
        const Row old = fundsRow(id);
        if (m_s.execute(QStringLiteral("UPDATE {khzj} SET ysje = ?, sjje = ?, sqje = ? WHERE id = ? AND ") + kFundsWhere,
                        values)
            != 1)
            throw notFound();
        ChangeRecord(kFunction, QStringLiteral("khzj"), id, old.text(QStringLiteral("khdm")))
            .change(QStringLiteral("ysje"), old.number(QStringLiteral("ysje")), receivable)
            .change(QStringLiteral("sjje"), old.number(QStringLiteral("sjje")), received)
            .change(QStringLiteral("sqje"), old.number(QStringLiteral("sqje")), owed)
            .write(m_s);
    });
}

void HistoryCorrections::correctIssue(const CorrectionRange &r, qint64 id, double kilograms, double price)
{
    const double lineAmount = amount(kilograms, price);
    Values values{kilograms, price, lineAmount, id};
    values << rangeValues(r);
    m_s.transaction([&] {
        const Row old = saleLine(id);
        if (m_s.execute(QStringLiteral("UPDATE {sale1} SET zznum = ?, zzjg = ?, zzje = ? WHERE id = ? AND bz_1 = '1' AND ")
                            + kLineWhere,
                        values)
            != 1)
            throw notFound();
        ChangeRecord(kFunction, QStringLiteral("sale1"), id, old.text(QStringLiteral("khdm")))
            .change(QStringLiteral("zznum"), old.number(QStringLiteral("zznum")), kilograms)
            .change(QStringLiteral("zzjg"), old.number(QStringLiteral("zzjg")), price)
            .change(QStringLiteral("zzje"), old.number(QStringLiteral("zzje")), lineAmount)
            .write(m_s);
    });
}

bool HistoryCorrections::correctReturn(const CorrectionRange &r, qint64 id, double kilograms, double policyPrice,
                                       double returnPrice)
{
    kilograms = sales::checkKilograms(kilograms);
    policyPrice = sales::checkPrice(policyPrice);
    returnPrice = sales::checkPrice(returnPrice);
    Corrections corrections(m_s, QString());
    corrections.recordReturnsAs(kFunction);
    return corrections.reviseReturn(id, [&](const SaleLine &line) {
        if (!within(r, line.khdm, line.rq_1)) throw notFound();
        return Corrections::ReturnRevision{kilograms, policyPrice, returnPrice};
    });
}

int HistoryCorrections::correctPolicyPrice(const CorrectionRange &r, qint64 id, double policyPrice, bool writeBack)
{
    policyPrice = sales::checkPrice(policyPrice);
    int changed = 0;
    m_s.transaction([&] {
        const auto line = m_s.row(QStringLiteral("SELECT khdm, cpdm, cpmc, cpgg, rq_1, zcjg FROM {sale1} WHERE id = ? AND bz_1 = '1'"),
                                  {id});
        if (!line || !within(r, line->text(QStringLiteral("khdm")), line->text(QStringLiteral("rq_1")))) throw notFound();
        // The customer's price row before the lines, in the order every
        // workstation locks them.
        if (writeBack) {
            const QString cpdm = line->text(QStringLiteral("cpdm"));
            const auto price = m_s.row(QStringLiteral("SELECT id, fhll FROM {khprice} WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?}"),
                                       {r.customerCode, cpdm});
            m_s.execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?}"),
                        {policyPrice, r.customerCode, cpdm});
            if (price)
                ChangeRecord(kFunction, QStringLiteral("khprice"), price->id(), r.customerCode)
                    .change(QStringLiteral("fhll"), price->value(QStringLiteral("fhll")), policyPrice)
                    .write(m_s);
        }
        Values values{policyPrice};
        values << rangeValues(r) << line->value(QStringLiteral("cpmc")) << line->value(QStringLiteral("cpgg"));
        const int n = m_s.execute(
            QStringLiteral("UPDATE {sale1} SET zcjg = ? WHERE ") + kLineWhere + QStringLiteral(" AND bz_1 = '1' AND cpmc = ? AND cpgg = ?"),
            values);
        if (n < 1) throw notFound();
        // One record for the lines of that product in the range; the line
        // picked stands for them, the count says how many moved.
        ChangeRecord(kFunction, QStringLiteral("sale1"), id, line->text(QStringLiteral("khdm")))
            .change(QStringLiteral("zcjg"), line->value(QStringLiteral("zcjg")), policyPrice)
            .change(QStringLiteral("行数"), QVariant(), n)
            .write(m_s);
        changed = n;
    });
    return changed;
}

void HistoryCorrections::correctReturnPrice(const CorrectionRange &r, qint64 registerId, double price)
{
    price = sales::checkPrice(price);
    Corrections corrections(m_s, QString());
    corrections.recordReturnsAs(kFunction);
    m_s.transaction([&] {
        const Row reg = registerRow(registerId);
        if (!within(r, reg.text(QStringLiteral("khdm")), reg.text(QStringLiteral("tlrq")))) throw notFound();
        const qint64 line = corrections.returnLineOf(registerId);
        corrections.reviseReturn(line, [&](const SaleLine &l) {
            if (l.khdm.compare(r.customerCode, Qt::CaseInsensitive) != 0) throw notFound();
            return Corrections::ReturnRevision{l.tlnum, l.zcjg, price};
        });
    });
}

} // namespace fm
