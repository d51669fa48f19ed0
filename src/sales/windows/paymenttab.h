#pragma once
// The "回  款" tab of the sales window.

#include "accounts/customers.h"
#include "ui/functionwindow.h"

#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class PaymentTab : public FormPage {
    Q_OBJECT
public:
    PaymentTab(AppContext &ctx, QWidget *parent);

    // Starts over with nothing chosen.
    void activate() override;

    QLineEdit *customerField() const { return m_customer; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *balanceOwedField() const { return m_balanceOwed; }
    QRadioButton *oldDebtButton() const { return m_oldDebt; }
    QRadioButton *lateButton() const { return m_late; }
    QLineEdit *receivableField() const { return m_receivable; }
    QLineEdit *receivedField() const { return m_received; }
    QLineEdit *owedField() const { return m_owed; }
    QPushButton *receiptButton() const { return m_receipt; }
    QPushButton *customersButton() const { return m_customers; }
    QGroupBox *balanceGroup() const { return m_balanceGroup; }
    QPushButton *quitButton() const { return m_quit; }

private:
    Go enterCustomer();
    Go record();
    void chooseOldDebt();
    void chooseLate();
    void printReceipt();
    void showBalance();
    void clearEntry();

    std::optional<Customer> m_cust;
    qint64 m_written = 0;

    QLineEdit *m_customer, *m_region, *m_name;
    QGroupBox *m_balanceGroup;
    QLineEdit *m_balanceReceivable, *m_balanceReceived, *m_balanceOwed;
    QRadioButton *m_oldDebt, *m_late;
    QLineEdit *m_receivable, *m_received, *m_owed;
    QPushButton *m_receipt, *m_quit, *m_customers;
};

} // namespace fm
