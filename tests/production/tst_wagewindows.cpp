// The windows of production parameters, wages and production queries,
// driven as a clerk would.

#include "production/productionruns.h"
#include "production/windows/edittable.h"
#include "production/windows/querywindows.h"
#include "production/windows/sideinputwindows.h"
#include "production/windows/tcs_xg.h"
#include "production/windows/wagewindows.h"
#include "productionfixture.h"
#include "reports/reportdocument.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestWageWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }
    void wageLine(const char *code, const char *team)
    {
        Fields f{{"rydm", code}, {"rymc", code}, {"bzdm", team}};
        for (const char *c : {"scgz", "jsbt", "gwbt", "wsf", "fsbt", "jgf", "qtys", "ysgz", "fk", "qt", "sjgz", "dbf"})
            f.emplace_back(QString::fromLatin1(c), 0.0);
        s().insert(QStringLiteral("scgzmx"), f);
    }
    // Types into a cell as a clerk would: the editor opened, text, Enter.
    static void typeCell(EditTable *t, int row, const QString &field, const QString &text)
    {
        const int c = t->columnOf(field);
        t->setCurrentCell(row, c);
        t->editItem(t->item(row, c));
        auto *editor = t->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(20);
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadProductionFixture(s());
    }

    void parameters()
    {
        Tcs_xg w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(w.kindName()->hasFocus());
        typeAndEnter(w.kindName(), QStringLiteral("环模"));
        QVERIFY(w.pelletClass(0)->hasFocus());
        w.pelletClass(0)->click();
        QVERIFY(w.kindSize()->hasFocus());
        typeAndEnter(w.kindSize(), QStringLiteral("大于34mm"));
        QVERIFY(w.kindConfirm()->isEnabled());
        w.kindConfirm()->click();
        QCOMPARE(w.kindList()->rowCount(), 1);
        QCOMPARE(value(QStringLiteral("SELECT klmc FROM {ymps}")).toString(), QStringLiteral("大颗粒"));
        screenshot(&w, QStringLiteral("tcs_xg-1-kinds"));

        w.tabs()->setCurrentIndex(1);
        choose(w.categoryList(), QStringLiteral("全价料"));
        QCOMPARE(w.specList()->count(), 2);
        choose(w.specList(), QStringLiteral("40"));
        choose(w.kindList2(), QStringLiteral("环模"));
        choose(w.sizeList(), QStringLiteral("大于34mm"));
        QVERIFY(w.wageField()->hasFocus());
        typeAndEnter(w.wageField(), QStringLiteral("10"));
        typeAndEnter(w.otherField(), QStringLiteral("2"));
        w.standardConfirm()->click();
        QCOMPARE(w.standardList()->rowCount(), 1);
        QVERIFY(!w.specList()->isEnabled());
        screenshot(&w, QStringLiteral("tcs_xg-2-standards"));

        w.tabs()->setCurrentIndex(3);
        w.way(true)->click();
        choose(w.bagSize(true), QStringLiteral("40"));
        w.wayStandard(true)->clear();
        w.reprocessConfirm()->setEnabled(true);
        w.reprocessConfirm()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("掺拌生产的工资标准不能为0!"));
        typeAndEnter(w.wayStandard(true), QStringLiteral("8"));
        w.reprocessConfirm()->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sccsk} WHERE cpbz = 'x' AND klbz = 'B'")).toInt(), 1);
        w.showButton()->click();
        QCOMPARE(w.showButton()->text(), QStringLiteral("恢复"));
        QCOMPARE(w.reprocessList()->rowCount(), 1);
        screenshot(&w, QStringLiteral("tcs_xg-4-reprocessing"));

        w.tabs()->setCurrentIndex(2);
        QVERIFY(!w.deleteButton()->isVisible());
        w.allowButton()->click();
        QVERIFY(!w.allowButton()->isEnabled() && w.forbidButton()->isEnabled());
        const qint64 standardId = value(QStringLiteral("SELECT id FROM {sccsk} WHERE cpbz = '1'")).toLongLong();
        int standardRow = 0;
        while (standardRow < w.editList()->rowCount() && w.editList()->idAt(standardRow) != standardId) ++standardRow;
        typeCell(w.editList(), standardRow, QStringLiteral("gzbz"), QStringLiteral("12"));
        QCOMPARE(value(QStringLiteral("SELECT gzbz FROM {sccsk} WHERE cpbz = '1'")).toDouble(), 12.0);
        emit w.editList()->rowClicked(standardId);
        QVERIFY(w.deleteButton()->isVisible());
        m_app.prompter.answers = {false};
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("已放弃!"));
        QVERIFY(!w.deleteButton()->isVisible());
        emit w.editList()->rowClicked(standardId);
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("已经删除!"));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sccsk}")).toInt(), 1);
    }

    // The cost input's wages come from the accumulation; the sheet shares
    // them and keeps every line's wages equal to their definitions.
    void wages()
    {
        s().insert(QStringLiteral("sccsk"), {{"cpbz", "1"}, {"cpgg", " "}, {"klbz", " "}, {"bz_1", " "}, {"gzbz", 10.0}, {"qtbz", 2.0}});
        ProductionRuns runs(s(), m_app.clock);
        ProductionRun run = runs.draw(RunHead{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("1401"),
                                              QStringLiteral("猪全价料"), QStringLiteral("2026-12-10"), 2000, 0},
                                      0);
        runs.confirm(run, {{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 2000}});

        Tsumgz sum(m_app.ctx, nullptr);
        sum.setModal(false);
        QTimer::singleShot(0, &sum, [&] {
            QCOMPARE(sum.wageField()->text(), QStringLiteral("0"));
            QCOMPARE(sum.teamList()->currentText(), QStringLiteral("01"));
            pressEnter(sum.teamList());
            pressEnter(sum.startField());
            pressEnter(sum.endField());
        });
        const std::optional<double> wage = sum.accumulate(QStringLiteral("01"), QDate(2026, 12, 10));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("开始计算否?"));
        QVERIFY(wage);
        QCOMPARE(*wage, 24.0);
        QCOMPARE(sum.windowTitle(), QStringLiteral("计算完毕!"));
        // Closed without computing: nothing is handed back.
        QTimer::singleShot(0, &sum, [&] { sum.reject(); });
        QVERIFY(!sum.accumulate(QStringLiteral("01"), QDate(2026, 12, 10)));

        wageLine("10001", "01");
        wageLine("10002", "01");
        wageLine("10003", "02");
        s().insert(QStringLiteral("sccbk"), {{"bzdm", "01"}, {"scgz", 2000.0}, {"rq_1", "2026-12-10"}});
        Tscrygz w(m_app.ctx, nullptr);
        show(w);
        typeAndEnter(w.teamField(), QStringLiteral("01"));
        QCOMPARE(w.teamNameField()->text(), QStringLiteral("一班"));
        w.startField()->setDate(QDate(2026, 12, 1));
        pressEnter(w.startField());
        w.endField()->setDate(QDate(2026, 12, 31));
        pressEnter(w.endField());
        EditTable *t = w.sheet();
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(t->item(0, t->columnOf(QStringLiteral("scgz")))->text(), QStringLiteral("1000"));
        typeCell(t, 0, QStringLiteral("jsbt"), QStringLiteral("100"));
        QCOMPARE(t->currentColumn(), t->columnOf(QStringLiteral("gwbt")));
        typeCell(t, 0, QStringLiteral("qtys"), QStringLiteral("0"));
        // Past the receivable wage, to the fine.
        QCOMPARE(t->currentColumn(), t->columnOf(QStringLiteral("fk")));
        QCOMPARE(t->item(0, t->columnOf(QStringLiteral("ysgz")))->text(), QStringLiteral("1100"));
        typeCell(t, 0, QStringLiteral("fk"), QStringLiteral("50"));
        QCOMPARE(t->item(0, t->columnOf(QStringLiteral("sjgz")))->text(), QStringLiteral("1050"));
        QCOMPARE(value(QStringLiteral("SELECT sjgz FROM {scgzmx} WHERE rydm = '10001'")).toDouble(), 1050.0);
        typeCell(t, 0, QStringLiteral("qt"), QStringLiteral("abc"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        QCOMPARE(t->item(0, t->columnOf(QStringLiteral("qt")))->text(), QStringLiteral("0"));
        screenshot(&w, QStringLiteral("tscrygz"));

        QStringList printed;
        m_app.ctx.preview = [&](QWidget *, const ReportDocument &d) { printed << d.toText(); };
        w.findChild<QPushButton *>(QStringLiteral("printSummary"))->click();
        w.findChild<QPushButton *>(QStringLiteral("printPay"))->click();
        QCOMPARE(printed.size(), 2);
        QVERIFY(printed[0].contains(QStringLiteral("测试饲料有限公司生产工人工资总表")));
        QVERIFY(printed[1].contains(QStringLiteral("row: 10001 | 10001 | 1100.00 | 50.00 | 1050.00 |")));
    }

    void queries()
    {
        ProductionRuns runs(s(), m_app.clock);
        ProductionRun run = runs.draw(RunHead{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("1401"),
                                              QStringLiteral("猪全价料"), QStringLiteral("2026-12-10"), 2000, 0},
                                      0);
        const RunBooking b = runs.confirm(run, {{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 2000}});

        Tscylhz sum(m_app.ctx, nullptr);
        show(sum);
        QVERIFY(!sum.startButton()->isEnabled());
        sum.startField()->setDate(QDate(2026, 12, 1));
        pressEnter(sum.startField());
        sum.endField()->setDate(QDate(2026, 12, 31));
        pressEnter(sum.endField());
        QVERIFY(sum.startButton()->hasFocus());
        sum.startButton()->click();
        QCOMPARE(sum.grid()->rowCount(), 3);
        screenshot(&sum, QStringLiteral("tscylhz"));

        Tscpf_cx w(m_app.ctx, nullptr);
        show(w);
        w.findChild<QPushButton *>(QStringLiteral("byTeam"))->click();
        choose(w.choiceList(), QStringLiteral("01"));
        QVERIFY(w.startField()->hasFocus());
        w.startField()->setDate(QDate(2026, 12, 10));
        pressEnter(w.startField());
        pressEnter(w.endField());
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.productionField()->text(), QStringLiteral("2"));
        screenshot(&w, QStringLiteral("tscpf_cx"));

        Tcpcx_txm scan(m_app.ctx, nullptr);
        show(scan);
        QVERIFY(scan.scanField()->hasFocus());
        QTest::keyClicks(scan.scanField(), b.barCodes[0].left(12));
        QVERIFY(scan.shownCode()->text().isEmpty());
        QTest::keyClicks(scan.scanField(), b.barCodes[0].right(1));
        QVERIFY(scan.shownCode()->text().isEmpty()); // found on the key after the thirteenth
        QTest::keyClick(scan.scanField(), Qt::Key_Return);
        QCOMPARE(scan.shownCode()->text(), b.barCodes[0]);
        QCOMPARE(scan.field("cpdm")->text(), QStringLiteral("p401"));
        QCOMPARE(scan.field("scsl")->text(), QStringLiteral("2000"));
        QVERIFY(scan.scanField()->text().isEmpty());
        screenshot(&scan, QStringLiteral("tcpcx_txm"));

        s().insert(QStringLiteral("cphj"), {{"cpdm1", "p401"}, {"cpmc1", "猪全价料40"}, {"cpgg1", "40"}, {"hjsl", 1000.0},
                                            {"cpjg", 2000.0}, {"cpje", 2000.0}, {"hjrq", "2026-12-02"}, {"rymc", "换包"}, {"bzdm", "01"}});
        Tcphj_cx r(m_app.ctx, nullptr);
        show(r);
        r.findChild<QPushButton *>(QStringLiteral("byProduct"))->click();
        typeAndEnter(r.codeField(), QStringLiteral("P401"));
        QVERIFY(r.startField()->hasFocus());
        typeAndEnter(r.startField(), QStringLiteral("2026-12-01"));
        typeAndEnter(r.endField(), QStringLiteral("2026-12-31"));
        QCOMPARE(r.grid()->rowCount(), 1);
        QCOMPARE(r.totalField()->text(), QStringLiteral("1"));
        QStringList printed;
        m_app.ctx.preview = [&](QWidget *, const ReportDocument &d) { printed << d.toText(); };
        r.printButton()->click();
        QVERIFY(printed.value(0).contains(QStringLiteral("测试饲料有限公司产品回机名细表：")));
        screenshot(&r, QStringLiteral("tcphj_cx"));
    }
};

QTEST_MAIN(TestWageWindows)
#include "tst_wagewindows.moc"
