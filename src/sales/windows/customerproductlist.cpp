#include "sales/windows/customerproductlist.h"

#include "sales/customerproducts.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

CustomerProductList::CustomerProductList(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品查询"));
    m_heading = new QLabel(this);
    QFont f = m_heading->font();
    f.setBold(true);
    m_heading->setFont(f);
    QList<GridColumn> columns = gridColumns({"产品代码", "产品名称", "规格", "政策价格", "产品标志", "日期", "开票价格"},
                                            {"cpdm", "cpmc", "cpgg", "fhll", "cpbz", "rq", "kpjg"});
    columns[5].kind = GridColumn::Kind::Date; // a date and time in the table
    m_grid = new Grid(columns, this, "products");
    m_grid->setStretchColumn(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(720, 420);
}

void CustomerProductList::load(const QString &customerCode)
{
    const QString code = customerCode.trimmed();
    m_heading->setText(code.isEmpty() ? QStringLiteral("所有客户产品名细：")
                                      : QStringLiteral("客户") + code + QStringLiteral("的产品名细："));
    m_grid->setPager(std::make_shared<RowPager>(session(), customerProductsQuery(code)));
    m_grid->countRows();
}

} // namespace fm
