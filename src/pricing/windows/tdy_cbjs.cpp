#include "pricing/windows/tdy_cbjs.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "pricing/costdocuments.h"
#include "pricing/windows/costfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QHBoxLayout>
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

Tdy_cbjs::Tdy_cbjs(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户成本结算打印"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_name = chooser("customerName", QStringLiteral("客户名称"));
    m_name->setMinimumWidth(180);
    m_code = display("customerCode");
    m_start = dateField(input("start"));
    m_end = dateField(input("end"));

    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("客户代码", "khdm"), column("地区", "region"), column("客户名称", "khmc"),
                       column("产品名称", "cpmc"), column("规格", "cpgg"), column("销售数量", "zznum", N),
                       column("成本价格", "cbjg", N), column("成本金额", "cbje", N), column("政策价格", "zzjg", N),
                       column("政策金额", "zzje", N), column("差额", "cbce", N), column("日期", "rq")},
                      this, "costRows");
    m_grid->setStretchColumn(3);

    m_filter = button(QStringLiteral("数据过滤"), "filter");
    m_print = button(QStringLiteral("打印报表"), "print", [this] { printDocument(this->ctx(), this, document(), true); });
    m_preview = button(QStringLiteral("打印预览"), "preview", [this] { showDocument(this->ctx(), this, document()); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *choose = new QWidget(this);
    FieldGrid(choose, 3)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end);
    choose->layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choose);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_filter, m_print, m_preview, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1000, 600);

    chain()
        .step(m_region,
              [this] {
                  fillCustomerBox(m_name, CustomerRegister(session()).customersByCode(m_region->currentData().toString()));
                  m_code->clear();
                  return Go::advance();
              })
        .step(m_name,
              [this] {
                  m_code->setText(chosenCode(m_name));
                  return Go::advance();
              })
        .step(m_start, [this] {
            CostProcessing::parseDate(m_start->text());
            return Go::advance();
        })
        .step(m_end, [this] {
            CostProcessing::checkRange(CostProcessing::parseDate(m_start->text()), CostProcessing::parseDate(m_end->text()));
            return Go::advance();
        })
        .step(m_filter, [this] {
            const QDate start = CostProcessing::parseDate(m_start->text());
            const QDate end = CostProcessing::parseDate(m_end->text());
            CostProcessing::checkRange(start, end);
            m_customerCode = chosenCode(m_name);
            m_customerName = m_name->currentText().trimmed();
            m_rows = CostProcessing(session(), this->ctx().workstation).customerRows(m_customerCode, start, end);
            std::vector<GridRow> rows;
            for (const CostDetail &d : m_rows)
                rows.push_back({d.id, {d.khdm, d.region, d.khmc, d.cpmc, d.cpgg, d.zznum, d.cbjg, d.cbje, d.zzjg,
                                       d.zzje, d.cbce, d.rq}});
            m_grid->setRows(std::move(rows));
            setPrintable(true);
            return Go::stay();
        });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] {
        setPrintable(false);
        chain().run(m_region);
    });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this] {
        setPrintable(false);
        chain().run(m_name);
    });
}

void Tdy_cbjs::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_name->clear();
    m_code->clear();
    m_start->clear();
    m_end->clear();
    m_grid->clear();
    m_rows.clear();
    setPrintable(false);
    chain().reset();
}

ReportDocument Tdy_cbjs::document() const
{
    return customerCostList(m_rows, m_customerName, m_customerCode, ctx().clock->today());
}

void Tdy_cbjs::setPrintable(bool on)
{
    m_print->setEnabled(on);
    m_preview->setEnabled(on);
}

} // namespace fm
