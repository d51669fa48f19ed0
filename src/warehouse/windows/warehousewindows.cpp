#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "warehouse/windows/tadd_yl.h"
#include "warehouse/windows/tylgl.h"
#include "warehouse/windows/tylxz.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addWarehouseWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::MaterialInOut), windowDef<Tylgl>("material-desk"));
    w.insert(number(Fn::MaterialAdd), windowDef<Tadd_yl>("material-add"));
    w.insert(number(Fn::MaterialCorrection), windowDef<Tylxz>("material-correction"));
}

} // namespace fm
