#include "sales/windows/paymenttab.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/payments.h"
#include "sales/returns.h"
#include "sales/salesdocuments.h"
#include "shell/windows/windowregistry.h"
#include "ui/enterchain.h"
#include "ui/prompter.h"
#include "ui/reporting.h"
#include "ui/layouts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kBadNumber = QStringLiteral("请输入正确的数字！");

QLineEdit *field(QWidget *parent, bool readOnly)
{
    auto *e = new QLineEdit(parent);
    e->setReadOnly(readOnly);
    return e;
}

void addAmountRow(QGridLayout *g, int row, const QString &label, QLineEdit *e, QWidget *parent)
{
    g->addWidget(new QLabel(label, parent), row, 0);
    g->addWidget(e, row, 1);
    g->addWidget(new QLabel(QStringLiteral("(元)"), parent), row, 2);
}

} // namespace

PaymentTab::PaymentTab(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_enter(new EnterChain(this))
{
    m_customer = field(this, false);
    m_customer->setMaxLength(7);
    m_region = field(this, true);
    m_name = field(this, true);
    m_customers = new QPushButton(QStringLiteral("客户"), this);
    auto *choose = new QGroupBox(QStringLiteral("选择客户"), this);
    auto *cg = new QGridLayout(choose);
    cg->addWidget(new QLabel(QStringLiteral("客户代码："), choose), 0, 0);
    cg->addWidget(m_customer, 0, 1);
    cg->addWidget(m_customers, 0, 2);
    cg->addWidget(new QLabel(QStringLiteral("地    区："), choose), 1, 0);
    cg->addWidget(m_region, 1, 1, 1, 2);
    cg->addWidget(new QLabel(QStringLiteral("客户简称："), choose), 2, 0);
    cg->addWidget(m_name, 2, 1, 1, 2);

    m_balanceReceivable = field(this, true);
    m_balanceReceived = field(this, true);
    m_balanceOwed = field(this, true);
    m_balanceGroup = new QGroupBox(QStringLiteral("客户欠款情况显示"), this);
    auto *bg = new QGridLayout(m_balanceGroup);
    addAmountRow(bg, 0, QStringLiteral("应收金额："), m_balanceReceivable, m_balanceGroup);
    addAmountRow(bg, 1, QStringLiteral("实收金额："), m_balanceReceived, m_balanceGroup);
    addAmountRow(bg, 2, QStringLiteral("实欠金额："), m_balanceOwed, m_balanceGroup);

    m_oldDebt = new QRadioButton(QStringLiteral("回旧款"), this);
    m_late = new QRadioButton(QStringLiteral("客户回款补遗"), this);
    auto *kind = new QGroupBox(QStringLiteral("回款选择"), this);
    auto *kg = new QVBoxLayout(kind);
    kg->addWidget(m_oldDebt);
    kg->addWidget(m_late);
    kg->addStretch();

    m_receivable = field(this, false);
    m_received = field(this, false);
    m_owed = field(this, false);
    auto *entry = new QGroupBox(QStringLiteral("客户回款窗口："), this);
    auto *eg = new QGridLayout(entry);
    addAmountRow(eg, 0, QStringLiteral("应收金额："), m_receivable, entry);
    addAmountRow(eg, 1, QStringLiteral("实收金额："), m_received, entry);
    addAmountRow(eg, 2, QStringLiteral("实欠金额："), m_owed, entry);

    m_receipt = new QPushButton(QStringLiteral("打印收款单"), this);
    m_quit = new QPushButton(QStringLiteral("退出"), this);
    QHBoxLayout *buttons = buttonRow({m_receipt, m_quit});

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
    layout->addLayout(buttons);

    m_enter->on(m_customer, [this] { enterCustomer(); });
    m_enter->on(m_receivable, [this] {
        if (m_receivable->text().trimmed().isEmpty()) m_receivable->setText(QStringLiteral("0"));
        EnterChain::advance(m_received);
    });
    m_enter->on(m_received, [this] {
        if (m_received->text().trimmed().isEmpty()) return;
        EnterChain::advance(m_owed);
    });
    m_enter->on(m_owed, [this] { record(); });
    connect(m_oldDebt, &QRadioButton::clicked, this, &PaymentTab::chooseOldDebt);
    connect(m_late, &QRadioButton::clicked, this, &PaymentTab::chooseLate);
    connect(m_receipt, &QPushButton::clicked, this, &PaymentTab::printReceipt);
    connect(m_customers, &QPushButton::clicked, this, [this] {
        if (m_ctx.windows) m_ctx.windows->open(25);
    });
    clearEntry();
}

void PaymentTab::clearEntry()
{
    for (QLineEdit *e : {m_receivable, m_received, m_owed}) {
        e->setText(QStringLiteral("0"));
        e->setEnabled(false);
    }
    m_oldDebt->setEnabled(m_cust.has_value());
    m_late->setEnabled(m_cust.has_value());
    m_receipt->setEnabled(false);
}

void PaymentTab::showBalance()
{
    Balance b;
    if (m_cust)
        guardedCall(*m_ctx.prompter, this, [&] { b = Payments(*m_ctx.session, *m_ctx.clock, m_ctx.operatorCode).balance(m_cust->code); });
    m_balanceReceivable->setText(numberText(b.receivable));
    m_balanceReceived->setText(numberText(b.received));
    m_balanceOwed->setText(numberText(b.owed()));
}

void PaymentTab::enterCustomer()
{
    if (m_customer->text().trimmed().isEmpty()) return;
    std::optional<SalesCustomer> c;
    guardedCall(*m_ctx.prompter, this, [&] {
        c = Returns(*m_ctx.session, *m_ctx.clock, m_ctx.operatorCode).customer(m_customer->text());
    });
    // No payment is taken for a code that is not a customer.
    m_cust = c;
    m_written = 0;
    m_region->setText(c ? c->region : QString());
    m_name->setText(c ? c->name : QString());
    if (c) {
        m_customer->setText(c->code);
        m_balanceGroup->setTitle(Payments(*m_ctx.session, *m_ctx.clock, m_ctx.operatorCode).balanceCaption());
    } else {
        m_balanceGroup->setTitle(QStringLiteral("客户欠款情况显示"));
    }
    showBalance();
    m_oldDebt->setAutoExclusive(false);
    m_oldDebt->setChecked(false);
    m_late->setChecked(false);
    m_oldDebt->setAutoExclusive(true);
    clearEntry();
}

void PaymentTab::chooseOldDebt()
{
    if (!m_cust) return;
    m_receivable->setText(QStringLiteral("0"));
    m_receivable->setEnabled(false);
    m_received->setText(QStringLiteral("0"));
    EnterChain::advance(m_received);
}

void PaymentTab::chooseLate()
{
    if (!m_cust) return;
    m_receivable->setText(QStringLiteral("0"));
    EnterChain::advance(m_receivable);
}

void PaymentTab::record()
{
    if (!m_cust || m_owed->text().trimmed().isEmpty()) return;
    double receivable = 0, received = 0, owed = 0;
    if (!parseNumber(m_receivable->text(), &receivable) || !parseNumber(m_received->text(), &received)
        || !parseNumber(m_owed->text(), &owed)) {
        m_ctx.prompter->inform(this, kBadNumber);
        return;
    }
    if (!m_ctx.prompter->ask(this, QStringLiteral("确认否？"))) return;
    qint64 id = 0;
    if (!guardedCall(*m_ctx.prompter, this, [&] {
            id = Payments(*m_ctx.session, *m_ctx.clock, m_ctx.operatorCode).record(*m_cust, receivable, received, owed);
        }))
        return;
    // Posted once: the entry closes until the receipt is printed or another customer chosen.
    m_written = id;
    for (QLineEdit *e : {m_receivable, m_received, m_owed}) e->setEnabled(false);
    m_oldDebt->setEnabled(false);
    m_late->setEnabled(false);
    showBalance();
    m_receipt->setEnabled(true);
    m_receipt->setFocus();
}

void PaymentTab::printReceipt()
{
    if (!m_written) return;
    guardedCall(*m_ctx.prompter, this, [&] {
        showDocument(m_ctx, this, repaymentReceiptDocument(*m_ctx.session, m_written, m_ctx.clock->today()));
    });
    m_written = 0;
    m_cust.reset();
    for (QLineEdit *e : {m_customer, m_region, m_name}) e->clear();
    for (QLineEdit *e : {m_balanceReceivable, m_balanceReceived, m_balanceOwed}) e->clear();
    m_balanceGroup->setTitle(QStringLiteral("客户欠款情况显示"));
    clearEntry();
    m_customer->setFocus();
}

} // namespace fm
