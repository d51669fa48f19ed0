#include "shell/windows/windowregistry.h"
#include "pricing/windows/productpricewindow.h"
#include "pricing/windows/tcp_jgcx.h"
#include "pricing/windows/tkhxg_jg.h"

namespace fm {

// The function windows of this subsystem, by function.
void addPricingWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::ProductPriceQuery), windowDef<Tcp_jgcx>("price-query"));
    w.insert(number(Fn::ListPrices), windowDef<ProductPriceWindow>("product-prices"));
    w.insert(number(Fn::CustomerPrices), windowDef<Tkhxg_jg>("customer-prices"));
}

} // namespace fm
