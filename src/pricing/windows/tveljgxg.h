#pragma once
#include "pricing/pricebook.h"
#include "ui/functionwindow.h"

#include <vector>

class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "产品价格修改", the grid editor: list and cost price of the product clicked
// (the change date stamped), sorting by a click on a column title, clearing
// every cost price, and the cost price list. A tab of ProductPriceWindow.
class Tveljgxg : public FormPage {
    Q_OBJECT
public:
    Tveljgxg(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    Grid *grid() const { return m_grid; }

private:
    PriceBook book() const;
    void reload();
    void rowClicked(qint64 id);
    Go confirm();
    void titleClicked(int section);
    void clearCostPrices();
    void resetEntry();

    Grid *m_grid;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QLineEdit *m_listPrice;
    QLineEdit *m_costPrice;
    QPushButton *m_confirm;
    PriceSortToggle m_sort;
    PriceOrder m_order;
    std::vector<ProductPrice> m_rows; // as the grid shows them, for the cost price list
    qint64 m_id = 0;                  // the product clicked
};

} // namespace fm
