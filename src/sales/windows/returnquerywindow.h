#pragma once
// "退料查询": return rows (khtl) by invoice or return date, for a region, a
// customer of it, or both, with their totals and printout.

#include "sales/salesqueries.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Grid;

class ReturnQueryWindow : public FunctionWindow {
    Q_OBJECT
public:
    ReturnQueryWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QRadioButton *byInvoiceDate() const { return m_byInvoice; }
    QRadioButton *byReturnDate() const { return m_byReturn; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QPushButton *queryButton() const { return m_query; }
    QPushButton *printButton() const { return m_print; }
    QLabel *quantityTotal() const { return m_quantity; }
    QLabel *amountTotal() const { return m_amount; }
    Grid *grid() const { return m_grid; }

private:
    void chooseRegion();
    void query();
    void print();

    std::optional<RowQuery> m_shown;
    QComboBox *m_region, *m_customer;
    QRadioButton *m_byInvoice, *m_byReturn;
    QLineEdit *m_from, *m_to;
    QPushButton *m_query, *m_print;
    QLabel *m_quantity, *m_amount;
    Grid *m_grid;
};

} // namespace fm
