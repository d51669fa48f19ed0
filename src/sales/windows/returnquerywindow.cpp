#include "sales/windows/returnquerywindow.h"

#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "sales/salesquerydocuments.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

constexpr int kPrintLimit = 10000;

QList<GridColumn> returnColumns()
{
    QList<GridColumn> c = gridColumns({"地区", "客户名称", "产品名称", "规格", "退料数量", "退料价格", "金额", "操作员",
                                       "开票日期", "退料日期"},
                                      {"region", "khmc", "cpmc", "cpgg", "tlnum", "tlprice", "tlje", "czydm", "kprq", "tlrq"});
    for (int i : {4, 5, 6}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

ReturnQueryWindow::ReturnQueryWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("退料查询"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_customer = chooser("customer", QStringLiteral("客户"));
    m_byInvoice = new QRadioButton(QStringLiteral("按开票日期查询"), this);
    m_byReturn = new QRadioButton(QStringLiteral("按退料日期查询"), this);
    m_byInvoice->setChecked(true);
    m_from = input("from", 10);
    m_to = input("to", 10);
    for (QLineEdit *e : {m_from, m_to}) e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_query = button(QStringLiteral("查询"), "query", [this] { query(); });
    m_print = button(QStringLiteral("打印"), "print", [this] { print(); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    FieldGrid(conditions, 2)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户："), m_customer)
        .add(m_byInvoice)
        .add(m_byReturn)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    auto *totals = new QGroupBox(QStringLiteral("合计"), this);
    m_quantity = new QLabel(QStringLiteral("0"), totals);
    m_amount = new QLabel(QStringLiteral("0"), totals);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_amount->setObjectName(QStringLiteral("amount"));
    FieldGrid(totals, 1).add(QStringLiteral("退料数量(吨):"), m_quantity).add(QStringLiteral("金额(元):"), m_amount);

    m_grid = new Grid(returnColumns(), this, "returns");
    m_grid->setStretchColumn(2);

    auto *top = new QHBoxLayout;
    top->addWidget(conditions, 3);
    top->addWidget(totals, 1);
    top->addLayout(buttonColumn({m_query, m_print, quit}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    resize(980, 600);

    // The conditions may be set in any order; Enter in the end date queries.
    chain().on(m_from, [this] {
        emptyIfRefused(m_from, [this] {
            const QDate d = parseDateText(m_from->text());
            if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
            m_from->setText(dateText(d));
        });
        EnterChain::focusField(m_to);
    });
    chain().on(m_to, [this] { query(); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { chooseRegion(); }); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { EnterChain::focusField(m_from); });
}

void ReturnQueryWindow::activate()
{
    guarded([this] { fillRegionBox(m_region, SalesQueries(session()).regions()); });
    m_customer->clear();
    const QDate today = ctx().clock->today();
    m_from->setText(dateText(settlementPeriodOf(today).start));
    m_to->setText(dateText(today));
    m_byInvoice->setChecked(true);
    m_grid->clear();
    m_shown.reset();
    m_quantity->setText(QStringLiteral("0"));
    m_amount->setText(QStringLiteral("0"));
    m_print->setEnabled(false);
    EnterChain::focusField(m_from);
}

void ReturnQueryWindow::chooseRegion()
{
    m_customer->clear();
    const QString code = m_region->currentData().toString();
    for (const Customer &c : CustomerRegister(session()).customersByCode(code)) m_customer->addItem(c.name, c.code);
    m_customer->setCurrentIndex(-1);
    EnterChain::focusField(m_from);
}

void ReturnQueryWindow::query()
{
    const auto [from, to] = SalesQueries::checkedRange(m_from->text(), m_to->text());
    ReturnQuery q;
    q.region = chosenText(m_region);
    q.customerCode = m_customer->currentIndex() < 0 ? QString() : m_customer->currentData().toString();
    q.byReturnDate = m_byReturn->isChecked();
    q.from = from;
    q.to = to;
    m_from->setText(from);
    m_to->setText(to);
    SalesQueries s(session());
    const ReturnQueryTotals t = s.returnTotals(q);
    m_shown = s.returns(q);
    m_grid->setPager(std::make_shared<RowPager>(session(), *m_shown));
    m_grid->setRowTotal(t.rows);
    m_quantity->setText(numberText(t.kilograms / 1000));
    m_amount->setText(numberText(t.amount));
    m_print->setEnabled(true);
    EnterChain::focusField(m_grid->view());
}

void ReturnQueryWindow::print()
{
    if (!m_shown) return;
    const Rows rows = SalesQueries(session()).printRows(*m_shown, kPrintLimit);
    showDocument(ctx(), this, returnQueryDocument(rows, ctx().clock->today()));
}

} // namespace fm
