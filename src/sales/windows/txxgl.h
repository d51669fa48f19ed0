#pragma once
// "饲料销售管理": issue on turnover slips, returns and payments, one tab each.

#include "sales/salesslip.h"
#include "ui/functionwindow.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace fm {

class CustomerProductList;
class PaymentTab;
class ReturnTab;

class Txxgl : public FunctionWindow {
    Q_OBJECT
public:
    Txxgl(AppContext &ctx, QWidget *parent);
    ~Txxgl() override;
    void activate() override;

    SalesSlip &slip() { return *m_slip; }
    QTabWidget *tabs() const { return m_tabs; }

    // The "周  转" tab's fields and buttons, in Enter order.
    QLineEdit *customerField() const { return m_customer; }
    QLineEdit *regionField() const { return m_region; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *numberField() const { return m_number; }
    QLineEdit *productField() const { return m_product; }
    QLineEdit *productNameField() const { return m_productName; }
    QLineEdit *specField() const { return m_spec; }
    QLineEdit *categoryField() const { return m_category; }
    QLineEdit *priceField() const { return m_price; }
    QLineEdit *bagsField() const { return m_bags; }
    QComboBox *unitBox() const { return m_unit; }
    QLineEdit *kilogramsField() const { return m_kilograms; }
    QLineEdit *amountField() const { return m_amount; }
    QLineEdit *receivedField() const { return m_received; }
    QLineEdit *owedField() const { return m_owed; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *correctButton() const { return m_correct; }
    QPushButton *productsButton() const { return m_catalogue; }
    QPushButton *payButton() const { return m_pay; }
    QPushButton *printButton() const { return m_print; }
    QLabel *quantityTotal() const { return m_totalQuantity; }
    QLabel *amountTotal() const { return m_totalAmount; }
    QTableWidget *linesGrid() const { return m_lines; }
    ReturnTab *returnTab() const { return m_returnTab; }
    PaymentTab *paymentTab() const { return m_paymentTab; }

    // Opens the correction window; replaced until it exists and by tests.
    std::function<void()> openCorrections;

    // Closing is refused while the slip has lines and no payment.
    void reject() override;

private:
    QWidget *buildIssueTab();
    void chooseCustomer();
    void enterCustomer();
    void enterProduct();
    void enterPrice();
    void enterBags();
    void enterUnit();
    void enterLine();
    void startPayment();
    void enterReceived();
    void closeSlip();
    void printSlip();
    void corrections();
    void resetLineFields();
    void showTotals();
    void refreshLines();
    void showMessages(const QString &text);

    std::unique_ptr<SalesSlip> m_slip;
    std::optional<ProductQuote> m_quote;
    double m_linePrice = 0;
    double m_retailPolicy = 0;
    double m_lineBags = 0;
    double m_lineKilograms = 0;

    QTabWidget *m_tabs;
    QLineEdit *m_customer, *m_region, *m_name, *m_number, *m_date;
    QLineEdit *m_product, *m_productName, *m_spec, *m_category, *m_price, *m_bags;
    QComboBox *m_unit;
    QLineEdit *m_kilograms, *m_amount, *m_received, *m_owed;
    QPushButton *m_choose, *m_correct, *m_customers, *m_productList, *m_catalogue, *m_pay, *m_print;
    QLabel *m_totalQuantity, *m_totalAmount;
    QTableWidget *m_lines;
    CustomerProductList *m_productListWindow = nullptr;
    ReturnTab *m_returnTab;
    PaymentTab *m_paymentTab;
};

} // namespace fm
