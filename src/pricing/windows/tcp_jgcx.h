#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QRadioButton;
class QStackedWidget;

namespace fm {

class Grid;

// "产品价格查询": the list prices of the feed products, or the policy prices
// of one region's customers. Read only.
class Tcp_jgcx : public FunctionWindow {
    Q_OBJECT
public:
    Tcp_jgcx(AppContext &ctx, QWidget *parent);
    void activate() override;

    Grid *productGrid() const { return m_products; }
    Grid *customerGrid() const { return m_customers; }

private:
    void showListPrices();
    void showCustomerPrices();

    QRadioButton *m_listChoice;
    QRadioButton *m_customerChoice;
    QComboBox *m_region;
    QStackedWidget *m_stack;
    Grid *m_products;
    Grid *m_customers;
};

} // namespace fm
