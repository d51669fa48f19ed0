// Cost processing of one region over one period (the last complete
// settlement period of the data set, the region with the most lines in it):
// CostProcessing::process, which rebuilds the workstation's cost rows in one
// transaction, against the bare aggregate that gives the same gross profit
// from the same lines, prepared once and read through a bare QSqlQuery on the
// same connection (goal ≤ 2×).
//   costs/process         the service, as "开始处理" runs it
//   costs/aggregate       the reference
//   costs/process_nosync  the service with the embedded engine's commit not
//                         waiting for the disk (synchronous=OFF): what the
//                         durable commit costs (no goal; the same on PostgreSQL)
//   costs/read_rows       reading the rebuilt rows back, as the regional
//                         sheet does (no goal)

#include "benchsupport.h"

#include "common/dates.h"
#include "pricing/costprocessing.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <cstdio>

using namespace fm;

namespace {

struct Fixture {
    std::unique_ptr<Session> s;
    Period period;
    QString region;
    qint64 lines = 0;
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

const QString kWorkstation = QStringLiteral("bench-costs");

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    const QString last = s.scalar(QStringLiteral("SELECT MAX(rq_1) FROM {sale1}")).toString();
    const QDate lastDay = parseDateText(last.left(10));
    if (!lastDay.isValid()) fail(QStringLiteral("the data set has no sales lines"));
    g->period = settlementPeriodOf(lastDay.addMonths(-1));
    const Values period{dateText(g->period.start), dateText(g->period.end)};
    const auto busiest = s.row(QStringLiteral("SELECT region, COUNT(*) AS n FROM {sale1} WHERE rq_1 >= ? AND rq_1 <= ? "
                                              "GROUP BY region ORDER BY COUNT(*) DESC, region {first:1}"),
                               period);
    if (!busiest) fail(QStringLiteral("the data set has no lines in the period"));
    g->region = busiest->text(QStringLiteral("region"));
    g->lines = busiest->integer(QStringLiteral("n"));
    std::fprintf(stderr, "cost processing of %s, %lld lines, %s .. %s\n", qPrintable(g->region),
                 static_cast<long long>(g->lines), qPrintable(dateText(g->period.start)),
                 qPrintable(dateText(g->period.end)));
}

void process(benchmark::State &state)
{
    CostProcessing costs(*g->s, kWorkstation);
    for (auto _ : state) {
        const CostRun run = costs.process(g->region, g->period.start, g->period.end);
        if (run.lines != g->lines) fail(QStringLiteral("processed %1 lines of %2").arg(run.lines).arg(g->lines));
        benchmark::DoNotOptimize(run.grossProfit);
    }
}

void processNoSync(benchmark::State &state)
{
    CostProcessing costs(*g->s, kWorkstation);
    if (g->s->engine() == Engine::SQLite) g->s->exec(QStringLiteral("PRAGMA synchronous=OFF"));
    for (auto _ : state) benchmark::DoNotOptimize(costs.process(g->region, g->period.start, g->period.end).grossProfit);
    if (g->s->engine() == Engine::SQLite) g->s->exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

void aggregate(benchmark::State &state)
{
    QSqlQuery q(g->s->database());
    q.setForwardOnly(true);
    const QString sql = g->s->expand(QStringLiteral(
        "SELECT COUNT(*), SUM(p * q / 1000 - c * q / 1000) FROM (SELECT COALESCE(zcjg, 0) AS p, COALESCE(cbjg, 0) AS c, "
        "CASE WHEN bz_1 = '3' THEN -COALESCE(tlnum, 0) ELSE COALESCE(zznum, 0) END AS q "
        "FROM {sale1} WHERE region = ? AND rq_1 >= ? AND rq_1 <= ?) l"));
    if (!q.prepare(sql)) fail(q.lastError().text());
    const QVariantList values{g->region, dateText(g->period.start), dateText(g->period.end)};
    for (auto _ : state) {
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec() || !q.next()) fail(q.lastError().text());
        if (q.value(0).toLongLong() != g->lines) fail(QStringLiteral("the aggregate counts other lines"));
        benchmark::DoNotOptimize(q.value(1).toDouble());
        q.finish();
    }
}

void readRows(benchmark::State &state)
{
    CostProcessing costs(*g->s, kWorkstation);
    costs.process(g->region, g->period.start, g->period.end);
    for (auto _ : state) benchmark::DoNotOptimize(costs.regionRows(g->region, true).size());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    bench::inMicroseconds(benchmark::RegisterBenchmark("costs/process", process));
    bench::inMicroseconds(benchmark::RegisterBenchmark("costs/aggregate", aggregate));
    bench::inMicroseconds(benchmark::RegisterBenchmark("costs/process_nosync", processNoSync));
    bench::inMicroseconds(benchmark::RegisterBenchmark("costs/read_rows", readRows));
    const QString n = QString::number(g->lines);
    const int code = bench::runAndReport(
        argc, argv,
        {{QStringLiteral("cost processing, one region, one period (%1 lines)").arg(n), QStringLiteral("costs/process"),
          QStringLiteral("costs/aggregate"), 2,
          QStringLiteral("rebuild of the cost rows in one transaction vs the bare gross-profit aggregate")},
         {QStringLiteral("cost processing without the commit's sync"), QStringLiteral("costs/process_nosync"),
          QStringLiteral("costs/aggregate"), 0, QStringLiteral("embedded engine with synchronous=OFF for this figure only")},
         {QStringLiteral("the region's cost rows read back"), QStringLiteral("costs/read_rows"),
          QStringLiteral("costs/aggregate"), 0, QStringLiteral("what the regional sheet reads")}});
    CostProcessing(*g->s, kWorkstation).clearRegion(g->region);
    return code;
}
