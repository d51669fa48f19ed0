#include "shell/windows/windowregistry.h"

#include "shell/functions.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "shell/windows/placeholderwindow.h"
#include "ui/functionwindow.h"

#include <algorithm>

namespace fm {

FunctionWindow *WindowRegistry::window(int function)
{
    // "产品报表管理" has no window of its own.
    if (function == number(Fn::ProductReports) || functionWindowCaption(function).isEmpty()) return nullptr;
    const QHash<int, FunctionWindowDef> &defs = functionWindows();
    auto def = defs.constFind(function);
    const QString key = def != defs.constEnd() ? def->key : QStringLiteral("placeholder:") + functionWindowCaption(function);
    FunctionWindow *&w = m_windows[key];
    if (!w) {
        w = def != defs.constEnd() ? def->create(m_ctx, m_parent)
                                   : new PlaceholderWindow(m_ctx, function, m_parent);
    }
    return w;
}

bool WindowRegistry::reachable(int function) const
{
    if (!m_ctx.session) return false;
    const auto op = Operators(*m_ctx.session).find(m_ctx.operatorCode);
    if (!op) return false;
    const std::vector<int> reached = reachableFunctions(menuEnabled(op->rights, false));
    return std::find(reached.begin(), reached.end(), function) != reached.end();
}

bool WindowRegistry::open(int function)
{
    FunctionWindow *w = window(function);
    if (!w) return false;
    w->run();
    return true;
}

} // namespace fm
