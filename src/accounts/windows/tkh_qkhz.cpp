#include "accounts/windows/tkh_qkhz.h"

#include "accounts/accountdocuments.h"
#include "accounts/statements.h"
#include "accounts/windows/datefield.h"
#include "accounts/windows/thzll.h"
#include "common/clock.h"
#include "common/dates.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tkh_qkhz::Tkh_qkhz(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_code(input("code", 7)),
      m_name(display("name")),
      m_region(display("region")),
      m_cutOff(asDateInput(input("cutOff", 10))),
      m_summary(button(QStringLiteral("开始汇总"), "summary")),
      m_browse(button(QStringLiteral("浏览"), "browse", [this] { browseAll(); })),
      m_print(button(QStringLiteral("打印"), "print")),
      m_browser(new Thzll(ctx, this))
{
    setWindowTitle(QStringLiteral("客户欠款汇总打印"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 1);
    grid.add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("截止日期："), m_cutOff);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addStretch();
    layout->addLayout(buttonRow({m_summary, m_browse, m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(460, 240);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_cutOff, [this] {
            if (!EnterChain::isBlank(m_cutOff)) m_cutOff->setText(dateText(checkTypedDate(m_cutOff->text())));
            return Go::advance();
        }, StepOptions{QString(), true, false, {}})
        .step(m_summary, [this] { return summarise(); })
        .step(m_print, [this] {
            const AppContext &c = this->ctx();
            showDocument(this->ctx(), this, arrearsStatementDocument(c.qymc, m_printName, m_printAmount, c.clock->today()));
            return Go::to(m_code);
        });
}

void Tkh_qkhz::activate()
{
    m_customer.reset();
    for (QLineEdit *e : {m_code, m_name, m_region, m_cutOff}) e->clear();
    m_summary->setText(QStringLiteral("开始汇总"));
    m_browse->setEnabled(false);
    chain().reset();
}

Go Tkh_qkhz::codeEntered()
{
    m_summary->setText(QStringLiteral("开始汇总"));
    const auto c = findCustomer(session(), m_code->text());
    m_browse->setEnabled(c.has_value());
    if (!c) return Go::stay();
    m_customer = c;
    m_code->setText(c->code);
    m_name->setText(c->name);
    m_region->setText(c->region);
    m_cutOff->setText(dateText(ctx().clock->today()));
    return Go::advance();
}

// What the statement prints: the figure and the name of the records the
// browser showed last, for the customer shown.
void Tkh_qkhz::browsed()
{
    m_printAmount = m_browser->totals().actual();
    const auto &records = m_browser->records();
    m_printName = records.empty() ? m_customer->name : records.back().name;
    if (m_printName.isEmpty()) m_printName = m_customer->name;
}

Go Tkh_qkhz::summarise()
{
    if (!m_customer) return Go::to(m_code);
    if (EnterChain::isBlank(m_cutOff)) m_cutOff->setText(dateText(ctx().clock->today()));
    const QString cutOff = dateText(checkTypedDate(m_cutOff->text()));
    m_browser->browse({m_customer->code, cutOff});
    browsed();
    m_summary->setText(QStringLiteral("汇总结束"));
    return Go::advance();
}

void Tkh_qkhz::browseAll()
{
    if (!m_customer) return;
    m_browser->browse({m_customer->code, QString()});
    browsed();
    chain().reach(m_print);
}

} // namespace fm
