// The product catalogue: adding products for customers across both catalogs,
// specification lists, packaging prices and the formula link.

#include "common/clock.h"
#include "data/session.h"
#include "production/catalogueprints.h"
#include "production/productcatalogue.h"
#include "reports/reportexport.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QDir>
#include <QtTest>

using namespace fm;
using fm::test::TestDb;

namespace {

const QString kCode21 = QStringLiteral("abcdefghijklmnopqrstu");

} // namespace

Q_DECLARE_METATYPE(fm::NewProduct)

class TestProductCatalogue : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    ProductCatalogue catalogue() { return ProductCatalogue(s(), m_clock); }
    int count(const char *table)
    {
        return s().scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(QLatin1String(table))).toInt();
    }
    QVariant value(const QString &sql, const Values &values = {}) { return s().scalar(sql, values); }

    static NewProduct feed(const QString &code, const QString &customer, const QString &formula = QStringLiteral("N401"))
    {
        return {QStringLiteral("浓缩料"), code, QStringLiteral("猪用浓缩料"), QStringLiteral("40"), 1500, customer, formula};
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "浓缩料"}, {"cpbz", "0"}, {"cpgg", "40,20"}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "编织袋"}, {"cpbz", "A"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "标签"}, {"cpbz", "B"}, {"cpgg", " "}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1101"}, {"khmc", "张三"}, {"dq", "城关镇"}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1102"}, {"khmc", "李四"}, {"dq", "城关镇"}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1201"}, {"khmc", "王五"}, {"dq", "东山乡"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "N401"}, {"pfmc", "猪浓缩"}, {"pfbz", "GB1"}, {"pfcb", 2.15}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "N402"}, {"pfmc", "猪浓缩二"}, {"pfbz", "GB2"}, {"pfcb", 3.0}});
    }

    void newProductForOneCustomer()
    {
        ProductCatalogue cat = catalogue();
        const NewProduct p = feed(QStringLiteral("AB01"), QStringLiteral("1101"));
        const NewProductPlan plan = cat.planNewProduct(p);
        QVERIFY(!plan.existingProduct);
        QVERIFY(plan.productionRowMissing);
        const NewProductResult r = cat.addProduct(p, true);
        QVERIFY(r.nameInserted && r.productInserted && r.productionRowInserted);
        QCOMPARE(r.customerPricesInserted, 1);

        auto price = s().first(QStringLiteral("SELECT cpdm, cpmc, cpgg, kpjg, cbjg, cpbz FROM {price}"));
        QCOMPARE(price->value(0).toString(), QStringLiteral("ab01"));
        QCOMPARE(price->value(2).toString(), QStringLiteral("40"));
        QCOMPARE(price->value(3).toDouble(), 1500.0);
        QCOMPARE(price->value(4).toDouble(), 2150.0); // 2.15 yuan/kg
        QCOMPARE(price->value(5).toString(), QStringLiteral("0"));
        QCOMPARE(value(QStringLiteral("SELECT cpdm FROM {cpgg} WHERE cpmc = ?"), {QStringLiteral("猪用浓缩料")}).toString(),
                 QStringLiteral("ab01"));
        auto kh = s().first(QStringLiteral("SELECT khdm, khmc, cpdm, kpjg, dqbh, dqmc, cpbz FROM {khprice}"));
        QCOMPARE(kh->value(0).toString(), QStringLiteral("1101"));
        QCOMPARE(kh->value(1).toString(), QStringLiteral("张三"));
        QCOMPARE(kh->value(2).toString(), QStringLiteral("ab01"));
        QCOMPARE(kh->value(3).toDouble(), 1500.0);
        QCOMPARE(kh->value(4).toString(), QStringLiteral("11"));
        QCOMPARE(kh->value(5).toString(), QStringLiteral("城关镇"));
        auto sc = s().first(QStringLiteral("SELECT cpdm, scsl, sccb, pfhm, scbz, scrq_1, cpbz FROM {velcpzk}"));
        QCOMPARE(sc->value(0).toString(), QStringLiteral("ab01"));
        QCOMPARE(sc->value(1).toDouble(), 0.0);
        QCOMPARE(sc->value(2).toDouble(), 2150.0);
        QCOMPARE(sc->value(3).toString(), QStringLiteral("N401"));
        QCOMPARE(sc->value(4).toString(), QString());
        QCOMPARE(sc->value(5).toString(), QStringLiteral("2026-12-10"));

        // A second customer: the production row exists, so no question; only its cost follows the formula.
        const NewProduct second = feed(QStringLiteral("ab01"), QStringLiteral("1102"), QStringLiteral("n402"));
        QVERIFY(!cat.planNewProduct(second).productionRowMissing);
        const NewProductResult r2 = cat.addProduct(second, false);
        QVERIFY(!r2.productInserted && !r2.nameInserted && r2.productionCostUpdated);
        QCOMPARE(value(QStringLiteral("SELECT sccb FROM {velcpzk}")).toDouble(), 3000.0);
        QCOMPARE(value(QStringLiteral("SELECT pfhm FROM {velcpzk}")).toString(), QStringLiteral("N401"));
        QCOMPARE(value(QStringLiteral("SELECT cbjg FROM {price}")).toDouble(), 2150.0);

        // The same customer again: refused before anything is written.
        try {
            cat.addProduct(feed(QStringLiteral("Ab01"), QStringLiteral("1101")), true);
            QFAIL("a repeat was accepted");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("该客户此品种已存在，不能插入！"));
        }
        QCOMPARE(count("khprice"), 2);
        QCOMPARE(count("price"), 1);
        QCOMPARE(count("velcpzk"), 1);
    }

    void allCustomersAddsOnlyMissingPrices()
    {
        ProductCatalogue cat = catalogue();
        cat.addProduct(feed(QStringLiteral("ab01"), QStringLiteral("1102")), false);
        QCOMPARE(count("velcpzk"), 0); // "No" to the question

        NewProduct all = feed(QStringLiteral("AB01"), QString());
        all.listPrice = 9999; // an existing product keeps its list price
        QVERIFY(!cat.planNewProduct(all).productionRowMissing);
        const NewProductResult r = cat.addProduct(all, true);
        QCOMPARE(r.customerPricesInserted, 2);
        QVERIFY(!r.productInserted);
        QStringList codes;
        QSqlQuery q = s().exec(QStringLiteral("SELECT khdm, kpjg, dqbh FROM {khprice} ORDER BY khdm"));
        while (q.next())
            codes << q.value(0).toString() + QLatin1Char('/') + q.value(1).toString() + QLatin1Char('/') + q.value(2).toString();
        QCOMPARE(codes, (QStringList{"1101/1500/11", "1102/1500/11", "1201/1500/12"}));
        QCOMPARE(count("price"), 1);
        QCOMPARE(value(QStringLiteral("SELECT kpjg FROM {price}")).toDouble(), 1500.0);
        QCOMPARE(count("velcpzk"), 0);

        // Run again: every customer has it, nothing more.
        QCOMPARE(cat.addProduct(all, true).customerPricesInserted, 0);
        QCOMPARE(count("khprice"), 3);
    }

    void badInputWritesNothing_data()
    {
        QTest::addColumn<NewProduct>("product");
        QTest::addColumn<QString>("message");
        NewProduct p = feed(QStringLiteral("ab01"), QStringLiteral("1101"));
        p.listPrice = -1;
        QTest::newRow("list price negative") << p << QStringLiteral("请输入正确的数字！");
        p.listPrice = 1e16;
        QTest::newRow("list price out of range") << p << QStringLiteral("请输入正确的数字！");
        p = feed(QStringLiteral("ab01"), QStringLiteral("1101"));
        p.specification = QStringLiteral("-5");
        QTest::newRow("size not a quantity") << p << QStringLiteral("请输入正确的数字！");
        p = feed(kCode21, QStringLiteral("1101"));
        QTest::newRow("code too long") << p << QStringLiteral("产品代码不能超过20个字符！");
        p = feed(QStringLiteral("ab01"), QStringLiteral("1101"));
        p.name = QString(29, QChar(0x6599));
        QTest::newRow("name too long") << p << QStringLiteral("产品名称不能超过28个字符！");
        p = feed(QStringLiteral("ab01"), QStringLiteral("1101"), QStringLiteral("N499"));
        QTest::newRow("formula unknown") << p << QStringLiteral("没有选择配方或配方代码错误，请检查!");
        p = feed(QStringLiteral("ab01"), QStringLiteral("9999"));
        QTest::newRow("customer unknown") << p << QStringLiteral("查无此人！");
        p = feed(QStringLiteral("ab01"), QString());
        p.category = QStringLiteral("鱼料");
        QTest::newRow("kind not in cplbgg") << p << QStringLiteral("产品类别库有错误，请与管理员联系！");
    }
    void badInputWritesNothing()
    {
        QFETCH(NewProduct, product);
        QFETCH(QString, message);
        try {
            catalogue().addProduct(product, true);
            QFAIL("accepted");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), message);
        }
        for (const char *t : {"price", "cpgg", "khprice", "velcpzk"}) QCOMPARE(count(t), 0);
    }

    void specificationLists_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");  // or the message when refused
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("blank plus 25") << " " << false << "25" << "25" << QStringList{"25"};
        QTest::newRow("40,20 plus 25") << "40,20" << false << "25" << "40,20,25" << QStringList{"40", "20", "25"};
        QTest::newRow("replace by 20") << "40,20" << true << "20" << "20" << QStringList{"20"};
        QTest::newRow("single size") << " " << true << " 5 " << "5" << QStringList{"5"};
        const QString long48 = QStringLiteral("400") + QStringLiteral(",40").repeated(15);
        QTest::newRow("past 50 characters") << long48 << false << "25" << "规格不能超过50个字符！"
                                            << long48.split(QLatin1Char(','));
        QTest::newRow("negative size") << " " << false << "-5" << "请输入正确的数字！" << QStringList();
        QTest::newRow("size not a number") << "40,20" << true << "40,大" << "请输入正确的数字！"
                                           << QStringList{"40", "20"};
    }
    void specificationLists()
    {
        QFETCH(QString, list);
        QFETCH(bool, replace);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QStringList, choices);
        ProductCatalogue cat = catalogue();
        const qint64 id = cat.addCategory(QStringLiteral("全价料"), QStringLiteral("1"), list).id;
        try {
            replace ? cat.replaceSpecifications(id, typed) : void(cat.addSpecification(id, typed));
            QCOMPARE(cat.categoryById(id)->cpgg, stored);
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), stored);
        }
        QCOMPARE(ProductCatalogue::specificationChoices(cat.categoryById(id)->cpgg), choices);
        QCOMPARE(ProductCatalogue::specificationChoices(QStringLiteral(" ")), QStringList());
    }

    void categoryFlags()
    {
        ProductCatalogue cat = catalogue();
        const ProductCategory f = cat.addCategory(QStringLiteral("防伪"), QStringLiteral(" fx"), QString());
        QCOMPARE(f.cpbz, QStringLiteral("F"));
        QCOMPARE(cat.categoryById(f.id)->cpgg, QStringLiteral(" "));
        QVERIFY(ProductCatalogue::isPackagingFlag(f.cpbz));
        QVERIFY(!ProductCatalogue::isPackagingFlag(cat.addCategory(QStringLiteral("鱼料"), QStringLiteral("3"), {}).cpbz));
        QVERIFY(!ProductCatalogue::isPackagingFlag(QStringLiteral("f")));
        QVERIFY_THROWS_EXCEPTION(DomainError, cat.addCategory(QStringLiteral("防伪二"), QStringLiteral("f"), {}));
        QVERIFY_THROWS_EXCEPTION(DomainError, cat.addCategory(QStringLiteral("浓缩料"), QStringLiteral("5"), {}));
        QCOMPARE(count("cplbgg"), 5);
    }

    void packagingMaterials()
    {
        ProductCatalogue cat = catalogue();
        // A label has no size, whatever was typed.
        const qint64 label = cat.addPackaging({QStringLiteral("标签"), QStringLiteral("bq1"), QStringLiteral("合格证"),
                                               QStringLiteral("40"), 0.05});
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpgg FROM {price} WHERE id = ?"), {label}).toString(), QStringLiteral(" "));
        QCOMPARE(cat.productById(label)->flag, QStringLiteral("B"));
        QVERIFY_THROWS_EXCEPTION(DomainError, cat.addPackaging({QStringLiteral("标签"), QStringLiteral("BQ1"),
                                                                QStringLiteral("另一个"), {}, 1}));

        const qint64 bag = cat.addPackaging({QStringLiteral("编织袋"), QStringLiteral("bd01"), QStringLiteral("40公斤袋"),
                                             QStringLiteral("40"), 0.5});
        s().insert(QStringLiteral("bzbqk"), {{"dm", "BD01"}, {"mc", "40公斤袋"}, {"price", 0.5}, {"sl", 300}, {"zje", 150.0}});
        s().insert(QStringLiteral("bzbqk"), {{"dm", "bd02"}, {"price", 0.5}, {"sl", 10}, {"zje", 5.0}});

        QVERIFY_THROWS_EXCEPTION(DomainError, ProductCatalogue::parsePrice(QStringLiteral("0,8"), ProductCatalogue::kMaxPackagingPrice));
        QVERIFY_THROWS_EXCEPTION(DomainError, cat.repricePackaging(bag, -0.8));
        cat.repricePackaging(bag, 0.8);
        QCOMPARE(cat.productById(bag)->listPrice, 0.8);
        QCOMPARE(cat.productById(bag)->costPrice, 0.8);
        auto stock = s().first(QStringLiteral("SELECT price, zje FROM {bzbqk} WHERE dm = 'BD01'"));
        QCOMPARE(stock->value(0).toDouble(), 0.8);
        QCOMPARE(stock->value(1).toDouble(), 240.0);
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk} WHERE dm = 'bd02'")).toDouble(), 5.0);

        // Without a stock row only the price changes.
        cat.repricePackaging(label, 0.06);
        QCOMPARE(cat.productById(label)->listPrice, 0.06);

        // Deleting the category leaves its materials listed.
        QVERIFY(cat.deleteCategory(QStringLiteral("编织袋")));
        QCOMPARE(int(cat.packagingItems().size()), 2);
    }

    void formulaLinkAndDelete()
    {
        ProductCatalogue cat = catalogue();
        cat.addProduct(feed(QStringLiteral("ab01"), QStringLiteral("1101")), false);
        QCOMPARE(count("velcpzk"), 0);
        cat.linkFormula(QStringLiteral("AB01"), QStringLiteral("N402"));
        QCOMPARE(value(QStringLiteral("SELECT cbjg FROM {price}")).toDouble(), 3000.0);
        auto sc = s().first(QStringLiteral("SELECT cpdm, sccb, pfhm, cpgg, cpbz, scsl FROM {velcpzk}"));
        QCOMPARE(sc->value(0).toString(), QStringLiteral("ab01"));
        QCOMPARE(sc->value(1).toDouble(), 3000.0);
        QCOMPARE(sc->value(2).toString(), QStringLiteral("N402"));
        QCOMPARE(sc->value(3).toString(), QStringLiteral("40"));
        cat.linkFormula(QStringLiteral("ab01"), QStringLiteral("N401"));
        QCOMPARE(count("velcpzk"), 1);
        QCOMPARE(value(QStringLiteral("SELECT pfhm FROM {velcpzk}")).toString(), QStringLiteral("N401"));
        QCOMPARE(value(QStringLiteral("SELECT sccb FROM {velcpzk}")).toDouble(), 2150.0);
        QVERIFY_THROWS_EXCEPTION(DomainError, cat.linkFormula(QString(), QStringLiteral("N401")));
        QCOMPARE(count("velcpzk"), 1);

        // Deleting the product keeps its production master.
        cat.addProduct(feed(QStringLiteral("ab01"), QString()), false);
        QCOMPARE(count("khprice"), 3);
        cat.deleteProduct(QStringLiteral("AB01"));
        QCOMPARE(count("price"), 0);
        QCOMPARE(count("cpgg"), 0);
        QCOMPARE(count("khprice"), 0);
        QCOMPARE(count("velcpzk"), 1);
    }

    // Every operation that writes several rows, both catalogs included,
    // leaves nothing behind when any one of its writes fails.
    void eachWriteFailingLeavesNothing()
    {
        const QStringList tables{"price", "cpgg", "khprice", "velcpzk", "bzbqk", "cplbgg"};
        auto product = [this](const QString &customer, bool productionRow) {
            catalogue().addProduct(feed(QStringLiteral("ab01"), customer), productionRow);
        };
        struct Case {
            const char *name;
            std::function<void()> prepare;
            std::function<void()> operation;
        };
        const Case cases[] = {
            {"product added across two catalogs", [] {}, [&] { product(QStringLiteral("1101"), true); }},
            {"product given to every customer", [] {}, [&] { product(QString(), false); }},
            {"product given to a further customer", [&] { product(QStringLiteral("1101"), true); },
             [&] { catalogue().addProduct(feed(QStringLiteral("ab01"), QStringLiteral("1102"), QStringLiteral("N402")), false); }},
            {"product deleted", [&] { product(QString(), false); }, [&] { catalogue().deleteProduct(QStringLiteral("ab01")); }},
            {"formula linked", [&] { product(QStringLiteral("1101"), false); },
             [&] { catalogue().linkFormula(QStringLiteral("ab01"), QStringLiteral("N402")); }},
            {"packaging repriced with its stock",
             [&] {
                 catalogue().addPackaging({QStringLiteral("编织袋"), QStringLiteral("bd01"), QStringLiteral("40公斤袋"),
                                           QStringLiteral("40"), 0.5});
                 s().insert(QStringLiteral("bzbqk"), {{"dm", "bd01"}, {"price", 0.5}, {"sl", 300}, {"zje", 150.0}});
             },
             [&] {
                 const qint64 id = s().scalar(QStringLiteral("SELECT id FROM {price} WHERE cpdm = 'bd01'")).toLongLong();
                 catalogue().repricePackaging(id, 0.8);
             }},
        };
        for (const Case &c : cases) {
            const int writes = fm::test::checkEachWriteFailing(s(), tables, [&] {
                init();
                c.prepare();
            }, c.operation);
            QVERIFY2(writes > 1, c.name);
        }
    }

    void productList()
    {
        ProductCatalogue cat = catalogue();
        cat.addProduct(feed(QStringLiteral("zz09"), QString()), false);
        NewProduct second = feed(QStringLiteral("ab01"), QString());
        second.name = QStringLiteral("猪用浓缩料二号");
        second.specification = QStringLiteral("20");
        second.listPrice = 1650.5;
        cat.addProduct(second, false);
        NewProduct free = feed(QStringLiteral("mm01"), QString());
        free.listPrice = 0;
        cat.addProduct(free, false); // no list price: not printed
        cat.addPackaging({QStringLiteral("编织袋"), QStringLiteral("bd01"), QStringLiteral("40公斤袋"),
                          QStringLiteral("40"), 0.5});

        const ReportDocument doc = Tcppzdy::build(s(), QStringLiteral("测试饲料有限公司"));
        QCOMPARE(doc.toText(), QStringLiteral(
            "page: A4 portrait 210x297mm, margins 15/15/15/15mm\n"
            "title: 测试饲料有限公司产品清单:\n"
            "table: 产品代码 | 产品名称： | 产品规格： | 产品标志： | 开票价格(元/吨)：\n"
            "  row: ab01 | 猪用浓缩料二号 | 20 | 浓缩料 | 1650.5\n"
            "  row: bd01 | 40公斤袋 | 40 | 编织袋 | 0.5\n"
            "  row: zz09 | 猪用浓缩料 | 40 | 浓缩料 | 1500\n"
            "page numbers: 第 N 页 / 共 M 页\n"));

        const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(exportPdf(doc, QDir(dir).filePath(QStringLiteral("product-list.pdf"))));
            QVERIFY(exportPdf(formulaListDocument(s(), QStringLiteral("测试饲料有限公司")),
                              QDir(dir).filePath(QStringLiteral("formula-list.pdf"))));
        }
    }
};

QTEST_MAIN(TestProductCatalogue)
#include "tst_productcatalogue.moc"
