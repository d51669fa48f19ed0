// The price tables: typed prices refused before any write, the policy price
// and its filter row changing together, the region query's null handling,
// the change date, the rebate schedule, the price lists and the sort toggle.

#include "common/clock.h"
#include "common/dates.h"
#include "pricing/pricebook.h"
#include "pricing/pricelists.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;
using fm::test::checkEachWriteFailing;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));
const QString kOldStamp = QStringLiteral("2026-11-01 08:00:00");

} // namespace

class TestPriceBook : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{kNow};

    Session &s() { return m_db->session(); }
    PriceBook book() { return PriceBook(s(), m_clock); }

    qint64 product(const char *cpdm, double kpjg, double cbjg, const char *cpbz = "0")
    {
        return s().insert(QStringLiteral("price"), {{"cpdm", cpdm}, {"cpmc", QStringLiteral("产品") + cpdm},
                                                    {"cpgg", "40"}, {"kpjg", kpjg}, {"cbjg", cbjg},
                                                    {"cpbz", cpbz}, {"rq", kOldStamp}});
    }
    qint64 customerPrice(const char *khdm, const char *cpdm, const QVariant &fhll,
                         const QString &region = QStringLiteral("城关镇"))
    {
        return s().insert(QStringLiteral("khprice"),
                          {{"khdm", khdm}, {"khmc", QStringLiteral("客户") + khdm}, {"cpdm", cpdm},
                           {"cpmc", QStringLiteral("产品") + cpdm}, {"cpgg", "40"}, {"kpjg", 1800.0},
                           {"dqbh", QString::fromLatin1(khdm).left(2)}, {"dqmc", region}, {"cpbz", "0"},
                           {"rq", kOldStamp}, {"fhll", fhll}});
    }
    void filterRow(const char *khdm, const char *cpdm, double zcjg, double cbjg)
    {
        s().insert(QStringLiteral("khjggl"), {{"khdm", khdm}, {"khmc", QStringLiteral("客户") + khdm}, {"cpdm", cpdm},
                                              {"cpgg", "40"}, {"zcjg", zcjg}, {"cbjg", cbjg}, {"jgce", zcjg - cbjg}});
    }
    QVariant value(const char *sql, const Values &v = {})
    {
        return s().scalar(QString::fromUtf8(sql), v);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void policyPriceRenewsTheFilterRow_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("fhll");
        QTest::addColumn<double>("jgce");
        QTest::newRow("below cost") << "1500" << true << 1500.0 << -100.0;
        QTest::newRow("above cost, blanks and full width") << " １７００.５ " << true << 1700.5 << 100.5;
        QTest::newRow("pasted statement") << "1500,kpjg=0" << false << 1650.0 << 50.0;
        QTest::newRow("text") << "abc" << false << 1650.0 << 50.0;
        QTest::newRow("empty") << "" << false << 1650.0 << 50.0;
    }
    void policyPriceRenewsTheFilterRow()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(double, fhll);
        QFETCH(double, jgce);
        const qint64 id = customerPrice("1100001", "n401", 1650.0);
        customerPrice("1100002", "n401", 1650.0);
        filterRow("1100001", "N401", 1650, 1600); // codes match whatever their case
        filterRow("1100002", "n401", 1650, 1600);
        try {
            const CustomerProductPrice written = book().setPolicyPrice(id, PriceBook::parsePrice(typed));
            QVERIFY(accepted);
            QCOMPARE(*written.fhll, fhll);
        } catch (const DomainError &e) {
            QVERIFY(!accepted);
            QCOMPARE(e.message(), QStringLiteral("请输入正确的数字！"));
        }
        QCOMPARE(value("SELECT fhll FROM {khprice} WHERE id = ?", {id}).toDouble(), fhll);
        QCOMPARE(value("SELECT kpjg FROM {khprice} WHERE id = ?", {id}).toDouble(), 1800.0);
        QCOMPARE(value("SELECT zcjg FROM {khjggl} WHERE khdm = '1100001'").toDouble(), fhll);
        QCOMPARE(value("SELECT jgce FROM {khjggl} WHERE khdm = '1100001'").toDouble(), jgce);
        // The other customer's rows are not touched.
        QCOMPARE(value("SELECT fhll FROM {khprice} WHERE khdm = '1100002'").toDouble(), 1650.0);
        QCOMPARE(value("SELECT jgce FROM {khjggl} WHERE khdm = '1100002'").toDouble(), 50.0);
    }

    // Every typed price and rebate has a range that fits its meaning: refused
    // with the message, and nothing written.
    void typedNumbersHaveRanges_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("price");  // accepted as a price per tonne
        QTest::addColumn<bool>("rebate"); // accepted as a rebate per bag
        QTest::newRow("zero") << "0" << true << true;
        QTest::newRow("cents") << "12.55" << true << true;
        QTest::newRow("above any rebate") << "1700.5" << true << false;
        QTest::newRow("highest price") << "1000000" << true << false;
        QTest::newRow("above any price") << "1000000.01" << false << false;
        QTest::newRow("overflow") << "100000000000000000000" << false << false;
        QTest::newRow("negative") << "-5" << false << false;
        QTest::newRow("fraction of a cent") << "1700.555" << false << false;
        QTest::newRow("a tenth of a cent") << "0.001" << false << false;
    }
    void typedNumbersHaveRanges()
    {
        QFETCH(QString, typed);
        QFETCH(bool, price);
        QFETCH(bool, rebate);
        const qint64 id = customerPrice("1100001", "n401", 1650.0);
        s().insert(QStringLiteral("zcprice"), {{"cpbz", "0"}, {"rq1", kOldStamp}});
        auto refusal = [](const std::function<void()> &fn) {
            try {
                fn();
            } catch (const DomainError &e) {
                return e.code() == ErrorCode::BadNumber ? e.message() : QStringLiteral("wrong code");
            }
            return QString();
        };
        const QString bad = QStringLiteral("请输入正确的数字！");
        QCOMPARE(refusal([&] { book().setPolicyPrice(id, PriceBook::parsePrice(typed)); }), price ? QString() : bad);
        QCOMPARE(value("SELECT fhll FROM {khprice} WHERE id = ?", {id}).toDouble(), price ? typed.toDouble() : 1650.0);
        QStringList tiers(RebateSchedule::kTiers, QStringLiteral("1"));
        tiers[4] = typed;
        QCOMPARE(refusal([&] { book().saveRebateSchedule(QStringLiteral("0"), PriceBook::parseTiers(tiers)); }),
                 rebate ? QString() : bad);
        QCOMPARE(value("SELECT b05 FROM {zcprice}").toDouble(), rebate ? typed.toDouble() : 0.0);
        QCOMPARE(value("SELECT b01 FROM {zcprice}").toDouble(), rebate ? 1.0 : 0.0);
        // A value that did not come through parsing is checked where it is written.
        QCOMPARE(refusal([&] { book().setPolicyPrice(id, -0.5); }), bad);
        QCOMPARE(refusal([&] { book().saveRebateSchedule(QStringLiteral("0"), {0, 0, 0, 0, 1e20}); }), bad);
    }

    // When the filter table cannot be written, the policy price stays too.
    void policyPriceAndFilterRowGoTogether()
    {
        const qint64 id = customerPrice("1100001", "n401", 1650.0);
        filterRow("1100001", "n401", 1650, 1600);
        const QString table = s().expand(QStringLiteral("{khjggl}"));
        const QString hidden = QString(table).replace(QStringLiteral("khjggl"), QStringLiteral("khjggl_away"));
        s().execDdl(QStringLiteral("ALTER TABLE %1 RENAME TO khjggl_away").arg(table));
        QVERIFY_THROWS_EXCEPTION(DbError, book().setPolicyPrice(id, 1500));
        s().execDdl(QStringLiteral("ALTER TABLE %1 RENAME TO khjggl").arg(hidden));
        QCOMPARE(value("SELECT fhll FROM {khprice} WHERE id = ?", {id}).toDouble(), 1650.0);
        QCOMPARE(value("SELECT jgce FROM {khjggl}").toDouble(), 50.0);
        // Whichever of its two writes fails, neither table changes.
        QCOMPARE(checkEachWriteFailing(
                     s(), {"khprice", "khjggl", "czrz"},
                     [&] {
                         s().execute(QStringLiteral("UPDATE {khprice} SET fhll = 1650"));
                         s().execute(QStringLiteral("UPDATE {khjggl} SET zcjg = 1650, jgce = 50"));
                     },
                     [&] { book().setPolicyPrice(id, 1500); }),
                 3); // with the change-log row
        // A row deleted meanwhile is reported, not silently passed over.
        s().execute(QStringLiteral("DELETE FROM {khprice}"));
        QVERIFY_THROWS_EXCEPTION(DomainError, book().setPolicyPrice(id, 1500));
    }

    void regionQueryListsSetPolicyPricesOnly()
    {
        customerPrice("1100002", "n401", 1500.0);
        customerPrice("1100001", "n402", 0.0);
        customerPrice("1100001", "n403", QVariant(QMetaType(QMetaType::Double)));
        customerPrice("1100001", "n401", 1450.0);
        customerPrice("1200001", "n401", 1500.0, QStringLiteral("河西乡"));
        QStringList got;
        RowPager pager(s(), book().regionPolicyPricesQuery(QStringLiteral("城关镇")));
        for (const Row &r : pager.page(0, 100)) got << r.text("khdm") + QLatin1Char('/') + r.text("cpdm");
        QCOMPARE(pager.count(), qint64(2));
        QCOMPARE(got, (QStringList{"1100001/n401", "1100002/n401"}));
    }

    void changeDate_data()
    {
        QTest::addColumn<bool>("stamp");
        QTest::addColumn<QString>("rq");
        QTest::newRow("single-product editor keeps it") << false << kOldStamp;
        QTest::newRow("grid editor stamps now") << true << QStringLiteral("2026-12-10 09:30:00");
    }
    void changeDate()
    {
        QFETCH(bool, stamp);
        QFETCH(QString, rq);
        const qint64 id = product("n401", 1800, 1600);
        const qint64 other = product("n402", 1900, 1700);
        const auto how = stamp ? PriceBook::DateStamp::Today : PriceBook::DateStamp::Keep;
        QVERIFY_THROWS_EXCEPTION(DomainError, book().setProductPrices(id, 2000, PriceBook::parsePrice("1500,kpjg=0"), how));
        QVERIFY_THROWS_EXCEPTION(DomainError, book().setProductPrices(id, 2000, -1, how));
        QCOMPARE(book().productById(id)->kpjg, 1800.0);
        book().setProductPrices(id, 2000, PriceBook::parsePrice("1650.5"), how);
        const ProductPrice p = *book().productById(id);
        QCOMPARE(p.kpjg, 2000.0);
        QCOMPARE(p.cbjg, 1650.5);
        QCOMPARE(dateTimeText(p.rq), rq);
        const ProductPrice o = *book().productById(other);
        QCOMPARE(o.kpjg, 1900.0);
        QCOMPARE(o.cbjg, 1700.0);
        QCOMPARE(dateTimeText(o.rq), kOldStamp);
    }

    void clearingCostsTakesPackagingToo()
    {
        product("n401", 1800, 1600);
        product("a40", 0.8, 0.8, "A");
        QCOMPARE(book().clearCostPrices(), 2);
        QCOMPARE(value("SELECT COUNT(*) FROM {price} WHERE cbjg <> 0").toInt(), 0);
        // The feed views leave the packaging out.
        QCOMPARE(book().feedProducts().size(), size_t(1));
        QVERIFY(!book().feedProductByCode(QStringLiteral("A40")));
        QVERIFY(book().feedProductByCode(QStringLiteral(" N401 ")));
    }

    void rebateScheduleOfOneCategory()
    {
        for (const char *flag : {"0", "1", "2"}) {
            Fields f{{"cpbz", flag}, {"rq1", kOldStamp}};
            for (int i = 1; i <= 10; ++i) f.emplace_back(QStringLiteral("b%1").arg(i, 2, 10, QLatin1Char('0')), 1.0);
            s().insert(QStringLiteral("zcprice"), f);
        }
        const QStringList tiers{"0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4", "4.5", ""};
        QStringList bad = tiers;
        bad[3] = QStringLiteral("2元");
        QVERIFY_THROWS_EXCEPTION(DomainError, book().saveRebateSchedule(QStringLiteral("1"), PriceBook::parseTiers(bad)));
        QCOMPARE(book().rebateSchedule(QStringLiteral("1"))->tiers[0], 1.0);

        book().saveRebateSchedule(QStringLiteral("1"), PriceBook::parseTiers(tiers));
        for (const RebateSchedule &r : book().rebateSchedules()) {
            if (r.cpbz == QLatin1String("1")) {
                QCOMPARE(r.tiers[0], 0.5);
                QCOMPARE(r.tiers[8], 4.5);
                QCOMPARE(r.tiers[9], 0.0); // left blank
                QCOMPARE(r.rq1, kNow);
            } else {
                QCOMPARE(r.tiers[0], 1.0);
                QCOMPARE(r.tiers[9], 1.0);
                QCOMPARE(dateTimeText(r.rq1), kOldStamp);
            }
        }
    }

    void listsLeaveOutZeroPrices()
    {
        std::vector<ProductPrice> products{{1, "n401", "猪用浓缩料", "40", 1800, 1600, "0", {}},
                                           {2, "n402", "鸡用浓缩料", "20", 1900, 0, "0", {}}};
        const QString cost = costPriceListDocument(products, QStringLiteral("测试饲料有限公司"), QDate(2026, 12, 10))
                                 .toText();
        FM_COMPARE_GOLDEN(cost, "pricing/golden/cost_price_list.txt");
        QVERIFY(cost.contains(QStringLiteral("title: 测试饲料有限公司产品成本价格表\ntitle: (机密)")));
        QVERIFY(cost.contains(QStringLiteral("header: 打印时间：2026-12-10")));
        QVERIFY(cost.contains(QStringLiteral("  row: 猪用浓缩料 | 40 | 1600\n")));
        QVERIFY(cost.contains(QStringLiteral("  not printed: 鸡用浓缩料 | 20 | 0\n")));

        CustomerProductPrice a{1, "1100001", "张三", "n401", "猪用浓缩料", "40", 1800, 1500.0, "11", "城关镇", "0", {}};
        CustomerProductPrice b = a, c = a;
        b.cpmc = QStringLiteral("鸡用浓缩料");
        b.fhll = 0.0;
        c.cpmc = QStringLiteral("鸭用浓缩料");
        c.fhll.reset();
        CustomerProductPrice d = a;
        d.cpmc = QStringLiteral("鱼用浓缩料");
        d.fhll = 1700.5;
        const QString list = customerPriceListDocument({a, b, c, d}, QStringLiteral("张三"), QDate(2026, 12, 10)).toText();
        FM_COMPARE_GOLDEN(list, "pricing/golden/customer_price_list.txt");
        QVERIFY(list.contains(QStringLiteral("title: 公司客户价格：")));
        QVERIFY(list.contains(QStringLiteral("header: 客户名称：张三 | 打印日期：2026-12-10")));
        QVERIFY(list.contains(QStringLiteral("  row: 1 | 猪用浓缩料 | 40 | 1800 | 1500\n  row: 2 | 鱼用浓缩料 | 40 | 1800 | 1700.5\n")));
        QCOMPARE(list.count(QStringLiteral("not printed:")), 2);
    }

    void sortToggleAlternates()
    {
        product("n402", 1900, 1600);
        product("n401", 1800, 1700, "1");
        product("n403", 2000, 1500);
        PriceSortToggle t;
        auto codes = [&](const PriceOrder &o) {
            QStringList out;
            for (const ProductPrice &p : book().feedProducts(o)) out << p.cpdm;
            return out;
        };
        QCOMPARE(codes({}), (QStringList{"n401", "n402", "n403"}));
        QCOMPARE(t.question(QStringLiteral("开票价格")), QStringLiteral("是否按开票价格升序排序？"));
        QCOMPARE(codes(t.accept(PriceSortColumn::ListPrice)), (QStringList{"n401", "n402", "n403"}));
        QCOMPARE(t.question(QStringLiteral("成本价格")), QStringLiteral("是否按成本价格降序排序？"));
        QCOMPARE(codes(t.accept(*PriceSortToggle::columnOfTitle(QStringLiteral("成本价格")))),
                 (QStringList{"n401", "n402", "n403"}));
        QCOMPARE(t.question(QStringLiteral("成本价格")), QStringLiteral("是否按成本价格升序排序？"));
        QCOMPARE(codes(t.accept(PriceSortColumn::CostPrice)), (QStringList{"n403", "n402", "n401"}));
        // "日期" keeps the categories in order.
        QCOMPARE(codes(t.accept(PriceSortColumn::Date)).last(), QStringLiteral("n401"));
        QVERIFY(!PriceSortToggle::columnOfTitle(QStringLiteral("政策价格")));
    }
};

QTEST_GUILESS_MAIN(TestPriceBook)
#include "tst_pricebook.moc"
