// The month's production cost summary on a generated month (100 products of
// ten production lines each, 40 raw materials drawn by 20 formulas on three
// days, a shift row per material and day), written into the empty
// installation's catalogs and removed again afterwards:
//   costsummary/summary     CostSummary::summarise, as "确认" runs it
//   costsummary/reference   the plain statement-by-statement computation of
//                           the tests' oracle (goal: the summary ≥ 50× faster)
//   costsummary/group_by    the bare GROUP BY statements that give the same
//                           figures, read through bare QSqlQuery (goal ≤ 2×)

#include "benchsupport.h"

#include "../tests/production/costsummaryreference.h"
#include "common/clock.h"
#include "production/costsummary.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>

using namespace fm;

namespace {

const QString kStart = QStringLiteral("2030-01-01");
const QString kEnd = QStringLiteral("2030-01-31");
const QStringList kTables{"velcpzk", "velcpk", "scylk", "scylxh", "ylhzk", "pfzlk", "zzfy", "cpcbhz", "ylhyhz"};

std::unique_ptr<Session> g;
FixedClock g_clock{QDateTime(QDate(2030, 2, 5), QTime(9, 0))};

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

void generate(Session &s)
{
    for (const QString &t : kTables)
        if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(t)).toInt() != 0)
            fail(QStringLiteral("the empty installation holds rows of %1").arg(t));
    QRandomGenerator rng(2030);
    s.transaction([&] {
        for (int f = 0; f < 20; ++f) s.insert(QStringLiteral("pfzlk"), {{"pfhm", QStringLiteral("F%1").arg(f)}});
        for (int m = 0; m < 40; ++m) {
            const QString code = QStringLiteral("m%1").arg(m, 3, 10, QLatin1Char('0'));
            s.insert(QStringLiteral("ylhzk"), {{"yldm", code}, {"ylmc", code}, {"bz_1", m % 7 == 0 ? "2" : "1"}});
            for (int d = 1; d <= 31; ++d)
                s.insert(QStringLiteral("scylxh"), {{"yldm", code}, {"sjxh", double(rng.bounded(5000))},
                                                    {"rq_1", QStringLiteral("2030-01-%1").arg(d, 2, 10, QLatin1Char('0'))}});
        }
        for (int f = 0; f < 20; ++f)
            for (int m = 0; m < 40; ++m)
                if ((f + m) % 3 == 0)
                    for (int d : {3, 13, 23})
                        s.insert(QStringLiteral("scylk"),
                                 {{"pfhm", QStringLiteral("F%1").arg(f)}, {"yldm", QStringLiteral("m%1").arg(m, 3, 10, QLatin1Char('0'))},
                                  {"pfbl", 1.0 + rng.bounded(10)}, {"yljg", 1000.0 + rng.bounded(3000)},
                                  {"rq_1", QStringLiteral("2030-01-%1").arg(d, 2, 10, QLatin1Char('0'))}, {"bz", "1"}});
        const char *kinds[] = {"", "", "", "", "生产输入", "杂料回机", "掺拌生产", "换包"};
        for (int p = 0; p < 100; ++p) {
            const QString code = QStringLiteral("P%1").arg(p, 3, 10, QLatin1Char('0'));
            s.insert(QStringLiteral("velcpzk"), {{"cpdm", code}, {"cpmc", code}, {"cpgg", "40"}, {"sccb", 2000.0},
                                                 {"cpbz", p % 3 ? "1" : "0"}});
            for (int l = 0; l < 10; ++l)
                s.insert(QStringLiteral("velcpk"),
                         {{"cpdm", code}, {"scsl", 1000.0 + rng.bounded(40000)}, {"sccb", 2100.0},
                          {"pfhm", QStringLiteral("F%1").arg(rng.bounded(20))},
                          {"scrq_1", QStringLiteral("2030-01-%1").arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'))},
                          {"txm", QString::fromUtf8(kinds[rng.bounded(8)])}, {"bzdje", 300.0}, {"qtbzje", 0.0},
                          {"bqje", 20.0}, {"fwbqje", 5.0}});
        }
        s.insert(QStringLiteral("zzfy"), {{"rq_1", "203001"}, {"qf", 5000.0}, {"gz", 30000.0}, {"df", 20000.0}, {"qt", 1000.0}});
    });
}

void removeMonth(Session &s)
{
    s.transaction([&] {
        for (const QString &t : kTables) s.execute(QStringLiteral("DELETE FROM {%1}").arg(t));
    });
}

void summary(benchmark::State &state)
{
    CostSummary c(*g, g_clock);
    for (auto _ : state) benchmark::DoNotOptimize(c.summarise(kStart, kEnd).totals.tonnes);
}

void reference(benchmark::State &state)
{
    for (auto _ : state) benchmark::DoNotOptimize(test::referenceSummary(*g, kStart, kEnd).products.size());
}

// The figures as bare aggregates: per product its tonnes, packaging, labels
// and finished cost; per product and class, and per material, the theoretical
// use at each formula's earliest row; per material the shifts' actual use.
void groupBy(benchmark::State &state)
{
    const QString drawn = QStringLiteral(
        "(SELECT lower(pfhm) AS f, lower(yldm) AS m, pfbl, yljg FROM (SELECT pfhm, yldm, pfbl, yljg, ROW_NUMBER() OVER "
        "(PARTITION BY lower(pfhm), lower(yldm) ORDER BY rq_1, rq_0, id) AS n FROM {scylk} WHERE rq_1 >= ? AND rq_1 <= ?) x "
        "WHERE n = 1)");
    const QString normal = QStringLiteral("(SELECT lower(cpdm) AS p, lower(pfhm) AS f, scsl FROM {velcpk} WHERE scrq_1 >= ? "
                                          "AND scrq_1 <= ? AND COALESCE(txm, '') NOT IN ('杂料回机', '掺拌生产', '换包'))");
    const QStringList statements{
        QStringLiteral("SELECT lower(cpdm), SUM(scsl) / 1000, "
                       "SUM(CASE WHEN txm = '杂料回机' THEN 0 ELSE bzdje + qtbzje END), "
                       "SUM(CASE WHEN txm = '杂料回机' THEN 0 ELSE bqje + fwbqje END), "
                       "SUM(CASE WHEN txm IN ('掺拌生产', '换包') THEN scsl / 1000 * sccb ELSE 0 END) "
                       "FROM {velcpk} WHERE scrq_1 >= ? AND scrq_1 <= ? GROUP BY lower(cpdm)"),
        QStringLiteral("SELECT l.p, k.bz_1, SUM(d.pfbl * l.scsl / 1000 / 100 * d.yljg) FROM %1 l JOIN %2 d ON d.f = l.f "
                       "JOIN {ylhzk} k ON lower(k.yldm) = d.m GROUP BY l.p, k.bz_1")
            .arg(normal, drawn),
        QStringLiteral("SELECT d.m, SUM(d.pfbl * l.scsl / 1000 / 100), SUM(d.pfbl * l.scsl / 1000 / 100 * d.yljg) FROM %1 l "
                       "JOIN %2 d ON d.f = l.f GROUP BY d.m")
            .arg(normal, drawn),
        QStringLiteral("SELECT lower(yldm), SUM(sjxh) / 1000 FROM {scylxh} WHERE rq_1 >= ? AND rq_1 <= ? GROUP BY lower(yldm)")};
    const std::vector<QVariantList> values{{kStart, kEnd}, {kStart, kEnd, kStart, kEnd}, {kStart, kEnd, kStart, kEnd}, {kStart, kEnd}};
    std::vector<std::unique_ptr<QSqlQuery>> queries;
    for (const QString &sql : statements) {
        auto q = std::make_unique<QSqlQuery>(g->database());
        q->setForwardOnly(true);
        if (!q->prepare(g->expand(sql))) fail(q->lastError().text());
        queries.push_back(std::move(q));
    }
    for (auto _ : state) {
        double sum = 0;
        for (size_t i = 0; i < queries.size(); ++i) {
            QSqlQuery &q = *queries[i];
            for (int v = 0; v < values[i].size(); ++v) q.bindValue(v, values[i][v]);
            if (!q.exec()) fail(q.lastError().text());
            while (q.next()) sum += q.value(q.record().count() - 1).toDouble();
            q.finish();
        }
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    g = bench::openDataSet("FM_BENCH_EMPTY");
    generate(*g);
    // The two computations agree before they are timed.
    const test::Reference ref = test::referenceSummary(*g, kStart, kEnd);
    const CostSummaryOutcome out = CostSummary(*g, g_clock).summarise(kStart, kEnd);
    if (ref.products.size() != out.products.size() || ref.materials.size() != out.materials.size())
        fail(QStringLiteral("the summary and the reference disagree"));
    std::fprintf(stderr, "cost summary of %zu products, %zu materials\n", out.products.size(), out.materials.size());
    bench::inMicroseconds(benchmark::RegisterBenchmark("costsummary/summary", summary));
    bench::inMicroseconds(benchmark::RegisterBenchmark("costsummary/reference", reference))->Iterations(1);
    bench::inMicroseconds(benchmark::RegisterBenchmark("costsummary/group_by", groupBy));
    const int code = bench::runAndReport(
        argc, argv,
        {{QStringLiteral("production cost summary, one month (1000 lines)"), QStringLiteral("costsummary/summary"),
          QStringLiteral("costsummary/reference"), 50, QStringLiteral("set-based summary vs a statement per product, material and line"),
          true},
         {QStringLiteral("production cost summary vs its bare aggregates"), QStringLiteral("costsummary/summary"),
          QStringLiteral("costsummary/group_by"), 2,
          QStringLiteral("the summary's reads, computation, rewrite and commit vs the GROUP BY statements alone")}});
    removeMonth(*g);
    return code;
}
