#include "sales/corrections.h"

#include "common/numbertext.h"
#include "data/session.h"

#include <cmath>

namespace fm {

namespace {

const QString kNotFound = QStringLiteral("未找到要修改的记录！");
const QString kUnchanged = QStringLiteral("数据没有改变，不需修改！");

bool same(double a, double b)
{
    return std::fabs(a - b) < 1e-9;
}

} // namespace

std::vector<SaleLine> Corrections::lines(const QString &where, const QVariantList &values)
{
    std::vector<SaleLine> out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT id, khdm, khmc, region, cpdm, cpmc, cpgg, czydm, rq_1, rq_2, zzhm, "
                                          "zznum, zzjg, zzje, tlnum, kpjg, kpje, recnum FROM {sale1} ")
                               + where,
                           values);
    while (q.next()) {
        SaleLine l;
        l.id = q.value(0).toLongLong();
        l.khdm = q.value(1).toString().trimmed();
        l.khmc = q.value(2).toString().trimmed();
        l.region = q.value(3).toString().trimmed();
        l.cpdm = q.value(4).toString().trimmed();
        l.cpmc = q.value(5).toString().trimmed();
        l.cpgg = q.value(6).toString().trimmed();
        l.czydm = q.value(7).toString().trimmed();
        l.rq_1 = q.value(8).toString().trimmed();
        l.rq_2 = q.value(9).toString().trimmed();
        l.zzhm = q.value(10).toString().trimmed();
        l.zznum = q.value(11).toDouble();
        l.zzjg = q.value(12).toDouble();
        l.zzje = q.value(13).toDouble();
        l.tlnum = q.value(14).toDouble();
        l.kpjg = q.value(15).toDouble();
        l.kpje = q.value(16).toDouble();
        l.recnum = q.value(17).toInt();
        out.push_back(l);
    }
    return out;
}

std::vector<SaleLine> Corrections::slipLines(const QString &zzhm, const QString &customerCode, const QString &lineDate)
{
    return lines(QStringLiteral("WHERE zzhm = ? AND {ci:khdm} = {ci:?} AND rq_1 = ? AND bz_1 = '1' ORDER BY id"),
                 {zzhm, customerCode, lineDate});
}

std::vector<SaleLine> Corrections::returnLines(const QString &date, const QString &customerCode)
{
    if (customerCode.trimmed().isEmpty())
        return lines(QStringLiteral("WHERE czydm = ? AND rq_2 = ? AND bz_1 = '3' ORDER BY id"), {m_operator, date});
    return lines(QStringLiteral("WHERE czydm = ? AND rq_2 = ? AND bz_1 = '3' AND {ci:khdm} = {ci:?} ORDER BY id"),
                 {m_operator, date, customerCode.trimmed()});
}

SaleLine Corrections::line(qint64 id)
{
    const std::vector<SaleLine> l = lines(QStringLiteral("WHERE id = ?"), {id});
    if (l.empty()) throw DomainError(kNotFound);
    return l.front();
}

void Corrections::modifyIssueLine(qint64 id, double kilograms, double price, const QString &owner, int printLine)
{
    m_s.transaction([&] {
        const SaleLine old = line(id);
        if (same(old.zznum, kilograms) && same(old.zzjg, price)) throw DomainError(kUnchanged);
        const double amount = price * kilograms / 1000;
        const int n = m_s.execute(QStringLiteral("UPDATE {sale1} SET zznum = ?, zzjg = ?, zzje = ? WHERE id = ? AND bz_1 = '1'"),
                                  {kilograms, price, amount, id});
        if (n != 1) throw DomainError(kNotFound);
        double spec = 0;
        parseNumber(old.cpgg, &spec);
        m_s.execute(QStringLiteral("UPDATE {khprn} SET sjxl1 = ?, kpje = ?, kpjg = ?, sjbs = ? "
                                   "WHERE owner = ? AND {ci:khdm} = {ci:?} AND zznum = ? AND zzhm = ?"),
                    {numberText(kilograms), numberText(amount), numberText(spec * price / 1000),
                     numberText(spec != 0 ? kilograms / spec : 0), owner, old.khdm, double(printLine), old.zzhm});
    });
}

void Corrections::deleteIssueLine(qint64 id, const QString &owner, int printLine)
{
    m_s.transaction([&] {
        const SaleLine old = line(id);
        const int n = m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ? AND bz_1 = '1' AND czydm = ?"),
                                  {id, m_operator});
        if (n != 1) throw DomainError(QStringLiteral("只能删除本人录入的记录！"));
        m_s.execute(QStringLiteral("UPDATE {khprn} SET cpmc = '', cpgg = '', cpdm = '', sjxl1 = '', kpjg = '', kpje = '', "
                                   "sjbs = '', bszl = '' WHERE owner = ? AND {ci:khdm} = {ci:?} AND zznum = ? AND zzhm = ?"),
                    {owner, old.khdm, double(printLine), old.zzhm});
    });
}

qint64 Corrections::returnRegisterRow(const SaleLine &l)
{
    // Identical register rows are interchangeable: any one of them is the line's.
    return m_s.scalar(QStringLiteral("SELECT id FROM {khtl} WHERE rec_num = ? AND {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?} "
                                     "AND tlrq = ? AND ABS(tlnum - ?) < 0.000001 ORDER BY id {first:1}"),
                      {l.recnum, l.khdm, l.cpdm, l.rq_2, l.tlnum})
        .toLongLong();
}

qint64 Corrections::returnFundsRow(const SaleLine &l)
{
    return m_s.scalar(QStringLiteral("SELECT id FROM {khzj} WHERE {ci:khdm} = {ci:?} AND rq = ? AND ABS(sjxl - ?) < 0.000001 "
                                     "AND ABS(ysje + ?) < 0.000001 AND sjje = 0 ORDER BY id {first:1}"),
                      {l.khdm, l.rq_2, l.tlnum, l.kpje})
        .toLongLong();
}

void Corrections::modifyReturnLine(qint64 id, double kilograms, double price)
{
    m_s.transaction([&] {
        const SaleLine old = line(id);
        if (same(old.tlnum, kilograms) && same(old.kpjg, price)) throw DomainError(kUnchanged);
        const double amount = price * kilograms / 1000;
        const qint64 reg = returnRegisterRow(old);
        const qint64 funds = returnFundsRow(old);
        const int n = m_s.execute(QStringLiteral("UPDATE {sale1} SET tlnum = ?, kpjg = ?, kpje = ?, zcje = zcjg * ? / 1000 "
                                                 "WHERE id = ? AND bz_1 = '3'"),
                                  {kilograms, price, amount, kilograms, id});
        if (n != 1) throw DomainError(kNotFound);
        if (reg)
            m_s.execute(QStringLiteral("UPDATE {khtl} SET tlnum = ?, tlprice = ?, tlje = ? WHERE id = ?"),
                        {kilograms, price, amount, reg});
        if (funds) {
            // The promotion fee taken back scales with the quantity returned.
            const double ratio = old.tlnum != 0 ? kilograms / old.tlnum : 0;
            m_s.execute(QStringLiteral("UPDATE {khzj} SET sjxl = ?, ysje = ?, zzje = zzje * ? WHERE id = ?"),
                        {kilograms, -amount, ratio, funds});
        }
        m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ? WHERE {ci:cpdm} = {ci:?}"),
                    {kilograms - old.tlnum, old.cpdm});
    });
}

void Corrections::deleteReturnLine(qint64 id)
{
    m_s.transaction([&] {
        const SaleLine old = line(id);
        const qint64 reg = returnRegisterRow(old);
        const qint64 funds = returnFundsRow(old);
        const int n = m_s.execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ? AND bz_1 = '3'"), {id});
        if (n != 1) throw DomainError(kNotFound);
        if (reg) m_s.execute(QStringLiteral("DELETE FROM {khtl} WHERE id = ?"), {reg});
        if (funds) m_s.execute(QStringLiteral("DELETE FROM {khzj} WHERE id = ?"), {funds});
        m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl - ? WHERE {ci:cpdm} = {ci:?}"), {old.tlnum, old.cpdm});
    });
}

} // namespace fm
