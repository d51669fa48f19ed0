#include "common/clock.h"
#include "data/seed.h"
#include "sales/salesdocuments.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "reports/computedreport.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "salesfixture.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestSalesSlip : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    const QString m_owner = QStringLiteral("ws1");

    Session &s() { return m_db->session(); }
    std::unique_ptr<SalesSlip> newSlip()
    {
        auto slip = std::make_unique<SalesSlip>(s(), m_clock, QStringLiteral("admin"), m_owner);
        slip->openWindow();
        return slip;
    }
    // A whole line as the window enters it.
    qint64 sell(SalesSlip &slip, const QString &code, double bags, const QString &unit = QString())
    {
        const auto q = slip.quote(code);
        const QString u = unit.isEmpty() ? SalesSlip::unitFor(q->category, q->spec) : unit;
        return slip.confirmLine(slip.prepareLine(*q, q->price, bags, u));
    }
    int count(const QString &table)
    {
        return s().scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(table)).toInt();
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        seedNewInstallation(s(), m_clock, SeedOptions{});
        test::loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("0001000"));
    }

    void unitFromCategoryAndSpecification_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("spec");
        QTest::addColumn<QString>("unit");
        QTest::newRow("premix 0.5") << "预混料" << "0.5" << "袋";
        QTest::newRow("premix 1") << "预混料" << "1" << "包";
        QTest::newRow("concentrate 5") << "浓缩料" << "5" << "小包";
        QTest::newRow("concentrate 10") << "浓缩料" << "10" << "小包";
        QTest::newRow("complete 20") << "全价料" << "20" << "中包";
        QTest::newRow("complete 40") << "全价料" << "40" << "大包";
        QTest::newRow("concentrate 50") << "浓缩料" << "50" << "大包";
        QTest::newRow("complete 25: typed by the clerk") << "全价料" << "25" << "";
    }
    void unitFromCategoryAndSpecification()
    {
        QFETCH(QString, category);
        QFETCH(QString, spec);
        QFETCH(QString, unit);
        QCOMPARE(SalesSlip::unitFor(category, spec), unit);
    }

    void lineArithmetic_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<double>("bags");
        QTest::addColumn<double>("kilograms");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("perBag");
        QTest::newRow("25 bags of 40 kg at 2350") << "n40" << 25.0 << 1000.0 << 2350.0 << "94";
        QTest::newRow("3 bags of 0.5 kg at 12000") << "y05" << 3.0 << 1.5 << 18.0 << "6";
    }
    void lineArithmetic()
    {
        QFETCH(QString, product);
        QFETCH(double, bags);
        QFETCH(double, kilograms);
        QFETCH(double, amount);
        QFETCH(QString, perBag);
        auto slip = newSlip();
        QCOMPARE(slip->start(), QStringLiteral("1001"));
        QVERIFY(slip->enterCustomer(QStringLiteral("1100001")));
        const qint64 id = sell(*slip, product.toUpper(), bags); // codes match without regard to case
        auto r = s().first(QStringLiteral("SELECT zznum, zzje, zzjg, zcjg, cpdm, zzhm, recnum, bz_1, rq_1, czydm "
                                          "FROM {sale1} WHERE id = ?"), {id});
        QCOMPARE(r->value(0).toDouble(), kilograms);
        QCOMPARE(r->value(1).toDouble(), amount);
        QCOMPARE(r->value(4).toString(), product); // the catalogue's code, as stored
        QCOMPARE(r->value(5).toString(), QStringLiteral("1001"));
        QCOMPARE(r->value(6).toInt(), 1);
        QCOMPARE(r->value(7).toString(), QStringLiteral("1"));
        QCOMPARE(r->value(8).toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(r->value(9).toString(), QStringLiteral("admin"));
        auto p = s().first(QStringLiteral("SELECT kpjg, sjxl1, kpje FROM {khprn} WHERE owner = ? AND zznum = 1"), {m_owner});
        QCOMPARE(p->value(0).toString(), perBag);
        QCOMPARE(slip->totals().quantity, kilograms);
        QCOMPARE(slip->totals().amount, amount);
    }

    void ordinaryCustomerPaysTheListPriceAndTheDifferenceIsKept()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        const auto q = slip->quote(QStringLiteral("n40"));
        QCOMPARE(q->price, 2350.0);       // list price, not the customer's own
        QCOMPARE(q->policyPrice, 2300.0);
        QVERIFY(!q->priceEditable);
        QVERIFY(q->warnings.isEmpty());
        sell(*slip, QStringLiteral("n40"), 25);   // 1000 kg × 50 / 1000
        slip->startPayment();
        QCOMPARE(slip->owedAfter(2000), 350.0);
        const qint64 id = slip->close(2000);
        auto k = s().first(QStringLiteral("SELECT ysje, sjje, sqje, sjxl, zzje, rq, khdm FROM {khzj} WHERE id = ?"), {id});
        QCOMPARE(k->value(0).toDouble(), 2350.0);
        QCOMPARE(k->value(1).toDouble(), 2000.0);
        QCOMPARE(k->value(2).toDouble(), 350.0);
        QCOMPARE(k->value(3).toDouble(), 1000.0);
        QCOMPARE(k->value(4).toDouble(), 50.0);
        QCOMPARE(k->value(5).toString(), QStringLiteral("2026-12-10"));
        // Closed once.
        QVERIFY_THROWS_EXCEPTION(DomainError, slip->close(2000));
        QCOMPARE(count(QStringLiteral("khzj")), 1);
    }

    void retailPriceBecomesTheCustomersPrice()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100002"));
        const auto q = slip->quote(QStringLiteral("n40"));
        QCOMPARE(q->price, 2300.0); // the retail customer's own price
        QVERIFY(q->priceEditable);
        const SlipLine line = slip->prepareLine(*q, 2380, 10, QStringLiteral("大包"), 2250.0);
        slip->confirmLine(line);
        QCOMPARE(s().scalar(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = '1100002' AND cpdm = 'n40'")).toDouble(), 2380.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = '1100001' AND cpdm = 'n40'")).toDouble(), 2300.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT zcjg FROM {sale1}")).toDouble(), 2250.0);
        // The difference uses the line's own policy price: 400 kg × 130 / 1000.
        QCOMPARE(slip->totals().difference, 52.0);
    }

    void refusals()
    {
        auto slip = newSlip();
        slip->start();
        QVERIFY_THROWS_EXCEPTION(DomainError, slip->enterCustomer(QStringLiteral("1100003"))); // closed "X"
        QVERIFY(!slip->enterCustomer(QStringLiteral("9999999")));
        QVERIFY(slip->enterCustomer(QStringLiteral("1100001")));
        QVERIFY(!slip->quote(QStringLiteral("nothing")));
        try {
            slip->quote(QStringLiteral("z40"));
            QFAIL("a product without a customer price was offered");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("该客户此品种没有设开票价格，请与客户经理联系！"));
        }
        QCOMPARE(count(QStringLiteral("sale1")), 0);
    }

    void belowCostWarning_data()
    {
        QTest::addColumn<double>("jgce");
        QTest::addColumn<bool>("warns");
        QTest::newRow("negative") << -100.0 << true;
        QTest::newRow("zero") << 0.0 << true;
        QTest::newRow("positive") << 50.0 << false;
    }
    void belowCostWarning()
    {
        QFETCH(double, jgce);
        QFETCH(bool, warns);
        s().insert(QStringLiteral("khjggl"), {{"khdm", "1100001"}, {"cpdm", "n40"}, {"cpgg", "40"},
                                              {"zcjg", 2100.0}, {"cbjg", 2100.0 - jgce}, {"jgce", jgce}});
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        const auto q = slip->quote(QStringLiteral("n40"));
        QCOMPARE(!q->warnings.isEmpty(), warns);
        if (warns)
            QCOMPARE(q->warnings, QStringList{QStringLiteral("注意：该客户该产品政策价格(2100元/吨)低于成本价格(%1元/吨)").arg(2100 - jgce)});
    }

    void eightLinesThenRefusedAndUnpaidSlipCannotBeLeft()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        for (int i = 0; i < 8; ++i) sell(*slip, QStringLiteral("n40"), 1);
        QCOMPARE(slip->linesEntered(), 8);
        try {
            slip->quote(QStringLiteral("n40"));
            QFAIL("a ninth line was offered");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("你的记录数已经超过8条，请收款打印后重新选择客户！"));
        }
        QVERIFY(!slip->canAbandon());
        try {
            slip->start();
            QFAIL("an unpaid slip was abandoned");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        }
        slip->startPayment();
        QVERIFY_THROWS_EXCEPTION(DomainError, slip->quote(QStringLiteral("n40")));
        slip->close(0);
        QCOMPARE(slip->start(), QStringLiteral("1002"));
        // A slip without lines may be left.
        QCOMPARE(slip->start(), QStringLiteral("1003"));
    }

    void declinedLineWritesNothingButUsesItsSerial()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        const auto q = slip->quote(QStringLiteral("n40"));
        slip->prepareLine(*q, q->price, 5, QStringLiteral("大包"));
        slip->declineLine();
        QCOMPARE(s().scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt(), 1);
        QCOMPARE(count(QStringLiteral("sale1")), 0);
        QCOMPARE(slip->totals().amount, 0.0);
        sell(*slip, QStringLiteral("n40"), 5);
        QCOMPARE(s().scalar(QStringLiteral("SELECT recnum FROM {sale1}")).toInt(), 2);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE owner = ? AND cpdm <> ''"), {m_owner}).toInt(), 1);
    }

    void printRowsAreClearedForANewSlip()
    {
        // Stale lines from an earlier slip, out of order and duplicated.
        for (int n : {3, 1, 9, 3})
            s().insert(QStringLiteral("khprn"), {{"khdm", "1100001"}, {"zznum", double(n)}, {"owner", m_owner},
                                                 {"czydm", "admin"}, {"cpmc", "旧货"}, {"kpje", "99"}});
        // Another workstation's rows are its own, and so are another operator's.
        s().insert(QStringLiteral("khprn"), {{"khdm", "1100001"}, {"zznum", 1.0}, {"owner", "ws2"}, {"czydm", "admin"},
                                             {"cpmc", "别人的"}});
        s().insert(QStringLiteral("khprn"), {{"khdm", "1100001"}, {"zznum", 1.0}, {"owner", m_owner}, {"czydm", "b0001"},
                                             {"cpmc", "别人的"}});
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE owner = ? AND czydm = 'admin' AND cpmc <> ''"), {m_owner}).toInt(), 0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(DISTINCT zznum) FROM {khprn} WHERE owner = ? AND zznum <= 8"), {m_owner}).toInt(), 8);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE cpmc = '别人的'")).toInt(), 2);
    }

    void aProductWithoutPolicyPriceAddsNoPromotionFee_data()
    {
        QTest::addColumn<QVariant>("fhll");
        QTest::newRow("empty") << QVariant();
        QTest::newRow("zero") << QVariant(0.0);
    }
    void aProductWithoutPolicyPriceAddsNoPromotionFee()
    {
        QFETCH(QVariant, fhll);
        s().execute(QStringLiteral("UPDATE {khprice} SET fhll = ? WHERE khdm = '1100001' AND cpdm = 'n40'"),
                    {fhll.isValid() ? fhll : QVariant(QMetaType(QMetaType::Double))});
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        const auto q = slip->quote(QStringLiteral("n40"));
        QVERIFY(q->policyMissing);
        QCOMPARE(q->warnings, QStringList{QStringLiteral("注意：该客户该产品没有设政策价格！")});
        sell(*slip, QStringLiteral("n40"), 25);
        QCOMPARE(s().scalar(QStringLiteral("SELECT zcjg FROM {sale1}")).toDouble(), 2350.0);
        QCOMPARE(slip->totals().difference, 0.0);
        slip->startPayment();
        const qint64 funds = slip->close(2350);
        QCOMPARE(s().scalar(QStringLiteral("SELECT zzje FROM {khzj} WHERE id = ?"), {funds}).toDouble(), 0.0);
    }

    void fractionalBagsAreStoredAsTyped()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        sell(*slip, QStringLiteral("q25"), 2.5, QStringLiteral("袋"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT sjbs FROM {sale1}")).toDouble(), 2.5);
        QCOMPARE(s().scalar(QStringLiteral("SELECT zznum FROM {sale1}")).toDouble(), 62.5);
        QCOMPARE(s().scalar(QStringLiteral("SELECT sjbs FROM {khprn} WHERE owner = ? AND zznum = 1"), {m_owner}).toString(),
                 QStringLiteral("2.5"));
    }

    // Numbers out of range are refused before anything is written.
    void numbersOutOfRangeAreRefused_data()
    {
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("bags");
        QTest::addColumn<double>("received");
        QTest::newRow("bags overflow") << 2350.0 << 9999999999.0 << 0.0;
        QTest::newRow("negative bags") << 2350.0 << -5.0 << 0.0;
        QTest::newRow("no bags") << 2350.0 << 0.0 << 0.0;
        QTest::newRow("negative price") << -1.0 << 5.0 << 0.0;
        QTest::newRow("price overflow") << 1e16 << 5.0 << 0.0;
        QTest::newRow("received overflow") << 2350.0 << 5.0 << 1e20;
    }
    void numbersOutOfRangeAreRefused()
    {
        QFETCH(double, price);
        QFETCH(double, bags);
        QFETCH(double, received);
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        const auto q = slip->quote(QStringLiteral("n40"));
        const QString before = test::snapshot(s(), {QStringLiteral("sale1"), QStringLiteral("khzj"), QStringLiteral("fphm")});
        try {
            slip->confirmLine(slip->prepareLine(*q, price, bags, QStringLiteral("大包")));
            slip->startPayment();
            slip->close(received);
            QFAIL("a number out of range was taken");
        } catch (const DomainError &e) {
            QCOMPARE(e.code(), ErrorCode::BadNumber);
            QCOMPARE(e.message(), QStringLiteral("请输入正确的数字！"));
        }
        if (received == 0)
            QCOMPARE(test::snapshot(s(), {QStringLiteral("sale1"), QStringLiteral("khzj"), QStringLiteral("fphm")}), before);
        else
            QCOMPARE(count(QStringLiteral("khzj")), 0);
        // A specification that is no positive number gives no kilograms.
        QVERIFY_THROWS_EXCEPTION(DomainError, SalesSlip::kilograms(2, QStringLiteral("-5")));
    }

    // The print rows belong to the whole workstation identity, not a prefix of it.
    void workstationsSharingANamePrefixKeepTheirOwnPrintRows()
    {
        SalesSlip a(s(), m_clock, QStringLiteral("admin"), QStringLiteral("sales-counter-01"));
        SalesSlip b(s(), m_clock, QStringLiteral("admin"), QStringLiteral("sales-counter-02"));
        for (SalesSlip *slip : {&a, &b}) {
            slip->openWindow();
            slip->start();
            slip->enterCustomer(QStringLiteral("1100001"));
        }
        sell(a, QStringLiteral("n40"), 25);
        sell(b, QStringLiteral("q25"), 4, QStringLiteral("袋"));
        for (SalesSlip *slip : {&a, &b}) {
            slip->startPayment();
            slip->close(0);
        }
        const auto print = [&](SalesSlip &slip) {
            return turnoverSlipDocument(s(), QStringLiteral("测试饲料"),
                                        SlipPrint{slip.workstation(), QStringLiteral("admin"), QStringLiteral("1100001"),
                                                  QStringLiteral("张记养殖场"), slip.number(), slip.fundsRowId()},
                                        QDate(2026, 12, 10))
                .compute()
                .toText();
        };
        QVERIFY(print(a).contains(QStringLiteral("猪用浓缩料")));
        QVERIFY(!print(a).contains(QStringLiteral("肉鸡全价料")));
        QVERIFY(print(b).contains(QStringLiteral("肉鸡全价料")));
        QVERIFY(!print(b).contains(QStringLiteral("猪用浓缩料")));
    }

    void anInterruptedSlipComesBackToItsWorkstationAndOperator()
    {
        QString number;
        {
            auto slip = newSlip();
            number = slip->start();
            slip->enterCustomer(QStringLiteral("1100001"));
            sell(*slip, QStringLiteral("n40"), 25);
            sell(*slip, QStringLiteral("q25"), 4, QStringLiteral("袋"));
        } // the program ends here, unpaid
        QVERIFY(!SalesSlip(s(), m_clock, QStringLiteral("b0001"), m_owner).openWindow());
        QVERIFY(!SalesSlip(s(), m_clock, QStringLiteral("admin"), QStringLiteral("ws2")).openWindow());

        m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(8, 0))); // the next morning
        SalesSlip slip(s(), m_clock, QStringLiteral("admin"), m_owner);
        QVERIFY(slip.openWindow());
        QCOMPARE(slip.number(), number);
        QCOMPARE(slip.customer().code, QStringLiteral("1100001"));
        QCOMPARE(slip.lineDate(), QStringLiteral("2026-12-10"));
        QCOMPARE(slip.linesEntered(), 2);
        QCOMPARE(int(slip.lines().size()), 2);
        QCOMPARE(slip.totals().quantity, 1100.0);
        QCOMPARE(slip.totals().amount, 2610.0);
        QCOMPARE(slip.totals().difference, 55.0);
        QCOMPARE(slip.restoredNotice().last(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        try {
            slip.start();
            QFAIL("a new slip started over an unpaid one");
        } catch (const DomainError &e) {
            QCOMPARE(e.code(), ErrorCode::Unpaid);
        }
        sell(slip, QStringLiteral("y05"), 3); // the slip goes on
        QCOMPARE(s().scalar(QStringLiteral("SELECT sjxl1 FROM {khprn} WHERE owner = ? AND czydm = 'admin' AND zznum = 3"),
                            {m_owner}).toString(), QStringLiteral("1.5"));
        slip.startPayment();
        const qint64 funds = slip.close(2000);
        QCOMPARE(s().scalar(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {funds}).toDouble(), 2628.0);
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        QVERIFY(!newSlip()->openWindow()); // paid: nothing comes back
    }

    // Each operation that writes several rows leaves nothing behind when any write fails.
    void slipWritesAreAtomic()
    {
        const QStringList tables{QStringLiteral("sale1"), QStringLiteral("khprn"), QStringLiteral("khzj"),
                                 QStringLiteral("fphm"), QStringLiteral("khprice")};
        std::unique_ptr<SalesSlip> slip;
        SlipLine line;
        const auto startRetailSlip = [&] {
            init();
            slip = newSlip();
            slip->start();
            slip->enterCustomer(QStringLiteral("1100002"));
            line = slip->prepareLine(*slip->quote(QStringLiteral("n40")), 2380, 10, QStringLiteral("大包"), 2250.0);
        };
        QCOMPARE(test::checkEachWriteFailing(s(), tables, startRetailSlip, [&] { slip->confirmLine(line); }), 4);
        const int closeWrites = test::checkEachWriteFailing(s(), tables,
                                                            [&] {
                                                                startRetailSlip();
                                                                slip->confirmLine(line);
                                                                slip->startPayment();
                                                            },
                                                            [&] { slip->close(500); });
        QCOMPARE(closeWrites, 2);
    }

    void slipPrintsItsLines()
    {
        auto slip = newSlip();
        slip->start();
        slip->enterCustomer(QStringLiteral("1100001"));
        sell(*slip, QStringLiteral("n40"), 25);
        sell(*slip, QStringLiteral("q25"), 4, QStringLiteral("袋"));
        sell(*slip, QStringLiteral("y05"), 3);
        slip->startPayment();
        const qint64 funds = slip->close(3000);
        const ReportDocument doc = turnoverSlipDocument(
            s(), QStringLiteral("测试饲料"),
            SlipPrint{m_owner, QStringLiteral("admin"), QStringLiteral("1100001"), QStringLiteral("张记养殖场"), slip->number(), funds},
            QDate(2026, 12, 10));
        const ComputedReport c = doc.compute();
        const ComputedTable *table = nullptr;
        for (const ComputedBlock &b : c.body)
            if (b.kind == ComputedBlock::Kind::Table) table = &b.table;
        QVERIFY(table);
        QCOMPARE(table->rows.size(), 8);
        int filled = 0;
        for (const ComputedRow &r : table->rows) filled += r.kind == ComputedRow::Kind::Detail;
        QCOMPARE(filled, 3);
        const QString text = c.toText();
        QVERIFY(text.contains(QStringLiteral("猪用浓缩料")));
        QVERIFY(text.contains(QStringLiteral("2026-12-10")));
        QVERIFY(text.contains(QStringLiteral("实收金额：3000")));
        QVERIFY(text.contains(QStringLiteral("重量(公斤)：1101.5")));
        FM_COMPARE_GOLDEN(text, "sales/golden/turnover_slip.txt");
    }
};

QTEST_GUILESS_MAIN(TestSalesSlip)
#include "tst_salesslip.moc"
