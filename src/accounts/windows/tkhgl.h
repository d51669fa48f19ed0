#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Grid;
class Taddkh;
class Tjskh;
class Tkhmc_xg;

// "客户管理": the hub of the customer register. Its menu opens the other
// windows; "客户标志修改" (rights position 52) edits customers' status flags.
class Tkhgl : public FunctionWindow {
    Q_OBJECT
public:
    Tkhgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QAction *adjustAction() const { return m_adjustAction; }
    QAction *deleteAction() const { return m_deleteAction; }
    QAction *renameAction() const { return m_renameAction; }
    QAction *flagAction() const { return m_flagAction; }
    QWidget *flagPanel() const { return m_panel; }
    QComboBox *regionBox() const { return m_region; }
    Grid *grid() const { return m_grid; }
    QGroupBox *flagGroup() const { return m_flagGroup; }
    QRadioButton *normalButton() const { return m_normal; }
    QRadioButton *retailButton() const { return m_retail; }
    QRadioButton *closedButton() const { return m_closed; }
    QLineEdit *nameBox() const { return m_name; }
    QPushButton *confirmButton() const { return m_confirm; }
    Taddkh *adjustWindow() const { return m_adjust; }
    Tjskh *deleteWindow() const { return m_delete; }
    Tkhmc_xg *renameWindow() const { return m_rename; }

private:
    void openChild(FunctionWindow *w);
    void showFlagPanel();
    void rowClicked(qint64 id);
    Go confirmFlag();
    void clearFlagChoice();
    void loadCustomers(qint64 keep = 0);

    Taddkh *m_adjust;
    Tjskh *m_delete;
    Tkhmc_xg *m_rename;
    QAction *m_adjustAction;
    QAction *m_deleteAction;
    QAction *m_renameAction;
    QAction *m_flagAction;
    QLabel *m_idle;
    QWidget *m_panel;
    QComboBox *m_region;
    Grid *m_grid;
    QGroupBox *m_flagGroup;
    QButtonGroup *m_flags;
    QRadioButton *m_normal;
    QRadioButton *m_retail;
    QRadioButton *m_closed;
    QLineEdit *m_name;
    QPushButton *m_confirm;

    QString m_shownRegion; // the region the grid shows; empty: all customers
    qint64 m_picked = 0;   // the customer whose flag is edited
};

} // namespace fm
