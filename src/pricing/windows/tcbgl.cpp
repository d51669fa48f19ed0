#include "pricing/windows/tcbgl.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "pricing/costdocuments.h"
#include "pricing/windows/costfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

} // namespace

Tcbgl::Tcbgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("成本数据处理"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_start = dateField(input("start"));
    m_end = dateField(input("end"));
    m_profit = display("grossProfit");
    m_profit->setAlignment(Qt::AlignRight);
    m_profit->setMinimumWidth(160);

    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("产品名称", "cpmc"), column("规格", "cpgg"), column("实际销量", "zznum", N),
                       column("开票价", "zzjg", N), column("政策价", "zcjg", N), column("成本价", "cbjg", N),
                       column("退料价", "kpjg", N), column("退料数量", "tlnum", N), column("退料金额", "kpje", N),
                       column("客户名称", "khmc"), column("地区", "region"), column("操作员", "czydm"),
                       column("包数", "sjbs", N), column("开票日期", "rq_1")},
                      this, "salesLines");
    m_grid->setStretchColumn(0);

    m_process = button(QStringLiteral("开始处理"), "process");
    m_print = button(QStringLiteral("打印报表"), "print", [this] {
        showDocument(this->ctx(), this,
                     regionalCostSheet(costs().regionRows(m_processed, true), this->ctx().qymc, m_processed,
                                       this->ctx().clock->today()));
    });
    m_abnormal = button(QStringLiteral("打印异常报表"), "printAbnormal", [this] {
        showDocument(this->ctx(), this,
                     abnormalCostSheet(costs().regionRows(m_processed, false), this->ctx().qymc, m_processed,
                                       this->ctx().clock->today()));
    });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QHBoxLayout;
    fields->addWidget(labelFor(QStringLiteral("输入地区："), m_region, this));
    fields->addWidget(m_region);
    fields->addSpacing(16);
    fields->addWidget(labelFor(QStringLiteral("起始日期："), m_start, this));
    fields->addWidget(m_start);
    fields->addSpacing(16);
    fields->addWidget(labelFor(QStringLiteral("截止日期："), m_end, this));
    fields->addWidget(m_end);
    fields->addStretch();
    auto *hint = new QLabel(QStringLiteral("日期格式说明：日期格式为：yyyy-mm-dd。例如：1999-06-01表示1999年6月1日"), this);
    hint->setStyleSheet(QStringLiteral("color: #555;"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(labelFor(QStringLiteral("总毛利润金额："), m_profit, this));
    bottom->addWidget(withUnit(m_profit, QStringLiteral("(元)")));
    bottom->addLayout(buttonRow({m_process, m_print, m_abnormal, quit}), 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(hint);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1060, 620);

    chain()
        .step(m_region, [this] { return regionChosen(); })
        .step(m_start, [this] {
            CostProcessing::parseDate(m_start->text());
            return Go::advance();
        })
        .step(m_end, [this] {
            const QDate start = CostProcessing::parseDate(m_start->text());
            const QDate end = CostProcessing::parseDate(m_end->text());
            CostProcessing::checkRange(start, end);
            m_grid->setPager(std::make_shared<RowPager>(session(), costs().salesLinesQuery(chosenText(m_region), start, end)));
            return Go::advance();
        })
        .step(m_process, [this] { return process(); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
}

CostProcessing Tcbgl::costs() const
{
    return CostProcessing(session(), ctx().workstation);
}

void Tcbgl::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_start->clear();
    m_end->clear();
    m_profit->clear();
    m_grid->clear();
    m_processed.clear();
    setPrintable(false);
    chain().reset();
}

Go Tcbgl::regionChosen()
{
    // The region's earlier results go: its sheets print only after a new run.
    costs().clearRegion(chosenText(m_region));
    m_processed.clear();
    m_profit->clear();
    m_grid->clear();
    setPrintable(false);
    return Go::advance();
}

Go Tcbgl::process()
{
    const QString region = chosenText(m_region);
    const CostRun run = costs().process(region, CostProcessing::parseDate(m_start->text()),
                                        CostProcessing::parseDate(m_end->text()));
    if (!run.stopMessage.isEmpty()) inform(run.stopMessage);
    m_processed = region;
    m_profit->setText(numberText(run.grossProfit));
    setPrintable(true);
    // The dates and "开始处理" close until the next region is chosen.
    chain().reach(m_region);
    return Go::done();
}

void Tcbgl::setPrintable(bool on)
{
    m_print->setEnabled(on);
    m_abnormal->setEnabled(on);
}

} // namespace fm
