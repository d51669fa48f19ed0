// The price windows on the sample mill: their Enter chains, what they write,
// their questions and messages, their documents, and a look at each.

#include "common/dates.h"
#include "pricing/windows/productpricewindow.h"
#include "pricing/windows/tcp_jgcx.h"
#include "pricing/windows/tkhxg_jg.h"
#include "pricing/windows/tveljgxg.h"
#include "reports/reportdocument.h"
#include "reports/reportexport.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTabWidget>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestPriceWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_printed;

    template <class T> static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no child %s", name);
        return c;
    }
    QVariant value(const QString &sql, const Values &v = {}) { return m_app.session().scalar(sql, v); }
    static int rowOf(Grid *grid, int column, const QString &text)
    {
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->textAt(r, column) == text) return r;
        return -1;
    }
    static void clickRow(Grid *grid, int row)
    {
        QVERIFY(row >= 0);
        const QRect r = grid->view()->visualRect(grid->view()->model()->index(row, 0));
        QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void clickTitle(Grid *grid, int section)
    {
        QHeaderView *h = grid->view()->horizontalHeader();
        const QPoint p(h->sectionViewportPosition(section) + h->sectionSize(section) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
    }
    static void choose(QComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    template <class W> void show(W &w)
    {
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        m_app.reset();
        loadDemoData(m_app.session(), m_app.clock);
        // Later than the sample's stamps, so that a new stamp shows.
        m_app.clock.set(QDateTime(QDate(2026, 12, 11), QTime(10, 15)));
        m_printed.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &doc) {
            m_printed << doc.toText();
            // For looking at the pages: FM_SCREENSHOT_DIR gets each document as PDF.
            const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
            if (!dir.isEmpty()) {
                QDir().mkpath(dir);
                QString error;
                QVERIFY2(exportPdf(doc, QDir(dir).filePath(doc.name() + QStringLiteral(".pdf")), &error),
                         qPrintable(error));
            }
        };
    }

    void registered()
    {
        for (int f : {28, 41, 42}) QVERIFY(functionWindows().contains(f));
    }

    void gridEditor()
    {
        ProductPriceWindow w(m_app.ctx, nullptr);
        show(w);
        auto *grid = child<Grid>(&w, "priceGrid");
        auto *list = child<QLineEdit>(w.priceEditor(), "listPrice");
        auto *cost = child<QLineEdit>(w.priceEditor(), "costPrice");
        auto *confirm = child<QPushButton>(w.priceEditor(), "confirm");
        QCOMPARE(grid->rowCount(), 5); // the packaging row is not a feed price
        QVERIFY(!list->isEnabled() && !confirm->isEnabled());

        clickRow(grid, rowOf(grid, 0, QStringLiteral("n401")));
        QCOMPARE(child<QLineEdit>(w.priceEditor(), "name")->text(), QStringLiteral("猪用浓缩料"));
        QVERIFY(list->hasFocus());
        typeAndEnter(list, QStringLiteral("3300"));
        typeAndEnter(cost, QStringLiteral("1500,kpjg=0"));
        QVERIFY(confirm->isEnabled());
        confirm->click();
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("请输入正确的数字！")});
        QCOMPARE(value(QStringLiteral("SELECT kpjg FROM {price} WHERE cpdm = 'n401'")).toDouble(), 3200.0);
        typeAndEnter(cost, QString());
        QCOMPARE(cost->text(), QStringLiteral("0"));
        typeAndEnter(cost, QStringLiteral("2950"));
        confirm->click();
        auto row = m_app.session().first(QStringLiteral("SELECT kpjg, cbjg, rq FROM {price} WHERE cpdm = 'n401'"));
        QCOMPARE(row->value(0).toDouble(), 3300.0);
        QCOMPARE(row->value(1).toDouble(), 2950.0);
        QCOMPARE(readDateTime(row->value(2)), m_app.clock.now());
        QVERIFY(!confirm->isEnabled());
        QCOMPARE(grid->textAt(grid->currentRow(), 0), QStringLiteral("n401"));

        // Titles sort, alternating, starting ascending; No changes nothing.
        m_app.prompter.answers = {true, false, true};
        clickTitle(grid, 3);
        QCOMPARE(grid->textAt(0, 0), QStringLiteral("q102"));
        clickTitle(grid, 3);
        QCOMPARE(grid->textAt(0, 0), QStringLiteral("q102"));
        clickTitle(grid, 3);
        QCOMPARE(grid->textAt(0, 0), QStringLiteral("y201"));
        QCOMPARE(m_app.prompter.questions, (QStringList{QStringLiteral("是否按开票价格升序排序？"),
                                                        QStringLiteral("是否按开票价格降序排序？"),
                                                        QStringLiteral("是否按开票价格降序排序？")}));
        screenshot(&w, QStringLiteral("pricing-1-grid-editor"));

        child<QPushButton>(w.priceEditor(), "print")->click();
        QCOMPARE(m_printed.size(), 1);
        QVERIFY(m_printed[0].contains(QStringLiteral("title: 测试饲料有限公司产品成本价格表")));
        QVERIFY(m_printed[0].contains(QStringLiteral("header: 打印时间：2026-12-11")));
        QVERIFY(m_printed[0].indexOf(QStringLiteral("猪用预混料")) < m_printed[0].indexOf(QStringLiteral("肉鸡全价料")));

        m_app.prompter.clear();
        m_app.prompter.answers = {false, true};
        auto *clear = child<QPushButton>(w.priceEditor(), "clearCostPrices");
        clear->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {price} WHERE cbjg <> 0")).toInt(), 6);
        clear->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认成本价格清零？"));
        QCOMPARE(m_app.prompter.messages, (QStringList{QStringLiteral("你已经放弃清零！"),
                                                       QStringLiteral("产品成本价格已经全部清零！")}));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {price} WHERE cbjg <> 0")).toInt(), 0);
    }

    void singleProductAndRebates()
    {
        ProductPriceWindow w(m_app.ctx, nullptr);
        show(w);
        w.tabs()->setCurrentIndex(1);
        QWidget *page = w.tabs()->currentWidget();
        auto *code = child<QLineEdit>(page, "code");
        auto *category = child<QComboBox>(page, "category");
        auto *product = child<QComboBox>(page, "product");
        auto *pick = child<QPushButton>(page, "pickConfirm");
        auto *list = child<QLineEdit>(page, "listPrice");
        auto *cost = child<QLineEdit>(page, "costPrice");
        auto *save = child<QPushButton>(page, "priceConfirm");
        const QString stamp = value(QStringLiteral("SELECT rq FROM {price} WHERE cpdm = 'q101'")).toString();

        typeAndEnter(code, QStringLiteral("NONE"));
        QVERIFY(product->currentText().isEmpty() && product->placeholderText() == QStringLiteral("无此产品"));
        QVERIFY(!pick->isEnabled());
        typeAndEnter(code, QStringLiteral(" Q101 "));
        QCOMPARE(category->currentText(), QStringLiteral("全价料"));
        QCOMPARE(product->currentText(), QStringLiteral("乳猪全价料            40"));
        pick->click();
        QCOMPARE(list->text(), QStringLiteral("4100"));
        QCOMPARE(cost->text(), QStringLiteral("3700"));
        QVERIFY(list->hasFocus() && !save->isEnabled());
        typeAndEnter(list, QStringLiteral("4200"));
        typeAndEnter(cost, QStringLiteral("3800"));
        save->click();
        auto row = m_app.session().first(QStringLiteral("SELECT kpjg, cbjg, rq FROM {price} WHERE cpdm = 'q101'"));
        QCOMPARE(row->value(0).toDouble(), 4200.0);
        QCOMPARE(row->value(1).toDouble(), 3800.0);
        QCOMPARE(row->value(2).toString(), stamp);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {price} WHERE kpjg = 4200")).toInt(), 1);

        // By category and name: the entry knows its product.
        choose(category, QStringLiteral("浓缩料"));
        QCOMPARE(product->count(), 2);
        choose(product, QStringLiteral("鸡用浓缩料            40"));
        QCOMPARE(code->text(), QStringLiteral("n402"));
        QVERIFY(pick->isEnabled());

        // The complete-feed rebate schedule.
        auto *rebate = child<QComboBox>(page, "rebateCategory");
        auto *rebateSave = child<QPushButton>(page, "rebateConfirm");
        choose(rebate, QStringLiteral("全价料"));
        QVERIFY(child<QLineEdit>(page, "rebateTier1")->hasFocus());
        QVERIFY(!child<QLineEdit>(page, "promotionTier1")->isEnabled());
        for (int i = 1; i <= 10; ++i)
            typeAndEnter(child<QLineEdit>(page, qPrintable(QStringLiteral("rebateTier%1").arg(i))),
                         i == 10 ? QString() : QString::number(i * 0.5));
        QCOMPARE(child<QLineEdit>(page, "rebateTier10")->text(), QStringLiteral("0"));
        QVERIFY(rebateSave->isEnabled());
        screenshot(&w, QStringLiteral("pricing-2-single-product"));
        rebateSave->click();
        QCOMPARE(value(QStringLiteral("SELECT b09 FROM {zcprice} WHERE cpbz = '1'")).toDouble(), 4.5);
        QCOMPARE(value(QStringLiteral("SELECT SUM(b01 + b09) FROM {zcprice} WHERE cpbz <> '1'")).toDouble(), 0.0);
        QVERIFY(!rebateSave->isEnabled());
        QVERIFY(m_app.prompter.messages.isEmpty());
    }

    void customerPolicyPrices()
    {
        m_app.session().insert(QStringLiteral("khjggl"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"cpdm", "n401"},
                                                          {"cpgg", "40"}, {"zcjg", 3050.0}, {"cbjg", 3400.0},
                                                          {"jgce", -350.0}});
        Tkhxg_jg w(m_app.ctx, nullptr);
        show(w);
        auto *region = child<QComboBox>(&w, "region");
        auto *name = child<QComboBox>(&w, "customerName");
        auto *code = child<QComboBox>(&w, "customerCode");
        auto *policy = child<QLineEdit>(&w, "policyPrice");
        auto *confirm = child<QPushButton>(&w, "confirm");
        Grid *grid = w.grid();

        confirm->setEnabled(true);
        confirm->click(); // nothing chosen: nothing happens
        QVERIFY(m_app.prompter.messages.isEmpty());

        choose(region, QStringLiteral("城关街道"));
        QCOMPARE(name->count(), 3);
        choose(name, QStringLiteral("张记养殖场"));
        QCOMPARE(code->currentText(), QStringLiteral("1100001"));
        QCOMPARE(grid->rowCount(), 5);
        clickRow(grid, rowOf(grid, 9, QStringLiteral("n401")));
        QCOMPARE(policy->text(), QStringLiteral("3050"));
        typeAndEnter(policy, QStringLiteral("1500,kpjg=0"));
        confirm->click();
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("请输入正确的数字！")});
        QCOMPARE(value(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = '1100001' AND cpdm = 'n401'")).toDouble(),
                 3050.0);
        typeAndEnter(policy, QStringLiteral("3300"));
        confirm->click();
        QCOMPARE(value(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = '1100001' AND cpdm = 'n401'")).toDouble(),
                 3300.0);
        QCOMPARE(value(QStringLiteral("SELECT jgce FROM {khjggl}")).toDouble(), -100.0);
        QCOMPARE(grid->textAt(grid->currentRow(), 3), QStringLiteral("3300"));
        QVERIFY(!confirm->isEnabled());
        screenshot(&w, QStringLiteral("pricing-3-customer-prices"));

        child<QPushButton>(&w, "print")->click();
        QCOMPARE(m_printed.size(), 1);
        QVERIFY(m_printed[0].contains(QStringLiteral("header: 客户名称：张记养殖场 | 打印日期：2026-12-11")));
        QVERIFY(m_printed[0].contains(QStringLiteral("row: 1 | 猪用浓缩料 | 40 | 3200 | 3300")));

        // A typed code finds the customer, its name and region.
        code->setEditText(QStringLiteral("1200001"));
        pressEnter(code);
        QCOMPARE(name->currentText(), QStringLiteral("东山养鸡场"));
        QCOMPARE(region->currentText(), QStringLiteral("东山片区"));
        QCOMPARE(grid->textAt(0, 5), QStringLiteral("1200001"));
        QVERIFY(!policy->isEnabled());
    }

    void priceQuery()
    {
        Session &s = m_app.session();
        s.execute(QStringLiteral("UPDATE {khprice} SET fhll = 0 WHERE khdm = '1100001' AND cpdm = 'n401'"));
        s.execute(QStringLiteral("UPDATE {khprice} SET fhll = NULL WHERE khdm = '1100002' AND cpdm = 'n401'"));
        Tcp_jgcx w(m_app.ctx, nullptr);
        show(w);
        QCOMPARE(w.productGrid()->rowCount(), 5);
        auto *region = child<QComboBox>(&w, "region");
        QVERIFY(!region->isEnabled());
        screenshot(&w, QStringLiteral("pricing-4-list-prices"));
        child<QRadioButton>(&w, "customerPrices")->click();
        QVERIFY(region->isEnabled());
        choose(region, QStringLiteral("城关街道"));
        QCOMPARE(w.customerGrid()->rowCount(), 3 * 5 - 2);
        QCOMPARE(w.customerGrid()->textAt(0, 0), QStringLiteral("张记养殖场"));
        screenshot(&w, QStringLiteral("pricing-5-region-prices"));

        // A region's rows are read a page at a time, and the grid says how many.
        s.transaction([&] {
            for (int i = 0; i < 250; ++i)
                s.insert(QStringLiteral("khprice"),
                         {{"khdm", QStringLiteral("11%1").arg(100 + i, 5, 10, QLatin1Char('0'))}, {"khmc", "新客户"},
                          {"cpdm", "n401"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"kpjg", 3200.0}, {"fhll", 3100.0},
                          {"dqbh", "11"}, {"dqmc", "城关街道"}, {"cpbz", "0"}, {"rq", "2026-12-01 08:00:00"}});
        });
        choose(region, QStringLiteral("城关街道"));
        QCOMPARE(w.customerGrid()->rowCount(), 200);
        QCOMPARE(w.customerGrid()->totalRows(), qint64(-1));
        w.customerGrid()->fetchMore();
        QCOMPARE(w.customerGrid()->rowCount(), 13 + 250);
        QCOMPARE(w.customerGrid()->statusText(), QStringLiteral("共 263 行"));
    }
};

QTEST_MAIN(TestPriceWindows)
#include "tst_pricewindows.moc"
