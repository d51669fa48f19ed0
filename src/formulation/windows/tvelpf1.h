#pragma once
#include "formulation/formulacalculation.h"
#include "formulation/leastcost.h"
#include "ui/functionwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// The second step of a formula (caption: the enterprise name and
// "配方（二）"): the shares of the materials, typed or found by least cost,
// computed against the standard and saved under a number.
class Tvelpf1 : public FunctionWindow {
    Q_OBJECT
public:
    Tvelpf1(AppContext &ctx, QWidget *parent);

    // Columns of the lines grid.
    enum LineColumn { Name, Share, Price, Low, High, Entering, Created };
    // Columns of the nutrient limits grid (factors s1 .. s38 by row).
    enum LimitColumn { LimitName, LimitMinimum, LimitMaximum, LimitShadow };

    // Takes the composed and priced formula of the first step.
    void start(const FormulaComposition &composition);

    Grid *lines() const { return m_lines; }
    Grid *results() const { return m_results; }
    Grid *limits() const { return m_limits; }
    QLineEdit *standard() const { return m_standard; }
    QLineEdit *formulaName() const { return m_name; }
    QLineEdit *formulaNumber() const { return m_number; }
    QPushButton *compute() const { return m_compute; }
    QPushButton *showResults() const { return m_showResults; }
    QPushButton *leastCost() const { return m_leastCost; }
    QPushButton *finish() const { return m_finish; }
    QPushButton *back() const { return m_back; }
    QLabel *status() const { return m_status; }
    const FormulaComposition &composition() const { return m_comp; }
    const LeastCostResult &lastSolution() const { return m_solution; }

    // Types a share into a row as the formulator would.
    void typeShare(int row, const QString &text);

private:
    FormulaCalculation calculation() const;
    void showLines();
    void showLimits();
    void showResultRows();
    // The typed shares into the composition; the first bad one is focused.
    void readShares();
    void computeResults();
    void toggleResults();
    void runLeastCost();
    void save();
    void standardsChanged();

    Grid *m_lines;
    Grid *m_results;
    Grid *m_limits;
    QLineEdit *m_standard;
    QLineEdit *m_name;
    QLineEdit *m_number;
    QPushButton *m_compute;
    QPushButton *m_showResults;
    QPushButton *m_leastCost;
    QPushButton *m_finish;
    QPushButton *m_back;
    QLabel *m_status;
    FormulaComposition m_comp;
    LeastCostResult m_solution;
};

} // namespace fm
