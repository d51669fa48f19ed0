#pragma once
#include <QString>

namespace fm {

enum class Engine { SQLite, PostgreSQL, SQLServer };

QString engineName(Engine e);                   // "sqlite", "postgres", "sqlserver"
bool engineFromName(const QString &name, Engine *out);

// Where the three catalogs live. For SQLite, dataDir holds the one file
// feedmill.db with the tables of all three; for PostgreSQL, database is the
// one database holding the three schemas; SQL Server reaches the databases
// vel, sc and histvel on host.
struct ConnectionSettings {
    Engine engine = Engine::SQLite;
    QString dataDir;
    QString host = QStringLiteral("127.0.0.1");
    int port = 0; // 0: the engine's usual port
    QString user;
    QString password;
    QString database; // PostgreSQL database name
    QString odbcDriver = QStringLiteral("FreeTDS");
    int loginTimeoutSeconds = 10;
    // How long a statement waits for another workstation's lock before it
    // fails with DbError::Kind::LockTimeout, on every engine.
    int lockTimeoutMs = 60000;
};

// The file of the embedded catalogs in dataDir.
inline QString embeddedFileName() { return QStringLiteral("feedmill.db"); }

} // namespace fm
