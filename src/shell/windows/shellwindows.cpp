#include "shell/windows/windowregistry.h"
#include "shell/windows/passwordwindow.h"
#include "shell/windows/rightseditor.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addShellWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(12, windowDef<PasswordWindow>("password"));
    w.insert(38, windowDef<RightsEditor>("rights"));
}

} // namespace fm
