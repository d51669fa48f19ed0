#pragma once
// "模糊查询窗口": the sales and return lines that meet every condition filled
// in (customer, product code, name, specification, region, category) within
// two dates, in the current period and in the archive, with their net totals.

#include "sales/salesqueries.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

class CombinedQueryWindow : public FunctionWindow {
    Q_OBJECT
public:
    CombinedQueryWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *customerField() const { return m_code; }
    QLineEdit *customerName() const { return m_name; }
    QLineEdit *productCodeField() const { return m_product; }
    QComboBox *productNameBox() const { return m_productName; }
    QLineEdit *specField() const { return m_spec; }
    QComboBox *regionBox() const { return m_region; }
    QComboBox *categoryBox() const { return m_category; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QPushButton *queryButton() const { return m_query; }
    QPushButton *resetButton() const { return m_reset; }
    QPushButton *printButton() const { return m_print; }
    QLabel *quantityTotal() const { return m_quantity; }
    QLabel *amountTotal() const { return m_amount; }
    Grid *currentGrid() const { return m_current; }
    Grid *historyGrid() const { return m_history; }

    // The conditions as filled in; "产品类别错误！" for an unknown category.
    CombinedQuery conditions() const;

private:
    void enterCustomer();
    void enterProductCode();
    void chooseProductName();
    void showProduct(const ProductChoice &p);
    void query();
    void resetConditions();
    void print();

    std::optional<CombinedQuery> m_shown;
    qint64 m_shownRows = 0;
    QLineEdit *m_code, *m_name, *m_product, *m_spec, *m_from, *m_to;
    QComboBox *m_productName, *m_region, *m_category;
    QPushButton *m_query, *m_reset, *m_print;
    QLabel *m_quantity, *m_amount;
    Grid *m_current, *m_history;
};

} // namespace fm
