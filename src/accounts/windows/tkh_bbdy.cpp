#include "accounts/windows/tkh_bbdy.h"

#include "accounts/accountdocuments.h"
#include "accounts/statements.h"
#include "accounts/windows/datefield.h"
#include "common/dates.h"
#include "data/rowpager.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> fundColumns()
{
    QList<GridColumn> c = gridColumns({QStringLiteral("日期"), QStringLiteral("赊欠金额"), QStringLiteral("还款金额"),
                                       QStringLiteral("应付推广费")},
                                      {QStringLiteral("rq"), QStringLiteral("ysje"), QStringLiteral("sjje"), QStringLiteral("zzje")});
    for (int i = 1; i < c.size(); ++i) c[i].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

Tkh_bbdy::Tkh_bbdy(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_code(input("code", 7)),
      m_name(display("name")),
      m_region(display("region")),
      m_start(asDateInput(input("start", 10))),
      m_end(asDateInput(input("end", 10))),
      m_filter(button(QStringLiteral("数据筛选"), "filter")),
      m_print(button(QStringLiteral("打印"), "print")),
      m_grid(new Grid(fundColumns(), this, "funds"))
{
    setWindowTitle(QStringLiteral("客户对帐明细单打印"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_grid->setStretchColumn(3);

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 3);
    grid.add(QStringLiteral("客户代码："), m_code).add(QStringLiteral("客户名称："), m_name).add(QStringLiteral("地区名称："), m_region);
    grid.add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end).add(m_filter);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(720, 480);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_start, [this] {
            m_start->setText(dateText(checkTypedDate(m_start->text())));
            return Go::advance();
        })
        .step(m_end, [this] {
            m_end->setText(dateText(checkTypedDate(m_end->text())));
            return Go::advance();
        })
        .step(m_filter, [this] { return filter(); })
        .step(m_print, [this] { return print(); });
}

void Tkh_bbdy::activate()
{
    m_customer.reset();
    m_code->clear();
    m_name->clear();
    m_region->clear();
    m_grid->clear();
    chain().reset();
}

Go Tkh_bbdy::codeEntered()
{
    const auto c = findCustomer(session(), m_code->text());
    if (!c) return Go::stay();
    m_customer = c;
    m_code->setText(c->code);
    m_name->setText(c->name);
    m_region->setText(c->region);
    return Go::advance();
}

Go Tkh_bbdy::filter()
{
    if (!m_customer) return Go::to(m_code);
    m_from = checkTypedDate(m_start->text());
    m_to = checkTypedDate(m_end->text());
    m_grid->setPager(std::make_shared<RowPager>(session(), statementQuery(m_customer->code, m_from, m_to)));
    return Go::advance();
}

Go Tkh_bbdy::print()
{
    if (!m_customer) return Go::to(m_code);
    // The period printed is the one typed here, the rows' own.
    const Statement st = statementOf(session(), m_customer->code, m_from, m_to);
    const ArrearsAging aging = arrearsAging(session(), m_customer->code, m_to);
    showDocument(ctx(), this, statementOfAccountDocument(m_customer->name, m_from, m_to, st, aging));
    return Go::to(m_code);
}

} // namespace fm
