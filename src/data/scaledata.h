#pragma once
// A mill's data at size: years of slips for the benchmarks and for trying the
// program on a large installation. Deterministic: the same size and the same
// "today" give the same rows, on every engine.

#include <QString>
#include <functional>

namespace fm {

class Session;
class Clock;

struct MillSize {
    int regions = 60;
    int customers = 10000;
    int products = 500;
    qint64 slips = 1500000; // one khzj row each
    qint64 lines = 5000000; // sale1 lines, 1 to 8 per slip
    int years = 10;         // the slips' dates end today
    // Every customer has a price row for every product.
    qint64 customerPrices() const { return qint64(customers) * products; }
};

// Scale 1..100 is that percentage of the top size (scale 100): 10 000
// customers, 5 million customer prices, 5 million sales lines on 1.5 million
// slips. Regions (60), products (500) and years (10) are the same at every
// scale: a smaller scale is a mill with fewer customers.
constexpr int kTopScale = 100;
MillSize millSize(int scale);

// Called now and then during a load: the table, rows written, rows to write.
using MillProgress = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Loads regions, customers, products with list, cost and customer prices,
// the below-cost rows of the price filter (khjggl), the slips (sale1 lines and
// one khzj row each) and the turnover numbers (fphm: the last slip's number)
// into a seeded installation. Refuses catalogs that already hold customers,
// products or turnover numbers, and sizes out of range. Indexes of the large
// tables are dropped for the load and built once at its end.
void generateMill(Session &s, const Clock &clock, const MillSize &size, const MillProgress &progress = {});

} // namespace fm
