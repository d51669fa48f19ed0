#include "sales/payments.h"

#include "common/capitals.h"
#include "common/clock.h"
#include "common/dates.h"
#include "data/session.h"
#include "sales/salesnumbers.h"

namespace fm {

Payments::Payments(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

Balance Payments::balance(const QString &customerCode)
{
    Balance b;
    const QString today = dateText(m_clock.today());
    for (const char *table : {"khzj", "his_khzj"}) {
        const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(ysje), 0) AS ysje, COALESCE(SUM(sjje), 0) AS sjje "
                                              "FROM {%1} WHERE {ci:khdm} = {ci:?} AND rq <= ?")
                                   .arg(QLatin1String(table)),
                               {customerCode.trimmed(), today});
        if (!r) continue;
        b.receivable += r->number(QStringLiteral("ysje"));
        b.received += r->number(QStringLiteral("sjje"));
    }
    return b;
}

qint64 Payments::record(const Customer &customer, double receivable, double received, double owed)
{
    if (customer.code.isEmpty()) throw DomainError(QStringLiteral("查无此客户！"), ErrorCode::NotFound);
    receivable = sales::checkMoney(receivable);
    received = sales::checkMoney(received);
    owed = sales::checkMoney(owed);
    const QString capitals = chineseCapitals(received);
    if (capitals.isEmpty()) throw DomainError(QStringLiteral("金额太大，不能转换为大写金额！"));
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("khzj"), {{QStringLiteral("khdm"), customer.code},
                                                 {QStringLiteral("khmc"), customer.name},
                                                 {QStringLiteral("region"), customer.region},
                                                 {QStringLiteral("ysje"), receivable},
                                                 {QStringLiteral("sjje"), received},
                                                 {QStringLiteral("sjdx"), capitals + dateTimeText(now)},
                                                 {QStringLiteral("sqje"), owed},
                                                 {QStringLiteral("sjxl"), 0.0},
                                                 {QStringLiteral("rq"), dateText(now.date())},
                                                 {QStringLiteral("czydm"), m_operator},
                                                 {QStringLiteral("zzje"), 0.0}});
    });
    return id;
}

QString Payments::balanceCaption() const
{
    return QStringLiteral("截止") + dateText(m_clock.today()) + QStringLiteral("为止，该客户欠款情况如下：");
}

} // namespace fm
