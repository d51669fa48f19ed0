#include "warehouse/materials.h"

#include "common/dates.h"
#include "common/money.h"
#include "data/session.h"

namespace fm {

bool materialflag::isValid(const QString &flag)
{
    return flag == bulk || flag == minor || flag == premix;
}

QString Material::columns()
{
    return QStringLiteral("id, yldm, ylmc, descip, s0");
}

Material Material::read(const Row &r)
{
    Material m;
    m.id = r.id();
    m.code = r.text(QStringLiteral("yldm"));
    m.name = r.text(QStringLiteral("ylmc"));
    m.flag = r.text(QStringLiteral("descip"));
    m.price = r.number(QStringLiteral("s0"));
    return m;
}

double StockRow::value() const
{
    return money::lineAmount(pricePerTonne, kilograms);
}

QString StockRow::columns()
{
    return QStringLiteral("id, yldm, ylmc, yldj, ylsl, yljg, rq_1, rq_0, bz_1");
}

StockRow StockRow::read(const Row &r)
{
    StockRow s;
    s.id = r.id();
    s.code = r.text(QStringLiteral("yldm"));
    s.name = r.text(QStringLiteral("ylmc"));
    s.flag = r.text(QStringLiteral("yldj"));
    s.kilograms = r.number(QStringLiteral("ylsl"));
    s.pricePerTonne = r.number(QStringLiteral("yljg"));
    s.month = r.text(QStringLiteral("rq_1"));
    s.moment = dateTimeText(readDateTime(r.value(QStringLiteral("rq_0"))));
    s.classFlag = r.text(QStringLiteral("bz_1"));
    return s;
}

QString Supplier::columns()
{
    return QStringLiteral("id, gysdm, gysmc, gysaddr, gystel, gysbz");
}

Supplier Supplier::read(const Row &r)
{
    Supplier s;
    s.id = r.id();
    s.code = r.text(QStringLiteral("gysdm"));
    s.name = r.text(QStringLiteral("gysmc"));
    s.address = r.text(QStringLiteral("gysaddr"));
    s.phone = r.text(QStringLiteral("gystel"));
    s.flag = r.text(QStringLiteral("gysbz"));
    return s;
}

namespace {

template <class T>
std::optional<T> byCode(Session &s, const char *table, const char *column, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT %1 FROM {%2} WHERE {ci:%3} = {ci:?} ORDER BY id {first:1}")
                             .arg(T::columns(), QLatin1String(table), QLatin1String(column)),
                         {c});
    if (!r) return std::nullopt;
    return T::read(*r);
}

template <class T>
std::optional<T> byId(Session &s, const char *table, qint64 id)
{
    const auto r = s.row(QStringLiteral("SELECT %1 FROM {%2} WHERE id = ?").arg(T::columns(), QLatin1String(table)), {id});
    if (!r) return std::nullopt;
    return T::read(*r);
}

template <class T>
std::vector<T> all(Session &s, const char *table, const char *column)
{
    std::vector<T> out;
    for (const Row &r : s.rows(QStringLiteral("SELECT %1 FROM {%2} ORDER BY %3, id")
                                   .arg(T::columns(), QLatin1String(table), QLatin1String(column))))
        out.push_back(T::read(r));
    return out;
}

} // namespace

std::optional<Material> findMaterial(Session &s, const QString &code)
{
    return byCode<Material>(s, "ylpzk", "yldm", code);
}

std::optional<Material> materialById(Session &s, qint64 id)
{
    return byId<Material>(s, "ylpzk", id);
}

std::vector<Material> materials(Session &s)
{
    return all<Material>(s, "ylpzk", "yldm");
}

std::optional<StockRow> findStock(Session &s, const QString &code)
{
    return byCode<StockRow>(s, "ylhzk", "yldm", code);
}

std::optional<StockRow> stockById(Session &s, qint64 id)
{
    return byId<StockRow>(s, "ylhzk", id);
}

std::vector<StockRow> stockRows(Session &s)
{
    return all<StockRow>(s, "ylhzk", "yldm");
}

std::optional<Supplier> findSupplier(Session &s, const QString &code)
{
    return byCode<Supplier>(s, "gyszlk", "gysdm", code);
}

std::optional<Supplier> supplierById(Session &s, qint64 id)
{
    return byId<Supplier>(s, "gyszlk", id);
}

std::vector<Supplier> suppliers(Session &s)
{
    return all<Supplier>(s, "gyszlk", "gysdm");
}

} // namespace fm
