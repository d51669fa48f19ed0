#pragma once
// The "退  料" tab of the sales window.

#include "sales/returns.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

class ReturnTab : public FormPage {
    Q_OBJECT
public:
    ReturnTab(AppContext &ctx, QWidget *parent);

    // Starts over: today's date for the lines, nothing chosen.
    void activate() override;
    const QString &lineDate() const { return m_lineDate; }

    QLineEdit *customerField() const { return m_customer; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    Grid *purchasesGrid() const { return m_current; }
    Grid *historyGrid() const { return m_history; }
    QLineEdit *productNameField() const { return m_productName; }
    QLineEdit *bagsField() const { return m_bags; }
    QComboBox *unitBox() const { return m_unit; }
    QLineEdit *kilogramsField() const { return m_kilograms; }
    QLineEdit *amountField() const { return m_amount; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *listButton() const { return m_list; }
    QPushButton *correctButton() const { return m_correct; }
    Grid *returnsGrid() const { return m_returns; }
    QLabel *countTotal() const { return m_count; }
    QLabel *quantityTotal() const { return m_totalQuantity; }
    QLabel *amountTotal() const { return m_totalAmount; }
    // Picks a listed purchase as a click on its row does.
    void pickPurchase(int row, bool history = false);
    // Opens the correction window; tests replace it.
    std::function<void()> openCorrections;
    void printList(bool direct);

private:
    Go enterCustomer();
    Go findPurchases();
    Go enterBags();
    Go enterUnit();
    Go prepare();
    Go confirm();
    void chooseCustomer();
    void cancel();
    void toggleList();
    void corrections();
    void clearReturn();
    void showReturns(Returns::List list);
    void showTotals();
    Returns returns() const;

    QString m_lineDate;
    std::optional<Customer> m_cust;
    std::optional<Purchase> m_picked;
    std::optional<PreparedReturn> m_prepared;
    double m_bagsValue = 0;
    ReturnTotals m_totals;
    Returns::List m_shownList = Returns::List::Customer;
    bool m_nextListAll = false; // "退料显示": the customer's, then all of the operator's
    Rows m_shown;

    QLineEdit *m_customer, *m_region, *m_name, *m_from, *m_to, *m_product, *m_productName, *m_spec, *m_category;
    QLineEdit *m_soldPrice, *m_policyPrice, *m_bags, *m_kilograms, *m_amount, *m_date;
    QComboBox *m_unit;
    QPushButton *m_choose, *m_confirm, *m_cancel, *m_list, *m_correct, *m_print, *m_preview;
    QLabel *m_count, *m_totalQuantity, *m_totalAmount;
    Grid *m_returns, *m_current, *m_history;
};

} // namespace fm
