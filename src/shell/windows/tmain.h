#pragma once
// The operator's desktop after login: the function menu, a toolbar, the
// status bar with the operator and a running clock.

#include "shell/windows/windowregistry.h"
#include "ui/functionwindow.h"

#include <vector>

class QAction;
class QLabel;
class QTimer;

namespace fm {

// Shown modally by the login (run()) until Esc or "退    出". Esc returns to
// the login whatever holds the focus here, the menu bar included.
class Tmain : public FunctionWindow {
    Q_OBJECT
public:
    Tmain(AppContext &ctx, QWidget *parent);
    ~Tmain() override;

    // Refreshes once the window shows (the gate's message needs it shown).
    void activate() override;
    // Re-reads the operator, applies the rights and the turnover-number gate.
    // Runs after login and whenever a window opened from here closes.
    void refresh();
    // Opens the window of a function, then refreshes.
    void dispatch(int function);

    // For tests: the action of each menu entry (index as in menuTable()).
    QAction *entryAction(size_t index) const { return m_actions.at(index); }
    QAction *functionAction(int function) const;
    QAction *topMenuAction(const QString &caption) const;
    WindowRegistry &registry() { return m_registry; }
    QLabel *operatorPanel() const { return m_operatorPanel; }
    QLabel *clockPanel() const { return m_clockPanel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void tick();

    WindowRegistry m_registry;
    std::vector<QAction *> m_actions;
    QLabel *m_operatorPanel;
    QLabel *m_clockPanel;
    QTimer *m_clock;
};

} // namespace fm
