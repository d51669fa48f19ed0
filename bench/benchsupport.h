#pragma once
// What the benchmark programs share: where the data sets are, and the ratios
// printed after the run.
//
// The data sets are named by the environment (bench/run sets it):
//   FM_BENCH_ENGINE   sqlite (default) or postgres
//   FM_BENCH_TOP      the mill at the measured size: a folder with the SQLite
//                     catalogs, or a PostgreSQL database name
//   FM_BENCH_EMPTY    a new installation without customers or slips, the same way
//   FM_TEST_PG_HOST, FM_TEST_PG_PORT, FM_TEST_PG_USER  the PostgreSQL server
//
// A ratio is a benchmark's median time over its reference's median time,
// both taken in the same run. Each program ends with one line per figure,
//   FIGURE<TAB>engine<TAB>name<TAB>measured<TAB>reference<TAB>result<TAB>goal<TAB>verdict<TAB>note
// which bench/run gathers into its table.

#include "data/session.h"

#include <benchmark/benchmark.h>
#include <QString>
#include <memory>
#include <vector>

namespace fm::bench {

// The settings of a data set by its variable (FM_BENCH_TOP or FM_BENCH_EMPTY);
// exits with a message when it is not set.
ConnectionSettings dataSet(const char *variable);
std::unique_ptr<Session> openDataSet(const char *variable);
QString engineLabel(); // "sqlite" or "postgres"

struct Ratio {
    QString name;      // what the line of the table is called
    QString measured;  // benchmark name
    QString reference; // benchmark name
    double goal = 0;   // the ratio not to exceed; 0: shown for explanation only
    QString note;
    // The figure is a speed-up: reference ÷ measured is shown, and the goal
    // is the least it may be.
    bool speedUp = false;
};

// A benchmark whose median must stay under a time of its own.
struct TimeLimit {
    QString name;      // what the line of the table is called
    QString benchmark; // benchmark name
    double maxMicroseconds = 0;
    QString note;
};

// Every benchmark of these programs reports in microseconds.
inline benchmark::internal::Benchmark *inMicroseconds(benchmark::internal::Benchmark *b)
{
    return b->Unit(benchmark::kMicrosecond)->UseRealTime();
}

// Runs the registered benchmarks with the console output, then prints the
// ratios and the extra FIGURE lines (memory, say). Returns main()'s exit code.
int runAndReport(int argc, char **argv, const std::vector<Ratio> &ratios,
                 const std::vector<QString> &extraLines = {}, const std::vector<TimeLimit> &limits = {});

// A FIGURE line; verdict is "met", "MISSED" or "-" (no goal).
QString figureLine(const QString &name, const QString &measured, const QString &reference, const QString &result,
                   const QString &goal, const QString &verdict, const QString &note);

} // namespace fm::bench
