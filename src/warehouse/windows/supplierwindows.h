#pragma once
#include "ui/functionwindow.h"
#include "warehouse/suppliers.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace fm {

class Grid;

// "供应商管理": adds, changes and deletes suppliers.
class Tgysgl : public FunctionWindow {
    Q_OBJECT
public:
    Tgysgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *addMode() const { return m_addMode; }
    QRadioButton *deleteMode() const { return m_deleteMode; }
    QRadioButton *changeMode() const { return m_changeMode; }
    QLineEdit *code() const { return m_code; }
    QLineEdit *name() const { return m_name; }
    QLineEdit *address() const { return m_address; }
    QLineEdit *phone() const { return m_phone; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    Grid *grid() const { return m_grid; }
    bool blinking() const;
    // A supplier clicked in the grid.
    void choose(qint64 id);

private:
    enum class Mode { Add, Delete, Change };
    void setMode(Mode mode);
    void showSupplier(const Supplier &s);
    void store();
    void clearInputs();
    void reload();
    void blink();
    SupplierInput inputs() const;

    Mode m_mode = Mode::Add;
    QRadioButton *m_addMode;
    QRadioButton *m_deleteMode;
    QRadioButton *m_changeMode;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_address;
    QLineEdit *m_phone;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_close;
    Grid *m_grid;
    QTimer *m_blink;
    bool m_blinkOn = false;
    qint64 m_chosen = 0;
};

// "供应商资金处理": each supplier's totals over a date range into the summary.
class Tgyszjcl : public FunctionWindow {
    Q_OBJECT
public:
    Tgyszjcl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *suppliers() const { return m_suppliers; }
    QDateEdit *from() const { return m_from; }
    QDateEdit *to() const { return m_to; }
    QPushButton *process() const { return m_process; }
    QPushButton *print() const { return m_print; }
    Grid *grid() const { return m_grid; }
    QLineEdit *payable() const { return m_payable; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *owed() const { return m_owed; }

private:
    SupplierFunds funds() const;
    void run();
    void showTotals(const FundTotals &t);

    QComboBox *m_suppliers;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QPushButton *m_process;
    QPushButton *m_print;
    QPushButton *m_close;
    QProgressBar *m_progress;
    Grid *m_grid;
    QLineEdit *m_payable;
    QLineEdit *m_paid;
    QLineEdit *m_owed;
};

// "供应商欠款查询": fund lines or the summary, of one supplier or all.
class Tgys_cx : public FunctionWindow {
    Q_OBJECT
public:
    Tgys_cx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *suppliers() const { return m_suppliers; }
    QDateEdit *from() const { return m_from; }
    QDateEdit *to() const { return m_to; }
    QRadioButton *summaryMode() const { return m_summaryMode; }
    QRadioButton *detailMode() const { return m_detailMode; }
    QPushButton *query() const { return m_query; }
    QPushButton *queryAll() const { return m_queryAll; }
    QPushButton *print() const { return m_print; }
    QPushButton *statement() const { return m_statement; }
    Grid *detailGrid() const { return m_detail; }
    Grid *summaryGrid() const { return m_summary; }
    QLineEdit *payable() const { return m_payable; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *owed() const { return m_owed; }

private:
    SupplierFunds funds() const;
    QString chosenCode() const;
    DateRange range() const;
    void run(bool all);
    void printShown();

    QComboBox *m_suppliers;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QRadioButton *m_summaryMode;
    QRadioButton *m_detailMode;
    QPushButton *m_query;
    QPushButton *m_queryAll;
    QPushButton *m_print;
    QPushButton *m_statement;
    QPushButton *m_close;
    QStackedWidget *m_grids;
    Grid *m_detail;
    Grid *m_summary;
    QLineEdit *m_payable;
    QLineEdit *m_paid;
    QLineEdit *m_owed;
    // What the grid shows, for printing it.
    QString m_shownCode;
    DateRange m_shownRange;
    bool m_shown = false;
};

} // namespace fm
