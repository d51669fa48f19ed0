#include "reports/computedreport.h"
#include "reports/reportexport.h"
#include "sales/turnovernumbers.h"
#include "sales/windows/paymenttab.h"
#include "sales/windows/returntab.h"
#include "sales/windows/txxgl.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "salesfixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestSalesWindow : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::vector<QString> m_printed;

    std::unique_ptr<Txxgl> openWindow()
    {
        auto w = std::make_unique<Txxgl>(m_app.ctx, nullptr);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
        w->activate();
        return w;
    }
    // One line through the Enter chain, answering "确认否？" with yes.
    void enterLine(Txxgl &w, const QString &product, const QString &bags, bool confirm = true)
    {
        typeAndEnter(w.productField(), product);
        pressEnter(w.priceField());
        typeAndEnter(w.bagsField(), bags);
        pressEnter(w.unitBox());
        m_app.prompter.answers.push_back(confirm);
        pressEnter(w.kilogramsField());
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadSalesFixture(m_app.session());
        TurnoverNumbers(m_app.session()).initialise(QStringLiteral("1000"));
        m_printed.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) {
            m_printed.push_back(d.compute().toText());
            if (!qEnvironmentVariableIsEmpty("FM_SCREENSHOT_DIR")) // for looking at them
                exportPdf(d, qEnvironmentVariable("FM_SCREENSHOT_DIR") + QStringLiteral("/document%1.pdf").arg(m_printed.size()));
        };
    }

    void aSlipFromStartToPrint()
    {
        auto w = openWindow();
        w->chooseButton()->click();
        QCOMPARE(w->numberField()->text(), QStringLiteral("1001"));
        QVERIFY(w->customerField()->isEnabled());
        QVERIFY(!w->productField()->isEnabled());
        typeAndEnter(w->customerField(), QStringLiteral("1100001"));
        QCOMPARE(w->nameField()->text(), QStringLiteral("张记养殖场"));
        QVERIFY(w->productField()->hasFocus());

        typeAndEnter(w->productField(), QStringLiteral("N40"));
        QCOMPARE(w->productField()->text(), QStringLiteral("n40"));
        QCOMPARE(w->priceField()->text(), QStringLiteral("2350"));
        QCOMPARE(w->categoryField()->text(), QStringLiteral("浓缩料"));
        QVERIFY(w->priceField()->isReadOnly());
        pressEnter(w->priceField());
        typeAndEnter(w->bagsField(), QStringLiteral("25"));
        QCOMPARE(w->unitBox()->currentText(), QStringLiteral("大包"));
        pressEnter(w->unitBox());
        QCOMPARE(w->kilogramsField()->text(), QStringLiteral("1000"));
        m_app.prompter.answers.push_back(true);
        pressEnter(w->kilogramsField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(w->quantityTotal()->text(), QStringLiteral("1000"));
        QCOMPARE(w->amountTotal()->text(), QStringLiteral("2350"));
        QCOMPARE(w->linesGrid()->rowCount(), 1);
        QVERIFY(w->correctButton()->isEnabled());

        // A complete feed of 25 kg has no unit of its own: the clerk types one.
        typeAndEnter(w->productField(), QStringLiteral("q25"));
        pressEnter(w->priceField());
        typeAndEnter(w->bagsField(), QStringLiteral("4"));
        QCOMPARE(w->unitBox()->currentText(), QString());
        pressEnter(w->unitBox());
        QVERIFY(!w->kilogramsField()->isEnabled());
        w->unitBox()->setEditText(QStringLiteral("袋"));
        pressEnter(w->unitBox());
        QCOMPARE(w->kilogramsField()->text(), QStringLiteral("100"));
        m_app.prompter.answers.push_back(true);
        pressEnter(w->kilogramsField());
        QCOMPARE(w->amountTotal()->text(), QStringLiteral("2610"));

        // A child window opened and closed mid-slip changes nothing.
        QTimer::singleShot(0, [] { if (QWidget *m = QApplication::activeModalWidget()) m->close(); });
        QTest::mouseClick(w->findChildren<QPushButton *>().at(3), Qt::LeftButton); // 产品查询
        QCOMPARE(w->amountTotal()->text(), QStringLiteral("2610"));
        QCOMPARE(w->quantityTotal()->text(), QStringLiteral("1100"));

        // Leaving with unpaid lines is refused.
        w->reject();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        QVERIFY(w->isVisible());

        w->payButton()->click();
        QVERIFY(!w->productField()->isEnabled());
        typeAndEnter(w->receivedField(), QStringLiteral("2000"));
        QCOMPARE(w->owedField()->text(), QStringLiteral("610"));
        m_app.prompter.answers.push_back(true);
        pressEnter(w->owedField());
        QVERIFY(!w->owedField()->isEnabled());
        QVERIFY(!w->correctButton()->isEnabled());
        auto k = m_app.session().first(QStringLiteral("SELECT ysje, sjje, sqje, sjxl, zzje FROM {khzj}"));
        QCOMPARE(k->value(0).toDouble(), 2610.0);
        QCOMPARE(k->value(2).toDouble(), 610.0);
        QCOMPARE(k->value(3).toDouble(), 1100.0);
        QCOMPARE(k->value(4).toDouble(), 50.0 + 5.0);
        screenshot(w.get(), QStringLiteral("sales"));

        w->printButton()->click();
        QCOMPARE(int(m_printed.size()), 1);
        QVERIFY(m_printed.front().contains(QStringLiteral("肉鸡全价料")));
        QVERIFY(m_printed.front().contains(QStringLiteral("实际欠款：610")));
    }

    void returnThenPaymentWithReceipt()
    {
        m_app.session().insert(QStringLiteral("sale1"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"},
                                                         {"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                                         {"zznum", 1000.0}, {"zzjg", 2400.0}, {"zzje", 2400.0},
                                                         {"zcjg", 2300.0}, {"bz_1", "1"}, {"bz_3", "0"},
                                                         {"rq_1", "2026-12-01"}, {"czydm", "admin"}});
        auto w = openWindow();
        ReturnTab *r = w->returnTab();
        w->tabs()->setCurrentWidget(r);
        QTest::mouseClick(r->findChildren<QPushButton *>().at(0), Qt::LeftButton); // 选择客户
        typeAndEnter(r->customerField(), QStringLiteral("1100001"));
        typeAndEnter(r->fromField(), QStringLiteral("2026-12-01"));
        typeAndEnter(r->toField(), QStringLiteral("2026-12-10"));
        QVERIFY(r->purchasesGrid()->isVisible());
        QCOMPARE(r->purchasesGrid()->rowCount(), 1);
        QVERIFY(!r->historyGrid()->isVisible());
        r->pickPurchase(0);
        typeAndEnter(r->bagsField(), QStringLiteral("5"));
        QCOMPARE(r->unitBox()->currentText(), QStringLiteral("大包"));
        pressEnter(r->unitBox());
        QCOMPARE(r->kilogramsField()->text(), QStringLiteral("200"));
        pressEnter(r->kilogramsField());
        QCOMPARE(r->amountField()->text(), QStringLiteral("480"));
        r->confirmButton()->click();
        QCOMPARE(r->returnsGrid()->rowCount(), 1);
        QCOMPARE(r->amountTotal()->text(), QStringLiteral("480"));
        QVERIFY(r->correctButton()->isEnabled());
        screenshot(w.get(), QStringLiteral("returns"));
        r->printList(false);
        QCOMPARE(int(m_printed.size()), 1);
        QVERIFY(m_printed.back().contains(QStringLiteral("客户退料单")));

        PaymentTab *p = w->paymentTab();
        w->tabs()->setCurrentWidget(p);
        typeAndEnter(p->customerField(), QStringLiteral("9999999"));
        QVERIFY(!p->oldDebtButton()->isEnabled()); // no payment for an unknown code
        typeAndEnter(p->customerField(), QStringLiteral("1100001"));
        QCOMPARE(p->balanceOwedField()->text(), QStringLiteral("-480"));
        QVERIFY(p->balanceGroup()->title().startsWith(QStringLiteral("截止2026-12-10为止")));
        p->oldDebtButton()->click();
        QVERIFY(!p->receivableField()->isEnabled());
        typeAndEnter(p->receivedField(), QStringLiteral("1000"));
        m_app.prompter.answers.push_back(false);
        pressEnter(p->owedField());
        QVERIFY(!p->receiptButton()->isEnabled()); // "No" wrote nothing: no receipt
        m_app.prompter.answers.push_back(true);
        pressEnter(p->owedField());
        QVERIFY(p->receiptButton()->isEnabled());
        QVERIFY(!p->receivedField()->isEnabled()); // posted once
        QCOMPARE(p->balanceOwedField()->text(), QStringLiteral("-1480"));
        screenshot(w.get(), QStringLiteral("payments"));
        p->receiptButton()->click();
        QVERIFY(m_printed.back().contains(QStringLiteral("壹仟元整")));
        QVERIFY(p->customerField()->text().isEmpty());
    }

    void refusedCustomersAndProducts()
    {
        auto w = openWindow();
        w->chooseButton()->click();
        typeAndEnter(w->customerField(), QStringLiteral("1100003"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("此客户已经销户不能开票!"));
        QVERIFY(w->customerField()->isEnabled());
        typeAndEnter(w->customerField(), QStringLiteral("1100002")); // retail
        typeAndEnter(w->productField(), QStringLiteral("z40"));
        QCOMPARE(m_app.prompter.messages.mid(1), (QStringList{QStringLiteral("该客户该产品不存在！"),
                                                               QStringLiteral("该客户此品种没有设开票价格，请与客户经理联系！")}));
        QVERIFY(!w->priceField()->isEnabled());

        // A retail line asks for its policy price and keeps the typed price.
        typeAndEnter(w->productField(), QStringLiteral("n40"));
        QVERIFY(!w->priceField()->isReadOnly());
        m_app.prompter.textAnswers.push_back(QStringLiteral("2250"));
        typeAndEnter(w->priceField(), QStringLiteral("2400"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral(" 政策价格(元/吨):   "));
        typeAndEnter(w->bagsField(), QStringLiteral("10"));
        pressEnter(w->unitBox());
        m_app.prompter.answers.push_back(false); // "No": nothing written
        pressEnter(w->kilogramsField());
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT COUNT(*) FROM {sale1}")).toInt(), 0);
        QCOMPARE(w->amountTotal()->text(), QStringLiteral("0"));
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt(), 1);
    }
};

QTEST_MAIN(TestSalesWindow)
#include "tst_saleswindow.moc"
