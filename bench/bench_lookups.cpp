// The look-ups a slip makes, at the top size: customer, product (with its
// category), customer price and below-cost row, through the core (Session and
// SalesSlip::quote) against the bare indexed SELECT of the same row: the same
// SQL text, prepared once and run through QSqlQuery on the same connection.
//
// The sample is 16 normal customers that have a below-cost row, with four
// products each (three ordinary, one below cost), visited in turn.

#include "benchsupport.h"

#include "common/clock.h"
#include "sales/salesslip.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

using namespace fm;

namespace {

// The statements of SalesSlip::enterCustomer and SalesSlip::quote.
const QString kCustomerSql = QStringLiteral("SELECT khdm, khmc, dq, khbz FROM {zxkh} WHERE {ci:khdm} = {ci:?} ORDER BY khdm {first:1}");
const QString kProductSql = QStringLiteral("SELECT cpdm, cpmc, kpjg, cbjg, cpbz FROM {price} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}");
const QString kCategorySql = QStringLiteral("SELECT lbmc FROM {cplbgg} WHERE cpbz = ? ORDER BY id {first:1}");
const QString kCustomerPriceSql = QStringLiteral("SELECT fhll, cpgg, cpbz FROM {khprice} WHERE {ci:khdm} = {ci:?} "
                                                 "AND {ci:cpdm} = {ci:?} ORDER BY id {first:1}");
const QString kBelowCostSql = QStringLiteral("SELECT zcjg, cbjg, jgce FROM {khjggl} WHERE {ci:khdm} = {ci:?} "
                                             "AND {ci:cpdm} = {ci:?} AND cpgg = ? ORDER BY id {first:1}");

struct Pair {
    int customer; // index into Fixture::customers
    QString product;
    QString spec;
    QString flag; // price.cpbz
};

struct Fixture {
    std::unique_ptr<Session> s;
    FixedClock clock{QDateTime::currentDateTime()};
    std::vector<QString> customers;
    std::vector<Pair> pairs;
    std::vector<std::unique_ptr<SalesSlip>> slips; // one per customer, customer entered
};

Fixture *g = nullptr;

// A statement prepared once on the session's connection, as a client without
// our Session would keep it.
class Bare {
public:
    Bare(Session &s, const QString &statement) : m_q(s.database())
    {
        m_q.setForwardOnly(true);
        if (!m_q.prepare(s.expand(statement))) {
            std::fprintf(stderr, "prepare: %s\n", qPrintable(m_q.lastError().text()));
            std::exit(1);
        }
    }
    // Runs with the values and reads the first row's n columns; false when none.
    bool run(const QVariantList &values, int columns)
    {
        for (int i = 0; i < values.size(); ++i) m_q.bindValue(i, values[i]);
        if (!m_q.exec()) {
            std::fprintf(stderr, "exec: %s\n", qPrintable(m_q.lastError().text()));
            std::exit(1);
        }
        const bool found = m_q.next();
        if (found)
            for (int i = 0; i < columns; ++i) benchmark::DoNotOptimize(m_q.value(i));
        m_q.finish();
        return found;
    }

private:
    QSqlQuery m_q;
};

void readRecord(const std::optional<QSqlRecord> &r)
{
    if (!r) return;
    for (int i = 0; i < r->count(); ++i) benchmark::DoNotOptimize(r->value(i));
}

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    QStringList withBelowCost;
    {
        QSqlQuery q = s.exec(QStringLiteral("SELECT DISTINCT g.khdm FROM {khjggl} g, {zxkh} k WHERE k.khdm = g.khdm "
                                            "AND k.khbz = '1' ORDER BY g.khdm"));
        while (q.next()) withBelowCost << q.value(0).toString();
    }
    QStringList products;
    {
        QSqlQuery q = s.exec(QStringLiteral("SELECT cpdm FROM {price} ORDER BY id"));
        while (q.next()) products << q.value(0).toString();
    }
    if (withBelowCost.size() < 16 || products.size() < 4) {
        std::fprintf(stderr, "the data set is too small: build it with fmadmin demo --scale\n");
        std::exit(2);
    }
    for (int i = 0; i < 16; ++i) g->customers.push_back(withBelowCost[i * withBelowCost.size() / 16]);
    for (int c = 0; c < 16; ++c) {
        QStringList mine;
        for (int j = 0; j < 3; ++j) mine << products[(c * 37 + j * 131) % products.size()];
        mine << s.scalar(QStringLiteral("SELECT cpdm FROM {khjggl} WHERE khdm = ? ORDER BY id {first:1}"), {g->customers[size_t(c)]}).toString();
        for (const QString &p : mine) {
            auto r = s.first(QStringLiteral("SELECT k.cpgg, p.cpbz FROM {khprice} k, {price} p WHERE k.khdm = ? AND k.cpdm = ? AND p.cpdm = k.cpdm"),
                             {g->customers[size_t(c)], p});
            if (!r) {
                std::fprintf(stderr, "no customer price for %s %s\n", qPrintable(g->customers[size_t(c)]), qPrintable(p));
                std::exit(2);
            }
            g->pairs.push_back({c, p, r->value(0).toString(), r->value(1).toString()});
        }
        auto slip = std::make_unique<SalesSlip>(s, g->clock, QStringLiteral("admin"), QStringLiteral("bench-lookups-%1").arg(c));
        slip->openWindow();
        slip->start();
        if (!slip->enterCustomer(g->customers[size_t(c)])) {
            std::fprintf(stderr, "customer %s not found\n", qPrintable(g->customers[size_t(c)]));
            std::exit(2);
        }
        g->slips.push_back(std::move(slip));
    }
}

// --- customer ---------------------------------------------------------------

void customerThroughSession(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) readRecord(g->s->first(kCustomerSql, {g->customers[i++ % g->customers.size()]}));
}

void customerBare(benchmark::State &state)
{
    Bare q(*g->s, kCustomerSql);
    size_t i = 0;
    for (auto _ : state) q.run({g->customers[i++ % g->customers.size()]}, 4);
}

// The whole of "客户代码" Enter: the look-up and the slip's print rows.
void customerEnter(benchmark::State &state)
{
    SalesSlip slip(*g->s, g->clock, QStringLiteral("admin"), QStringLiteral("bench-lookups-enter"));
    slip.openWindow();
    size_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        slip.start(); // draws a turnover number: not part of the look-up
        state.ResumeTiming();
        benchmark::DoNotOptimize(slip.enterCustomer(g->customers[i++ % g->customers.size()]));
    }
}

// --- product ------------------------------------------------------------------

void productThroughSession(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) readRecord(g->s->first(kProductSql, {g->pairs[i++ % g->pairs.size()].product}));
}

void productBare(benchmark::State &state)
{
    Bare q(*g->s, kProductSql);
    size_t i = 0;
    for (auto _ : state) q.run({g->pairs[i++ % g->pairs.size()].product}, 5);
}

// --- customer price -----------------------------------------------------------

void customerPriceThroughSession(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        readRecord(g->s->first(kCustomerPriceSql, {g->customers[size_t(p.customer)], p.product}));
    }
}

void customerPriceBare(benchmark::State &state)
{
    Bare q(*g->s, kCustomerPriceSql);
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        q.run({g->customers[size_t(p.customer)], p.product}, 3);
    }
}

// --- below-cost row -----------------------------------------------------------

void belowCostThroughSession(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        readRecord(g->s->first(kBelowCostSql, {g->customers[size_t(p.customer)], p.product, p.spec}));
    }
}

void belowCostBare(benchmark::State &state)
{
    Bare q(*g->s, kBelowCostSql);
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        q.run({g->customers[size_t(p.customer)], p.product, p.spec}, 3);
    }
}

// --- a product code typed on the slip: quote() ---------------------------------

void quoteService(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        benchmark::DoNotOptimize(g->slips[size_t(p.customer)]->quote(p.product));
    }
}

void quoteBare(benchmark::State &state)
{
    Bare product(*g->s, kProductSql), category(*g->s, kCategorySql), price(*g->s, kCustomerPriceSql),
        below(*g->s, kBelowCostSql);
    size_t i = 0;
    for (auto _ : state) {
        const Pair &p = g->pairs[i++ % g->pairs.size()];
        const QString &customer = g->customers[size_t(p.customer)];
        product.run({p.product}, 5);
        category.run({p.flag}, 1);
        price.run({customer, p.product}, 3);
        below.run({customer, p.product, p.spec}, 3);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    const std::pair<const char *, void (*)(benchmark::State &)> all[] = {
        {"customer/session", customerThroughSession}, {"customer/bare", customerBare},
        {"customer/enterCustomer", customerEnter},
        {"product/session", productThroughSession}, {"product/bare", productBare},
        {"customer_price/session", customerPriceThroughSession}, {"customer_price/bare", customerPriceBare},
        {"below_cost/session", belowCostThroughSession}, {"below_cost/bare", belowCostBare},
        {"quote/service", quoteService}, {"quote/bare", quoteBare},
    };
    for (const auto &b : all) bench::inMicroseconds(benchmark::RegisterBenchmark(b.first, b.second));

    const QString viaSession = QStringLiteral("the service's statement through Session::first");
    return bench::runAndReport(
        argc, argv,
        {{QStringLiteral("look-up: customer"), QStringLiteral("customer/session"), QStringLiteral("customer/bare"), 2, viaSession},
         {QStringLiteral("look-up: product"), QStringLiteral("product/session"), QStringLiteral("product/bare"), 2, viaSession},
         {QStringLiteral("look-up: customer price"), QStringLiteral("customer_price/session"), QStringLiteral("customer_price/bare"), 2, viaSession},
         {QStringLiteral("look-up: below-cost row"), QStringLiteral("below_cost/session"), QStringLiteral("below_cost/bare"), 2, viaSession},
         {QStringLiteral("look-up: product code on a slip"), QStringLiteral("quote/service"), QStringLiteral("quote/bare"), 2,
          QStringLiteral("SalesSlip::quote vs its 4 bare statements")},
         {QStringLiteral("customer code on a slip"), QStringLiteral("customer/enterCustomer"), QStringLiteral("customer/bare"), 0,
          QStringLiteral("SalesSlip::enterCustomer: the look-up and its print-row transaction")}});
}
