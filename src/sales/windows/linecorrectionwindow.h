#pragma once
// The two correction windows of the sales window: issue lines of the open
// slip ("修改窗口-点击鼠标右建，选择修改方式") and return lines ("修改窗口").
// A line is picked in the grid; the right-click menu deletes or modifies it.

#include "data/row.h"
#include "ui/functionwindow.h"

#include <functional>

class QLineEdit;

namespace fm {

class Grid;

class LineCorrectionWindow : public FunctionWindow {
    Q_OBJECT
public:
    enum class Kind { Issue, Return };

    LineCorrectionWindow(AppContext &ctx, Kind kind, QWidget *parent);

    // What the window lists, and (issue lines) the slip's print rows: the
    // workstation that owns them and the print line of a line.
    std::function<Rows()> listLines;
    std::function<int(qint64)> printLineOf;
    QString workstation;

    // Lists the lines, the edit panel closed.
    void activate() override;
    void reload();
    // The right-click menu's two actions, on the current row.
    void deleteCurrent();
    void modifyCurrent();

    Grid *grid() const { return m_grid; }
    QLineEdit *quantityField() const { return m_quantity; }
    QLineEdit *priceField() const { return m_price; }
    QLineEdit *amountField() const { return m_amount; }

private:
    void select(qint64 id);
    Go enterPrice();
    Go save();
    void closePanel();

    Kind m_kind;
    Grid *m_grid;
    QLineEdit *m_name, *m_region, *m_code, *m_quantity, *m_price, *m_amount;
    qint64 m_selected = 0;
};

} // namespace fm
