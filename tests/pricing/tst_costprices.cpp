// Cost price maintenance: the correction factor and what it writes, the
// cost price of a product's lines within dates, and the below-cost filter's
// rows; each operation whole or not at all, and their two documents.

#include "common/clock.h"
#include "common/dates.h"
#include "pricing/costdocuments.h"
#include "pricing/costprices.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));
const QString kStamp = QStringLiteral("2026-11-01 08:00:00");

} // namespace

class TestCostPrices : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{kNow};

    Session &s() { return m_db->session(); }
    QVariant value(const char *sql, const Values &v = {}) { return s().scalar(QString::fromUtf8(sql), v); }

    void product(const char *cpdm, const char *cpbz, double cbjg, const QVariant &sccb)
    {
        s().insert(QStringLiteral("price"), {{"cpdm", cpdm}, {"cpmc", QStringLiteral("产品") + cpdm}, {"cpgg", "40"},
                                             {"kpjg", 3200.0}, {"cbjg", cbjg}, {"cpbz", cpbz}, {"rq", kStamp}});
        if (sccb.isValid())
            s().insert(QStringLiteral("velcpzk"), {{"cpdm", QString::fromLatin1(cpdm).toUpper()},
                                                   {"cpmc", QStringLiteral("产品") + cpdm}, {"cpgg", "40"},
                                                   {"sccb", sccb}, {"cpbz", cpbz}, {"scrq_1", "2026-11-30"}});
    }
    void customerPrice(const char *khdm, const char *cpdm, const QVariant &fhll)
    {
        s().insert(QStringLiteral("khprice"), {{"khdm", khdm}, {"khmc", QStringLiteral("客户") + khdm}, {"cpdm", cpdm},
                                               {"cpmc", QStringLiteral("产品") + cpdm}, {"cpgg", "40"}, {"kpjg", 3200.0},
                                               {"dqbh", QString::fromLatin1(khdm).left(2)}, {"dqmc", "旧地区名"},
                                               {"cpbz", "0"}, {"rq", kStamp}, {"fhll", fhll}});
    }
    void line(const char *cpdm, const char *date, double cbjg, double zcjg = 2800)
    {
        SaleLine l;
        l.khdm = QStringLiteral("1100001");
        l.khmc = QStringLiteral("张记养殖场");
        l.region = QStringLiteral("城关街道");
        l.cpdm = QString::fromLatin1(cpdm);
        l.cpmc = QStringLiteral("产品") + l.cpdm;
        l.cpgg = QStringLiteral("40");
        l.rq_1 = QString::fromLatin1(date);
        l.zznum = 1000;
        l.zzjg = 3200;
        l.zzje = 3200;
        l.zcjg = zcjg;
        l.cbjg = cbjg;
        writeSaleLine(s(), l);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void factor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("factor");
        QTest::newRow("below one") << "0.95" << CostPriceFix::kFactorBelowOne << 0.0;
        QTest::newRow("blank") << " " << CostPriceFix::kFactorEmpty << 0.0;
        QTest::newRow("text") << "abc" << CostPriceFix::kFactorNumber << 0.0;
        QTest::newRow("pasted") << "1.05 where 1=1" << CostPriceFix::kFactorNumber << 0.0;
        QTest::newRow("far too large") << "25" << QStringLiteral("请输入正确的数字！") << 0.0;
        QTest::newRow("one") << "1" << QString() << 1.0;
        QTest::newRow("leading zero") << "01.5" << QString() << 1.5;
        QTest::newRow("full width") << "１.０５" << QString() << 1.05;
    }
    void factor()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(double, factor);
        try {
            QCOMPARE(CostPriceFix::parseFactor(typed), factor);
            QVERIFY(message.isEmpty());
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), message);
        }
    }

    // sccb × factor for the category's products with a production cost; the
    // others keep their cost price, and the run says how many it skipped.
    void correctionOfACategory()
    {
        product("n401", "0", 2000, 2400.0);
        product("n402", "0", 2100, 0.0);      // never costed
        product("n403", "0", 2200, QVariant()); // no production row
        product("q101", "1", 3000, 2600.0);    // another category
        QCOMPARE(int(CostPriceFix(s()).feedCategories().size()), 0);
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "浓缩料"}, {"cpbz", "0"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "编织袋"}, {"cpbz", "A"}, {"cpgg", "40"}});
        QCOMPARE(int(CostPriceFix(s()).feedCategories().size()), 1);

        const CostFixResult r = CostPriceFix(s()).correct(QStringLiteral("0"), 1.05);
        QCOMPARE(r.corrected, 1);
        QCOMPARE(r.skipped, 1);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2520.0);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n402'").toDouble(), 2100.0);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n403'").toDouble(), 2200.0);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'q101'").toDouble(), 3000.0);
        QCOMPARE(readDateTime(value("SELECT rq FROM {price} WHERE cpdm = 'n401'")), readDateTime(kStamp));
        QCOMPARE(CostPriceFix::skippedMessage(1), QStringLiteral("有1个产品的生产成本为0或没有生产成本，保留原成本价格。"));
        QCOMPARE(CostPriceFix(s()).productionCosts(QStringLiteral("0")).size(), size_t(2));
        QCOMPARE(CostPriceFix(s()).listCosts(QStringLiteral("0")).size(), size_t(3));

        // A factor that would take a cost price past what a price may be.
        s().execute(QStringLiteral("UPDATE {velcpzk} SET sccb = 900000 WHERE cpdm = 'N401'"));
        QVERIFY_THROWS_EXCEPTION(DomainError, CostPriceFix(s()).correct(QStringLiteral("0"), 2));
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2520.0);
    }

    // Every line of the product within the dates takes the cost; the price
    // table only when written back. Clearing touches the range only.
    void historicalCostPrices()
    {
        product("n401", "0", 2000, 2400.0);
        line("n401", "2026-11-20", 2500);
        line("N401", "2026-12-01", 2550);
        line("n401", "2026-12-19", 2500); // after the range
        line("n402", "2026-11-25", 2600);
        CostHistory h(s());
        QCOMPARE(h.setCost(QStringLiteral(" n401 "), QDate(2026, 11, 19), QDate(2026, 12, 18), 2700, false), 2);
        QCOMPARE(value("SELECT COUNT(*) FROM {sale1} WHERE cbjg = 2700").toInt(), 2);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2000.0);
        h.setCost(QStringLiteral("n401"), QDate(2026, 11, 19), QDate(2026, 12, 18), 2750, true);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2750.0);
        QCOMPARE(value("SELECT cbjg FROM {sale1} WHERE rq_1 = '2026-12-19'").toDouble(), 2500.0);

        // Lines whose policy price does not exceed the cost: equal counts.
        line("n403", "2026-11-21", 2800, 2800);
        RowPager below(s(), h.linesQuery(QDate(2026, 11, 19), QDate(2026, 12, 18), true));
        QCOMPARE(below.count(), 1);
        QCOMPARE(RowPager(s(), h.linesQuery(QDate(2026, 11, 19), QDate(2026, 12, 18), false)).count(), 4);

        // The print's order: a sortable column, and nothing else reaches the statement.
        const auto sorted = h.lines(QDate(2026, 11, 19), QDate(2026, 12, 18), false, QStringLiteral("cbjg"), true);
        QCOMPARE(sorted.front().cbjg, 2800.0);
        const auto plain = h.lines(QDate(2026, 11, 19), QDate(2026, 12, 18), false, QStringLiteral("id; DELETE FROM sale1"), true);
        QCOMPARE(int(plain.size()), 4);
        QCOMPARE(CostHistory::sortColumnOfTitle(QStringLiteral("成本价")), QStringLiteral("cbjg"));
        QCOMPARE(CostHistory::sortColumnOfTitle(QStringLiteral("规格")), QString());
        QCOMPARE(CostHistory::sortQuestion(QStringLiteral("政策价")), QStringLiteral("政策价按降序(Y)/升序(N)排列？"));
        FM_COMPARE_GOLDEN(historicalCostTable(sorted).toText(), "pricing/golden/historical_cost_table.txt");

        QCOMPARE(h.clearCosts(QDate(2026, 11, 19), QDate(2026, 12, 18)), 4);
        QCOMPARE(value("SELECT COUNT(*) FROM {sale1} WHERE cbjg = 0").toInt(), 4);
        QCOMPARE(CostHistory::parseCost(QString()), 0.0);
        QVERIFY_THROWS_EXCEPTION(DomainError, CostHistory::parseCost(QStringLiteral("2500,cbjg=0")));
        QVERIFY_THROWS_EXCEPTION(DomainError, h.setCost(QStringLiteral("n401"), QDate(2026, 11, 19),
                                                        QDate(2026, 12, 18), -1, true));
    }

    void costAndWriteBackTogether()
    {
        product("n401", "0", 2000, 2400.0);
        line("n401", "2026-11-20", 2500);
        line("n401", "2026-12-01", 2550);
        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("price"), QStringLiteral("sale1"), QStringLiteral("czrz")},
            [&] {
                s().execute(QStringLiteral("UPDATE {sale1} SET cbjg = 2500"));
                s().execute(QStringLiteral("UPDATE {price} SET cbjg = 2400"));
            },
            [&] { CostHistory(s()).setCost(QStringLiteral("n401"), QDate(2026, 11, 19), QDate(2026, 12, 18), 2700, true); });
        // Each table's change and its change-log row.
        QCOMPARE(writes, 4);
    }

    // Exactly the customer prices at or below cost (equal ones earn nothing
    // and sales entry warns on them), not empty or 0 ones; a deleted
    // region's rows keep the name the price row has; one region's filter
    // leaves only its rows; the old table goes in the same transaction as the
    // new rows come.
    void filter()
    {
        product("n401", "0", 2520, 2400.0);
        product("n402", "0", 3000, QVariant());
        s().insert(QStringLiteral("dqk"), {{"dq", "城关街道"}, {"bh", "11"}});
        s().insert(QStringLiteral("dqk"), {{"dq", "东山片区"}, {"bh", "12"}});
        customerPrice("1100001", "n401", 2520.0);   // equal: listed with 0
        customerPrice("1100002", "n401", 2519.0);   // 1 below
        customerPrice("1100003", "n401", QVariant()); // no policy price
        customerPrice("1100004", "n401", 0.0);      // none either
        customerPrice("1100005", "n401", 2520.01);  // a cent above: not listed
        customerPrice("1200001", "N401", 2400.5);
        customerPrice("1300001", "n402", 2999.99);  // region 13 deleted
        customerPrice("1100002", "n402", 3100.0);
        s().insert(QStringLiteral("khjggl"), {{"khdm", "1100009"}, {"cpdm", "n999"}, {"jgce", -5.0}});

        PriceFilter f(s(), m_clock);
        QCOMPARE(f.rebuild(), 4);
        const std::vector<PriceFilterRow> rows = f.rows();
        QCOMPARE(int(rows.size()), 4);
        QCOMPARE(rows[0].khdm, QStringLiteral("1100001"));
        QCOMPARE(rows[0].jgce, 0.0);
        QCOMPARE(rows[1].khdm, QStringLiteral("1100002"));
        QCOMPARE(rows[1].jgce, -1.0);
        QCOMPARE(rows[1].dqmc, QStringLiteral("城关街道"));
        QCOMPARE(rows[1].dqbh, QStringLiteral("11"));
        QCOMPARE(rows[2].jgce, -119.5);
        QCOMPARE(rows[3].dqmc, QStringLiteral("旧地区名"));
        QCOMPARE(rows[3].jgce, -0.01);
        QCOMPARE(rows[3].rq, kNow);
        FM_COMPARE_GOLDEN(priceFilterList(rows).toText(), "pricing/golden/price_filter_list.txt");

        QCOMPARE(f.rebuild(QStringLiteral("12")), 1);
        QCOMPARE(f.rows().front().khdm, QStringLiteral("1200001"));
        QCOMPARE(RowPager(s(), f.rowsQuery()).count(), 1);

        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("khjggl")}, [&] { f.rebuild(QStringLiteral("12")); }, [&] { f.rebuild(); });
        QCOMPARE(writes, 2);
    }
};

QTEST_MAIN(TestCostPrices)
#include "tst_costprices.moc"
