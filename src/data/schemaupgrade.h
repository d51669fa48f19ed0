#pragma once
// Bringing an installation made by an earlier version up to the current
// schema: tables and indexes it lacks are created, empty. Existing tables are
// never altered. Runs whenever a workstation or the admin tool opens the
// catalogs; when nothing is missing it costs one look at the system catalog.

#include "data/session.h"

#include <QStringList>
#include <memory>

namespace fm {

// Creates the missing tables and indexes in one transaction, serialised
// between workstations (the second finds them made and creates nothing).
// Returns what it created, as "table" or "table.index". Catalogs that hold
// no installation at all (no operator table) are left to the admin tool.
QStringList upgradeSchema(Session &s);

// Opens the catalogs as a workstation does: connects, then upgrades. A
// failed upgrade leaves the session open (the functions whose tables exist
// still work) and says why in *problem.
std::unique_ptr<Session> openInstallation(const ConnectionSettings &settings, QString *problem);

} // namespace fm
