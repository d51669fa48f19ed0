#include "shell/windows/windowregistry.h"

#include "shell/menutable.h"
#include "shell/windows/placeholderwindow.h"
#include "ui/functionwindow.h"

namespace fm {

FunctionWindow *WindowRegistry::window(int function)
{
    if (function == 2 || functionWindowCaption(function).isEmpty()) return nullptr;
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

bool WindowRegistry::open(int function)
{
    FunctionWindow *w = window(function);
    if (!w) return false;
    w->run();
    return true;
}

} // namespace fm
