#pragma once
#include "pricing/costprocessing.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "成本数据处理": a region's sales lines of a period, their gross profit at
// the policy price against the cost price, and the regional and abnormal
// sheets. The cost rows belong to this workstation.
class Tcbgl : public FunctionWindow {
    Q_OBJECT
public:
    Tcbgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QLineEdit *grossProfit() const { return m_profit; }
    QPushButton *processButton() const { return m_process; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *abnormalButton() const { return m_abnormal; }
    Grid *grid() const { return m_grid; }

private:
    CostProcessing costs() const;
    Go regionChosen();
    Go process();
    void setPrintable(bool on);

    QComboBox *m_region;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QLineEdit *m_profit;
    QPushButton *m_process;
    QPushButton *m_print;
    QPushButton *m_abnormal;
    Grid *m_grid;
    QString m_processed; // the region whose rows the sheets print
};

} // namespace fm
