#pragma once
// The "退  料" tab of the sales window.

#include "sales/returns.h"
#include "sales/salesslip.h"
#include "shell/appcontext.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace fm {

class EnterChain;

class ReturnTab : public QWidget {
    Q_OBJECT
public:
    ReturnTab(AppContext &ctx, QWidget *parent);

    // The date the window stamps on its lines (fixed when it was opened).
    std::function<QString()> lineDate;
    void activate();

    QLineEdit *customerField() const { return m_customer; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QTableWidget *purchasesGrid() const { return m_current; }
    QTableWidget *historyGrid() const { return m_history; }
    QLineEdit *bagsField() const { return m_bags; }
    QComboBox *unitBox() const { return m_unit; }
    QLineEdit *kilogramsField() const { return m_kilograms; }
    QLineEdit *amountField() const { return m_amount; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *listButton() const { return m_list; }
    QPushButton *correctButton() const { return m_correct; }
    QTableWidget *returnsGrid() const { return m_returns; }
    QLabel *quantityTotal() const { return m_totalQuantity; }
    QLabel *amountTotal() const { return m_totalAmount; }
    // Picks a purchase as a click on its row does.
    void pickPurchase(int row, bool history = false);
    // Opens the correction window; tests replace it.
    std::function<void()> openCorrections;
    void printList(bool direct);

private:
    void chooseCustomer();
    void enterCustomer();
    void findPurchases();
    void enterBags();
    void enterUnit();
    void prepare();
    void confirm();
    void cancel();
    void toggleList();
    void corrections();
    void resetReturnFields();
    void showReturns(const std::vector<ReturnLine> &lines);
    void showTotals();
    Returns returns();

    AppContext &m_ctx;
    EnterChain *m_enter;
    std::optional<SalesCustomer> m_cust;
    std::vector<Purchase> m_purchases;
    std::optional<Purchase> m_picked;
    std::optional<PreparedReturn> m_prepared;
    std::vector<ReturnLine> m_shown;
    bool m_allOfOperator = false;
    double m_bagsValue = 0;
    double m_totalKg = 0, m_totalMoney = 0;

    QLineEdit *m_customer, *m_region, *m_name, *m_from, *m_to, *m_product, *m_productName, *m_spec, *m_category;
    QLineEdit *m_soldPrice, *m_policyPrice, *m_bags, *m_kilograms, *m_amount, *m_date;
    QComboBox *m_unit;
    QPushButton *m_choose, *m_confirm, *m_cancel, *m_list, *m_correct, *m_print, *m_preview;
    QLabel *m_count, *m_totalQuantity, *m_totalAmount;
    QTableWidget *m_returns, *m_current, *m_history;
};

} // namespace fm
