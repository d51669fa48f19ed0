// Start-up at the top size against a new installation: the session opens,
// the operator is looked up and logs in, and the main window reads what it
// shows (turnover-number gate, operator, rights) and is ready for input.
//
// Peak memory: the same start-up runs once in a child process per case
// ("bench_startup --probe top|empty"), which reports its VmHWM.

#include "benchsupport.h"

#include "sales/turnovernumbers.h"
#include "shell/menutable.h"
#include "shell/operators.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace fm;

namespace {

const QString kOperator = QStringLiteral("admin");
const QString kPassword = QStringLiteral("admin");

// What the login window and then the main window's refresh do, in order.
// withLogin false leaves out the password check, whose hash is slow on
// purpose and the same at any size.
bool startUp(const ConnectionSettings &cs, bool withLogin)
{
    std::unique_ptr<Session> s = Session::open(cs);
    Operators operators(*s);
    if (!operators.find(kOperator)) return false; // Enter in the code field
    if (withLogin && !operators.login(kOperator, kPassword)) return false;
    const bool gate = !TurnoverNumbers(*s).isInitialised();
    std::optional<Operator> op;
    if (!gate) op = operators.find(kOperator);
    const std::vector<bool> enabled = menuEnabled(op ? op->rights : QString(), gate, gate || op.has_value());
    benchmark::DoNotOptimize(enabled);
    return !gate && op.has_value();
}

void runStartUp(benchmark::State &state, const char *variable, bool withLogin)
{
    const ConnectionSettings cs = bench::dataSet(variable);
    for (auto _ : state) {
        if (!startUp(cs, withLogin)) {
            state.SkipWithError("start-up failed: no operator admin/admin or turnover numbers not initialised");
            break;
        }
    }
}

long peakKilobytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The peak resident size of a child that starts up once, in kB.
long probe(const QString &which)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probe"), which});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        std::fprintf(stderr, "probe %s failed: %s\n", qPrintable(which), p.readAllStandardError().constData());
        return -1;
    }
    return p.readAllStandardOutput().trimmed().toLong();
}

QString megabytes(long kb) { return QStringLiteral("%1 MB").arg(double(kb) / 1024, 0, 'f', 1); }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--probe") == 0) {
        const bool top = std::strcmp(argv[2], "top") == 0;
        if (!startUp(bench::dataSet(top ? "FM_BENCH_TOP" : "FM_BENCH_EMPTY"), true)) return 1;
        std::printf("%ld\n", peakKilobytes());
        return 0;
    }

    // The new installation as after its first login: turnover numbers set, so
    // that both cases take the same path through the main window.
    {
        std::unique_ptr<Session> s = bench::openDataSet("FM_BENCH_EMPTY");
        TurnoverNumbers numbers(*s);
        if (!numbers.isInitialised()) numbers.initialise(QStringLiteral("0"));
    }

    const std::pair<const char *, const char *> cases[] = {{"empty", "FM_BENCH_EMPTY"}, {"top", "FM_BENCH_TOP"}};
    for (const bool withLogin : {true, false}) {
        for (const auto &c : cases) {
            const std::string name = std::string(withLogin ? "startup/" : "startup_without_hash/") + c.first;
            bench::inMicroseconds(benchmark::RegisterBenchmark(name.c_str(), runStartUp, c.second, withLogin));
        }
    }

    // Peak memory first, alternating the cases; the median of five each.
    std::vector<long> top, empty;
    for (int i = 0; i < 5; ++i) {
        empty.push_back(probe(QStringLiteral("empty")));
        top.push_back(probe(QStringLiteral("top")));
    }
    std::sort(top.begin(), top.end());
    std::sort(empty.begin(), empty.end());
    std::vector<QString> extra;
    if (top.front() > 0 && empty.front() > 0) {
        const long t = top[top.size() / 2], e = empty[empty.size() / 2];
        const long limit = 20 * 1024;
        extra.push_back(bench::figureLine(QStringLiteral("start-up peak memory (VmHWM)"), megabytes(t), megabytes(e),
                                   QString::asprintf("%+.1f MB", std::round(double(t - e) / 102.4) / 10 + 0.0),
                                   QStringLiteral("≤ +20 MB"), t - e <= limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                                   QStringLiteral("whole process, median of 5")));
    }

    return bench::runAndReport(argc, argv,
                               {{QStringLiteral("start-up (open, log in, main window)"), QStringLiteral("startup/top"),
                                 QStringLiteral("startup/empty"), 1.2, QStringLiteral("top size vs new installation")},
                                {QStringLiteral("start-up without the password hash"), QStringLiteral("startup_without_hash/top"),
                                 QStringLiteral("startup_without_hash/empty"), 0,
                                 QStringLiteral("the part that could grow with the data")}},
                               extra);
}
