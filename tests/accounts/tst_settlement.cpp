// Settlement of a customer's period: the worked arithmetic of collation and
// processing, the date rules, settling again, lines without a policy price,
// the batch against settling each customer alone, and failures that leave
// nothing half-written.

#include "accounts/settlement.h"
#include "accounts/settlementfixture.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

const Period kApril{QDate(2018, 4, 19), QDate(2018, 5, 18)};

template <class Fn>
QString refusal(Fn fn)
{
    try {
        fn();
    } catch (const DomainError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestSettlement : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    SettlementRows rows() { return SettlementRows{s()}; }
    Settlement settlement() { return Settlement(s()); }

    // The worked example: 2 000 kg at 6 000 with policy 2 800, 500 kg of it
    // returned for 1 500; receivable 10 000, received 7 000.
    Customer workedExample()
    {
        SettlementRows r = rows();
        r.region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        const Customer c = r.customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        r.issue(c, QStringLiteral("2018-04-25"), QStringLiteral("n401"), 2000, 6000, 2800);
        r.giveBack(c, QStringLiteral("2018-05-02"), QStringLiteral("n401"), 500, 1500, 2800);
        r.funds(c, QStringLiteral("2018-04-25"), 6000, 3000);
        r.funds(c, QStringLiteral("2018-05-02"), -1500, 0, QStringLiteral("退料时间:2018-05-02 10:00:00"));
        r.funds(c, QStringLiteral("2018-05-10"), 5500, 4000);
        // Outside the period: not counted, not stamped.
        r.issue(c, QStringLiteral("2018-04-18"), QStringLiteral("n401"), 1000, 3000, 2800);
        r.funds(c, QStringLiteral("2018-05-19"), 100, 0);
        return c;
    }

    // One text line per detail row, fund row fee and month record of a customer.
    QString figures(const QString &code)
    {
        QStringList out;
        for (const Row &r : s().rows(QStringLiteral("SELECT region, khmc, cpdm, cpmc, cpgg, sjxl, pmje, zcjg, zcje, tgf, rq_1, rq_2, cplb "
                                                    "FROM {khjs_mx} WHERE khdm = ? ORDER BY cpdm, rq_1"),
                                     {code})) {
            QStringList cells;
            for (const QString &c : r.columnNames()) cells << r.value(c).toString().trimmed();
            out << QStringLiteral("mx ") + cells.join(QLatin1Char('|'));
        }
        for (const Row &r : s().rows(QStringLiteral("SELECT rq, zzje, sjdx FROM {khzj} WHERE khdm = ? ORDER BY rq, id"), {code}))
            out << QStringLiteral("zj %1|%2|%3").arg(r.text("rq"), r.value("zzje").toString(),
                                                      r.isNull("sjdx") ? QStringLiteral("<null>") : r.value("sjdx").toString());
        for (const Row &r : s().rows(QStringLiteral("SELECT khmc, region, ysje, sjje, sjqk, sjzq, tgf, rq FROM {khzqk} WHERE khdm = ? ORDER BY rq, id"),
                                     {code})) {
            QStringList cells;
            for (const QString &c : r.columnNames()) cells << r.value(c).toString().trimmed();
            out << QStringLiteral("qk ") + cells.join(QLatin1Char('|'));
        }
        return out.join(QLatin1Char('\n'));
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void dateRules_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("refusal");
        const QString badStart = QStringLiteral("结算日期有错！结算起始日为上月19日!");
        const QString badEnd = QStringLiteral("日期有错！注意结算截止日为本月18号");
        QTest::newRow("a 19th and an 18th") << "2018-04-19" << "2018-05-18" << "";
        QTest::newRow("start on the 1st") << "2018-04-01" << "" << badStart;
        QTest::newRow("start not a date") << "2018-04-1x" << "" << badStart;
        QTest::newRow("end on the 17th") << "2018-04-19" << "2018-05-17" << badEnd;
        QTest::newRow("end before the start") << "2018-04-19" << "2018-03-18" << badEnd;
        QTest::newRow("end a day that does not exist") << "2018-04-19" << "2018-02-30" << badEnd;
    }
    void dateRules()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, refusal);
        QDate from;
        QString got = ::refusal([&] { from = Settlement::checkStart(start); });
        if (got.isEmpty()) got = ::refusal([&] { Settlement::checkEnd(from, end); });
        QCOMPARE(got, refusal);
    }

    void periodOfOneMonth()
    {
        QVERIFY(Settlement::isOneMonth(kApril));
        QVERIFY(Settlement::isOneMonth({QDate(2018, 12, 19), QDate(2019, 1, 18)}));
        QVERIFY(!Settlement::isOneMonth({QDate(2018, 4, 19), QDate(2018, 6, 18)}));
        QCOMPARE(Settlement::endThisMonth(QDate(2018, 6, 2)), QDate(2018, 6, 18));
    }

    // Collation and processing as the one-customer window runs them.
    void workedArithmetic()
    {
        const Customer c = workedExample();
        const Collation col = settlement().collate(c, kApril);
        QCOMPARE(col.lines.size(), size_t(1));
        const SettlementLine &l = col.lines.front();
        QCOMPARE(l.quantity, 1500.0);
        QCOMPARE(l.faceAmount, 4500.0);
        QCOMPARE(l.policyAmount, 4200.0);
        QCOMPARE(l.fee, 0.0); // until processing
        QCOMPARE(col.kilograms, 1500.0);
        QVERIFY(col.missing.empty());

        const SettlementFigures f = settlement().process(c, kApril);
        QCOMPARE(f.fee, 300.0);
        QCOMPARE(f.receivable, 10000.0);
        QCOMPARE(f.received, 7000.0);
        QCOMPARE(f.monthKey, QStringLiteral("2018-04"));
        QCOMPARE(figures(c.code), QStringLiteral(
                                      "mx 城关镇东区|张记养殖场|n401|猪用浓缩料|40|1500|4500|0|4200|300|2018-04-19|2018-05-18|0\n"
                                      "zj 2018-04-25|300| \n"
                                      "zj 2018-05-02|300|退料时间:2018-05-02 10:00:00\n"
                                      "zj 2018-05-10|300| \n"
                                      "zj 2018-05-19|0|<null>\n"
                                      "qk 张记养殖场|城关镇东区|10000|7000|2700|3000|300|2018-04"));
    }

    // The batch's one transaction gives the same rows as the window's two
    // steps, and settling again (either way) replaces, never adds.
    void settlingAgainReplaces()
    {
        const Customer c = workedExample();
        settlement().collate(c, kApril);
        settlement().process(c, kApril);
        const QString once = figures(c.code);
        settlement().collate(c, kApril);
        settlement().process(c, kApril);
        QCOMPARE(figures(c.code), once);
        const SettlementOutcome o = settlement().settle(c, kApril);
        QVERIFY(o.settled);
        QCOMPARE(o.figures.fee, 300.0);
        QCOMPARE(figures(c.code), once);
        settlement().settle(c, kApril);
        QCOMPARE(figures(c.code), once);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt(), 1);

        // A later slip of the period changes the figures on the next settlement.
        rows().issue(c, QStringLiteral("2018-05-18"), QStringLiteral("N401"), 1000, 3000, 2900);
        rows().funds(c, QStringLiteral("2018-05-18"), 3000, 0);
        settlement().settle(c, kApril);
        const auto qk = s().row(QStringLiteral("SELECT ysje, sjqk, tgf FROM {khzqk}"));
        QCOMPARE(qk->number("tgf"), 400.0); // 300 + 1000 × (3000 − 2900) / 1000, one row for n401/N401
        QCOMPARE(qk->number("ysje"), 13000.0);
        QCOMPARE(qk->number("sjqk"), 13000.0 - 7000.0 - 400.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khjs_mx}")).toInt(), 1);
        // Only the fee that moved on posted fund rows is a change: one record.
        const fm::Rows log = s().rows(QStringLiteral("SELECT gnmc, bm, dm, jz, xz FROM {czrz}"));
        QCOMPARE(log.size(), size_t(1));
        QCOMPARE(log[0].text("bm"), QStringLiteral("khzj"));
        QCOMPARE(log[0].text("dm"), c.code);
        QVERIFY(log[0].text("jz").startsWith(QStringLiteral("期间=2018-04-19~2018-05-18; ")));
        QVERIFY(log[0].text("jz").endsWith(QStringLiteral("; zzje=300")));
        QVERIFY(log[0].text("xz").endsWith(QStringLiteral("; zzje=400")));
    }

    void productsAndAnotherPeriodStaySeparate()
    {
        const Customer c = workedExample();
        SettlementRows r = rows();
        r.issue(c, QStringLiteral("2018-05-01"), QStringLiteral("q210"), 800, 1760, 2100, QStringLiteral("猪用全价料"), "20", "1");
        // A return of a product without a line in the period has no row to reduce.
        s().insert(QStringLiteral("khtl"), {{"khdm", c.code}, {"cpdm", "y001"}, {"tlnum", 10.0}, {"tlje", 90.0},
                                            {"bz", "0"}, {"tlrq", "2018-05-03"}});
        settlement().settle(c, kApril);
        // The previous period, settled after: its rows stay beside April's.
        settlement().settle(c, {QDate(2018, 3, 19), QDate(2018, 4, 18)});
        const std::vector<SettlementLine> april = settlement().lines(c.code, kApril);
        QCOMPARE(april.size(), size_t(2));
        QCOMPARE(april[0].productCode, QStringLiteral("q210")); // by product name: 全 before 浓
        QCOMPARE(april[0].fee, 80.0);
        QCOMPARE(april[0].category, QStringLiteral("1"));
        QCOMPARE(april[1].productCode, QStringLiteral("n401"));
        QCOMPARE(settlement().lines(c.code, {QDate(2018, 3, 19), QDate(2018, 4, 18)}).size(), size_t(1));
        QCOMPARE(s().scalar(QStringLiteral("SELECT tgf FROM {khzqk} WHERE rq = '2018-04'")).toDouble(), 380.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT tgf FROM {khzqk} WHERE rq = '2018-03'")).toDouble(), 200.0);
        QCOMPARE(settlement().linesWithin(c.code, QDate(2018, 3, 19), QDate(2018, 5, 18)).size(), size_t(3));
    }

    void lineWithoutPolicyPriceIsToldAndSettled()
    {
        SettlementRows r = rows();
        const Customer c = r.customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), QStringLiteral("城关镇东区"));
        r.issue(c, QStringLiteral("2018-04-20"), QStringLiteral("n402"), 400, 1280, 0, QStringLiteral("鸡用浓缩料"), "20");
        r.funds(c, QStringLiteral("2018-04-20"), 1280, 0);
        const Collation col = settlement().collate(c, kApril);
        QCOMPARE(col.missing.size(), size_t(1));
        QCOMPARE(Settlement::missingPolicyMessage(col.missing.front()),
                 QStringLiteral("该客户的鸡用浓缩料 规格：20 无记忆的政策价格，请与公司经理联系！"));
        QCOMPARE(Settlement::missingPolicyMessage(c, col.missing.front()),
                 QStringLiteral("客户:1100002李家猪场的鸡用浓缩料 规格：20 无记忆的政策价格，请与公司经理联系！"));
        QCOMPARE(settlement().process(c, kApril).fee, 1280.0); // the whole invoice amount
        QCOMPARE(settlement().settle(c, kApril).missing.size(), size_t(1));
    }

    // Answering Yes to "无该客户的记录,是否处理?！": a month record of zeros.
    void customerWithoutRowsGetsZeroRecordFromTheWindow()
    {
        const Customer c = rows().customer(QStringLiteral("1100003"), QStringLiteral("王家"), QStringLiteral("城关镇东区"));
        QVERIFY(settlement().collate(c, kApril).lines.empty());
        settlement().process(c, kApril);
        QCOMPARE(figures(c.code), QStringLiteral("qk 王家|城关镇东区|0|0|0|0|0|2018-04"));
        // The batch leaves such a customer alone.
        m_db->reset();
        const Customer d = rows().customer(QStringLiteral("1100003"), QStringLiteral("王家"), QStringLiteral("城关镇东区"));
        s().insert(QStringLiteral("khjs_mx"), {{"khdm", d.code}, {"cpdm", "n401"}, {"rq_1", "2018-04-19"}, {"rq_2", "2018-05-18"}});
        s().insert(QStringLiteral("khjs_mx"), {{"khdm", d.code}, {"cpdm", "n401"}, {"rq_1", "2018-03-19"}, {"rq_2", "2018-04-18"}});
        QVERIFY(!settlement().settle(d, kApril).settled);
        // Only the period's detail row went.
        QCOMPARE(s().scalar(QStringLiteral("SELECT rq_1 FROM {khjs_mx}")).toString(), QStringLiteral("2018-03-19"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khjs_mx}")).toInt(), 1);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt(), 0);
    }

    void candidatesOfARegion()
    {
        SettlementRows r = rows();
        const QString east = QStringLiteral("城关镇东区");
        const Customer a = r.customer(QStringLiteral("1100001"), QStringLiteral("甲"), east);
        const Customer closed = r.customer(QStringLiteral("1100002"), QStringLiteral("乙"), east, "X");
        const Customer slipsOnly = r.customer(QStringLiteral("1100003"), QStringLiteral("丙"), east);
        const Customer outside = r.customer(QStringLiteral("1100004"), QStringLiteral("丁"), east);
        const Customer moved = r.customer(QStringLiteral("1200001"), QStringLiteral("戊"), east); // by name, not code
        const Customer other = r.customer(QStringLiteral("1100005"), QStringLiteral("己"), QStringLiteral("东山乡南区"));
        r.funds(a, QStringLiteral("2018-05-18"), 10, 0);
        r.funds(closed, QStringLiteral("2018-04-19"), 10, 0);
        r.issue(slipsOnly, QStringLiteral("2018-04-30"), QStringLiteral("n401"), 40, 120, 2800);
        r.funds(outside, QStringLiteral("2018-05-19"), 10, 0);
        r.funds(moved, QStringLiteral("2018-04-30"), 10, 0);
        r.funds(other, QStringLiteral("2018-04-30"), 10, 0);
        QStringList codes;
        for (const Customer &c : settlement().candidates(east, kApril)) codes << c.code;
        QCOMPARE(codes, (QStringList{"1100001", "1200001"}));
    }

    // A batch gives exactly what settling each customer alone gives.
    void batchEqualsEachAlone()
    {
        const Customer a = workedExample();
        SettlementRows r = rows();
        const Customer b = r.customer(QStringLiteral("1100007"), QStringLiteral("赵家"), QStringLiteral("城关镇东区"));
        r.issue(b, QStringLiteral("2018-04-21"), QStringLiteral("q210"), 1200, 2640, 2150, QStringLiteral("猪用全价料"), "20");
        r.issue(b, QStringLiteral("2018-05-11"), QStringLiteral("q210"), 600, 1320, 2100, QStringLiteral("猪用全价料"), "20");
        r.funds(b, QStringLiteral("2018-04-21"), 2640, 2640);
        r.funds(b, QStringLiteral("2018-05-11"), 1320, 0);

        for (const Customer &c : {a, b}) {
            settlement().collate(c, kApril);
            settlement().process(c, kApril);
        }
        const QString alone = figures(a.code) + QLatin1Char('\n') + figures(b.code);
        const BatchReport report = settlement().settleAll({a, b}, kApril);
        QCOMPARE(report.settled, 2);
        QVERIFY(!report.failed);
        QCOMPARE(figures(a.code) + QLatin1Char('\n') + figures(b.code), alone);
        QVERIFY(alone.contains(QStringLiteral("qk 赵家|城关镇东区|3960|2640|1200|1320|120|2018-04")));
    }

    // A failure at the third customer: the first two settled, the third as it
    // was (its earlier settlement intact), the fourth not reached.
    void batchStopsAtTheFailingCustomer()
    {
        SettlementRows r = rows();
        std::vector<Customer> customers;
        for (int i = 1; i <= 4; ++i) {
            const Customer c = r.customer(QStringLiteral("110000%1").arg(i), QStringLiteral("客户%1").arg(i),
                                          QStringLiteral("城关镇东区"));
            r.issue(c, QStringLiteral("2018-04-20"), QStringLiteral("n401"), 1000 * i, 3000 * i, 2800);
            r.funds(c, QStringLiteral("2018-04-20"), 3000 * i, 1000);
            customers.push_back(c);
        }
        settlement().settle(customers[2], kApril);
        r.issue(customers[2], QStringLiteral("2018-05-01"), QStringLiteral("n401"), 500, 1500, 2800);
        const QString third = figures(customers[2].code);

        QStringList seen;
        const BatchReport report = settlement().settleAll(
            customers, kApril,
            [&](int i, const Customer &c) {
                seen << c.code;
                if (i == 2) s().failWriteAt(2); // after its detail rows were removed
                return true;
            });
        s().failWriteAt(0);
        QVERIFY(report.failed);
        QCOMPARE(report.failed->code, customers[2].code);
        QVERIFY(!report.error.isEmpty());
        QCOMPARE(report.settled, 2);
        QCOMPARE(seen, (QStringList{"1100001", "1100002", "1100003"}));
        QVERIFY(figures(customers[0].code).contains(QStringLiteral("qk 客户1|城关镇东区|3000|1000|1800|2000|200|2018-04")));
        QVERIFY(figures(customers[1].code).contains(QStringLiteral("qk 客户2|城关镇东区|6000|1000|4600|5000|400|2018-04")));
        QCOMPARE(figures(customers[2].code), third);
        QVERIFY(!figures(customers[3].code).contains(QStringLiteral("qk ")));
    }

    void batchCancelledBetweenCustomers()
    {
        SettlementRows r = rows();
        std::vector<Customer> customers;
        for (int i = 1; i <= 3; ++i) {
            const Customer c = r.customer(QStringLiteral("110000%1").arg(i), QStringLiteral("客户%1").arg(i),
                                          QStringLiteral("城关镇东区"));
            r.funds(c, QStringLiteral("2018-04-20"), 100, 0);
            customers.push_back(c);
        }
        int after = 0;
        const BatchReport report = settlement().settleAll(
            customers, kApril, [](int i, const Customer &) { return i < 2; },
            [&](int, const Customer &, const SettlementOutcome &o) { after += o.settled; });
        QVERIFY(report.cancelled);
        QCOMPARE(report.settled, 2);
        QCOMPARE(after, 2);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt(), 2);
    }

    // Whichever write of a settlement fails, nothing of it stays.
    void settlementIsAtomic()
    {
        for (bool again : {false, true}) {
            const int writes = checkEachWriteFailing(
                s(), {QStringLiteral("khjs_mx"), QStringLiteral("khzj"), QStringLiteral("khzqk"), QStringLiteral("czrz")},
                [&] {
                    m_db->reset();
                    const Customer c = workedExample();
                    if (again) {
                        settlement().settle(c, kApril);
                        rows().issue(c, QStringLiteral("2018-05-01"), QStringLiteral("n401"), 500, 1500, 2800);
                    }
                },
                [&] { settlement().settle(*findCustomer(s(), QStringLiteral("1100001")), kApril); });
            QVERIFY(writes >= 4);
        }
    }
};

QTEST_MAIN(TestSettlement)
#include "tst_settlement.moc"
