// The sales query windows as a clerk uses them: the listing by customer with
// its totals and actual arrears, the questions about lines without a policy
// price, the modes and the windows reached from them, and the return, funds
// and combined-condition queries with their printouts.

#include "reports/computedreport.h"
#include "reports/reportdocument.h"
#include "reports/reportexport.h"
#include "sales/windows/combinedquerywindow.h"
#include "sales/windows/fundsquerywindow.h"
#include "sales/windows/returnquerywindow.h"
#include "sales/windows/salesquerywindow.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

} // namespace

class TestSalesQueryWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_printed;
    QStringList m_opened;

    Session &s() { return m_app.session(); }

    qint64 sale(const QString &table, const QString &date, const QString &khdm, double kg, double price, double policy,
                bool isReturn = false, const QString &cpdm = QStringLiteral("n40"))
    {
        const bool east = khdm.startsWith(QLatin1String("12"));
        Fields f{{"khdm", khdm}, {"khmc", east ? "李家猪场" : "张记养殖场"}, {"region", east ? "东山乡" : "城关镇"},
                 {"cpdm", cpdm}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"zcjg", policy}, {"bz_3", "0"},
                 {"rq_1", date}, {"czydm", "admin"}, {"zzhm", isReturn ? "0" : "1001"}, {"bz_1", isReturn ? "3" : "1"}};
        if (isReturn) f.insert(f.end(), {{"tlnum", kg}, {"kpjg", price}, {"kpje", kg * price / 1000}, {"zznum", 0.0},
                                         {"zzjg", 0.0}, {"zzje", 0.0}});
        else f.insert(f.end(), {{"zznum", kg}, {"zzjg", price}, {"zzje", kg * price / 1000}, {"tlnum", 0.0},
                                {"kpjg", 0.0}, {"kpje", 0.0}});
        return s().insert(table, f);
    }
    void funds(const QString &table, const QString &date, const QString &khdm, double receivable, double received)
    {
        s().insert(table, {{"khdm", khdm}, {"khmc", "张记养殖场"}, {"region", "城关镇"}, {"ysje", receivable},
                           {"sjje", received}, {"sqje", receivable - received}, {"rq", date}, {"czydm", "admin"}});
    }

    std::unique_ptr<SalesQueryWindow> openQuery()
    {
        auto w = std::make_unique<SalesQueryWindow>(m_app.ctx, nullptr);
        w->openChild = [this](FunctionWindow *c) {
            m_opened << c->windowTitle();
            c->activate();
        };
        w->activate();
        w->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(w.get())); }();
        return w;
    }
    void listCustomer(SalesQueryWindow *w, const QString &code)
    {
        typeAndEnter(w->customerField(), code);
        QVERIFY(w->fromField()->hasFocus());
        pressEnter(w->fromField());
        QVERIFY(w->toField()->hasFocus());
        pressEnter(w->toField());
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        s().insert(QStringLiteral("dqk"), {{"dq", "城关镇"}, {"bh", "11"}});
        s().insert(QStringLiteral("dqk"), {{"dq", "东山乡"}, {"bh", "12"}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"dq", "城关镇"}, {"khbz", "1"}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1200001"}, {"khmc", "李家猪场"}, {"dq", "东山乡"}, {"khbz", "1"}});
        s().insert(QStringLiteral("price"), {{"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"cpbz", "0"}});
        s().insert(QStringLiteral("cpgg"), {{"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}});
        m_printed.clear();
        m_opened.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) {
            m_printed << d.compute().toText();
            if (!qEnvironmentVariableIsEmpty("FM_SCREENSHOT_DIR"))
                exportPdf(d, qEnvironmentVariable("FM_SCREENSHOT_DIR") + QStringLiteral("/query%1.pdf").arg(m_printed.size()));
        };
    }

    void customerListingWithActualArrears()
    {
        sale(QStringLiteral("sale1"), QStringLiteral("2026-10-10"), QStringLiteral("1100001"), 100, 3000, 2800);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 2000, 3000, 2800);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-25"), QStringLiteral("1100001"), 500, 3000, 2800, true);
        funds(QStringLiteral("khzj"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 6000, 1000);
        funds(QStringLiteral("khzj"), QStringLiteral("2026-12-01"), QStringLiteral("1100001"), 0, 2000);
        auto w = openQuery();
        QCOMPARE(w->windowTitle(), QStringLiteral("本窗口为本期数据查询，历史数据查询请进入“历史数据”查询。。。。。。"));
        QVERIFY(w->modeButton(SalesQueryMode::Customer)->isChecked());
        QVERIFY(w->customerField()->hasFocus());
        QVERIFY(!w->printButton()->isEnabled());
        QVERIFY(!w->specButton()->isEnabled());
        QCOMPARE(w->fromField()->text(), QStringLiteral("2026-11-19"));
        QCOMPARE(w->toField()->text(), QStringLiteral("2026-12-10"));

        typeAndEnter(w->customerField(), QStringLiteral("9900001"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("查无此客户！"));
        QVERIFY(w->customerField()->text().isEmpty());
        QVERIFY(!w->fromField()->isEnabled());

        m_app.prompter.answers = {true};
        listCustomer(w.get(), QStringLiteral("1100001"));
        QCOMPARE(w->customerName()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("是否计算实际欠款？")});
        QCOMPARE(w->quantityTotal()->text(), QStringLiteral("1.5"));
        QCOMPARE(w->amountTotal()->text(), QStringLiteral("0.45"));
        // Fee 20 + 400 − 100; owed 6000 − 3000; received within the dates 3000.
        QCOMPARE(w->receivedTotal()->text(), QStringLiteral("0.3"));
        QCOMPARE(w->arrearsTotal()->text(), QStringLiteral("2,680.00"));
        // The grid shows the lines the fee was taken from, the earlier one too.
        QCOMPARE(w->grid()->rowCount(), 3);
        QCOMPARE(w->grid()->statusText(), QStringLiteral("共 3 行"));
        QVERIFY(!w->toField()->isEnabled());
        QVERIFY(w->printButton()->isEnabled());
        screenshot(w.get(), QStringLiteral("sales-query"));

        w->printButton()->click();
        QCOMPARE(m_printed.size(), 1);
        QVERIFY(m_printed[0].contains(QStringLiteral("title: 查询结果打印")));
        QVERIFY(m_printed[0].contains(QStringLiteral("实际销量(吨):")));

        // No to the question: the listing alone.
        m_app.prompter.clear();
        m_app.prompter.answers = {false};
        w->chooseMode(SalesQueryMode::Customer);
        listCustomer(w.get(), QStringLiteral("1100001"));
        QCOMPARE(w->grid()->rowCount(), 2);
        QCOMPARE(w->arrearsTotal()->text(), QStringLiteral("0"));
    }

    void linesWithoutPolicyPriceAreAskedAbout_data()
    {
        QTest::addColumn<QList<int>>("answers"); // Prompter::Answer
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("arrears");
        QTest::newRow("Yes asks again at the next") << QList<int>{0, 0} << 2 << "5,600.00";
        QTest::newRow("Cancel asks no more") << QList<int>{2} << 1 << "5,600.00";
        QTest::newRow("No shows nothing") << QList<int>{1} << 1 << "0";
    }
    void linesWithoutPolicyPriceAreAskedAbout()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(QString, arrears);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 2000, 3000, 2800);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-21"), QStringLiteral("1100001"), 1000, 3000, 0);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-22"), QStringLiteral("1100001"), 1000, 3000, 2800, false, QStringLiteral(""));
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-23"), QStringLiteral("1100001"), 1000, 3000, 0);
        funds(QStringLiteral("khzj"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 15000, 9000);
        auto w = openQuery();
        m_app.prompter.answers = {true};
        for (int a : answers) m_app.prompter.choices.push_back(Prompter::Answer(a));
        listCustomer(w.get(), QStringLiteral("1100001"));
        const QString ask = QStringLiteral("1100001的猪用浓缩料政策价格为0.继续否?");
        QCOMPARE(m_app.prompter.questions.count(ask), questions);
        // The line without a product code is told about unless abandoned first.
        const QString told = QStringLiteral("1100001产品猪用浓缩料的代码不存在,不计算其推广费,请检查！");
        QCOMPARE(m_app.prompter.messages.contains(told), arrears != QLatin1String("0"));
        QCOMPARE(w->arrearsTotal()->text(), arrears);
        if (arrears == QLatin1String("0")) {
            QVERIFY(w->customerField()->isEnabled());
            QVERIFY(w->customerField()->hasFocus());
        }
    }

    void modesShowTheirInputs()
    {
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-22"), QStringLiteral("1200001"), 1000, 2600, 2550);
        auto w = openQuery();
        w->modeButton(SalesQueryMode::Region)->click();
        QVERIFY(w->regionBox()->isVisible());
        QVERIFY(!w->categoryBox()->isVisible());
        QVERIFY(!w->customerField()->isEnabled());
        QVERIFY(w->arrearsTotal()->isVisible());
        m_app.prompter.answers = {false};
        choose(w->regionBox(), QStringLiteral("东山乡"));
        QVERIFY(w->fromField()->hasFocus());
        pressEnter(w->fromField());
        pressEnter(w->toField());
        QCOMPARE(w->grid()->rowCount(), 1);
        QCOMPARE(w->quantityTotal()->text(), QStringLiteral("1"));

        w->modeButton(SalesQueryMode::Category)->click();
        QVERIFY(w->categoryBox()->isVisible());
        QVERIFY(!w->regionBox()->isVisible());
        QVERIFY(!w->arrearsTotal()->isVisible());
        choose(w->categoryBox(), QStringLiteral("浓缩料"));
        pressEnter(w->fromField());
        pressEnter(w->toField());
        QCOMPARE(w->grid()->rowCount(), 1);

        w->modeButton(SalesQueryMode::Date)->click();
        QVERIFY(w->fromField()->hasFocus());
        QVERIFY(!w->customerField()->isEnabled());

        // The windows reached from here.
        w->modeButton(SalesQueryMode::Returns)->click();
        w->modeButton(SalesQueryMode::Turnover)->click();
        w->historyButton()->click();
        w->combinedButton()->click();
        QCOMPARE(m_opened, (QStringList{"退料查询", "资金查询", "历史数据查询", "模糊查询窗口"}));
        QCOMPARE(w->mode(), SalesQueryMode::Turnover);
        QVERIFY(w->fromField()->isEnabled());
    }

    void returnQuery()
    {
        s().insert(QStringLiteral("khtl"), {{"khdm", "1100001"}, {"region", "城关镇"}, {"khmc", "张记养殖场"}, {"cpmc", "猪用浓缩料"},
                                            {"cpgg", "40"}, {"tlnum", 500.0}, {"tlprice", 3000.0}, {"tlje", 1500.0},
                                            {"kprq", "2026-11-20"}, {"tlrq", "2026-12-01"}});
        s().insert(QStringLiteral("khtl"), {{"khdm", "1200001"}, {"region", "东山乡"}, {"khmc", "李家猪场"}, {"cpmc", "猪用浓缩料"},
                                            {"cpgg", "40"}, {"tlnum", 100.0}, {"tlprice", 3000.0}, {"tlje", 300.0},
                                            {"kprq", "2026-10-20"}, {"tlrq", "2026-11-26"}});
        ReturnQueryWindow w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.byInvoiceDate()->isChecked());
        w.queryButton()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        w.byReturnDate()->setChecked(true);
        w.queryButton()->click();
        QCOMPARE(w.grid()->rowCount(), 2);
        QCOMPARE(w.quantityTotal()->text(), QStringLiteral("0.6"));
        QCOMPARE(w.amountTotal()->text(), QStringLiteral("1800"));
        choose(w.regionBox(), QStringLiteral("城关镇"));
        QCOMPARE(w.customerBox()->count(), 1);
        choose(w.customerBox(), QStringLiteral("张记养殖场"));
        w.queryButton()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.amountTotal()->text(), QStringLiteral("1500"));
        screenshot(&w, QStringLiteral("return-query"));
        w.printButton()->click();
        QCOMPARE(m_printed.size(), 1);
        QVERIFY(m_printed[0].contains(QStringLiteral("退料查询打印：")));
    }

    void fundsQuery()
    {
        funds(QStringLiteral("khzj"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 6000, 1000);
        funds(QStringLiteral("khzj"), QStringLiteral("2026-12-01"), QStringLiteral("1100001"), 0, 2000);
        funds(QStringLiteral("khzj"), QStringLiteral("2026-12-01"), QStringLiteral("1200001"), 2600, 0);
        FundsQueryWindow w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        typeAndEnter(w.customerField(), QStringLiteral("1100001"));
        QCOMPARE(w.customerName()->text(), QStringLiteral("张记养殖场"));
        pressEnter(w.fromField());
        pressEnter(w.toField());
        QCOMPARE(w.currentGrid()->rowCount(), 2);
        QVERIFY(!w.historyGrid()->isVisible()); // no archived rows: the current list takes the height
        QCOMPARE(w.receivableTotal()->text(), QStringLiteral("0.6"));
        QCOMPARE(w.receivedTotal()->text(), QStringLiteral("0.3"));

        // Archived rows only: they take the whole height; the totals are the current ones.
        funds(QStringLiteral("his_khzj"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 500, 0);
        typeAndEnter(w.fromField(), QStringLiteral("2026-11-19"));
        typeAndEnter(w.toField(), QStringLiteral("2026-11-30"));
        QVERIFY(w.historyGrid()->isVisible());
        QVERIFY(w.currentGrid()->isVisible());
        QCOMPARE(w.historyGrid()->rowCount(), 1);
        QCOMPARE(w.receivableTotal()->text(), QStringLiteral("0.6"));
        screenshot(&w, QStringLiteral("funds-query"));

        // Every customer's, without a code.
        typeAndEnter(w.customerField(), QString());
        pressEnter(w.fromField());
        typeAndEnter(w.toField(), QStringLiteral("2026-12-18"));
        QCOMPARE(w.currentGrid()->rowCount(), 3);
    }

    void combinedQuery()
    {
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), 2000, 3000, 2800);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-25"), QStringLiteral("1100001"), 500, 3000, 2800, true);
        sale(QStringLiteral("sale1"), QStringLiteral("2026-11-22"), QStringLiteral("1200001"), 1000, 2600, 2550);
        sale(QStringLiteral("his_sale1"), QStringLiteral("2025-05-20"), QStringLiteral("1100001"), 300, 3000, 2800);
        CombinedQueryWindow w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        typeAndEnter(w.customerField(), QStringLiteral("1100001"));
        QCOMPARE(w.customerName()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.regionBox()->currentText(), QStringLiteral("城关镇"));
        QVERIFY(w.productCodeField()->hasFocus());
        typeAndEnter(w.productCodeField(), QStringLiteral("N40"));
        QCOMPARE(w.productNameBox()->currentText(), QStringLiteral("猪用浓缩料"));
        QCOMPARE(w.specField()->text(), QStringLiteral("40"));
        QCOMPARE(w.categoryBox()->currentText(), QStringLiteral("浓缩料"));
        typeAndEnter(w.fromField(), QStringLiteral("2025-01-01"));
        w.queryButton()->click();
        QCOMPARE(w.currentGrid()->rowCount(), 2);
        QCOMPARE(w.historyGrid()->rowCount(), 1);
        QCOMPARE(w.quantityTotal()->text(), QStringLiteral("1.8"));
        QCOMPARE(w.amountTotal()->text(), QStringLiteral("0.54"));
        screenshot(&w, QStringLiteral("combined-query"));
        w.printButton()->click();
        QCOMPARE(m_printed.size(), 1);
        QVERIFY(m_printed[0].contains(QStringLiteral("2025-05-20")));

        w.categoryBox()->setEditText(QStringLiteral("饲料"));
        w.queryButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("产品类别错误！"));

        w.resetButton()->click();
        QVERIFY(w.customerField()->text().isEmpty());
        QVERIFY(w.productCodeField()->text().isEmpty());
        QCOMPARE(w.regionBox()->currentIndex(), -1);
        QCOMPARE(w.productNameBox()->currentIndex(), -1);
        QVERIFY(w.categoryBox()->currentText().isEmpty());
        w.queryButton()->click();
        QCOMPARE(w.currentGrid()->rowCount(), 3);
        QCOMPARE(w.quantityTotal()->text(), QStringLiteral("2.8"));

        w.fromField()->clear();
        w.queryButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入日期!"));
    }
};

QTEST_MAIN(TestSalesQueryWindows)
#include "tst_salesquerywindows.moc"
