#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "staff/windows/companystaffwindow.h"
#include "staff/windows/productionstaffwindow.h"
#include "staff/windows/staffquerywindow.h"

namespace fm {

// The function windows of this subsystem, by function number.
void addStaffWindows(QHash<int, FunctionWindowDef> &w)
{
    w.insert(number(Fn::StaffQuery), windowDef<Tzx_gsrycx>("staff-query"));
    w.insert(number(Fn::SeniorStaff), windowDef<Tzx_ry>("company-staff"));
    w.insert(number(Fn::ProductionStaff), windowDef<Tvel_scry>("production-staff"));
}

} // namespace fm
