#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "成本数据查询": a customer's sales lines with their invoice, policy and
// cost prices, current above and archived below; a part without lines gives
// its room to the other. Prints the current lines.
class Tzx_cbsj : public FunctionWindow {
    Q_OBJECT
public:
    Tzx_cbsj(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *nameBox() const { return m_name; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QPushButton *printButton() const { return m_print; }
    Grid *currentGrid() const { return m_current; }
    Grid *historyGrid() const { return m_history; }
    QGroupBox *currentPart() const { return m_currentPart; }
    QGroupBox *historyPart() const { return m_historyPart; }

private:
    void regionChosen();
    void query();

    QComboBox *m_region;
    QComboBox *m_name;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_print;
    Grid *m_current;
    Grid *m_history;
    QGroupBox *m_currentPart;
    QGroupBox *m_historyPart;
};

} // namespace fm
