#include "production/windows/tvel_cphzz.h"

#include "common/clock.h"
#include "common/dates.h"
#include "production/windows/sideinputwindows.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"
#include "warehouse/windows/warehousefields.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

QString figureText(double v) { return QString::number(v, 'g', 15); }

QProgressBar *progressBar(QWidget *parent, const char *name)
{
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setValue(0);
    return bar;
}

CostSummary::Progress advancing(QProgressBar *bar)
{
    return [bar](int done, int total) {
        bar->setMaximum(std::max(total, 1));
        bar->setValue(done);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

// A blank date becomes today's on Enter.
QString takeDate(QDateEdit *input, const Clock &clock)
{
    if (!dateOf(input).isValid()) input->setDate(clock.today());
    return dateText(input->date());
}

QList<GridColumn> columns(std::initializer_list<std::pair<const char *, GridColumn::Kind>> cols)
{
    QList<GridColumn> out;
    for (const auto &c : cols) out.append(GridColumn{QString::fromUtf8(c.first), QString(), c.second});
    return out;
}

// Enter in a blank date takes today's.
const StepOptions kBlankIsToday{QString(), true, false, {}};

constexpr auto N = GridColumn::Kind::Number;
constexpr auto T = GridColumn::Kind::Text;

} // namespace

Tvel_cphzz::Tvel_cphzz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产成本汇总---财务报表生成"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));

    // " 生产成本汇总 "
    auto *costTab = new QWidget;
    m_start = dateInput("start");
    m_end = dateInput("end");
    for (QDateEdit *d : {m_start, m_end}) {
        allowBlank(d, *ctx.clock);
        setBlank(d);
    }
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { guarded([this] { summarise(); }); });
    auto *cancel = button(QStringLiteral("取消"), "cancel", [this] {
        m_confirm->setEnabled(false);
        setBlank(m_start);
        setBlank(m_end);
        chain().reset();
    });
    auto *period = new QGroupBox(QStringLiteral("生产时间："), costTab);
    FieldGrid(period, 1)
        .add(QStringLiteral("起始时间："), m_start)
        .add(QStringLiteral("截止时间："), m_end)
        .add(buttonRow({m_confirm, cancel}));
    auto *figures = new QGroupBox(QStringLiteral("生产成本"), costTab);
    FieldGrid(figures, 3)
        .add(QStringLiteral("生产数量："), display("tonnes"), QStringLiteral("(吨)"))
        .add(QStringLiteral("原材料："), display("rawMaterials"), QStringLiteral("(万元)"))
        .add(QStringLiteral("产成品:"), display("finished"), QStringLiteral("(万元)"))
        .add(QStringLiteral("半成品:"), display("semiFinished"), QStringLiteral("(万元)"))
        .add(QStringLiteral("包装物:"), display("packaging"), QStringLiteral("(万元)"))
        .add(QStringLiteral("制造费用:"), display("overheads"), QStringLiteral("(万元)"));
    m_costGrid = new Grid(columns({{"产品代码", T}, {"产品名称", T}, {"规格", T}, {"生产数量(吨)", N}, {"原材料(元)", N},
                                   {"产成品(元)", N}, {"半成品(元)", N}, {"包装物(元)", N}, {"标签(元)", N},
                                   {"气费(元)", N}, {"制造费用(元)", N}, {"合计(元)", N}, {"价格", N}, {"标志", T},
                                   {"日期", T}, {"时间", T}}),
                          costTab, "costs");
    m_progress = progressBar(costTab, "progress");
    {
        auto *top = new QHBoxLayout;
        top->addWidget(period);
        top->addWidget(figures, 1);
        auto *l = new QVBoxLayout(costTab);
        l->addLayout(top);
        l->addWidget(m_costGrid, 1);
        l->addWidget(m_progress);
    }
    m_tabs->addTab(costTab, QStringLiteral(" 生产成本汇总 "));

    // " 销售成本汇总 "
    auto *salesTab = new QWidget;
    m_salesStart = dateInput("salesStart");
    m_salesEnd = dateInput("salesEnd");
    for (QDateEdit *d : {m_salesStart, m_salesEnd}) {
        allowBlank(d, *ctx.clock);
        setBlank(d);
    }
    m_salesConfirm = button(QStringLiteral("确认"), "salesConfirm", [this] { guarded([this] { summariseSales(); }); });
    EnterChain &sales = addChain();
    auto *salesCancel = button(QStringLiteral("取消"), "salesCancel", [this, &sales] {
        m_salesConfirm->setEnabled(false);
        setBlank(m_salesStart);
        setBlank(m_salesEnd);
        sales.reset();
    });
    auto *salesPeriod = new QGroupBox(QStringLiteral("生产时间："), salesTab);
    FieldGrid(salesPeriod, 1)
        .add(QStringLiteral("起始时间："), m_salesStart)
        .add(QStringLiteral("截止时间："), m_salesEnd)
        .add(buttonRow({m_salesConfirm, salesCancel}));
    auto *salesBox = new QGroupBox(QStringLiteral("销售成本"), salesTab);
    m_salesGrid = new Grid(columns({{"产品代码", T}, {"产品名称", T}, {"规格", T}, {"销售数量(公斤)", N}, {"销售成本(元)", N},
                                    {"日期", T}, {"时间", T}}),
                           salesBox, "salesCosts");
    m_salesGrid->setStretchColumn(1);
    (new QVBoxLayout(salesBox))->addWidget(m_salesGrid);
    m_salesProgress = progressBar(salesTab, "salesProgress");
    {
        // The dates keep the size of the first tab's, not half the window.
        salesPeriod->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        auto *top = new QHBoxLayout;
        top->addWidget(salesPeriod);
        top->addStretch();
        auto *l = new QVBoxLayout(salesTab);
        l->addLayout(top);
        l->addWidget(salesBox, 1);
        l->addWidget(m_salesProgress);
    }
    m_tabs->addTab(salesTab, QStringLiteral(" 销售成本汇总 "));

    // " 原料耗用显示 "
    auto *useTab = new QWidget;
    auto *useBox = new QGroupBox(QStringLiteral("原料耗用"), useTab);
    m_materialGrid = new Grid(columns({{"原料代码", T}, {"原料名称", T}, {"耗用数量(吨)", N}, {"价格(元/吨)", N},
                                       {"总金额(元)", N}, {"实际耗用(吨)", N}, {"实际损耗(吨)", N}, {"损耗(元)", N},
                                       {"标志", T}, {"日期", T}, {"时间", T}}),
                              useBox, "materials");
    auto *useBoxLayout = new QVBoxLayout(useBox);
    useBoxLayout->addWidget(m_materialGrid, 1);
    auto *useTotals = new QWidget(useBox);
    FieldGrid(useTotals, 2)
        .add(QStringLiteral("累计数量："), display("materialTonnes"), QStringLiteral("(吨)"))
        .add(QStringLiteral("累计金额："), display("materialAmount"), QStringLiteral("(元)"));
    useBoxLayout->addWidget(useTotals);
    (new QVBoxLayout(useTab))->addWidget(useBox);
    m_tabs->addTab(useTab, QStringLiteral(" 原料耗用显示 "));

    // " 实际损耗显示"
    auto *lossTab = new QWidget;
    m_lossGrid = new Grid(gridColumns({QStringLiteral("原料名称"), QStringLiteral("耗用数量(吨)"), QStringLiteral("价格(元/吨)"),
                                       QStringLiteral("实际耗用(吨)"), QStringLiteral("实际损耗(吨)"), QStringLiteral("损耗(元)"),
                                       QStringLiteral("时间"), QStringLiteral("日期")},
                                      {QStringLiteral("ylmc"), QStringLiteral("sjsl"), QStringLiteral("yljg"),
                                       QStringLiteral("sjhy"), QStringLiteral("ylxh"), QStringLiteral("xhje"),
                                       QStringLiteral("rq_0"), QStringLiteral("rq_1")}),
                          lossTab, "losses");
    m_lossGrid->setStretchColumn(0);
    auto *lossTotals = new QWidget(lossTab);
    FieldGrid(lossTotals, 2)
        .add(QStringLiteral("实际损耗累计："), display("lossTonnes"), QStringLiteral("(吨)"))
        .add(QStringLiteral("累计损耗金额："), display("lossAmount"), QStringLiteral("(元)"));
    {
        auto *l = new QVBoxLayout(lossTab);
        l->addWidget(m_lossGrid, 1);
        l->addWidget(lossTotals);
    }
    m_tabs->addTab(lossTab, QStringLiteral(" 实际损耗显示"));

    // " 汇总报表打印 "
    auto *printTab = new QWidget;
    auto *printBox = new QGroupBox(QStringLiteral("选择打印项目"), printTab);
    {
        auto *l = new QVBoxLayout(printBox);
        l->addLayout(buttonColumn(
            {button(QStringLiteral("生产成本打印"), "printCosts", [this] { guarded([this] { printProductCost(); }); }),
             button(QStringLiteral("销售成本打印"), "printSales", [this] { guarded([this] { printSalesCost(); }); }),
             button(QStringLiteral("原料耗用打印"), "printMaterials", [this] { guarded([this] { printMaterialUse(); }); }),
             button(QStringLiteral("打印机设置"), "printerSetup", [this] {
                 if (openPrinterSetup) openPrinterSetup();
             })}));
        auto *outer = new QHBoxLayout(printTab);
        outer->addWidget(printBox);
        outer->addStretch();
    }
    m_tabs->addTab(printTab, QStringLiteral(" 汇总报表打印 "));

    // "制造费用显示"
    auto *overheadTab = new QWidget;
    auto *overheadBox = new QGroupBox(QStringLiteral("制造费用显示"), overheadTab);
    m_overheadGrid = new Grid(gridColumns({QStringLiteral("日期"), QStringLiteral("气费"), QStringLiteral("工资"),
                                           QStringLiteral("电费"), QStringLiteral("其他"), QStringLiteral("时间"),
                                           QStringLiteral("人员代码")},
                                          {QStringLiteral("rq_1"), QStringLiteral("qf"), QStringLiteral("gz"),
                                           QStringLiteral("df"), QStringLiteral("qt"), QStringLiteral("rq_0"),
                                           QStringLiteral("rydm")}),
                              overheadBox, "overheads");
    (new QVBoxLayout(overheadBox))->addWidget(m_overheadGrid);
    (new QVBoxLayout(overheadTab))->addWidget(overheadBox);
    m_tabs->addTab(overheadTab, QStringLiteral("制造费用显示"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(button(QStringLiteral("退出"), "close", [this] { close(); }));
    layout->addLayout(bottom);
    resize(1100, 680);

    openOverheadsInput = [this] {
        Tzzfy_sr w(this->ctx(), this);
        w.run();
    };
    openPrinterSetup = [this] {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        dialog.exec();
    };

    chain()
        .step(m_start, [this] {
            takeDate(m_start, *this->ctx().clock);
            return Go::advance();
        }, kBlankIsToday)
        .step(m_end, [this] {
            takeDate(m_end, *this->ctx().clock);
            m_confirm->setEnabled(true);
            return Go::to(m_confirm);
        }, kBlankIsToday);
    sales.step(m_salesStart, [this] {
             takeDate(m_salesStart, *this->ctx().clock);
             return Go::advance();
         }, kBlankIsToday)
        .step(m_salesEnd, [this] {
            takeDate(m_salesEnd, *this->ctx().clock);
            m_salesConfirm->setEnabled(true);
            return Go::to(m_salesConfirm);
        }, kBlankIsToday);
}

QLineEdit *Tvel_cphzz::figure(const char *name) const
{
    return findChild<QLineEdit *>(QString::fromLatin1(name));
}

CostSummary Tvel_cphzz::service() const
{
    return CostSummary(session(), *ctx().clock);
}

void Tvel_cphzz::activate()
{
    m_tabs->setCurrentIndex(0);
    m_confirm->setEnabled(false);
    m_salesConfirm->setEnabled(false);
    guarded([this] {
        showTables();
        showOverheads(dateText(ctx().clock->today()));
    });
    chain().reset();
    if (!ask(QStringLiteral("本月制造费用汇总是否已经输入?")) && ask(QStringLiteral("是否输入本月制造费用?"))
        && openOverheadsInput) {
        openOverheadsInput();
        guarded([this] {
            showTables();
            showOverheads(dateText(ctx().clock->today()));
        });
    }
}

void Tvel_cphzz::summarise()
{
    const QString start = takeDate(m_start, *ctx().clock), end = takeDate(m_end, *ctx().clock);
    const QString differ = end < start ? QString() : CostSummary::monthsDifferQuestion(start, end);
    if (!differ.isEmpty() && !ask(differ)) {
        chain().reach(m_end);
        return;
    }
    try {
        const CostSummaryOutcome out = service().summarise(start, end, advancing(m_progress));
        for (const QString &w : out.warnings) inform(w);
        m_ranStart = start;
        m_ranEnd = end;
        showTotals(out.totals);
    } catch (const DomainError &e) {
        if (e.code() != ErrorCode::Refused) throw;
        inform(e.message());
    }
    showOverheads(start);
    showTables();
    m_progress->setValue(0);
    m_confirm->setEnabled(false);
    chain().reach(m_start);
}

void Tvel_cphzz::summariseSales()
{
    const QString start = takeDate(m_salesStart, *ctx().clock), end = takeDate(m_salesEnd, *ctx().clock);
    service().summariseSales(start, end, [this](int done, int total) {
        advancing(m_salesProgress)(done, total);
    });
    m_salesRanStart = start;
    m_salesRanEnd = end;
    showTables();
    m_salesProgress->setValue(0);
}

// The overheads of the month of a date ("yyyy-mm-dd").
void Tvel_cphzz::showOverheads(const QString &date)
{
    m_overheadGrid->setRows(service().overheadRows(date.left(4) + date.mid(5, 2)));
}

void Tvel_cphzz::showTotals(const CostTotals &t)
{
    figure("tonnes")->setText(figureText(t.tonnes));
    figure("rawMaterials")->setText(figureText(t.rawMaterials / 10000));
    figure("finished")->setText(figureText(t.finished / 10000));
    figure("semiFinished")->setText(figureText(t.semiFinished / 10000));
    figure("packaging")->setText(figureText(t.packaging / 10000));
    figure("overheads")->setText(figureText(t.overheads / 10000));
    figure("materialTonnes")->setText(figureText(t.materialTonnes));
    figure("materialAmount")->setText(figureText(t.materialAmount));
    figure("lossTonnes")->setText(figureText(t.lossTonnes));
    figure("lossAmount")->setText(figureText(t.lossAmount));
}

void Tvel_cphzz::showTables()
{
    CostSummary s = service();
    std::vector<GridRow> costs;
    for (const ProductCostRow &c : s.productCosts())
        costs.push_back(GridRow{0, {c.cpdm, c.cpmc, c.cpgg, c.scsl, c.sjxh, c.ccp, c.bcp, c.bzw, c.bq, c.qf, c.zzfy,
                                    c.hj, c.price, c.bz, c.rq1, c.rq0}});
    m_costGrid->setRows(std::move(costs));
    std::vector<GridRow> sales;
    for (const SalesCostRow &c : s.salesCosts()) sales.push_back(GridRow{0, {c.cpdm, c.cpmc, c.cpgg, c.scsl, c.sxcb, c.rq1, c.rq0}});
    m_salesGrid->setRows(std::move(sales));
    std::vector<GridRow> use, loss;
    for (const MaterialUseRow &u : s.materialUse()) {
        use.push_back(GridRow{0, {u.yldm, u.ylmc, u.sjsl, u.yljg, u.zje, u.sjhy, u.ylxh, u.xhje, u.bz, u.rq_1, u.rq_0}});
        loss.push_back(GridRow{0, {u.ylmc, u.sjsl, u.yljg, u.sjhy, u.ylxh, u.xhje, u.rq_0, u.rq_1}});
    }
    m_materialGrid->setRows(std::move(use));
    m_lossGrid->setRows(std::move(loss));
}

void Tvel_cphzz::printProductCost()
{
    showDocument(ctx(), this,
                 CostSummary::productCostReport(service().productCosts(), dateText(ctx().clock->today()),
                                                m_ranStart.isEmpty() ? dateText(dateOf(m_start)) : m_ranStart,
                                                m_ranEnd.isEmpty() ? dateText(dateOf(m_end)) : m_ranEnd));
}

void Tvel_cphzz::printSalesCost()
{
    showDocument(ctx(), this,
                 CostSummary::salesCostReport(service().salesCosts(), dateText(ctx().clock->today()),
                                              m_salesRanStart.isEmpty() ? dateText(dateOf(m_salesStart)) : m_salesRanStart,
                                              m_salesRanEnd.isEmpty() ? dateText(dateOf(m_salesEnd)) : m_salesRanEnd));
}

void Tvel_cphzz::printMaterialUse()
{
    showDocument(ctx(), this,
                 CostSummary::materialUseReport(service().materialUse(), dateText(ctx().clock->today()),
                                                m_ranStart.isEmpty() ? dateText(dateOf(m_start)) : m_ranStart,
                                                m_ranEnd.isEmpty() ? dateText(dateOf(m_end)) : m_ranEnd));
}

// ---- "产品财务汇总报表处理" ---------------------------------------------------

Tcpbb::Tcpbb(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品财务汇总报表处理"));
    m_start = dateInput("start");
    m_end = dateInput("end");
    for (QDateEdit *d : {m_start, m_end}) {
        allowBlank(d, *ctx.clock);
        setBlank(d);
    }
    m_progress = progressBar(this, "progress");
    m_process = button(QStringLiteral("处理"), "process", [this] { guarded([this] { process(); }); });
    m_clear = button(QStringLiteral("清除报表记录"), "clear", [this] { guarded([this] { cleared(); }); });
    m_grid = new Grid(columns({{"产品代码", T}, {"产品名称", T}, {"规格", T}, {"销量(公斤)", N}, {"金额(元)", N},
                               {"退料数量(kg)", N}, {"退料金额(元)", N}, {"日期", T}, {"时间", T}}),
                      this, "summary");
    m_grid->setStretchColumn(1);
    auto *head = new QGroupBox(this);
    FieldGrid(head, 2).add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end);
    auto *top = new QHBoxLayout;
    top->addWidget(head, 1);
    top->addLayout(buttonColumn({m_process, button(QStringLiteral("打印"), "print", [this] { guarded([this] { print(); }); }),
                                 button(QStringLiteral("结束"), "close", [this] { close(); }), m_clear}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_progress);
    layout->addWidget(m_grid, 1);
    resize(900, 600);

    chain()
        .step(m_start, [this] { return dateOf(m_start).isValid() ? Go::advance() : Go::stay(); })
        .step(m_end, [this] {
            if (!dateOf(m_end).isValid()) return Go::stay();
            cleared();
            return Go::to(m_process);
        });
}

void Tcpbb::activate()
{
    m_progress->show();
    m_progress->setValue(0);
    m_process->setEnabled(false);
    chain().reset();
}

// The report table was emptied (in its own transaction, so nothing is left
// behind): "处理" may run.
void Tcpbb::cleared()
{
    CostSummary(session(), *ctx().clock).clearFinancial();
    m_process->setEnabled(true);
    m_process->setFocus();
}

void Tcpbb::process()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    if (!s.isValid() || !e.isValid()) return;
    std::vector<GridRow> rows;
    for (const FinancialRow &f :
         CostSummary(session(), *ctx().clock).summariseFinancial(dateText(s), dateText(e), advancing(m_progress)))
        rows.push_back(GridRow{0, {f.cpdm, f.cpmc, f.cpgg, f.zznum, f.zzje, f.tlnum, f.tlje, f.rq_1, f.rq_0}});
    m_grid->setRows(std::move(rows));
    m_progress->setValue(0);
    m_progress->hide();
    m_process->setEnabled(false);
}

void Tcpbb::print()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    showDocument(ctx(), this,
                 CostSummary::financialReport(CostSummary(session(), *ctx().clock).financialRows(),
                                              dateText(ctx().clock->today()), s.isValid() ? dateText(s) : QString(),
                                              e.isValid() ? dateText(e) : QString()));
}

} // namespace fm
