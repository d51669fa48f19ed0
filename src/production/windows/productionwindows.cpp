#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "production/windows/querywindows.h"
#include "production/windows/sideinputwindows.h"
#include "production/windows/tbzw_sr.h"
#include "production/windows/tcs_xg.h"
#include "production/windows/tcp_crk.h"
#include "production/windows/tcx_cpcb.h"
#include "production/windows/tpzgl.h"
#include "production/windows/tvel_cphzz.h"
#include "production/windows/tvelsc.h"
#include "production/windows/wagewindows.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addProductionWindows(QHash<int, FunctionWindowDef> &w)
{
    // Also opened by the sales window ("客户产品") through the registry.
    w.insert(number(Fn::ProductCatalogue), windowDef<Tpzgl>("product-catalogue"));
    w.insert(number(Fn::ProductInOut), windowDef<Tcp_crk>("product-ledger"));
    w.insert(number(Fn::ProductStock), windowDef<Tkcgl>("product-stock"));
    w.insert(number(Fn::ProductStockQuery), windowDef<Tcx_cpcb>("product-stock-query"));
    w.insert(number(Fn::SundryReturns), windowDef<Tzlsr>("sundry-returns"));
    w.insert(number(Fn::SundryStockQuery), windowDef<Tscsyk_cx>("sundry-browse"));
    w.insert(number(Fn::ShiftBalance), windowDef<Tjcsl>("shift-balances"));
    w.insert(number(Fn::ProductionCost), windowDef<Tvelsccb>("team-production-cost"));
    w.insert(number(Fn::Packaging), windowDef<Tbzw_sr>("product-packaging"));
    w.insert(number(Fn::ProductionParameters), windowDef<Tcs_xg>("production-parameters"));
    w.insert(number(Fn::Wages), windowDef<Tscrygz>("production-wages"));
    w.insert(number(Fn::MaterialUseSummary), windowDef<Tscylhz>("material-use-summary"));
    w.insert(number(Fn::MaterialUseQuery), windowDef<Tscylhy>("material-use-query"));
    w.insert(number(Fn::WorkshopQuery), windowDef<Tscpf_cx>("workshop-query"));
    w.insert(number(Fn::ReprocessQuery), windowDef<Tcphj_cx>("reprocess-query"));
    w.insert(number(Fn::CostSummary), windowDef<Tvel_cphzz>("cost-summary"));
    w.insert(number(Fn::FinancialReports), windowDef<Tcpbb>("financial-summary"));
}

} // namespace fm
