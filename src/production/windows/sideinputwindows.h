#pragma once
// The production side inputs: sundry returns, shift balances, a team's
// production cost over a period, monthly overheads, and the two lists they
// open ("杂料回机浏览", "成本显示").

#include "production/sideinputs.h"
#include "ui/functionwindow.h"

#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "杂回料输入": kilograms of sundry material returned, per product.
class Tzlsr : public FunctionWindow {
    Q_OBJECT
public:
    Tzlsr(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *teamField() const { return m_team; }
    QLineEdit *teamNameField() const { return m_teamName; }
    QDateEdit *dateField() const { return m_date; }
    QComboBox *productList() const { return m_products; }
    QLineEdit *codeField() const { return m_code; }
    QLineEdit *quantityField() const { return m_quantity; }
    QPushButton *confirmButton() const { return m_confirm; }

private:
    SundryReturns returns() const { return SundryReturns(session(), *ctx().clock); }
    Go teamEntered();
    void productChosen();
    void confirm();
    void clearProduct();

    QLineEdit *m_team;
    QLineEdit *m_teamName;
    QDateEdit *m_date;
    QComboBox *m_products;
    QLineEdit *m_code;
    QLineEdit *m_spec;
    QLineEdit *m_formula;
    QLineEdit *m_quantity;
    QPushButton *m_confirm;
};

// "杂料回机浏览": every sundry return.
class Tscsyk_cx : public FunctionWindow {
    Q_OBJECT
public:
    Tscsyk_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
    Grid *grid() const { return m_grid; }

private:
    Grid *m_grid;
};

// "生产结存数输入": the balances of a team's shift consumption rows.
class Tjcsl : public FunctionWindow {
    Q_OBJECT
public:
    Tjcsl(AppContext &ctx, QWidget *parent);
    void activate() override;
    // Opened from the production cost input: its team and start date.
    void startWith(const QString &team, const QDate &start);

    QLineEdit *teamField() const { return m_team; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    Grid *grid() const { return m_grid; }
    QLineEdit *materialField() const { return m_material; }
    QLineEdit *balanceField() const { return m_balance; }
    QLineEdit *previousField() const { return m_previous; }
    QLineEdit *drawnField() const { return m_drawn; }
    void choose(qint64 id); // a row clicked

private:
    ShiftBalances balances() const { return ShiftBalances(session()); }
    void showRows();
    Go store();
    void clearBalances();

    QLineEdit *m_team;
    QDateEdit *m_start;
    QDateEdit *m_end;
    Grid *m_grid;
    QLineEdit *m_material;
    QLineEdit *m_balance;
    QLineEdit *m_previous;
    QLineEdit *m_drawn;
    EnterChain &m_balanceChain = addChain();
    qint64 m_chosen = 0;
    QString m_presetTeam;
    QDate m_presetStart;
};

// "成本显示": stored team production costs.
class Tcb_show : public FunctionWindow {
    Q_OBJECT
public:
    Tcb_show(AppContext &ctx, QWidget *parent);
    void list(const Rows &rows);
    Grid *grid() const { return m_grid; }

private:
    Grid *m_grid;
};

// "生产成本输入": a team's production cost over a period.
class Tvelsccb : public FunctionWindow {
    Q_OBJECT
public:
    Tvelsccb(AppContext &ctx, QWidget *parent);
    void activate() override;

    // The wage accumulation for a team from a start date: the wages, or
    // nothing when it was closed without a result. Tests replace it.
    std::function<std::optional<double>(const QString &team, const QDate &start)> accumulateWages;
    // Opens the shift balances for a team and start date. Tests replace it.
    std::function<void(const QString &team, const QDate &start)> openBalances;

    QLineEdit *teamField() const { return m_team; }
    QLineEdit *teamNameField() const { return m_teamName; }
    QLineEdit *headCountField() const { return m_heads; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    QLineEdit *actualField() const { return m_actual; }
    QLineEdit *productionField() const { return m_production; }
    QLineEdit *packagingField() const { return m_packaging; }
    QLineEdit *theoreticalField() const { return m_theoretical; }
    QLineEdit *lossRateField() const { return m_lossRate; }
    QLabel *lossMark() const { return m_mark; }
    QLineEdit *wagesField() const { return m_wages; }
    QLineEdit *electricityField() const { return m_electricity; }
    QLineEdit *waterField() const { return m_water; }
    QLineEdit *coalField() const { return m_coal; }
    QLineEdit *otherField() const { return m_other; }
    QPushButton *confirmButton() const { return m_confirm; }

private:
    TeamCosts costs() const { return TeamCosts(session(), *ctx().clock); }
    Go teamEntered();
    Go periodEntered();
    Go wagesEntered();
    void confirm();
    void browse();
    void balances();
    void clearFigures();

    QLineEdit *m_team;
    QLineEdit *m_teamName;
    QLineEdit *m_heads;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QLineEdit *m_actual;
    QLineEdit *m_production;
    QLineEdit *m_packaging;
    QLineEdit *m_theoretical;
    QLineEdit *m_lossRate;
    QLabel *m_mark;
    QLineEdit *m_wages;
    QLineEdit *m_electricity;
    QLineEdit *m_water;
    QLineEdit *m_coal;
    QLineEdit *m_other;
    QPushButton *m_confirm;
};

// "制造费用输入": a month's manufacturing overheads.
class Tzzfy_sr : public FunctionWindow {
    Q_OBJECT
public:
    Tzzfy_sr(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *yearList() const { return m_year; }
    QComboBox *monthList() const { return m_month; }
    QLineEdit *wagesField() const { return m_wages; }
    QLineEdit *electricityField() const { return m_electricity; }
    QLineEdit *gasField() const { return m_gas; }
    QLineEdit *otherField() const { return m_other; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *deleteButton() const { return m_delete; }
    Grid *grid() const { return m_grid; }
    void choose(qint64 id); // a row clicked

private:
    Overheads overheads() const { return Overheads(session(), *ctx().clock); }
    void confirm();
    void cancel();
    void remove();
    void showRows(qint64 current = 0);

    QComboBox *m_year;
    QComboBox *m_month;
    QLineEdit *m_wages;
    QLineEdit *m_electricity;
    QLineEdit *m_gas;
    QLineEdit *m_other;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_delete;
    Grid *m_grid;
    qint64 m_chosen = 0;
};

} // namespace fm
