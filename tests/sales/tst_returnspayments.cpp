#include "common/clock.h"
#include "data/seed.h"
#include "sales/corrections.h"
#include "sales/payments.h"
#include "sales/returns.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "support/testdb.h"
#include "salesfixture.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestReturnsPayments : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    const QString m_today = QStringLiteral("2026-12-10");

    Session &s() { return m_db->session(); }
    double value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v).toDouble(); }

    // A sold line of the customer, as the issue window writes it.
    qint64 sold(const QString &table, const QString &date, const QString &product, double kg, double price,
                double policy, int recnum = 1, const QString &czydm = QStringLiteral("admin"))
    {
        return s().insert(table, {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"}, {"cpdm", product},
                                  {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"zznum", kg}, {"zzjg", price},
                                  {"zzje", price * kg / 1000}, {"zcjg", policy}, {"cbjg", 2100.0}, {"bz_1", "1"},
                                  {"bz_3", "0"}, {"rq_1", date}, {"recnum", recnum}, {"czydm", czydm}, {"zzhm", "1001"}});
    }
    Purchase purchase(const QString &from = QStringLiteral("2026-01-01"))
    {
        const auto p = Returns(s(), m_clock, QStringLiteral("admin")).purchases(QStringLiteral("1100001"), from, m_today);
        return p.front();
    }
    SalesCustomer customer(const QString &code = QStringLiteral("1100001"))
    {
        return *Returns(s(), m_clock, QStringLiteral("admin")).customer(code);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        seedNewInstallation(s(), m_clock, SeedOptions{});
        test::loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("1000"));
        s().execute(QStringLiteral("UPDATE {velcpzk} SET scsl = 1000"));
    }

    void returnUnitsAndKilograms_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("kilograms");
        QTest::newRow("大包 by specification") << "大包" << 200.0;
        QTest::newRow("袋 by specification") << "袋" << 200.0;
        QTest::newRow("箱 is 20 kg") << "箱" << 100.0;
        QTest::newRow("吨 is the number typed") << "吨" << 5.0;
        QTest::newRow("unknown leaves it") << "桶" << 77.0;
    }
    void returnUnitsAndKilograms()
    {
        QFETCH(QString, unit);
        QFETCH(double, kilograms);
        QCOMPARE(Returns::kilograms(unit, 5, QStringLiteral("40"), 77), kilograms);
        QCOMPARE(Returns::unitFor(QStringLiteral(" 40 ")), QStringLiteral("大包"));
        QCOMPARE(Returns::unitFor(QStringLiteral("25")), QString());
    }

    void aReturnWritesFourTablesTogether()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const Purchase p = purchase();
        QCOMPARE(p.zzjg, 2400.0);
        const PreparedReturn prep = r.prepare(p, 5, QStringLiteral("大包"), Returns::kilograms(QStringLiteral("大包"), 5, p.cpgg, 0));
        QCOMPARE(prep.kilograms, 200.0);
        QCOMPARE(prep.amount, 480.0);
        const ReturnResult res = r.confirm(customer(), prep, m_today);
        QVERIFY(!res.productMissing);
        auto line = s().first(QStringLiteral("SELECT tlnum, kpje, kpjg, zcje, bz_1, zzhm, rq_1, rq_2, recnum FROM {sale1} WHERE id = ?"), {res.saleId});
        QCOMPARE(line->value(0).toDouble(), 200.0);
        QCOMPARE(line->value(1).toDouble(), 480.0);
        QCOMPARE(line->value(2).toDouble(), 2400.0);
        QCOMPARE(line->value(3).toDouble(), 460.0);
        QCOMPARE(line->value(4).toString(), QStringLiteral("3"));
        QCOMPARE(line->value(5).toString(), QStringLiteral("0"));
        QCOMPARE(line->value(7).toString(), m_today);
        QCOMPARE(line->value(8).toInt(), prep.serial);
        auto reg = s().first(QStringLiteral("SELECT tlje, tlprice, kprq, rec_num FROM {khtl} WHERE id = ?"), {res.registerId});
        QCOMPARE(reg->value(0).toDouble(), 480.0);
        QCOMPARE(reg->value(2).toString(), QStringLiteral("2026-12-01"));
        auto funds = s().first(QStringLiteral("SELECT ysje, sjxl, zzje, sjdx FROM {khzj} WHERE id = ?"), {res.fundsId});
        QCOMPARE(funds->value(0).toDouble(), -480.0);
        QCOMPARE(funds->value(1).toDouble(), 200.0);
        QCOMPARE(funds->value(2).toDouble(), -20.0); // the promotion fee of the goods returned: 200 kg × 100 / 1000
        QVERIFY(funds->value(3).toString().startsWith(QStringLiteral("退料时间:")));
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), 1200.0);
    }

    void returnAmountIsExactAndRetailKeepsItsPolicyPrice()
    {
        sold(QStringLiteral("his_sale1"), QStringLiteral("2026-05-02"), QStringLiteral("n40"), 1000, 2345.67, 2200);
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const Purchase p = purchase();
        QVERIFY(p.history); // archived purchases can be returned too
        const PreparedReturn prep = r.prepare(p, 5, QStringLiteral("大包"), 200);
        QVERIFY(qAbs(prep.amount - 469.134) < 1e-9);
        const ReturnResult res = r.confirm(customer(QStringLiteral("1100002")), prep, m_today); // retail
        QCOMPARE(value(QStringLiteral("SELECT kpjg FROM {sale1} WHERE id = ?"), {res.saleId}), 2200.0);
        QVERIFY(qAbs(value(QStringLiteral("SELECT kpje FROM {sale1} WHERE id = ?"), {res.saleId}) - 469.134) < 1e-9);
    }

    void returnOfAProductWithoutStockIsStillRecorded()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("gone"), 400, 2000, 1900);
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const ReturnResult res = r.confirm(customer(), r.prepare(purchase(), 1, QStringLiteral("大包"), 40), m_today);
        QVERIFY(res.productMissing);
        QVERIFY(res.saleId && res.registerId && res.fundsId);
        QCOMPARE(value(QStringLiteral("SELECT SUM(scsl) FROM {velcpzk}")), 4000.0); // unchanged
    }

    void paymentsAndTheBalance()
    {
        s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"ysje", 3000.0}, {"sjje", 1000.0}, {"rq", "2026-12-01"}});
        s().insert(QStringLiteral("his_khzj"), {{"khdm", "1100001"}, {"ysje", 500.0}, {"sjje", 0.0}, {"rq", "2025-06-01"}});
        s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"ysje", 999.0}, {"sjje", 0.0}, {"rq", "2026-12-11"}}); // tomorrow
        Payments pay(s(), m_clock, QStringLiteral("admin"));
        QCOMPARE(pay.balance(QStringLiteral("1100001")).owed(), 2500.0);

        const qint64 old = pay.record(customer(), 0, 500, 0); // 回旧款
        QCOMPARE(pay.balance(QStringLiteral("1100001")).owed(), 2000.0);
        auto row = s().first(QStringLiteral("SELECT ysje, sjje, sjxl, zzje, sjdx, rq FROM {khzj} WHERE id = ?"), {old});
        QCOMPARE(row->value(0).toDouble(), 0.0);
        QCOMPARE(row->value(1).toDouble(), 500.0);
        QVERIFY(row->value(4).toString().startsWith(QStringLiteral("伍佰元整2026-12-10")));
        QCOMPARE(row->value(5).toString(), m_today);

        pay.record(customer(), 800, 300, 500); // 客户回款补遗
        QCOMPARE(pay.balance(QStringLiteral("1100001")).owed(), 2500.0);

        const qint64 negative = pay.record(customer(), 0, -200, 0);
        QVERIFY(s().scalar(QStringLiteral("SELECT sjdx FROM {khzj} WHERE id = ?"), {negative}).toString().startsWith(QStringLiteral("负贰佰元整")));
        QCOMPARE(value(QStringLiteral("SELECT sjje FROM {khzj} WHERE id = ?"), {negative}), -200.0);

        // A code that is no customer takes no payment.
        QVERIFY_THROWS_EXCEPTION(DomainError, pay.record(SalesCustomer(), 0, 100, 0));
    }

    void correctionsTargetTheChosenLine()
    {
        // Same customer, product, quantity, serial number and operator on another day.
        const qint64 earlier = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("n40"), 1000, 2350, 2300, 1);
        SalesSlip slip(s(), m_clock, QStringLiteral("admin"), QStringLiteral("ws"));
        slip.openWindow();
        slip.start();
        slip.enterCustomer(QStringLiteral("1100001"));
        auto sell = [&](double bags) {
            const auto q = slip.quote(QStringLiteral("n40"));
            return slip.confirmLine(slip.prepareLine(*q, q->price, q->policyPrice, bags, QStringLiteral("大包")));
        };
        sell(25);
        sell(10);
        const qint64 third = sell(25);
        Corrections c(s(), QStringLiteral("admin"));
        QCOMPARE(int(c.slipLines(slip.number(), QStringLiteral("1100001"), m_today).size()), 3);

        c.modifyIssueLine(third, 500, 2400, slip.owner(), slip.printLineOf(third));
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {sale1} WHERE id = ?"), {third}), 1200.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT kpje FROM {khprn} WHERE owner = 'ws' AND zznum = 3")).toString(), QStringLiteral("1200"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT kpje FROM {khprn} WHERE owner = 'ws' AND zznum = 1")).toString(), QStringLiteral("2350"));
        QVERIFY_THROWS_EXCEPTION(DomainError, c.modifyIssueLine(third, 500, 2400, slip.owner(), 3)); // nothing changes

        c.deleteIssueLine(third, slip.owner(), slip.printLineOf(third));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {earlier}), 1.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {third}), 0.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpmc FROM {khprn} WHERE owner = 'ws' AND zznum = 3")).toString(), QString());
        slip.recomputeTotals();
        QCOMPARE(slip.totals().quantity, 1400.0);

        // Another operator's line stays.
        const qint64 others = sold(QStringLiteral("sale1"), m_today, QStringLiteral("n40"), 40, 2350, 2300, 9, QStringLiteral("b0001"));
        QVERIFY_THROWS_EXCEPTION(DomainError, c.deleteIssueLine(others, slip.owner(), 0));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {others}), 1.0);
    }

    void returnCorrectionsKeepTheReturnConsistent()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const ReturnResult res = r.confirm(customer(), r.prepare(purchase(), 5, QStringLiteral("大包"), 200), m_today);
        Corrections c(s(), QStringLiteral("admin"));
        QCOMPARE(int(c.returnLines(m_today, QStringLiteral("1100001")).size()), 1);

        c.modifyReturnLine(res.saleId, 120, 2400);
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {res.registerId}), 288.0);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {res.fundsId}), -288.0);
        QCOMPARE(value(QStringLiteral("SELECT sjxl FROM {khzj} WHERE id = ?"), {res.fundsId}), 120.0);
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {khzj} WHERE id = ?"), {res.fundsId}), -12.0);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), 1120.0);

        c.deleteReturnLine(res.saleId);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khtl}")), 0.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khzj}")), 0.0);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), 1000.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE bz_1 = '3'")), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestReturnsPayments)
#include "tst_returnspayments.moc"
