// The customer register's windows: the Enter chains of "客户调整" and
// "增加客户", their refusals, the hub's status flags, the two deletions with
// their questions, the rename and the query with its printed list.

#include "accounts/customerregister.h"
#include "accounts/windows/taddkh.h"
#include "accounts/windows/tinskh.h"
#include "accounts/windows/tjskh.h"
#include "accounts/windows/tkhgl.h"
#include "accounts/windows/tkhmc_xg.h"
#include "accounts/windows/tzx_khcx.h"
#include "reports/reportdocument.h"
#include "reports/reportexport.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

void chooseAndEnter(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setFocus();
    box->setCurrentIndex(index);
    pressEnter(box);
}

void clickRow(Grid *grid, int row)
{
    QTableView *view = grid->view();
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

void showWindow(QWidget *w)
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

} // namespace

class TestCustomerWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    CustomerRegister reg() { return CustomerRegister(m_app.session()); }
    void region(const QString &name, const QString &code)
    {
        m_app.session().insert(QStringLiteral("dqk"), {{"dq", name}, {"bh", code}});
    }
    void customer(const QString &code, const QString &name, const QString &region, const QString &flag)
    {
        m_app.session().insert(QStringLiteral("zxkh"), {{"khdm", code}, {"khmc", name}, {"dq", region}, {"khbz", flag}});
    }
    // Two regions, one with three customers (one closed), one empty.
    void someCustomers()
    {
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"), QStringLiteral("1"));
        customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), QStringLiteral("城关镇东区"), QStringLiteral("x"));
        customer(QStringLiteral("1100003"), QStringLiteral("城关门市部"), QStringLiteral("城关镇东区"), QStringLiteral("3"));
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init() { m_app.reset(); }

    void addRegionThenCustomersWithEnter()
    {
        Taddkh w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QVERIFY(!w.regionNameInput()->isEnabled());

        w.addRegionAction()->trigger();
        typeAndEnter(w.regionNameInput(), QStringLiteral("城东片x"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("地区名称长度不够(<8个字符)！"));
        QVERIFY(!w.regionCodeBox()->isEnabled());

        typeAndEnter(w.regionNameInput(), QStringLiteral("城东片区"));
        QCOMPARE(w.regionCodeBox()->text(), QStringLiteral("11"));
        QVERIFY(w.regionCodeBox()->hasFocus());
        QCOMPARE(reg().regions().size(), size_t(0)); // written on the code box's Enter
        pressEnter(w.regionCodeBox());
        QCOMPARE(reg().region(QStringLiteral("城东片区")).value_or(Region()).code, QStringLiteral("11"));
        QCOMPARE(w.regionListBox()->currentText(), QStringLiteral("城东片区11"));

        typeAndEnter(w.regionNameInput(), QStringLiteral("城东片区"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该地区已存在，重新输入新地区!"));
        QVERIFY(w.regionNameInput()->text().isEmpty());
        screenshot(&w, QStringLiteral("taddkh-region"));

        // "插入" opens "增加客户" for the chosen region; two customers in a row.
        w.organiseAction()->trigger();
        QVERIFY(!w.regionNameInput()->isEnabled());
        chooseAndEnter(w.regionBox(), QStringLiteral("城东片区"));
        QVERIFY(w.insertButton()->isEnabled());
        QVERIFY(!w.deleteButton()->isEnabled());
        Tinskh *ins = w.insertWindow();
        QStringList steps; // what the modal entry saw, checked once it is closed
        QTimer::singleShot(0, ins, [&] {
            screenshot(ins, QStringLiteral("tinskh"));
            for (const auto &[name, code] : {std::pair{"张记养殖场", "00001"}, std::pair{"李家猪场", "00002"}}) {
                steps << QStringLiteral("code input enabled: %1").arg(ins->codeInput()->isEnabled());
                typeAndEnter(ins->nameInput(), QString::fromUtf8(name));
                typeAndEnter(ins->codeInput(), QString::fromLatin1(code));
                steps << QStringLiteral("confirm focused: %1").arg(ins->focusWidget() == ins->confirmButton());
                ins->confirmButton()->click();
                steps << QStringLiteral("name cleared: %1").arg(ins->nameInput()->text().isEmpty());
            }
            ins->accept();
        });
        w.insertButton()->click();
        QCOMPARE(steps, (QStringList{"code input enabled: 0", "confirm focused: 1", "name cleared: 1",
                                     "code input enabled: 0", "confirm focused: 1", "name cleared: 1"}));
        QCOMPARE(reg().customer(QStringLiteral("1100002")).value_or(Customer()).flag, QStringLiteral("0"));
        QCOMPARE(w.customerBox()->count(), 2);

        for (const char *code : {"1100001", "1100002"})
            m_app.session().insert(QStringLiteral("khprice"), {{"khdm", QString::fromLatin1(code)}, {"khmc", "养殖场"},
                                                               {"cpdm", "n401"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                                               {"kpjg", 3200.5}, {"cpbz", "0"}, {"rq", "2026-12-01 08:00:00"}});
        chooseAndEnter(w.customerBox(), QStringLiteral("李家猪场"));
        QCOMPARE(w.priceGrid()->rowCount(), 1);
        QCOMPARE(w.priceGrid()->textAt(0, 5), QStringLiteral("3200.5"));
        QCOMPARE(w.codeBox()->text(), QStringLiteral("1100002"));
        QVERIFY(w.deleteButton()->isEnabled());
        screenshot(&w, QStringLiteral("taddkh-customers"));
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("客户姓名：\"李家猪场\"客户代码为：\"1100002\"已被删除"));
        QVERIFY(!reg().customer(QStringLiteral("1100002")));
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT khdm FROM {khprice}")).toString(), QStringLiteral("1100001"));
        QVERIFY(!w.deleteButton()->isEnabled());
    }

    void refusedCustomerCodes()
    {
        someCustomers();
        Tinskh w(m_app.ctx, nullptr);
        w.setRegion(*reg().region(QStringLiteral("城关镇东区")));
        w.activate();
        typeAndEnter(w.nameInput(), QStringLiteral("王氏兽药店"));
        QCOMPARE(w.focusWidget(), w.codeInput());
        for (const auto &[typed, message] : {std::pair{"00001", "该号码已经使用，不能使用！"},
                                            std::pair{"0004", "客户代码必须是五位"}}) {
            typeAndEnter(w.codeInput(), QString::fromLatin1(typed));
            QCOMPARE(m_app.prompter.last(), QString::fromUtf8(message));
            QVERIFY(w.codeInput()->text().isEmpty());
            QVERIFY(!w.confirmButton()->isEnabled());
        }
        // A code changed after Enter is checked again at "确认".
        typeAndEnter(w.codeInput(), QStringLiteral("00004"));
        QVERIFY(w.confirmButton()->isEnabled());
        w.codeInput()->setText(QStringLiteral("00001"));
        w.confirmButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该号码已经使用，不能使用！"));
        QCOMPARE(reg().allCustomers().size(), size_t(3));
    }

    void hubChangesFlags()
    {
        someCustomers();
        QWidget owner;
        WindowRegistry windows(m_app.ctx, &owner);
        QVERIFY(qobject_cast<Tzx_khcx *>(windows.window(25)));
        auto *hub = qobject_cast<Tkhgl *>(windows.window(37));
        QVERIFY(hub);
        Tkhgl &w = *hub;
        w.activate();
        showWindow(&w);
        QVERIFY(!w.flagPanel()->isVisible());
        screenshot(&w, QStringLiteral("tkhgl-idle"));
        QVERIFY(w.flagAction()->isEnabled());
        w.flagAction()->trigger();
        QVERIFY(w.flagPanel()->isVisible());
        chooseAndEnter(w.regionBox(), QStringLiteral("城关镇东区"));
        QCOMPARE(w.grid()->rowCount(), 3);
        QVERIFY(!w.flagGroup()->isEnabled());

        // A closed customer shows as closed, not as normal.
        clickRow(w.grid(), 1);
        QVERIFY(w.flagGroup()->isEnabled());
        QVERIFY(w.closedButton()->isChecked());
        QCOMPARE(w.nameBox()->text(), QStringLiteral("李家猪场"));
        screenshot(&w, QStringLiteral("tkhgl"));
        w.retailButton()->setChecked(true);
        w.confirmButton()->click();
        QCOMPARE(reg().customer(QStringLiteral("1100002"))->flag, QStringLiteral("3"));
        QCOMPARE(w.grid()->textAt(1, 3), QStringLiteral("3"));
        QCOMPARE(w.grid()->currentRow(), 1);
        QVERIFY(!w.flagGroup()->isEnabled());
        QVERIFY(!w.retailButton()->isChecked());

        // Rights position 52 enables the flag editor; the operator code gives nothing.
        Operators ops(m_app.session());
        std::vector<bool> rights(kRightsPositions, true);
        rights[52 - 1] = false;
        ops.setRights(ops.find(QStringLiteral("admin"))->id, rights);
        w.activate();
        QVERIFY(!w.flagAction()->isEnabled());
        QVERIFY(!w.flagPanel()->isVisible());
    }

    void deleteRegionAndCustomer()
    {
        someCustomers();
        m_app.session().insert(QStringLiteral("khzqk"),
                               {{"khdm", "1100001"}, {"region", "城关镇东区"}, {"sjqk", 12.5}, {"rq", "2026-11"}});
        Tjskh w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);

        w.regionModeButton()->click();
        QCOMPARE(w.grid()->rowCount(), 2);
        chooseAndEnter(w.regionBox(), QStringLiteral("城关镇东区"));
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该地区还有客户，不能删除！"));

        chooseAndEnter(w.regionBox(), QStringLiteral("东山乡南区"));
        m_app.prompter.answers = {false};
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你已经放弃删除！"));
        m_app.prompter.clear();
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.questions,
                 (QStringList{"确认删除地区东山乡南区", "再次确认删除东山乡南区?,欠款为￥0.000元。"}));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该地区已被删除！"));
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.regionBox()->currentIndex(), -1);

        w.customerModeButton()->click();
        QVERIFY(!w.deleteButton()->isEnabled());
        chooseAndEnter(w.regionBox(), QStringLiteral("城关镇东区"));
        QCOMPARE(w.nameBox()->count(), 3);
        clickRow(w.grid(), 0);
        QCOMPARE(w.nameBox()->currentText(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.codeBox()->currentText(), QStringLiteral("1100001"));
        screenshot(&w, QStringLiteral("tjskh"));
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该客户有欠款￥12.500元。不能删除！"));

        chooseAndEnter(w.codeBox(), QStringLiteral("1100003"));
        QCOMPARE(w.nameBox()->currentText(), QStringLiteral("城关门市部"));
        m_app.prompter.clear();
        w.deleteButton()->click();
        QCOMPARE(m_app.prompter.questions,
                 (QStringList{"确认删除客户:城关门市部(代码：1100003)", "再次确认删除城关门市部?,欠款为￥0.000元。"}));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该客户已被删除！"));
        QCOMPARE(w.nameBox()->count(), 2);
        QCOMPARE(w.codeBox()->currentIndex(), -1);
    }

    void renameWindow()
    {
        someCustomers();
        Tkhmc_xg w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        typeAndEnter(w.codeInput(), QStringLiteral("1109999"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("查无次人！"));
        QVERIFY(!w.newNameInput()->isEnabled());

        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.currentName()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.newRegionBox()->currentText(), QStringLiteral("城关镇东区"));
        QVERIFY(w.newNameInput()->hasFocus());
        typeAndEnter(w.newNameInput(), QStringLiteral("张"));
        QVERIFY(!w.newRegionBox()->isEnabled()); // 2 bytes: not longer than 3
        typeAndEnter(w.newNameInput(), QStringLiteral("张记猪场"));
        QVERIFY(w.newRegionBox()->hasFocus());
        chooseAndEnter(w.newRegionBox(), QStringLiteral("东山乡南区"));
        QVERIFY(w.confirmButton()->hasFocus());
        screenshot(&w, QStringLiteral("tkhmc_xg"));
        w.confirmButton()->click();
        const Customer c = *reg().customer(QStringLiteral("1100001"));
        QCOMPARE(c.name, QStringLiteral("张记猪场"));
        QCOMPARE(c.region, QStringLiteral("东山乡南区"));
        QVERIFY(w.codeInput()->text().isEmpty());
        QVERIFY(!w.confirmButton()->isEnabled());
    }

    void queryListsActiveCustomersAndPrints()
    {
        someCustomers();
        Tzx_khcx w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QVERIFY(!w.printButton()->isEnabled());
        chooseAndEnter(w.regionBox(), QStringLiteral("城关镇东区"));
        QCOMPARE(w.grid()->rowCount(), 2);
        QCOMPARE(w.grid()->textAt(1, 0), QStringLiteral("1100003"));
        QVERIFY(w.printButton()->isEnabled());
        screenshot(&w, QStringLiteral("tzx_khcx"));

        // "打印" previews the list of the customers shown.
        QList<ReportDocument> printed;
        m_app.ctx.preview = [&printed](QWidget *, const ReportDocument &doc) { printed << doc; };
        w.printButton()->click();
        QCOMPARE(printed.size(), 1);
        const QString text = printed.front().toText();
        QVERIFY2(text.contains(QStringLiteral("row: 1100003 | 城关门市部 | 城关镇东区")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("1100002")));

        const QString shots = qEnvironmentVariable("FM_SCREENSHOT_DIR");
        QTemporaryDir tmp;
        const QString pdf = (shots.isEmpty() ? tmp.path() : shots) + QStringLiteral("/customer-list.pdf");
        QString error;
        QVERIFY2(exportPdf(printed.front(), pdf, &error), qPrintable(error));
        QVERIFY(QFileInfo(pdf).size() > 0);
    }
};

QTEST_MAIN(TestCustomerWindows)
#include "tst_customerwindows.moc"
