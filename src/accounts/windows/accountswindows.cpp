#include "accounts/windows/historycorrectionwindow.h"
#include "accounts/windows/tkhgl.h"
#include "accounts/windows/tzx_khcx.h"
#include "shell/windows/windowregistry.h"

namespace fm {

// The function windows of this subsystem, by function.
void addAccountsWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::CustomerQuery), windowDef<Tzx_khcx>("customer-query"));
    w.insert(number(Fn::Customers), windowDef<Tkhgl>("customers"));
    w.insert(number(Fn::HistoryCorrection), windowDef<Tlsxj_xg>("history-correction"));
}

} // namespace fm
