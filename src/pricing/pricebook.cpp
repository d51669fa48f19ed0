#include "pricing/pricebook.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"
#include "production/products.h"

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

std::vector<ProductPrice> readProducts(const Rows &rows)
{
    std::vector<ProductPrice> out;
    out.reserve(rows.size());
    for (const Row &r : rows) out.push_back(ProductPrice::read(r));
    return out;
}

std::vector<CustomerProductPrice> readCustomerPrices(const Rows &rows)
{
    std::vector<CustomerProductPrice> out;
    out.reserve(rows.size());
    for (const Row &r : rows) out.push_back(CustomerProductPrice::read(r));
    return out;
}

// A number from 0 to limit, to the cent; anything else is not a price.
double checked(double v, double limit)
{
    if (!(v >= 0 && v <= limit) || money::cents(v) != v) throw badNumber();
    return v + 0.0; // "-0" is 0
}

double parsed(const QString &text, double limit)
{
    double v = 0;
    if (!parseNumber(text, &v)) throw badNumber();
    return checked(v, limit);
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

ProductPrice ProductPrice::read(const Row &r)
{
    ProductPrice p;
    p.id = r.id();
    p.cpdm = r.text(QStringLiteral("cpdm"));
    p.cpmc = r.text(QStringLiteral("cpmc"));
    p.cpgg = r.text(QStringLiteral("cpgg"));
    p.kpjg = r.number(QStringLiteral("kpjg"));
    p.cbjg = r.number(QStringLiteral("cbjg"));
    p.cpbz = r.text(QStringLiteral("cpbz"));
    p.rq = readDateTime(r.value(QStringLiteral("rq")));
    return p;
}

CustomerProductPrice CustomerProductPrice::read(const Row &r)
{
    CustomerProductPrice p;
    p.id = r.id();
    p.khdm = r.text(QStringLiteral("khdm"));
    p.khmc = r.text(QStringLiteral("khmc"));
    p.cpdm = r.text(QStringLiteral("cpdm"));
    p.cpmc = r.text(QStringLiteral("cpmc"));
    p.cpgg = r.text(QStringLiteral("cpgg"));
    p.kpjg = r.number(QStringLiteral("kpjg"));
    if (!r.isNull(QStringLiteral("fhll"))) p.fhll = r.number(QStringLiteral("fhll"));
    p.dqbh = r.text(QStringLiteral("dqbh"));
    p.dqmc = r.text(QStringLiteral("dqmc"));
    p.cpbz = r.text(QStringLiteral("cpbz"));
    p.rq = readDateTime(r.value(QStringLiteral("rq")));
    return p;
}

double PriceBook::parsePrice(const QString &typed)
{
    return parsed(typed, kMaxPrice);
}

RebateSchedule::Tiers PriceBook::parseTiers(const QStringList &typed)
{
    RebateSchedule::Tiers tiers{};
    for (int i = 0; i < RebateSchedule::kTiers; ++i) {
        const QString t = i < typed.size() ? typed.at(i).trimmed() : QString();
        tiers[size_t(i)] = t.isEmpty() ? 0 : parsed(t, kMaxRebate);
    }
    return tiers;
}

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
    return readProducts(m_s.rows(kProductColumns + QStringLiteral("WHERE ") + kFeedOnly + QLatin1Char(' ')
                                     + orderClause(order),
                                 {kLastFeedFlag}));
}

std::vector<ProductPrice> PriceBook::feedProductsWithFlag(const QString &flag)
{
    return readProducts(m_s.rows(kProductColumns + QStringLiteral("WHERE cpbz = ? ORDER BY cpdm, id"), {flag}));
}

std::optional<ProductPrice> PriceBook::feedProductByCode(const QString &code)
{
    // Packaging materials share the table under a letter flag.
    const auto p = findProduct(m_s, foldFullWidth(code));
    if (!p || p->flag.isEmpty() || p->flag > kLastFeedFlag) return std::nullopt;
    return productById(p->id);
}

std::optional<ProductPrice> PriceBook::productById(qint64 id)
{
    const auto r = m_s.row(kProductColumns + QStringLiteral("WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return ProductPrice::read(*r);
}

void PriceBook::setProductPrices(qint64 id, double listPrice, double costPrice, DateStamp stamp)
{
    const double kpjg = checked(listPrice, kMaxPrice);
    const double cbjg = checked(costPrice, kMaxPrice);
    m_s.transaction([&] {
        const std::optional<ProductPrice> old = productById(id);
        const int changed = stamp == DateStamp::Today
            ? m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ?, rq = ? WHERE id = ?"),
                          {kpjg, cbjg, dateTimeText(m_clock.now()), id})
            : m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ? WHERE id = ?"), {kpjg, cbjg, id});
        // Another workstation may have deleted the product meanwhile.
        if (changed != 1 || !old) throw DomainError(kNoProduct, ErrorCode::NotFound);
        ChangeRecord(QStringLiteral("产品价格修改"), QStringLiteral("price"), id, old->cpdm)
            .change(QStringLiteral("kpjg"), old->kpjg, kpjg)
            .change(QStringLiteral("cbjg"), old->cbjg, cbjg)
            .write(m_s);
    });
}

int PriceBook::clearCostPrices()
{
    int changed = 0;
    m_s.transaction([&] {
        changed = m_s.execute(QStringLiteral("UPDATE {price} SET cbjg = 0"));
        // One record for the whole table: every product's cost price went to 0.
        ChangeRecord(QStringLiteral("产品价格修改"), QStringLiteral("price"), 0, QString())
            .change(QStringLiteral("cbjg"), QStringLiteral("*"), 0.0)
            .change(QStringLiteral("行数"), QVariant(), changed)
            .write(m_s);
    });
    return changed;
}

// ---------------------------------------------------------------- customers

std::vector<CustomerProductPrice> PriceBook::customerPrices(const QString &customerCode)
{
    const QString code = foldFullWidth(customerCode).trimmed();
    if (code.isEmpty()) return {};
    return readCustomerPrices(
        m_s.rows(kCustomerPriceColumns + QStringLiteral("WHERE {ci:khdm} = {ci:?} ORDER BY cpdm, id"), {code}));
}

std::optional<Customer> PriceBook::customerByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    if (auto r = m_s.row(QStringLiteral("SELECT khdm, khmc, dqmc FROM {khprice} WHERE khmc = ? "
                                        "ORDER BY khdm, id {first:1}"),
                         {n})) {
        Customer c;
        c.code = r->text(QStringLiteral("khdm"));
        c.name = r->text(QStringLiteral("khmc"));
        c.region = r->text(QStringLiteral("dqmc"));
        return c;
    }
    if (auto r = m_s.row(QStringLiteral("SELECT %1 FROM {zxkh} WHERE khmc = ? ORDER BY khdm, id {first:1}")
                             .arg(Customer::columns()),
                         {n}))
        return Customer::read(*r);
    return std::nullopt;
}

std::optional<Customer> PriceBook::customerByCode(const QString &code)
{
    return findCustomer(m_s, foldFullWidth(code).trimmed());
}

RowQuery PriceBook::regionPolicyPricesQuery(const QString &regionName) const
{
    // Ordered by the folded codes, so that an index of the region with the
    // codes as khprice's key folds them can serve the pages without a sort.
    return {QStringLiteral("SELECT id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, fhll, dqbh, dqmc, cpbz, rq, "
                           "{ci:khdm} AS khdm_folded, {ci:cpdm} AS cpdm_folded FROM {khprice} "
                           "WHERE dqmc = ? AND fhll <> 0 AND fhll IS NOT NULL"),
            {regionName.trimmed()},
            {QStringLiteral("khdm_folded"), QStringLiteral("cpdm_folded")}};
}

CustomerProductPrice PriceBook::setPolicyPrice(qint64 id, double price)
{
    const double fhll = checked(price, kMaxPrice);
    CustomerProductPrice written;
    m_s.transaction([&] {
        const auto r = m_s.row(kCustomerPriceColumns + QStringLiteral("WHERE id = ?"), {id});
        if (!r) throw DomainError(kNoProduct, ErrorCode::NotFound);
        written = CustomerProductPrice::read(*r);
        m_s.execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE id = ?"), {fhll, id});
        ChangeRecord(QStringLiteral("客户价格修改"), QStringLiteral("khprice"), id, written.khdm)
            .context(QStringLiteral("cpdm"), written.cpdm)
            .change(QStringLiteral("fhll"), written.fhll ? QVariant(*written.fhll) : QVariant(), fhll)
            .write(m_s);
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
    std::vector<RebateSchedule> out;
    for (const Row &row : m_s.rows(sql + QStringLiteral(" FROM {zcprice} ORDER BY cpbz, id"))) {
        RebateSchedule r;
        r.id = row.id();
        r.cpbz = row.text(QStringLiteral("cpbz"));
        r.rq1 = readDateTime(row.value(QStringLiteral("rq1")));
        for (int i = 0; i < RebateSchedule::kTiers; ++i) r.tiers[size_t(i)] = row.number(tierColumn(i));
        out.push_back(r);
    }
    return out;
}

std::optional<RebateSchedule> PriceBook::rebateSchedule(const QString &flag)
{
    for (const RebateSchedule &r : rebateSchedules())
        if (r.cpbz == flag) return r;
    return std::nullopt;
}

void PriceBook::saveRebateSchedule(const QString &flag, const RebateSchedule::Tiers &tiers)
{
    RebateSchedule::Tiers values{};
    for (int i = 0; i < RebateSchedule::kTiers; ++i) values[size_t(i)] = checked(tiers[size_t(i)], kMaxRebate);
    const std::optional<RebateSchedule> before = rebateSchedule(flag);
    m_s.transaction([&] {
        if (before) {
            ChangeRecord rec(QStringLiteral("产品价格修改"), QStringLiteral("zcprice"), before->id, flag);
            for (int i = 0; i < RebateSchedule::kTiers; ++i)
                rec.change(tierColumn(i), before->tiers[size_t(i)], values[size_t(i)]);
            rec.write(m_s);
        }
        QString sql = QStringLiteral("UPDATE {zcprice} SET rq1 = ?");
        Values v{dateTimeText(m_clock.now())};
        for (int i = 0; i < RebateSchedule::kTiers; ++i) {
            sql += QStringLiteral(", ") + tierColumn(i) + QStringLiteral(" = ?");
            v << values[size_t(i)];
        }
        v << flag;
        if (m_s.execute(sql + QStringLiteral(" WHERE cpbz = ?"), v) > 0) return;
        // A catalog seeded without the row: the schedule is kept all the same.
        Fields f{{QStringLiteral("cpbz"), flag}, {QStringLiteral("rq1"), dateTimeText(m_clock.now())}};
        for (int i = 0; i < RebateSchedule::kTiers; ++i) f.emplace_back(tierColumn(i), values[size_t(i)]);
        m_s.insert(QStringLiteral("zcprice"), f);
    });
}

} // namespace fm
