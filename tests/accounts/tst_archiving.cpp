// Archiving: the proposed start and the date rules, a verbatim verified move
// to History, a "No" that leaves History untouched, rows written during the
// question, a range History already holds, the clean-up, and atomicity under
// a failing write and under a workstation killed mid-run.

#include "accounts/archiving.h"
#include "common/dates.h"
#include "data/schema.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QProcess>
#include <QtTest>
#include <cstdio>
#include <thread>

using namespace fm;
using fm::test::TestDb;

namespace {

const QDate kStart(2026, 4, 19);
const QDate kEnd(2026, 5, 18);
const QStringList kTables{QStringLiteral("sale1"), QStringLiteral("khzj"), QStringLiteral("his_sale1"),
                          QStringLiteral("his_khzj"), QStringLiteral("gd_rq")};

// Every column of a sales line given a value of its own, the widest names
// included, so that a copy that drops, cuts or zeroes anything shows.
Fields salesLine(int n, const QString &day)
{
    return {{"rq_1", day}, {"cpmc", QStringLiteral("二十八个字的产品名称二十八个字的产品名称二十八个字的产%1").arg(n % 10)},
            {"cpgg", "40"}, {"zcjg", 2800.25}, {"zznum", 1000.0 + n}, {"zzjg", 3000.5}, {"zzje", 3000.5 * (1000 + n) / 1000},
            {"kpjg", 2950.0}, {"tlnum", n % 7 == 0 ? 40.0 : 0.0}, {"kpje", n % 7 == 0 ? 118.0 : 0.0},
            {"khmc", QStringLiteral("十二个字的客户名称十二个")}, {"rq_2", day}, {"cpdm", QStringLiteral("n4%1").arg(n % 10)},
            {"region", QStringLiteral("东山片区")}, {"khdm", QStringLiteral("120%1").arg(n % 100, 4, 10, QLatin1Char('0'))},
            {"czydm", "20001"}, {"sjbs", 2.5}, {"recnum", n}, {"bz_1", n % 7 == 0 ? "3" : "1"}, {"cbjg", 2500.75},
            {"zzhm", "00001234"}, {"bz_3", "0"}, {"sjxl1", 1.5}, {"sjxl2", 2.5}, {"zcje", 112.01}, {"cbje", 3.5},
            {"hksl", 4.5}, {"hkje", 5.5}, {"ce", 6.5}, {"bz_2", "0"}, {"fphm", "F0000001"}, {"bszl", "大包"}};
}

Fields fundsRow(int n, const QString &day)
{
    return {{"khdm", QStringLiteral("120%1").arg(n % 100, 4, 10, QLatin1Char('0'))}, {"khmc", QStringLiteral("十二个字的客户名称十二个")},
            {"region", QStringLiteral("东山片区")}, {"ysje", 3000.5 + n}, {"sjje", 1000.0}, {"sjdx", day + QStringLiteral(" 09:30:00")},
            {"sqje", 2000.5 + n}, {"sjxl", 1000.0 + n}, {"rq", day}, {"czydm", "20001"}, {"zzje", 12.5},
            {"sale1_id", n % 5 == 0 ? QVariant(n) : QVariant()}};
}

// Rows of a table within the dates, every column as text, id first.
QString rowsText(Session &s, const QString &table, const QString &dateColumn, const QDate &from, const QDate &to)
{
    const QString columns = QStringLiteral("id, ") + findTable(table)->columnNames().join(QStringLiteral(", "));
    QString out;
    for (const Row &r : s.rows(QStringLiteral("SELECT %1 FROM {%2} WHERE %3 >= ? AND %3 <= ? ORDER BY id")
                                   .arg(columns, table, dateColumn),
                               {dateText(from), dateText(to)})) {
        QStringList cells;
        for (const QString &c : r.columnNames()) cells << r.value(c).toString();
        out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
    }
    return out;
}

ConnectionSettings settingsFromArgs(const QStringList &a)
{
    ConnectionSettings cs;
    engineFromName(a.value(0), &cs.engine);
    cs.dataDir = a.value(1);
    cs.host = a.value(2);
    cs.port = a.value(3).toInt();
    cs.user = a.value(4);
    cs.database = a.value(5);
    return cs;
}

// The workstation that is killed: archives the range and, told "copy", says
// so after its first copy statement, or, told "question", when it is asked
// whether to delete; then it waits to be killed.
int archivingChild(const QStringList &args)
{
    std::unique_ptr<Session> s = Session::open(settingsFromArgs(args));
    const bool atQuestion = args.value(6) == QLatin1String("question");
    ArchiveObserver o;
    o.progress = [&](qint64 done, qint64) {
        if (!atQuestion && done > 0) {
            std::printf("copying\n");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::hours(1));
        }
    };
    o.confirmDelete = [&](const QString &) {
        std::printf("asking\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::hours(1));
        return true;
    };
    Archiving(*s).archive(kStart, kEnd, o);
    return 0;
}

} // namespace

class TestArchiving : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    qint64 count(const char *sql, const Values &v = {}) { return s().scalar(QString::fromUtf8(sql), v).toLongLong(); }

    // 120 sales lines and 30 fund rows in the range, a few either side of it.
    void load()
    {
        s().transaction([&] {
            s().insert(QStringLiteral("gd_rq"), {{"qsrq", "2026-03-18"}, {"jzrq", "2026-04-18"}, {"gdbz", "1"}});
            for (int i = 0; i < 120; ++i) s().insert(QStringLiteral("sale1"), salesLine(i, dateText(kStart.addDays(i % 30))));
            for (int i = 0; i < 30; ++i) s().insert(QStringLiteral("khzj"), fundsRow(i, dateText(kStart.addDays(i))));
            s().insert(QStringLiteral("sale1"), salesLine(200, QStringLiteral("2026-04-18")));
            s().insert(QStringLiteral("sale1"), salesLine(201, QStringLiteral("2026-05-19")));
            s().insert(QStringLiteral("khzj"), fundsRow(202, QStringLiteral("2026-05-19")));
        });
    }

    ArchiveObserver answering(bool yes, QStringList *stages = nullptr, int *asked = nullptr)
    {
        ArchiveObserver o;
        o.stage = [stages](const QString &t) {
            if (stages) *stages << t;
        };
        o.confirmDelete = [yes, asked](const QString &q) {
            if (asked) ++*asked;
            return q == Archiving::kDeleteQuestion && yes;
        };
        return o;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void proposedStart_data()
    {
        QTest::addColumn<QString>("qsrq");
        QTest::addColumn<QString>("jzrq");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("day after the last cut-off") << "2018-03-19" << "2018-04-18" << "2018-04-19";
        QTest::newRow("start and cut-off alike") << " 2018-04-18" << "2018-04-18 " << "2018-04-18";
        QTest::newRow("no control row yet") << "" << "" << "";
    }
    void proposedStart()
    {
        QFETCH(QString, qsrq);
        QFETCH(QString, jzrq);
        QFETCH(QString, proposed);
        if (!jzrq.isEmpty()) s().insert(QStringLiteral("gd_rq"), {{"qsrq", qsrq}, {"jzrq", jzrq}, {"gdbz", "0"}});
        QCOMPARE(Archiving(s()).proposedStart(), proposed);
    }

    void datesRefused_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("message");
        QTest::newRow("no end") << "2018-04-19" << " " << Archiving::kNoEndDate;
        QTest::newRow("not the 18th") << "2018-04-19" << "2018-05-17" << Archiving::kNotCutOff;
        QTest::newRow("not a date") << "2018-04-19" << "2018-05-40" << QStringLiteral("日期有错！请按yyyy-mm-dd输入。");
        QTest::newRow("end before start") << "2018-04-19" << "2018-03-18" << Archiving::kEndBeforeStart;
        QTest::newRow("accepted") << "2018-04-19" << "2018-05-18" << QString();
    }
    void datesRefused()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        QString said;
        try {
            Archiving::checkRange(Archiving::checkStart(start), Archiving::checkEnd(end));
        } catch (const DomainError &e) {
            said = e.message();
        }
        QCOMPARE(said, message);
    }

    // Every column verbatim, the key included; both checks reported; the
    // current rows of the range gone, the others kept; the cut-off moved.
    void archivesVerbatimAndVerified()
    {
        load();
        const QString sales = rowsText(s(), QStringLiteral("sale1"), QStringLiteral("rq_1"), kStart, kEnd);
        const QString funds = rowsText(s(), QStringLiteral("khzj"), QStringLiteral("rq"), kStart, kEnd);
        QStringList stages;
        int asked = 0;
        qint64 lastDone = -1, lastTotal = -1;
        ArchiveObserver o = answering(true, &stages, &asked);
        o.progress = [&](qint64 done, qint64 total) {
            if (total > 0) {
                QVERIFY(done >= lastDone || lastDone < 0);
                lastDone = done;
                lastTotal = total;
            }
        };
        const ArchiveResult r = Archiving(s()).archive(kStart, kEnd, o);
        QCOMPARE(int(r.outcome), int(ArchiveResult::Outcome::Archived));
        QCOMPARE(r.totals.sales, 120);
        QCOMPARE(r.totals.funds, 30);
        QCOMPARE(lastDone, 150);
        QCOMPARE(lastTotal, 150);
        QCOMPARE(stages, (QStringList{Archiving::kVerifying, Archiving::kSalesCorrect, Archiving::kFundsCorrect}));
        QCOMPARE(asked, 1);
        QCOMPARE(rowsText(s(), QStringLiteral("his_sale1"), QStringLiteral("rq_1"), kStart, kEnd), sales);
        QCOMPARE(rowsText(s(), QStringLiteral("his_khzj"), QStringLiteral("rq"), kStart, kEnd), funds);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1} WHERE rq_1 >= '2026-04-19' AND rq_1 <= '2026-05-18'"), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM {khzj}"), 1);
        auto g = s().row(QStringLiteral("SELECT jzrq, gdbz FROM {gd_rq}"));
        QCOMPARE(g->text(QStringLiteral("jzrq")), QStringLiteral("2026-05-18"));
        QCOMPARE(g->text(QStringLiteral("gdbz")), QStringLiteral("1"));
        QCOMPARE(Archiving(s()).proposedStart(), QStringLiteral("2026-05-19"));
        // A row written into History later takes a key above the archived ones.
        const qint64 archivedMax = count("SELECT MAX(id) FROM {his_sale1}");
        QVERIFY(s().insert(QStringLiteral("his_sale1"), {{"rq_1", "2026-05-19"}}) > archivedMax);

        // The same range again: History holds it, nothing is copied twice.
        try {
            Archiving(s()).archive(kStart, kEnd, answering(true));
            QFAIL("archived a range History holds");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("历史数据库中已有2026-04-19至2026-05-18的数据，不能重复归档！"));
        }
        QCOMPARE(count("SELECT COUNT(*) FROM {his_sale1}"), 121);
    }

    // "No" at the deletion question: History as it was, and the range can be
    // archived afterwards.
    void noLeavesHistoryUntouched()
    {
        load();
        const QString before = fm::test::snapshot(s(), kTables);
        int asked = 0;
        const ArchiveResult r = Archiving(s()).archive(kStart, kEnd, answering(false, nullptr, &asked));
        QCOMPARE(int(r.outcome), int(ArchiveResult::Outcome::Declined));
        QCOMPARE(asked, 1);
        QCOMPARE(fm::test::snapshot(s(), kTables), before);
        QCOMPARE(int(Archiving(s()).archive(kStart, kEnd, answering(true)).outcome), int(ArchiveResult::Outcome::Archived));
    }

    // A line written into the range while the clerk is asked is not deleted
    // unarchived: either the run holds the write lock and the other
    // workstation is told it is busy, or the recount sees it and nothing is
    // deleted.
    void rowsAddedDuringTheQuestionAreKept()
    {
        load();
        ConnectionSettings other = m_db->settings();
        other.lockTimeoutMs = 300;
        std::unique_ptr<Session> s2 = Session::open(other);
        bool added = false;
        ArchiveObserver o;
        o.confirmDelete = [&](const QString &) {
            try {
                s2->insert(QStringLiteral("sale1"), salesLine(300, QStringLiteral("2026-05-01")));
                added = true;
            } catch (const DbError &e) {
                if (e.kind() != DbError::Kind::LockTimeout) throw;
            }
            return true;
        };
        const ArchiveResult r = Archiving(s()).archive(kStart, kEnd, o);
        if (added) {
            QCOMPARE(int(r.outcome), int(ArchiveResult::Outcome::Mismatch));
            QCOMPARE(count("SELECT COUNT(*) FROM {his_sale1}"), 0);
            QCOMPARE(count("SELECT COUNT(*) FROM {sale1} WHERE rq_1 >= '2026-04-19' AND rq_1 <= '2026-05-18'"), 121);
        } else {
            QCOMPARE(int(r.outcome), int(ArchiveResult::Outcome::Archived));
            QCOMPARE(count("SELECT COUNT(*) FROM {his_sale1}"), 120);
        }
        QCOMPARE(s().engine() == Engine::PostgreSQL, added);
    }

    void historyHoldingTheRangeStops()
    {
        load();
        s().insert(QStringLiteral("his_khzj"), fundsRow(1, QStringLiteral("2026-05-18")));
        const QString before = fm::test::snapshot(s(), kTables);
        QVERIFY_THROWS_EXCEPTION(DomainError, Archiving(s()).checkHistoryFree(kStart, kEnd));
        QVERIFY_THROWS_EXCEPTION(DomainError, Archiving(s()).archive(kStart, kEnd, answering(true)));
        QVERIFY_THROWS_EXCEPTION(DomainError, Archiving(s()).archive(kEnd, kStart, answering(true)));
        QCOMPARE(fm::test::snapshot(s(), kTables), before);
    }

    // A failure at any write (after the copy and before the delete among
    // them) leaves both catalogs as they were.
    void eachWriteFailingLeavesEverything()
    {
        const int writes = fm::test::checkEachWriteFailing(
            s(), kTables,
            [&] {
                m_db->reset();
                load();
            },
            [&] {
                if (Archiving(s()).archive(kStart, kEnd, answering(true)).outcome != ArchiveResult::Outcome::Archived)
                    throw std::runtime_error("not archived");
            });
        QVERIFY2(writes > 4, qPrintable(QString::number(writes)));
    }

    // A workstation killed while copying, or while its clerk is asked,
    // leaves the catalogs as they were.
    void killedMidRunLeavesEverything_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::newRow("copying") << "copy";
        QTest::newRow("asking") << "question";
    }
    void killedMidRunLeavesEverything()
    {
        QFETCH(QString, moment);
        load();
        const QString before = fm::test::snapshot(s(), kTables);
        const ConnectionSettings &cs = m_db->settings();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--archiving-child"), engineName(cs.engine), cs.dataDir, cs.host,
                     QString::number(cs.port), cs.user, cs.database, moment});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QVERIFY(!child.readAllStandardOutput().isEmpty());
        child.kill(); // no destructor, no rollback
        QVERIFY(child.waitForFinished(10000));
        // The server ends the killed connection's transaction; its rows never show.
        QCOMPARE(fm::test::snapshot(s(), kTables), before);
        QCOMPARE(int(Archiving(s()).archive(kStart, kEnd, answering(true)).outcome), int(ArchiveResult::Outcome::Archived));
    }

    void cleanUpDeletesRowsWithoutQuantity()
    {
        load();
        auto zero = salesLine(400, QStringLiteral("2020-01-01"));
        for (auto &f : zero)
            if (f.first == QLatin1String("zznum") || f.first == QLatin1String("tlnum")) f.second = 0.0;
        s().insert(QStringLiteral("sale1"), zero);
        auto returned = zero;
        for (auto &f : returned)
            if (f.first == QLatin1String("tlnum")) f.second = 40.0;
        s().insert(QStringLiteral("sale1"), returned);
        s().insert(QStringLiteral("khzj"), {{"khdm", "1200001"}, {"ysje", 0.0}, {"sjje", 0.0}, {"sqje", 0.0}, {"rq", "2026-12-01"}});
        const CleanUpResult r = Archiving(s()).cleanUp();
        QCOMPARE(r.sales, 1);
        QCOMPARE(r.funds, 1);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1} WHERE tlnum = 40 AND zznum = 0"), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 123);
    }
};

int main(int argc, char **argv)
{
    if (argc >= 2 && qstrcmp(argv[1], "--archiving-child") == 0) {
        QCoreApplication app(argc, argv);
        return archivingChild(QCoreApplication::arguments().mid(2));
    }
    QCoreApplication app(argc, argv);
    TestArchiving t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_archiving.moc"
