// The connection to the PostgreSQL server cut in the middle of an operation
// that writes several rows (the server ends the workstation's backend between
// two of its writes): the catalogs are as they were, and the window's guard
// shows the lost-connection message, not the driver's words.

#include "common/clock.h"
#include "data/schema.h"
#include "data/seed.h"
#include "sales/returns.h"
#include "sales/salesfixture.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "shell/appcontext.h"
#include "support/faults.h"
#include "support/recordingprompter.h"
#include "support/testdb.h"
#include "ui/functionwindow.h"
#include "warehouse/materialdesk.h"

#include <QTest>
#include <QThread>

using namespace fm;

class TestConnectionLost : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }

    QStringList allTables() const
    {
        QStringList names;
        for (const TableDef &t : schemaTables()) names << t.name;
        return names;
    }

    // Ends the other session's backend from this one and waits until it is gone.
    void cut(qint64 pid)
    {
        s().scalar(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid});
        for (int i = 0; i < 500; ++i) {
            if (s().scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?"), {pid}).toInt() == 0) return;
            QThread::msleep(10);
        }
        QFAIL("the backend did not end");
    }

private slots:
    void initTestCase()
    {
        FM_INIT_TEST_DB(m_db);
        if (m_db->engine() != Engine::PostgreSQL) QSKIP("the connection is cut on a PostgreSQL server only");
    }
    void init()
    {
        m_db->reset();
        seedNewInstallation(s(), m_clock, SeedOptions{});
        test::loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("0001000"));
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 2.0}});
        s().insert(QStringLiteral("ylhzk"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"yldj", "1"}, {"ylsl", 5000.0},
                                              {"yljg", 2000.0}, {"rq_1", "2026-11"}, {"bz_1", "1"}});
        s().insert(QStringLiteral("gyszlk"), {{"gysdm", "g01"}, {"gysmc", "粮站"}, {"gysaddr", " "}, {"gystel", " "}, {"gysbz", ""}});
    }

    void cutBetweenTwoWrites_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("slip line") << "slip line";
        QTest::newRow("slip closed") << "slip closed";
        QTest::newRow("return") << "return";
        QTest::newRow("material receipt") << "material receipt";
    }
    void cutBetweenTwoWrites()
    {
        QFETCH(QString, operation);
        // The clerk's workstation: its own connection, its window's guard.
        std::unique_ptr<Session> ws = m_db->openAnother();
        test::RecordingPrompter prompter;
        AppContext ctx;
        ctx.session = ws.get();
        ctx.clock = &m_clock;
        ctx.prompter = &prompter;
        ctx.operatorCode = QStringLiteral("admin");
        FunctionWindow window(ctx, nullptr);

        SalesSlip slip(*ws, m_clock, QStringLiteral("admin"), QStringLiteral("ws1"));
        std::function<void()> work;
        if (operation.startsWith(QLatin1String("slip"))) {
            slip.openWindow();
            slip.start();
            slip.enterCustomer(QStringLiteral("1100002"));
            const SlipLine line = slip.prepareLine(*slip.quote(QStringLiteral("n40")), 2380, 10, QStringLiteral("大包"), 2250.0);
            if (operation == QLatin1String("slip line")) {
                work = [&slip, line] { slip.confirmLine(line); };
            } else {
                slip.confirmLine(line);
                slip.startPayment();
                work = [&slip] { slip.close(1000); };
            }
        } else if (operation == QLatin1String("return")) {
            slip.openWindow();
            slip.start();
            slip.enterCustomer(QStringLiteral("1100002"));
            slip.confirmLine(slip.prepareLine(*slip.quote(QStringLiteral("n40")), 2380, 10, QStringLiteral("大包"), 2250.0));
            slip.startPayment();
            slip.close(1000);
            const qint64 sold = ws->scalar(QStringLiteral("SELECT MAX(id) FROM {sale1} WHERE bz_1 = '1'")).toLongLong();
            Returns r(*ws, m_clock, QStringLiteral("admin"));
            const Purchase p = *r.purchase(sold, false);
            const Customer c = *r.customer(QStringLiteral("1100002"));
            QString unit = Returns::unitFor(p.cpgg);
            if (unit.isEmpty()) unit = QStringLiteral("袋");
            const PreparedReturn prepared = r.prepare(p, 2, unit, Returns::kilograms(unit, 2, p.cpgg, 10));
            work = [&, c, prepared] { Returns(*ws, m_clock, QStringLiteral("admin")).confirm(c, prepared, QStringLiteral("2026-12-10")); };
        } else {
            ReceiptEntry e;
            e.materialCode = QStringLiteral("yumi");
            e.supplierCode = QStringLiteral("g01");
            e.contract = QStringLiteral("HT-1");
            e.tonnes = 2.5;
            e.pricePerTonne = 2100;
            work = [&, e] { MaterialDesk(*ws, m_clock, QStringLiteral("op001")).receive(e); };
        }

        const QString before = test::snapshot(s(), allTables());
        const qint64 pid = ws->scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
        ws->onWriteAt(2, [&] { cut(pid); });
        QVERIFY(!window.guarded(work));
        QCOMPARE(ws->writesSeen(), 2); // the cut came between the first and the second write
        QVERIFY2(prompter.last().startsWith(QStringLiteral("与数据库的连接已断开")), qPrintable(prompter.last()));
        QCOMPARE(test::snapshot(s(), allTables()), before);
    }
};

QTEST_MAIN(TestConnectionLost)
#include "tst_connectionlost.moc"
