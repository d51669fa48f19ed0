// The production windows driven as a clerk would: the workshop login, a run
// from team to confirmation, product input and output, the stock query and
// its print, the ledger, and the side inputs.

#include "common/dates.h"
#include "production/windows/productbookingpage.h"
#include "production/windows/sideinputwindows.h"
#include "production/windows/tcp_crk.h"
#include "production/windows/tcx_cpcb.h"
#include "production/windows/tsc_dl.h"
#include "production/windows/tscgl.h"
#include "production/windows/tvelsc.h"
#include "productionfixture.h"
#include "reports/reportdocument.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestProductionWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadProductionFixture(s());
    }

    void productionLogin()
    {
        std::unique_ptr<Session> none;
        Tsc_dl w(m_app.ctx, std::move(none));
        int opened = 0, quits = 0;
        w.openProduction = [&] { ++opened; };
        w.quit = [&] { ++quits; };
        w.activate();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("测试饲料有限公司综合管理__生产管理"));
        QVERIFY(w.nameList()->findText(QStringLiteral("系统管理员")) >= 0);
        screenshot(&w, QStringLiteral("tsc_dl"));

        choose(w.nameList(), QStringLiteral("系统管理员"));
        QVERIFY(w.passwordField()->hasFocus());
        typeAndEnter(w.passwordField(), QStringLiteral("wrong"));
        QVERIFY(w.loginButton()->hasFocus());
        w.loginButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("密码错误！"));
        QCOMPARE(opened, 0);
        // An unknown name does nothing.
        w.nameList()->setEditText(QStringLiteral("无此人"));
        w.passwordField()->setText(QStringLiteral("admin"));
        m_app.prompter.clear();
        w.loginButton()->click();
        QVERIFY(m_app.prompter.messages.isEmpty());
        QCOMPARE(opened, 0);

        m_app.ctx.operatorCode.clear();
        w.nameList()->setEditText(QStringLiteral("系统管理员"));
        w.passwordField()->setText(QStringLiteral("ADMIN"));
        w.loginButton()->click();
        QCOMPARE(opened, 1);
        QCOMPARE(m_app.ctx.operatorCode, QStringLiteral("admin"));

        // "退出" quits the application after asking, and only then.
        m_app.prompter.answers = {false, true};
        w.quitButton()->click();
        QCOMPARE(quits, 0);
        w.quitButton()->click();
        QCOMPARE(quits, 1);
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认退出系统吗？"));
    }

    void productionRun()
    {
        Tscgl w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(w.teamField()->hasFocus());
        QVERIFY(!w.previousTeamField()->isEnabled());
        typeAndEnter(w.teamField(), QStringLiteral("09")); // no staff: nothing happens
        QVERIFY(!w.previousTeamField()->isEnabled());
        typeAndEnter(w.teamField(), QStringLiteral("01"));
        typeAndEnter(w.previousTeamField(), QStringLiteral("02"));
        QVERIFY(w.formulaField()->hasFocus());
        typeAndEnter(w.formulaField(), QStringLiteral("1401"));
        QCOMPARE(w.formulaNameField()->text(), QStringLiteral("猪全价料"));
        QCOMPARE(w.categoryField()->text(), QStringLiteral("全价料"));
        QCOMPARE(w.dateField()->date(), QDate(2026, 12, 10));
        pressEnter(w.dateField());
        typeAndEnter(w.productionField(), QStringLiteral("2050"));
        typeAndEnter(w.reprocessedField(), QStringLiteral("50"));
        QCOMPARE(w.actualField()->text(), QStringLiteral("2000"));
        QVERIFY(w.actualField()->hasFocus());
        pressEnter(w.actualField());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("有回机，请先输入回机数据"));
        QVERIFY(!w.costButton()->isEnabled());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {scylk}")).toInt(), 0);

        w.reprocessedField()->setFocus();
        typeAndEnter(w.reprocessedField(), QString()); // empty is 0
        typeAndEnter(w.productionField(), QStringLiteral("2000"));
        pressEnter(w.reprocessedField());
        pressEnter(w.actualField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认吗？"));
        QCOMPARE(w.lines()->rowCount(), 3);
        QVERIFY(w.costButton()->isEnabled() && w.cancelButton()->isEnabled());
        QVERIFY(!w.formulaField()->isEnabled() && !w.teamField()->isEnabled());
        screenshot(&w, QStringLiteral("tscgl-1-drawn"));
        w.costButton()->click();
        QCOMPARE(*w.run().cost, 2250.0);
        QVERIFY(w.slot(0).code->hasFocus());

        typeAndEnter(w.slot(0).code, QStringLiteral("p401"));
        typeAndEnter(w.slot(0).spec, QStringLiteral("40"));
        QVERIFY(w.slot(0).name->hasFocus()); // a product not made before: its name is typed
        typeAndEnter(w.slot(0).name, QStringLiteral("猪全价料40"));
        typeAndEnter(w.slot(0).quantity, QStringLiteral("1500"));
        QVERIFY(w.confirmButton()->isEnabled());
        QVERIFY(w.slot(1).code->hasFocus());
        typeAndEnter(w.slot(1).code, QStringLiteral("p201"));
        typeAndEnter(w.slot(1).spec, QStringLiteral("20"));
        typeAndEnter(w.slot(1).name, QStringLiteral("猪全价料20"));
        typeAndEnter(w.slot(1).quantity, QStringLiteral("400"));
        w.confirmButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("分配数量有错！"));
        QVERIFY(w.slot(0).code->hasFocus());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk}")).toInt(), 0);

        w.slot(1).quantity->setEnabled(true);
        typeAndEnter(w.slot(1).quantity, QStringLiteral("500"));
        screenshot(&w, QStringLiteral("tscgl-2-allocated"));
        w.confirmButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk}")).toInt(), 2);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'p401'")).toDouble(), 1500.0);
        QCOMPARE(value(QStringLiteral("SELECT sccb FROM {velcpzk} WHERE cpdm = 'p201'")).toDouble(), 2250.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = '1'")).toInt(), 3);
        // Ready for the next run of the same team: the formula number stays.
        QVERIFY(w.formulaField()->hasFocus());
        QCOMPARE(w.formulaField()->text(), QStringLiteral("1401"));
        QCOMPARE(w.teamField()->text(), QStringLiteral("01"));
        QCOMPARE(w.lines()->rowCount(), 0);
        QVERIFY(!w.cancelButton()->isEnabled());

        // A second run, cancelled.
        pressEnter(w.formulaField());
        pressEnter(w.dateField());
        typeAndEnter(w.productionField(), QStringLiteral("1000"));
        pressEnter(w.reprocessedField());
        pressEnter(w.actualField());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = ''")).toInt(), 3);
        QCOMPARE(value(QStringLiteral("SELECT MAX(rec_num) FROM {scylk}")).toInt(), 6);
        w.cancelButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = ''")).toInt(), 0);
        QCOMPARE(value(QStringLiteral("SELECT SUM(lrsl) FROM {scylxh}")).toDouble(), 2000.0);
        QVERIFY(w.formulaField()->hasFocus() && w.formulaField()->text().isEmpty());

        // Closing with a run drawn asks, and takes the run back.
        typeAndEnter(w.formulaField(), QStringLiteral("1401"));
        pressEnter(w.dateField());
        typeAndEnter(w.productionField(), QStringLiteral("1000"));
        pressEnter(w.reprocessedField());
        pressEnter(w.actualField());
        m_app.prompter.answers = {false};
        w.reject();
        QVERIFY(w.isVisible());
        w.reject();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {scylk} WHERE bz = ''")).toInt(), 0);
    }

    void productInputAndOutput()
    {
        Tkcgl w(m_app.ctx, nullptr);
        show(w);
        ProductBookingPage *in = w.inputPage();
        QVERIFY(in->codeList()->lineEdit()->hasFocus());
        in->codeList()->setEditText(QStringLiteral("P201"));
        pressEnter(in->codeList());
        QCOMPARE(in->nameField()->text(), QStringLiteral("猪全价料20"));
        QVERIFY(in->bagsField()->hasFocus());
        typeAndEnter(in->bagsField(), QStringLiteral("201"));
        QCOMPARE(in->tonnesField()->text(), QStringLiteral("4.02"));
        in->confirmButton()->click();
        QCOMPARE(m_app.prompter.last(), ProductStock::kNoTeam); // a team first
        choose(in->teamList(), QStringLiteral("一班"));
        in->secondKind()->setChecked(true);
        screenshot(&w, QStringLiteral("tkcgl-input"));
        in->confirmButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QVERIFY(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'p201'")).toDouble() == 4020.0);
        QCOMPARE(value(QStringLiteral("SELECT txm FROM {velcpk}")).toString(), QStringLiteral("回机输入"));
        QCOMPARE(in->stockGrid()->rowCount(), 1);
        QVERIFY(in->nameField()->text().isEmpty());
        QCOMPARE(in->bagsField()->text(), QStringLiteral("0"));

        w.tabs()->setCurrentIndex(1);
        ProductBookingPage *out = w.outputPage();
        choose(out->codeList(), QStringLiteral("p201"));
        typeAndEnter(out->bagsField(), QStringLiteral("100"));
        out->confirmButton()->click(); // no team needed
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'p201'")).toDouble(), 2020.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk}")).toInt(), 1);
        screenshot(&w, QStringLiteral("tkcgl-output"));

        // The production input of the workshop: the picked date, pellet choices.
        Tvelsc p(m_app.ctx, nullptr);
        show(p);
        choose(p.page()->teamList(), QStringLiteral("二班"));
        p.page()->dateField()->setDate(QDate(2026, 12, 8));
        choose(p.page()->codeList(), QStringLiteral("p401"));
        typeAndEnter(p.page()->bagsField(), QStringLiteral("100"));
        QCOMPARE(p.page()->tonnesField()->text(), QStringLiteral("4"));
        screenshot(&p, QStringLiteral("tvelsc"));
        p.page()->confirmButton()->click();
        const auto line = s().row(QStringLiteral("SELECT * FROM {velcpk} WHERE cpdm = 'p401'"));
        QCOMPARE(line->number(QStringLiteral("scsl")), 4000.0);
        QCOMPARE(line->text(QStringLiteral("scbz")), QStringLiteral("二班"));
        QCOMPARE(line->text(QStringLiteral("scrq_1")), QStringLiteral("2026-12-08"));
        QCOMPARE(line->text(QStringLiteral("klbz")), QStringLiteral("0"));
    }

    void stockQueryAndPrint()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"scsl", 2000.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "n401"}, {"cpmc", "浓缩料40"}, {"cpgg", "40"}, {"scsl", 400.0}, {"cpbz", "0"}});
        Tcx_cpcb w(m_app.ctx, nullptr);
        show(w);
        QCOMPARE(w.grid()->rowCount(), 2);
        QVERIFY(!w.chooseButton()->isEnabled());
        choose(w.categoryList(), QStringLiteral("全价料"));
        QVERIFY(w.chooseButton()->isEnabled());
        w.chooseButton()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        screenshot(&w, QStringLiteral("tcx_cpcb"));
        QStringList printed;
        m_app.ctx.preview = [&](QWidget *, const ReportDocument &d) { printed << d.toText(); };
        m_app.ctx.printDirect = [&](QWidget *, const ReportDocument &d) { printed << d.toText(); };
        w.findChild<QPushButton *>(QStringLiteral("preview"))->click();
        w.findChild<QPushButton *>(QStringLiteral("print"))->click();
        QCOMPARE(printed.size(), 2);
        QVERIFY(printed[0].contains(QStringLiteral("row: 猪全价料40 | 40 | 2000 | 50")));
        QVERIFY(!printed[0].contains(QStringLiteral("浓缩料40")));
        w.findChild<QPushButton *>(QStringLiteral("all"))->click();
        QCOMPARE(w.grid()->rowCount(), 2);
    }

    void ledgerWindow()
    {
        Tcp_crk w(m_app.ctx, nullptr);
        show(w);
        w.tabs()->setCurrentIndex(2);
        LedgerRegisterPage *reg = w.maintenance();
        QVERIFY(!reg->addGroup()->isVisible() && !reg->maintainGroup()->isVisible());
        reg->addChoice()->click();
        reg->newCode()->setText(QStringLiteral("c01"));
        reg->newName()->setText(QStringLiteral("浓缩料甲"));
        reg->addButton()->click();
        QCOMPARE(m_app.prompter.last(), ProductLedger::kProductIncomplete);
        reg->newSpec()->setText(QStringLiteral("40"));
        reg->addButton()->click();
        QVERIFY(reg->newCode()->text().isEmpty());
        screenshot(&w, QStringLiteral("tcp_crk-register"));

        w.tabs()->setCurrentIndex(0);
        LedgerLinePage *in = w.receipts();
        typeAndEnter(in->codeField(), QStringLiteral("C01"));
        QCOMPARE(in->nameList()->currentText(), QStringLiteral("浓缩料甲"));
        QCOMPARE(in->specField()->text(), QStringLiteral("40"));
        in->quantityField()->setText(QStringLiteral("2000"));
        in->confirmButton()->click();
        QCOMPARE(m_app.prompter.last(), ProductLedger::kIncomplete); // no kind chosen
        typeAndEnter(in->codeField(), QStringLiteral("c01"));
        choose(in->kindList(), QStringLiteral("退料入库"));
        QVERIFY(in->quantityField()->hasFocus());
        typeAndEnter(in->quantityField(), QStringLiteral("2000"));
        in->confirmButton()->click();
        QCOMPARE(in->dayList()->rowCount(), 1);
        QCOMPARE(value(QStringLiteral("SELECT bz FROM {cprkb}")).toString(), QStringLiteral("3"));
        QCOMPARE(value(QStringLiteral("SELECT rq FROM {cprkb}")).toString(), QStringLiteral("2026-12-10"));
        screenshot(&w, QStringLiteral("tcp_crk-receipts"));

        w.tabs()->setCurrentIndex(2);
        reg->maintainChoice()->click();
        QCOMPARE(reg->products()->rowCount(), 1);
        typeAndEnter(reg->findCode(), QStringLiteral("c02"));
        QCOMPARE(m_app.prompter.last(), ProductLedger::kNoSuchCode);
        typeAndEnter(reg->findCode(), QStringLiteral("C01"));
        QCOMPARE(reg->foundName()->text(), QStringLiteral("浓缩料甲"));
        reg->deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("已经删除！"));
        QCOMPARE(reg->products()->rowCount(), 0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {cprkb}")).toInt(), 1);
    }

    void sideInputs()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"pfhm", "1401"}, {"cpbz", "1"}});
        Tzlsr z(m_app.ctx, nullptr);
        show(z);
        QVERIFY(!z.productList()->isEnabled());
        typeAndEnter(z.teamField(), QStringLiteral("01"));
        QCOMPARE(z.teamNameField()->text(), QStringLiteral("一班"));
        choose(z.productList(), QStringLiteral("猪全价料40"));
        QCOMPARE(z.codeField()->text(), QStringLiteral("p401"));
        QVERIFY(!z.confirmButton()->isEnabled());
        typeAndEnter(z.quantityField(), QStringLiteral("300"));
        screenshot(&z, QStringLiteral("tzlsr"));
        z.confirmButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {scsyk}")).toDouble(), 300.0);
        QVERIFY(z.codeField()->text().isEmpty());

        // Shift balances: a drawn run's rows, one edited.
        ProductionRuns runs(s(), m_app.clock);
        RunHead h{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("1401"), QStringLiteral("猪全价料"),
                  QStringLiteral("2026-12-10"), 2000, 0};
        ProductionRun run = runs.draw(h, 0);
        runs.confirm(run, {{QStringLiteral("p401"), QStringLiteral("40"), QStringLiteral("猪全价料40"), 2000}});
        Tjcsl j(m_app.ctx, nullptr);
        j.startWith(QStringLiteral("01"), QDate(2026, 12, 10));
        show(j);
        QCOMPARE(j.teamField()->text(), QStringLiteral("01"));
        pressEnter(j.teamField());
        pressEnter(j.startField());
        pressEnter(j.endField());
        QCOMPARE(j.grid()->rowCount(), 3);
        const qint64 id = j.grid()->idAt(0);
        j.choose(id);
        QCOMPARE(j.materialField()->text(), QStringLiteral("玉米"));
        QVERIFY(j.balanceField()->hasFocus());
        typeAndEnter(j.balanceField(), QStringLiteral("80"));
        typeAndEnter(j.previousField(), QStringLiteral("120"));
        typeAndEnter(j.drawnField(), QStringLiteral("1000"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否?"));
        QCOMPARE(value(QStringLiteral("SELECT sjxh FROM {scylxh} WHERE id = ?"), {id}).toDouble(), 1040.0);
        QCOMPARE(j.balanceField()->text(), QStringLiteral("0"));
        screenshot(&j, QStringLiteral("tjcsl"));

        // The team's cost over the day: 1040 kg used against 2000 in theory.
        Tvelsccb c(m_app.ctx, nullptr);
        std::optional<double> wages = 1234;
        c.accumulateWages = [&](const QString &, const QDate &) { return wages; };
        show(c);
        typeAndEnter(c.teamField(), QStringLiteral("01"));
        QCOMPARE(c.teamNameField()->text(), QStringLiteral("一班"));
        QCOMPARE(c.headCountField()->text(), QStringLiteral("2"));
        pressEnter(c.startField());
        pressEnter(c.endField());
        QCOMPARE(c.actualField()->text(), QStringLiteral("1.04"));
        QCOMPARE(c.productionField()->text(), QStringLiteral("2"));
        QCOMPARE(c.theoreticalField()->text(), QStringLiteral("2"));
        QCOMPARE(c.lossRateField()->text(), QStringLiteral("-48.000"));
        QCOMPARE(c.lossMark()->text(), QStringLiteral("赢"));
        QVERIFY(c.wagesField()->hasFocus());
        pressEnter(c.wagesField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("是否累积该月工资?"));
        QCOMPARE(c.wagesField()->text(), QStringLiteral("1234"));
        pressEnter(c.electricityField());
        typeAndEnter(c.waterField(), QStringLiteral("30"));
        pressEnter(c.coalField());
        QVERIFY(!c.confirmButton()->isEnabled());
        typeAndEnter(c.otherField(), QStringLiteral("5"));
        screenshot(&c, QStringLiteral("tvelsccb"));
        c.confirmButton()->click();
        const auto row = s().row(QStringLiteral("SELECT * FROM {sccbk}"));
        QCOMPARE(row->number(QStringLiteral("scgz")), 1234.0);
        QCOMPARE(row->number(QStringLiteral("sh")), 30.0);
        QCOMPARE(row->number(QStringLiteral("scxhl")), -48.0);
        QVERIFY(c.teamField()->hasFocus());
        QVERIFY(c.actualField()->text().isEmpty());

        // No consumption: the question, and the balances opened.
        int balancesOpened = 0;
        c.openBalances = [&](const QString &team, const QDate &) {
            ++balancesOpened;
            QCOMPARE(team, QStringLiteral("01"));
        };
        pressEnter(c.teamField());
        c.startField()->setDate(QDate(2026, 11, 1));
        pressEnter(c.startField());
        pressEnter(c.endField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("生产成本为0.是否修改结存数据?"));
        QCOMPARE(balancesOpened, 1);
        QVERIFY(c.teamField()->hasFocus());
    }

    void overheads()
    {
        Tzzfy_sr w(m_app.ctx, nullptr);
        show(w);
        QCOMPARE(w.yearList()->currentText(), QStringLiteral("2026"));
        QCOMPARE(w.monthList()->currentText(), QStringLiteral("12"));
        QVERIFY(!w.deleteButton()->isEnabled() && !w.confirmButton()->isEnabled());
        pressEnter(w.monthList());
        typeAndEnter(w.wagesField(), QStringLiteral("30000"));
        pressEnter(w.electricityField());
        QCOMPARE(w.electricityField()->text(), QStringLiteral("0.0"));
        typeAndEnter(w.gasField(), QStringLiteral("800"));
        typeAndEnter(w.otherField(), QStringLiteral("100"));
        QVERIFY(w.confirmButton()->isEnabled() && w.cancelButton()->isEnabled());
        w.confirmButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT rq_1 FROM {zzfy}")).toString(), QStringLiteral("202612"));
        QCOMPARE(w.grid()->rowCount(), 1);
        QVERIFY(!w.confirmButton()->isEnabled());

        pressEnter(w.monthList());
        typeAndEnter(w.wagesField(), QStringLiteral("31000"));
        pressEnter(w.electricityField());
        pressEnter(w.gasField());
        pressEnter(w.otherField());
        m_app.prompter.answers = {true, false};
        w.confirmButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("2026年12月的数据已经存在，是否覆盖!"));
        QCOMPARE(value(QStringLiteral("SELECT gz FROM {zzfy}")).toDouble(), 30000.0);
        w.confirmButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT gz FROM {zzfy}")).toDouble(), 31000.0);
        screenshot(&w, QStringLiteral("tzzfy_sr"));

        w.choose(w.grid()->idAt(0));
        QVERIFY(w.deleteButton()->isEnabled());
        w.deleteButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {zzfy}")).toInt(), 0);
    }
};

QTEST_MAIN(TestProductionWindows)
#include "tst_productionwindows.moc"
