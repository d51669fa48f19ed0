#pragma once
#include "pricing/windows/pricepage.h"

#include <vector>

class QLineEdit;
class QPushButton;

namespace fm {

class PriceGrid;

// "产品价格修改", the grid editor: list and cost price of the product clicked
// (the change date stamped), sorting by a click on a column title, clearing
// every cost price, and the cost price list. A tab of ProductPriceWindow.
class Tveljgxg : public PricePage {
    Q_OBJECT
public:
    Tveljgxg(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    PriceGrid *grid() const { return m_grid; }

private:
    void reload();
    void rowClicked(int row);
    void listPriceEntered();
    void costPriceEntered();
    void confirm();
    void titleClicked(int section);
    void clearCostPrices();
    void print();
    void resetEntry();

    PriceGrid *m_grid;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QLineEdit *m_listPrice;
    QLineEdit *m_costPrice;
    QPushButton *m_confirm;
    PriceSortToggle m_sort;
    PriceOrder m_order;
    std::vector<ProductPrice> m_rows; // as the grid shows them
    qint64 m_id = 0;                  // the product clicked
};

} // namespace fm
