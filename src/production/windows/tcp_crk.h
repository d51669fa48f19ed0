#pragma once
#include "production/productledger.h"
#include "ui/functionwindow.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace fm {

class Grid;

// A page of "产品入/出库管理" that books receipts ("产品入库") or issues
// ("产品出库") of the ledger's products and lists the picked day's lines.
class LedgerLinePage : public FormPage {
    Q_OBJECT
public:
    LedgerLinePage(AppContext &ctx, bool receipts, QWidget *parent);
    void activate() override;
    void refresh() override; // the product list read again

    QLineEdit *codeField() const { return m_code; }
    QComboBox *nameList() const { return m_name; }
    QLineEdit *specField() const { return m_spec; }
    QComboBox *kindList() const { return m_kind; }
    QDateEdit *dateField() const { return m_date; }
    QLineEdit *quantityField() const { return m_quantity; }
    QPushButton *confirmButton() const { return m_confirm; }
    Grid *dayList() const { return m_lines; }

private:
    ProductLedger ledger() const { return ProductLedger(session()); }
    void codeEntered();
    void nameChosen();
    void confirm();
    void reset();
    void showDay();

    bool m_receipts;
    QLineEdit *m_code;
    QComboBox *m_name;
    QLineEdit *m_spec;
    QComboBox *m_kind;
    QDateEdit *m_date;
    QLineEdit *m_quantity;
    QPushButton *m_confirm;
    Grid *m_lines;
};

// "产品维护": a product added to the ledger's register, or one looked up and
// deleted.
class LedgerRegisterPage : public FormPage {
    Q_OBJECT
public:
    LedgerRegisterPage(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *addChoice() const { return m_addChoice; }
    QRadioButton *maintainChoice() const { return m_maintainChoice; }
    QGroupBox *addGroup() const { return m_addBox; }
    QGroupBox *maintainGroup() const { return m_maintainBox; }
    QLineEdit *newCode() const { return m_newCode; }
    QLineEdit *newName() const { return m_newName; }
    QLineEdit *newSpec() const { return m_newSpec; }
    QLineEdit *newRemark() const { return m_newRemark; }
    QPushButton *addButton() const { return m_add; }
    QLineEdit *findCode() const { return m_findCode; }
    QLineEdit *foundName() const { return m_foundName; }
    QPushButton *deleteButton() const { return m_delete; }
    Grid *products() const { return m_list; }

private:
    ProductLedger ledger() const { return ProductLedger(session()); }
    void addProduct();
    void findProduct();
    void deleteProduct();
    void showProducts();

    QRadioButton *m_addChoice;
    QRadioButton *m_maintainChoice;
    QGroupBox *m_addBox;
    QGroupBox *m_maintainBox;
    QLineEdit *m_newCode;
    QLineEdit *m_newName;
    QLineEdit *m_newSpec;
    QLineEdit *m_newRemark;
    QPushButton *m_add;
    QLineEdit *m_findCode;
    QLineEdit *m_foundName;
    QLineEdit *m_foundSpec;
    QLineEdit *m_foundRemark;
    QPushButton *m_delete;
    Grid *m_list;
};

// "产品入/出库管理": the product in/out ledger.
class Tcp_crk : public FunctionWindow {
    Q_OBJECT
public:
    Tcp_crk(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    LedgerLinePage *receipts() const { return m_receipts; }
    LedgerLinePage *issues() const { return m_issues; }
    LedgerRegisterPage *maintenance() const { return m_register; }

private:
    QTabWidget *m_tabs;
    LedgerLinePage *m_receipts;
    LedgerLinePage *m_issues;
    LedgerRegisterPage *m_register;
};

} // namespace fm
