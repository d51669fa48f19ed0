#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "sales/windows/salesquerywindow.h"
#include "sales/windows/turnoverinitwindow.h"
#include "sales/windows/txxgl.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addSalesWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::Sales), windowDef<Txxgl>("sales"));
    w.insert(number(Fn::TurnoverInit), windowDef<TurnoverInitWindow>("turnover-init"));
    w.insert(number(Fn::SalesQuery), windowDef<SalesQueryWindow>("sales-query"));
}

} // namespace fm
