// The monthly production cost summary, the sales cost summary and the
// financial summary; the production summary is also checked against a plain
// statement-by-statement computation on a generated month.

#include "common/clock.h"
#include "data/session.h"
#include "production/costsummary.h"
#include "production/productcatalogue.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "costsummaryreference.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <atomic>
#include <thread>

using namespace fm;
using fm::test::TestDb;

namespace {

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

} // namespace

class TestCostSummary : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 20), QTime(10, 0))};

    Session &s() { return m_db->session(); }
    CostSummary summary() { return CostSummary(s(), m_clock); }

    void product(const char *code, const char *flag, double sccb = 0)
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", code}, {"cpmc", QStringLiteral("产品") + code}, {"cpgg", "40"},
                                               {"scsl", 0.0}, {"sccb", sccb}, {"pfhm", "F1"}, {"cpbz", flag}});
    }
    void material(const char *code, const char *name, const char *cls)
    {
        s().insert(QStringLiteral("ylhzk"), {{"yldm", code}, {"ylmc", QString::fromUtf8(name)}, {"ylsl", 0.0},
                                             {"yljg", 0.0}, {"bz_1", cls}});
    }
    void line(const char *code, double kg, const char *txm = "", const char *date = "2026-12-05",
              const char *pfhm = "F1a", double sccb = 0, double packaging = 0, double labels = 0)
    {
        s().insert(QStringLiteral("velcpk"), {{"cpdm", code}, {"scsl", kg}, {"sccb", sccb}, {"pfhm", pfhm},
                                              {"scrq_1", date}, {"txm", QString::fromUtf8(txm)}, {"bzdje", packaging},
                                              {"qtbzje", 0.0}, {"bqje", labels}, {"fwbqje", 0.0}});
    }
    void drawn(const char *formula, const char *code, double pfbl, double price, const char *date = "2026-12-05")
    {
        s().insert(QStringLiteral("scylk"), {{"pfhm", formula}, {"yldm", code}, {"ylmc", code}, {"pfbl", pfbl},
                                             {"yljg", price}, {"rq_1", date}, {"bz", "1"}});
    }
    void overheads(const char *month, double qf, double gz, double df, double qt)
    {
        s().insert(QStringLiteral("zzfy"), {{"rq_1", month}, {"qf", qf}, {"gz", gz}, {"df", df}, {"qt", qt}});
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        s().insert(QStringLiteral("zcprice"), {{"cpbz", "1"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "F1"}, {"pfmc", "全价料配方"}});
    }

    // 10 t and 30 t with a 5 % material at 2000 → 2 t costing 4000; a premix
    // of 1 % at 5000 goes to the semi-finished column; a sundry return adds
    // tonnes only; a blending line adds its finished cost and packaging.
    void workedExample()
    {
        product("A1", "1");
        material("m01", "玉米", "1");
        material("m09", "预混料", "2");
        material("m05", "鱼粉", "1"); // drawn by the shifts, named by no formula line
        drawn("F1", "m01", 5, 2000);
        drawn("F1", "m01", 7, 9999, "2026-12-06"); // a later row of the same formula and material
        drawn("F1", "m09", 1, 5000);
        line("A1", 10000, "", "2026-12-05", "F1a", 0, 100, 10);
        line("A1", 30000, "生产输入", "2026-12-06", "f1b", 0, 300, 30);
        line("A1", 5000, "杂料回机", "2026-12-07", "F1", 0, 999, 999);
        line("A1", 1000, "换包", "2026-12-07", "F1", 2500, 20, 2);
        s().insert(QStringLiteral("scylxh"), {{"yldm", "M01"}, {"sjxh", 1500.0}, {"rq_1", "2026-12-05"}, {"bzdm", "01"}});
        s().insert(QStringLiteral("scylxh"), {{"yldm", "m01"}, {"sjxh", 700.0}, {"rq_1", "2026-12-09"}, {"bzdm", "02"}});
        s().insert(QStringLiteral("scylxh"), {{"yldm", "m05"}, {"sjxh", 800.0}, {"rq_1", "2026-12-09"}, {"bzdm", "02"}});
        overheads("202612", 0, 0, 0, 0);

        const CostSummaryOutcome out = summary().summarise("2026-12-01", "2026-12-31");
        QCOMPARE(int(out.products.size()), 1);
        const ProductCostRow &c = summary().productCosts().at(0);
        QCOMPARE(c.scsl, 46.0);
        QCOMPARE(c.sjxh, 4000.0);
        QCOMPARE(c.bcp, 0.4 * 5000);
        QCOMPARE(c.ccp, 2500.0);
        QCOMPARE(c.bzw, 420.0);
        QCOMPARE(c.bq, 42.0);
        QCOMPARE(c.hj, 4000.0 + 2000 + 2500 + 420 + 42);

        const auto use = summary().materialUse();
        QCOMPARE(int(use.size()), 2); // m05 gets no row
        QCOMPARE(use[0].yldm, QStringLiteral("m01"));
        QVERIFY(near(use[0].sjsl, 2.0));
        QCOMPARE(use[0].zje, 4000.0);
        QCOMPARE(use[0].yljg, 2000.0);
        QCOMPARE(use[0].sjhy, 2.2);
        QVERIFY(near(use[0].ylxh, -0.2));
        QVERIFY(near(use[0].xhje, -400));
        QCOMPARE(use[1].bz, QStringLiteral("2"));
        QVERIFY(near(out.totals.lossTonnes, -0.2 + 0.4));
        QVERIFY(near(out.totals.materialAmount, 6000));
        QCOMPARE(out.totals.packaging, 420.0);
    }

    // gz 1000 + df 2000 over 10 t and 30 t → 750 and 2250; the gas 400 goes
    // to the only complete feed.
    void overheadShares()
    {
        product("A1", "0");
        product("B2", "1");
        line("A1", 10000);
        line("B2", 30000);
        overheads("202612", 400, 1000, 2000, 0);
        summary().summarise("2026-12-01", "2026-12-31");
        const auto rows = summary().productCosts();
        QCOMPARE(int(rows.size()), 2);
        QCOMPARE(rows[0].zzfy, 750.0);
        QCOMPARE(rows[1].zzfy, 2250.0);
        QCOMPARE(rows[0].qf, 0.0);
        QCOMPARE(rows[1].qf, 400.0);
        QCOMPARE(rows[1].hj, 2650.0);
        QCOMPARE(rows[1].price, 2650.0 / 30);
    }

    // Today (2026-12-20) inside the period writes the cost back; a summary of
    // last month leaves the master alone.
    void writeBack_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("written");
        QTest::newRow("this month") << "2026-12-01" << "2026-12-31" << true;
        QTest::newRow("ends today") << "2026-12-01" << "2026-12-20" << true;
        QTest::newRow("last month") << "2026-11-01" << "2026-11-30" << false;
        QTest::newRow("ends yesterday") << "2026-12-01" << "2026-12-19" << false;
    }
    void writeBack()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, written);
        product("a1", "1", 1234);
        line("A1", 10000, "", qPrintable(start));
        overheads(qPrintable(start.left(4) + start.mid(5, 2)), 0, 3000, 0, 0);
        const CostSummaryOutcome out = summary().summarise(start, end);
        QCOMPARE(out.costsWrittenBack, written ? 1 : 0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT sccb FROM {velcpzk}")).toDouble(), written ? 300.0 : 1234.0);
        QCOMPARE(int(summary().productCosts().size()), 1);
    }

    // No overheads for the month of the start: the message names that month
    // and the previous results stay as they were.
    void missingOverheads()
    {
        product("A1", "1");
        line("A1", 10000, "", "2026-11-05");
        overheads("202612", 0, 1, 0, 0);
        summary().summarise("2026-12-01", "2026-12-31"); // an empty result, written
        s().insert(QStringLiteral("cpcbhz"), {{"cpdm", "old"}});
        try {
            summary().summarise("2026-11-01", "2026-12-31");
            QFAIL("no message");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("2026年11月的制造费用汇总数据不存在,请输入制造费用！"));
        }
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpdm FROM {cpcbhz}")).toString(), QStringLiteral("old"));
    }

    // Lines summing to 0 kg: the message, no row; the other product goes on.
    void zeroQuantity()
    {
        product("A1", "1");
        product("B2", "1");
        line("A1", 500);
        line("A1", -500);
        line("B2", 1000);
        overheads("202612", 0, 100, 0, 0);
        const CostSummaryOutcome out = summary().summarise("2026-12-01", "2026-12-31");
        QCOMPARE(out.warnings, QStringList{QStringLiteral("生产数量为0，数据有错误!")});
        QCOMPARE(int(out.products.size()), 1);
        QCOMPARE(out.products[0].zzfy, 100.0);
    }

    // A write that fails leaves both tables and the master as they were.
    void atomic()
    {
        product("A1", "1");
        material("m01", "玉米", "1");
        drawn("F1", "m01", 5, 2000);
        line("A1", 10000);
        overheads("202612", 0, 100, 0, 0);
        const int writes = test::checkEachWriteFailing(
            s(), {QStringLiteral("cpcbhz"), QStringLiteral("ylhyhz"), QStringLiteral("velcpzk")}, [] {},
            [&] { summary().summarise("2026-12-01", "2026-12-31"); });
        QVERIFY(writes > 3);
    }

    // A second workstation's summary waits until the first has committed,
    // so it never deletes or writes beside a half-built table.
    void secondRunWaits()
    {
        product("A1", "1");
        line("A1", 10000);
        overheads("202612", 0, 100, 0, 0);
        std::atomic<bool> secondDone{false};
        std::thread second;
        s().transaction([&] {
            summary().summarise("2026-12-01", "2026-12-31");
            second = std::thread([&] {
                std::unique_ptr<Session> ws = m_db->openAnother();
                CostSummary(*ws, m_clock).summarise("2026-12-01", "2026-12-31");
                secondDone = true;
            });
            QTest::qWait(400);
            QVERIFY(!secondDone);
        });
        second.join();
        QVERIFY(secondDone);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {cpcbhz}")).toInt(), 1);
    }

    // A generated month: the summary equals the plain computation.
    void matchesReference()
    {
        QRandomGenerator rng(20261220);
        const QStringList formulas{"F1", "F12", "G7", "H3"};
        for (const QString &f : formulas.mid(1)) s().insert(QStringLiteral("pfzlk"), {{"pfhm", f}});
        for (int m = 0; m < 14; ++m) {
            const QString code = QStringLiteral("m%1").arg(m, 2, 10, QLatin1Char('0'));
            if (m < 12)
                s().insert(QStringLiteral("ylhzk"), {{"yldm", code}, {"ylmc", code}, {"bz_1", m % 4 == 0 ? "2" : "1"}});
            else
                s().insert(QStringLiteral("ylpzk"), {{"yldm", code}, {"ylmc", code}, {"descip", "2"}});
            for (int d = 1; d <= 28; d += 9)
                for (const QString &f : formulas)
                    if (rng.bounded(3) != 0)
                        drawn(qPrintable(f), qPrintable(m % 3 ? code : code.toUpper()), 1 + rng.bounded(20),
                              1000 + rng.bounded(3000) + rng.generateDouble(),
                              qPrintable(QStringLiteral("2026-12-%1").arg(d, 2, 10, QLatin1Char('0'))));
            s().insert(QStringLiteral("scylxh"), {{"yldm", code}, {"sjxh", rng.bounded(100000) + 0.5}, {"rq_1", "2026-12-11"}});
        }
        const char *kinds[] = {"", "生产输入", "杂料回机", "掺拌生产", "换包", "6901234"};
        const char *pfhms[] = {"F1x", "F12y", "G7", "h3zz", "Q9"};
        for (int p = 0; p < 20; ++p) {
            const QByteArray code = QStringLiteral("P%1").arg(p, 2, 10, QLatin1Char('0')).toUtf8();
            product(code.constData(), p % 3 ? "1" : "0");
            for (int l = 0; l < 12; ++l) {
                const QByteArray date = QStringLiteral("2026-%1-%2").arg(l == 0 ? 11 : 12).arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0')).toUtf8();
                line(p % 5 ? code.constData() : code.toLower().constData(), 500 + rng.bounded(40000) + rng.generateDouble(),
                     kinds[rng.bounded(6)], date.constData(), pfhms[rng.bounded(5)], 1500 + rng.bounded(1000),
                     rng.bounded(500), rng.bounded(50));
            }
        }
        overheads("202612", 12345.6, 20000, 30000.25, 777);
        const test::Reference ref = test::referenceSummary(s(), "2026-12-01", "2026-12-31");
        summary().summarise("2026-12-01", "2026-12-31");
        const auto got = summary().productCosts();
        const auto use = summary().materialUse();
        QCOMPARE(got.size(), ref.products.size());
        QCOMPARE(use.size(), ref.materials.size());
        QVERIFY(use.size() > 10);
        for (size_t i = 0; i < got.size(); ++i) {
            const ProductCostRow &a = got[i], &b = ref.products[i];
            QCOMPARE(a.cpdm, b.cpdm);
            QCOMPARE(a.bz, b.bz);
            const double x[] = {a.scsl, a.sjxh, a.ccp, a.bcp, a.bzw, a.bq, a.qf, a.zzfy, a.hj, a.price};
            const double y[] = {b.scsl, b.sjxh, b.ccp, b.bcp, b.bzw, b.bq, b.qf, b.zzfy, b.hj, b.price};
            for (int k = 0; k < 10; ++k)
                QVERIFY2(near(x[k], y[k]), qPrintable(QStringLiteral("%1 column %2: %3 vs %4").arg(a.cpdm).arg(k).arg(x[k]).arg(y[k])));
        }
        for (size_t i = 0; i < use.size(); ++i) {
            const MaterialUseRow &a = use[i], &b = ref.materials[i];
            QCOMPARE(a.yldm, b.yldm);
            QCOMPARE(a.bz, b.bz);
            const double x[] = {a.sjsl, a.yljg, a.zje, a.sjhy, a.ylxh, a.xhje};
            const double y[] = {b.sjsl, b.yljg, b.zje, b.sjhy, b.ylxh, b.xhje};
            for (int k = 0; k < 6; ++k)
                QVERIFY2(near(x[k], y[k]), qPrintable(QStringLiteral("%1 column %2: %3 vs %4").arg(a.yldm).arg(k).arg(x[k]).arg(y[k])));
        }
    }

    // Every product gets a sales cost row, at its current production cost.
    void salesCost()
    {
        product("A1", "1", 2000);
        product("B2", "1", 3000);
        s().insert(QStringLiteral("sale1"), {{"cpdm", "a1"}, {"zznum", 1500.0}, {"rq_1", "2026-12-03"}});
        s().insert(QStringLiteral("sale1"), {{"cpdm", "A1"}, {"zznum", 500.0}, {"rq_1", "2026-12-04"}});
        s().insert(QStringLiteral("sale1"), {{"cpdm", "A1"}, {"zznum", 900.0}, {"rq_1", "2026-11-30"}});
        const auto rows = summary().summariseSales("2026-12-01", "2026-12-31");
        QCOMPARE(int(rows.size()), 2);
        QCOMPARE(rows[0].scsl, 2000.0);
        QCOMPARE(rows[0].sxcb, 4000.0);
        QCOMPARE(rows[1].scsl, 0.0);
        QCOMPARE(rows[1].sxcb, 0.0);
    }

    // By quantity sold, largest first; codes match trimmed and without regard
    // to case; returns alone are listed; a product with neither is not.
    void financialSummary()
    {
        const char *codes[] = {"AB1", "CD2", "EF3", "GH4"};
        for (const char *c : codes)
            s().insert(QStringLiteral("price"), {{"cpdm", c}, {"cpmc", QStringLiteral("名") + c}, {"cpgg", "40"}});
        auto sale = [&](const char *code, double kg, double amount, double back, double backAmount, const char *date) {
            s().insert(QStringLiteral("sale1"), {{"cpdm", code}, {"zznum", kg}, {"zzje", amount}, {"tlnum", back},
                                                 {"kpje", backAmount}, {"rq_1", date}});
        };
        sale("ab1 ", 1000, 2600, 0, 0, "2026-12-02");
        sale("AB1", 500, 1300, 0, 0, "2026-12-03");
        sale("CD2", 4000, 9000, 0, 0, "2026-12-03");
        sale("EF3", 0, 0, 200, 520, "2026-12-04");
        sale("GH4", 9000, 9000, 0, 0, "2026-11-04");
        summary().clearFinancial();
        const auto rows = summary().summariseFinancial("2026-12-01", "2026-12-31");
        QCOMPARE(int(rows.size()), 3);
        QCOMPARE(rows[0].cpdm, QStringLiteral("CD2"));
        QCOMPARE(rows[1].cpdm, QStringLiteral("AB1"));
        QCOMPARE(rows[1].zznum, 1500.0);
        QCOMPARE(rows[1].zzje, 3900.0);
        QCOMPARE(rows[2].cpdm, QStringLiteral("EF3"));
        QCOMPARE(rows[2].tlnum, 200.0);
        QCOMPARE(rows[2].tlje, 520.0);
    }
    // The four documents, from small fixed rows: B4, A4 and 210 × 200 mm.
    void reports()
    {
        ProductCostRow a;
        a.cpmc = QStringLiteral("猪全价料");
        a.cpgg = QStringLiteral("40");
        a.scsl = 30;
        a.sjxh = 60000;
        a.bcp = 2000;
        a.bzw = 300;
        a.bq = 30;
        a.qf = 400;
        a.zzfy = 2250;
        a.hj = 64980;
        a.price = 2166;
        ProductCostRow b = a;
        b.cpmc = QStringLiteral("鸡浓缩料");
        b.scsl = 10;
        b.qf = 0;
        b.zzfy = 750;
        b.ccp = 1000;
        const QString printed = QStringLiteral("2026-12-20"), start = QStringLiteral("2026-12-01"),
                      end = QStringLiteral("2026-12-31");
        FM_COMPARE_GOLDEN(CostSummary::productCostReport({a, b}, printed, start, end).toText(),
                          "production/golden/product_cost.txt");
        FM_COMPARE_GOLDEN(CostSummary::salesCostReport({{"A1", "猪全价料", "40", 2000, 4000, {}, {}}, {"B2", "鸡浓缩料", "20", 0, 0, {}, {}}},
                                                       printed, start, end)
                              .toText(),
                          "production/golden/sales_cost.txt");
        MaterialUseRow m;
        m.ylmc = QStringLiteral("玉米");
        m.yljg = 2000;
        m.sjsl = 2;
        m.zje = 4000;
        FM_COMPARE_GOLDEN(CostSummary::materialUseReport({m}, printed, start, end).toText(),
                          "production/golden/material_use.txt");
        FM_COMPARE_GOLDEN(CostSummary::financialReport({{"CD2", "鸡浓缩料", "20", 4000, 9000, 0, 0, {}, {}},
                                                        {"EF3", "猪全价料", "40", 0, 0, 200, 520, {}, {}},
                                                        {"GH4", "只有金额", "40", 0, 100, 0, 0, {}, {}}},
                                                       printed, start, end)
                              .toText(),
                          "production/golden/financial_summary.txt");
    }
};

QTEST_GUILESS_MAIN(TestCostSummary)
#include "tst_costsummary.moc"
