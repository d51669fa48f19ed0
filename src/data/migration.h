#pragma once
// Converting an older embedded installation, whose catalogs were three SQLite
// files (vel.db, sc.db, histvel.db) attached to one connection, into the one
// file feedmill.db that the embedded engine uses now.

#include "data/schema.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace fm {

// The file that held a catalog in the older installations.
QString legacyEmbeddedFileName(Catalog c); // "vel.db", "sc.db", "histvel.db"

// Whether dataDir holds an older installation that has not been converted.
bool needsEmbeddedMigration(const QString &dataDir);

struct MigrationResult {
    int tables = 0;       // tables copied
    qint64 rows = 0;      // rows copied, all tables
    QStringList missing;  // tables the old files did not have (created empty)
};

// Called once per table: its name, tables done, tables in all.
using MigrationProgress = std::function<void(const QString &table, int done, int total)>;

// Copies every table of the three files into a new feedmill.db in dataDir,
// keys included, and verifies each table (row count, and the sums of its
// numeric columns and of its text lengths) before the new file takes its
// name. The old files stay as they are. Refused with a DomainError when
// feedmill.db already exists (the installation was converted before) or an
// old file is missing; a DbError when reading or writing fails. The
// workstations must be closed while it runs.
MigrationResult migrateEmbeddedInstallation(const QString &dataDir, const MigrationProgress &progress = {});

} // namespace fm
