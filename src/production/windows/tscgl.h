#pragma once
#include "production/productionruns.h"
#include "ui/functionwindow.h"

#include <array>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "生产管理": a team's production run. The team and the team before it, the
// formula and the quantities draw the run's raw-material lines; the cost
// button prices the run; the output is allocated to up to four products and
// confirmed. Opened by the production login.
class Tscgl : public FunctionWindow {
    Q_OBJECT
public:
    Tscgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    struct Slot {
        QLineEdit *code = nullptr;
        QLineEdit *spec = nullptr;
        QLineEdit *name = nullptr;
        QLineEdit *quantity = nullptr;
    };

    QLineEdit *teamField() const { return m_team; }
    QLineEdit *previousTeamField() const { return m_previousTeam; }
    QLineEdit *formulaField() const { return m_formula; }
    QLineEdit *formulaNameField() const { return m_formulaName; }
    QLineEdit *categoryField() const { return m_category; }
    QDateEdit *dateField() const { return m_date; }
    QLineEdit *productionField() const { return m_production; }
    QLineEdit *reprocessedField() const { return m_reprocessed; }
    QLineEdit *actualField() const { return m_actual; }
    QPushButton *costButton() const { return m_cost; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *confirmButton() const { return m_confirm; }
    const Slot &slot(int i) const { return m_slots[size_t(i)]; }
    Grid *lines() const { return m_lines; }
    const ProductionRun &run() const { return m_run; }

    // Closing: a drawn run that was not confirmed is cancelled after asking.
    void reject() override;

private:
    ProductionRuns runs() const { return ProductionRuns(session(), *ctx().clock); }
    Go teamEntered(QLineEdit *field, bool first);
    Go formulaEntered();
    Go quantitiesEntered();
    Go drawLines();
    Go costRun();
    Go codeEntered(int i);
    Go specEntered(int i);
    Go quantityEntered(int i);
    void confirmRun();
    void cancelRun();
    void showLines();
    void setHeadLocked(bool locked);
    void clearSlots();
    RunHead head() const;

    QLineEdit *m_team;
    QLineEdit *m_previousTeam;
    QLineEdit *m_formula;
    QLineEdit *m_formulaName;
    QLineEdit *m_category;
    QDateEdit *m_date;
    QLineEdit *m_production;
    QLineEdit *m_reprocessed;
    QLineEdit *m_actual;
    QPushButton *m_cost;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    std::array<Slot, ProductionRuns::kSlots> m_slots;
    Grid *m_lines;
    ProductionRun m_run;
    int m_serial = 0; // the line counter of this opening of the window
};

} // namespace fm
