#pragma once
#include "data/row.h"
#include "ui/functionwindow.h"
#include "warehouse/packagingstock.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace fm {

class Grid;

// "包装物入库": a packaging item received at a price.
class PackagingReceiptPage : public FormPage {
    Q_OBJECT
public:
    PackagingReceiptPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    QComboBox *typeList() const { return m_type; }
    QComboBox *codeList() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *specField() const { return m_spec; }
    QLineEdit *priceField() const { return m_price; }
    QLineEdit *quantityField() const { return m_quantity; }
    QLineEdit *totalField() const { return m_total; }
    Grid *stockGrid() const { return m_grid; }

private:
    PackagingStock stock() const { return PackagingStock(session(), *ctx().clock); }
    void typeChosen();
    Go codeEntered();
    Go quantityEntered();
    void reset();

    QComboBox *m_type;
    QComboBox *m_code;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QLineEdit *m_price;
    QLineEdit *m_quantity;
    QLineEdit *m_total;
    Grid *m_grid;
    QString m_letter;
};

// "包装物出库": stock issued to a person of a production team.
class PackagingIssuePage : public FormPage {
    Q_OBJECT
public:
    PackagingIssuePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    QLineEdit *personCode() const { return m_personCode; }
    QComboBox *personList() const { return m_person; }
    QComboBox *typeList() const { return m_type; }
    Grid *stockGrid() const { return m_grid; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *quantityField() const { return m_quantity; }
    QLineEdit *remainderField() const { return m_remainder; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *abandonButton() const { return m_abandon; }

private:
    PackagingStock stock() const { return PackagingStock(session(), *ctx().clock); }
    void personEntered();
    void personChosen();
    void typeChosen();
    void rowClicked(qint64 id);
    Go quantityEntered();
    void confirm();
    void abandon();
    void showType();

    QLineEdit *m_personCode;
    QComboBox *m_person;
    QComboBox *m_type;
    Grid *m_grid;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QLineEdit *m_quantity;
    QLineEdit *m_remainder;
    QPushButton *m_confirm;
    QPushButton *m_abandon;
    Rows m_rows;
    QString m_letter;
    QString m_itemCode;
};

// "包装物结存": the lines of a date range, the stock list, its print and the
// clean-up of empty rows.
class PackagingBalancePage : public FormPage {
    Q_OBJECT
public:
    PackagingBalancePage(AppContext &ctx, QWidget *parent);
    void activate() override;

    QDateEdit *fromDate() const { return m_from; }
    QDateEdit *toDate() const { return m_to; }
    QPushButton *queryButton() const { return m_query; }
    QPushButton *printButton() const { return m_print; }
    QGroupBox *resultBox() const { return m_box; }
    Grid *resultGrid() const { return m_grid; }
    QLineEdit *piecesField() const { return m_pieces; }
    QLineEdit *amountField() const { return m_amount; }
    void chooseLines(bool receipts);
    void showStock();
    void tidy();

private:
    PackagingStock stock() const { return PackagingStock(session(), *ctx().clock); }
    void query();
    void show(const Rows &rows);

    QDateEdit *m_from;
    QDateEdit *m_to;
    QPushButton *m_query;
    QPushButton *m_print;
    QGroupBox *m_box;
    Grid *m_grid;
    QLineEdit *m_pieces;
    QLineEdit *m_amount;
    QString m_kind = QStringLiteral("I");
    Rows m_rows;
};

// "包装物管理": packaging material receipts, issues and stock.
class Tbzwgl : public FunctionWindow {
    Q_OBJECT
public:
    Tbzwgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    PackagingReceiptPage *receipts() const { return m_receipts; }
    PackagingIssuePage *issues() const { return m_issues; }
    PackagingBalancePage *balance() const { return m_balance; }

private:
    QTabWidget *m_tabs;
    PackagingReceiptPage *m_receipts;
    PackagingIssuePage *m_issues;
    PackagingBalancePage *m_balance;
};

} // namespace fm
