#include "accounts/windows/historyquerywindow.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/numbertext.h"
#include "sales/salesqueries.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> lineColumns()
{
    QList<GridColumn> c = gridColumns({"开票日期", "产品名称", "规格", "政策价", "销量(公斤)", "开票价", "金额", "退料价",
                                       "退料数量", "退料金额", "客户名称", "退料日期", "地区", "操作员", "周转号码"},
                                      {"rq_1", "cpmc", "cpgg", "zcjg", "zznum", "zzjg", "zzje", "kpjg", "tlnum", "kpje",
                                       "khmc", "rq_2", "region", "czydm", "zzhm"});
    for (int i : {3, 4, 5, 6, 7, 8, 9}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

const QString kAllRegions = QStringLiteral("所有地区");

} // namespace

Tlssjcx::Tlssjcx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("历史数据查询"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_customer = chooser("customer", QStringLiteral("客户"));
    m_category = chooser("category", QStringLiteral("类别"));
    m_sales = new QRadioButton(QStringLiteral("销售"), this);
    m_returns = new QRadioButton(QStringLiteral("退料"), this);
    m_sales->setChecked(true);
    m_from = input("from", 10);
    m_to = input("to", 10);
    for (QLineEdit *e : {m_from, m_to}) e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_query = button(QStringLiteral("查询"), "query", [this] { query(); });
    // Printing was never part of this window; the button stays as it was, unused.
    m_print = button(QStringLiteral("打印"), "print");
    m_print->setEnabled(false);
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    auto *kinds = new QWidget(conditions);
    auto *kindsLayout = new QHBoxLayout(kinds);
    kindsLayout->setContentsMargins(0, 0, 0, 0);
    kindsLayout->addWidget(m_sales);
    kindsLayout->addWidget(m_returns);
    kindsLayout->addStretch();
    FieldGrid(conditions, 2)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户："), m_customer)
        .add(QStringLiteral("产品类别："), m_category)
        .add(kinds)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    auto *totals = new QGroupBox(QStringLiteral("合计"), this);
    m_quantity = new QLabel(QStringLiteral("0"), totals);
    m_amount = new QLabel(QStringLiteral("0"), totals);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_amount->setObjectName(QStringLiteral("amount"));
    FieldGrid(totals, 1)
        .add(QStringLiteral("合计数量："), m_quantity, QStringLiteral("(吨)"))
        .add(QStringLiteral("金额:"), m_amount, QStringLiteral("(万元)"));

    m_history = new Grid(lineColumns(), this, "history");
    m_current = new Grid(lineColumns(), this, "current");
    for (Grid *g : {m_history, m_current}) g->setStretchColumn(1);
    auto *historyBox = new QGroupBox(QStringLiteral("历史数据"), this);
    (new QVBoxLayout(historyBox))->addWidget(m_history);
    auto *currentBox = new QGroupBox(QStringLiteral("本期数据"), this);
    (new QVBoxLayout(currentBox))->addWidget(m_current);

    auto *top = new QHBoxLayout;
    top->addWidget(conditions, 3);
    top->addWidget(totals, 1);
    top->addLayout(buttonColumn({m_query, m_print, quit}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(historyBox, 3);
    layout->addWidget(currentBox, 2);
    resize(1100, 720);

    // The conditions may be set in any order; "查询" says what is missing.
    chain().on(m_from, [this] { EnterChain::focusField(m_to); });
    chain().on(m_to, [this] { EnterChain::focusField(m_query); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { chooseRegion(); }); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { EnterChain::focusField(m_from); });
    connect(m_category, QOverload<int>::of(&QComboBox::activated), this, [this] { EnterChain::focusField(m_from); });
}

void Tlssjcx::activate()
{
    guarded([this] {
        fillRegionBox(m_region, CustomerRegister(session()).regions());
        m_region->insertItem(0, kAllRegions, HistoryQuery::kAllRegions);
        m_region->setCurrentIndex(-1);
        m_category->clear();
        for (const SalesCategory &c : SalesQueries(session()).categories()) m_category->addItem(c.name, c.flag);
        m_category->setCurrentIndex(-1);
    });
    m_customer->clear();
    m_sales->setChecked(true);
    m_from->clear();
    m_to->clear();
    m_history->clear();
    m_current->clear();
    m_quantity->setText(QStringLiteral("0"));
    m_amount->setText(QStringLiteral("0"));
    m_region->setFocus();
}

void Tlssjcx::chooseRegion()
{
    m_customer->clear();
    const QString code = m_region->currentData().toString();
    if (code != HistoryQuery::kAllRegions)
        for (const Customer &c : CustomerRegister(session()).customersByCode(code)) m_customer->addItem(c.name, c.code);
    m_customer->setCurrentIndex(-1);
}

void Tlssjcx::query()
{
    HistoryQuery q;
    if (m_region->currentIndex() >= 0) {
        q.regionCode = m_region->currentData().toString();
        q.regionName = m_region->currentText();
    }
    if (m_customer->currentIndex() >= 0) q.customerCode = m_customer->currentData().toString();
    if (m_category->currentIndex() >= 0) q.categoryFlag = m_category->currentData().toString();
    q.returns = m_returns->isChecked();
    q.from = m_from->text();
    q.to = m_to->text();
    try {
        q = HistoryQueries::checked(q);
    } catch (const DomainError &e) {
        // A missing date: the start date takes the focus.
        if (e.code() == ErrorCode::Incomplete) {
            inform(e.message());
            EnterChain::focusField(m_from);
            return;
        }
        throw;
    }
    m_from->setText(q.from);
    m_to->setText(q.to);
    HistoryQueries h(session());
    const HistoryTotals t = h.totals(q);
    m_history->setPager(std::make_shared<RowPager>(session(), h.lines(q, true)));
    m_history->setRowTotal(t.historyRows);
    m_current->setPager(std::make_shared<RowPager>(session(), h.lines(q, false)));
    m_current->setRowTotal(t.currentRows);
    m_quantity->setText(numberText(t.tonnes()));
    m_amount->setText(numberText(t.tenThousandYuan()));
}

} // namespace fm
