#include "sales/windows/fundsquerywindow.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "sales/salesqueries.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> fundsColumns()
{
    QList<GridColumn> c = gridColumns({"客户名称", "应收金额", "实收金额", "实际欠款", "日期", "数量(公斤)", "操作员", "地区",
                                       "说明", "客户代码"},
                                      {"khmc", "ysje", "sjje", "sqje", "rq", "sjxl", "czydm", "region", "sjdx", "khdm"});
    for (int i : {1, 2, 3, 5}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

FundsQueryWindow::FundsQueryWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("资金查询"));
    m_code = input("customer", 7);
    m_name = display("customerName");
    m_from = input("from", 10);
    m_to = input("to", 10);
    for (QLineEdit *e : {m_from, m_to}) e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    FieldGrid(conditions, 2)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("起始时间："), m_from)
        .add(QStringLiteral("截止时间："), m_to);
    auto *totals = new QGroupBox(QStringLiteral("金额总计"), this);
    m_receivable = new QLabel(QStringLiteral("0"), totals);
    m_received = new QLabel(QStringLiteral("0"), totals);
    m_receivable->setObjectName(QStringLiteral("receivable"));
    m_received->setObjectName(QStringLiteral("received"));
    FieldGrid(totals, 1)
        .add(QStringLiteral("应收金额："), m_receivable, QStringLiteral("(万元)"))
        .add(QStringLiteral("实付金额："), m_received, QStringLiteral("(万元)"));

    m_current = new Grid(fundsColumns(), this, "current");
    m_history = new Grid(fundsColumns(), this, "history");
    for (Grid *g : {m_current, m_history}) g->setStretchColumn(8);
    m_currentBox = new QGroupBox(QStringLiteral("本期数据"), this);
    (new QVBoxLayout(m_currentBox))->addWidget(m_current);
    m_historyBox = new QGroupBox(QStringLiteral("历史数据"), this);
    (new QVBoxLayout(m_historyBox))->addWidget(m_history);

    auto *top = new QHBoxLayout;
    top->addWidget(conditions, 3);
    top->addWidget(totals, 1);
    top->addLayout(buttonColumn({quit}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_currentBox, 1);
    layout->addWidget(m_historyBox, 1);
    resize(1000, 640);

    chain()
        .step(m_code, [this] { return enterCustomer(); }, {QString(), true, false, {}})
        .step(m_from,
              [this] {
                  emptyIfRefused(m_from, [this] {
                      const QDate d = parseDateText(m_from->text());
                      if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
                      m_from->setText(dateText(d));
                  });
                  return Go::advance();
              })
        .step(m_to, [this] { return query(); });
}

void FundsQueryWindow::activate()
{
    m_code->clear();
    m_name->clear();
    const QDate today = ctx().clock->today();
    m_from->setText(dateText(settlementPeriodOf(today).start));
    m_to->setText(dateText(today));
    m_current->clear();
    m_history->clear();
    m_currentBox->show();
    m_historyBox->hide();
    m_receivable->setText(QStringLiteral("0"));
    m_received->setText(QStringLiteral("0"));
    chain().reset();
}

Go FundsQueryWindow::enterCustomer()
{
    // No code: the funds rows of every customer.
    if (m_code->text().trimmed().isEmpty()) {
        m_name->clear();
        return Go::advance();
    }
    const std::optional<Customer> c = SalesQueries(session()).customer(m_code->text());
    if (!c) {
        m_name->clear();
        inform(QStringLiteral("查无此客户！"));
        return Go::stay();
    }
    m_code->setText(c->code);
    m_name->setText(c->name);
    return Go::advance();
}

Go FundsQueryWindow::query()
{
    const auto [from, to] = SalesQueries::checkedRange(m_from->text(), m_to->text());
    m_from->setText(from);
    m_to->setText(to);
    const QString code = m_name->text().isEmpty() ? QString() : m_code->text();
    SalesQueries s(session());
    const FundsTotals current = s.fundsTotals(code, from, to, false);
    const FundsTotals history = s.fundsTotals(code, from, to, true);
    m_current->setPager(std::make_shared<RowPager>(session(), s.funds(code, from, to, false)));
    m_current->setRowTotal(current.rows);
    m_history->setPager(std::make_shared<RowPager>(session(), s.funds(code, from, to, true)));
    m_history->setRowTotal(history.rows);
    // A list that is empty gives the other the whole height.
    m_currentBox->setVisible(current.rows > 0 || history.rows == 0);
    m_historyBox->setVisible(history.rows > 0);
    m_receivable->setText(numberText(current.receivable / 10000));
    m_received->setText(numberText(current.received / 10000));
    return Go::stay();
}

} // namespace fm
