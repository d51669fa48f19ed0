#pragma once
// "历史数据查询" (Tlssjcx): sales or returns of the archive and the current
// period together, by region, customer, product category and dates.

#include "accounts/historyqueries.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Grid;

class Tlssjcx : public FunctionWindow {
    Q_OBJECT
public:
    Tlssjcx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QComboBox *categoryBox() const { return m_category; }
    QRadioButton *salesButton() const { return m_sales; }
    QRadioButton *returnsButton() const { return m_returns; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QPushButton *queryButton() const { return m_query; }
    QPushButton *printButton() const { return m_print; }
    QLabel *quantityTotal() const { return m_quantity; }
    QLabel *amountTotal() const { return m_amount; }
    Grid *historyGrid() const { return m_history; }
    Grid *currentGrid() const { return m_current; }

private:
    void chooseRegion();
    void query();

    QComboBox *m_region, *m_customer, *m_category;
    QRadioButton *m_sales, *m_returns;
    QLineEdit *m_from, *m_to;
    QPushButton *m_query, *m_print;
    QLabel *m_quantity, *m_amount;
    Grid *m_history, *m_current;
};

} // namespace fm
