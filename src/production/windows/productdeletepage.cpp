#include "production/windows/cataloguepages.h"

#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fm {

ProductDeletePage::ProductDeletePage(AppContext &ctx, QWidget *parent)
    : CataloguePage(ctx, parent)
{
    auto *box = new QGroupBox(QStringLiteral("产品品种删除"), this);
    m_name->setPlaceholderText(QStringLiteral("产品名称"));
    FieldGrid fields(box, 2);
    fields.add(QStringLiteral("产品类别："), m_category)
        .add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品名称："), m_name)
        .add(QStringLiteral("规格："), m_size, QStringLiteral("公斤/包"));
    fields.layout()->addWidget(m_delete, 0, 4, 2, 1, Qt::AlignVCenter);

    auto *grids = new QHBoxLayout;
    grids->addWidget(captioned(QStringLiteral("价格显示：(单位：元/吨）"), m_products), 2);
    grids->addWidget(captioned(QStringLiteral("客户价格显示：(单位：元/吨）"), m_customerPrices), 3);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(grids, 1);

    chain()
        .step(m_category, [this] { return categoryChosen(); })
        .step(m_code, [this] { return codeChosen(); })
        .step(m_delete, [this] { return deleteProduct(); });
    connect(m_category, &QComboBox::activated, this, [this] { chain().run(m_category); });
    connect(m_code, &QComboBox::activated, this, [this] { chain().run(m_code); });
    connect(m_customerPrices, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { customerPriceClicked(id); }); });
}

void ProductDeletePage::activate()
{
    guarded([this] { reloadCategories(); });
    startOver();
}

void ProductDeletePage::refresh()
{
    guarded([this] {
        reloadCategories();
        reloadGrids();
    });
}

void ProductDeletePage::reloadCategories()
{
    const QString shown = m_category->currentText();
    m_category->clear();
    for (const ProductCategory &c : catalogue().categories())
        if (!ProductCatalogue::isPackagingFlag(c.cpbz)) m_category->addItem(c.lbmc);
    m_category->setCurrentIndex(shown.isEmpty() ? -1 : m_category->findText(shown));
}

void ProductDeletePage::reloadGrids()
{
    showProducts(m_products, session());
    showCustomerPrices(m_customerPrices, session());
}

Go ProductDeletePage::categoryChosen()
{
    ProductCatalogue cat = catalogue();
    const auto category = cat.categoryByName(m_category->currentText());
    if (!category) return Go::stay();
    m_code->clear();
    m_code->addItems(cat.productCodesWithFlag(category->cpbz));
    m_code->setCurrentIndex(-1);
    m_code->setEditText(QString());
    m_name->clear();
    m_size->clear();
    m_product.clear();
    return Go::advance();
}

Go ProductDeletePage::codeChosen()
{
    m_name->clear();
    m_size->clear();
    m_product.clear();
    const auto product = findProduct(session(), m_code->currentText());
    if (!product) return Go::stay(); // nothing to delete under what is shown
    m_product = product->code;
    m_name->setText(product->name);
    m_size->setText(product->spec);
    return Go::advance();
}

Go ProductDeletePage::deleteProduct()
{
    if (m_product.isEmpty() || !ask(QStringLiteral("确认删除吗？"))) return Go::stay();
    catalogue().deleteProduct(m_product);
    reloadGrids();
    startOver();
    return Go::done();
}

void ProductDeletePage::startOver()
{
    m_product.clear();
    m_category->setCurrentIndex(-1);
    m_code->clear();
    m_code->setEditText(QString());
    m_name->clear();
    m_size->clear();
    chain().reset();
}

void ProductDeletePage::customerPriceClicked(qint64 id)
{
    ProductCatalogue cat = catalogue();
    const auto row = cat.customerPriceById(id);
    if (!row) return;
    if (!ask(QStringLiteral("删除客户") + row->customerName + QStringLiteral("的") + row->productName
             + QStringLiteral("产品吗？")))
        return;
    cat.deleteCustomerPrice(id);
    showCustomerPrices(m_customerPrices, session());
    inform(QStringLiteral("已经删除该记录！"));
}

} // namespace fm
