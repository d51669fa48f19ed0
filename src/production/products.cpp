#include "production/products.h"

#include "data/session.h"

namespace fm {

QString Product::columns()
{
    return QStringLiteral("id, cpdm, cpmc, cpgg, kpjg, cbjg, cpbz, rq");
}

Product Product::read(const Row &r)
{
    Product p;
    p.id = r.id();
    p.code = r.text(QStringLiteral("cpdm"));
    p.name = r.text(QStringLiteral("cpmc"));
    p.spec = r.text(QStringLiteral("cpgg"));
    p.listPrice = r.number(QStringLiteral("kpjg"));
    p.costPrice = r.number(QStringLiteral("cbjg"));
    p.flag = r.text(QStringLiteral("cpbz"));
    p.date = r.dateText(QStringLiteral("rq"));
    return p;
}

std::optional<Product> findProduct(Session &s, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT %1 FROM {price} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}")
                             .arg(Product::columns()),
                         {c});
    if (!r) return std::nullopt;
    return Product::read(*r);
}

} // namespace fm
