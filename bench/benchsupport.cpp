#include "benchsupport.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace fm::bench {

namespace {

// Keeps each benchmark's times per repetition (or its median aggregate)
// while the console reporter prints as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the output is also gathered by bench/run.
    CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.error_occurred) {
                m_failed << QString::fromStdString(r.run_name.function_name);
                continue;
            }
            const QString name = QString::fromStdString(r.run_name.function_name);
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "median") m_median.insert(name, r.GetAdjustedRealTime());
            } else {
                m_times[name].push_back(r.GetAdjustedRealTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median microseconds per iteration; negative when the benchmark did not run.
    double median(const QString &name) const
    {
        if (m_failed.contains(name)) return -1;
        if (m_median.contains(name)) return m_median.value(name);
        std::vector<double> t = m_times.value(name);
        if (t.empty()) return -1;
        std::sort(t.begin(), t.end());
        const size_t n = t.size();
        return n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
    }

private:
    QHash<QString, std::vector<double>> m_times;
    QHash<QString, double> m_median;
    QStringList m_failed;
};

QString micro(double us)
{
    return us >= 1000 ? QStringLiteral("%1 ms").arg(us / 1000, 0, 'f', 2) : QStringLiteral("%1 µs").arg(us, 0, 'f', 1);
}

} // namespace

QString engineLabel()
{
    const QString e = qEnvironmentVariable("FM_BENCH_ENGINE", QStringLiteral("sqlite"));
    return e == QLatin1String("postgres") ? e : QStringLiteral("sqlite");
}

ConnectionSettings dataSet(const char *variable)
{
    const QString where = qEnvironmentVariable(variable);
    if (where.isEmpty()) {
        std::fprintf(stderr, "%s is not set: run the benchmarks through bench/run\n", variable);
        std::exit(2);
    }
    ConnectionSettings cs;
    if (engineLabel() == QLatin1String("postgres")) {
        cs.engine = Engine::PostgreSQL;
        cs.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
        cs.port = qEnvironmentVariableIntValue("FM_TEST_PG_PORT");
        cs.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
        cs.database = where;
    } else {
        cs.engine = Engine::SQLite;
        cs.dataDir = where;
    }
    return cs;
}

std::unique_ptr<Session> openDataSet(const char *variable)
{
    try {
        return Session::open(dataSet(variable));
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n", variable, qPrintable(e.message()));
        std::exit(2);
    }
}

QString figureLine(const QString &name, const QString &measured, const QString &reference, const QString &result,
                   const QString &goal, const QString &verdict, const QString &note)
{
    return QStringList{QStringLiteral("FIGURE"), engineLabel(), name, measured, reference, result, goal, verdict, note}
        .join(QLatin1Char('\t'));
}

int runAndReport(int argc, char **argv, const std::vector<Ratio> &ratios, const std::vector<QString> &extraLines,
                 const std::vector<TimeLimit> &limits)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::cout.flush();
    for (const Ratio &r : ratios) {
        const double m = reporter.median(r.measured);
        const double ref = reporter.median(r.reference);
        if (m <= 0 || ref <= 0) continue; // filtered out or failed
        const double ratio = r.speedUp ? ref / m : m / ref;
        const QString goal = r.goal <= 0 ? QStringLiteral("-")
            : r.speedUp               ? QStringLiteral("≥ %1×").arg(r.goal, 0, 'f', 1)
                                      : QStringLiteral("≤ %1×").arg(r.goal, 0, 'f', 1);
        const bool met = r.speedUp ? ratio >= r.goal : ratio <= r.goal;
        const QString verdict = r.goal <= 0 ? QStringLiteral("-") : met ? QStringLiteral("met") : QStringLiteral("MISSED");
        std::printf("%s\n", qPrintable(figureLine(r.name, micro(m), micro(ref), QStringLiteral("%1×").arg(ratio, 0, 'f', 2),
                                                  goal, verdict, r.note)));
    }
    for (const TimeLimit &l : limits) {
        const double m = reporter.median(l.benchmark);
        if (m < 0) continue;
        std::printf("%s\n", qPrintable(figureLine(l.name, micro(m), QStringLiteral("-"), micro(m),
                                                  QStringLiteral("< %1").arg(micro(l.maxMicroseconds)),
                                                  m < l.maxMicroseconds ? QStringLiteral("met") : QStringLiteral("MISSED"),
                                                  l.note)));
    }
    for (const QString &l : extraLines) std::printf("%s\n", qPrintable(l));
    std::fflush(stdout);
    return 0;
}

} // namespace fm::bench
