#include "shell/windows/windowregistry.h"


namespace fm {

// The function windows of this subsystem, by function number.
void addPricingWindows(QHash<int, FunctionWindowDef> &w)
{
    Q_UNUSED(w);
}

} // namespace fm
