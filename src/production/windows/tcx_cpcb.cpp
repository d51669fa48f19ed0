#include "production/windows/tcx_cpcb.h"

#include "common/clock.h"
#include "production/productcatalogue.h"
#include "production/productstock.h"
#include "production/windows/productionfields.h"
#include "data/rowpager.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {
const QString kChooseCategory = QStringLiteral("选择产品类别");
const QString kAllCategories = QStringLiteral("所有类别");
} // namespace

Tcx_cpcb::Tcx_cpcb(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品查询"));
    m_grid = new Grid(masterColumns(), this, "stock");
    m_grid->setStretchColumn(1);
    m_category = chooser("category", kChooseCategory, true);
    m_choose = button(QStringLiteral("选择"), "choose", [this] { list(m_flag); });

    auto *box = new QGroupBox(QStringLiteral("选择产品类别"), this);
    FieldGrid(box, 1)
        .add(QStringLiteral("产品类别："), m_category)
        .add(buttonRow({m_choose, button(QStringLiteral("所有类别"), "all", [this] {
                            m_category->setEditText(kAllCategories);
                            m_flag.clear();
                            m_choose->setEnabled(false);
                            list(QString());
                        })}));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box);
    bottom->addStretch();
    bottom->addLayout(buttonRow({button(QStringLiteral("打印"), "print", [this] { guarded([this] { print(true); }); }),
                                 button(QStringLiteral("打印预览"), "preview", [this] { guarded([this] { print(false); }); }),
                                 button(QStringLiteral("退出"), "close", [this] { close(); })}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 620);

    connect(m_category, &QComboBox::activated, this, [this] { guarded([this] { categoryChosen(); }); });
    chain().on(m_category->lineEdit(), [this] { categoryChosen(); });
}

void Tcx_cpcb::activate()
{
    guarded([this] {
        const QSignalBlocker block(m_category);
        m_category->clear();
        for (const ProductCategory &c : ProductCatalogue(session(), *ctx().clock).categories()) m_category->addItem(c.lbmc);
        m_category->setCurrentIndex(-1);
        m_category->setEditText(QString());
        m_flag.clear();
        m_choose->setEnabled(false);
        list(QString());
    });
}

void Tcx_cpcb::categoryChosen()
{
    const QString name = m_category->currentText().trimmed();
    m_flag.clear();
    m_choose->setEnabled(false);
    if (name.isEmpty() || name == kChooseCategory || name == kAllCategories) return;
    const auto c = ProductCatalogue(session(), *ctx().clock).categoryByName(name);
    if (!c) return;
    m_flag = c->cpbz;
    m_choose->setEnabled(true);
    m_choose->setFocus();
}

void Tcx_cpcb::list(const QString &flag)
{
    m_listed = flag;
    m_grid->setPager(std::make_shared<RowPager>(session(), ProductStock::stockQuery(flag)));
}

void Tcx_cpcb::print(bool direct)
{
    const ReportDocument doc = ProductStock::stockList(ProductStock(session(), *ctx().clock).stock(m_listed), ctx().clock->today());
    if (direct) printDocument(ctx(), this, doc);
    else showDocument(ctx(), this, doc);
}

} // namespace fm
