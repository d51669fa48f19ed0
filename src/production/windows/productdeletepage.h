#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;
class ProductCatalogue;

// "产品品种删除": a product deleted with every customer's price of it, or one
// customer's price deleted from the list.
class ProductDeletePage : public FormPage {
    Q_OBJECT
public:
    ProductDeletePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    ProductCatalogue catalogue() const;
    void reloadCategories();
    void reloadGrids();
    Go categoryChosen();
    Go codeChosen();
    Go deleteProduct();
    void startOver();
    void customerPriceClicked(qint64 id);

    QComboBox *m_category = chooser("deleteCategory", QStringLiteral("产品类别"));
    QComboBox *m_code = chooser("deleteCode", QStringLiteral("产品代码"), true);
    QLineEdit *m_name = display("deleteName");
    QLineEdit *m_size = display("deleteSpec");
    QPushButton *m_delete = button(QStringLiteral("删除"), "delete");
    Grid *m_products;
    Grid *m_customerPrices;
    QString m_product; // the code shown, as stored
};

} // namespace fm
