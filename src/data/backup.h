#pragma once
// Backups of an installation, made while workstations go on working, and
// their restore.
//
//   SQLite      the backup is a consistent copy of the one database file
//               (VACUUM INTO, which reads one snapshot of the WAL database);
//               restore replaces the rows of every table from it in one
//               transaction, creating the catalogs when the folder is empty.
//   PostgreSQL  pg_dump of the three schemas (custom format, one snapshot);
//               restore with pg_restore in one transaction. Without the
//               PostgreSQL client programs both are refused with a message.
//   SQL Server  refused: the server's own backup does this.
//
// A restore refuses an installation that holds rows unless forced, so a
// mill's data is never replaced by a slip of the keyboard. A backup is
// written to a temporary name and renamed when complete, and never replaces
// an existing file. Failures throw DomainError with the message to show.

#include "data/connectionsettings.h"

#include <QDateTime>
#include <QString>

namespace fm {

class Session;

// "feedmill-yyyyMMdd-HHmmss.db" (SQLite) or ".dump" (PostgreSQL).
QString backupFileName(Engine engine, const QDateTime &now);

// Writes a backup of the session's installation into file (its folder is
// created). Not inside a transaction.
void makeBackup(Session &s, const QString &file);

struct RestoreResult {
    int tables = 0;
    qint64 rows = 0; // SQLite: rows restored; PostgreSQL: rows afterwards
};

// Restores file into the installation of settings (an embedded folder may
// be empty or missing); an installation holding rows needs force.
RestoreResult restoreBackup(const ConnectionSettings &settings, const QString &file, bool force);

// Whether any table of the installation holds a row (missing tables hold none).
bool installationHasRows(Session &s);

} // namespace fm
