#include "shell/windows/windowregistry.h"
#include "pricing/windows/productpricewindow.h"
#include "pricing/windows/tcp_jgcx.h"
#include "pricing/windows/tkhxg_jg.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addPricingWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(28, windowDef<Tcp_jgcx>("price-query"));
    w.insert(41, windowDef<ProductPriceWindow>("product-prices"));
    w.insert(42, windowDef<Tkhxg_jg>("customer-prices"));
}

} // namespace fm
