#include "common/clock.h"
#include "data/seed.h"
#include "sales/corrections.h"
#include "sales/payments.h"
#include "sales/returns.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "reports/computedreport.h"
#include "sales/salesdocuments.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "salesfixture.h"

#include <QtTest>
#include <atomic>
#include <limits>
#include <mutex>
#include <thread>

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
    Customer customer(const QString &code = QStringLiteral("1100001"))
    {
        return *Returns(s(), m_clock, QStringLiteral("admin")).customer(code);
    }

    // A return as an earlier version wrote it: no link from its rows to the line.
    qint64 legacyReturn(int recnum, const QString &fundsDate, int fundsCopies = 1)
    {
        const qint64 id = s().insert(QStringLiteral("sale1"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"},
                                                              {"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                                              {"tlnum", 200.0}, {"kpjg", 2400.0}, {"kpje", 480.0},
                                                              {"zcjg", 2300.0}, {"bz_1", "3"}, {"rq_1", m_today},
                                                              {"rq_2", m_today}, {"recnum", recnum}, {"zzhm", "0"},
                                                              {"czydm", "admin"}});
        s().insert(QStringLiteral("khtl"), {{"khdm", "1100001"}, {"cpdm", "n40"}, {"tlprice", 2400.0}, {"tlnum", 200.0},
                                            {"tlje", 480.0}, {"tlrq", m_today}, {"rec_num", recnum}, {"czydm", "admin"}});
        for (int i = 0; i < fundsCopies; ++i)
            s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"ysje", -480.0}, {"sjje", 0.0}, {"sqje", 0.0},
                                                {"sjxl", 200.0}, {"zzje", -20.0}, {"rq", fundsDate}, {"czydm", "admin"}});
        s().execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + 200 WHERE cpdm = 'n40'"));
        return id;
    }
    ReturnResult returnOf(double kg, const QString &op = QStringLiteral("admin"))
    {
        Returns r(s(), m_clock, op);
        return r.confirm(customer(), r.prepare(purchase(), 1, QStringLiteral("大包"), kg), m_today);
    }
    // The return's rows agree with its line, and the stock with all returns.
    void checkReturnsAgree(double baseStock)
    {
        const Rows lines = s().rows(QStringLiteral("SELECT id, tlnum, kpje FROM {sale1} WHERE bz_1 = '3'"));
        double returned = 0;
        for (const Row &l : lines) {
            const auto reg = s().row(QStringLiteral("SELECT tlnum, tlje FROM {khtl} WHERE sale1_id = ?"), {l.id()});
            const auto funds = s().row(QStringLiteral("SELECT sjxl, ysje FROM {khzj} WHERE sale1_id = ?"), {l.id()});
            QVERIFY(reg && funds);
            QCOMPARE(reg->number(QStringLiteral("tlnum")), l.number(QStringLiteral("tlnum")));
            QCOMPARE(reg->number(QStringLiteral("tlje")), l.number(QStringLiteral("kpje")));
            QCOMPARE(funds->number(QStringLiteral("sjxl")), l.number(QStringLiteral("tlnum")));
            QCOMPARE(funds->number(QStringLiteral("ysje")), -l.number(QStringLiteral("kpje")));
            returned += l.number(QStringLiteral("tlnum"));
        }
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khtl}")), double(lines.size()));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khzj} WHERE sale1_id IS NOT NULL")), double(lines.size()));
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), baseStock + returned);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
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
        QVERIFY_THROWS_EXCEPTION(DomainError, pay.record(Customer(), 0, 100, 0));
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
            return slip.confirmLine(slip.prepareLine(*q, q->price, bags, QStringLiteral("大包")));
        };
        sell(25);
        sell(10);
        const qint64 third = sell(25);
        Corrections c(s(), QStringLiteral("admin"));
        QCOMPARE(int(c.slipLines(slip.number(), QStringLiteral("1100001"), m_today).size()), 3);

        c.modifyIssueLine(third, 500, 2400, slip.workstation(), slip.printLineOf(third));
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {sale1} WHERE id = ?"), {third}), 1200.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT kpje FROM {khprn} WHERE owner = 'ws' AND zznum = 3")).toString(), QStringLiteral("1200"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT kpje FROM {khprn} WHERE owner = 'ws' AND zznum = 1")).toString(), QStringLiteral("2350"));
        QVERIFY_THROWS_EXCEPTION(DomainError, c.modifyIssueLine(third, 500, 2400, slip.workstation(), 3)); // nothing changes

        c.deleteIssueLine(third, slip.workstation(), slip.printLineOf(third));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {earlier}), 1.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {third}), 0.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpmc FROM {khprn} WHERE owner = 'ws' AND zznum = 3")).toString(), QString());
        slip.recomputeTotals();
        QCOMPARE(slip.totals().quantity, 1400.0);

        // Another operator's line stays.
        const qint64 others = sold(QStringLiteral("sale1"), m_today, QStringLiteral("n40"), 40, 2350, 2300, 9, QStringLiteral("b0001"));
        QVERIFY_THROWS_EXCEPTION(DomainError, c.deleteIssueLine(others, slip.workstation(), 0));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE id = ?"), {others}), 1.0);
    }

    // A return confirmed after midnight in a window opened the day before:
    // every row carries the window's date, and the return is found again.
    void aReturnAfterMidnightIsCorrectedAndDeleted()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
        const Purchase p = purchase();
        m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(0, 10)));
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const ReturnResult res = r.confirm(customer(), r.prepare(p, 5, QStringLiteral("大包"), 200), m_today);
        QCOMPARE(s().scalar(QStringLiteral("SELECT rq FROM {khzj} WHERE id = ?"), {res.fundsId}).toString(), m_today);
        QCOMPARE(s().scalar(QStringLiteral("SELECT tlrq FROM {khtl} WHERE id = ?"), {res.registerId}).toString(), m_today);
        QCOMPARE(value(QStringLiteral("SELECT sale1_id FROM {khzj} WHERE id = ?"), {res.fundsId}), double(res.saleId));
        QCOMPARE(value(QStringLiteral("SELECT sale1_id FROM {khtl} WHERE id = ?"), {res.registerId}), double(res.saleId));
        Corrections c(s(), QStringLiteral("admin"));
        c.modifyReturnLine(res.saleId, 120, 2400);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {res.fundsId}), -288.0);
        checkReturnsAgree(1000);
        c.deleteReturnLine(res.saleId);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khzj}")), 0.0);
        checkReturnsAgree(1000);
    }

    // Returns written before the link are found by their values, under a
    // lock, and only when exactly one row of each matches.
    void returnsWrittenBeforeTheLink()
    {
        const qint64 plain = legacyReturn(7, m_today);
        Corrections c(s(), QStringLiteral("admin"));
        c.modifyReturnLine(plain, 100, 2400);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE sale1_id = ?"), {plain}), -240.0);
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE sale1_id = ?"), {plain}), 240.0);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), 1100.0);

        const QStringList tables{QStringLiteral("sale1"), QStringLiteral("khtl"), QStringLiteral("khzj"), QStringLiteral("velcpzk")};
        // Its funds row dated the next day (confirmed after midnight), or twice over.
        const qint64 midnight = legacyReturn(8, QStringLiteral("2026-12-11"));
        const qint64 twice = legacyReturn(9, m_today, 2);
        for (qint64 id : {midnight, twice}) {
            const QString before = test::snapshot(s(), tables);
            try {
                c.modifyReturnLine(id, 50, 2400);
                QFAIL("a return without exactly one funds row was changed");
            } catch (const DomainError &e) {
                QCOMPARE(e.message(), QStringLiteral("该退料的退料记录或资金记录不是唯一的一条，不能修改或删除！"));
            }
            QVERIFY_THROWS_EXCEPTION(DomainError, c.deleteReturnLine(id));
            QCOMPARE(test::snapshot(s(), tables), before);
        }
    }

    // The returns of a customer's day are listed whoever entered them, and
    // any operator may delete one.
    void returnsOfTheDayFromEveryOperator()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
        returnOf(40);
        const ReturnResult other = returnOf(80, QStringLiteral("b0001"));
        Returns r(s(), m_clock, QStringLiteral("admin"));
        QCOMPARE(int(r.returnsOfDay(m_today, Returns::List::Customer, QStringLiteral("1100001")).size()), 2);
        QCOMPARE(int(r.returnsOfDay(m_today, Returns::List::OperatorCustomer, QStringLiteral("1100001")).size()), 1);
        QCOMPARE(int(r.returnsOfDay(m_today, Returns::List::Operator, QString()).size()), 1);
        Corrections c(s(), QStringLiteral("admin"));
        QCOMPARE(int(c.returnLines(m_today, QStringLiteral("1100001")).size()), 2);
        c.deleteReturnLine(other.saleId);
        checkReturnsAgree(1000);
    }

    // Two workstations correcting the same returns at once.
    void concurrentReturnCorrectionsKeepEverythingAgreeing()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
        std::vector<qint64> ids;
        for (int i = 0; i < 6; ++i) ids.push_back(returnOf(40).saleId);
        std::atomic<int> rawErrors{0};
        QStringList errors;
        std::mutex errorsLock;
        auto work = [&](int worker) {
            std::unique_ptr<Session> ws = m_db->openAnother();
            Corrections c(*ws, QStringLiteral("admin"));
            for (int i = 0; i < 40; ++i) {
                const qint64 id = ids[size_t((i * (worker + 2)) % int(ids.size()))];
                try {
                    if (worker == 1 && i == 20) c.deleteReturnLine(ids[1]);
                    else c.modifyReturnLine(id, 10 + (i * 7 + worker * 13) % 190, 2400);
                } catch (const DomainError &) {
                    // unchanged, or deleted by the other workstation
                } catch (const DbError &e) {
                    ++rawErrors;
                    std::lock_guard<std::mutex> g(errorsLock);
                    errors << e.message();
                }
            }
        };
        std::thread a(work, 0);
        std::thread b(work, 1);
        a.join();
        b.join();
        QVERIFY2(rawErrors == 0, qPrintable(errors.join(QLatin1Char('\n'))));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE bz_1 = '3'")), 5.0);
        checkReturnsAgree(1000);
    }

    // Each operation that writes several rows leaves nothing behind when any write fails.
    void returnAndPaymentWritesAreAtomic()
    {
        const QStringList tables{QStringLiteral("sale1"), QStringLiteral("khtl"), QStringLiteral("khzj"),
                                 QStringLiteral("velcpzk"), QStringLiteral("fphm"), QStringLiteral("zxkh")};
        PreparedReturn prepared;
        const auto prepareReturn = [&] {
            init();
            sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2400, 2300);
            prepared = Returns(s(), m_clock, QStringLiteral("admin")).prepare(purchase(), 5, QStringLiteral("大包"), 200);
        };
        QCOMPARE(test::checkEachWriteFailing(s(), tables, prepareReturn, [&] {
                     Returns(s(), m_clock, QStringLiteral("admin")).confirm(customer(), prepared, m_today);
                 }), 4);
        qint64 line = 0;
        const auto confirmedReturn = [&] {
            prepareReturn();
            line = Returns(s(), m_clock, QStringLiteral("admin")).confirm(customer(), prepared, m_today).saleId;
        };
        Corrections c(s(), QStringLiteral("admin"));
        QVERIFY(test::checkEachWriteFailing(s(), tables, confirmedReturn, [&] { c.modifyReturnLine(line, 120, 2400); }) >= 4);
        QVERIFY(test::checkEachWriteFailing(s(), tables, confirmedReturn, [&] { c.deleteReturnLine(line); }) >= 4);
        // Legacy rows are linked in the same transaction as the correction.
        QVERIFY(test::checkEachWriteFailing(s(), tables, [&] {
                    init();
                    line = legacyReturn(7, m_today);
                }, [&] { c.modifyReturnLine(line, 120, 2400); }) >= 6);
        QCOMPARE(test::checkEachWriteFailing(s(), tables, [&] { init(); }, [&] {
                     Payments(s(), m_clock, QStringLiteral("admin")).record(customer(), 0, 500, 0);
                 }), 1);
    }

    void receiptAndReturnListDocuments()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-12-01"), QStringLiteral("n40"), 1000, 2345.67, 2300);
        returnOf(200);
        returnOf(40, QStringLiteral("b0001"));
        const Rows shown = Returns(s(), m_clock, QStringLiteral("admin")).returnsOfDay(m_today, Returns::List::Customer,
                                                                                       QStringLiteral("1100001"));
        const QString list = returnListDocument(QStringLiteral("测试饲料有限公司"), shown, m_clock.today()).compute().toText();
        QVERIFY(list.contains(QStringLiteral("总计：")));
        FM_COMPARE_GOLDEN(list, "sales/golden/return_list.txt");

        // An amount with a fraction of a cent is taken to the cent, in the row and in capitals alike.
        const qint64 id = Payments(s(), m_clock, QStringLiteral("admin")).record(customer(), 0, 12345.675, 0);
        QCOMPARE(value(QStringLiteral("SELECT sjje FROM {khzj} WHERE id = ?"), {id}), 12345.68);
        const QString receipt = repaymentReceiptDocument(s(), id, m_clock.today()).compute().toText();
        QVERIFY(receipt.contains(QStringLiteral("壹万贰仟叁佰肆拾伍元陆角捌分整")));
        FM_COMPARE_GOLDEN(receipt, "sales/golden/receipt.txt");
    }

    void paymentAmountsOutOfRangeAreRefused()
    {
        Payments pay(s(), m_clock, QStringLiteral("admin"));
        for (double bad : {1e20, -1e11, std::numeric_limits<double>::quiet_NaN()}) {
            QVERIFY_THROWS_EXCEPTION(DomainError, pay.record(customer(), 0, bad, 0));
            QVERIFY_THROWS_EXCEPTION(DomainError, pay.record(customer(), bad, 0, 0));
            QVERIFY_THROWS_EXCEPTION(DomainError, pay.record(customer(), 0, 0, bad));
        }
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khzj}")), 0.0);
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
