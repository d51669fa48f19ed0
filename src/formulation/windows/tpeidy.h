#pragma once
#include "formulation/formulabook.h"
#include "ui/functionwindow.h"

#include <QSet>
#include <vector>

class QPushButton;

namespace fm {

class Grid;

// "配方价格查询": the costs of the formulas saved in a range; a click marks a
// formula to leave out of the printed price list (or takes the mark off).
// The marks belong to this window: another workstation printing its own
// list is not disturbed.
class Tpeidy : public FunctionWindow {
    Q_OBJECT
public:
    Tpeidy(AppContext &ctx, QWidget *parent);

    // Reads the costs of the range and clears every mark; false on a refusal
    // (shown).
    bool load(QDate start, QDate end);
    // Marks or unmarks the formula of a row, as a click does.
    void toggle(int row);

    Grid *grid() const { return m_grid; }
    QPushButton *print() const { return m_print; }
    const QSet<QString> &marked() const { return m_marked; }

private:
    void showRows(qint64 select);
    void printList();

    Grid *m_grid;
    QPushButton *m_print;
    std::vector<SavedPrice> m_rows;
    QSet<QString> m_marked; // folded formula numbers
    qint64 m_lastClicked = 0;
};

} // namespace fm
