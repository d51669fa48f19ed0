// Production runs: the theoretical raw-material use, the cost per tonne, the
// allocation to products, one transaction per confirmation, cancelling only
// the run's own rows, and bar codes distinct between workstations.

#include "common/clock.h"
#include "data/session.h"
#include "production/productionruns.h"
#include "productionfixture.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>
#include <set>
#include <thread>

using namespace fm;
using fm::test::TestDb;

class TestProductionRuns : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    ProductionRuns runs() { return ProductionRuns(s(), m_clock); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }
    int count(const QString &sql, const Values &v = {}) { return value(sql, v).toInt(); }

    static RunHead head(const QString &team, double production, double reprocessed = 0)
    {
        RunHead h;
        h.team = team;
        h.previousTeam = team == QLatin1String("01") ? QStringLiteral("02") : QStringLiteral("01");
        h.formula = QStringLiteral("1401");
        h.formulaName = QStringLiteral("猪全价料");
        h.date = QStringLiteral("2026-12-10");
        h.production = production;
        h.reprocessed = reprocessed;
        return h;
    }
    static std::vector<ProductSlot> products(std::initializer_list<ProductSlot> l) { return std::vector<ProductSlot>(l); }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        test::loadProductionFixture(s());
    }

    // 60/30/10 × 2000 kg → 1200/600/200 kg; prices 2000 and 3000 from stock,
    // 1500 from the register (s0 1.5 × 1000); cost 2250 per tonne.
    void runArithmeticAndBooking()
    {
        ProductionRuns r = runs();
        QVERIFY(r.openFormula(QStringLiteral("1401")));
        // The formula's prices follow the stock, in its own unit (yuan per kg).
        QCOMPARE(value(QStringLiteral("SELECT yljg FROM {velpfk} WHERE yldm = 'm01'")).toDouble(), 2.0);
        QCOMPARE(value(QStringLiteral("SELECT yljg FROM {velpfk} WHERE yldm = 'm03'")).toDouble(), 1.0);
        QCOMPARE(r.categoryName(ProductionRuns::productFlag(QStringLiteral("1401"))), QStringLiteral("全价料"));

        ProductionRun run = r.draw(head(QStringLiteral("01"), 2000), 0);
        QCOMPARE(int(run.lineIds.size()), 3);
        const Rows lines = r.lines(run);
        QCOMPARE(lines[0].number(QStringLiteral("lrsl")), 1200.0);
        QCOMPARE(lines[1].number(QStringLiteral("lrsl")), 600.0);
        QCOMPARE(lines[2].number(QStringLiteral("lrsl")), 200.0);
        QCOMPARE(lines[2].number(QStringLiteral("yljg")), 1500.0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = '' AND rec_num IN (1, 2, 3)")), 3);
        // The application creates the shift's consumption rows, uncommitted.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh} WHERE bz = '' AND bzdm = '01' AND rq_1 = '2026-12-10'")), 3);
        QCOMPARE(value(QStringLiteral("SELECT lrsl FROM {scylxh} WHERE yldm = 'm02'")).toDouble(), 600.0);
        run.cost = r.cost(run);
        QCOMPARE(*run.cost, 2250.0);

        const RunBooking b = r.confirm(run, products({{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 1500},
                                                   {QStringLiteral("p201"), QStringLiteral("20"), QStringLiteral("猪全价料20"), 500}}));
        QCOMPARE(int(b.lineIds.size()), 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = '1'")), 3);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh} WHERE bz = '1'")), 3);
        const auto line = s().row(QStringLiteral("SELECT * FROM {velcpk} WHERE id = ?"), {b.lineIds[0]});
        QCOMPARE(line->number(QStringLiteral("scsl")), 1500.0);
        QCOMPARE(line->number(QStringLiteral("sccb")), 2250.0);
        QCOMPARE(line->text(QStringLiteral("scbz")), QStringLiteral("01"));
        QCOMPARE(line->text(QStringLiteral("scrq_1")), QStringLiteral("2026-12-10"));
        QCOMPARE(line->text(QStringLiteral("pfhm")), QStringLiteral("1401"));
        QCOMPARE(line->text(QStringLiteral("cpbz")), QStringLiteral("1"));
        QCOMPARE(line->text(QStringLiteral("txm")), b.barCodes[0]);
        QCOMPARE(b.barCodes[0].size(), 13);
        // A product made for the first time gets its master row.
        auto master = s().row(QStringLiteral("SELECT * FROM {velcpzk} WHERE cpdm = 'p401'"));
        QCOMPARE(master->number(QStringLiteral("scsl")), 1500.0);
        QCOMPARE(master->number(QStringLiteral("sccb")), 2250.0);
        QCOMPARE(master->value(QStringLiteral("scbz")).toString(), QStringLiteral(" "));
        QCOMPARE(master->text(QStringLiteral("pfhm")), QStringLiteral("1401"));

        // A second run adds its kilograms and replaces the cost with its own.
        s().execute(QStringLiteral("UPDATE {ylhzk} SET yljg = 2400 WHERE yldm = 'm01'"));
        ProductionRun second = r.draw(head(QStringLiteral("01"), 1000), 3);
        QCOMPARE(r.cost(second), (600 * 2400.0 + 300 * 3000.0 + 100 * 1500.0) / 1000);
        r.confirm(second, products({{QStringLiteral("P401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 1000}}));
        master = s().row(QStringLiteral("SELECT * FROM {velcpzk} WHERE cpdm = 'p401'"));
        QCOMPARE(master->number(QStringLiteral("scsl")), 2500.0);
        QCOMPARE(master->number(QStringLiteral("sccb")), 2490.0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {velcpzk}")), 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {velcpk}")), 3);
        // The second run's lines went into the same shift rows.
        QCOMPARE(value(QStringLiteral("SELECT lrsl FROM {scylxh} WHERE yldm = 'm01'")).toDouble(), 1800.0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh}")), 3);
    }

    void headRefused_data()
    {
        QTest::addColumn<double>("production");
        QTest::addColumn<double>("reprocessed");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing produced") << 0.0 << 0.0 << QStringLiteral("请输入正确的数字！");
        QTest::newRow("negative") << -100.0 << 0.0 << QStringLiteral("请输入正确的数字！");
        QTest::newRow("reprocessed 50 of 2050") << 2050.0 << 50.0 << ProductionRuns::kReprocessed;
        QTest::newRow("out of range") << 2e7 << 0.0 << QStringLiteral("请输入正确的数字！");
    }
    void headRefused()
    {
        QFETCH(double, production);
        QFETCH(double, reprocessed);
        QFETCH(QString, message);
        try {
            runs().draw(head(QStringLiteral("01"), production, reprocessed), 0);
            QFAIL("drawn");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk}")), 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh}")), 0);
    }

    void allocation_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<QStringList>("specs");
        QTest::addColumn<QList<double>>("kilograms");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("1500 + 400 of 2000") << 2000.0 << QStringList{"40", "20"} << QList<double>{1500, 400} << false;
        QTest::newRow("1500 + 500 of 2000") << 2000.0 << QStringList{"40", "20"} << QList<double>{1500, 500} << true;
        QTest::newRow("1000.1 + 0.2 of 1000.3") << 1000.3 << QStringList{"40", "20"} << QList<double>{1000.1, 0.2} << true;
        QTest::newRow("a slot without its size") << 2000.0 << QStringList{"40", ""} << QList<double>{1500, 500} << false;
        QTest::newRow("a slot of nothing") << 2000.0 << QStringList{"40", "20"} << QList<double>{2000, 0} << false;
        QTest::newRow("a size that is no number") << 2000.0 << QStringList{"大包"} << QList<double>{2000} << false;
    }
    void allocation()
    {
        QFETCH(double, actual);
        QFETCH(QStringList, specs);
        QFETCH(QList<double>, kilograms);
        QFETCH(bool, accepted);
        ProductionRun run;
        run.head = head(QStringLiteral("01"), actual);
        std::vector<ProductSlot> products;
        for (int i = 0; i < specs.size(); ++i)
            products.push_back({QStringLiteral("p%1").arg(i), specs[i], QStringLiteral("产品"), kilograms[i]});
        products.push_back({QString(), QString(), QString(), 0}); // an empty slot counts for nothing
        bool ok = true;
        try {
            runs().checkAllocation(run, products);
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), ProductionRuns::kBadAllocation);
            ok = false;
        }
        QCOMPARE(ok, accepted);
    }

    // Cancelling team 01's run takes back exactly its own rows: team 02's run
    // in progress and the shift row committed earlier stay as they were.
    void cancelTouchesOnlyThisRun()
    {
        s().insert(QStringLiteral("scylxh"), {{"yldm", "m01"}, {"ylmc", "玉米"}, {"lrsl", 5000.0}, {"sjsl", 4000.0},
                                              {"scjc", 0.0}, {"sjjc", 0.0}, {"lrjc", 0.0}, {"sjxh", 0.0}, {"bzdm", "01"},
                                              {"bzdm0", "02"}, {"rq_1", "2026-12-10"}, {"bz", "1"}, {"rec_num", 1}});
        std::unique_ptr<Session> other = m_db->openAnother();
        ProductionRun theirs = ProductionRuns(*other, m_clock).draw(head(QStringLiteral("02"), 1000), 0);
        ProductionRun mine = runs().draw(head(QStringLiteral("01"), 2000), 0);
        QCOMPARE(value(QStringLiteral("SELECT lrsl FROM {scylxh} WHERE yldm = 'm01' AND bzdm = '01'")).toDouble(), 6200.0);

        runs().cancel(mine);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bzdm = '01'")), 0);
        QCOMPARE(value(QStringLiteral("SELECT lrsl FROM {scylxh} WHERE yldm = 'm01' AND bzdm = '01'")).toDouble(), 5000.0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh} WHERE bzdm = '01'")), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bzdm = '02' AND bz = ''")), 3);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylxh} WHERE bzdm = '02' AND bz = ''")), 3);

        // Their run is still whole and can be confirmed.
        ProductionRuns(*other, m_clock)
            .confirm(theirs, products({{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 1000}}));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bzdm = '02' AND bz = '1'")), 3);
        // A confirmed run cannot be confirmed again.
        QVERIFY_THROWS_EXCEPTION(DomainError, runs().confirm(theirs, products({{QStringLiteral("p401"), QStringLiteral("40"),
                                                                              QStringLiteral("猪全价料40"), 1000}})));
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'p401'")).toDouble(), 1000.0);
    }

    // The confirmation is one transaction: whichever of its writes fails,
    // no line, stock or commit flag is left behind.
    void confirmIsAtomic()
    {
        ProductionRun run;
        const QStringList tables{"scylk", "scylxh", "velcpk", "velcpzk"};
        const int writes = test::checkEachWriteFailing(
            s(), tables,
            [&] {
                m_db->reset();
                test::loadProductionFixture(s());
                s().insert(QStringLiteral("velcpzk"), {{"cpdm", "p201"}, {"cpmc", "猪全价料20"}, {"cpgg", "20"},
                                                       {"scsl", 100.0}, {"sccb", 2000.0}, {"cpbz", "1"}});
                run = runs().draw(head(QStringLiteral("01"), 2000), 0);
            },
            [&] {
                runs().confirm(run, products({{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 1500},
                                           {QStringLiteral("p201"), QStringLiteral("20"), QStringLiteral("猪全价料20"), 500}}));
            });
        QVERIFY(writes >= 8);
    }

    void barCodeShape()
    {
        QCOMPARE(ProductionRuns::barCode(1), QStringLiteral("2000000000015"));
        QCOMPARE(ProductionRuns::ean13CheckDigit(QStringLiteral("400638133393")), 1); // a published EAN-13
    }

    // Two workstations confirming runs at the same moment get distinct codes.
    void barCodesDistinctBetweenWorkstations()
    {
        constexpr int perStation = 6;
        auto work = [this](std::vector<QString> *codes, QString team) {
            std::unique_ptr<Session> ws = m_db->openAnother();
            ProductionRuns r(*ws, m_clock);
            for (int i = 0; i < perStation; ++i) {
                ProductionRun run = r.draw(head(team, 1000), i * 3);
                const RunBooking b = r.confirm(
                    run, products({{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 600},
                                {QStringLiteral("p201"), QStringLiteral("20"), QStringLiteral("猪全价料20"), 400}}));
                codes->insert(codes->end(), b.barCodes.begin(), b.barCodes.end());
            }
        };
        std::vector<QString> a, b;
        std::thread ta(work, &a, QStringLiteral("01"));
        std::thread tb(work, &b, QStringLiteral("02"));
        ta.join();
        tb.join();
        std::set<QString> all(a.begin(), a.end());
        all.insert(b.begin(), b.end());
        QCOMPARE(int(all.size()), 4 * perStation);
        for (const QString &c : all) {
            QCOMPARE(c.size(), 13);
            QCOMPARE(ProductionRuns::ean13CheckDigit(c.left(12)), c.right(1).toInt());
        }
        QCOMPARE(count(QStringLiteral("SELECT COUNT(DISTINCT txm) FROM {velcpk}")), 4 * perStation);
        // Both stations' kilograms are in the stock: nothing lost to a race.
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'p401'")).toDouble(), 2 * perStation * 600.0);
    }
};

QTEST_GUILESS_MAIN(TestProductionRuns)
#include "tst_productionruns.moc"
