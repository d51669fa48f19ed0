#include "shell/windows/windowregistry.h"
#include "pricing/windows/productpricewindow.h"
#include "pricing/windows/tcbgl.h"
#include "pricing/windows/tcp_jgcx.h"
#include "pricing/windows/tcpcbxz.h"
#include "pricing/windows/tdy_cbjs.h"
#include "pricing/windows/tkhjg_gl.h"
#include "pricing/windows/tkhxg_jg.h"
#include "pricing/windows/txg_lscb.h"
#include "pricing/windows/tzx_cbsj.h"

namespace fm {

// The function windows of this subsystem, by function.
void addPricingWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::ProductPriceQuery), windowDef<Tcp_jgcx>("price-query"));
    w.insert(number(Fn::ListPrices), windowDef<ProductPriceWindow>("product-prices"));
    w.insert(number(Fn::CustomerPrices), windowDef<Tkhxg_jg>("customer-prices"));
    w.insert(number(Fn::CostProcessing), windowDef<Tcbgl>("cost-processing"));
    w.insert(number(Fn::CostPrint), windowDef<Tdy_cbjs>("cost-print"));
    w.insert(number(Fn::CostPriceHistory), windowDef<Tzx_cbsj>("cost-query"));
    w.insert(number(Fn::PriceFilter), windowDef<Tkhjg_gl>("price-filter"));
    w.insert(number(Fn::CostPriceCorrection), windowDef<Txg_lscb>("cost-history"));
    w.insert(number(Fn::CostPriceFix), windowDef<Tcpcbxz>("cost-fix"));
}

} // namespace fm
