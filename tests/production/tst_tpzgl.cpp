// The product catalogue window: the Enter chain of a new product, the
// formula tab's OK, and a look at every tab.

#include "production/windows/tpzgl.h"
#include "reports/reportdocument.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestTpzgl : public QObject {
    Q_OBJECT
    AppFixture m_app;

    template <class T> static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no child %s", name);
        return c;
    }
    int count(const char *table)
    {
        return m_app.session().scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(QLatin1String(table))).toInt();
    }
    static void clickRow(QTableView *view, int row)
    {
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }
    static int rowOf(QTableView *view, const QString &first)
    {
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == first) return r;
        return -1;
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        Session &s = m_app.session();
        s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE cpbz = ?"), {QStringLiteral("40,20"), QStringLiteral("0")});
        s.insert(QStringLiteral("zxkh"), {{"khdm", "1101"}, {"khmc", "张三"}, {"dq", "城关镇"}});
        s.insert(QStringLiteral("pfzlk"), {{"pfhm", "N401"}, {"pfmc", "猪浓缩"}, {"pfbz", "GB1"}, {"pfcb", 2.15}});
    }

    void newProductForOneCustomer()
    {
        Tpzgl w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *kind = child<QComboBox>(&w, "kind");
        auto *name = child<QLineEdit>(&w, "name");
        auto *code = child<QLineEdit>(&w, "code");
        auto *spec = child<QComboBox>(&w, "specification");
        auto *price = child<QLineEdit>(&w, "listPrice");
        auto *customer = child<QLineEdit>(&w, "customerCode");
        auto *formulaNumber = child<QLineEdit>(&w, "formulaNumber");
        auto *confirm = child<QPushButton>(&w, "confirm");
        QVERIFY(!name->isEnabled() && !code->isEnabled() && !confirm->isEnabled());
        QCOMPARE(child<Grid>(&w, "productGrid")->statusText(), QStringLiteral("共 0 行"));

        auto enterProduct = [&](const QString &typedCode) {
            kind->setCurrentIndex(kind->findText(QStringLiteral("浓缩料")));
            pressEnter(kind);
            QVERIFY(name->hasFocus());
            typeAndEnter(name, QStringLiteral("猪用浓缩料"));
            QVERIFY(name->isReadOnly());
            typeAndEnter(code, typedCode);
        };
        enterProduct(QStringLiteral("AB01"));
        QCOMPARE(code->text(), QStringLiteral("ab01"));
        QCOMPARE(spec->count(), 2);
        QCOMPARE(spec->itemText(1), QStringLiteral("20"));
        QVERIFY(!price->isEnabled());
        spec->setCurrentIndex(0);
        pressEnter(spec);
        typeAndEnter(price, QStringLiteral("1500"));
        typeAndEnter(customer, QStringLiteral("1101"));
        QCOMPARE(child<QLineEdit>(&w, "customerName")->text(), QStringLiteral("张三"));
        QVERIFY(confirm->isEnabled());

        // No formula yet: refused, nothing written.
        confirm->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("没有选择配方或配方代码错误，请检查!"));
        QVERIFY(formulaNumber->hasFocus());
        QCOMPARE(count("price"), 0);

        typeAndEnter(formulaNumber, QStringLiteral("n401"));
        QCOMPARE(child<QComboBox>(&w, "formula")->currentText(), QStringLiteral("猪浓缩"));
        QCOMPARE(child<QLineEdit>(&w, "formulaCost")->text(), QStringLiteral("2150"));
        screenshot(&w, QStringLiteral("tpzgl-1-add"));
        confirm->click();
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("该产品生产库中不存在，是否增加（建议增加）？")});
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT cpdm FROM {price}")).toString(), QStringLiteral("ab01"));
        QCOMPARE(count("khprice"), 1);
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT sccb FROM {velcpzk}")).toDouble(), 2150.0);
        QCOMPARE(child<Grid>(&w, "productGrid")->rowCount(), 1);
        // Entry starts over at the product kind.
        QVERIFY(!confirm->isEnabled() && !name->isEnabled());
        QCOMPARE(child<QLineEdit>(&w, "formulaCost")->text(), QStringLiteral("0"));
        QVERIFY(formulaNumber->text().isEmpty());

        // The same customer again: the product is found, its formula offered, the row refused.
        m_app.prompter.clear();
        enterProduct(QStringLiteral("ab01"));
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("提示：该产品已存在，请选择客户！")});
        QVERIFY(customer->hasFocus());
        QCOMPARE(price->text(), QStringLiteral("1500"));
        typeAndEnter(customer, QStringLiteral("1101"));
        QCOMPARE(formulaNumber->text(), QStringLiteral("N401"));
        confirm->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该客户此品种已存在，不能插入！"));
        QCOMPARE(count("khprice"), 1);
        QVERIFY(!confirm->isEnabled());

        // "打印": the product list, through the preview.
        QStringList printed;
        m_app.ctx.preview = [&printed](QWidget *, const ReportDocument &doc) { printed << doc.toText(); };
        child<QPushButton>(&w, "print")->click();
        QCOMPARE(printed.size(), 1);
        QVERIFY(printed.first().contains(QStringLiteral("title: 测试饲料有限公司产品清单:")));
        QVERIFY(printed.first().contains(QStringLiteral("row: ab01 | 猪用浓缩料 | 40 | 浓缩料 | 1500")));
    }

    void formulaTabOkNeedsProductAndFormula()
    {
        m_app.session().insert(QStringLiteral("price"), {{"cpdm", "zz01"}, {"cpmc", "全价料一号"}, {"cpgg", "40"},
                                                         {"kpjg", 2100.0}, {"cbjg", 1800.0}, {"cpbz", "1"}});
        Tpzgl w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.tabs()->setCurrentIndex(4);
        auto *ok = child<QPushButton>(&w, "linkOk");
        auto *products = child<Grid>(&w, "linkProductGrid")->view();
        auto *formulas = child<Grid>(&w, "linkFormulaGrid")->view();
        QVERIFY(!ok->isEnabled());
        clickRow(products, 0);
        QCOMPARE(child<QLineEdit>(&w, "linkCode")->text(), QStringLiteral("zz01"));
        QVERIFY(!ok->isEnabled());
        clickRow(formulas, 0);
        QCOMPARE(child<QLineEdit>(&w, "linkCost")->text(), QStringLiteral("2150"));
        QVERIFY(ok->isEnabled());
        screenshot(&w, QStringLiteral("tpzgl-5-formula"));
        ok->click();
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT cbjg FROM {price}")).toDouble(), 2150.0);
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT pfhm FROM {velcpzk} WHERE cpdm = 'zz01'")).toString(),
                 QStringLiteral("N401"));
        QVERIFY(!ok->isEnabled());
        QVERIFY(child<QLineEdit>(&w, "linkCode")->text().isEmpty());
        QVERIFY(m_app.prompter.questions.isEmpty());
    }

    // The other tabs, on the sample mill: their main gestures, and screenshots.
    void otherTabs()
    {
        loadDemoData(m_app.session(), m_app.clock);
        Tpzgl w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        // Deleting one customer's price.
        w.tabs()->setCurrentIndex(1);
        const int before = count("khprice");
        QVERIFY(before > 0);
        clickRow(child<Grid>(&w, "deleteCustomerPriceGrid")->view(), 0);
        QVERIFY(m_app.prompter.questions.last().startsWith(QStringLiteral("删除客户")));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("已经删除该记录！"));
        QCOMPARE(count("khprice"), before - 1);
        auto *category = child<QComboBox>(&w, "deleteCategory");
        category->setCurrentIndex(0);
        pressEnter(category);
        auto *code = child<QComboBox>(&w, "deleteCode");
        QVERIFY(code->isEnabled() && code->count() > 0);
        code->setCurrentIndex(0);
        pressEnter(code);
        QVERIFY(child<QPushButton>(&w, "delete")->isEnabled());
        screenshot(&w, QStringLiteral("tpzgl-2-delete"));

        // A size added to a category chosen by its flag.
        w.tabs()->setCurrentIndex(2);
        auto *box = child<QCheckBox>(&w, "addSizeBox");
        box->setChecked(true);
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你已经选择了规格增加，请点击上面窗口的产品类别。"));
        auto *grid = child<Grid>(&w, "categoryGrid")->view();
        clickRow(grid, rowOf(grid, QStringLiteral("浓缩料")));
        QCOMPARE(child<QLineEdit>(&w, "addSizeExisting")->text(), QStringLiteral("40,20"));
        typeAndEnter(child<QLineEdit>(&w, "addSizeInput"), QStringLiteral("25"));
        screenshot(&w, QStringLiteral("tpzgl-3-categories"));
        child<QPushButton>(&w, "addSize")->click();
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT cpgg FROM {cplbgg} WHERE cpbz = '0'")).toString(),
                 QStringLiteral("40,20,25"));
        QVERIFY(!box->isChecked());

        // A packaging material repriced from its row.
        w.tabs()->setCurrentIndex(3);
        auto *packaging = child<Grid>(&w, "packagingGrid")->view();
        QVERIFY(packaging->model()->rowCount() > 0);
        clickRow(packaging, 0);
        auto *newPrice = child<QLineEdit>(&w, "repricePrice");
        QVERIFY(newPrice->isEnabled());
        typeAndEnter(newPrice, QStringLiteral("0.8"));
        screenshot(&w, QStringLiteral("tpzgl-4-packaging"));
        child<QPushButton>(&w, "confirmReprice")->click();
        QVERIFY(!newPrice->isEnabled());
        QVERIFY(!child<QPushButton>(&w, "printPackaging")->isEnabled());

        w.tabs()->setCurrentIndex(0);
        screenshot(&w, QStringLiteral("tpzgl-1-demo"));
        w.tabs()->setCurrentIndex(4);
        screenshot(&w, QStringLiteral("tpzgl-5-demo"));
    }
};

QTEST_MAIN(TestTpzgl)
#include "tst_tpzgl.moc"
