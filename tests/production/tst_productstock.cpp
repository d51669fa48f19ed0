// The feed product stock (inputs, outputs, the stock list) and the product
// in/out ledger.

#include "common/clock.h"
#include "data/session.h"
#include "production/productledger.h"
#include "production/productstock.h"
#include "productionfixture.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestProductStock : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    ProductStock stock() { return ProductStock(s(), m_clock); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }

    static ProductInput input(const QString &code, double bags, InputKind kind = InputKind::Production)
    {
        ProductInput in;
        in.team = QStringLiteral("一班");
        in.date = QDate(2026, 12, 8);
        in.code = code;
        in.bags = bags;
        in.kind = kind;
        return in;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        test::loadProductionFixture(s());
    }

    void kilogramsOfBags_data()
    {
        QTest::addColumn<double>("bags");
        QTest::addColumn<QString>("spec");
        QTest::addColumn<double>("kilograms"); // -1: refused
        QTest::newRow("50 × 40") << 50.0 << "40" << 2000.0;
        QTest::newRow("100 × 40") << 100.0 << "40" << 4000.0;
        QTest::newRow("201 × 20, exactly") << 201.0 << "20" << 4020.0;
        QTest::newRow("half a bag") << 0.5 << "40" << 20.0;
        QTest::newRow("no bags") << 0.0 << "40" << -1.0;
        QTest::newRow("size not a number") << 10.0 << " " << -1.0;
        QTest::newRow("size 0") << 10.0 << "0" << -1.0;
    }
    void kilogramsOfBags()
    {
        QFETCH(double, bags);
        QFETCH(QString, spec);
        QFETCH(double, kilograms);
        if (kilograms < 0) {
            QVERIFY_THROWS_EXCEPTION(DomainError, ProductStock::kilograms(bags, spec));
            return;
        }
        // Exactly, not through tonnes (201 × 20 / 1000 × 1000 is 4019.9999999999995).
        QVERIFY(ProductStock::kilograms(bags, spec) == kilograms);
    }

    // A product input creates the master row when there is none, adds to it
    // afterwards, and writes one production line each time, all by the picked
    // date.
    void inputsAndOutputs()
    {
        const qint64 line = stock().input(input(QStringLiteral("P201"), 201));
        auto master = s().row(QStringLiteral("SELECT * FROM {velcpzk}"));
        QVERIFY(master->number(QStringLiteral("scsl")) == 4020.0);
        QCOMPARE(master->number(QStringLiteral("sccb")), 0.0);
        QCOMPARE(master->text(QStringLiteral("cpdm")), QStringLiteral("p201"));
        QCOMPARE(master->text(QStringLiteral("scbz")), QStringLiteral("一班"));
        QCOMPARE(master->text(QStringLiteral("scrq_1")), QStringLiteral("2026-12-08"));
        auto l = s().row(QStringLiteral("SELECT * FROM {velcpk} WHERE id = ?"), {line});
        QVERIFY(l->number(QStringLiteral("scsl")) == 4020.0);
        QCOMPARE(l->number(QStringLiteral("sccb")), 0.0);
        QCOMPARE(l->text(QStringLiteral("txm")), QString());
        QCOMPARE(l->text(QStringLiteral("qtbzgg")), QStringLiteral("0"));
        QCOMPARE(l->text(QStringLiteral("scrq_1")), QStringLiteral("2026-12-08"));

        const qint64 second = stock().input(input(QStringLiteral("p201"), 50, InputKind::StockInput));
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk}")).toDouble(), 5020.0);
        QCOMPARE(value(QStringLiteral("SELECT txm FROM {velcpk} WHERE id = ?"), {second}).toString(), QStringLiteral("生产输入"));
        stock().input(input(QStringLiteral("p201"), 1, InputKind::ReturnInput));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk} WHERE txm = '回机输入'")).toInt(), 1);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpzk}")).toInt(), 1);

        // An output of 300 bags (6 t) from 5040 kg leaves -960: stock may go below zero.
        QCOMPARE(stock().output(QStringLiteral("p201"), 300), 6000.0);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk}")).toDouble(), -960.0);
        // A product that was never stocked cannot be taken out silently.
        try {
            stock().output(QStringLiteral("p401"), 1);
            QFAIL("taken out");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), ProductStock::kNoStockRow);
        }
        ProductInput noTeam = input(QStringLiteral("p401"), 1);
        noTeam.team = QStringLiteral("  ");
        QVERIFY_THROWS_EXCEPTION(DomainError, stock().input(noTeam));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk}")).toInt(), 3);
    }

    void inputIsAtomic()
    {
        const int writes = test::checkEachWriteFailing(
            s(), {"velcpk", "velcpzk"},
            [&] {
                m_db->reset();
                test::loadProductionFixture(s());
            },
            [&] { stock().input(input(QStringLiteral("p401"), 10)); });
        QCOMPARE(writes, 3); // the line, the update that found nothing, the new master row
    }

    // Two workstations booking the same new product at once: both count.
    void simultaneousFirstInputs()
    {
        auto work = [this] {
            std::unique_ptr<Session> ws = m_db->openAnother();
            for (int i = 0; i < 5; ++i) ProductStock(*ws, m_clock).input(input(QStringLiteral("p401"), 10));
        };
        std::thread a(work), b(work);
        a.join();
        b.join();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpzk}")).toInt(), 1);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk}")).toDouble(), 4000.0);
    }

    // No line for zero stock; bags unrounded; a size that is no number shows
    // no bags; totals over the rows listed.
    void stockList()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "a1"}, {"cpmc", "四十公斤装"}, {"cpgg", "40"}, {"scsl", 2000.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "a2"}, {"cpmc", "空库存"}, {"cpgg", "20"}, {"scsl", 0.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "a3"}, {"cpmc", "三十公斤装"}, {"cpgg", "30"}, {"scsl", 1000.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "a4"}, {"cpmc", "散装"}, {"cpgg", " "}, {"scsl", 500.0}, {"cpbz", "0"}});
        const QString text = ProductStock::stockList(stock().stock(), QDate(2026, 12, 10)).toText();
        FM_COMPARE_GOLDEN(text, "production/golden/stock_list.txt");
        QVERIFY(text.contains(QStringLiteral("not printed: 空库存")));
        // One category only.
        QCOMPARE(int(stock().stock(QStringLiteral("0")).size()), 1);
    }

    void ledger()
    {
        ProductLedger l(s());
        try {
            l.addProduct(QStringLiteral("c01"), QStringLiteral("浓缩料甲"), QString(), QString());
            QFAIL("added");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), ProductLedger::kProductIncomplete);
        }
        l.addProduct(QStringLiteral("c01"), QStringLiteral("浓缩料甲"), QStringLiteral("40"), QStringLiteral("说明"));
        for (const auto &dup : {std::pair<QString, QString>{"C01", "别的名字"}, {"c02", "浓缩料甲"}}) {
            try {
                l.addProduct(dup.first, dup.second, QStringLiteral("40"), QString());
                QFAIL("duplicate added");
            } catch (const DomainError &e) {
                QCOMPARE(e.message(), ProductLedger::kExists);
            }
        }
        l.addProduct(QStringLiteral("c02"), QStringLiteral("浓缩料乙"), QStringLiteral("20"), QString());
        QCOMPARE(l.findByName(QStringLiteral("浓缩料乙"))->code, QStringLiteral("c02"));

        const QDate d(2026, 12, 9);
        l.book(QStringLiteral("C01"), LedgerKind::FromProduction, d, 2000);
        l.book(QStringLiteral("c02"), LedgerKind::Returned, d, 300);
        l.book(QStringLiteral("c02"), LedgerKind::FromProduction, d.addDays(1), 100);
        l.book(QStringLiteral("c01"), LedgerKind::Reprocess, d, 50);
        const Rows day = l.dayLines(true, d);
        QCOMPARE(int(day.size()), 2);
        QCOMPARE(day[0].text(QStringLiteral("bz")), QStringLiteral("1"));
        QCOMPARE(day[1].text(QStringLiteral("bz")), QStringLiteral("3"));
        QCOMPARE(day[0].text(QStringLiteral("rq")), QStringLiteral("2026-12-09"));
        QCOMPARE(l.dayLines(false, d).front().text(QStringLiteral("bz")), QStringLiteral("4"));
        QVERIFY_THROWS_EXCEPTION(DomainError, l.book(QStringLiteral("c99"), LedgerKind::Sale, d, 1));
        QVERIFY_THROWS_EXCEPTION(DomainError, l.book(QStringLiteral("c01"), LedgerKind::Sale, d, 0));

        // Deleting a product keeps its lines.
        QVERIFY(l.deleteProduct(QStringLiteral("c01")));
        QVERIFY(!l.deleteProduct(QStringLiteral("c01")));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {cprkb} WHERE cpdm = 'c01'")).toInt(), 1);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {cpckb} WHERE cpdm = 'c01'")).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProductStock)
#include "tst_productstock.moc"
