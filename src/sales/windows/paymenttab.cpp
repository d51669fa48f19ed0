#include "sales/windows/paymenttab.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "sales/payments.h"
#include "sales/salesdocuments.h"
#include "sales/salesnumbers.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {
const QString kBalanceTitle = QStringLiteral("客户欠款情况显示");
const QString kYuan = QStringLiteral("(元)");
} // namespace

PaymentTab::PaymentTab(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_customer = input("customer", 7);
    m_region = display("region");
    m_name = display("name");
    m_customers = button(QStringLiteral("客户"), "customers", [this] { openFunction(Fn::CustomerQuery); });
    auto *choose = new QGroupBox(QStringLiteral("选择客户"), this);
    FieldGrid chooseGrid(choose, 1);
    chooseGrid.add(QStringLiteral("客户代码："), m_customer)
        .add(QStringLiteral("地    区："), m_region)
        .add(QStringLiteral("客户简称："), m_name);
    chooseGrid.layout()->addWidget(m_customers, 0, 2);

    m_balanceReceivable = display("balanceReceivable");
    m_balanceReceived = display("balanceReceived");
    m_balanceOwed = display("balanceOwed");
    m_balanceGroup = new QGroupBox(kBalanceTitle, this);
    FieldGrid(m_balanceGroup, 1)
        .add(QStringLiteral("应收金额："), m_balanceReceivable, kYuan)
        .add(QStringLiteral("实收金额："), m_balanceReceived, kYuan)
        .add(QStringLiteral("实欠金额："), m_balanceOwed, kYuan);

    m_oldDebt = new QRadioButton(QStringLiteral("回旧款"), this);
    m_late = new QRadioButton(QStringLiteral("客户回款补遗"), this);
    auto *kind = new QGroupBox(QStringLiteral("回款选择"), this);
    auto *kg = new QVBoxLayout(kind);
    kg->addWidget(m_oldDebt);
    kg->addWidget(m_late);
    kg->addStretch();

    m_receivable = input("receivable", 16);
    m_received = input("received", 16);
    m_owed = input("owed", 16);
    auto *entry = new QGroupBox(QStringLiteral("客户回款窗口："), this);
    FieldGrid(entry, 1)
        .add(QStringLiteral("应收金额："), m_receivable, kYuan)
        .add(QStringLiteral("实收金额："), m_received, kYuan)
        .add(QStringLiteral("实欠金额："), m_owed, kYuan);

    m_receipt = button(QStringLiteral("打印收款单"), "receipt", [this] { printReceipt(); });
    m_quit = button(QStringLiteral("退出"), "quit");

    auto *grid = new QGridLayout;
    grid->addWidget(choose, 0, 0);
    grid->addWidget(m_balanceGroup, 0, 1);
    grid->addWidget(kind, 1, 0);
    grid->addWidget(entry, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow({m_receipt, m_quit}));

    chain()
        .step(m_customer, [this] { return enterCustomer(); })
        .step(m_receivable, [this] {
            sales::parseMoney(m_receivable->text());
            return Go::advance();
        }, {QStringLiteral("0"), false, false, {}})
        .step(m_received, [this] {
            sales::parseMoney(m_received->text());
            return Go::advance();
        })
        .step(m_owed, [this] { return record(); });
    connect(m_oldDebt, &QRadioButton::clicked, this, [this] { guarded([this] { chooseOldDebt(); }); });
    connect(m_late, &QRadioButton::clicked, this, [this] { guarded([this] { chooseLate(); }); });
    clearEntry();
}

void PaymentTab::activate()
{
    m_cust.reset();
    m_written = 0;
    for (QLineEdit *e : {m_customer, m_region, m_name, m_balanceReceivable, m_balanceReceived, m_balanceOwed}) e->clear();
    m_balanceGroup->setTitle(kBalanceTitle);
    clearEntry();
    chain().reset();
}

void PaymentTab::clearEntry()
{
    for (QLineEdit *e : {m_receivable, m_received, m_owed}) e->setText(QStringLiteral("0"));
    chain().disableAll();
    m_customer->setEnabled(true);
    m_oldDebt->setAutoExclusive(false);
    m_oldDebt->setChecked(false);
    m_late->setChecked(false);
    m_oldDebt->setAutoExclusive(true);
    // A payment is taken only for a customer found.
    m_oldDebt->setEnabled(m_cust.has_value());
    m_late->setEnabled(m_cust.has_value());
    m_receipt->setEnabled(false);
}

void PaymentTab::showBalance()
{
    Balance b;
    if (m_cust) b = Payments(session(), *ctx().clock, ctx().operatorCode).balance(m_cust->code);
    m_balanceReceivable->setText(numberText(b.receivable));
    m_balanceReceived->setText(numberText(b.received));
    m_balanceOwed->setText(numberText(b.owed()));
}

Go PaymentTab::enterCustomer()
{
    m_cust = findCustomer(session(), m_customer->text());
    m_written = 0;
    m_region->setText(m_cust ? m_cust->region : QString());
    m_name->setText(m_cust ? m_cust->name : QString());
    if (m_cust) m_customer->setText(m_cust->code);
    m_balanceGroup->setTitle(m_cust ? Payments(session(), *ctx().clock, ctx().operatorCode).balanceCaption() : kBalanceTitle);
    clearEntry();
    showBalance();
    return Go::stay();
}

void PaymentTab::chooseOldDebt()
{
    if (!m_cust) return;
    m_receivable->setText(QStringLiteral("0"));
    m_received->setText(QStringLiteral("0"));
    chain().reach(m_received);
    m_receivable->setEnabled(false);
}

void PaymentTab::chooseLate()
{
    if (!m_cust) return;
    m_receivable->setText(QStringLiteral("0"));
    chain().reach(m_receivable);
}

Go PaymentTab::record()
{
    if (!m_cust) return Go::stay();
    const double receivable = sales::parseMoney(m_receivable->text());
    const double received = sales::parseMoney(m_received->text());
    const double owed = sales::parseMoney(m_owed->text());
    if (!ask(QStringLiteral("确认否？"))) return Go::stay();
    m_written = Payments(session(), *ctx().clock, ctx().operatorCode).record(*m_cust, receivable, received, owed);
    // Posted once: the entry closes until the receipt is printed or another customer chosen.
    chain().reach(m_customer);
    m_oldDebt->setEnabled(false);
    m_late->setEnabled(false);
    showBalance();
    return Go::to(m_receipt);
}

void PaymentTab::printReceipt()
{
    if (!m_written) return;
    showDocument(ctx(), this, repaymentReceiptDocument(session(), m_written, ctx().clock->today()));
    m_written = 0;
    m_cust.reset();
    for (QLineEdit *e : {m_customer, m_region, m_name, m_balanceReceivable, m_balanceReceived, m_balanceOwed}) e->clear();
    m_balanceGroup->setTitle(kBalanceTitle);
    clearEntry();
    chain().reset();
}

} // namespace fm
