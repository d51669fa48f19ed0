#include "sales/windows/turnoverinitwindow.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "shell/windows/passwordwindow.h"
#include "shell/windows/placeholderwindow.h"
#include "shell/windows/rightseditor.h"
#include "shell/windows/tlogin.h"
#include "shell/windows/startup.h"
#include "shell/windows/tmain.h"
#include "shell/functions.h"
#include "staff/windows/companystaffwindow.h"
#include "support/appfixture.h"
#include "support/windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestShellWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QTemporaryDir m_dir;

    qint64 addOperator(const QString &code, const QString &name, const QString &rights)
    {
        return m_app.session().insert(QStringLiteral("zxauth1"),
                                      {{"authid", code}, {"authmc", name}, {"password", "pw"},
                                       {"deptment", "销售部"}, {"author", rights}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init() { m_app.reset(); }

    void loginLooksUpAndRefuses()
    {
        AppConfig cfg;
        cfg.qymc = QStringLiteral("测试饲料有限公司");
        cfg.engine = QStringLiteral("sqlite");
        const QString path = m_dir.filePath(QStringLiteral("config.ini"));
        // The fixture's session stands in for the connection.
        Tlogin login(m_app.ctx, Tlogin::Mode::Configured, cfg, path, nullptr);
        int mainShown = 0;
        login.showMain = [&] { ++mainShown; };
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));

        typeAndEnter(login.codeField(), QStringLiteral("nobody"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("查无此人，请重新输入！"));
        QVERIFY(login.codeField()->text().isEmpty());

        typeAndEnter(login.codeField(), QStringLiteral("ADMIN"));
        QCOMPARE(login.nameField()->text(), QStringLiteral("系统管理员"));
        QCOMPARE(QApplication::focusWidget(), login.passwordField());
        login.passwordField()->setText(QStringLiteral("wrong"));
        login.loginButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("密码错误！"));
        QCOMPARE(mainShown, 0);
        // The code is remembered, the password never.
        const ConfigReadResult saved = ConfigFile::read(path);
        QCOMPARE(saved.config.username, QStringLiteral("ADMIN"));
        QVERIFY(!ConfigFile::scramble([&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }()).contains("wrong"));

        login.passwordField()->setText(QStringLiteral("Admin"));
        login.loginButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("登录成功!"));
        QCOMPARE(mainShown, 1);
        QCOMPARE(m_app.ctx.operatorCode, QStringLiteral("ADMIN"));
        screenshot(&login, QStringLiteral("login"));
    }

    void firstRunWritesTheFileAndRestarts()
    {
        AppConfig prefill;
        prefill.dataIP = QStringLiteral("10.0.0.5");
        const QString path = m_dir.filePath(QStringLiteral("first.ini"));
        Tlogin login(m_app.ctx, Tlogin::Mode::FirstRun, prefill, path, nullptr);
        int restarts = 0;
        login.restart = [&] { ++restarts; };
        login.enterpriseField()->setText(QStringLiteral("维兰饲料有限公司"));
        login.codeField()->setText(QStringLiteral("61937"));
        login.passwordField()->setText(QStringLiteral("secret"));
        // Enter in the code field looks nothing up before the catalogs are reached.
        pressEnter(login.codeField());
        QVERIFY(m_app.prompter.messages.isEmpty());
        login.loginButton()->click();
        QCOMPARE(restarts, 1);
        const ConfigReadResult r = ConfigFile::read(path);
        QVERIFY(r.exists && !r.damaged);
        QCOMPARE(r.config.qymc, QStringLiteral("维兰饲料有限公司"));
        QCOMPARE(r.config.dataIP, QStringLiteral("10.0.0.5")); // pre-filled and kept
        QCOMPARE(r.config.username, QStringLiteral("61937"));
        QCOMPARE(r.config.userpass, QString());
        screenshot(&login, QStringLiteral("firstrun"));
    }

    void gateThenInitialiseOpensTheMenu()
    {
        Tmain main(m_app.ctx, nullptr);
        main.refresh();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请先初始化周转号！"));
        QVERIFY(main.topMenuAction(QStringLiteral("销售管理"))->isEnabled());
        QVERIFY(!main.topMenuAction(QStringLiteral("系统管理"))->isEnabled());
        QVERIFY(main.functionAction(11)->isEnabled());
        QVERIFY(!main.functionAction(10)->isEnabled());
        QVERIFY(main.operatorPanel()->text().isEmpty());
        // The gate shows again on the next activation while nothing was initialised.
        m_app.prompter.clear();
        main.refresh();
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("请先初始化周转号！")});

        auto *init = qobject_cast<TurnoverInitWindow *>(main.registry().window(11));
        QVERIFY(init);
        QCOMPARE(main.registry().window(11), init); // one instance for the run
        init->activate();
        QCOMPARE(init->currentField()->text(), QStringLiteral("0"));
        QVERIFY(!init->confirmButton()->isEnabled());
        typeAndEnter(init->input(), QStringLiteral("0001000"));
        QVERIFY(init->confirmButton()->isEnabled());
        init->confirmButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("周转号码已经修改!初始周转号码为：0001000"));
        QCOMPARE(init->currentField()->text(), QStringLiteral("0001000"));

        m_app.prompter.clear();
        main.refresh();
        QVERIFY(m_app.prompter.messages.isEmpty());
        QVERIFY(main.functionAction(10)->isEnabled());
        QVERIFY(main.topMenuAction(QStringLiteral("系统管理"))->isEnabled());
        QCOMPARE(main.operatorPanel()->text(), QStringLiteral("操作员名称：系统管理员"));
        main.activate();
        QTRY_COMPARE(main.clockPanel()->text(), QStringLiteral("系统日期:2026-12-10当前时间:09:30:00"));
        screenshot(&main, QStringLiteral("main"));
    }

    // A menu opened and closed with Esc leaves the focus in the menu bar; the
    // next Esc still returns to the login.
    void escReturnsToTheLoginAfterAMenu()
    {
        Tmain main(m_app.ctx, nullptr);
        main.show();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        auto *bar = main.findChild<QMenuBar *>();
        QVERIFY(bar);
        bar->setActiveAction(main.topMenuAction(QStringLiteral("销售管理")));
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(main.isVisible());
        QCOMPARE(QApplication::focusWidget(), bar);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!main.isVisible());
        QCOMPARE(main.result(), int(QDialog::Rejected));

        // Esc in a window opened from the menu closes that window only.
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto *child = new PasswordWindow(m_app.ctx, &main);
        child->show();
        QVERIFY(QTest::qWaitForWindowExposed(child));
        QTest::keyClick(child->codeField(), Qt::Key_Escape);
        QVERIFY(!child->isVisible());
        QVERIFY(main.isVisible());
    }

    // A window built at one login serves the next operator as that operator.
    void aReusedWindowTakesTheNewOperator()
    {
        addOperator(QStringLiteral("b0001"), QStringLiteral("李四"), QString(70, QLatin1Char('1')));
        AppConfig cfg;
        cfg.engine = QStringLiteral("sqlite");
        Tlogin login(m_app.ctx, Tlogin::Mode::Configured, cfg, m_dir.filePath(QStringLiteral("reuse.ini")), nullptr);
        login.showMain = [] {};
        auto logIn = [&](const QString &code, const QString &password) {
            login.codeField()->setText(code);
            login.passwordField()->setText(password);
            login.loginButton()->click();
            QCOMPARE(m_app.prompter.last(), QStringLiteral("登录成功!"));
        };
        logIn(QStringLiteral("admin"), QStringLiteral("admin"));
        auto *staff = qobject_cast<Tzx_ry *>(login.mainWindow()->registry().window(number(Fn::SeniorStaff)));
        QVERIFY(staff);
        logIn(QStringLiteral("b0001"), QStringLiteral("pw"));
        QCOMPARE(login.mainWindow()->registry().window(number(Fn::SeniorStaff)), staff);
        QCOMPARE(staff->ctx().operatorCode, QStringLiteral("b0001"));
        // The operator at this workstation is now b0001: admin may go, b0001 may not.
        staff->activate();
        staff->tabs()->setCurrentIndex(1);
        typeAndEnter(staff->removeCode()->lineEdit(), QStringLiteral("b0001"));
        staff->removeConfirm()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("不能调出正在使用系统的操作员！"));
        typeAndEnter(staff->removeCode()->lineEdit(), QStringLiteral("admin"));
        staff->removeConfirm()->click();
        QVERIFY(!Operators(m_app.session()).find(QStringLiteral("admin")));
    }

    // Passwords show as "*"; Qt's own dialogs speak Chinese.
    void passwordsEchoStarsAndDialogsSpeakChinese()
    {
        AppConfig cfg;
        Tlogin first(m_app.ctx, Tlogin::Mode::FirstRun, cfg, m_dir.filePath(QStringLiteral("stars.ini")), nullptr);
        PasswordWindow change(m_app.ctx, nullptr);
        Tzx_ry staff(m_app.ctx, nullptr);
        const QList<QLineEdit *> fields{first.passwordField(), first.findChild<QLineEdit *>(QStringLiteral("serverPassword")),
                                        change.oldField(), change.newField(), staff.takeOnPassword()};
        for (QLineEdit *f : fields) {
            QVERIFY(f);
            f->setText(QStringLiteral("abc"));
            QCOMPARE(f->displayText(), QStringLiteral("***"));
        }

        QVERIFY(installQtTranslations(*qApp));
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        QCOMPARE(box.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("打开"));
    }

    void everyFunctionOpensItsWindowOrAPlaceholder()
    {
        Tmain main(m_app.ctx, nullptr);
        QCOMPARE(main.registry().window(2), nullptr); // 产品报表管理 opens nothing
        QCOMPARE(main.registry().window(29), main.registry().window(52));
        for (const MenuEntry &e : menuTable()) {
            if (e.function <= 0 || e.function == 2) continue;
            FunctionWindow *w = main.registry().window(e.function);
            QVERIFY2(w, qPrintable(e.caption));
            if (auto *p = qobject_cast<PlaceholderWindow *>(w))
                QCOMPARE(p->windowTitle(), functionWindowCaption(e.function));
        }
    }

    void rightsEditorWritesOnlyTheLoadedOperator()
    {
        const qint64 a = addOperator(QStringLiteral("a0001"), QStringLiteral("张三"), QString(70, QLatin1Char('1')));
        const qint64 b = addOperator(QStringLiteral("b0001"), QStringLiteral("李四"), QString(68, QLatin1Char('0')));
        RightsEditor editor(m_app.ctx, nullptr);
        editor.activate();
        QVERIFY(!editor.confirmButton()->isEnabled());
        editor.confirm(); // nothing loaded: nothing written

        editor.nameBox()->setEditText(QStringLiteral("张三"));
        pressEnter(editor.nameBox());
        QCOMPARE(editor.codeField()->text(), QStringLiteral("a0001"));
        QVERIFY(editor.box(9)->isChecked());
        // Loading another operator sets every box from that operator alone.
        editor.nameBox()->setEditText(QStringLiteral("李四"));
        pressEnter(editor.nameBox());
        QVERIFY(!editor.box(1)->isChecked());
        QVERIFY(editor.box(69)->isChecked()); // missing characters grant
        editor.box(16)->setChecked(true);
        editor.box(17)->setChecked(true);
        // A typed name that was not loaded unloads: 确认 cannot write the boxes onto it.
        editor.nameBox()->setEditText(QStringLiteral("张三"));
        QVERIFY(!editor.confirmButton()->isEnabled());
        editor.nameBox()->setEditText(QStringLiteral("李四"));
        pressEnter(editor.nameBox());
        editor.box(16)->setChecked(true);
        editor.box(17)->setChecked(true);
        editor.confirmButton()->click();
        const QString stored = m_app.session().scalar(QStringLiteral("SELECT author FROM {zxauth1} WHERE id = ?"), {b}).toString();
        QCOMPARE(stored.size(), 70);
        QVERIFY(rightGranted(stored, 16));
        QVERIFY(rightGranted(stored, 69));
        QVERIFY(!rightGranted(stored, 1));
        QVERIFY(m_app.prompter.last().endsWith(QLatin1Char(' ') + stored));
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT author FROM {zxauth1} WHERE id = ?"), {a}).toString(),
                 QString(70, QLatin1Char('1')));
        QCOMPARE(editor.nameBox()->currentText(), QStringLiteral("姓名"));
        screenshot(&editor, QStringLiteral("rights"));
    }

    void passwordChangeCannotBeBypassed()
    {
        const qint64 b = addOperator(QStringLiteral("b0001"), QStringLiteral("李四"), QString(70, QLatin1Char('1')));
        PasswordWindow w(m_app.ctx, nullptr);
        w.activate();
        QVERIFY(!w.newField()->isEnabled());
        typeAndEnter(w.codeField(), QStringLiteral("ADMIN"));
        QCOMPARE(w.nameField()->text(), QStringLiteral("系统管理员"));
        typeAndEnter(w.oldField(), QStringLiteral("wrong"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("密码不正确，不能修改。请重新输入!"));
        QVERIFY(!w.newField()->isEnabled());
        typeAndEnter(w.oldField(), QStringLiteral("admin"));
        QVERIFY(w.newField()->isEnabled());
        typeAndEnter(w.newField(), QStringLiteral("neu1"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("密码已经修改！"));
        QVERIFY(Operators(m_app.session()).login(QStringLiteral("admin"), QStringLiteral("neu1")));

        // After a change, another operator's code does not inherit the open field.
        QVERIFY(!w.newField()->isEnabled());
        typeAndEnter(w.codeField(), QStringLiteral("b0001"));
        QVERIFY(!w.newField()->isEnabled());
        w.newField()->setEnabled(true); // even forced open, Enter writes nothing unverified
        typeAndEnter(w.newField(), QStringLiteral("hack"));
        QVERIFY(!Operators(m_app.session()).login(QStringLiteral("b0001"), QStringLiteral("hack")));
        QVERIFY(Operators(m_app.session()).login(QStringLiteral("b0001"), QStringLiteral("pw")));
        Q_UNUSED(b);
        screenshot(&w, QStringLiteral("password"));
    }
};

QTEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
