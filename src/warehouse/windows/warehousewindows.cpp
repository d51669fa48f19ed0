#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "warehouse/windows/supplierwindows.h"
#include "warehouse/windows/tadd_yl.h"
#include "warehouse/windows/tbzwgl.h"
#include "warehouse/windows/tylcx.h"
#include "warehouse/windows/tylgl.h"
#include "warehouse/windows/tylxz.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addWarehouseWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::MaterialInOut), windowDef<Tylgl>("material-desk"));
    w.insert(number(Fn::MaterialAdd), windowDef<Tadd_yl>("material-add"));
    w.insert(number(Fn::PackagingReceipts), windowDef<Tbzwgl>("packaging-stock"));
    w.insert(number(Fn::MaterialCorrection), windowDef<Tylxz>("material-correction"));
    // Both functions open the one query window.
    w.insert(number(Fn::MaterialQuery), windowDef<Tylcx>("material-query"));
    w.insert(number(Fn::MaterialQueryWarehouse), windowDef<Tylcx>("material-query"));
    w.insert(number(Fn::Suppliers), windowDef<Tgysgl>("suppliers"));
    w.insert(number(Fn::SupplierFunds), windowDef<Tgyszjcl>("supplier-funds"));
    w.insert(number(Fn::SupplierArrearsQuery), windowDef<Tgys_cx>("supplier-arrears"));
}

} // namespace fm
