// The arrears summary ("客户欠款汇总") for all customers and for one region,
// up to the last month of the data set: ArrearsSummary::rebuild, which
// empties khqk_cx, accumulates every customer's month records into it and
// reads back the customers it shows, in one transaction, against the bare
// aggregate of the same month records (GROUP BY customer), prepared once and
// read through a bare QSqlQuery (goal ≤ 2×).
//   arrears/all, arrears/all_aggregate         every customer
//   arrears/region, arrears/region_aggregate   the customers of the first region
// The generator writes no month records; the first run makes one per customer
// and calendar month of its fund rows (as settling every period would).

#include "benchsupport.h"

#include "accounts/arrearssummary.h"
#include "accounts/customerregister.h"
#include "common/clock.h"
#include "common/dates.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

using namespace fm;

namespace {

struct Fixture {
    std::unique_ptr<Session> s;
    QString cutOff;
    QDate today;
    Region region;
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

void makeMonthRecords(Session &s)
{
    const int customers = s.scalar(QStringLiteral("SELECT COUNT(*) FROM {zxkh}")).toInt();
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt() > customers) return;
    std::fprintf(stderr, "making the month records...\n");
    s.transaction([&] {
        s.execute(QStringLiteral(
            "INSERT INTO {khzqk} (khdm, khmc, region, ysje, sjje, sjqk, sjzq, tgf, rq) "
            "SELECT khdm, MIN(khmc), MIN(region), SUM(ysje), SUM(sjje), SUM(ysje) - SUM(sjje) - SUM(zzje), "
            "SUM(ysje) - SUM(sjje), SUM(zzje), substr(rq, 1, 7) FROM {khzj} j "
            "WHERE NOT EXISTS (SELECT 1 FROM {khzqk} q WHERE {ci:q.khdm} = {ci:j.khdm} AND q.rq = substr(j.rq, 1, 7)) "
            "GROUP BY khdm, substr(rq, 1, 7)"));
    });
    s.execDdl(QStringLiteral("ANALYZE ") + s.expand(QStringLiteral("{khzqk}")));
}

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    makeMonthRecords(s);
    g->cutOff = s.scalar(QStringLiteral("SELECT MAX(rq) FROM {khzqk}")).toString();
    g->today = QDate::currentDate();
    const auto regions = CustomerRegister(s).regions();
    if (regions.empty() || g->cutOff.isEmpty()) fail(QStringLiteral("the data set has no regions or month records"));
    g->region = regions.front();
    std::fprintf(stderr, "%d month records up to %s; region %s\n",
                 s.scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt(), qPrintable(g->cutOff),
                 qPrintable(g->region.code));
}

void rebuild(benchmark::State &state, bool all)
{
    ArrearsSummary summary(*g->s);
    const ArrearsScope scope = all ? ArrearsScope::all() : ArrearsScope::region(g->region.name, g->region.code);
    for (auto _ : state) {
        const ArrearsResult r = summary.rebuild(scope, g->cutOff, g->today);
        benchmark::DoNotOptimize(r.total);
    }
}

void aggregate(benchmark::State &state, bool all)
{
    Session &s = *g->s;
    QSqlQuery q(s.database());
    q.setForwardOnly(true);
    // The region's customers by the range of their code on the code index.
    const QString sql = QStringLiteral("SELECT {ci:khdm}, SUM(ysje), SUM(sjje), SUM(sjqk), SUM(sjzq), MAX(rq) FROM {khzqk} "
                                       "WHERE rq <= ?%1 GROUP BY {ci:khdm}")
                            .arg(all ? QString() : QStringLiteral(" AND {ci:khdm} >= ? AND {ci:khdm} < ?"));
    if (!q.prepare(s.expand(sql))) fail(q.lastError().text());
    QString next = g->region.code;
    next.back() = QChar(next.back().unicode() + 1);
    for (auto _ : state) {
        q.bindValue(0, g->cutOff);
        if (!all) {
            q.bindValue(1, g->region.code);
            q.bindValue(2, next);
        }
        if (!q.exec()) fail(q.lastError().text());
        double sum = 0;
        while (q.next()) sum += q.value(3).toDouble();
        q.finish();
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    bench::inMicroseconds(benchmark::RegisterBenchmark("arrears/all", rebuild, true));
    bench::inMicroseconds(benchmark::RegisterBenchmark("arrears/all_aggregate", aggregate, true));
    bench::inMicroseconds(benchmark::RegisterBenchmark("arrears/region", rebuild, false));
    bench::inMicroseconds(benchmark::RegisterBenchmark("arrears/region_aggregate", aggregate, false));
    return bench::runAndReport(
        argc, argv,
        {{QStringLiteral("arrears summary, all customers"), QStringLiteral("arrears/all"), QStringLiteral("arrears/all_aggregate"), 2,
          QStringLiteral("rebuild of khqk_cx in one transaction vs the bare GROUP BY")},
         {QStringLiteral("arrears summary, one region"), QStringLiteral("arrears/region"),
          QStringLiteral("arrears/region_aggregate"), 2, QStringLiteral("rebuild of khqk_cx in one transaction vs the bare GROUP BY")}});
}
