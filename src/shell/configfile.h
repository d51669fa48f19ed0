#pragma once
// The workstation's configuration file "config.ini" in the working directory:
// one INI section "config", keys spelled with a trailing colon and blank, the
// whole file scrambled byte by byte on disk.
//
// The working directory is the folder the program was started in when that
// folder holds a config.ini (an installation set up there, the demo of
// ./run); otherwise it is the user's own folder, so that a program started
// from the desktop menu keeps one configuration per user wherever it starts.

#include "data/connectionsettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace fm {

struct AppConfig {
    QString qymc;                                   // enterprise name
    QString dataIP = QStringLiteral("127.0.0.1");   // database server address
    QString basepass;                               // database password
    QString baseUser;                               // database user
    QString username;                               // operator code last typed
    QString userpass;                               // never persisted: always empty on disk
    // Keys of our own. A file without "engine: " was written for SQL Server.
    QString engine;      // "sqlite", "postgres", "sqlserver"
    QString dataDir;     // embedded catalogs, relative to the file's folder
    QString dbName;      // PostgreSQL database
    QString dataPort;    // server port when not the engine's usual one
    QString workstation; // this workstation's identity; empty: the host name
    QString mode;        // "production": a workshop station, started at the production login

    bool productionMode() const { return mode.trimmed().compare(QLatin1String("production"), Qt::CaseInsensitive) == 0; }

    // Keys this version does not know, kept as they were.
    std::vector<std::pair<QString, QString>> otherKeys;

    // How to reach the catalogs; baseDir resolves a relative dataDir.
    // Returns false with a message when the engine key names no engine.
    bool connectionSettings(const QString &baseDir, ConnectionSettings *out, QString *error) const;
};

// The identity of this workstation: it owns the print rows and working-table
// rows it writes, so it must differ between any two workstations. The
// config key "workstation: " when set, else the full host name; at most
// kWorkstationLength characters.
QString workstationIdentity(const AppConfig &config);
constexpr int kWorkstationLength = 64;

struct ConfigReadResult {
    AppConfig config;
    bool exists = false;
    bool damaged = false; // unreadable content: defaults were used
    QString problem;
};

class ConfigFile {
public:
    static QString defaultPath(); // config.ini in the current directory

    // This user's folder for the workstation (~/.local/share/feedmill), the
    // same for the application and the admin tool.
    static QString userFolder();
    // currentDir when it holds a config.ini, else userDir.
    static QString workingFolder(const QString &currentDir, const QString &userDir);

    static ConfigReadResult read(const QString &path);
    // Reads the file's plain text (as plainText() gives it, or as the admin
    // tool prints it for the workstations).
    static ConfigReadResult parse(const QString &text);
    // The file's text before scrambling; the operator password is left empty.
    static QString plainText(const AppConfig &config);
    // Writes atomically (temp file and rename); the operator password is
    // written empty whatever the config holds.
    static bool write(const QString &path, const AppConfig &config, QString *error);

    // The same transformation scrambles and unscrambles.
    static QByteArray scramble(const QByteArray &bytes);
};

} // namespace fm
