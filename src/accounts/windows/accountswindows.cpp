#include "accounts/windows/tkhgl.h"
#include "accounts/windows/tsj_bf.h"
#include "accounts/windows/tzx_khcx.h"
#include "shell/windows/windowregistry.h"

namespace fm {

// The function windows of this subsystem, by function.
void addAccountsWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::CustomerQuery), windowDef<Tzx_khcx>("customer-query"));
    w.insert(number(Fn::Customers), windowDef<Tkhgl>("customers"));
    w.insert(number(Fn::Archiving), windowDef<Tsj_bf>("archiving"));
}

} // namespace fm
