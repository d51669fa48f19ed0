#include "pricing/pricebook.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kProductColumns = QStringLiteral("SELECT id, cpdm, cpmc, cpgg, kpjg, cbjg, cpbz, rq FROM {price} ");
const QString kCustomerPriceColumns = QStringLiteral(
    "SELECT id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, fhll, dqbh, dqmc, cpbz, rq FROM {khprice} ");
// Digits sort before letters on every engine, so "cpbz <= '9'" keeps the
// feed rows and leaves out the packaging materials.
const QString kFeedOnly = QStringLiteral("cpbz <= ?");
const QString kLastFeedFlag = QStringLiteral("9");

QString tierColumn(int i)
{
    return QStringLiteral("b%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

std::vector<ProductPrice> readProducts(QSqlQuery q)
{
    std::vector<ProductPrice> rows;
    while (q.next()) {
        ProductPrice p;
        p.id = q.value(0).toLongLong();
        p.cpdm = q.value(1).toString().trimmed();
        p.cpmc = q.value(2).toString().trimmed();
        p.cpgg = q.value(3).toString().trimmed();
        p.kpjg = q.value(4).toDouble();
        p.cbjg = q.value(5).toDouble();
        p.cpbz = q.value(6).toString().trimmed();
        p.rq = readDateTime(q.value(7));
        rows.push_back(p);
    }
    return rows;
}

std::vector<CustomerProductPrice> readCustomerPrices(QSqlQuery q)
{
    std::vector<CustomerProductPrice> rows;
    while (q.next()) {
        CustomerProductPrice p;
        p.id = q.value(0).toLongLong();
        p.khdm = q.value(1).toString().trimmed();
        p.khmc = q.value(2).toString().trimmed();
        p.cpdm = q.value(3).toString().trimmed();
        p.cpmc = q.value(4).toString().trimmed();
        p.cpgg = q.value(5).toString().trimmed();
        p.kpjg = q.value(6).toDouble();
        if (!q.value(7).isNull()) p.fhll = q.value(7).toDouble();
        p.dqbh = q.value(8).toString().trimmed();
        p.dqmc = q.value(9).toString().trimmed();
        p.cpbz = q.value(10).toString().trimmed();
        p.rq = readDateTime(q.value(11));
        rows.push_back(p);
    }
    return rows;
}

double parsedPrice(const QString &text)
{
    double v = 0;
    if (!parseNumber(text, &v)) throw DomainError(PriceBook::kBadNumber);
    return v;
}

// The codes that begin with a region code: from "11" up to, not including, "12".
Values prefixRange(const QString &regionCode)
{
    QString upper = regionCode;
    if (!upper.isEmpty()) upper.back() = QChar(upper.back().unicode() + 1);
    return {regionCode, upper};
}

QString orderClause(const PriceOrder &order)
{
    if (!order.column) return QStringLiteral("ORDER BY cpdm, id");
    const QString dir = order.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    switch (*order.column) {
    case PriceSortColumn::Code: return QStringLiteral("ORDER BY cpdm") + dir + QStringLiteral(", id");
    case PriceSortColumn::Name: return QStringLiteral("ORDER BY cpmc") + dir + QStringLiteral(", id");
    case PriceSortColumn::Spec: return QStringLiteral("ORDER BY cpgg") + dir + QStringLiteral(", id");
    case PriceSortColumn::ListPrice: return QStringLiteral("ORDER BY kpjg") + dir + QStringLiteral(", id");
    case PriceSortColumn::CostPrice: return QStringLiteral("ORDER BY cbjg") + dir + QStringLiteral(", id");
    case PriceSortColumn::Flag: return QStringLiteral("ORDER BY cpbz") + dir + QStringLiteral(", id");
    // The flag stays ascending either way: the date sorts within each category.
    case PriceSortColumn::Date: return QStringLiteral("ORDER BY cpbz, rq") + dir + QStringLiteral(", id");
    }
    return QStringLiteral("ORDER BY cpdm, id");
}

} // namespace

// ---------------------------------------------------------------- sorting

std::optional<PriceSortColumn> PriceSortToggle::columnOfTitle(const QString &title)
{
    static const std::pair<const char *, PriceSortColumn> titles[] = {
        {"产品代码", PriceSortColumn::Code},      {"产品名称", PriceSortColumn::Name},
        {"规格", PriceSortColumn::Spec},          {"开票价格", PriceSortColumn::ListPrice},
        {"成本价格", PriceSortColumn::CostPrice}, {"产品标志", PriceSortColumn::Flag},
        {"日期", PriceSortColumn::Date}};
    for (const auto &t : titles)
        if (title == QString::fromUtf8(t.first)) return t.second;
    return std::nullopt;
}

QString PriceSortToggle::question(const QString &title) const
{
    return QStringLiteral("是否按") + title + (m_descendingNext ? QStringLiteral("降序") : QStringLiteral("升序"))
        + QStringLiteral("排序？");
}

PriceOrder PriceSortToggle::accept(PriceSortColumn column)
{
    PriceOrder order{column, m_descendingNext};
    m_descendingNext = !m_descendingNext;
    return order;
}

// ---------------------------------------------------------------- products

std::vector<ProductPrice> PriceBook::feedProducts(const PriceOrder &order)
{
    return readProducts(m_s.exec(kProductColumns + QStringLiteral("WHERE ") + kFeedOnly + QLatin1Char(' ')
                                 + orderClause(order),
                                 {kLastFeedFlag}));
}

std::vector<ProductPrice> PriceBook::feedProductsWithFlag(const QString &flag)
{
    return readProducts(m_s.exec(kProductColumns + QStringLiteral("WHERE cpbz = ? ORDER BY cpdm, id"), {flag}));
}

std::optional<ProductPrice> PriceBook::feedProductByCode(const QString &code)
{
    const QString c = foldFullWidth(code).trimmed();
    if (c.isEmpty()) return std::nullopt;
    auto rows = readProducts(m_s.exec(kProductColumns + QStringLiteral("WHERE {ci:cpdm} = {ci:?} AND ") + kFeedOnly
                                          + QStringLiteral(" ORDER BY id {first:1}"),
                                      {c, kLastFeedFlag}));
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

std::optional<ProductPrice> PriceBook::productById(qint64 id)
{
    auto rows = readProducts(m_s.exec(kProductColumns + QStringLiteral("WHERE id = ?"), {id}));
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

void PriceBook::setProductPrices(qint64 id, const QString &listPrice, const QString &costPrice, DateStamp stamp)
{
    const double kpjg = parsedPrice(listPrice);
    const double cbjg = parsedPrice(costPrice);
    m_s.transaction([&] {
        const int changed = stamp == DateStamp::Today
            ? m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ?, rq = ? WHERE id = ?"),
                          {kpjg, cbjg, dateTimeText(m_clock.now()), id})
            : m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ? WHERE id = ?"), {kpjg, cbjg, id});
        // Another workstation may have deleted the product meanwhile.
        if (changed != 1) throw DomainError(kNoProduct);
    });
}

int PriceBook::clearCostPrices()
{
    int changed = 0;
    m_s.transaction([&] { changed = m_s.execute(QStringLiteral("UPDATE {price} SET cbjg = 0")); });
    return changed;
}

// ---------------------------------------------------------------- customers

std::vector<PriceRegion> PriceBook::regions()
{
    std::vector<PriceRegion> rows;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT dq, bh FROM {dqk} ORDER BY bh, id"));
    while (q.next()) rows.push_back({q.value(0).toString().trimmed(), q.value(1).toString().trimmed()});
    return rows;
}

std::vector<PriceCustomer> PriceBook::customersOfRegion(const QString &regionCode)
{
    std::vector<PriceCustomer> rows;
    const QString code = regionCode.trimmed();
    if (code.isEmpty()) return rows;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} WHERE {ci:khdm} >= {ci:?} AND {ci:khdm} < {ci:?} "
                                          "ORDER BY khdm, id"),
                           prefixRange(code));
    while (q.next())
        rows.push_back({q.value(0).toString().trimmed(), q.value(1).toString().trimmed(),
                        q.value(2).toString().trimmed()});
    return rows;
}

std::vector<CustomerProductPrice> PriceBook::customerPrices(const QString &customerCode)
{
    const QString code = foldFullWidth(customerCode).trimmed();
    if (code.isEmpty()) return {};
    return readCustomerPrices(
        m_s.exec(kCustomerPriceColumns + QStringLiteral("WHERE {ci:khdm} = {ci:?} ORDER BY cpdm, id"), {code}));
}

std::optional<PriceCustomer> PriceBook::customerByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    if (auto r = m_s.first(QStringLiteral("SELECT khdm, khmc, dqmc FROM {khprice} WHERE khmc = ? "
                                          "ORDER BY khdm, id {first:1}"),
                           {n}))
        return PriceCustomer{r->value(0).toString().trimmed(), r->value(1).toString().trimmed(),
                             r->value(2).toString().trimmed()};
    if (auto r = m_s.first(QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} WHERE khmc = ? ORDER BY khdm, id {first:1}"),
                           {n}))
        return PriceCustomer{r->value(0).toString().trimmed(), r->value(1).toString().trimmed(),
                             r->value(2).toString().trimmed()};
    return std::nullopt;
}

std::optional<PriceCustomer> PriceBook::customerByCode(const QString &code)
{
    const QString c = foldFullWidth(code).trimmed();
    if (c.isEmpty()) return std::nullopt;
    // In the order of the price key: ORDER BY id would walk the whole key.
    if (auto r = m_s.first(QStringLiteral("SELECT khdm, khmc, dqmc FROM {khprice} WHERE {ci:khdm} = {ci:?} "
                                          "ORDER BY {ci:khdm}, {ci:cpdm} {first:1}"),
                           {c}))
        return PriceCustomer{r->value(0).toString().trimmed(), r->value(1).toString().trimmed(),
                             r->value(2).toString().trimmed()};
    if (auto r = m_s.first(QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} WHERE {ci:khdm} = {ci:?} "
                                          "ORDER BY id {first:1}"),
                           {c}))
        return PriceCustomer{r->value(0).toString().trimmed(), r->value(1).toString().trimmed(),
                             r->value(2).toString().trimmed()};
    return std::nullopt;
}

std::vector<CustomerProductPrice> PriceBook::regionPolicyPrices(const QString &regionName)
{
    return readCustomerPrices(m_s.exec(kCustomerPriceColumns
                                           + QStringLiteral("WHERE dqmc = ? AND fhll <> 0 AND fhll IS NOT NULL "
                                                            "ORDER BY khdm, cpdm, id"),
                                       {regionName.trimmed()}));
}

CustomerProductPrice PriceBook::setPolicyPrice(qint64 id, const QString &price)
{
    const double fhll = parsedPrice(price);
    CustomerProductPrice written;
    m_s.transaction([&] {
        auto rows = readCustomerPrices(m_s.exec(kCustomerPriceColumns + QStringLiteral("WHERE id = ?"), {id}));
        if (rows.empty()) throw DomainError(kNoProduct);
        written = rows.front();
        m_s.execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE id = ?"), {fhll, id});
        // Sales entry warns from the filter table; it must not go on showing
        // the old difference once the policy price has changed.
        m_s.execute(QStringLiteral("UPDATE {khjggl} SET zcjg = ?, jgce = ? - cbjg "
                                   "WHERE {ci:cpdm} = {ci:?} AND {ci:khdm} = {ci:?}"),
                    {fhll, fhll, written.cpdm, written.khdm});
    });
    written.fhll = fhll;
    return written;
}

// ---------------------------------------------------------------- rebates

std::vector<RebateSchedule> PriceBook::rebateSchedules()
{
    QString sql = QStringLiteral("SELECT id, cpbz, rq1");
    for (int i = 0; i < RebateSchedule::kTiers; ++i) sql += QStringLiteral(", ") + tierColumn(i);
    QSqlQuery q = m_s.exec(sql + QStringLiteral(" FROM {zcprice} ORDER BY cpbz, id"));
    std::vector<RebateSchedule> rows;
    while (q.next()) {
        RebateSchedule r;
        r.id = q.value(0).toLongLong();
        r.cpbz = q.value(1).toString().trimmed();
        r.rq1 = readDateTime(q.value(2));
        for (int i = 0; i < RebateSchedule::kTiers; ++i) r.tiers[i] = q.value(3 + i).toDouble();
        rows.push_back(r);
    }
    return rows;
}

std::optional<RebateSchedule> PriceBook::rebateSchedule(const QString &flag)
{
    for (const RebateSchedule &r : rebateSchedules())
        if (r.cpbz == flag) return r;
    return std::nullopt;
}

void PriceBook::saveRebateSchedule(const QString &flag, const QStringList &tiers)
{
    std::array<double, RebateSchedule::kTiers> values{};
    for (int i = 0; i < RebateSchedule::kTiers; ++i) {
        const QString t = i < tiers.size() ? tiers.at(i).trimmed() : QString();
        values[i] = t.isEmpty() ? 0 : parsedPrice(t);
    }
    m_s.transaction([&] {
        QString sql = QStringLiteral("UPDATE {zcprice} SET rq1 = ?");
        Values v{dateTimeText(m_clock.now())};
        for (int i = 0; i < RebateSchedule::kTiers; ++i) {
            sql += QStringLiteral(", ") + tierColumn(i) + QStringLiteral(" = ?");
            v << values[i];
        }
        v << flag;
        if (m_s.execute(sql + QStringLiteral(" WHERE cpbz = ?"), v) > 0) return;
        // A catalog seeded without the row: the schedule is kept all the same.
        Fields f{{QStringLiteral("cpbz"), flag}, {QStringLiteral("rq1"), dateTimeText(m_clock.now())}};
        for (int i = 0; i < RebateSchedule::kTiers; ++i) f.emplace_back(tierColumn(i), values[i]);
        m_s.insert(QStringLiteral("zcprice"), f);
    });
}

} // namespace fm
