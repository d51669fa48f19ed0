#include "pricing/windows/tkhjg_gl.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "pricing/costdocuments.h"
#include "pricing/costprices.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

} // namespace

Tkhjg_gl::Tkhjg_gl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户价格过滤——-过滤出所有低于成本价格销售的客户及产品名称"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_all = button(QStringLiteral("过滤所有地区"), "filterAll", [this] { rebuild(QString()); });
    m_byRegion = button(QStringLiteral("按地区过滤"), "filterRegion");
    m_print = button(QStringLiteral("打印"), "print", [this] {
        showDocument(this->ctx(), this, priceFilterList(PriceFilter(session(), *this->ctx().clock).rows()));
    });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);

    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("地区编号", "dqbh"), column("地区名称", "dqmc"), column("客户代码", "khdm"),
                       column("客户名称", "khmc"), column("产品代码", "cpdm"), column("产品名称", "cpmc"),
                       column("规格", "cpgg"), column("政策价格", "zcjg", N), column("成本价格", "cbjg", N),
                       column("价格差额", "jgce", N), column("日期", "rq", GridColumn::Kind::DateTime)},
                      this, "belowCost");
    m_grid->setStretchColumn(5);

    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("地区："), m_region, this));
    top->addWidget(m_region);
    top->addStretch();
    top->addLayout(buttonRow({m_all, m_byRegion, m_print, quit}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_bar);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1040, 600);

    chain()
        .step(m_region, [] { return Go::advance(); })
        .step(m_byRegion, [this] {
            rebuild(m_region->currentData().toString());
            return Go::done();
        });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
}

void Tkhjg_gl::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_grid->clear();
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    chain().reset();
}

void Tkhjg_gl::rebuild(const QString &regionCode)
{
    // One statement does the work: the bar only shows that it runs.
    m_bar->setRange(0, 0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        PriceFilter(session(), *ctx().clock).rebuild(regionCode);
    } catch (...) {
        m_bar->setRange(0, 1);
        throw;
    }
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_grid->setPager(std::make_shared<RowPager>(session(), PriceFilter(session(), *ctx().clock).rowsQuery()));
    m_grid->countRows();
    m_print->setFocus();
}

} // namespace fm
