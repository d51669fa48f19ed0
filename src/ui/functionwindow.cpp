#include "ui/functionwindow.h"

#include "data/dberror.h"
#include "ui/enterchain.h"

namespace fm {

FunctionWindow::FunctionWindow(AppContext &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_enter(new EnterChain(this))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int FunctionWindow::run()
{
    activate();
    EnterChain::noAutoDefault(this);
    return exec();
}

Session &FunctionWindow::session()
{
    return *m_ctx.session;
}

Prompter &FunctionWindow::prompter()
{
    return *m_ctx.prompter;
}

void FunctionWindow::inform(const QString &text)
{
    m_ctx.prompter->inform(this, text);
}

bool FunctionWindow::ask(const QString &text)
{
    return m_ctx.prompter->ask(this, text);
}

bool FunctionWindow::guarded(const std::function<void()> &fn)
{
    return guardedCall(*m_ctx.prompter, this, fn);
}

} // namespace fm
