#include "pricing/windows/txg_lscb.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/costdocuments.h"
#include "pricing/costprocessing.h"
#include "pricing/windows/costfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

} // namespace

Txg_lscb::Txg_lscb(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("成本价格修改--历史数据"));
    m_start = dateField(input("start"));
    m_end = dateField(input("end"));
    m_query = button(QStringLiteral("查询"), "query");
    m_belowCost = button(QStringLiteral("政策价小于成本价"), "belowCost", [this] {
        m_belowCostOnly = true;
        reload();
    });
    m_clear = button(QStringLiteral("历史成本价格清零"), "clear", [this] { clearCosts(); });
    m_print = button(QStringLiteral("打印"), "print", [this] {
        showDocument(this->ctx(), this,
                     historicalCostTable(CostHistory(session()).lines(start(), end(), m_belowCostOnly, m_sortColumn,
                                                                      m_descending)));
    });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] {
        clearPanel();
        accept();
    });

    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("客户名称", "khmc"), column("产品名称", "cpmc"), column("规格", "cpgg"),
                       column("成本价", "cbjg", N), column("政策价", "zcjg", N), column("实际销量", "zznum", N),
                       column("退料价", "kpjg", N), column("退料数量", "tlnum", N), column("退料金额", "kpje", N),
                       column("开票日期", "rq_1"), column("退料日期", "rq_2"), column("产品代码", "cpdm"),
                       column("地区", "region"), column("客户代码", "khdm"), column("操作员", "czydm"),
                       column("周转号", "zzhm")},
                      this, "lines");
    m_grid->setStretchColumn(1);
    // The four sortable titles ask first, and the order stays for every reload.
    m_grid->setSortOnTitleClick(false);

    m_product = display("product");
    m_spec = display("spec");
    m_invoice = display("invoicePrice");
    m_policy = display("policyPrice");
    m_cost = input("cost", 14);
    for (QLineEdit *e : {m_invoice, m_policy, m_cost}) e->setAlignment(Qt::AlignRight);
    m_confirm = button(QStringLiteral("确认"), "confirm");

    auto *dates = new QHBoxLayout;
    dates->addWidget(labelFor(QStringLiteral("起始日期："), m_start, this));
    dates->addWidget(m_start);
    dates->addSpacing(16);
    dates->addWidget(labelFor(QStringLiteral("截止日期："), m_end, this));
    dates->addWidget(m_end);
    dates->addStretch();
    dates->addLayout(buttonRow({m_query, m_belowCost, m_clear, m_print, quit}));

    auto *panel = new QGroupBox(QStringLiteral("成本价格修改"), this);
    FieldGrid(panel, 3)
        .add(QStringLiteral("产品名称："), m_product)
        .add(QStringLiteral("产品规格："), m_spec, QStringLiteral("公斤/包"))
        .add(QStringLiteral("开票价格："), m_invoice, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("政策价格："), m_policy, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("成本价格："), m_cost, QStringLiteral("(元/吨)"))
        .add(m_confirm);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(m_grid, 1);
    layout->addWidget(panel);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1100, 640);

    chain()
        .step(m_start,
              [this] {
                  CostProcessing::parseDate(m_start->text());
                  m_end->setText(dateText(this->ctx().clock->today()));
                  return Go::advance();
              })
        .step(m_end,
              [this] {
                  CostProcessing::checkRange(start(), end());
                  return Go::advance();
              })
        .step(
            m_query,
            [this] {
                m_belowCostOnly = false;
                reload();
                return Go::done();
            },
            StepOptions{QString(), false, false, {m_belowCost, m_clear, m_print}})
        .step(
            m_cost,
            [this] {
                CostHistory::parseCost(m_cost->text());
                return Go::advance();
            },
            StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_confirm, [this] { return confirm(); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { rowClicked(id); }); });
    connect(m_grid->view()->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { guarded([&] { titleClicked(section); }); });
}

void Txg_lscb::activate()
{
    m_start->clear();
    m_end->clear();
    m_grid->clear();
    m_belowCostOnly = false;
    m_sortColumn.clear();
    m_descending = false;
    clearPanel();
    chain().reset();
}

QDate Txg_lscb::start() const
{
    return CostProcessing::parseDate(m_start->text());
}

QDate Txg_lscb::end() const
{
    return CostProcessing::parseDate(m_end->text());
}

void Txg_lscb::reload()
{
    m_grid->setPager(std::make_shared<RowPager>(
        session(), CostHistory(session()).linesQuery(start(), end(), m_belowCostOnly, m_sortColumn, m_descending)));
    if (m_line) m_grid->selectId(m_line->id);
}

void Txg_lscb::titleClicked(int section)
{
    const QString title = m_grid->title(section);
    const QString column = CostHistory::sortColumnOfTitle(title);
    if (column.isEmpty() || !m_query->isEnabled()) return;
    m_descending = ask(CostHistory::sortQuestion(title));
    m_sortColumn = column;
    reload();
}

void Txg_lscb::rowClicked(qint64 id)
{
    m_line = CostHistory(session()).line(id);
    if (!m_line) {
        clearPanel();
        return;
    }
    m_product->setText(m_line->cpmc);
    m_spec->setText(m_line->cpgg);
    m_invoice->setText(numberText(m_line->zzjg));
    m_policy->setText(numberText(m_line->zcjg));
    m_cost->setText(numberText(m_line->cbjg));
    chain().reach(m_cost);
}

Go Txg_lscb::confirm()
{
    if (!m_line) return Go::stay();
    const double cost = CostHistory::parseCost(m_cost->text());
    // Every line of the product within the dates takes the new cost.
    const bool writeBack = ask(CostHistory::kWriteBack);
    CostHistory(session()).setCost(m_line->cpdm, start(), end(), cost, writeBack);
    reload();
    clearPanel();
    chain().reach(m_query);
    return Go::done();
}

void Txg_lscb::clearCosts()
{
    const QDate s = start(), e = end();
    if (!ask(CostHistory::kClearQuestion)) {
        inform(CostHistory::kClearDeclined);
        return;
    }
    CostHistory(session()).clearCosts(s, e);
    inform(CostHistory::kCleared);
    reload();
}

void Txg_lscb::clearPanel()
{
    m_line.reset();
    for (QLineEdit *e : {m_product, m_spec, m_invoice, m_policy, m_cost}) e->clear();
    m_cost->setEnabled(false);
    m_confirm->setEnabled(false);
}

} // namespace fm
