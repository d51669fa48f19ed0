#pragma once
#include "ui/functionwindow.h"
#include "warehouse/materialdesk.h"

#include <functional>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Trkxg;
class SupplierPanel;

// The receipt group of "原料管理": material, supplier, contract, quantity,
// price, amounts; a new supplier on the way.
class ReceiptPanel : public FormPage {
    Q_OBJECT
public:
    ReceiptPanel(AppContext &ctx, QWidget *parent);
    void activate() override; // lists reloaded, inputs cleared
    void start();             // the group was chosen

    QLineEdit *code() const { return m_code; }
    QComboBox *names() const { return m_names; }
    QLineEdit *grade() const { return m_grade; }
    QComboBox *suppliers() const { return m_suppliers; }
    QLineEdit *supplierCode() const { return m_supplierCode; }
    QLineEdit *contract() const { return m_contract; }
    QLineEdit *tonnes() const { return m_tonnes; }
    QLineEdit *price() const { return m_price; }
    QLineEdit *amount() const { return m_amount; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *owed() const { return m_owed; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    QPushButton *query() const { return m_query; }
    SupplierPanel *newSupplier() const { return m_newSupplier; }

    std::function<void(const ReceiptResult &)> received;
    std::function<void()> openQuery;

private:
    MaterialDesk desk() const;
    void materialChosen();
    Go supplierEntered();
    void supplierChosen();
    void setAmountEditable(bool on);
    ReceiptEntry entry() const;
    void store();
    void clear();
    void supplierPanelClosed(qint64 supplierId);

    QLineEdit *m_code;
    QComboBox *m_names;
    QLineEdit *m_grade;
    QComboBox *m_suppliers;
    QLineEdit *m_supplierCode;
    QLineEdit *m_contract;
    QLineEdit *m_tonnes;
    QLineEdit *m_price;
    QLineEdit *m_amount;
    QLineEdit *m_paid;
    QLineEdit *m_owed;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_query;
    SupplierPanel *m_newSupplier;
    QGroupBox *m_newSupplierBox;
    bool m_amountOnly = false;
};

// The new-supplier panel of the receipt group.
class SupplierPanel : public FormPage {
    Q_OBJECT
public:
    SupplierPanel(AppContext &ctx, QWidget *parent);
    void open();

    QLineEdit *code() const { return m_code; }
    QLineEdit *name() const { return m_name; }
    QLineEdit *address() const { return m_address; }
    QLineEdit *phone() const { return m_phone; }
    QPushButton *finish() const { return m_finish; }

    // The panel closed; the id of the supplier added, 0 when none.
    std::function<void(qint64 supplierId)> closed;

private:
    void close(qint64 supplierId);

    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_address;
    QLineEdit *m_phone;
    QPushButton *m_finish;
    qint64 m_added = 0;
};

// The issue group: material, quantity, the worker who takes it, a remark.
class IssuePanel : public FormPage {
    Q_OBJECT
public:
    IssuePanel(AppContext &ctx, QWidget *parent);
    void activate() override;
    void start();

    QLineEdit *code() const { return m_code; }
    QComboBox *names() const { return m_names; }
    QLineEdit *grade() const { return m_grade; }
    QLineEdit *tonnes() const { return m_tonnes; }
    QLineEdit *worker() const { return m_worker; }
    QLineEdit *workerName() const { return m_workerName; }
    QLineEdit *team() const { return m_team; }
    QLineEdit *remark() const { return m_remark; }
    QRadioButton *production() const { return m_production; }
    QRadioButton *sale() const { return m_sale; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    QPushButton *query() const { return m_query; }

    std::function<void(const IssueResult &)> issued;
    std::function<void()> openQuery;

private:
    MaterialDesk desk() const;
    void showMaterial(qint64 id);
    void store();
    void clear();

    QLineEdit *m_code;
    QComboBox *m_names;
    QLineEdit *m_grade;
    QLineEdit *m_tonnes;
    QLineEdit *m_worker;
    QLineEdit *m_workerName;
    QLineEdit *m_team;
    QLineEdit *m_remark;
    QRadioButton *m_production;
    QRadioButton *m_sale;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_query;
};

// The supplier payment group.
class FundsPanel : public FormPage {
    Q_OBJECT
public:
    FundsPanel(AppContext &ctx, QWidget *parent);
    void activate() override;
    void start();

    QLineEdit *code() const { return m_code; }
    QComboBox *suppliers() const { return m_suppliers; }
    QLineEdit *payable() const { return m_payable; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *owed() const { return m_owed; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    QPushButton *query() const { return m_query; }

    std::function<void()> openQuery;

private:
    MaterialDesk desk() const;
    bool showSupplier(const QString &code);
    void store();
    void clear();

    QLineEdit *m_code;
    QComboBox *m_suppliers;
    QLineEdit *m_payable;
    QLineEdit *m_paid;
    QLineEdit *m_owed;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_query;
};

// "原料管理": the warehouse keeper's desk for raw materials — receipts,
// issues and supplier payments, one group at a time, with running totals.
class Tylgl : public FunctionWindow {
    Q_OBJECT
public:
    Tylgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *receiptMode() const { return m_receiptMode; }
    QRadioButton *issueMode() const { return m_issueMode; }
    QRadioButton *fundsMode() const { return m_fundsMode; }
    ReceiptPanel *receipt() const { return m_receipt; }
    IssuePanel *issue() const { return m_issue; }
    FundsPanel *funds() const { return m_funds; }
    QLineEdit *paidTotal() const { return m_paidTotal; }
    QLineEdit *receivedTotal() const { return m_receivedTotal; }
    QLineEdit *issueCount() const { return m_issueCount; }
    QLineEdit *issuedTotal() const { return m_issuedTotal; }
    QPushButton *correct() const { return m_correct; }
    // "入库修改", opened by "修改".
    Trkxg *correction();

private:
    enum class Mode { None, Receipt, Issue, Funds };
    void setMode(Mode mode);
    void showTotals();
    template <class W>
    void openList();

    QDateEdit *m_date;
    QRadioButton *m_receiptMode;
    QRadioButton *m_issueMode;
    QRadioButton *m_fundsMode;
    QGroupBox *m_receiptBox;
    QGroupBox *m_issueBox;
    QGroupBox *m_fundsBox;
    ReceiptPanel *m_receipt;
    IssuePanel *m_issue;
    FundsPanel *m_funds;
    QLineEdit *m_paidTotal;
    QLineEdit *m_receivedTotal;
    QLineEdit *m_issueCount;
    QLineEdit *m_issuedTotal;
    QPushButton *m_correct;
    QPushButton *m_close;
    Trkxg *m_correction = nullptr;
    DeskTotals m_totals;
};

} // namespace fm
