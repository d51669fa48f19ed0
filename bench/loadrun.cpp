#include "loadrun.h"

#include "accounts/customers.h"
#include "common/clock.h"
#include "common/dates.h"
#include "data/seed.h"
#include "data/session.h"
#include "production/productionfixture.h"
#include "production/productionruns.h"
#include "sales/corrections.h"
#include "sales/payments.h"
#include "sales/returns.h"
#include "sales/salesfixture.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "warehouse/materialdesk.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace fm::load {

namespace {

// The kinds of work a workstation does, with how often it picks each.
enum Op { Slip, Return, Correction, Payment, Receipt, Issue, Production, OpCount };
const char *const kOpNames[OpCount] = {"slip", "return", "correction", "payment", "receipt", "issue", "production"};
const int kOpWeights[OpCount] = {30, 14, 10, 13, 12, 13, 8};

const QStringList kCustomers{QStringLiteral("1100001"), QStringLiteral("1100002")};
const QStringList kProducts{QStringLiteral("n40"), QStringLiteral("q25"), QStringLiteral("y05")};
const QStringList kMaterials{QStringLiteral("yumi"), QStringLiteral("doupo")};
constexpr double kProductBase = 100000; // kg of each product at the start
constexpr double kMaterialBase = 50000; // kg of each material at the start
const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));

struct Options {
    int processes = 2;
    double seconds = 3;
    QString engine;
    // The checker's own test: breaches are planted after the run and must
    // all be caught.
    bool breach = false;
    // Child only.
    int child = -1;
    QString dataDir, database, go;
};

Options parse(const QStringList &args)
{
    Options o;
    o.engine = qEnvironmentVariable("FM_BENCH_ENGINE", QStringLiteral("sqlite"));
    for (int i = 1; i < args.size(); i += 2) {
        const QString &k = args[i];
        if (k == QLatin1String("--breach")) {
            o.breach = true;
            --i;
            continue;
        }
        const QString v = args.value(i + 1);
        if (k == QLatin1String("--processes")) o.processes = std::max(1, v.toInt());
        else if (k == QLatin1String("--seconds")) o.seconds = v.toDouble();
        else if (k == QLatin1String("--engine")) o.engine = v;
        else if (k == QLatin1String("--child")) o.child = v.toInt();
        else if (k == QLatin1String("--data")) o.dataDir = v;
        else if (k == QLatin1String("--database")) o.database = v;
        else if (k == QLatin1String("--go")) o.go = v;
        else {
            std::fprintf(stderr, "unknown option %s\n"
                                 "usage: %s [--processes N] [--seconds S] [--engine sqlite|postgres] [--breach]\n",
                         qPrintable(k), qPrintable(args[0]));
            std::exit(2);
        }
    }
    return o;
}

ConnectionSettings settingsFor(const Options &o)
{
    ConnectionSettings cs;
    if (o.engine == QLatin1String("postgres")) {
        cs.engine = Engine::PostgreSQL;
        cs.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
        cs.port = qEnvironmentVariableIntValue("FM_TEST_PG_PORT");
        cs.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
        cs.database = o.database;
    } else {
        cs.dataDir = o.dataDir;
    }
    // A workstation under load waits a while for a lock, as a clerk would.
    cs.lockTimeoutMs = 10000;
    return cs;
}

// One line of the child's log, written at once so that a kill loses none.
void say(const QString &line)
{
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fflush(stdout);
}

// ---- the workstation ----------------------------------------------------

class Workstation {
public:
    Workstation(Session &s, int number)
        : m_s(s), m_clock(kNow), m_slip(s, m_clock, QStringLiteral("admin"), QStringLiteral("ws%1").arg(number)),
          m_rng(QRandomGenerator::securelySeeded())
    {
    }

    // Opens the sales window, which brings back a slip a kill interrupted.
    void open()
    {
        guarded(Slip, [&] {
            if (m_slip.openWindow()) closeSlip();
        });
    }

    void runUntil(qint64 deadlineMs, const QElapsedTimer &clock)
    {
        while (clock.elapsed() < deadlineMs) {
            const Op op = pick();
            guarded(op, [&] { perform(op); });
        }
        // The last slip is paid before the workstation goes home.
        guarded(Slip, [&] {
            if (m_slip.isOpen() && m_slip.linesEntered() > 0) closeSlip();
        });
    }

    void printStats() const
    {
        QStringList per;
        for (int i = 0; i < OpCount; ++i) per << QString::number(m_done[i]);
        say(QStringLiteral("stats %1 %2 %3 %4 %5 %6 %7")
                .arg(m_ops)
                .arg(m_conflicts)
                .arg(m_s.transactionRetries())
                .arg(m_refusals)
                .arg(m_worstMs)
                .arg(m_raw)
                .arg(per.join(QLatin1Char(' '))));
    }

private:
    Op pick()
    {
        int r = int(m_rng.bounded(100));
        for (int i = 0; i < OpCount; ++i) {
            if (r < kOpWeights[i]) return Op(i);
            r -= kOpWeights[i];
        }
        return Slip;
    }
    template<typename T> const T &any(const QList<T> &list) { return list[int(m_rng.bounded(int(list.size())))]; }
    double between(double lo, double hi) { return lo + m_rng.generateDouble() * (hi - lo); }

    // Runs one piece of work and sorts what went wrong: a refusal of the
    // business is part of the day; a lock another workstation held is a
    // conflict the clerk is told about; any other database failure is a
    // raw error, which is a breach.
    void guarded(Op op, const std::function<void()> &work)
    {
        QElapsedTimer t;
        t.start();
        try {
            work();
            ++m_done[op];
        } catch (const DomainError &) {
            ++m_refusals;
        } catch (const DbError &e) {
            if (e.kind() == DbError::Kind::Deadlock || e.kind() == DbError::Kind::LockTimeout) {
                ++m_conflicts;
            } else {
                ++m_raw;
                say(QStringLiteral("raw %1 %2: %3").arg(kOpNames[op]).arg(int(e.kind())).arg(e.rawText().simplified()));
            }
        } catch (const std::exception &e) {
            ++m_raw;
            say(QStringLiteral("raw %1 exception: %2").arg(kOpNames[op], QString::fromUtf8(e.what()).simplified()));
        }
        ++m_ops;
        m_worstMs = std::max(m_worstMs, t.elapsed());
    }

    void closeSlip()
    {
        if (m_slip.state() != SalesSlip::State::Paying) m_slip.startPayment();
        const double received = std::round(between(0, m_slip.totals().amount) * 100) / 100;
        const qint64 funds = m_slip.close(received);
        say(QStringLiteral("slip %1 %2").arg(m_slip.number()).arg(funds));
    }

    void perform(Op op)
    {
        switch (op) {
        case Slip: sellSlip(); break;
        case Return: takeReturn(); break;
        case Correction: correctReturn(); break;
        case Payment: {
            const std::optional<Customer> c = findCustomer(m_s, any(kCustomers));
            Payments(m_s, m_clock, QStringLiteral("admin")).record(*c, 0, std::round(between(1, 5000)), 0);
            break;
        }
        case Receipt: {
            ReceiptEntry e;
            e.materialCode = any(kMaterials);
            e.supplierCode = QStringLiteral("g01");
            e.contract = QStringLiteral("HT-1");
            e.tonnes = std::round(between(0.5, 5) * 1000) / 1000;
            e.pricePerTonne = std::round(between(1800, 3200));
            MaterialDesk(m_s, m_clock, QStringLiteral("op001")).receive(e);
            break;
        }
        case Issue: {
            const IssueEntry e{any(kMaterials), std::round(between(0.1, 3) * 1000) / 1000, QStringLiteral("w0001"),
                               QStringLiteral("一车间"), IssueKind::Production};
            MaterialDesk(m_s, m_clock, QStringLiteral("op001")).issue(e);
            break;
        }
        case Production: produce(); break;
        case OpCount: break;
        }
    }

    // A team's run of the one formula, booked as one product; now and then
    // the clerk cancels it instead.
    void produce()
    {
        ProductionRuns runs(m_s, m_clock);
        if (!runs.openFormula(QStringLiteral("1401"))) throw DomainError(QStringLiteral("no formula"));
        RunHead h;
        h.team = m_rng.bounded(2) ? QStringLiteral("01") : QStringLiteral("02");
        h.previousTeam = h.team == QLatin1String("01") ? QStringLiteral("02") : QStringLiteral("01");
        h.formula = QStringLiteral("1401");
        h.formulaName = QStringLiteral("猪全价料");
        h.date = dateText(m_clock.today());
        h.production = std::round(between(500, 3000));
        const ProductionRun run = runs.draw(h, 0);
        try {
            if (m_rng.bounded(6) == 0) runs.cancel(run);
            else runs.confirm(run, {ProductSlot{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), h.production}});
        } catch (const DbError &) {
            // The window keeps the run and the clerk cancels it.
            try {
                runs.cancel(run);
            } catch (const std::exception &) {
            }
            throw;
        }
    }

    void sellSlip()
    {
        // A slip a conflict interrupted is paid first, as the window insists.
        if (m_slip.isOpen() && m_slip.linesEntered() > 0) {
            closeSlip();
            return;
        }
        m_slip.start();
        m_slip.enterCustomer(any(kCustomers));
        const int lines = 1 + int(m_rng.bounded(3));
        for (int i = 0; i < lines; ++i) {
            const std::optional<ProductQuote> q = m_slip.quote(any(kProducts));
            QString unit = SalesSlip::unitFor(q->category, q->spec);
            if (unit.isEmpty()) unit = QStringLiteral("袋");
            m_slip.confirmLine(m_slip.prepareLine(*q, q->price, 1 + int(m_rng.bounded(20)), unit));
        }
        closeSlip();
    }

    // One of the latest sale lines of the customer is brought back, in part.
    void takeReturn()
    {
        const QString code = any(kCustomers);
        const std::optional<Row> sold = m_s.row(
            QStringLiteral("SELECT id FROM {sale1} WHERE khdm = ? AND bz_1 = '1' ORDER BY id DESC {first:1}"), {code});
        if (!sold) return;
        Returns r(m_s, m_clock, QStringLiteral("admin"));
        const std::optional<Purchase> p = r.purchase(sold->id(), false);
        const std::optional<Customer> c = r.customer(code);
        if (!p || !c) return;
        QString unit = Returns::unitFor(p->cpgg);
        if (unit.isEmpty()) unit = QStringLiteral("袋");
        const double bags = 1;
        const PreparedReturn prepared = r.prepare(*p, bags, unit, Returns::kilograms(unit, bags, p->cpgg, 10));
        r.confirm(*c, prepared, dateText(m_clock.today()));
    }

    // One of the latest returns is changed, or now and then deleted.
    void correctReturn()
    {
        const Rows recent = m_s.rows(
            QStringLiteral("SELECT id, kpjg FROM {sale1} WHERE bz_1 = '3' ORDER BY id DESC {first:5}"));
        if (recent.empty()) return;
        const Row &line = recent[size_t(m_rng.bounded(int(recent.size())))];
        Corrections c(m_s, QStringLiteral("admin"));
        if (m_rng.bounded(5) == 0) c.deleteReturnLine(line.id());
        else c.modifyReturnLine(line.id(), 1 + int(m_rng.bounded(60)), line.number(QStringLiteral("kpjg")));
    }

    Session &m_s;
    FixedClock m_clock;
    SalesSlip m_slip;
    QRandomGenerator m_rng;
    qint64 m_ops = 0, m_conflicts = 0, m_refusals = 0, m_raw = 0, m_worstMs = 0;
    qint64 m_done[OpCount] = {};
};

int runChild(const Options &o)
{
    std::unique_ptr<Session> s;
    try {
        s = Session::open(settingsFor(o));
    } catch (const DbError &e) {
        say(QStringLiteral("raw open %1: %2").arg(int(e.kind())).arg(e.rawText().simplified()));
        return 1;
    }
    Workstation ws(*s, o.child);
    ws.open();
    say(QStringLiteral("ready"));
    if (!o.go.isEmpty())
        while (!QFile::exists(o.go)) QThread::msleep(2);
    QElapsedTimer clock;
    clock.start();
    ws.runUntil(qint64(o.seconds * 1000), clock);
    ws.printStats();
    return 0;
}

// ---- the catalogs -------------------------------------------------------

// A fresh set of catalogs for one run, removed afterwards.
class Catalogs {
public:
    explicit Catalogs(Options &o) : m_o(o)
    {
        if (o.engine == QLatin1String("postgres")) {
            if (qEnvironmentVariable("FM_TEST_PG_PORT").isEmpty()) {
                m_unavailable = true;
                return;
            }
            o.database = QStringLiteral("fmload_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
            ConnectionSettings cs = settingsFor(o);
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("fm-load-admin"));
            admin.setHostName(cs.host);
            admin.setPort(cs.port);
            admin.setUserName(cs.user);
            admin.setDatabaseName(QStringLiteral("postgres"));
            if (!admin.open()) qFatal("cannot reach PostgreSQL: %s", qPrintable(admin.lastError().text()));
            QSqlQuery q(admin);
            if (!q.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(o.database)))
                qFatal("cannot create the database: %s", qPrintable(q.lastError().text()));
        } else {
            o.engine = QStringLiteral("sqlite");
            o.dataDir = m_dir.path();
        }
        session = Session::open(settingsFor(o), true);
        session->createSchema();
    }
    ~Catalogs()
    {
        session.reset();
        if (m_o.database.isEmpty()) return;
        {
            QSqlDatabase admin = QSqlDatabase::database(QStringLiteral("fm-load-admin"), false);
            QSqlQuery q(admin);
            q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_o.database));
            admin.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fm-load-admin"));
    }
    bool unavailable() const { return m_unavailable; }
    QString logDir() const { return m_logs.path(); }

    std::unique_ptr<Session> session;

private:
    Options &m_o;
    QTemporaryDir m_dir, m_logs;
    bool m_unavailable = false;
};

// The small mill the workstations work in: the sales customers and
// products, two materials in stock, a supplier and a worker.
void seedMill(Session &s)
{
    const FixedClock clock(kNow);
    seedNewInstallation(s, clock, SeedOptions{});
    test::loadSalesFixture(s);
    test::loadProductionFixture(s);
    TurnoverNumbers(s).initialise(QStringLiteral("1000"));
    s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = ?"), {kProductBase});
    s.insert(QStringLiteral("ylpzk"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 2.0}});
    s.insert(QStringLiteral("ylpzk"), {{"yldm", "doupo"}, {"ylmc", "豆粕"}, {"descip", "1"}, {"s0", 3.0}});
    for (const QString &m : kMaterials)
        s.insert(QStringLiteral("ylhzk"), {{"yldm", m}, {"ylmc", m}, {"yldj", "1"}, {"ylsl", kMaterialBase},
                                           {"yljg", 2000.0}, {"rq_1", "2026-11"}, {"bz_1", "1"}});
    s.insert(QStringLiteral("gyszlk"), {{"gysdm", "g01"}, {"gysmc", "粮站"}, {"gysaddr", " "}, {"gystel", " "}, {"gysbz", ""}});
    s.insert(QStringLiteral("bzry"), {{"rydm", "w0001"}, {"rymc", "张三"}, {"bzdm", "01"}, {"rq", "2026-01-01"}});
}

// ---- the children -------------------------------------------------------

struct Totals {
    qint64 ops = 0, conflicts = 0, retries = 0, refusals = 0, worstMs = 0, raw = 0, kills = 0, children = 0;
    qint64 done[OpCount] = {};
    QHash<QString, qint64> slips; // turnover number -> funds row, as the workstations closed them
    QStringList duplicateSlips;
    QStringList rawErrors;
};

void readLog(const QString &path, Totals &t)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const QStringList w = line.split(QLatin1Char(' '));
        if (w.value(0) == QLatin1String("slip") && w.size() == 3) {
            if (t.slips.contains(w[1])) t.duplicateSlips << w[1];
            t.slips.insert(w[1], w[2].toLongLong());
        } else if (w.value(0) == QLatin1String("raw")) {
            t.rawErrors << line;
        } else if (w.value(0) == QLatin1String("stats") && w.size() == 7 + OpCount) {
            t.ops += w[1].toLongLong();
            t.conflicts += w[2].toLongLong();
            t.retries += w[3].toLongLong();
            t.refusals += w[4].toLongLong();
            t.worstMs = std::max(t.worstMs, w[5].toLongLong());
            t.raw += w[6].toLongLong();
            for (int i = 0; i < OpCount; ++i) t.done[i] += w[7 + i].toLongLong();
        }
    }
}

QStringList childArgs(const Options &o, int child, double seconds, const QString &go)
{
    QStringList a{QStringLiteral("--child"), QString::number(child), QStringLiteral("--seconds"), QString::number(seconds),
                  QStringLiteral("--engine"), o.engine};
    if (!o.dataDir.isEmpty()) a << QStringLiteral("--data") << o.dataDir;
    if (!o.database.isEmpty()) a << QStringLiteral("--database") << o.database;
    if (!go.isEmpty()) a << QStringLiteral("--go") << go;
    return a;
}

std::unique_ptr<QProcess> startChild(const Options &o, int child, double seconds, const QString &go, const QString &log)
{
    auto p = std::make_unique<QProcess>();
    p->setProgram(QCoreApplication::applicationFilePath());
    p->setArguments(childArgs(o, child, seconds, go));
    p->setStandardOutputFile(log);
    p->setStandardErrorFile(log + QStringLiteral(".err"));
    p->start();
    if (!p->waitForStarted(10000)) qFatal("cannot start a workstation process");
    return p;
}

// Every workstation working at once for the whole time.
void runWorkstations(const Options &o, const QString &logs, Totals &t)
{
    const QString go = logs + QStringLiteral("/go");
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < o.processes; ++i)
        children.push_back(startChild(o, i, o.seconds, go, logs + QStringLiteral("/ws%1.log").arg(i)));
    // They start together once each has opened its window.
    QElapsedTimer wait;
    wait.start();
    for (int i = 0; i < o.processes; ++i) {
        const QString log = logs + QStringLiteral("/ws%1.log").arg(i);
        while (wait.elapsed() < 60000) {
            QFile f(log);
            if (f.open(QIODevice::ReadOnly) && f.readAll().contains("ready")) break;
            if (children[size_t(i)]->state() == QProcess::NotRunning) break;
            QThread::msleep(5);
        }
    }
    QFile(go).open(QIODevice::WriteOnly);
    for (auto &c : children) {
        if (!c->waitForFinished(int(o.seconds * 1000) + 120000)) {
            c->kill();
            c->waitForFinished();
            t.rawErrors << QStringLiteral("a workstation did not finish in time");
        } else if (c->exitStatus() != QProcess::NormalExit || c->exitCode() != 0) {
            t.rawErrors << QStringLiteral("a workstation ended with code %1").arg(c->exitCode());
        }
    }
    t.children = o.processes;
    for (int i = 0; i < o.processes; ++i) readLog(logs + QStringLiteral("/ws%1.log").arg(i), t);
}

// Workstations killed at random moments, again and again, for the time
// given; then each opens once more and pays the slip its kill interrupted.
void runKills(const Options &o, const QString &logs, Totals &t)
{
    QRandomGenerator rng = QRandomGenerator::securelySeeded();
    QElapsedTimer all;
    all.start();
    int round = 0;
    while (all.elapsed() < qint64(o.seconds * 1000)) {
        std::vector<std::unique_ptr<QProcess>> children;
        std::vector<qint64> killAt;
        QElapsedTimer started;
        started.start();
        for (int i = 0; i < o.processes; ++i) {
            children.push_back(startChild(o, i, 30, QString(), logs + QStringLiteral("/r%1-ws%2.log").arg(round).arg(i)));
            killAt.push_back(100 + rng.bounded(700));
        }
        for (int i = 0; i < o.processes; ++i) {
            QProcess &c = *children[size_t(i)];
            const qint64 left = killAt[size_t(i)] - started.elapsed();
            if (left > 0 && c.waitForFinished(int(left))) continue;
            if (c.state() != QProcess::NotRunning) {
                c.kill(); // SIGKILL: no destructor, no rollback of our own
                ++t.kills;
            }
            c.waitForFinished();
        }
        for (int i = 0; i < o.processes; ++i) readLog(logs + QStringLiteral("/r%1-ws%2.log").arg(round).arg(i), t);
        t.children += o.processes;
        ++round;
    }
    for (int i = 0; i < o.processes; ++i) {
        const QString log = logs + QStringLiteral("/finish-ws%1.log").arg(i);
        std::unique_ptr<QProcess> c = startChild(o, i, 0, QString(), log);
        c->waitForFinished(120000);
        readLog(log, t);
    }
}

// ---- the invariants -----------------------------------------------------

bool near(double a, double b, double tolerance = 0.005) { return std::abs(a - b) <= tolerance; }

QStringList checkInvariants(Session &s, const Totals &t, Mode mode)
{
    QStringList breaches;
    const auto count = [&](const QString &sql) { return s.scalar(sql).toLongLong(); };

    for (const QString &n : t.duplicateSlips) breaches << QStringLiteral("turnover number %1 closed twice").arg(n);
    if (const qint64 n = count(QStringLiteral("SELECT COUNT(*) FROM (SELECT zzhm FROM {sale1} WHERE bz_1 = '1' "
                                              "GROUP BY zzhm HAVING COUNT(DISTINCT khdm) > 1) x")))
        breaches << QStringLiteral("%1 turnover numbers carry lines of several customers").arg(n);
    // A kill between the counter and the window's reopening restarts the
    // serial number past 300, so only an uninterrupted run holds them unique.
    if (mode == Mode::Workstations) {
        if (const qint64 n = count(QStringLiteral("SELECT COUNT(*) FROM (SELECT recnum FROM {sale1} GROUP BY recnum "
                                                  "HAVING COUNT(*) > 1) x")))
            breaches << QStringLiteral("%1 serial numbers used twice").arg(n);
    }

    // Each closed slip's funds row holds its lines' totals.
    for (auto it = t.slips.cbegin(); it != t.slips.cend(); ++it) {
        const std::optional<Row> funds = s.row(QStringLiteral("SELECT ysje, sjxl FROM {khzj} WHERE id = ?"), {it.value()});
        const std::optional<Row> lines = s.row(QStringLiteral("SELECT COALESCE(SUM(zzje), 0) AS amount, "
                                                              "COALESCE(SUM(zznum), 0) AS kg FROM {sale1} "
                                                              "WHERE zzhm = ? AND bz_1 = '1'"), {it.key()});
        if (!funds) {
            breaches << QStringLiteral("slip %1: funds row %2 missing").arg(it.key()).arg(it.value());
        } else if (!near(funds->number(QStringLiteral("ysje")), lines->number(QStringLiteral("amount")))
                   || !near(funds->number(QStringLiteral("sjxl")), lines->number(QStringLiteral("kg")), 0.001)) {
            breaches << QStringLiteral("slip %1: funds %2 元 %3 kg, lines %4 元 %5 kg")
                            .arg(it.key())
                            .arg(funds->number(QStringLiteral("ysje")))
                            .arg(funds->number(QStringLiteral("sjxl")))
                            .arg(lines->number(QStringLiteral("amount")))
                            .arg(lines->number(QStringLiteral("kg")));
        }
    }
    // Every slip was paid at the end, so the slips' funds rows together
    // equal all the lines sold (payments receive, they add no receivable).
    const qint64 open = count(QStringLiteral("SELECT COUNT(DISTINCT p.zzhm) FROM {khprn} p JOIN {sale1} l "
                                             "ON l.zzhm = p.zzhm AND l.bz_1 = '1' WHERE p.zzhm <> ''"));
    if (open) breaches << QStringLiteral("%1 slips left unpaid").arg(open);
    const std::optional<Row> sold = s.row(QStringLiteral("SELECT COALESCE(SUM(zzje), 0) AS amount, COALESCE(SUM(zznum), 0) AS kg "
                                                         "FROM {sale1} WHERE bz_1 = '1'"));
    const std::optional<Row> billed = s.row(QStringLiteral("SELECT COALESCE(SUM(ysje), 0) AS amount, COALESCE(SUM(sjxl), 0) AS kg "
                                                           "FROM {khzj} WHERE sale1_id IS NULL"));
    if (!near(sold->number(QStringLiteral("amount")), billed->number(QStringLiteral("amount")), 0.05)
        || !near(sold->number(QStringLiteral("kg")), billed->number(QStringLiteral("kg")), 0.01))
        breaches << QStringLiteral("slips' funds rows %1 元 %2 kg, lines sold %3 元 %4 kg")
                        .arg(billed->number(QStringLiteral("amount")), 0, 'f', 2)
                        .arg(billed->number(QStringLiteral("kg")), 0, 'f', 2)
                        .arg(sold->number(QStringLiteral("amount")), 0, 'f', 2)
                        .arg(sold->number(QStringLiteral("kg")), 0, 'f', 2);

    // A return line, its register row and its funds row agree.
    if (const qint64 n = count(QStringLiteral(
            "SELECT COUNT(*) FROM {sale1} l LEFT JOIN {khtl} t ON t.sale1_id = l.id LEFT JOIN {khzj} z ON z.sale1_id = l.id "
            "WHERE l.bz_1 = '3' AND (t.id IS NULL OR z.id IS NULL OR ABS(t.tlnum - l.tlnum) > 0.001 "
            "OR ABS(t.tlje - l.kpje) > 0.005 OR ABS(z.sjxl - l.tlnum) > 0.001 OR ABS(z.ysje + l.kpje) > 0.005)")))
        breaches << QStringLiteral("%1 returns disagree with their register or funds rows").arg(n);
    const qint64 returns = count(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE bz_1 = '3'"));
    if (count(QStringLiteral("SELECT COUNT(*) FROM {khtl}")) != returns)
        breaches << QStringLiteral("register rows of returns without their line, or twice");
    if (count(QStringLiteral("SELECT COUNT(*) FROM {khzj} WHERE sale1_id IS NOT NULL")) != returns)
        breaches << QStringLiteral("funds rows of returns without their line, or twice");

    // Product stock moved by the returns only (sales leave it to production).
    for (const QString &p : kProducts) {
        const double stock = s.scalar(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = ?"), {p}).toDouble();
        const double returned = s.scalar(QStringLiteral("SELECT COALESCE(SUM(tlnum), 0) FROM {sale1} "
                                                        "WHERE bz_1 = '3' AND cpdm = ?"), {p}).toDouble();
        if (!near(stock, kProductBase + returned, 0.001))
            breaches << QStringLiteral("product %1: stock %2 kg, start plus returns %3 kg").arg(p).arg(stock).arg(kProductBase + returned);
    }
    // The produced product's stock is its production lines, in one stock row.
    {
        const double stock = s.scalar(QStringLiteral("SELECT COALESCE(SUM(scsl), 0) FROM {velcpzk} WHERE cpdm = 'p401'")).toDouble();
        const double made = s.scalar(QStringLiteral("SELECT COALESCE(SUM(scsl), 0) FROM {velcpk} WHERE cpdm = 'p401'")).toDouble();
        if (!near(stock, made, 0.001))
            breaches << QStringLiteral("product p401: stock %1 kg, production lines %2 kg").arg(stock).arg(made);
        if (count(QStringLiteral("SELECT COUNT(*) FROM {velcpzk} WHERE cpdm = 'p401'")) > 1)
            breaches << QStringLiteral("product p401 has several stock rows");
    }
    // Every run was confirmed or cancelled; a killed one stays drawn, as its window would have held it.
    if (mode == Mode::Workstations) {
        if (const qint64 n = count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE COALESCE(bz, '') <> '1'")))
            breaches << QStringLiteral("%1 raw-material lines of runs neither confirmed nor cancelled").arg(n);
    }
    // Material stock = receipts − issues.
    for (const QString &m : kMaterials) {
        const double stock = s.scalar(QStringLiteral("SELECT ylsl FROM {ylhzk} WHERE yldm = ?"), {m}).toDouble();
        const double in = s.scalar(QStringLiteral("SELECT COALESCE(SUM(ylsl), 0) FROM {ylrkmx} WHERE yldm = ?"), {m}).toDouble();
        const double out = s.scalar(QStringLiteral("SELECT COALESCE(SUM(ylsl), 0) FROM {ylckmx} WHERE yldm = ?"), {m}).toDouble();
        if (!near(stock, kMaterialBase + in - out, 0.01))
            breaches << QStringLiteral("material %1: stock %2 kg, start + receipts − issues %3 kg").arg(m).arg(stock).arg(kMaterialBase + in - out);
        if (stock < -0.001) breaches << QStringLiteral("material %1: stock below zero").arg(m);
    }

    if (s.engine() == Engine::SQLite) {
        const QString ok = s.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (ok != QLatin1String("ok")) breaches << QStringLiteral("integrity_check: ") + ok;
    }
    for (const QString &e : t.rawErrors) breaches << e;
    return breaches;
}

// The checker tested on itself: after a clean run, a serial number is used
// twice, a slip's funds row stops matching its lines and a material's stock
// drifts from its receipts and issues; each must be reported.
int plantAndCatch(Session &s, const Totals &t, Mode mode)
{
    const QStringList clean = checkInvariants(s, t, mode);
    if (!clean.isEmpty()) {
        for (const QString &b : clean) std::printf("  BREACH before planting: %s\n", qPrintable(b));
        return 1;
    }
    const Rows lines = s.rows(QStringLiteral("SELECT id, recnum FROM {sale1} ORDER BY id {first:2}"));
    if (lines.size() < 2 || t.slips.isEmpty()) {
        std::printf("too little work to plant breaches in\n");
        return 1;
    }
    s.transaction([&] {
        s.execute(QStringLiteral("UPDATE {sale1} SET recnum = ? WHERE id = ?"),
                  {lines[0].integer(QStringLiteral("recnum")), lines[1].id()});
        s.execute(QStringLiteral("UPDATE {khzj} SET ysje = ysje + 1 WHERE id = ?"), {t.slips.cbegin().value()});
        s.execute(QStringLiteral("UPDATE {ylhzk} SET ylsl = ylsl + 7 WHERE yldm = ?"), {kMaterials.first()});
    });
    const QStringList caught = checkInvariants(s, t, mode);
    const QStringList expected{QStringLiteral("serial numbers used twice"),
                               QStringLiteral("slip %1: funds").arg(t.slips.cbegin().key()),
                               QStringLiteral("material %1: stock").arg(kMaterials.first())};
    int missed = 0;
    for (const QString &e : expected) {
        const bool found = std::any_of(caught.cbegin(), caught.cend(), [&](const QString &b) { return b.contains(e); });
        std::printf("  planted \"%s\": %s\n", qPrintable(e), found ? "caught" : "MISSED");
        if (!found) ++missed;
    }
    for (const QString &b : caught) std::printf("  BREACH %s\n", qPrintable(b));
    return missed == 0 && !caught.isEmpty() ? 0 : 1;
}

int runParent(Options o, Mode mode)
{
    Catalogs catalogs(o);
    if (catalogs.unavailable()) {
        std::printf("no PostgreSQL server (FM_TEST_PG_PORT unset): skipped\n");
        return 77;
    }
    seedMill(*catalogs.session);
    catalogs.session.reset(); // the workstations have the catalogs to themselves

    Totals t;
    QElapsedTimer wall;
    wall.start();
    if (mode == Mode::Workstations) runWorkstations(o, catalogs.logDir(), t);
    else runKills(o, catalogs.logDir(), t);
    const double seconds = wall.elapsed() / 1000.0;

    catalogs.session = Session::open(settingsFor(o));
    if (o.breach) return plantAndCatch(*catalogs.session, t, mode);
    const QStringList breaches = checkInvariants(*catalogs.session, t, mode);

    std::printf("%s on %s: %d workstations, %.1f s\n", mode == Mode::Kill ? "killtest" : "workstations",
                qPrintable(o.engine), o.processes, seconds);
    if (mode == Mode::Workstations) {
        std::printf("  operations %lld (%.1f per second), conflicts %lld, retries %lld, refusals %lld, worst wait %lld ms\n",
                    t.ops, t.ops / std::max(o.seconds, 0.001), t.conflicts, t.retries, t.refusals, t.worstMs);
        std::printf("  done:");
        for (int i = 0; i < OpCount; ++i) std::printf(" %s %lld", kOpNames[i], t.done[i]);
        std::printf("\n");
    } else {
        std::printf("  workstation processes %lld, killed %lld, slips closed %lld\n", t.children, t.kills,
                    qint64(t.slips.size()));
    }
    std::printf("  slips %lld, invariants: %s\n", qint64(t.slips.size()),
                breaches.isEmpty() ? "held" : "BROKEN");
    for (const QString &b : breaches) std::printf("  BREACH %s\n", qPrintable(b));
    std::fflush(stdout);
    return breaches.isEmpty() ? 0 : 1;
}

} // namespace

int run(int argc, char **argv, Mode mode)
{
    QCoreApplication app(argc, argv);
    const Options o = parse(app.arguments());
    if (o.child >= 0) return runChild(o);
    return runParent(o, mode);
}

} // namespace fm::load
