#pragma once
// The "周  转" tab of the sales window: a turnover slip from the customer to
// its payment and print.

#include "sales/salesslip.h"
#include "ui/functionwindow.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class CustomerProductList;
class Grid;

class IssueTab : public FormPage {
    Q_OBJECT
public:
    IssueTab(AppContext &ctx, QWidget *parent);
    ~IssueTab() override;

    // A slip of the operator logged in now; this workstation's and
    // operator's interrupted slip comes back.
    void activate() override;
    // False (with the message) while the slip has lines and no payment.
    bool canLeave();

    SalesSlip &slip() { return *m_slip; }

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
    QPushButton *productListButton() const { return m_productList; }
    QPushButton *productsButton() const { return m_catalogue; }
    QPushButton *payButton() const { return m_pay; }
    QPushButton *printButton() const { return m_print; }
    QLabel *quantityTotal() const { return m_totalQuantity; }
    QLabel *amountTotal() const { return m_totalAmount; }
    Grid *linesGrid() const { return m_lines; }

    // Opens the correction window; tests replace it.
    std::function<void()> openCorrections;

private:
    Go enterCustomer();
    Go enterProduct();
    Go enterPrice();
    Go enterBags();
    const ProductQuote &quote() const; // the chosen product's, or a refusal
    Go enterUnit();
    Go enterLine();
    Go enterReceived();
    Go closeSlip();
    void chooseCustomer();
    void startPayment();
    void printSlip();
    void corrections();
    void showProducts();
    void clearLine();
    void showSlip();
    QString workstation() const;

    std::unique_ptr<SalesSlip> m_slip;
    std::optional<ProductQuote> m_quote;
    double m_linePrice = 0;
    std::optional<double> m_retailPolicy;
    double m_lineBags = 0;

    QLineEdit *m_customer, *m_region, *m_name, *m_number, *m_date;
    QLineEdit *m_product, *m_productName, *m_spec, *m_category, *m_price, *m_bags;
    QComboBox *m_unit;
    QLineEdit *m_kilograms, *m_amount, *m_received, *m_owed;
    QPushButton *m_choose, *m_correct, *m_customers, *m_productList, *m_catalogue, *m_pay, *m_print;
    QLabel *m_totalQuantity, *m_totalAmount;
    Grid *m_lines;
    CustomerProductList *m_productListWindow = nullptr;
};

} // namespace fm
