#include "pricing/windows/tzx_cbsj.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/dates.h"
#include "pricing/costdocuments.h"
#include "pricing/costprocessing.h"
#include "pricing/windows/costfields.h"
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

QList<GridColumn> lineColumns()
{
    const auto T = GridColumn::Kind::Text, N = GridColumn::Kind::Number;
    return {{QStringLiteral("客户名称"), QStringLiteral("khmc"), T}, {QStringLiteral("产品名称"), QStringLiteral("cpmc"), T},
            {QStringLiteral("规格"), QStringLiteral("cpgg"), T},     {QStringLiteral("实际销量"), QStringLiteral("zznum"), N},
            {QStringLiteral("开票价格"), QStringLiteral("zzjg"), N}, {QStringLiteral("政策价格"), QStringLiteral("zcjg"), N},
            {QStringLiteral("成本价格"), QStringLiteral("cbjg"), N}, {QStringLiteral("退料数量"), QStringLiteral("tlnum"), N},
            {QStringLiteral("日期"), QStringLiteral("rq_1"), T},     {QStringLiteral("地区"), QStringLiteral("region"), T},
            {QStringLiteral("产品代码"), QStringLiteral("cpdm"), T}, {QStringLiteral("客户代码"), QStringLiteral("khdm"), T}};
}

QGroupBox *part(const QString &title, Grid *grid, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(6, 6, 6, 6);
    l->addWidget(grid);
    return box;
}

} // namespace

Tzx_cbsj::Tzx_cbsj(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("成本数据查询"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_name = chooser("customerName", QStringLiteral("名称"));
    m_name->setMinimumWidth(180);
    m_start = dateField(input("start"));
    m_end = dateField(input("end"));
    m_current = new Grid(lineColumns(), this, "currentLines");
    m_history = new Grid(lineColumns(), this, "historyLines");
    m_current->setStretchColumn(1);
    m_history->setStretchColumn(1);
    m_currentPart = part(QStringLiteral("本期数据"), m_current, this);
    m_historyPart = part(QStringLiteral("历史数据"), m_history, this);
    m_print = button(QStringLiteral("历史成本打印"), "print");
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QHBoxLayout;
    fields->addWidget(labelFor(QStringLiteral("地区："), m_region, this));
    fields->addWidget(m_region);
    fields->addSpacing(12);
    fields->addWidget(labelFor(QStringLiteral("姓名："), m_name, this));
    fields->addWidget(m_name);
    fields->addSpacing(12);
    fields->addWidget(labelFor(QStringLiteral("起始日期："), m_start, this));
    fields->addWidget(m_start);
    fields->addSpacing(12);
    fields->addWidget(labelFor(QStringLiteral("截止日期："), m_end, this));
    fields->addWidget(m_end);
    fields->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_currentPart, 1);
    layout->addWidget(m_historyPart, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1040, 660);

    chain()
        .step(m_region,
              [this] {
                  regionChosen();
                  return Go::advance();
              })
        .step(m_name, [] { return Go::advance(); })
        // An empty start is the first day of this month, an empty end today.
        .step(
            m_start,
            [this] {
                if (m_start->text().trimmed().isEmpty()) {
                    const QDate today = this->ctx().clock->today();
                    m_start->setText(dateText(QDate(today.year(), today.month(), 1)));
                }
                CostProcessing::parseDate(m_start->text());
                return Go::advance();
            },
            StepOptions{QString(), true, false, {}})
        .step(
            m_end,
            [this] {
                if (m_end->text().trimmed().isEmpty()) m_end->setText(dateText(this->ctx().clock->today()));
                query();
                return Go::advance();
            },
            StepOptions{QString(), true, false, {}})
        .step(m_print, [this] {
            const QDate start = CostProcessing::parseDate(m_start->text());
            const QDate end = CostProcessing::parseDate(m_end->text());
            showDocument(this->ctx(), this,
                         customerCostPrices(CostProcessing(session(), this->ctx().workstation)
                                                .customerLines(chosenCode(m_name), start, end)));
            return Go::stay();
        });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_name); });
}

void Tzx_cbsj::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_name->clear();
    m_start->clear();
    m_end->clear();
    m_current->clear();
    m_history->clear();
    m_currentPart->show();
    m_historyPart->show();
    chain().reset();
}

void Tzx_cbsj::regionChosen()
{
    fillCustomerBox(m_name, CustomerRegister(session()).customersByCode(m_region->currentData().toString()));
    m_current->clear();
    m_history->clear();
}

void Tzx_cbsj::query()
{
    const QDate start = CostProcessing::parseDate(m_start->text());
    const QDate end = CostProcessing::parseDate(m_end->text());
    CostProcessing::checkRange(start, end);
    CostProcessing costs(session(), ctx().workstation);
    const QString code = chosenCode(m_name);
    const bool current = costs.hasLines(code, start, end, false);
    const bool history = costs.hasLines(code, start, end, true);
    m_current->setPager(std::make_shared<RowPager>(session(), costs.customerLinesQuery(code, start, end, false)));
    m_history->setPager(std::make_shared<RowPager>(session(), costs.customerLinesQuery(code, start, end, true)));
    // A part with lines takes the whole window when the other has none.
    m_currentPart->setVisible(current || !history);
    m_historyPart->setVisible(history || !current);
}

} // namespace fm
