#include "sales/windows/combinedquerywindow.h"

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
#include <QVBoxLayout>

namespace fm {

namespace {

constexpr int kPrintLimit = 10000;

QList<GridColumn> lineColumns()
{
    QList<GridColumn> c = gridColumns({"客户代码", "地区", "客户名称", "产品代码", "产品名称", "规格", "销量(公斤)", "开票价",
                                       "金额", "日期", "退料数量", "退料金额", "操作员", "退料价"},
                                      {"khdm", "region", "khmc", "cpdm", "cpmc", "cpgg", "zznum", "zzjg", "zzje", "rq_1",
                                       "tlnum", "kpje", "czydm", "kpjg"});
    for (int i : {6, 7, 8, 10, 11, 13}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

CombinedQueryWindow::CombinedQueryWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("模糊查询窗口"));
    m_code = input("customer", 7);
    m_name = display("customerName");
    m_product = input("productCode", 20);
    m_productName = chooser("productName", QStringLiteral("名称"));
    m_spec = input("spec", 5);
    m_spec->setPlaceholderText(QStringLiteral("规格"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_category = chooser("category", QStringLiteral("产品类别"), true);
    m_from = input("from", 10);
    m_to = input("to", 10);
    for (QLineEdit *e : {m_from, m_to}) e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_query = button(QStringLiteral("开始查询"), "query", [this] { query(); });
    m_reset = button(QStringLiteral("查询复位"), "reset", [this] { resetConditions(); });
    m_print = button(QStringLiteral("打印"), "print", [this] { print(); });
    QPushButton *quit = button(QStringLiteral("结束"), "quit", [this] { accept(); });

    auto *fields = new QGroupBox(QStringLiteral("查询条件"), this);
    FieldGrid(fields, 2)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("产品代码："), m_product)
        .add(QStringLiteral("产品名称："), m_productName)
        .add(QStringLiteral("产品规格："), m_spec)
        .add(QStringLiteral("地    区："), m_region)
        .add(QStringLiteral("产品类别："), m_category)
        .newRow()
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    auto *totals = new QGroupBox(QStringLiteral("查询结果"), this);
    m_quantity = new QLabel(QStringLiteral("0"), totals);
    m_amount = new QLabel(QStringLiteral("0"), totals);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_amount->setObjectName(QStringLiteral("amount"));
    FieldGrid(totals, 1)
        .add(QStringLiteral("实际销量："), m_quantity, QStringLiteral("(吨)"))
        .add(QStringLiteral("实际金额："), m_amount, QStringLiteral("(万元)"));

    m_current = new Grid(lineColumns(), this, "current");
    m_history = new Grid(lineColumns(), this, "history");
    for (Grid *g : {m_current, m_history}) g->setStretchColumn(4);
    auto *currentBox = new QGroupBox(QStringLiteral("本期数据"), this);
    (new QVBoxLayout(currentBox))->addWidget(m_current);
    auto *historyBox = new QGroupBox(QStringLiteral("历史数据"), this);
    (new QVBoxLayout(historyBox))->addWidget(m_history);

    auto *right = new QVBoxLayout;
    right->addWidget(totals);
    right->addLayout(buttonColumn({m_query, m_reset, m_print, quit}));
    right->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(fields, 1);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(currentBox, 1);
    layout->addWidget(historyBox, 1);
    resize(1100, 760);

    // Every condition may be filled or left empty, in any order: Enter fills
    // what follows from a code and moves on, but locks nothing.
    const auto next = [](QWidget *w) { return [w] { EnterChain::focusField(w); }; };
    chain().on(m_code, [this] { enterCustomer(); });
    chain().on(m_product, [this] { enterProductCode(); });
    chain().on(m_productName, next(m_spec));
    chain().on(m_spec, next(m_region));
    chain().on(m_region, next(m_category));
    chain().on(m_category, [this] {
        this->conditions(); // an unknown category is refused here already
        EnterChain::focusField(m_from);
    });
    chain().on(m_from, next(m_to));
    chain().on(m_to, next(m_query));
    connect(m_productName, QOverload<int>::of(&QComboBox::activated), this,
            [this] { guarded([this] { chooseProductName(); }); });
}

void CombinedQueryWindow::activate()
{
    guarded([this] {
        SalesQueries s(session());
        fillRegionBox(m_region, s.regions());
        m_productName->clear();
        m_productName->addItems(s.productNames());
        m_category->clear();
        for (const SalesCategory &c : s.categories()) m_category->addItem(c.name, c.flag);
    });
    const QDate today = ctx().clock->today();
    m_from->setText(dateText(settlementPeriodOf(today).start));
    m_to->setText(dateText(today));
    resetConditions();
    m_current->clear();
    m_history->clear();
    m_shown.reset();
    m_quantity->setText(QStringLiteral("0"));
    m_amount->setText(QStringLiteral("0"));
    m_print->setEnabled(false);
}

void CombinedQueryWindow::resetConditions()
{
    for (QLineEdit *e : {m_code, m_name, m_product, m_spec}) e->clear();
    for (QComboBox *b : {m_productName, m_region}) b->setCurrentIndex(-1);
    m_category->setCurrentIndex(-1);
    m_category->setEditText(QString());
    EnterChain::focusField(m_code);
}

void CombinedQueryWindow::enterCustomer()
{
    if (m_code->text().trimmed().isEmpty()) {
        m_name->clear();
        EnterChain::focusField(m_product);
        return;
    }
    SalesQueries s(session());
    const std::optional<Customer> c = s.customer(m_code->text());
    if (!c) {
        m_name->clear();
        inform(QStringLiteral("查无此客户！"));
        EnterChain::focusField(m_code);
        return;
    }
    m_code->setText(c->code);
    m_name->setText(c->name);
    // The region the code's first two digits name.
    if (const std::optional<Region> r = s.regionOfCode(c->code)) m_region->setCurrentIndex(m_region->findText(r->name));
    EnterChain::focusField(m_product);
}

void CombinedQueryWindow::showProduct(const ProductChoice &p)
{
    m_product->setText(p.code);
    const int i = m_productName->findText(p.name);
    if (i >= 0) m_productName->setCurrentIndex(i);
    m_spec->setText(p.spec);
    m_category->setEditText(p.category);
}

void CombinedQueryWindow::enterProductCode()
{
    if (!m_product->text().trimmed().isEmpty()) {
        if (const std::optional<ProductChoice> p = SalesQueries(session()).productByCode(m_product->text())) showProduct(*p);
    }
    EnterChain::focusField(m_productName);
}

void CombinedQueryWindow::chooseProductName()
{
    if (m_productName->currentIndex() < 0) return;
    if (const std::optional<ProductChoice> p = SalesQueries(session()).productByName(m_productName->currentText()))
        showProduct(*p);
    EnterChain::focusField(m_spec);
}

CombinedQuery CombinedQueryWindow::conditions() const
{
    CombinedQuery q;
    q.customerCode = m_code->text();
    q.productCode = m_product->text();
    q.productName = m_productName->currentIndex() < 0 ? QString() : m_productName->currentText();
    q.spec = m_spec->text();
    q.region = chosenText(m_region);
    q.from = m_from->text();
    q.to = m_to->text();
    // The category is typed or chosen by name; its placeholder means none.
    CombinedQuery typed;
    typed.categoryFlag = m_category->currentText();
    const QString category = SalesQueries::withoutPlaceholders(typed).categoryFlag;
    if (!category.isEmpty()) {
        const std::optional<SalesCategory> c = SalesQueries(session()).category(category);
        if (!c) throw DomainError(QStringLiteral("产品类别错误！"));
        q.categoryFlag = c->flag;
    }
    return q;
}

void CombinedQueryWindow::query()
{
    CombinedQuery q = conditions();
    if (q.from.trimmed().isEmpty() || q.to.trimmed().isEmpty()) {
        EnterChain::focusField(q.from.trimmed().isEmpty() ? m_from : m_to);
        throw DomainError(QStringLiteral("请输入日期!"), ErrorCode::Incomplete);
    }
    std::tie(q.from, q.to) = SalesQueries::checkedRange(q.from, q.to);
    m_from->setText(q.from);
    m_to->setText(q.to);
    SalesQueries s(session());
    LineTotals total;
    for (bool history : {false, true}) {
        const LineTotals t = s.combinedTotals(q, history);
        Grid *g = history ? m_history : m_current;
        g->setPager(std::make_shared<RowPager>(session(), s.combined(q, history)));
        g->setRowTotal(t.rows);
        total.add(t);
    }
    m_quantity->setText(numberText(total.netTonnes()));
    m_amount->setText(numberText(total.netTenThousandYuan()));
    m_shown = q;
    m_shownRows = total.rows;
    m_print->setEnabled(true);
}

void CombinedQueryWindow::print()
{
    if (!m_shown) return;
    if (m_shownRows > kPrintLimit)
        throw DomainError(QStringLiteral("查询结果共%1行，太多，请缩小查询范围后再打印。").arg(m_shownRows));
    SalesQueries s(session());
    Rows rows = s.printRows(s.combined(*m_shown, false), kPrintLimit);
    const Rows archived = s.printRows(s.combined(*m_shown, true), kPrintLimit);
    rows.insert(rows.end(), archived.begin(), archived.end());
    showDocument(ctx(), this, salesQueryDocument(rows, chosenText(m_region), ctx().clock->today()));
}

} // namespace fm
