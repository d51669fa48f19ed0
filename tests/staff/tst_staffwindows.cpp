#include "shell/operators.h"
#include "shell/windows/windowregistry.h"
#include "staff/productionstaff.h"
#include "staff/windows/companystaffwindow.h"
#include "staff/windows/productionstaffwindow.h"
#include "staff/windows/staffquerywindow.h"
#include "staff/windows/teamdeletewindow.h"
#include "staff/windows/workereditwindow.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

int rows(Session &s, const QString &table, const QString &where = QString(), const Values &values = {})
{
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM {%1} %2").arg(table, where), values).toInt();
}

// Shows a window as its caller would and waits until it has the focus.
void open(FunctionWindow &w)
{
    w.activate();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

int rowOf(Grid *grid, int column, const QString &text)
{
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->textAt(r, column) == text) return r;
    return -1;
}

} // namespace

class TestStaffWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }
    ProductionStaff production() { return ProductionStaff(s(), m_app.clock); }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init() { m_app.reset(); }

    void functionsOpenTheirWindows()
    {
        WindowRegistry registry(m_app.ctx, nullptr);
        QVERIFY(qobject_cast<Tzx_gsrycx *>(registry.window(26)));
        QVERIFY(qobject_cast<Tzx_ry *>(registry.window(35)));
        QVERIFY(qobject_cast<Tvel_scry *>(registry.window(36)));
    }

    void takingOnAnOperator()
    {
        Tzx_ry w(m_app.ctx, nullptr);
        open(w);
        QVERIFY(w.takeOnName()->hasFocus());
        QVERIFY(!w.takeOnDept()->isEnabled());
        QCOMPARE(w.takeOnGrid()->rowCount(), 1);

        typeAndEnter(w.takeOnName(), QStringLiteral("张三"));
        QVERIFY(w.takeOnDept()->hasFocus());
        pressEnter(w.takeOnDept()); // still on the placeholder "部门"
        QVERIFY(!w.takeOnCode()->isEnabled());
        w.takeOnDept()->setCurrentIndex(w.takeOnDept()->findText(QStringLiteral("销售科")));
        pressEnter(w.takeOnDept());
        QVERIFY(w.takeOnCode()->hasFocus());

        typeAndEnter(w.takeOnCode(), QStringLiteral("zs01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("代码必须满5位."));
        QVERIFY(w.takeOnCode()->text().isEmpty());
        typeAndEnter(w.takeOnCode(), QStringLiteral("ADMIN"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该代码已经使用，请重新输入代码。"));
        QVERIFY(w.takeOnCode()->text().isEmpty());
        QVERIFY(!w.takeOnPassword()->isEnabled());

        typeAndEnter(w.takeOnCode(), QStringLiteral("zs001"));
        QVERIFY(w.takeOnPassword()->hasFocus());
        typeAndEnter(w.takeOnPassword(), QStringLiteral("abc"));
        QVERIFY(w.takeOnConfirm()->hasFocus());
        screenshot(&w, QStringLiteral("company-staff-take-on"));
        w.takeOnConfirm()->click();

        const auto op = Operators(s()).find(QStringLiteral("zs001"));
        QVERIFY(op);
        QCOMPARE(op->name, QStringLiteral("张三"));
        QCOMPARE(op->dept, QStringLiteral("销售科"));
        QCOMPARE(op->rights, QString(68, QLatin1Char('0')));
        QVERIFY(Operators(s()).login(QStringLiteral("zs001"), QStringLiteral("ABC")));
        QCOMPARE(w.takeOnGrid()->rowCount(), 2);
        QCOMPARE(w.removeCode()->count(), 2);
        QVERIFY(w.takeOnName()->text().isEmpty());
        QCOMPARE(w.takeOnDept()->currentText(), QStringLiteral("部门"));
        QVERIFY(!w.takeOnConfirm()->isEnabled());
        QVERIFY(w.takeOnName()->hasFocus());
    }

    void changingAndRemovingAnOperator()
    {
        const qint64 zs = s().insert(QStringLiteral("zxauth1"), {{"authid", "zs001"}, {"authmc", "张三"},
                                                                 {"deptment", "销售科"}, {"author", "0"}});
        const qint64 ls = s().insert(QStringLiteral("zxauth1"), {{"authid", "ls001"}, {"authmc", "李四"},
                                                                 {"deptment", "财务科"}, {"author", "0"}});
        Tzx_ry w(m_app.ctx, nullptr);
        open(w);

        // Changing: the new code is checked like a new one.
        w.tabs()->setCurrentIndex(2);
        typeAndEnter(w.changeName()->lineEdit(), QStringLiteral("张三"));
        QVERIFY(w.changeDept()->hasFocus());
        QCOMPARE(w.changeDept()->currentText(), QStringLiteral("销售科"));
        QCOMPARE(w.changeCode()->text(), QStringLiteral("zs001"));
        w.changeDept()->setCurrentIndex(w.changeDept()->findText(QStringLiteral("经理室")));
        pressEnter(w.changeDept());
        QVERIFY(w.changeCode()->hasFocus());
        typeAndEnter(w.changeCode(), QStringLiteral("LS001"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该代码已经使用，请重新输入代码。"));
        QVERIFY(w.changeCode()->text().isEmpty());
        QVERIFY(!w.changeConfirm()->isEnabled());
        typeAndEnter(w.changeCode(), QStringLiteral("zs1"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("代码必须满5位."));
        typeAndEnter(w.changeCode(), QStringLiteral("zs002"));
        QVERIFY(w.changeConfirm()->isEnabled());
        screenshot(&w, QStringLiteral("company-staff-change"));
        w.changeConfirm()->click();
        QCOMPARE(Operators(s()).byId(zs)->code, QStringLiteral("zs002"));
        QCOMPARE(Operators(s()).byId(zs)->dept, QStringLiteral("经理室"));
        QCOMPARE(Operators(s()).byId(ls)->code, QStringLiteral("ls001"));

        // Removing, chosen by a typed code: only that row goes.
        w.tabs()->setCurrentIndex(1);
        QCOMPARE(w.removeCode()->currentText(), QStringLiteral("代码"));
        typeAndEnter(w.removeCode()->lineEdit(), QStringLiteral("LS001"));
        QCOMPARE(w.removeDept()->text(), QStringLiteral("财务科"));
        QCOMPARE(w.removeName()->currentText(), QStringLiteral("李四"));
        QVERIFY(w.removeConfirm()->hasFocus());
        screenshot(&w, QStringLiteral("company-staff-remove"));
        w.removeConfirm()->click();
        QVERIFY(!Operators(s()).byId(ls));
        QCOMPARE(rows(s(), "zxauth1"), 2);
        QCOMPARE(w.removeCode()->currentText(), QStringLiteral("代码"));
        QCOMPARE(w.removeDept()->text(), QStringLiteral("部门"));
        QCOMPARE(w.removeName()->count(), 2);

        // The operator at this workstation stays.
        typeAndEnter(w.removeCode()->lineEdit(), QStringLiteral("admin"));
        w.removeConfirm()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("不能调出正在使用系统的操作员！"));
        QVERIFY(Operators(s()).find(QStringLiteral("admin")));
    }

    void staffQuery()
    {
        s().insert(QStringLiteral("zxauth1"), {{"authid", "zs001"}, {"authmc", "张三"}, {"deptment", "销售科"}});
        s().insert(QStringLiteral("zxauth1"), {{"authid", "zs002"}, {"authmc", "王五"}, {"deptment", "销售科"}});
        Tzx_gsrycx w(m_app.ctx, nullptr);
        open(w);
        QCOMPARE(w.departmentList()->currentText(), QStringLiteral("部    门"));
        QCOMPARE(w.departmentList()->count(), 3); // placeholder, 经理室, 销售科
        w.departmentList()->setCurrentIndex(w.departmentList()->findText(QStringLiteral("销售科")));
        QCOMPARE(w.grid()->rowCount(), 2);
        QCOMPARE(w.grid()->textAt(1, 1), QStringLiteral("王五"));
        screenshot(&w, QStringLiteral("staff-query"));
    }

    void addingTeamsAndWorkers()
    {
        Tvel_scry w(m_app.ctx, nullptr);
        open(w);
        QCOMPARE(w.currentPage(), w.workerPage());

        // No team yet.
        typeAndEnter(w.codeField(), QStringLiteral("w001"));
        QVERIFY(w.nameField()->hasFocus());
        typeAndEnter(w.nameField(), QString());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("名称不能为空!"));
        QVERIFY(!w.teamField()->isEnabled());
        typeAndEnter(w.nameField(), QStringLiteral("陈师傅"));
        QVERIFY(w.teamField()->hasFocus());
        typeAndEnter(w.teamField(), QString());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请先输入班组资料!"));
        QVERIFY(w.addTeamButton()->hasFocus());

        // The team panel.
        w.addTeamButton()->click();
        QCOMPARE(w.currentPage(), w.teamPanel());
        QVERIFY(!w.newTeamConfirm()->isVisible());
        typeAndEnter(w.newTeamCode(), QStringLiteral("01"));
        typeAndEnter(w.newTeamName(), QStringLiteral("一班"));
        QVERIFY(w.newTeamConfirm()->isVisible());
        w.newTeamConfirm()->click();
        typeAndEnter(w.newTeamCode(), QStringLiteral("01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该代码已使用，重新输入!"));
        QVERIFY(w.newTeamCode()->text().isEmpty());
        typeAndEnter(w.newTeamCode(), QStringLiteral("02"));
        typeAndEnter(w.newTeamName(), QStringLiteral("二班"));
        w.newTeamConfirm()->click();
        QCOMPARE(w.teamGrid()->rowCount(), 2);
        screenshot(&w, QStringLiteral("production-staff-teams"));
        w.newTeamEnd()->click();
        QCOMPARE(w.currentPage(), w.workerPage());

        // An unknown team shows the teams; a click picks one.
        typeAndEnter(w.teamField(), QStringLiteral("09"));
        QCOMPARE(w.currentPage(), w.chooserPage());
        screenshot(&w, QStringLiteral("production-staff-chooser"));
        QTableView *chooser = w.teamChooser()->view();
        QTest::mouseClick(chooser->viewport(), Qt::LeftButton, {}, chooser->visualRect(chooser->model()->index(0, 0)).center());
        QCOMPARE(w.teamField()->text(), QStringLiteral("01"));
        QCOMPARE(w.currentPage(), w.workerPage());

        m_app.prompter.answers = {false, true};
        pressEnter(w.teamField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认在01班中增加人员w001吗？"));
        QCOMPARE(rows(s(), "bzry"), 0);
        QVERIFY(w.teamField()->hasFocus());
        pressEnter(w.teamField());
        QCOMPARE(rows(s(), "bzry", "WHERE rydm = ? AND bzdm = ?", {QStringLiteral("w001"), QStringLiteral("01")}), 1);
        QCOMPARE(rows(s(), "scgzmx", "WHERE rydm = ? AND sjgz = 0", {QStringLiteral("w001")}), 1);
        QCOMPARE(w.workerGrid()->rowCount(), 1);
        QVERIFY(w.codeField()->text().isEmpty());
        QVERIFY(w.codeField()->hasFocus());
        screenshot(&w, QStringLiteral("production-staff"));

        // Typing the code again offers to delete the worker; No keeps it.
        m_app.prompter.answers = {false};
        typeAndEnter(w.codeField(), QStringLiteral("W001"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("该人员W001已经在班组01中,删除该人员？"));
        QCOMPARE(rows(s(), "bzry"), 1);
        QVERIFY(w.codeField()->hasFocus());
        pressEnter(w.codeField());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("W001已经删除!"));
        QCOMPARE(rows(s(), "bzry"), 0);
        QCOMPARE(rows(s(), "scgzmx"), 0);
        QCOMPARE(w.workerGrid()->rowCount(), 0);
    }

    void changingAndDeletingAWorker()
    {
        production().addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        production().addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));
        production().addWorker(QStringLiteral("w002"), QStringLiteral("乙"), QStringLiteral("01"));
        Tbzry_xg w(m_app.ctx, nullptr);
        open(w);
        QVERIFY(!w.teamField()->isEnabled()); // reached once a worker is chosen
        QVERIFY(!w.deleteButton()->isEnabled());

        // Moving to an unknown team is refused and writes nothing.
        typeAndEnter(w.codeField(), QStringLiteral("W001"));
        QCOMPARE(w.nameField()->text(), QStringLiteral("甲"));
        QVERIFY(w.teamField()->isEnabled());
        QVERIFY(w.teamField()->hasFocus());
        typeAndEnter(w.teamField(), QStringLiteral("07"));
        QVERIFY(w.confirmButton()->hasFocus());
        screenshot(&w, QStringLiteral("worker-edit"));
        w.confirmButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("班组代码有错!"));
        QCOMPARE(production().findWorker(QStringLiteral("w001"))->team, QStringLiteral("01"));

        // "删除记录" deletes the worker chosen in the grid, even after the code field was edited.
        w.chooseRow(rowOf(w.grid(), 2, QStringLiteral("w002")));
        QVERIFY(w.deleteButton()->isEnabled());
        QCOMPARE(w.codeField()->text(), QStringLiteral("w002"));
        w.codeField()->setText(QStringLiteral("w001"));
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认删除？"));
        QVERIFY(!production().findWorker(QStringLiteral("w002")));
        QVERIFY(production().findWorker(QStringLiteral("w001")));
        QCOMPARE(rows(s(), "scgzmx", "WHERE rydm = ?", {QStringLiteral("w002")}), 1); // its wage row stays
        QCOMPARE(w.grid()->rowCount(), 1);
        QVERIFY(w.codeField()->text().isEmpty());
        QVERIFY(!w.deleteButton()->isEnabled());
    }

    void deletingATeam()
    {
        production().addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        production().addTeam(QStringLiteral("02"), QStringLiteral("二班"));
        production().addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));
        Tbzsc w(m_app.ctx, nullptr);
        open(w);
        QVERIFY(!w.deleteButton()->isEnabled());
        w.chooseRow(0);
        screenshot(&w, QStringLiteral("team-delete"));
        m_app.prompter.answers = {false};
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认删除01一班吗？"));
        QCOMPARE(rows(s(), "bzzl"), 2);
        w.deleteButton()->click();
        QCOMPARE(rows(s(), "bzzl"), 1);
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(production().findWorker(QStringLiteral("w001"))->team, QStringLiteral("01"));
    }
};

QTEST_MAIN(TestStaffWindows)
#include "tst_staffwindows.moc"
