#pragma once
#include "pricing/pricebook.h"
#include "ui/functionwindow.h"

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "客户产品价格修改": a customer's policy prices, chosen by region and name or
// by code; a new policy price also renews the customer's below-cost filter
// row. Prints the customer price list.
class Tkhxg_jg : public FunctionWindow {
    Q_OBJECT
public:
    Tkhxg_jg(AppContext &ctx, QWidget *parent);
    void activate() override;

    Grid *grid() const { return m_grid; }

private:
    PriceBook book() const;
    void regionChosen();
    void nameChosen(int index);
    void nameEntered();
    void codeEntered();
    void loadCustomer(const std::optional<Customer> &c);
    void reloadGrid();
    void rowClicked(qint64 id);
    Go confirm();
    void discard();

    QComboBox *m_region;
    QComboBox *m_name;
    QComboBox *m_code;
    Grid *m_grid;
    QLineEdit *m_policy;
    QPushButton *m_confirm;
    QPushButton *m_discard;
    std::optional<Customer> m_customer; // whose rows the grid shows
    std::vector<CustomerProductPrice> m_rows;
    qint64 m_priceId = 0; // the row clicked
};

} // namespace fm
