#pragma once
#include "ui/functionwindow.h"
#include "warehouse/materials.h"

#include <vector>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;

namespace fm {

class Grid;

// "原料入库" and "原料出库": movement lines of a period, of one material or all.
class MovementQueryPage : public FormPage {
    Q_OBJECT
public:
    enum class Kind { Receipts, Issues };
    MovementQueryPage(AppContext &ctx, QWidget *parent, Kind kind);
    void activate() override;

    QRadioButton *byName() const { return m_byName; }
    QRadioButton *byTime() const { return m_byTime; }
    QLineEdit *code() const { return m_code; }
    QComboBox *names() const { return m_names; }
    QDateEdit *from() const { return m_from; }
    QDateEdit *to() const { return m_to; }
    QRadioButton *production() const { return m_production; }
    QRadioButton *sale() const { return m_sale; }
    QPushButton *query() const { return m_query; }
    Grid *grid() const { return m_grid; }
    QLineEdit *tonnes() const { return m_tonnes; }
    QLineEdit *amount() const { return m_amount; }

private:
    void setByName(bool on);
    void run();

    Kind m_kind;
    QRadioButton *m_byName;
    QRadioButton *m_byTime;
    QLineEdit *m_code;
    QComboBox *m_names;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QRadioButton *m_production = nullptr;
    QRadioButton *m_sale = nullptr;
    QPushButton *m_query;
    Grid *m_grid;
    QLineEdit *m_tonnes;
    QLineEdit *m_amount;
};

// "原料资金": receipt lines of one supplier or all, with their amounts.
class ReceiptFundsPage : public FormPage {
    Q_OBJECT
public:
    ReceiptFundsPage(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *bySupplier() const { return m_bySupplier; }
    QRadioButton *byDate() const { return m_byDate; }
    QComboBox *suppliers() const { return m_suppliers; }
    QLineEdit *company() const { return m_company; }
    QDateEdit *from() const { return m_from; }
    QDateEdit *to() const { return m_to; }
    Grid *grid() const { return m_grid; }
    QLineEdit *payable() const { return m_payable; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *owed() const { return m_owed; }

private:
    void run();

    QRadioButton *m_bySupplier;
    QRadioButton *m_byDate;
    QComboBox *m_suppliers;
    QLineEdit *m_company;
    QDateEdit *m_from;
    QDateEdit *m_to;
    Grid *m_grid;
    QLineEdit *m_payable;
    QLineEdit *m_paid;
    QLineEdit *m_owed;
};

// " 供 应 商 ": the supplier list, printed as it stands.
class SupplierListPage : public FormPage {
    Q_OBJECT
public:
    SupplierListPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    Grid *grid() const { return m_grid; }
    QPushButton *print() const { return m_print; }

private:
    Grid *m_grid;
    QPushButton *m_print;
};

// "原料结存": stock rows with their value, and the stock sheet.
class StockPage : public FormPage {
    Q_OBJECT
public:
    StockPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override; // the page came to the front: every stock row

    QLineEdit *flag() const { return m_flag; }
    QPushButton *query() const { return m_query; }
    QPushButton *print() const { return m_print; }
    Grid *grid() const { return m_grid; }

private:
    void showRows(std::vector<StockRow> rows);

    QLineEdit *m_flag;
    QPushButton *m_query;
    QPushButton *m_print;
    Grid *m_grid;
    std::vector<StockRow> m_rows;
};

// "查询其他": the register with its factors, or the packaging items.
class OtherPage : public FormPage {
    Q_OBJECT
public:
    OtherPage(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *materials() const { return m_materials; }
    QRadioButton *packaging() const { return m_packaging; }
    Grid *materialGrid() const { return m_materialGrid; }
    Grid *packagingGrid() const { return m_packagingGrid; }

private:
    QRadioButton *m_materials;
    QRadioButton *m_packaging;
    QStackedWidget *m_grids;
    Grid *m_materialGrid;
    Grid *m_packagingGrid;
};

// "原料查询": the warehouse's everyday questions, in six tabs.
class Tylcx : public FunctionWindow {
    Q_OBJECT
public:
    Tylcx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    MovementQueryPage *receipts() const { return m_receipts; }
    MovementQueryPage *issues() const { return m_issues; }
    ReceiptFundsPage *funds() const { return m_funds; }
    SupplierListPage *supplierList() const { return m_suppliers; }
    StockPage *stock() const { return m_stock; }
    OtherPage *other() const { return m_other; }

private:
    QTabWidget *m_tabs;
    MovementQueryPage *m_receipts;
    MovementQueryPage *m_issues;
    ReceiptFundsPage *m_funds;
    SupplierListPage *m_suppliers;
    StockPage *m_stock;
    OtherPage *m_other;
    QPushButton *m_close;
};

} // namespace fm
