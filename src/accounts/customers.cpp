#include "accounts/customers.h"

#include "data/session.h"

namespace fm {

QString Customer::columns()
{
    return QStringLiteral("id, khdm, khmc, dq, khbz, teleph");
}

Customer Customer::read(const Row &r)
{
    Customer c;
    c.id = r.id();
    c.code = r.text(QStringLiteral("khdm"));
    c.name = r.text(QStringLiteral("khmc"));
    c.region = r.text(QStringLiteral("dq"));
    c.flag = r.text(QStringLiteral("khbz"));
    c.phone = r.text(QStringLiteral("teleph"));
    return c;
}

std::optional<Customer> findCustomer(Session &s, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT %1 FROM {zxkh} WHERE {ci:khdm} = {ci:?} ORDER BY khdm, id {first:1}")
                             .arg(Customer::columns()),
                         {c});
    if (!r) return std::nullopt;
    return Customer::read(*r);
}

} // namespace fm
