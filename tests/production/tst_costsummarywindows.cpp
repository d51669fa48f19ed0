// The cost summary window and the financial summary window, driven as a
// clerk would.

#include "production/windows/tvel_cphzz.h"
#include "reports/reportdocument.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestCostSummaryWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_previews;

    Session &s() { return m_app.session(); }
    template <class W> void show(W &w)
    {
        w.activate();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    void month()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}, {"sccb", 100.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "B2"}, {"cpmc", "鸡浓缩料"}, {"cpgg", "20"}, {"sccb", 100.0}, {"cpbz", "0"}});
        s().insert(QStringLiteral("ylhzk"), {{"yldm", "m01"}, {"ylmc", "玉米"}, {"bz_1", "1"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "F1"}});
        s().insert(QStringLiteral("scylk"), {{"pfhm", "F1"}, {"yldm", "m01"}, {"pfbl", 5.0}, {"yljg", 2000.0}, {"rq_1", "2026-12-02"}});
        for (const auto &[code, kg] : {std::pair{"A1", 30000.0}, std::pair{"B2", 10000.0}})
            s().insert(QStringLiteral("velcpk"), {{"cpdm", code}, {"scsl", kg}, {"pfhm", "F1"}, {"scrq_1", "2026-12-03"}, {"txm", ""}});
        s().insert(QStringLiteral("sale1"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}, {"zznum", 2000.0},
                                             {"zzje", 5200.0}, {"rq_1", "2026-12-04"}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_previews.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) { m_previews << d.toText(); };
    }

    // The question on opening; missing overheads named; then the month run
    // by Enter, blank end date taken as today; every tab filled.
    void productionCost()
    {
        month();
        Tvel_cphzz w(m_app.ctx, nullptr);
        bool overheadsOpened = false;
        w.openOverheadsInput = [&] {
            overheadsOpened = true;
            s().insert(QStringLiteral("zzfy"), {{"rq_1", "202612"}, {"qf", 400.0}, {"gz", 1000.0}, {"df", 2000.0}, {"qt", 0.0}});
        };
        m_app.prompter.answers = {true};
        show(w);
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("本月制造费用汇总是否已经输入?")});
        QVERIFY(!overheadsOpened);
        QVERIFY(!w.confirmButton()->isEnabled());

        // November has no overheads.
        w.startInput()->setDate(QDate(2026, 11, 1));
        pressEnter(w.startInput());
        QVERIFY(w.endInput()->hasFocus());
        pressEnter(w.endInput()); // blank: today
        QCOMPARE(w.endInput()->date(), QDate(2026, 12, 10));
        QVERIFY(w.confirmButton()->isEnabled());
        QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        QCOMPARE(m_app.prompter.last(), QStringLiteral("2026年11月的制造费用汇总数据不存在,请输入制造费用！"));
        QVERIFY(!w.confirmButton()->isEnabled());
        QCOMPARE(w.costGrid()->rowCount(), 0);

        // The clerk enters them from the question on opening.
        m_app.prompter.answers = {false, true};
        w.activate();
        QVERIFY(overheadsOpened);
        w.startInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.startInput());
        pressEnter(w.endInput());
        QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        QCOMPARE(w.costGrid()->rowCount(), 2);
        QCOMPARE(w.figure("tonnes")->text(), QStringLiteral("40"));
        QCOMPARE(w.figure("rawMaterials")->text(), QStringLiteral("0.4"));
        QCOMPARE(w.figure("overheads")->text(), QStringLiteral("0.3"));
        QCOMPARE(w.materialGrid()->rowCount(), 1);
        QCOMPARE(w.lossGrid()->rowCount(), 1);
        QCOMPARE(w.overheadGrid()->rowCount(), 1);
        QVERIFY(w.startInput()->hasFocus());
        // Today lies in the period: A1 costs (3000 + 2250 + 400) / 30 per tonne now.
        QCOMPARE(s().scalar(QStringLiteral("SELECT sccb FROM {velcpzk} WHERE cpdm = 'A1'")).toDouble(), 5650.0 / 30);

        screenshot(&w, QStringLiteral("cost-summary-production"));

        // Sales cost on its own tab, at the cost just written back.
        w.tabs()->setCurrentIndex(1);
        w.salesStartInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.salesStartInput());
        pressEnter(w.salesEndInput());
        QTest::mouseClick(w.salesConfirmButton(), Qt::LeftButton);
        QCOMPARE(w.salesGrid()->rowCount(), 2);
        QCOMPARE(w.salesGrid()->valueAt(0, 4).toDouble(), 2 * 5650.0 / 30);

        screenshot(&w, QStringLiteral("cost-summary"));
        for (const char *b : {"printCosts", "printSales", "printMaterials"})
            QTest::mouseClick(w.findChild<QPushButton *>(QString::fromLatin1(b)), Qt::LeftButton);
        QCOMPARE(m_previews.size(), 3);
        QVERIFY(m_previews[0].contains(QStringLiteral("B4") ) || m_previews[0].contains(QStringLiteral("250x353")));
        QVERIFY(m_previews[0].contains(QStringLiteral("起始时间：2026-12-01")));
        QVERIFY(m_previews[1].contains(QStringLiteral("销售成本报表：")));
        QVERIFY(m_previews[2].contains(QStringLiteral("玉米")));
    }

    // The end date empties the table; "处理" lists by quantity sold and hides
    // the bar; "打印" previews the 210 × 200 mm sheet.
    void financialSummary()
    {
        month();
        s().insert(QStringLiteral("price"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cpbb"), {{"cpdm", "old"}, {"zznum", 1.0}});
        Tcpbb w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(!w.processButton()->isEnabled());
        w.startInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.startInput());
        w.endInput()->setDate(QDate(2026, 12, 31));
        pressEnter(w.endInput());
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {cpbb}")).toInt(), 0);
        QVERIFY(w.processButton()->isEnabled());
        QTest::mouseClick(w.processButton(), Qt::LeftButton);
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.grid()->valueAt(0, 3).toDouble(), 2000.0);
        QVERIFY(!w.processButton()->isEnabled());
        QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("print")), Qt::LeftButton);
        QCOMPARE(m_previews.size(), 1);
        QVERIFY(m_previews[0].contains(QStringLiteral("210x200")));
    }
};

QTEST_MAIN(TestCostSummaryWindows)
#include "tst_costsummarywindows.moc"
