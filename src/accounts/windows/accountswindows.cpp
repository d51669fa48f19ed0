#include "accounts/windows/historycorrectionwindow.h"
#include "accounts/windows/tkh_bbdy.h"
#include "accounts/windows/tkh_qkhz.h"
#include "accounts/windows/tkhgl.h"
#include "accounts/windows/tkhjj.h"
#include "accounts/windows/tkhjs_bb.h"
#include "accounts/windows/tkhjscx.h"
#include "accounts/windows/tkhqk.h"
#include "accounts/windows/tsj_bf.h"
#include "accounts/windows/tzx_khcx.h"
#include "shell/windows/windowregistry.h"

namespace fm {

// The function windows of this subsystem, by function.
void addAccountsWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::CustomerQuery), windowDef<Tzx_khcx>("customer-query"));
    w.insert(number(Fn::Customers), windowDef<Tkhgl>("customers"));
    w.insert(number(Fn::HistoryCorrection), windowDef<Tlsxj_xg>("history-correction"));
    w.insert(number(Fn::SalesProcessing), windowDef<Tkhjj>("sales-processing"));
    w.insert(number(Fn::SettlementPrint), windowDef<Tkhjs_bb>("settlement-print"));
    w.insert(number(Fn::StatementPrint), windowDef<Tkh_bbdy>("statement-print"));
    w.insert(number(Fn::ArrearsPrint), windowDef<Tkh_qkhz>("arrears-print"));
    w.insert(number(Fn::ArrearsSummary), windowDef<Tkhqk>("arrears-summary"));
    w.insert(number(Fn::CustomerPriceHistory), windowDef<Tkhjscx>("customer-price-history"));
    w.insert(number(Fn::Archiving), windowDef<Tsj_bf>("archiving"));
}

} // namespace fm
