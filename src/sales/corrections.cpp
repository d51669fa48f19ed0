#include "sales/corrections.h"

#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"
#include "sales/salesnumbers.h"

namespace fm {

namespace {

const QString kNotFound = QStringLiteral("未找到要修改的记录！");
const QString kUnchanged = QStringLiteral("数据没有改变，不需修改！");
const QString kNotLinked = QStringLiteral("该退料的退料记录或资金记录不是唯一的一条，不能修改或删除！");
const QString kIssueFunction = QStringLiteral("销售数据修改");

// What a deleted line held, for the change log.
ChangeRecord deletedLine(const QString &function, const SaleLine &l)
{
    ChangeRecord rec(function, QStringLiteral("sale1"), l.id, l.khdm, ChangeRecord::Kind::Delete);
    rec.value(QStringLiteral("cpdm"), l.cpdm).value(QStringLiteral("rq_1"), l.rq_1);
    if (l.isReturn())
        rec.value(QStringLiteral("rq_2"), l.rq_2).value(QStringLiteral("tlnum"), l.tlnum)
            .value(QStringLiteral("kpjg"), l.kpjg).value(QStringLiteral("kpje"), l.kpje);
    else
        rec.value(QStringLiteral("zzhm"), l.zzhm).value(QStringLiteral("zznum"), l.zznum)
            .value(QStringLiteral("zzjg"), l.zzjg).value(QStringLiteral("zzje"), l.zzje);
    return rec;
}

const QString kReturnColumns = QStringLiteral("id, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, tlnum, kpjg, kpje, "
                                              "rq_1, rq_2, zzhm, czydm FROM {sale1} ");

} // namespace

Rows Corrections::slipLines(const QString &zzhm, const QString &customerCode, const QString &lineDate)
{
    return m_s.rows(QStringLiteral("SELECT id, region, khmc, cpmc, cpgg, zznum, zzjg, zzje, czydm, rq_1, rq_2 FROM {sale1} "
                                   "WHERE zzhm = ? AND {ci:khdm} = {ci:?} AND rq_1 = ? AND bz_1 = '1' ORDER BY id"),
                    {zzhm, customerCode, lineDate});
}

Rows Corrections::returnLines(const QString &date, const QString &customerCode)
{
    if (customerCode.trimmed().isEmpty())
        return m_s.rows(QStringLiteral("SELECT ") + kReturnColumns
                            + QStringLiteral("WHERE czydm = ? AND rq_2 = ? AND bz_1 = '3' ORDER BY id"),
                        {m_operator, date});
    return m_s.rows(QStringLiteral("SELECT ") + kReturnColumns
                        + QStringLiteral("WHERE rq_2 = ? AND bz_1 = '3' AND {ci:khdm} = {ci:?} ORDER BY id"),
                    {date, customerCode.trimmed()});
}

SaleLine Corrections::line(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {sale1} WHERE id = ?").arg(SaleLine::columns()), {id});
    if (!r) throw DomainError(kNotFound, ErrorCode::NotFound);
    return SaleLine::read(*r);
}

double Corrections::amount(double kilograms, double price)
{
    return money::lineAmount(sales::checkPrice(price), sales::checkKilograms(kilograms));
}

void Corrections::modifyIssueLine(qint64 id, double kilograms, double price, const QString &workstation, int printLine)
{
    const double amount = Corrections::amount(kilograms, price);
    m_s.transaction([&] {
        const SaleLine old = line(id);
        if (money::same(old.zznum, kilograms, 1e-9) && money::same(old.zzjg, price, 1e-9))
            throw DomainError(kUnchanged);
        const int n = m_s.execute(QStringLiteral("UPDATE {sale1} SET zznum = ?, zzjg = ?, zzje = ? WHERE id = ? AND bz_1 = '1'"),
                                  {kilograms, price, amount, id});
        if (n != 1) throw DomainError(kNotFound, ErrorCode::NotFound);
        ChangeRecord(kIssueFunction, QStringLiteral("sale1"), id, old.khdm)
            .change(QStringLiteral("zznum"), old.zznum, kilograms)
            .change(QStringLiteral("zzjg"), old.zzjg, price)
            .change(QStringLiteral("zzje"), old.zzje, amount)
            .write(m_s);
        double spec = 0;
        parseNumber(old.cpgg, &spec);
        m_s.execute(QStringLiteral("UPDATE {khprn} SET sjxl1 = ?, kpje = ?, kpjg = ?, sjbs = ? "
                                   "WHERE owner = ? AND czydm = ? AND {ci:khdm} = {ci:?} AND zznum = ? AND zzhm = ?"),
                    {numberText(kilograms), numberText(amount), numberText(money::bagPrice(price, spec)),
                     numberText(spec > 0 ? kilograms / spec : 0), workstation, m_operator, old.khdm, double(printLine),
                     old.zzhm});
    });
}

void Corrections::deleteIssueLine(qint64 id, const QString &workstation, int printLine)
{
    m_s.transaction([&] {
        const SaleLine old = line(id);
        const int n = m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ? AND bz_1 = '1' AND czydm = ?"),
                                  {id, m_operator});
        if (n != 1) throw DomainError(QStringLiteral("只能删除本人录入的记录！"));
        deletedLine(kIssueFunction, old).write(m_s);
        m_s.execute(QStringLiteral("UPDATE {khprn} SET cpmc = '', cpgg = '', cpdm = '', sjxl1 = '', kpjg = '', kpje = '', "
                                   "sjbs = '', bszl = '' WHERE owner = ? AND czydm = ? AND {ci:khdm} = {ci:?} "
                                   "AND zznum = ? AND zzhm = ?"),
                    {workstation, m_operator, old.khdm, double(printLine), old.zzhm});
    });
}

qint64 Corrections::linkedRow(const QString &table, const QString &legacyMatch, const Values &legacyValues, qint64 lineId)
{
    const Dialect &d = m_s.dialect();
    const QString t = QLatin1Char('{') + table + QLatin1Char('}');
    // Locks the linked rows and reads their ids in one statement.
    Rows rows = m_s.rows(d.updateReturningSql(t, QStringLiteral("sale1_id = sale1_id"), QStringLiteral("sale1_id = ?"),
                                           {QStringLiteral("id")}),
                         {lineId});
    if (rows.empty()) {
        // Written before returns were linked: found by its values, and linked now.
        Values values{lineId};
        values << legacyValues;
        rows = m_s.rows(d.updateReturningSql(t, QStringLiteral("sale1_id = ?"),
                                          QStringLiteral("sale1_id IS NULL AND ") + legacyMatch, {QStringLiteral("id")}),
                        values);
    }
    if (rows.size() != 1) throw DomainError(kNotLinked);
    return rows.front().id();
}

Corrections::LockedReturn Corrections::lockReturn(qint64 id)
{
    const SaleLine seen = line(id);
    if (!seen.isReturn()) throw DomainError(kNotFound, ErrorCode::NotFound);
    // The customer's register row first, as a rename of the customer takes it.
    m_s.lockRows(QStringLiteral("zxkh"), QStringLiteral("khdm"), QStringLiteral("{ci:khdm} = {ci:?}"), {seen.khdm});
    if (m_s.execute(QStringLiteral("UPDATE {sale1} SET bz_1 = bz_1 WHERE id = ? AND bz_1 = '3'"), {id}) != 1)
        throw DomainError(kNotFound, ErrorCode::NotFound);
    LockedReturn r;
    r.line = line(id); // as it is now that it is locked
    const SaleLine &l = r.line;
    r.registerId = linkedRow(QStringLiteral("khtl"),
                             QStringLiteral("rec_num = ? AND {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?} AND tlrq = ? "
                                            "AND ABS(tlnum - ?) < 0.000001"),
                             {l.recnum, l.khdm, l.cpdm, l.rq_2, l.tlnum}, id);
    r.fundsId = linkedRow(QStringLiteral("khzj"),
                          QStringLiteral("{ci:khdm} = {ci:?} AND rq = ? AND ABS(sjxl - ?) < 0.000001 "
                                         "AND ABS(ysje + ?) < 0.000001 AND sjje = 0"),
                          {l.khdm, l.rq_2, l.tlnum, l.kpje}, id);
    return r;
}

void Corrections::modifyReturnLine(qint64 id, double kilograms, double price)
{
    const double amount = Corrections::amount(kilograms, price);
    m_s.transaction([&] {
        const LockedReturn r = lockReturn(id);
        const SaleLine &old = r.line;
        if (money::same(old.tlnum, kilograms, 1e-9) && money::same(old.kpjg, price, 1e-9)) throw DomainError(kUnchanged);
        m_s.execute(QStringLiteral("UPDATE {sale1} SET tlnum = ?, kpjg = ?, kpje = ?, zcje = ? WHERE id = ?"),
                    {kilograms, price, amount, money::lineAmount(old.zcjg, kilograms), id});
        ChangeRecord(m_returnFunction, QStringLiteral("sale1"), id, old.khdm)
            .change(QStringLiteral("tlnum"), old.tlnum, kilograms)
            .change(QStringLiteral("kpjg"), old.kpjg, price)
            .change(QStringLiteral("kpje"), old.kpje, amount)
            .write(m_s);
        if (m_s.execute(QStringLiteral("UPDATE {khtl} SET tlnum = ?, tlprice = ?, tlje = ? WHERE id = ?"),
                        {kilograms, price, amount, r.registerId})
            != 1)
            throw DomainError(kNotLinked);
        // The promotion fee taken back scales with the quantity returned.
        const double ratio = old.tlnum != 0 ? kilograms / old.tlnum : 0;
        if (m_s.execute(QStringLiteral("UPDATE {khzj} SET sjxl = ?, ysje = ?, zzje = zzje * ? WHERE id = ?"),
                        {kilograms, -amount, ratio, r.fundsId})
            != 1)
            throw DomainError(kNotLinked);
        m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ? WHERE {ci:cpdm} = {ci:?}"),
                    {kilograms - old.tlnum, old.cpdm});
    });
}

bool Corrections::reviseReturn(qint64 id, const std::function<ReturnRevision(const SaleLine &)> &revise)
{
    bool stocked = true;
    m_s.transaction([&] {
        const LockedReturn r = lockReturn(id);
        const SaleLine &old = r.line;
        const ReturnRevision v = revise(old);
        const double kilograms = sales::checkKilograms(v.kilograms);
        const double returnAmount = money::lineAmount(sales::checkPrice(v.returnPrice), kilograms);
        const double policyAmount = money::lineAmount(sales::checkPrice(v.policyPrice), kilograms);
        m_s.execute(QStringLiteral("UPDATE {sale1} SET tlnum = ?, zcjg = ?, zcje = ?, kpjg = ?, kpje = ? WHERE id = ?"),
                    {kilograms, v.policyPrice, policyAmount, v.returnPrice, returnAmount, id});
        ChangeRecord(m_returnFunction, QStringLiteral("sale1"), id, old.khdm)
            .change(QStringLiteral("tlnum"), old.tlnum, kilograms)
            .change(QStringLiteral("zcjg"), old.zcjg, v.policyPrice)
            .change(QStringLiteral("zcje"), old.zcje, policyAmount)
            .change(QStringLiteral("kpjg"), old.kpjg, v.returnPrice)
            .change(QStringLiteral("kpje"), old.kpje, returnAmount)
            .write(m_s);
        if (m_s.execute(QStringLiteral("UPDATE {khtl} SET tlnum = ?, tlprice = ?, tlje = ? WHERE id = ?"),
                        {kilograms, v.returnPrice, returnAmount, r.registerId})
            != 1)
            throw DomainError(kNotLinked);
        // The return gives back the fee its goods earned above the policy price.
        if (m_s.execute(QStringLiteral("UPDATE {khzj} SET sjxl = ?, ysje = ?, zzje = ? WHERE id = ?"),
                        {kilograms, -returnAmount, -(returnAmount - policyAmount), r.fundsId})
            != 1)
            throw DomainError(kNotLinked);
        stocked = m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ? WHERE {ci:cpdm} = {ci:?}"),
                              {kilograms - old.tlnum, old.cpdm})
            > 0;
    });
    return stocked;
}

qint64 Corrections::returnLineOf(qint64 registerId)
{
    const auto reg = m_s.row(QStringLiteral("SELECT khdm, cpdm, tlnum, tlrq, rec_num, sale1_id FROM {khtl} WHERE id = ?"),
                             {registerId});
    if (!reg) throw DomainError(kNotFound, ErrorCode::NotFound);
    if (!reg->isNull(QStringLiteral("sale1_id"))) return reg->integer(QStringLiteral("sale1_id"));
    const Rows lines = m_s.rows(QStringLiteral("SELECT id FROM {sale1} WHERE {ci:khdm} = {ci:?} AND bz_1 = '3' "
                                               "AND recnum = ? AND {ci:cpdm} = {ci:?} AND rq_2 = ? "
                                               "AND ABS(tlnum - ?) < 0.000001 ORDER BY id {first:2}"),
                                {reg->text(QStringLiteral("khdm")), reg->integer(QStringLiteral("rec_num")),
                                 reg->text(QStringLiteral("cpdm")), reg->text(QStringLiteral("tlrq")),
                                 reg->number(QStringLiteral("tlnum"))});
    if (lines.size() != 1) throw DomainError(kNotFound, ErrorCode::NotFound);
    return lines.front().id();
}

void Corrections::deleteReturnLine(qint64 id)
{
    m_s.transaction([&] {
        const LockedReturn r = lockReturn(id);
        m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ?"), {id});
        deletedLine(m_returnFunction, r.line).write(m_s);
        if (m_s.execute(QStringLiteral("DELETE FROM {khtl} WHERE id = ?"), {r.registerId}) != 1
            || m_s.execute(QStringLiteral("DELETE FROM {khzj} WHERE id = ?"), {r.fundsId}) != 1)
            throw DomainError(kNotLinked);
        m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl - ? WHERE {ci:cpdm} = {ci:?}"),
                    {r.line.tlnum, r.line.cpdm});
    });
}

} // namespace fm
