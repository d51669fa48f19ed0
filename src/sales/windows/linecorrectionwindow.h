#pragma once
// The two correction windows of the sales window: issue lines of the open
// slip ("修改窗口-点击鼠标右建，选择修改方式") and return lines ("修改窗口").
// A line is picked in the grid; the right-click menu deletes or modifies it.

#include "sales/corrections.h"
#include "shell/appcontext.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QMenu;
class QTableWidget;

namespace fm {

class EnterChain;

class LineCorrectionWindow : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Issue, Return };

    LineCorrectionWindow(AppContext &ctx, Kind kind, QWidget *parent);

    // What the window lists, and (issue lines) the print line of a line.
    std::function<std::vector<SaleLine>()> listLines;
    std::function<int(qint64)> printLineOf;
    QString owner;

    void reload();
    // The right-click menu's two actions, on the current row.
    void deleteCurrent();
    void modifyCurrent();

    QTableWidget *grid() const { return m_grid; }
    QLineEdit *quantityField() const { return m_quantity; }
    QLineEdit *priceField() const { return m_price; }
    QLineEdit *amountField() const { return m_amount; }

private:
    void select();
    void enterPrice();
    void save();
    void resetPanel();

    AppContext &m_ctx;
    Kind m_kind;
    EnterChain *m_enter;
    QTableWidget *m_grid;
    QLineEdit *m_name, *m_region, *m_code, *m_quantity, *m_price, *m_amount;
    qint64 m_selected = 0;
};

} // namespace fm
