#include "accounts/windows/tkhgl.h"
#include "accounts/windows/tkhjj.h"
#include "accounts/windows/tzx_khcx.h"
#include "shell/windows/windowregistry.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addAccountsWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(25, windowDef<Tzx_khcx>("customer-query"));
    w.insert(37, windowDef<Tkhgl>("customers"));
    w.insert(number(Fn::SalesProcessing), windowDef<Tkhjj>("sales-processing"));
}

} // namespace fm
