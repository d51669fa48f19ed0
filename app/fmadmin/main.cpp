// fmadmin: creates and seeds the catalogs, prints their DDL, loads the sample
// mill and converts older embedded installations. Run in an empty folder
// without engine options, it builds the embedded installation right there:
// feedmill.db and a config.ini. On a PostgreSQL server it also gives a mill
// its own role, database and schemas, and prints the config.ini lines that
// the workstations need; "config" writes those lines on a workstation.

#include "common/clock.h"
#include "data/backup.h"
#include "data/migration.h"
#include "data/millserver.h"
#include "data/scaledata.h"
#include "data/schemaupgrade.h"
#include "data/seed.h"
#include "data/session.h"
#include "formulation/formulationsample.h"
#include "production/productionsample.h"
#include "shell/configfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace fm;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage(const QString &problem = QString())
{
    if (!problem.isEmpty()) err() << "fmadmin: " << problem << "\n";
    err() << "usage: fmadmin init [engine options] [mill options] [--admin-code CODE] [--admin-password PW] [--enterprise NAME]\n"
             "       fmadmin demo [engine options] [mill options] [--scale N]\n"
             "       fmadmin ddl --engine sqlite|postgres|sqlserver\n"
             "       fmadmin migrate [--data-dir DIR]\n"
             "       fmadmin config FILE [--data-dir DIR] [--replace]\n"
             "       fmadmin backup FILE [engine options]\n"
             "       fmadmin restore FILE [--force] [engine options]\n"
             "engine options: --engine E --host H --port P --user U --password P --database D --data-dir DIR\n"
             "mill options (PostgreSQL): --mill-role NAME --mill-password PW [--address A]\n"
             "  --user/--password then name a server role that may create roles and databases (its superuser;\n"
             "  --host /var/run/postgresql as the postgres system user needs no password). The mill gets the login\n"
             "  role NAME with password PW, the database --database (default: NAME) and the schemas vel, sc and\n"
             "  histvel, all owned by NAME. The config.ini lines for the workstations are printed last; --address\n"
             "  is the server's address as the workstations reach it (default: --host).\n"
             "config writes FILE's lines (\"-\": standard input), as init printed them, into this user's config.ini\n"
             "(or the one in --data-dir) after checking that they reach the catalogs. --replace overwrites a file.\n"
             "Without --engine the embedded SQLite catalogs are made in --data-dir (default: the current folder):\n"
             "one file feedmill.db, with a config.ini beside it. The embedded engine serves the workstations of\n"
             "one computer; several computers share a PostgreSQL or SQL Server database.\n"
             "migrate converts an older embedded installation of three files (vel.db, sc.db, histvel.db) in\n"
             "--data-dir into feedmill.db: every table is copied and verified, the old files are kept. Close\n"
             "every workstation first.\n"
             "demo --scale N (1..100) loads a mill at N% of the top size instead of the small sample: the top size\n"
             "(100) is 10000 customers in 60 regions, 500 products, 5 million customer prices and 5 million sales\n"
             "lines on 1.5 million slips over ten years, with the production that made what was sold and each\n"
             "month's overheads. Same scale, same day: same rows.\n"
             "backup writes a consistent copy of the installation into FILE while workstations go on working\n"
             "(embedded: the database file; PostgreSQL: pg_dump of the schemas vel, sc and histvel). restore puts\n"
             "a backup back: into an empty folder or database, or with --force over an installation that holds\n"
             "data (every table is replaced, in one transaction).\n";
    err().flush();
    return 2;
}

bool isLocalAddress(const QString &host)
{
    return host.isEmpty() || host.startsWith(QLatin1Char('/')) || host == QLatin1String("localhost")
        || host.startsWith(QLatin1String("127.")) || host == QLatin1String("::1");
}

// The lines come last, after a line of their own, so that the whole output
// saved to a file is what "fmadmin config" reads: everything before the
// section is skipped.
void printWorkstationConfig(const AppConfig &c)
{
    out() << "\nWorkstations connect to " << c.dataIP << ":" << (c.dataPort.isEmpty() ? QStringLiteral("5432") : c.dataPort)
          << " as " << c.baseUser << ". The server must listen there (listen_addresses in postgresql.conf) and\n"
          << "pg_hba.conf must let the role in from the workstations' network, for example:\n"
          << "  host  " << c.dbName << "  " << c.baseUser << "  192.168.1.0/24  scram-sha-256\n";
    if (isLocalAddress(c.dataIP))
        out() << "Note: " << (c.dataIP.isEmpty() ? QStringLiteral("(no address)") : c.dataIP)
              << " reaches only this computer; give --address with the address the workstations use.\n";
    out() << "Save the lines below in a file and run \"fmadmin config FILE\" on each workstation, or type the\n"
          << "values into the first start's form. They hold the role's password: keep the file safe.\n\n";
    QString text = ConfigFile::plainText(c);
    text.remove(QLatin1Char('\r'));
    out() << text;
    out().flush();
}

int writeWorkstationConfig(const QString &file, const QString &dataDir, bool replace)
{
    QString text;
    if (file == QLatin1String("-")) {
        QTextStream in(stdin);
        text = in.readAll();
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            err() << "fmadmin: cannot read " << file << ": " << f.errorString() << "\n";
            return 1;
        }
        text = QString::fromUtf8(f.readAll());
    }
    const ConfigReadResult r = ConfigFile::parse(text);
    if (r.damaged) {
        err() << "fmadmin: " << file << " holds no [config] section\n";
        return 1;
    }
    ConnectionSettings cs;
    QString error;
    const QString folder = dataDir.isEmpty() ? ConfigFile::workingFolder(QDir::currentPath(), ConfigFile::userFolder())
                                             : QDir(dataDir).absolutePath();
    if (!r.config.connectionSettings(folder, &cs, &error)) {
        err() << "fmadmin: " << error << "\n";
        return 1;
    }
    const QString path = QDir(folder).filePath(QStringLiteral("config.ini"));
    if (QFileInfo::exists(path) && !replace) {
        err() << "fmadmin: " << path << " exists already; --replace overwrites it\n";
        return 1;
    }
    // A workstation that cannot reach the catalogs would only fail at its first start.
    try {
        std::unique_ptr<Session> s = Session::open(cs);
        s->scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}"));
        const QStringList created = upgradeSchema(*s);
        if (!created.isEmpty()) out() << "upgraded the catalogs; created " << created.join(QStringLiteral(", ")) << "\n";
    } catch (const DbError &e) {
        err() << "fmadmin: these settings do not reach the catalogs: " << e.message() << "\n";
        if (e.rawText() != e.message()) err() << "  (" << e.rawText() << ")\n";
        err() << "nothing written\n";
        return 1;
    }
    if (!QDir().mkpath(folder) || !ConfigFile::write(path, r.config, &error)) {
        err() << "fmadmin: cannot write " << path << (error.isEmpty() ? QString() : QStringLiteral(": ") + error) << "\n";
        return 1;
    }
    // It holds the database password: for this user's eyes only.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out() << "wrote " << path << "; the catalogs answer (" << engineName(cs.engine) << ")\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fmadmin"));

    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init, demo, ddl, migrate, backup or restore"));
    const QCommandLineOption engineOpt(QStringLiteral("engine"), QStringLiteral("engine"), QStringLiteral("engine"));
    const QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("server"), QStringLiteral("host"));
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("port"), QStringLiteral("port"));
    const QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("user"), QStringLiteral("user"));
    const QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("password"), QStringLiteral("password"));
    const QCommandLineOption dbOpt(QStringLiteral("database"), QStringLiteral("database"), QStringLiteral("name"));
    const QCommandLineOption dirOpt(QStringLiteral("data-dir"), QStringLiteral("folder"), QStringLiteral("dir"));
    const QCommandLineOption adminCodeOpt(QStringLiteral("admin-code"), QStringLiteral("admin code"), QStringLiteral("code"));
    const QCommandLineOption adminPassOpt(QStringLiteral("admin-password"), QStringLiteral("admin password"), QStringLiteral("pw"));
    const QCommandLineOption enterpriseOpt(QStringLiteral("enterprise"), QStringLiteral("enterprise name"), QStringLiteral("name"));
    const QCommandLineOption scaleOpt(QStringLiteral("scale"), QStringLiteral("mill size, 1..100"), QStringLiteral("N"));
    const QCommandLineOption roleOpt(QStringLiteral("mill-role"), QStringLiteral("the mill's server role"), QStringLiteral("name"));
    const QCommandLineOption rolePassOpt(QStringLiteral("mill-password"), QStringLiteral("its password"), QStringLiteral("pw"));
    const QCommandLineOption addressOpt(QStringLiteral("address"), QStringLiteral("server address for the workstations"), QStringLiteral("a"));
    const QCommandLineOption replaceOpt(QStringLiteral("replace"), QStringLiteral("overwrite config.ini"));
    const QCommandLineOption forceOpt(QStringLiteral("force"), QStringLiteral("restore over an installation that holds data"));
    p.addOptions({engineOpt, hostOpt, portOpt, userOpt, passOpt, dbOpt, dirOpt, adminCodeOpt, adminPassOpt, enterpriseOpt, scaleOpt,
                  roleOpt, rolePassOpt, addressOpt, replaceOpt, forceOpt});
    p.addHelpOption();
    if (!p.parse(QCoreApplication::arguments())) return usage(p.errorText());
    const QStringList args = p.positionalArguments();
    if (args.isEmpty()) return usage();
    const QString command = args.first();
    if (command == QLatin1String("config")) {
        if (args.size() != 2) return usage(QStringLiteral("config needs the file of lines that init printed"));
        return writeWorkstationConfig(args.at(1), p.isSet(dirOpt) ? p.value(dirOpt) : QString(), p.isSet(replaceOpt));
    }
    const bool withFile = command == QLatin1String("backup") || command == QLatin1String("restore");
    if (args.size() != (withFile ? 2 : 1)) return usage(withFile ? QStringLiteral("%1 needs a FILE").arg(command) : QString());
    if (p.isSet(forceOpt) && command != QLatin1String("restore")) return usage(QStringLiteral("--force goes with restore"));

    ConnectionSettings cs;
    if (p.isSet(engineOpt) && !engineFromName(p.value(engineOpt), &cs.engine))
        return usage(QStringLiteral("unknown engine \"%1\"").arg(p.value(engineOpt)));

    if (command == QLatin1String("ddl")) {
        if (!p.isSet(engineOpt)) return usage(QStringLiteral("ddl needs --engine"));
        for (const QString &s : makeDialect(cs.engine)->createSchema()) out() << s << ";\n";
        return 0;
    }
    if (command == QLatin1String("migrate")) {
        if (p.isSet(engineOpt) && cs.engine != Engine::SQLite)
            return usage(QStringLiteral("migrate converts embedded installations only"));
        const QString dir = QDir(p.isSet(dirOpt) ? p.value(dirOpt) : QStringLiteral(".")).absolutePath();
        try {
            QElapsedTimer timer;
            timer.start();
            const MigrationResult r = migrateEmbeddedInstallation(dir, [&](const QString &table, int done, int total) {
                if (table.isEmpty()) return;
                out() << QStringLiteral("%1 s  %2/%3 %4\n").arg(timer.elapsed() / 1000.0, 6, 'f', 1).arg(done + 1).arg(total).arg(table);
                out().flush();
            });
            out() << "converted " << r.tables << " tables, " << r.rows << " rows, into "
                  << QDir(dir).filePath(embeddedFileName()) << " in " << QString::number(timer.elapsed() / 1000.0, 'f', 1)
                  << " s; every table verified (rows, sums of numbers and text lengths)\n";
            if (!r.missing.isEmpty())
                out() << "created empty (not in the old files): " << r.missing.join(QStringLiteral(", ")) << "\n";
            out() << "the old files vel.db, sc.db and histvel.db are kept as they were\n";
        } catch (const DomainError &e) {
            err() << "fmadmin: " << e.message() << "\n";
            return 1;
        } catch (const DbError &e) {
            err() << "fmadmin: " << e.message() << " (" << e.rawText() << ")\n";
            return 1;
        }
        return 0;
    }
    if (command != QLatin1String("init") && command != QLatin1String("demo") && !withFile)
        return usage(QStringLiteral("unknown command \"%1\"").arg(command));

    int scale = 0;
    if (p.isSet(scaleOpt)) {
        if (command != QLatin1String("demo")) return usage(QStringLiteral("--scale goes with demo"));
        bool ok = false;
        scale = p.value(scaleOpt).toInt(&ok);
        if (!ok || scale < 1 || scale > kTopScale) return usage(QStringLiteral("--scale must be 1 to %1").arg(kTopScale));
    }

    const bool embedded = cs.engine == Engine::SQLite;
    if (p.isSet(hostOpt)) cs.host = p.value(hostOpt);
    if (p.isSet(portOpt)) {
        bool ok = false;
        cs.port = p.value(portOpt).toInt(&ok);
        if (!ok || cs.port <= 0 || cs.port > 65535) return usage(QStringLiteral("bad --port"));
    }
    cs.user = p.value(userOpt);
    cs.password = p.value(passOpt);
    cs.database = p.value(dbOpt);
    cs.dataDir = QDir(p.isSet(dirOpt) ? p.value(dirOpt) : QStringLiteral(".")).absolutePath();
    const QString millRole = p.value(roleOpt);
    if (p.isSet(roleOpt)) {
        if (cs.engine != Engine::PostgreSQL) return usage(QStringLiteral("--mill-role goes with --engine postgres"));
        if (!p.isSet(rolePassOpt)) return usage(QStringLiteral("--mill-role needs --mill-password"));
        if (cs.database.isEmpty()) cs.database = millRole;
    } else if (p.isSet(rolePassOpt) || p.isSet(addressOpt)) {
        return usage(QStringLiteral("--mill-password and --address go with --mill-role"));
    }
    if (cs.engine == Engine::PostgreSQL && cs.database.isEmpty()) cs.database = QStringLiteral("feedmill");

    SystemClock clock;
    if (withFile) {
        const QString file = QFileInfo(args.at(1)).absoluteFilePath();
        try {
            QElapsedTimer timer;
            timer.start();
            if (command == QLatin1String("backup")) {
                std::unique_ptr<Session> s = Session::open(cs);
                makeBackup(*s, file);
                out() << "backed up the installation into " << file << " (" << QFileInfo(file).size() << " bytes) in "
                      << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";
                return 0;
            }
            const RestoreResult r = restoreBackup(cs, file, p.isSet(forceOpt));
            out() << "restored " << r.tables << " tables, " << r.rows << " rows, from " << file << " in "
                  << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";
        } catch (const DbError &e) {
            err() << "fmadmin: " << e.message() << "\n";
            if (e.rawText() != e.message()) err() << "  (" << e.rawText() << ")\n";
            return 1;
        } catch (const DomainError &e) {
            err() << "fmadmin: " << e.message() << "\n";
            return 1;
        }
        // A folder restored into is an installation the workstations can start in.
        if (embedded && !QFileInfo::exists(QDir(cs.dataDir).filePath(QStringLiteral("config.ini")))) {
            AppConfig c;
            c.qymc = p.isSet(enterpriseOpt) ? p.value(enterpriseOpt) : QStringLiteral("示范饲料有限公司");
            c.engine = engineName(Engine::SQLite);
            c.dataDir = QStringLiteral(".");
            QString error;
            const QString path = QDir(cs.dataDir).filePath(QStringLiteral("config.ini"));
            if (!ConfigFile::write(path, c, &error)) {
                err() << "fmadmin: cannot write " << path << ": " << error << "\n";
                return 1;
            }
            out() << "wrote " << path << " (enterprise name: --enterprise)\n";
        }
        return 0;
    }
    try {
        if (!millRole.isEmpty()) {
            const MillServerResult m = setUpMillServer(cs, millRole, p.value(rolePassOpt), cs.database);
            out() << (m.roleCreated ? "created the role " : "set the password of the existing role ") << millRole << "\n";
            if (m.databaseCreated) out() << "created the database " << cs.database << ", owned by " << millRole << "\n";
            if (!m.schemasCreated.isEmpty())
                out() << "created the schemas " << m.schemasCreated.join(QStringLiteral(", ")) << ", owned by " << millRole << "\n";
        }
        std::unique_ptr<Session> s = Session::open(cs, embedded);
        if (!millRole.isEmpty()) {
            actAsRole(*s, millRole);
            s->execDdl(QStringLiteral("SET client_min_messages = warning")); // no notices about schemas made just before
        }
        bool hasSchema = true;
        try {
            s->scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}"));
        } catch (const DbError &) {
            hasSchema = false;
        }
        if (!hasSchema) {
            s->createSchema();
            out() << "created the catalogs vel, sc and histvel (" << engineName(cs.engine) << ")\n";
        }
        if (!isInitialised(*s)) {
            SeedOptions o;
            if (p.isSet(adminCodeOpt)) o.adminCode = p.value(adminCodeOpt).trimmed();
            if (p.isSet(adminPassOpt)) o.adminPassword = p.value(adminPassOpt);
            if (o.adminCode.isEmpty() || o.adminCode.size() > 5)
                return usage(QStringLiteral("the administrator code must have 1 to 5 characters"));
            if (o.adminPassword.isEmpty() || o.adminPassword.size() > 6)
                return usage(QStringLiteral("the administrator password must have 1 to 6 characters"));
            seedNewInstallation(*s, clock, o);
            out() << "seeded a new installation; administrator \"" << o.adminCode << "\"\n";
            if (command == QLatin1String("demo") && scale > 0) {
                QElapsedTimer timer;
                timer.start();
                QString shown;
                int shownTenth = -1;
                generateMill(*s, clock, millSize(scale), [&](const QString &table, qint64 done, qint64 total) {
                    const int tenth = total > 0 ? int(done * 10 / total) : 10;
                    if (table == shown && tenth == shownTenth) return;
                    shown = table;
                    shownTenth = tenth;
                    out() << QStringLiteral("%1 s  %2 %3/%4\n").arg(timer.elapsed() / 1000.0, 6, 'f', 1).arg(table).arg(done).arg(total);
                    out().flush();
                });
                generateFormulations(*s, clock, formulationSize(scale));
                generateProduction(*s, clock, [&](const QString &table, qint64 done, qint64 total) {
                    if (done != total && done % 12 != 0) return;
                    out() << QStringLiteral("%1 s  %2 %3/%4 months\n").arg(timer.elapsed() / 1000.0, 6, 'f', 1).arg(table).arg(done).arg(total);
                    out().flush();
                });
                out() << "loaded a mill at scale " << scale << " in " << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";
            } else if (command == QLatin1String("demo")) {
                loadDemoData(*s, clock);
                loadDemoProduction(*s, clock);
                out() << "loaded the sample mill\n";
            }
        } else {
            // An installation of an earlier version gets the tables and indexes it lacks.
            const QStringList created = upgradeSchema(*s);
            if (!created.isEmpty()) out() << "upgraded the catalogs; created " << created.join(QStringLiteral(", ")) << "\n";
            out() << (command == QLatin1String("demo") ? "the catalogs already hold an installation; nothing loaded\n"
                                                       : "the catalogs already hold an installation; no data changed\n");
        }
    } catch (const DbError &e) {
        err() << "fmadmin: " << e.message() << "\n";
        if (e.rawText() != e.message()) err() << "  (" << e.rawText() << ")\n";
        return 1;
    } catch (const DomainError &e) {
        err() << "fmadmin: " << e.message() << "\n";
        return 1;
    }

    if (!millRole.isEmpty()) {
        AppConfig c;
        c.qymc = p.isSet(enterpriseOpt) ? p.value(enterpriseOpt) : QStringLiteral("示范饲料有限公司");
        c.engine = engineName(Engine::PostgreSQL);
        c.dataIP = p.isSet(addressOpt) ? p.value(addressOpt) : cs.host;
        if (cs.port > 0 && cs.port != 5432) c.dataPort = QString::number(cs.port);
        c.dbName = cs.database;
        c.baseUser = millRole;
        c.basepass = p.value(rolePassOpt);
        c.username = command == QLatin1String("demo") ? QStringLiteral("admin") : p.value(adminCodeOpt);
        printWorkstationConfig(c);
    }
    if (embedded) {
        const QString path = QDir(cs.dataDir).filePath(QStringLiteral("config.ini"));
        if (!QFileInfo::exists(path)) {
            AppConfig c;
            c.qymc = p.isSet(enterpriseOpt) ? p.value(enterpriseOpt) : QStringLiteral("示范饲料有限公司");
            c.engine = engineName(Engine::SQLite);
            c.dataDir = QStringLiteral(".");
            c.username = command == QLatin1String("demo") ? QStringLiteral("admin") : p.value(adminCodeOpt);
            QString error;
            if (!ConfigFile::write(path, c, &error)) {
                err() << "fmadmin: cannot write " << path << ": " << error << "\n";
                return 1;
            }
            out() << "wrote " << path << "\n";
        }
    }
    return 0;
}
