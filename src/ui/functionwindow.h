#pragma once
// The base of every window a function opens: one instance for the run,
// shown modally, initialised by activate() each time its caller opens it.

#include "shell/appcontext.h"
#include "ui/prompter.h"

#include <QDialog>
#include <functional>

namespace fm {

class Session;
class EnterChain;

class FunctionWindow : public QDialog {
    Q_OBJECT
public:
    FunctionWindow(AppContext &ctx, QWidget *parent);

    // Runs each time the window is opened from its caller.
    virtual void activate() {}
    // activate(), then shows the window modally until it closes.
    int run();

protected:
    AppContext &ctx() { return m_ctx; }
    Session &session();
    Prompter &prompter();
    EnterChain &enter() { return *m_enter; }
    void inform(const QString &text);
    bool ask(const QString &text);
    // Runs fn; a refused rule or a database error is shown as a message and
    // false returned, leaving the window usable.
    bool guarded(const std::function<void()> &fn);

private:
    AppContext &m_ctx;
    EnterChain *m_enter;
};

} // namespace fm
