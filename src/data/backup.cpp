#include "data/backup.h"

#include "data/schema.h"
#include "data/schemaupgrade.h"
#include "data/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace fm {

namespace {

const QString kAttached = QStringLiteral("fm_backup");

// A PostgreSQL client program: on the PATH, else in the server's folders.
QString findTool(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty()) return onPath;
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(versions.begin(), versions.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &v : versions) {
        const QString path = lib.filePath(v + QStringLiteral("/bin/") + name);
        if (QFileInfo(path).isExecutable()) return path;
    }
    return QString();
}

QProcessEnvironment postgresEnvironment(const ConnectionSettings &cs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGHOST"), cs.host);
    env.insert(QStringLiteral("PGPORT"), QString::number(cs.port > 0 ? cs.port : 5432));
    if (!cs.user.isEmpty()) env.insert(QStringLiteral("PGUSER"), cs.user);
    // The password goes by the environment, never on a command line others can read.
    if (!cs.password.isEmpty()) env.insert(QStringLiteral("PGPASSWORD"), cs.password);
    env.insert(QStringLiteral("PGDATABASE"), cs.database.isEmpty() ? QStringLiteral("feedmill") : cs.database);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QString::number(cs.loginTimeoutSeconds));
    return env;
}

void runTool(const QString &program, const QStringList &args, const ConnectionSettings &cs, const QString &failure)
{
    QProcess p;
    p.setProcessEnvironment(postgresEnvironment(cs));
    p.start(program, args);
    if (!p.waitForStarted()) throw DbError(DbError::Kind::Other, failure + QStringLiteral(": ") + p.errorString());
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        throw DbError(DbError::Kind::Other, failure + QStringLiteral(": ") + (said.isEmpty() ? p.errorString() : said));
    }
}

void checkNewFile(const QString &file)
{
    if (QFileInfo::exists(file))
        throw DomainError(QStringLiteral("备份文件已经存在，不能覆盖：%1").arg(QDir::toNativeSeparators(file)));
    const QString dir = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(dir))
        throw DomainError(QStringLiteral("不能建立备份文件夹：%1").arg(QDir::toNativeSeparators(dir)));
}

void finish(const QString &part, const QString &file)
{
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        throw DomainError(QStringLiteral("不能写入备份文件：%1").arg(QDir::toNativeSeparators(file)));
    }
}

qint64 countRows(Session &s, const TableDef &t)
{
    try {
        return s.scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(t.name)).toLongLong();
    } catch (const DbError &) {
        return 0; // a table the installation does not have
    }
}

RestoreResult restoreEmbedded(const ConnectionSettings &cs, const QString &file, bool force)
{
    std::unique_ptr<Session> s = Session::open(cs, true);
    bool hasSchema = true;
    try {
        s->scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}"));
    } catch (const DbError &) {
        hasSchema = false;
    }
    if (!hasSchema) s->createSchema();
    else if (!force && installationHasRows(*s))
        throw DomainError(QStringLiteral("该数据库已有数据，恢复会替换全部数据；确需恢复请加 --force。"));
    else upgradeSchema(*s); // every table of this version is filled from the backup or left empty

    s->exec(QStringLiteral("ATTACH DATABASE ? AS ") + kAttached, {QFileInfo(file).absoluteFilePath()});
    RestoreResult r;
    try {
        bool valid = false;
        try {
            valid = s->scalar(QStringLiteral("PRAGMA %1.quick_check").arg(kAttached)).toString() == QLatin1String("ok")
                && s->scalar(QStringLiteral("SELECT COUNT(*) FROM %1.sqlite_master WHERE type = 'table' AND name = 'zxauth1'")
                                 .arg(kAttached))
                        .toInt()
                    == 1;
        } catch (const DbError &) {
            valid = false;
        }
        if (!valid) throw DomainError(QStringLiteral("不是本系统的备份文件：%1").arg(QDir::toNativeSeparators(file)));
        s->transaction([&] {
            r = RestoreResult();
            for (const TableDef &t : schemaTables()) {
                s->execute(QStringLiteral("DELETE FROM {%1}").arg(t.name));
                QStringList kept;
                for (const Row &c : s->rows(QStringLiteral("PRAGMA %1.table_info(%2)").arg(kAttached, t.name)))
                    if (t.column(c.text(QStringLiteral("name")))) kept << c.text(QStringLiteral("name"));
                if (kept.isEmpty()) continue; // not in the backup: stays empty
                const QString columns = QStringLiteral("id, ") + kept.join(QStringLiteral(", "));
                r.rows += s->execute(QStringLiteral("INSERT INTO {%1} (%2) SELECT %2 FROM %3.%1 ORDER BY id")
                                         .arg(t.name, columns, kAttached));
                ++r.tables;
            }
        });
    } catch (...) {
        try {
            s->exec(QStringLiteral("DETACH DATABASE ") + kAttached);
        } catch (const DbError &) {
        }
        throw;
    }
    s->exec(QStringLiteral("DETACH DATABASE ") + kAttached);
    return r;
}

RestoreResult restorePostgres(const ConnectionSettings &cs, const QString &file, bool force)
{
    const QString tool = findTool(QStringLiteral("pg_restore"));
    if (tool.isEmpty())
        throw DomainError(QStringLiteral("找不到 PostgreSQL 的 pg_restore 程序，不能恢复（请安装 postgresql-client）。"));
    {
        std::unique_ptr<Session> s = Session::open(cs);
        if (!force && installationHasRows(*s))
            throw DomainError(QStringLiteral("该数据库已有数据，恢复会替换全部数据；确需恢复请加 --force。"));
    }
    // One transaction: the catalogs are replaced whole or stay as they were.
    runTool(tool,
            {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
             QStringLiteral("--single-transaction"), QStringLiteral("--exit-on-error"),
             QStringLiteral("--dbname=") + (cs.database.isEmpty() ? QStringLiteral("feedmill") : cs.database),
             QFileInfo(file).absoluteFilePath()},
            cs, QStringLiteral("pg_restore"));
    std::unique_ptr<Session> s = Session::open(cs);
    upgradeSchema(*s); // a backup of an earlier version lacks the tables added since
    RestoreResult r;
    for (const TableDef &t : schemaTables()) {
        r.rows += countRows(*s, t);
        ++r.tables;
    }
    return r;
}

} // namespace

QString backupFileName(Engine engine, const QDateTime &now)
{
    return QStringLiteral("feedmill-%1.%2")
        .arg(now.toString(QStringLiteral("yyyyMMdd-HHmmss")),
             engine == Engine::SQLite ? QStringLiteral("db") : QStringLiteral("dump"));
}

void makeBackup(Session &s, const QString &file)
{
    if (s.inTransaction()) throw DbError(QStringLiteral("makeBackup inside a transaction"));
    switch (s.engine()) {
    case Engine::SQLite: {
        checkNewFile(file);
        const QString part = QFileInfo(file).absoluteFilePath() + QStringLiteral(".part");
        QFile::remove(part);
        try {
            s.exec(QStringLiteral("VACUUM INTO ?"), {part});
        } catch (...) {
            QFile::remove(part);
            throw;
        }
        finish(part, file);
        return;
    }
    case Engine::PostgreSQL: {
        const QString tool = findTool(QStringLiteral("pg_dump"));
        if (tool.isEmpty())
            throw DomainError(QStringLiteral("找不到 PostgreSQL 的 pg_dump 程序，不能备份（请安装 postgresql-client）。"));
        checkNewFile(file);
        const QString part = QFileInfo(file).absoluteFilePath() + QStringLiteral(".part");
        QFile::remove(part);
        QStringList args{QStringLiteral("--format=custom"), QStringLiteral("--file=") + part};
        for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel}) args << QStringLiteral("--schema=") + catalogName(c);
        try {
            runTool(tool, args, s.settings(), QStringLiteral("pg_dump"));
        } catch (...) {
            QFile::remove(part);
            throw;
        }
        finish(part, file);
        return;
    }
    case Engine::SQLServer:
        break;
    }
    throw DomainError(QStringLiteral("SQL Server 的数据库请用 SQL Server 自带的备份功能备份。"));
}

RestoreResult restoreBackup(const ConnectionSettings &settings, const QString &file, bool force)
{
    if (!QFileInfo(file).isFile())
        throw DomainError(QStringLiteral("备份文件不存在：%1").arg(QDir::toNativeSeparators(file)));
    switch (settings.engine) {
    case Engine::SQLite: return restoreEmbedded(settings, file, force);
    case Engine::PostgreSQL: return restorePostgres(settings, file, force);
    case Engine::SQLServer: break;
    }
    throw DomainError(QStringLiteral("SQL Server 的数据库请用 SQL Server 自带的还原功能恢复。"));
}

bool installationHasRows(Session &s)
{
    for (const TableDef &t : schemaTables()) {
        try {
            if (s.row(QStringLiteral("SELECT id FROM {%1} ORDER BY id {first:1}").arg(t.name))) return true;
        } catch (const DbError &) {
            // a table the installation does not have holds no rows
        }
    }
    return false;
}

} // namespace fm
