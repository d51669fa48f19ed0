#include "accounts/windows/tkhjs_bb.h"

#include "accounts/accountdocuments.h"
#include "accounts/statements.h"
#include "accounts/windows/datefield.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tkhjs_bb::Tkhjs_bb(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_region(chooser("region", QStringLiteral("地区"))),
      m_name(chooser("name", QStringLiteral("名称"))),
      m_code(input("code", 7)),
      m_start(asDateInput(input("start", 10))),
      m_end(asDateInput(input("end", 10))),
      m_filter(button(QStringLiteral("数据筛选"), "filter")),
      m_print(button(QStringLiteral("打印报表"), "print")),
      m_grid(new Grid({QStringLiteral("地区"), QStringLiteral("客户名称"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                       QStringLiteral("实际销量"), QStringLiteral("票面金额"), QStringLiteral("政策金额"),
                       QStringLiteral("应付推广费"), QStringLiteral("起始日期"), QStringLiteral("截止日期")},
                      this, "lines"))
{
    setWindowTitle(QStringLiteral("客户结算打印"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_grid->setStretchColumn(2);

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 3);
    grid.add(QStringLiteral("地区："), m_region).add(QStringLiteral("客户名称："), m_name).add(QStringLiteral("客户代码："), m_code);
    grid.add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end).add(m_filter);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(labelFor(QStringLiteral("客户结算名细清单："), m_grid, this));
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(900, 520);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_start, [this] {
            m_from = checkTypedDate(m_start->text());
            m_start->setText(dateText(m_from));
            return Go::advance();
        })
        .step(m_end, [this] {
            if (!EnterChain::isBlank(m_end)) m_end->setText(dateText(checkTypedDate(m_end->text())));
            return Go::advance();
        }, StepOptions{QString(), true, false, {}})
        .step(m_filter, [this] { return filter(); })
        .step(m_print, [this] {
            const QString name = m_customer ? m_customer->name : QString();
            showDocument(this->ctx(), this, settlementListDocument(name, m_from, m_to, m_lines, this->ctx().clock->today()));
            return Go::stay();
        });

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    chain().on(m_region, [this] { regionChosen(); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { nameChosen(); }); });
    chain().on(m_name, [this] { nameChosen(); });
}

void Tkhjs_bb::activate()
{
    m_customer.reset();
    m_lines.clear();
    m_grid->clear();
    m_code->clear();
    m_start->clear();
    m_end->clear();
    m_name->clear();
    m_region->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    chain().reset();
}

void Tkhjs_bb::regionChosen()
{
    const int index = m_region->currentIndex();
    if (index < 0) return;
    m_name->clear();
    for (const Customer &c : CustomerRegister(session()).customersByCode(m_region->itemData(index).toString()))
        m_name->addItem(c.name, c.code);
    m_name->setCurrentIndex(-1);
    m_name->setFocus();
}

void Tkhjs_bb::nameChosen()
{
    const int index = m_name->currentIndex();
    if (index < 0) return;
    const auto c = findCustomer(session(), m_name->itemData(index).toString());
    if (!c) return;
    m_customer = c;
    m_code->setText(c->code);
    chain().reach(m_start);
}

void Tkhjs_bb::showCustomer(const Customer &c)
{
    m_customer = c;
    m_code->setText(c.code);
    m_region->setCurrentIndex(m_region->findText(c.region));
    if (m_region->currentIndex() >= 0) regionChosen();
    int n = m_name->findData(c.code);
    if (n < 0) {
        m_name->addItem(c.name, c.code);
        n = m_name->count() - 1;
    }
    m_name->setCurrentIndex(n);
}

Go Tkhjs_bb::codeEntered()
{
    const auto c = findCustomer(session(), m_code->text());
    if (!c) return Go::stay();
    showCustomer(*c);
    return Go::advance();
}

Go Tkhjs_bb::filter()
{
    if (!m_customer) return Go::to(m_code);
    if (EnterChain::isBlank(m_end)) m_end->setText(dateText(ctx().clock->today()));
    m_from = checkTypedDate(m_start->text());
    m_to = checkTypedDate(m_end->text());
    m_lines = Settlement(session()).linesWithin(m_customer->code, m_from, m_to);
    std::vector<GridRow> rows;
    for (const SettlementLine &l : m_lines)
        rows.push_back({l.id,
                        {l.region, l.customerName, l.productName, l.spec, money::stored(l.quantity),
                         money::stored(l.faceAmount), money::stored(l.policyAmount), money::stored(l.fee), l.start, l.end}});
    m_grid->setRows(std::move(rows));
    return Go::advance();
}

} // namespace fm
