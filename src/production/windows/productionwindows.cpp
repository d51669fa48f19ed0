#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "production/windows/tpzgl.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addProductionWindows(QHash<int, FunctionWindowDef> &w)
{
    // Also opened by the sales window ("客户产品") through the registry.
    w.insert(number(Fn::ProductCatalogue), windowDef<Tpzgl>("product-catalogue"));
}

} // namespace fm
