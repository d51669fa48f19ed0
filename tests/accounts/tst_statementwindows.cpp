// The statement windows: "客户结算打印", "客户对帐明细单打印", "客户欠款汇总打印"
// with the month browser, "客户价格查询", "客户欠款汇总" with its sorting and
// export, and the credit limit in "客户调整".

#include "accounts/credit.h"
#include "accounts/settlementfixture.h"
#include "accounts/windows/creditlimitfield.h"
#include "accounts/windows/taddkh.h"
#include "accounts/windows/thzll.h"
#include "accounts/windows/tkh_bbdy.h"
#include "accounts/windows/tkh_qkhz.h"
#include "accounts/windows/tkhjs_bb.h"
#include "accounts/windows/tkhjscx.h"
#include "accounts/windows/tkhqk.h"
#include "reports/reportdocument.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "support/xlsxcells.h"
#include "ui/grid.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

const QString kEast = QStringLiteral("城关镇东区");

void chooseFocused(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setFocus();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void showWindow(QWidget *w)
{
    w->show();
    w->activateWindow(); // a bare X server has no window manager to do it
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestStatementWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::vector<QString> m_documents;

    Session &s() { return m_app.session(); }
    SettlementRows rows() { return SettlementRows{s()}; }
    void month(const QString &code, const QString &name, const QString &rq, double ysje, double sjje, double tgf)
    {
        s().insert(QStringLiteral("khzqk"), {{"khdm", code}, {"khmc", name}, {"region", kEast}, {"ysje", ysje},
                                             {"sjje", sjje}, {"sjqk", ysje - sjje - tgf}, {"sjzq", ysje - sjje},
                                             {"tgf", tgf}, {"rq", rq}});
    }
    // Two customers of the east region with settled months; today is 2026-12-10.
    void accounts()
    {
        SettlementRows r = rows();
        const Customer a = r.customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), kEast);
        const Customer b = r.customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), kEast);
        r.customer(QStringLiteral("1100003"), QStringLiteral("王家"), kEast);
        month(a.code, a.name, "2026-09", 10000, 7000, 100);
        month(a.code, a.name, "2026-10", 12000, 9000, 300);
        month(a.code, a.name, "2026-11", 5000, 0, 50);
        month(b.code, b.name, "2026-10", 20000, 5000, 500);
        s().insert(QStringLiteral("khjs_mx"), {{"khdm", a.code}, {"region", kEast}, {"khmc", a.name}, {"cpdm", "n401"},
                                               {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"sjxl", 1500.0}, {"pmje", 4500.0},
                                               {"zcjg", 0.0}, {"zcje", 4200.0}, {"tgf", 300.0}, {"rq_1", "2026-10-19"},
                                               {"rq_2", "2026-11-18"}, {"cplb", "0"}});
        r.funds(a, QStringLiteral("2026-10-20"), 7000, 4000);
        r.funds(a, QStringLiteral("2026-11-06"), 5000, 5000);
        const qint64 last = r.funds(a, QStringLiteral("2026-11-18"), 0, 0);
        s().execute(QStringLiteral("UPDATE {khzj} SET zzje = 300 WHERE id = ?"), {last});
        r.issue(a, QStringLiteral("2026-11-02"), QStringLiteral("n401"), 2000, 6000, 2800);
        s().insert(QStringLiteral("his_sale1"), {{"rq_1", "2025-03-02"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"khdm", a.code},
                                                 {"khmc", "张记旧名"}, {"zznum", 400.0}, {"zzjg", 2900.0}, {"zcjg", 2750.0}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_documents.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) { m_documents.push_back(d.toText()); };
        rows().region(kEast, QStringLiteral("11"));
        rows().region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
    }

    void openedByTheirFunctionNumbers_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QString>("title");
        QTest::newRow("14") << number(Fn::SettlementPrint) << "客户结算打印";
        QTest::newRow("15") << number(Fn::StatementPrint) << "客户对帐明细单打印";
        QTest::newRow("16") << number(Fn::ArrearsPrint) << "客户欠款汇总打印";
        QTest::newRow("20") << number(Fn::ArrearsSummary) << "客户欠款汇总";
        QTest::newRow("23") << number(Fn::CustomerPriceHistory) << "客户价格查询";
    }
    void openedByTheirFunctionNumbers()
    {
        QFETCH(int, function);
        QFETCH(QString, title);
        QVERIFY(functionWindows().contains(function));
        std::unique_ptr<FunctionWindow> w(functionWindows().value(function).create(m_app.ctx, nullptr));
        QCOMPARE(w->windowTitle(), title);
    }

    void settlementPrint()
    {
        accounts();
        Tkhjs_bb w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QVERIFY(w.codeInput()->hasFocus());
        chooseFocused(w.regionBox(), kEast);
        QCOMPARE(w.nameBox()->count(), 3);
        chooseFocused(w.nameBox(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.codeInput()->text(), QStringLiteral("1100001"));
        QVERIFY(w.startInput()->hasFocus());
        typeAndEnter(w.startInput(), QStringLiteral("2026/10/19"));
        QCOMPARE(w.startInput()->text(), QStringLiteral("2026-10-19"));
        pressEnter(w.endInput()); // empty: today
        QVERIFY(w.filterButton()->hasFocus());
        pressEnter(w.filterButton());
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-10"));
        QCOMPARE(w.grid()->rowCount(), 1);
        QVERIFY(w.printButton()->hasFocus());
        screenshot(&w, QStringLiteral("tkhjs_bb"));
        pressEnter(w.printButton());
        QCOMPARE(m_documents.size(), size_t(1));
        QVERIFY(m_documents[0].contains(QStringLiteral("客户名称：张记养殖场 | 结算日期：2026-12-10")));
        QVERIFY(m_documents[0].contains(QStringLiteral("起始日期：2026-10-19 | 截止日期：2026-11-18")));

        // By code, and a range that holds no settlement.
        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.nameBox()->currentText(), QStringLiteral("张记养殖场"));
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-18"));
        w.filterButton()->click();
        QCOMPARE(w.grid()->rowCount(), 0);
    }

    void statementOfAccount()
    {
        accounts();
        Tkh_bbdy w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        typeAndEnter(w.codeInput(), QStringLiteral("9900001")); // unknown: as it was
        QVERIFY(w.codeInput()->hasFocus());
        QVERIFY(m_app.prompter.messages.isEmpty());
        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.nameDisplay()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.regionDisplay()->text(), kEast);
        typeAndEnter(w.startInput(), QStringLiteral("2026-10-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-1"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("日期有错！请按yyyy-mm-dd输入。"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        QVERIFY(!w.printButton()->isEnabled());
        pressEnter(w.filterButton());
        QCOMPARE(w.grid()->rowCount(), 3);
        QVERIFY(w.printButton()->hasFocus());
        screenshot(&w, QStringLiteral("tkh_bbdy"));
        pressEnter(w.printButton());
        QVERIFY(w.codeInput()->hasFocus());
        QCOMPARE(m_documents.size(), size_t(1));
        const QString &doc = m_documents[0];
        QVERIFY2(doc.contains(QStringLiteral("从起始日2026-10-19到截止日2026-11-18止")), qPrintable(doc));
        QVERIFY(doc.contains(QStringLiteral("fields: 总欠款(元)：3000")));
        QVERIFY(doc.contains(QStringLiteral("本期累计推广费：300(元) | 本期实际欠款：2700(元)")));
        // Months 2026-09 and 2026-10 up to the period of 2026-11-18 (key 2026-10):
        // the open 5 600 is all of the latest month's debt.
        QVERIFY(doc.contains(QStringLiteral("row: 5,600.00 | 0.00 | 0.00 | 0.00 | 5,600.00")));
    }

    void arrearsStatementWithTheBrowser()
    {
        accounts();
        Tkh_qkhz w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QVERIFY(!w.browseButton()->isEnabled());
        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.cutOffInput()->text(), QStringLiteral("2026-12-10"));
        QVERIFY(w.cutOffInput()->hasFocus());
        QVERIFY(w.browseButton()->isEnabled());
        QVERIFY(!w.printButton()->isEnabled()); // nothing summed yet for this customer
        typeAndEnter(w.cutOffInput(), QStringLiteral("2026-10-31"));
        QVERIFY(w.summaryButton()->hasFocus());

        // The browser over the months up to the cut-off; delete one after asking.
        QStringList seen;
        QTimer::singleShot(0, w.browser(), [&] {
            Thzll *b = w.browser();
            seen << b->actualDisplay()->text() << QString::number(b->grid()->rowCount());
            screenshot(b, QStringLiteral("thzll"));
            b->grid()->selectId(b->records().front().id);
            m_app.prompter.answers = {false};
            b->deleteAction()->trigger();
            seen << QString::number(b->grid()->rowCount());
            m_app.prompter.answers = {true};
            b->deleteAction()->trigger();
            seen << QString::number(b->grid()->rowCount()) << b->actualDisplay()->text();
            b->accept();
        });
        pressEnter(w.summaryButton());
        QCOMPARE(seen, (QStringList{"5,600.00", "2", "2", "1", "2,700.00"}));
        QCOMPARE(m_app.prompter.questions, (QStringList{"确认否?", "确认否?"}));
        QCOMPARE(w.summaryButton()->text(), QStringLiteral("汇总结束"));
        // Back from the browser the window's focus is on "打印" (the test
        // platforms give the window back its activation late, or not at all).
        QCOMPARE(w.focusWidget(), w.printButton());
        pressEnter(w.printButton());
        QCOMPARE(w.focusWidget(), w.codeInput());
        QCOMPARE(m_documents.size(), size_t(1));
        QVERIFY2(m_documents[0].contains(QStringLiteral("row: 实际欠款累计： | 2,700.00")), qPrintable(m_documents[0]));
        QVERIFY(m_documents[0].contains(QStringLiteral("至2026年12月18日止，您在测试饲料有限公司")));

        // "浏览": every month of the customer.
        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.summaryButton()->text(), QStringLiteral("开始汇总"));
        QTimer::singleShot(0, w.browser(), [&] { w.browser()->accept(); });
        w.browseButton()->click();
        QCOMPARE(w.browser()->records().size(), size_t(2));
        QVERIFY(w.printButton()->isEnabled());
        w.printButton()->click();
        QVERIFY(m_documents.back().contains(QStringLiteral("row: 实际欠款累计： | 7,650.00")));
    }

    void arrearsSummarySortedAndExported()
    {
        accounts();
        Tkhqk w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QCOMPARE(w.regionBox()->currentText(), QStringLiteral("所有地区"));
        QVERIFY(w.regionBox()->hasFocus());
        QCOMPARE(w.startInput()->text(), QStringLiteral("1999-07"));
        chooseFocused(w.regionBox(), kEast);
        QCOMPARE(w.customerBox()->currentText(), QStringLiteral("所有客户"));
        QCOMPARE(w.customerBox()->count(), 4);
        chooseFocused(w.customerBox(), QStringLiteral("所有客户"));
        QVERIFY(w.startInput()->hasFocus());
        pressEnter(w.startInput());
        QVERIFY(w.cutOffInput()->hasFocus());

        m_app.prompter.answers = {false};
        typeAndEnter(w.cutOffInput(), QStringLiteral("2026-10"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否?"));
        QCOMPARE(w.grid()->rowCount(), 0);
        typeAndEnter(w.cutOffInput(), QStringLiteral("2026-10"));
        QCOMPARE(w.grid()->rowCount(), 2);
        QCOMPARE(w.totalDisplay()->text(), QStringLiteral("2.01")); // 5 600 + 14 500 yuan
        QCOMPARE(w.grid()->textAt(0, 0), QStringLiteral("1100001"));

        // Sorted by the arrears, largest first: print and export follow.
        w.grid()->view()->horizontalHeader()->sectionClicked(4);
        w.grid()->view()->horizontalHeader()->sectionClicked(4);
        QCOMPARE(w.grid()->textAt(0, 0), QStringLiteral("1100002"));
        screenshot(&w, QStringLiteral("tkhqk"));
        w.printButton()->click();
        QVERIFY(m_documents.back().indexOf(QStringLiteral("1100002")) < m_documents.back().indexOf(QStringLiteral("1100001")));
        QTemporaryDir dir;
        QVERIFY(w.exportTo(dir.filePath(QStringLiteral("欠款.xlsx"))));
        const QString cells = xlsxCells(dir.filePath(QStringLiteral("欠款.xlsx")));
        QVERIFY2(cells.contains(QStringLiteral("A5=城关镇东区 | B5=1100002 | C5=李家猪场 | D5=500 | E5=14500")), qPrintable(cells));
        QVERIFY(cells.contains(QStringLiteral("A6=城关镇东区 | B6=1100001 | C6=张记养殖场 | D6=300 | E6=5600")));

        // One customer.
        chooseFocused(w.customerBox(), QStringLiteral("张记养殖场"));
        pressEnter(w.startInput());
        typeAndEnter(w.cutOffInput(), QStringLiteral("2026-11"));
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.grid()->textAt(0, 3), QStringLiteral("50"));
        QCOMPARE(w.totalDisplay()->text(), QStringLiteral("1.055"));
    }

    void customerPriceHistory()
    {
        accounts();
        Tkhjscx w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QVERIFY(!w.startInput()->isEnabled());
        chooseFocused(w.regionBox(), kEast);
        chooseFocused(w.customerBox(), QStringLiteral("张记养殖场"));
        QVERIFY(w.startInput()->hasFocus());
        typeAndEnter(w.startInput(), QStringLiteral("2025-01-01"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-10"));
        QCOMPARE(w.currentGrid()->rowCount(), 1);
        QCOMPARE(w.archiveGrid()->rowCount(), 1);
        QVERIFY(w.currentGrid()->isVisible());
        QVERIFY(w.archiveGrid()->isVisible());
        screenshot(&w, QStringLiteral("tkhjscx"));
        // Only the current period has rows: its grid takes the window.
        typeAndEnter(w.startInput(), QStringLiteral("2026-01-01"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-10"));
        QVERIFY(w.currentGrid()->isVisible());
        QVERIFY(!w.archiveGrid()->isVisible());
        pressEnter(w.printButton());
        QVERIFY2(m_documents.back().contains(QStringLiteral("row: 1 | 张记养殖场 | 猪用浓缩料 | 40 | 2000 | 0 | 3000 | 0 | 2800 | 2026-11-02")),
                 qPrintable(m_documents.back()));
    }

    void creditLimitInTheRegister()
    {
        accounts();
        Taddkh w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QLineEdit *limit = w.creditField()->limitInput();
        QVERIFY(!limit->isEnabled());
        w.organiseAction()->trigger();
        chooseFocused(w.regionBox(), kEast);
        chooseFocused(w.customerBox(), QStringLiteral("李家猪场"));
        QVERIFY(limit->isEnabled());
        QVERIFY(limit->text().isEmpty());
        typeAndEnter(limit, QStringLiteral("一万"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        typeAndEnter(limit, QStringLiteral("20000"));
        QCOMPARE(*creditLimit(s(), QStringLiteral("1100002")), 20000.0);
        QCOMPARE(w.creditField()->statusLabel()->text(), QStringLiteral("已保存"));
        screenshot(&w, QStringLiteral("taddkh-credit"));
        chooseFocused(w.customerBox(), QStringLiteral("张记养殖场"));
        QVERIFY(limit->text().isEmpty());
        chooseFocused(w.customerBox(), QStringLiteral("李家猪场"));
        QCOMPARE(limit->text(), QStringLiteral("20000"));
        typeAndEnter(limit, QString());
        QVERIFY(!creditLimit(s(), QStringLiteral("1100002")));
    }
};

QTEST_MAIN(TestStatementWindows)
#include "tst_statementwindows.moc"
