#pragma once
// "销售数据查询": the current period's sales and return lines listed by
// customer, date, product category or region, with their totals and, for a
// customer, a date range or a region, the actual arrears (promotion fee
// credited). From it the clerk reaches the return, funds, combined-condition
// and history queries.

#include "sales/salesqueries.h"
#include "ui/functionwindow.h"

#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

class SalesQueryWindow : public FunctionWindow {
    Q_OBJECT
public:
    SalesQueryWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    SalesQueryMode mode() const { return m_mode; }
    // What the mode buttons do (the ones that open a window open it too).
    void chooseMode(SalesQueryMode mode);

    QPushButton *modeButton(SalesQueryMode mode) const;
    QPushButton *historyButton() const { return m_historyButton; }
    QPushButton *combinedButton() const { return m_combinedButton; }
    QPushButton *specButton() const { return m_specButton; }
    QPushButton *printButton() const { return m_print; }
    QLineEdit *customerField() const { return m_code; }
    QLineEdit *customerName() const { return m_name; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QComboBox *categoryBox() const { return m_category; }
    QComboBox *regionBox() const { return m_region; }
    QLabel *quantityTotal() const { return m_quantity; }
    QLabel *amountTotal() const { return m_amount; }
    QLabel *receivedTotal() const { return m_received; }
    QLabel *arrearsTotal() const { return m_arrears; }
    Grid *grid() const { return m_grid; }

    // Opens a window from this one (modally); tests replace it.
    std::function<void(FunctionWindow *)> openChild;
    FunctionWindow *returnQueryWindow();
    FunctionWindow *fundsQueryWindow();
    FunctionWindow *combinedQueryWindow();
    FunctionWindow *historyQueryWindow();

private:
    Go enterCustomer();
    Go list();
    void computeArrears();
    void print();
    void showGrid(const RowQuery &q, qint64 rows);
    SalesQueries queries() const { return SalesQueries(session()); }

    SalesQueryMode m_mode = SalesQueryMode::Customer;
    SalesQuery m_query;
    RowQuery m_shown;
    bool m_listed = false;

    QButtonGroup *m_modes;
    QPushButton *m_historyButton, *m_combinedButton, *m_specButton, *m_print;
    QLineEdit *m_code, *m_name, *m_from, *m_to;
    QComboBox *m_category, *m_region;
    QLabel *m_quantity, *m_amount, *m_received, *m_arrears;
    QList<QWidget *> m_arrearsFields;
    QList<QWidget *> m_categoryFields, m_regionFields;
    Grid *m_grid;
    FunctionWindow *m_returnQuery = nullptr, *m_fundsQuery = nullptr, *m_combinedQuery = nullptr,
                   *m_historyQuery = nullptr;
};

} // namespace fm
