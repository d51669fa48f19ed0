#include "sales/turnovernumbers.h"
#include "support/testdb.h"

#include <QtTest>
#include <thread>

using namespace fm;
using fm::test::TestDb;

class TestTurnoverNumbers : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void initialiseThenDraw()
    {
        TurnoverNumbers t(m_db->session());
        QVERIFY(!t.isInitialised());
        QCOMPARE(t.current(), QStringLiteral("0"));
        t.initialise(QStringLiteral("0001000"));
        QVERIFY(t.isInitialised());
        QCOMPARE(t.current(), QStringLiteral("0001000")); // stored as typed
        QCOMPARE(t.drawNext(), QStringLiteral("1001"));   // leading zeros are lost
        QCOMPARE(t.drawNext(), QStringLiteral("1002"));
        QCOMPARE(t.drawSerial(), 1);
        QCOMPARE(t.drawSerial(), 2);
        // Re-initialising replaces the counter and restarts the serial number.
        t.initialise(QStringLiteral("500"));
        QCOMPARE(m_db->session().scalar(QStringLiteral("SELECT COUNT(*) FROM {fphm}")).toInt(), 1);
        QCOMPARE(t.drawNext(), QStringLiteral("501"));
        QCOMPARE(t.drawSerial(), 1);
    }

    void badNumbersAreRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters") << QStringLiteral("12a");
        QTest::newRow("nine digits") << QStringLiteral("123456789");
        QTest::newRow("sign") << QStringLiteral("-5");
        QTest::newRow("empty") << QString();
    }
    void badNumbersAreRefused()
    {
        QFETCH(QString, typed);
        TurnoverNumbers t(m_db->session());
        QVERIFY_THROWS_EXCEPTION(DomainError, t.initialise(typed));
        QVERIFY(!t.isInitialised());
    }

    void drawingPastEightDigitsIsRefused()
    {
        TurnoverNumbers t(m_db->session());
        t.initialise(QStringLiteral("99999999"));
        QVERIFY_THROWS_EXCEPTION(DomainError, t.drawNext());
        QCOMPARE(t.current(), QStringLiteral("99999999"));
        TurnoverNumbers empty(m_db->session());
        m_db->reset();
        QVERIFY_THROWS_EXCEPTION(DomainError, empty.drawNext());
    }

    void serialRestartsPast300_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("next");
        QTest::newRow("300 continues") << 300 << 301;
        QTest::newRow("301 restarts") << 301 << 1;
        QTest::newRow("5 continues") << 5 << 6;
    }
    void serialRestartsPast300()
    {
        QFETCH(int, stored);
        QFETCH(int, next);
        m_db->session().insert(QStringLiteral("fphm"), {{"zzhm", "100"}, {"rec_num", stored}});
        TurnoverNumbers t(m_db->session());
        t.restartSerialPast300();
        QCOMPARE(t.drawSerial(), next);
    }

    // Two workstations drawing at once get distinct numbers, none lost.
    void drawsFromTwoWorkstationsAreDistinct()
    {
        TurnoverNumbers(m_db->session()).initialise(QStringLiteral("1000"));
        constexpr int perWorker = 500;
        auto work = [this](std::vector<qint64> *numbers, std::vector<int> *serials) {
            std::unique_ptr<Session> s = m_db->openAnother();
            TurnoverNumbers t(*s);
            for (int i = 0; i < perWorker; ++i) {
                numbers->push_back(t.drawNext().toLongLong());
                serials->push_back(t.drawSerial());
            }
        };
        std::vector<qint64> n1, n2;
        std::vector<int> s1, s2;
        std::thread a(work, &n1, &s1);
        std::thread b(work, &n2, &s2);
        a.join();
        b.join();
        n1.insert(n1.end(), n2.begin(), n2.end());
        s1.insert(s1.end(), s2.begin(), s2.end());
        std::sort(n1.begin(), n1.end());
        std::sort(s1.begin(), s1.end());
        QCOMPARE(int(n1.size()), 2 * perWorker);
        QVERIFY(std::adjacent_find(n1.begin(), n1.end()) == n1.end());
        QCOMPARE(n1.front(), qint64(1001));
        QCOMPARE(n1.back(), qint64(1000 + 2 * perWorker));
        QVERIFY(std::adjacent_find(s1.begin(), s1.end()) == s1.end());
        QCOMPARE(s1.back(), 2 * perWorker);
    }
};

QTEST_GUILESS_MAIN(TestTurnoverNumbers)
#include "tst_turnovernumbers.moc"
