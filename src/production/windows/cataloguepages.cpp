#include "production/windows/cataloguepages.h"

#include "ui/grid.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace fm {

namespace {

GridColumn text(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Text};
}
GridColumn number(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Number};
}
GridColumn date(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Date};
}

} // namespace

Grid *productGrid(QWidget *parent, const char *name)
{
    auto *g = new Grid({text("产品代码", "cpdm"), text("产品名称", "cpmc"), text("产品规格", "cpgg"),
                        number("市场牌价", "kpjg"), text("产品标志", "cpbz"), date("日期", "rq")},
                       parent, name);
    g->setStretchColumn(1);
    return g;
}

Grid *customerPriceGrid(QWidget *parent, const char *name)
{
    return new Grid({text("客户代码", "khdm"), text("客户名称", "khmc"), text("产品代码", "cpdm"),
                     text("产品名称", "cpmc"), text("产品规格", "cpgg"), number("价格", "kpjg"),
                     text("地区编号", "dqbh"), text("地区名称", "dqmc"), text("产品标志", "cpbz"), date("日期", "rq")},
                    parent, name);
}

QWidget *captioned(const QString &caption, QWidget *grid)
{
    auto *box = new QGroupBox(caption, grid->parentWidget());
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(grid);
    return box;
}

void showProducts(Grid *grid, Session &s)
{
    grid->setPager(std::make_shared<RowPager>(s, ProductCatalogue::productQuery()));
}

void showCustomerPrices(Grid *grid, Session &s)
{
    grid->setPager(std::make_shared<RowPager>(s, ProductCatalogue::customerPriceQuery()));
}

} // namespace fm
