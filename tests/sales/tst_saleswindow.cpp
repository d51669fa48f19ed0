#include "accounts/credit.h"
#include "reports/computedreport.h"
#include "reports/reportexport.h"
#include "sales/corrections.h"
#include "sales/returns.h"
#include "sales/turnovernumbers.h"
#include "sales/windows/customerproductlist.h"
#include "sales/windows/issuetab.h"
#include "sales/windows/linecorrectionwindow.h"
#include "sales/windows/paymenttab.h"
#include "sales/windows/returntab.h"
#include "sales/windows/txxgl.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/faults.h"
#include "support/windowtest.h"
#include "ui/grid.h"
#include "salesfixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestSalesWindow : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::vector<QString> m_printed;

    Session &s() { return m_app.session(); }
    double value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v).toDouble(); }

    std::unique_ptr<Txxgl> openWindow()
    {
        auto w = std::make_unique<Txxgl>(m_app.ctx, nullptr);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
        w->activate();
        return w;
    }
    // A slip started for a customer.
    void startSlip(IssueTab *t, const QString &customer = QStringLiteral("1100001"))
    {
        t->chooseButton()->click();
        typeAndEnter(t->customerField(), customer);
    }
    // One line through the Enter chain, answering "确认否？".
    void enterLine(IssueTab *t, const QString &product, const QString &bags, bool confirm = true)
    {
        typeAndEnter(t->productField(), product);
        pressEnter(t->priceField());
        typeAndEnter(t->bagsField(), bags);
        pressEnter(t->unitBox());
        m_app.prompter.answers.push_back(confirm);
        pressEnter(t->kilogramsField());
    }
    void addPurchase()
    {
        s().insert(QStringLiteral("sale1"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"},
                                             {"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                             {"zznum", 1000.0}, {"zzjg", 2400.0}, {"zzje", 2400.0},
                                             {"zcjg", 2300.0}, {"bz_1", "1"}, {"bz_3", "0"},
                                             {"rq_1", "2026-12-01"}, {"czydm", "admin"}});
    }
    // The return tab with the purchase picked, at "退料数量(包):".
    ReturnTab *returnUpToBags(Txxgl &w)
    {
        ReturnTab *r = w.returnTab();
        w.tabs()->setCurrentWidget(r);
        r->chooseButton()->click();
        typeAndEnter(r->customerField(), QStringLiteral("1100001"));
        typeAndEnter(r->fromField(), QStringLiteral("2026-12-01"));
        typeAndEnter(r->toField(), QStringLiteral("2026-12-10"));
        r->pickPurchase(0);
        return r;
    }
    void addOperator(const QString &code, const QString &rights)
    {
        s().insert(QStringLiteral("zxauth1"), {{"authid", code}, {"authmc", "开票员"}, {"password", "x"},
                                               {"deptment", "销售部"}, {"author", rights}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("1000"));
        m_printed.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) {
            m_printed.push_back(d.compute().toText());
            if (!qEnvironmentVariableIsEmpty("FM_SCREENSHOT_DIR")) // for looking at them
                exportPdf(d, qEnvironmentVariable("FM_SCREENSHOT_DIR") + QStringLiteral("/document%1.pdf").arg(m_printed.size()));
        };
        m_app.ctx.printDirect = m_app.ctx.preview;
    }

    void aSlipFromStartToPrint()
    {
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        QVERIFY(!t->customerField()->isEnabled());
        t->chooseButton()->click();
        QCOMPARE(t->numberField()->text(), QStringLiteral("1001"));
        QVERIFY(t->customerField()->isEnabled());
        QVERIFY(!t->productField()->isEnabled());
        typeAndEnter(t->customerField(), QStringLiteral("1100001"));
        QCOMPARE(t->nameField()->text(), QStringLiteral("张记养殖场"));
        QVERIFY(!t->customerField()->isEnabled());
        QVERIFY(t->productField()->hasFocus());

        typeAndEnter(t->productField(), QStringLiteral("N40"));
        QCOMPARE(t->productField()->text(), QStringLiteral("n40"));
        QCOMPARE(t->priceField()->text(), QStringLiteral("2350"));
        QCOMPARE(t->categoryField()->text(), QStringLiteral("浓缩料"));
        QVERIFY(t->priceField()->isReadOnly());
        pressEnter(t->priceField());
        QVERIFY(!t->priceField()->isEnabled());
        // The field reached shows "0" selected: typing replaces it.
        QCOMPARE(t->bagsField()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(t->bagsField(), QStringLiteral("25"));
        QCOMPARE(t->bagsField()->text(), QStringLiteral("25"));
        pressEnter(t->bagsField());
        QCOMPARE(t->unitBox()->currentText(), QStringLiteral("大包"));
        pressEnter(t->unitBox());
        QCOMPARE(t->kilogramsField()->text(), QStringLiteral("1000"));
        m_app.prompter.answers.push_back(true);
        pressEnter(t->kilogramsField());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(t->quantityTotal()->text(), QStringLiteral("1000"));
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("2350"));
        QCOMPARE(t->linesGrid()->rowCount(), 1);
        QVERIFY(t->correctButton()->isEnabled());
        QVERIFY(t->productField()->hasFocus());

        // A complete feed of 25 kg has no unit of its own: the clerk types one.
        typeAndEnter(t->productField(), QStringLiteral("q25"));
        pressEnter(t->priceField());
        typeAndEnter(t->bagsField(), QStringLiteral("4"));
        QCOMPARE(t->unitBox()->currentText(), QString());
        pressEnter(t->unitBox());
        QVERIFY(!t->kilogramsField()->isEnabled());
        t->unitBox()->setEditText(QStringLiteral("袋"));
        pressEnter(t->unitBox());
        QCOMPARE(t->kilogramsField()->text(), QStringLiteral("100"));
        m_app.prompter.answers.push_back(true);
        pressEnter(t->kilogramsField());
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("2610"));

        // A child window opened and closed mid-slip changes nothing.
        QTimer::singleShot(0, [] { if (QWidget *m = QApplication::activeModalWidget()) m->close(); });
        QTest::mouseClick(t->productListButton(), Qt::LeftButton);
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("2610"));
        QCOMPARE(t->quantityTotal()->text(), QStringLiteral("1100"));

        // Leaving with unpaid lines is refused.
        w->reject();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        QVERIFY(w->isVisible());

        t->payButton()->click();
        QVERIFY(!t->productField()->isEnabled());
        QCOMPARE(t->receivedField()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(t->receivedField(), QStringLiteral("2000"));
        pressEnter(t->receivedField());
        QCOMPARE(t->owedField()->text(), QStringLiteral("610"));
        QVERIFY(t->owedField()->isReadOnly()); // what is owed comes from the slip's own lines
        m_app.prompter.answers.push_back(true);
        pressEnter(t->owedField());
        QVERIFY(!t->owedField()->isEnabled());
        QVERIFY(!t->correctButton()->isEnabled());
        auto k = s().first(QStringLiteral("SELECT ysje, sjje, sqje, sjxl, zzje FROM {khzj}"));
        QCOMPARE(k->value(0).toDouble(), 2610.0);
        QCOMPARE(k->value(2).toDouble(), 610.0);
        QCOMPARE(k->value(3).toDouble(), 1100.0);
        QCOMPARE(k->value(4).toDouble(), 50.0 + 5.0);
        screenshot(w.get(), QStringLiteral("sales"));

        t->printButton()->click();
        QCOMPARE(int(m_printed.size()), 1);
        QVERIFY(m_printed.front().contains(QStringLiteral("肉鸡全价料")));
        QVERIFY(m_printed.front().contains(QStringLiteral("实际欠款：610")));
        QVERIFY(m_printed.front().contains(QStringLiteral("周转号码：1001")));
        w->reject();
        QVERIFY(!w->isVisible());
    }

    void returnThenPaymentWithReceipt()
    {
        addPurchase();
        auto w = openWindow();
        ReturnTab *r = w->returnTab();
        w->tabs()->setCurrentWidget(r);
        r->chooseButton()->click();
        typeAndEnter(r->customerField(), QStringLiteral("1100001"));
        typeAndEnter(r->fromField(), QStringLiteral("2026-12-01"));
        typeAndEnter(r->toField(), QStringLiteral("2026-12-10"));
        QVERIFY(r->purchasesGrid()->isVisible());
        QCOMPARE(r->purchasesGrid()->rowCount(), 1);
        QVERIFY(!r->historyGrid()->isVisible());
        r->pickPurchase(0);
        QCOMPARE(r->productNameField()->text(), QStringLiteral("猪用浓缩料"));
        QCOMPARE(r->bagsField()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(r->bagsField(), QStringLiteral("5"));
        pressEnter(r->bagsField());
        QCOMPARE(r->unitBox()->currentText(), QStringLiteral("大包"));
        pressEnter(r->unitBox());
        QCOMPARE(r->kilogramsField()->text(), QStringLiteral("200"));
        pressEnter(r->kilogramsField());
        QCOMPARE(r->amountField()->text(), QStringLiteral("480"));
        QVERIFY(r->confirmButton()->hasFocus());
        QVERIFY(r->cancelButton()->isEnabled());
        r->confirmButton()->click();
        QCOMPARE(r->returnsGrid()->rowCount(), 1);
        QCOMPARE(r->amountTotal()->text(), QStringLiteral("480"));
        QVERIFY(r->correctButton()->isEnabled());
        QVERIFY(r->customerField()->hasFocus());
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
        QCOMPARE(p->receivedField()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(p->receivedField(), QStringLiteral("1000"));
        QCOMPARE(p->receivedField()->text(), QStringLiteral("1000"));
        pressEnter(p->receivedField());
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

        // "客户回款补遗": a receivable typed over "0", then what was received.
        typeAndEnter(p->customerField(), QStringLiteral("1100001"));
        p->lateButton()->click();
        QCOMPARE(p->receivableField()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(p->receivableField(), QStringLiteral("800"));
        pressEnter(p->receivableField());
        QTest::keyClicks(p->receivedField(), QStringLiteral("-300"));
        QCOMPARE(p->receivedField()->text(), QStringLiteral("-300"));
        pressEnter(p->receivedField());
        m_app.prompter.answers.push_back(true);
        pressEnter(p->owedField());
        QCOMPARE(p->balanceOwedField()->text(), QStringLiteral("-380"));
    }

    // After "确认" the list shows the customer's returns of the day from
    // every operator; "退料显示" goes on alternating where the clerk left it.
    void returnListsAfterConfirmAndToggle()
    {
        addPurchase();
        // Another operator's return of the customer, today.
        s().insert(QStringLiteral("sale1"), {{"khdm", "1100001"}, {"cpdm", "n40"}, {"tlnum", 40.0}, {"kpje", 96.0},
                                             {"bz_1", "3"}, {"rq_1", "2026-12-10"}, {"rq_2", "2026-12-10"}, {"czydm", "b0001"}});
        auto w = openWindow();
        ReturnTab *r = w->returnTab();
        r->listButton()->click(); // no customer yet: all of this operator's (none)
        QCOMPARE(r->returnsGrid()->rowCount(), 0);
        returnUpToBags(*w);
        typeAndEnter(r->bagsField(), QStringLiteral("5"));
        pressEnter(r->unitBox());
        pressEnter(r->kilogramsField());
        r->confirmButton()->click();
        QCOMPARE(r->returnsGrid()->rowCount(), 2);
        r->printList(true);
        QVERIFY(m_printed.back().contains(QStringLiteral("总计： | 240 |  | 576")));
        // The second press of the turn: all of this operator's returns.
        r->listButton()->click();
        QCOMPARE(r->returnsGrid()->rowCount(), 1);
        r->listButton()->click(); // the customer's, of this operator
        QCOMPARE(r->returnsGrid()->rowCount(), 1);
    }

    void refusedCustomersAndProducts()
    {
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        t->chooseButton()->click();
        typeAndEnter(t->customerField(), QStringLiteral("1100003"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("此客户已经销户不能开票!"));
        QVERIFY(t->customerField()->isEnabled());
        typeAndEnter(t->customerField(), QStringLiteral("1100002")); // retail
        typeAndEnter(t->productField(), QStringLiteral("z40"));
        QCOMPARE(m_app.prompter.messages.mid(1), (QStringList{QStringLiteral("该客户该产品不存在！"),
                                                               QStringLiteral("该客户此品种没有设开票价格，请与客户经理联系！")}));
        // The product's name shows with the refusal.
        QCOMPARE(t->productNameField()->text(), QStringLiteral("新品浓缩料"));
        QVERIFY(!t->priceField()->isEnabled());
        QVERIFY(t->productField()->hasFocus());

        // A retail line asks for its policy price and keeps the typed price.
        typeAndEnter(t->productField(), QStringLiteral("n40"));
        QVERIFY(!t->priceField()->isReadOnly());
        m_app.prompter.textAnswers.push_back(QStringLiteral("2250"));
        typeAndEnter(t->priceField(), QStringLiteral("2400"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral(" 政策价格(元/吨):   "));
        typeAndEnter(t->bagsField(), QStringLiteral("10"));
        pressEnter(t->unitBox());
        m_app.prompter.answers.push_back(false); // "No": nothing written
        pressEnter(t->kilogramsField());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1}")), 0.0);
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("0"));
        QCOMPARE(value(QStringLiteral("SELECT rec_num FROM {fphm}")), 1.0);

        // Without a policy price: a warning, and the sale goes on.
        s().execute(QStringLiteral("UPDATE {khprice} SET fhll = 0 WHERE khdm = '1100002' AND cpdm = 'q25'"));
        typeAndEnter(t->productField(), QStringLiteral("q25"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("注意：该客户该产品没有设政策价格！"));
        QVERIFY(t->priceField()->hasFocus());
    }

    // Past the customer's credit limit the clerk is asked first; "No" drops the line.
    void creditLimitAsksBeforeTheLine()
    {
        setCreditLimit(s(), QStringLiteral("1100001"), QStringLiteral("2000"));
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        startSlip(t);
        m_app.prompter.answers.push_back(false); // the warning: No
        enterLine(t, QStringLiteral("n40"), QStringLiteral("25")); // 2 350 over 2 000
        QVERIFY(m_app.prompter.questions.first().startsWith(QStringLiteral("该客户的欠款将超过信用额度！")));
        QCOMPARE(m_app.prompter.questions.size(), 1);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1}")), 0.0);
        QVERIFY(t->productField()->hasFocus());

        m_app.prompter.clear();
        m_app.prompter.answers.push_back(true); // the warning: Yes, then "确认否？"
        enterLine(t, QStringLiteral("n40"), QStringLiteral("25"));
        QCOMPARE(m_app.prompter.questions.size(), 2);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sale1}")), 1.0);

        // Within the limit: only "确认否？".
        m_app.prompter.clear();
        setCreditLimit(s(), QStringLiteral("1100001"), QStringLiteral("1000000"));
        enterLine(t, QStringLiteral("n40"), QStringLiteral("1"));
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("确认否？")});
    }

    // Every numeric entry: a bad number gets the message and nothing is written.
    void badNumbersPerEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        const QStringList bad{QStringLiteral("abc"), QStringLiteral("-5"), QStringLiteral("9999999999"),
                              QStringLiteral("10000000000000000"), QStringLiteral("1e5")};
        for (const char *entry : {"slip bags", "slip price", "retail policy", "slip received", "return bags",
                                  "return kilograms", "payment receivable", "payment received", "payment owed",
                                  "correction quantity", "correction price"}) {
            for (const QString &t : bad) {
                // Negative money is a correction; a huge amount is not.
                const bool money = QByteArray(entry).startsWith("payment") || QByteArray(entry) == "slip received";
                if (money && t == QStringLiteral("-5")) continue;
                if (money && t == QStringLiteral("9999999999")) continue;
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(entry), t)))
                    << QString::fromLatin1(entry) << t;
            }
        }
        QTest::newRow("slip bags: zero") << "slip bags" << "0";
        QTest::newRow("return kilograms: zero") << "return kilograms" << "0";
        QTest::newRow("payment received: 10^20") << "payment received" << "100000000000000000000";
    }
    void badNumbersPerEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        addPurchase();
        Returns returns(s(), m_app.clock, QStringLiteral("admin"));
        const Purchase bought =
            returns.purchases(QStringLiteral("1100001"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-10")).front();
        const qint64 returnLine = returns.confirm(*findCustomer(s(), QStringLiteral("1100001")),
                                                  returns.prepare(bought, 1, QStringLiteral("大包"), 40),
                                                  QStringLiteral("2026-12-10"))
                                      .saleId;
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        const QStringList tables{QStringLiteral("sale1"), QStringLiteral("khzj"), QStringLiteral("khtl"),
                                 QStringLiteral("khprice"), QStringLiteral("velcpzk"), QStringLiteral("fphm")};
        QLineEdit *field = nullptr;
        std::function<void()> enter;
        if (entry.startsWith(QLatin1String("slip"))) {
            startSlip(t, QStringLiteral("1100002")); // retail: the price is typed
            typeAndEnter(t->productField(), QStringLiteral("n40"));
            if (entry == QLatin1String("slip price")) {
                field = t->priceField();
            } else if (entry == QLatin1String("slip bags")) {
                m_app.prompter.textAnswers.push_back(QStringLiteral("2300"));
                pressEnter(t->priceField());
                field = t->bagsField();
            } else {
                m_app.prompter.textAnswers.push_back(QStringLiteral("2300"));
                pressEnter(t->priceField());
                typeAndEnter(t->bagsField(), QStringLiteral("10"));
                pressEnter(t->unitBox());
                pressEnter(t->kilogramsField());
                t->payButton()->click();
                field = t->receivedField();
            }
        } else if (entry == QLatin1String("retail policy")) {
            startSlip(t, QStringLiteral("1100002"));
            typeAndEnter(t->productField(), QStringLiteral("n40"));
            m_app.prompter.textAnswers.push_back(typed);
            field = t->priceField();
            typed = QStringLiteral("2400");
        } else if (entry.startsWith(QLatin1String("return"))) {
            ReturnTab *r = returnUpToBags(*w);
            if (entry == QLatin1String("return bags")) {
                field = r->bagsField();
            } else {
                typeAndEnter(r->bagsField(), QStringLiteral("1"));
                r->unitBox()->setEditText(QStringLiteral("桶")); // a unit that leaves the kilograms to the clerk
                pressEnter(r->unitBox());
                field = r->kilogramsField();
            }
        } else if (entry.startsWith(QLatin1String("payment"))) {
            PaymentTab *p = w->paymentTab();
            w->tabs()->setCurrentWidget(p);
            typeAndEnter(p->customerField(), QStringLiteral("1100001"));
            p->lateButton()->click();
            if (entry == QLatin1String("payment receivable")) {
                field = p->receivableField();
            } else {
                typeAndEnter(p->receivableField(), QStringLiteral("100"));
                if (entry == QLatin1String("payment received")) {
                    field = p->receivedField();
                } else {
                    typeAndEnter(p->receivedField(), QStringLiteral("100"));
                    field = p->owedField();
                }
            }
        } else {
            LineCorrectionWindow c(m_app.ctx, LineCorrectionWindow::Kind::Return, nullptr);
            c.listLines = [&] {
                return returns.returnsOfDay(QStringLiteral("2026-12-10"), Returns::List::Customer, QStringLiteral("1100001"));
            };
            c.show();
            c.activate();
            QVERIFY(c.grid()->selectId(returnLine));
            c.modifyCurrent();
            if (entry == QLatin1String("correction quantity")) {
                typeAndEnter(c.quantityField(), typed);
                pressEnter(c.priceField());
            } else {
                pressEnter(c.quantityField());
                typeAndEnter(c.priceField(), typed);
            }
            const QString before = snapshot(s(), tables);
            m_app.prompter.answers.push_back(true);
            pressEnter(c.amountField());
            QCOMPARE(m_app.prompter.messages.last(), QStringLiteral("请输入正确的数字！"));
            QCOMPARE(snapshot(s(), tables), before);
            return;
        }
        QVERIFY(field && field->isEnabled());
        m_app.prompter.clear();
        const QString before = snapshot(s(), tables);
        typeAndEnter(field, typed);
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("请输入正确的数字！")});
        QVERIFY(field->hasFocus());
        // Go on with Enter as far as the entry allows: still nothing written.
        m_app.prompter.defaultAnswer = true;
        for (QWidget *next : {static_cast<QWidget *>(t->owedField()), static_cast<QWidget *>(w->paymentTab()->owedField())})
            if (next->isEnabled()) pressEnter(next);
        QCOMPARE(snapshot(s(), tables), before);
    }

    // An interrupted slip comes back when the window is opened again on the
    // same workstation by the same operator, and has to be paid first.
    void interruptedSlipIsRestoredWhenTheWindowOpens()
    {
        {
            auto w = openWindow();
            IssueTab *t = w->issueTab();
            startSlip(t);
            enterLine(t, QStringLiteral("n40"), QStringLiteral("25"));
            enterLine(t, QStringLiteral("n40"), QStringLiteral("10"));
        } // the program ends without payment
        m_app.prompter.clear();
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        QCOMPARE(m_app.prompter.messages.size(), 2);
        QVERIFY(m_app.prompter.messages.first().contains(QStringLiteral("1001")));
        QCOMPARE(m_app.prompter.messages.last(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        QCOMPARE(t->numberField()->text(), QStringLiteral("1001"));
        QCOMPARE(t->customerField()->text(), QStringLiteral("1100001"));
        QCOMPARE(t->nameField()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("3290"));
        QCOMPARE(t->linesGrid()->rowCount(), 2);
        QVERIFY(t->payButton()->isEnabled());
        QVERIFY(t->productField()->isEnabled());
        screenshot(w.get(), QStringLiteral("sales-restored"));

        t->chooseButton()->click(); // refused until paid
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！"));
        QCOMPARE(t->numberField()->text(), QStringLiteral("1001"));
        t->payButton()->click();
        typeAndEnter(t->receivedField(), QStringLiteral("3290"));
        m_app.prompter.answers.push_back(true);
        pressEnter(t->owedField());
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj}")), 3290.0);
        t->printButton()->click();
        QVERIFY(m_printed.back().contains(QStringLiteral("猪用浓缩料")));
        w->reject();

        m_app.prompter.clear();
        w->activate();
        QVERIFY(m_app.prompter.messages.isEmpty());
        QVERIFY(t->numberField()->text().isEmpty());
    }

    // One workstation, two operators in turn on the same window: each row
    // carries the operator who wrote it, and a slip is never continued
    // under another operator's name.
    void operatorsInTurnStampTheirOwnRows()
    {
        addOperator(QStringLiteral("b0001"), QString(70, QLatin1Char('1')));
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        startSlip(t); // a customer chosen, no line: the window may be left
        w->reject();

        m_app.ctx.operatorCode = QStringLiteral("b0001");
        w->show();
        w->activate();
        QVERIFY(t->customerField()->text().isEmpty());
        QVERIFY(!t->productField()->isEnabled());
        startSlip(t);
        enterLine(t, QStringLiteral("n40"), QStringLiteral("1"));
        t->payButton()->click();
        typeAndEnter(t->receivedField(), QStringLiteral("0"));
        m_app.prompter.answers.push_back(true);
        pressEnter(t->owedField());

        m_app.ctx.operatorCode = QStringLiteral("admin");
        w->activate();
        QVERIFY(t->numberField()->text().isEmpty());
        startSlip(t, QStringLiteral("1100002"));
        m_app.prompter.textAnswers.push_back(QStringLiteral("2300"));
        enterLine(t, QStringLiteral("n40"), QStringLiteral("1"));

        QCOMPARE(s().scalar(QStringLiteral("SELECT czydm FROM {sale1} WHERE khdm = '1100001'")).toString(), QStringLiteral("b0001"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT czydm FROM {khzj} WHERE khdm = '1100001'")).toString(), QStringLiteral("b0001"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT czydm FROM {sale1} WHERE khdm = '1100002'")).toString(), QStringLiteral("admin"));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE czydm = 'b0001' AND cpdm = 'n40'")), 1.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE czydm = 'admin' AND cpdm = 'n40'")), 1.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {khprn} WHERE owner <> 'test-workstation'")), 0.0);
    }

    // Functions opened from the window check the operator's rights as the menu would.
    void functionsOpenedFromTheWindowCheckRights()
    {
        // Position 35 ("客户资料查询") refused.
        addOperator(QStringLiteral("c0001"), QString(34, QLatin1Char('1')) + QLatin1Char('0') + QString(35, QLatin1Char('1')));
        WindowRegistry registry(m_app.ctx, nullptr);
        m_app.ctx.windows = &registry;
        m_app.ctx.operatorCode = QStringLiteral("c0001");
        auto w = openWindow();
        w->issueTab()->findChild<QPushButton *>(QStringLiteral("customers"))->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你没有使用该功能的权限！"));
        m_app.prompter.clear();
        w->paymentTab()->customersButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你没有使用该功能的权限！"));
        m_app.ctx.windows = nullptr;
    }

    // The issue-line correction window: the panel, the amount too, stays
    // closed until "修改此记录"; a change follows into the slip's totals.
    void correctingAnIssueLine()
    {
        auto w = openWindow();
        IssueTab *t = w->issueTab();
        startSlip(t);
        enterLine(t, QStringLiteral("n40"), QStringLiteral("25"));
        enterLine(t, QStringLiteral("n40"), QStringLiteral("10"));
        bool opened = false;
        t->openCorrections = [&] {
            LineCorrectionWindow c(m_app.ctx, LineCorrectionWindow::Kind::Issue, t);
            SalesSlip *slip = &t->slip();
            c.workstation = slip->workstation();
            c.printLineOf = [slip](qint64 id) { return slip->printLineOf(id); };
            c.listLines = [&] { return Corrections(s(), QStringLiteral("admin")).slipLines(slip->number(), QStringLiteral("1100001"), slip->lineDate()); };
            c.show();
            c.activate();
            QCOMPARE(c.grid()->rowCount(), 2);
            c.grid()->view()->selectRow(1);
            QCOMPARE(c.quantityField()->text(), QStringLiteral("400"));
            QVERIFY(!c.amountField()->isEnabled());
            QVERIFY(!c.quantityField()->isEnabled());
            c.modifyCurrent();
            QVERIFY(c.quantityField()->isEnabled());
            QCOMPARE(c.quantityField()->selectedText(), QStringLiteral("400"));
            QVERIFY(!c.amountField()->isEnabled());
            typeAndEnter(c.quantityField(), QStringLiteral("200"));
            typeAndEnter(c.priceField(), QStringLiteral("2400"));
            QCOMPARE(c.amountField()->text(), QStringLiteral("480"));
            QVERIFY(c.amountField()->isReadOnly());
            m_app.prompter.answers.push_back(true);
            pressEnter(c.amountField());
            QVERIFY(!c.quantityField()->isEnabled());
            screenshot(&c, QStringLiteral("sales-correction"));
            opened = true;
        };
        t->correctButton()->click();
        QVERIFY(opened);
        QCOMPARE(t->quantityTotal()->text(), QStringLiteral("1200"));
        QCOMPARE(t->amountTotal()->text(), QStringLiteral("2830"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT kpje FROM {khprn} WHERE zznum = 2")).toString(), QStringLiteral("480"));
    }

    // "产品查询" over every customer's prices reads a page at a time and says how many there are.
    void productListOfEveryCustomerIsPaged()
    {
        s().transaction([&] {
            for (int i = 0; i < 450; ++i)
                s().insert(QStringLiteral("khprice"), {{"khdm", QStringLiteral("12%1").arg(i, 5, 10, QLatin1Char('0'))},
                                                       {"cpdm", "n40"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                                       {"fhll", 2300.0}, {"kpjg", 2350.0}, {"cpbz", "0"}});
        });
        CustomerProductList list(m_app.ctx, nullptr);
        list.load(QString());
        QCOMPARE(list.heading()->text(), QStringLiteral("所有客户产品名细："));
        QCOMPARE(list.grid()->rowCount(), 200);
        QCOMPARE(list.grid()->totalRows(), qint64(456));
        QCOMPARE(list.grid()->statusText(), QStringLiteral("共 456 行，已显示 200 行，向下滚动显示更多"));
        list.load(QStringLiteral("1100001"));
        QCOMPARE(list.heading()->text(), QStringLiteral("客户1100001的产品名细："));
        QCOMPARE(list.grid()->rowCount(), 3);
        QCOMPARE(list.grid()->textAt(0, 0), QStringLiteral("n40"));
    }
};

QTEST_MAIN(TestSalesWindow)
#include "tst_saleswindow.moc"
