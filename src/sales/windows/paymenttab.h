#pragma once
// The "回  款" tab of the sales window.

#include "sales/salesslip.h"
#include "shell/appcontext.h"

#include <QWidget>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class EnterChain;

class PaymentTab : public QWidget {
    Q_OBJECT
public:
    PaymentTab(AppContext &ctx, QWidget *parent);

    QLineEdit *customerField() const { return m_customer; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *balanceOwedField() const { return m_balanceOwed; }
    QRadioButton *oldDebtButton() const { return m_oldDebt; }
    QRadioButton *lateButton() const { return m_late; }
    QLineEdit *receivableField() const { return m_receivable; }
    QLineEdit *receivedField() const { return m_received; }
    QLineEdit *owedField() const { return m_owed; }
    QPushButton *receiptButton() const { return m_receipt; }
    QGroupBox *balanceGroup() const { return m_balanceGroup; }
    QPushButton *quitButton() const { return m_quit; }

private:
    void enterCustomer();
    void chooseOldDebt();
    void chooseLate();
    void record();
    void printReceipt();
    void showBalance();
    void clearEntry();

    AppContext &m_ctx;
    EnterChain *m_enter;
    std::optional<SalesCustomer> m_cust;
    qint64 m_written = 0;

    QLineEdit *m_customer, *m_region, *m_name;
    QGroupBox *m_balanceGroup;
    QLineEdit *m_balanceReceivable, *m_balanceReceived, *m_balanceOwed;
    QRadioButton *m_oldDebt, *m_late;
    QLineEdit *m_receivable, *m_received, *m_owed;
    QPushButton *m_receipt, *m_quit, *m_customers;
};

} // namespace fm
