#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "shell/windows/changelogwindow.h"
#include "shell/windows/passwordwindow.h"
#include "shell/windows/rightseditor.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addShellWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::PasswordChange), windowDef<PasswordWindow>("password"));
    w.insert(number(Fn::Rights), windowDef<RightsEditor>("rights"));
    w.insert(number(Fn::ChangeLog), windowDef<ChangeLogWindow>("changelog"));
}

} // namespace fm
