#include "formulation/windows/tbzxg.h"
#include "formulation/windows/tcxscpf.h"
#include "formulation/windows/tpf_show.h"
#include "formulation/windows/tsx_pf.h"
#include "formulation/windows/tvelpf.h"
#include "formulation/windows/tylxg_1.h"
#include "shell/functions.h"
#include "shell/windows/windowregistry.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addFormulationWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::FormulaCalculation), windowDef<Tvelpf>("formula-calculation"));
    w.insert(number(Fn::FormulaRefresh), windowDef<Tsx_pf>("formula-refresh"));
    w.insert(number(Fn::MaterialFactors), windowDef<Tylxg_1>("material-factors"));
    w.insert(number(Fn::NutrientStandards), windowDef<Tbzxg>("nutrient-standards"));
    w.insert(number(Fn::FormulaDisplay), windowDef<Tpf_show>("formula-display"));
    w.insert(number(Fn::FormulaQueryProduction), windowDef<Tcxscpf>("production-formulas"));
}

} // namespace fm
