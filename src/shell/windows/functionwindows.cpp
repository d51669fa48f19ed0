#include "shell/windows/windowregistry.h"

namespace fm {

// Each subsystem adds the windows it has built, by function number.
void addShellWindows(QHash<int, FunctionWindowDef> &w);
void addSalesWindows(QHash<int, FunctionWindowDef> &w);
void addAccountsWindows(QHash<int, FunctionWindowDef> &w);
void addPricingWindows(QHash<int, FunctionWindowDef> &w);
void addFormulationWindows(QHash<int, FunctionWindowDef> &w);
void addProductionWindows(QHash<int, FunctionWindowDef> &w);
void addWarehouseWindows(QHash<int, FunctionWindowDef> &w);
void addStaffWindows(QHash<int, FunctionWindowDef> &w);

const QHash<int, FunctionWindowDef> &functionWindows()
{
    static const QHash<int, FunctionWindowDef> windows = [] {
        QHash<int, FunctionWindowDef> w;
        addShellWindows(w);
        addSalesWindows(w);
        addAccountsWindows(w);
        addPricingWindows(w);
        addFormulationWindows(w);
        addProductionWindows(w);
        addWarehouseWindows(w);
        addStaffWindows(w);
        return w;
    }();
    return windows;
}

} // namespace fm
