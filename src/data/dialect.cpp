#include "data/dialect.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace fm {

QString engineName(Engine e)
{
    switch (e) {
    case Engine::SQLite: return QStringLiteral("sqlite");
    case Engine::PostgreSQL: return QStringLiteral("postgres");
    case Engine::SQLServer: return QStringLiteral("sqlserver");
    }
    return QString();
}

bool engineFromName(const QString &name, Engine *out)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("sqlite")) *out = Engine::SQLite;
    else if (n == QLatin1String("postgres") || n == QLatin1String("postgresql")) *out = Engine::PostgreSQL;
    else if (n == QLatin1String("sqlserver") || n == QLatin1String("mssql")) *out = Engine::SQLServer;
    else return false;
    return true;
}

namespace {

QString marks(qsizetype n)
{
    QStringList m;
    for (qsizetype i = 0; i < n; ++i) m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

QString rawText(const QSqlError &e)
{
    const QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("database error") : t;
}

// Runs set-up statements on a fresh connection; a failure means the
// connection is of no use.
void setUp(QSqlDatabase &db, const QStringList &statements)
{
    for (const QString &s : statements) {
        QSqlQuery q(db);
        if (!q.exec(s)) throw DbError(DbError::Kind::CannotConnect, rawText(q.lastError()), q.lastError().nativeErrorCode());
    }
}

QSqlDatabase opened(QSqlDatabase db)
{
    if (!db.open()) throw DbError(DbError::Kind::CannotConnect, rawText(db.lastError()), db.lastError().nativeErrorCode());
    return db;
}

bool lostConnectionText(const QString &text)
{
    static const char *const hints[] = {"server closed the connection", "no connection to the server",
                                        "connection to server was lost", "terminating connection",
                                        "could not send data", "could not receive data", "broken pipe",
                                        "ssl syscall error", "communication link failure", "08s01"};
    const QString t = text.toLower();
    for (const char *h : hints)
        if (t.contains(QLatin1String(h))) return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------- defaults

void Dialect::begin(QSqlDatabase &db) const
{
    if (!db.transaction()) throw error(db.lastError());
}

void Dialect::commit(QSqlDatabase &db) const
{
    if (!db.commit()) throw error(db.lastError());
}

void Dialect::rollback(QSqlDatabase &db) const
{
    db.rollback();
}

DbError Dialect::error(const QSqlError &e) const
{
    const QString raw = rawText(e);
    return DbError(classify(e.nativeErrorCode(), raw), raw, e.nativeErrorCode());
}

QString Dialect::insertReturningSql(const QString &qualifiedTable, const QStringList &columns,
                                    const QStringList &returned) const
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
        .arg(qualifiedTable, columns.join(QLatin1Char(',')), marks(columns.size()), returned.join(QLatin1Char(',')));
}

QString Dialect::updateReturningSql(const QString &qualifiedTable, const QString &assignments, const QString &where,
                                    const QStringList &returned) const
{
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(qualifiedTable, assignments);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    return sql + QStringLiteral(" RETURNING ") + returned.join(QLatin1Char(','));
}

QStringList Dialect::clearAllTables() const
{
    QStringList out;
    for (const TableDef &t : schemaTables()) out << QStringLiteral("DELETE FROM ") + qualify(t.catalog, t.name);
    return out;
}

QString Dialect::jsonRowsInsertSql(const QString &, const QStringList &) const
{
    return QString();
}

QString Dialect::indexExpression(const QString &column, bool caseInsensitive) const
{
    return caseInsensitive ? caseFold(column) : column;
}

QString Dialect::indexName(const TableDef &t, int n, bool unique)
{
    return QStringLiteral("%1_%2%3").arg(t.name, unique ? QStringLiteral("uk") : QStringLiteral("ix")).arg(n);
}

QString Dialect::dropIndexSql(const TableDef &, const QString &index) const
{
    return QStringLiteral("DROP INDEX IF EXISTS ") + index;
}

QStringList Dialect::createTable(const TableDef &t) const
{
    QStringList cols;
    cols << idColumn();
    for (const ColumnDef &c : t.columns)
        cols << c.name + QLatin1Char(' ') + columnType(c);
    return {QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
                .arg(qualify(t.catalog, t.name), cols.join(QStringLiteral(",\n  ")))};
}

// Index names live in the table's schema (PostgreSQL, SQL Server) or in the
// one file (SQLite); each begins with its table's name, so none collide.
QStringList Dialect::createIndexes(const TableDef &t) const
{
    QStringList out;
    int n = 0;
    for (const IndexDef &ix : t.indexes) {
        QStringList parts;
        for (const QString &c : ix.columns)
            parts << indexExpression(c, ix.caseInsensitive && !ix.exact.contains(c));
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), indexName(t, ++n, ix.unique),
                        qualify(t.catalog, t.name), parts.join(QLatin1Char(',')));
    }
    return out;
}

QStringList Dialect::dropIndexes(const TableDef &t) const
{
    QStringList out;
    int n = 0;
    for (const IndexDef &ix : t.indexes) out << dropIndexSql(t, indexName(t, ++n, ix.unique));
    return out;
}

QStringList Dialect::createSchema() const
{
    QStringList out = createCatalogs();
    for (const TableDef &t : schemaTables()) {
        out << createTable(t);
        out << createIndexes(t);
    }
    return out;
}

namespace {

// ---------------------------------------------------------------- SQLite

// The three catalogs share one file: table and index names are unique across
// them, so a table goes by its bare name. One file in WAL mode makes every
// commit atomic across the catalogs and durable with one sync; WAL needs the
// workstations on one computer.
class SqliteDialect : public Dialect {
public:
    Engine engine() const override { return Engine::SQLite; }

    QSqlDatabase open(const QString &connectionName, const ConnectionSettings &cs, bool create) const override
    {
        QDir dir(cs.dataDir.isEmpty() ? QStringLiteral(".") : cs.dataDir);
        if (!dir.exists() && (!create || !QDir().mkpath(dir.absolutePath())))
            throw DbError(QStringLiteral("数据目录不存在：%1").arg(QDir::toNativeSeparators(dir.absolutePath())));
        const QString file = dir.absoluteFilePath(embeddedFileName());
        if (!QFileInfo::exists(file)) {
            // Creating an empty catalog beside an older installation would hide its data.
            if (QFileInfo::exists(dir.absoluteFilePath(QStringLiteral("vel.db"))))
                throw DbError(QStringLiteral("数据目录中是旧版的三个数据库文件（vel.db、sc.db、histvel.db），"
                                             "请先用 fmadmin migrate 转换为 %1。")
                                  .arg(embeddedFileName()));
            if (!create) throw DbError(QStringLiteral("数据库文件不存在：%1").arg(QDir::toNativeSeparators(file)));
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(qMax(0, cs.lockTimeoutMs)));
        opened(db);
        // Changing the journal needs the file to ourselves, so only when it differs.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next())
            throw DbError(DbError::Kind::CannotConnect, rawText(q.lastError()));
        const bool wal = q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
        q.finish();
        if (!wal) setUp(db, {QStringLiteral("PRAGMA journal_mode=WAL")});
        setUp(db, {QStringLiteral("PRAGMA synchronous=FULL")});
        return db;
    }

    // Take the write lock up front: a deferred transaction that reads and
    // then writes could fail at once instead of waiting for the other writer.
    void begin(QSqlDatabase &db) const override { run(db, QStringLiteral("BEGIN IMMEDIATE")); }
    void commit(QSqlDatabase &db) const override { run(db, QStringLiteral("COMMIT")); }
    void rollback(QSqlDatabase &db) const override
    {
        QSqlQuery q(db);
        q.exec(QStringLiteral("ROLLBACK"));
    }

    DbError::Kind classify(const QString &nativeCode, const QString &text) const override
    {
        bool ok = false;
        const int code = nativeCode.toInt(&ok);
        if (!ok) return DbError::Kind::Other;
        const QString t = text.toLower();
        switch (code & 0xff) { // the primary result code
        case 5:                // SQLITE_BUSY
            // A snapshot that another connection's commit made stale: running
            // the work again succeeds.
            if (code == 517) return DbError::Kind::Deadlock;
            return DbError::Kind::LockTimeout;
        case 6: return DbError::Kind::LockTimeout; // SQLITE_LOCKED
        case 18: return DbError::Kind::TooLong;    // SQLITE_TOOBIG
        case 19:                                   // SQLITE_CONSTRAINT
            if (code == 2067 || code == 1555 || t.contains(QLatin1String("unique constraint"))
                || t.contains(QLatin1String("primary key")))
                return DbError::Kind::UniqueViolation;
            return DbError::Kind::Other;
        case 1:
            if (t.contains(QLatin1String("integer overflow"))) return DbError::Kind::OutOfRange;
            return DbError::Kind::Other;
        default: return DbError::Kind::Other;
        }
    }

    QString qualify(Catalog, const QString &table) const override { return table; }
    QString caseFold(const QString &expr) const override { return QStringLiteral("lower(%1)").arg(expr); }
    QString firstRows(int n) const override { return QStringLiteral("LIMIT %1").arg(n); }
    QStringList clearAllTables() const override
    {
        return Dialect::clearAllTables() << QStringLiteral("DELETE FROM sqlite_sequence");
    }
    QStringList createCatalogs() const override { return {}; } // the file is the catalog
    // A crash during a load loses only the load. A rollback journal keeps the
    // load out of the WAL, which would otherwise grow to the whole load and be
    // copied once more; a large cache and in-memory sorting make the index
    // builds at its end cheap. Only the loading connection may be open.
    QStringList beginBulkLoad() const override
    {
        return {QStringLiteral("PRAGMA journal_mode=DELETE"), QStringLiteral("PRAGMA synchronous=OFF"),
                QStringLiteral("PRAGMA cache_size=-262144"), QStringLiteral("PRAGMA temp_store=MEMORY")};
    }
    QStringList endBulkLoad() const override
    {
        return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
                QStringLiteral("PRAGMA cache_size=-2000"), QStringLiteral("PRAGMA temp_store=DEFAULT")};
    }
    // WAL with synchronous=NORMAL keeps each commit atomic; the checkpoint
    // syncs the log and the file once for the whole batch.
    QStringList beginBatchCommits() const override { return {QStringLiteral("PRAGMA synchronous=NORMAL")}; }
    QStringList endBatchCommits() const override
    {
        return {QStringLiteral("PRAGMA synchronous=FULL"), QStringLiteral("PRAGMA wal_checkpoint(FULL)")};
    }
    // Qt looks each parameter up by number in a list as long as the statement's,
    // so very long statements cost more than they save.
    int bulkBoundValues() const override { return 1000; }

protected:
    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        case ColType::Text: return QStringLiteral("TEXT");
        case ColType::Integer: return QStringLiteral("INTEGER");
        case ColType::DateTime: return QStringLiteral("TEXT");
        case ColType::Float:
        case ColType::Decimal:
        case ColType::Currency: return QStringLiteral("REAL");
        }
        return QString();
    }
    QString idColumn() const override { return QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT"); }

private:
    void run(QSqlDatabase &db, const QString &statement) const
    {
        QSqlQuery q(db);
        if (!q.exec(statement)) throw error(q.lastError());
    }
};

// ---------------------------------------------------------------- PostgreSQL

class PostgresDialect : public Dialect {
public:
    Engine engine() const override { return Engine::PostgreSQL; }

    QSqlDatabase open(const QString &connectionName, const ConnectionSettings &cs, bool) const override
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(cs.host);
        if (cs.port > 0) db.setPort(cs.port);
        db.setUserName(cs.user);
        db.setPassword(cs.password);
        db.setDatabaseName(cs.database.isEmpty() ? QStringLiteral("feedmill") : cs.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(cs.loginTimeoutSeconds));
        opened(db);
        // A workstation left inside a transaction must not hold the others up
        // for ever: waiting for its locks ends like the embedded engine's.
        setUp(db, {QStringLiteral("SET lock_timeout = %1").arg(qMax(0, cs.lockTimeoutMs))});
        return db;
    }

    DbError::Kind classify(const QString &state, const QString &text) const override
    {
        if (state == QLatin1String("40P01") || state == QLatin1String("40001")) return DbError::Kind::Deadlock;
        if (state == QLatin1String("55P03") || state == QLatin1String("57014")) return DbError::Kind::LockTimeout;
        if (state == QLatin1String("22003")) return DbError::Kind::OutOfRange;
        if (state == QLatin1String("22001")) return DbError::Kind::TooLong;
        if (state == QLatin1String("23505")) return DbError::Kind::UniqueViolation;
        if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") || state == QLatin1String("57P02")
            || state == QLatin1String("57P03"))
            return DbError::Kind::ConnectionLost;
        // A connection that broke has no SQLSTATE; the driver's words are all there is.
        if (state.isEmpty() && lostConnectionText(text)) return DbError::Kind::ConnectionLost;
        return DbError::Kind::Other;
    }

    QString qualify(Catalog c, const QString &table) const override
    {
        return catalogName(c) + QLatin1Char('.') + table;
    }
    QString caseFold(const QString &expr) const override { return QStringLiteral("lower(%1)").arg(expr); }
    QString firstRows(int n) const override { return QStringLiteral("LIMIT %1").arg(n); }
    // round() takes numeric, not double precision.
    QString storedMoney(const QString &expr) const override
    {
        return QStringLiteral("ROUND(CAST(%1 AS numeric), 4)").arg(expr);
    }
    // The identity's sequence does not see ids given explicitly: it moves on
    // past them, never back (ids handed out before stay used).
    QStringList afterExplicitIds(const QString &qualifiedTable) const override
    {
        return {QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), GREATEST((SELECT COALESCE(MAX(id), 0) "
                               "FROM %1), COALESCE(pg_sequence_last_value(pg_get_serial_sequence('%1', 'id')::regclass), 0), 1))")
                    .arg(qualifiedTable)};
    }
    QStringList clearAllTables() const override
    {
        QStringList names;
        for (const TableDef &t : schemaTables()) names << qualify(t.catalog, t.name);
        return {QStringLiteral("TRUNCATE %1 RESTART IDENTITY").arg(names.join(QLatin1Char(',')))};
    }
    QStringList createCatalogs() const override
    {
        return {QStringLiteral("CREATE SCHEMA IF NOT EXISTS vel"), QStringLiteral("CREATE SCHEMA IF NOT EXISTS sc"),
                QStringLiteral("CREATE SCHEMA IF NOT EXISTS histvel")};
    }
    // The closing transaction has an id, so its commit waits until the log
    // holds it, and with it every commit of the batch before it.
    QStringList beginBatchCommits() const override { return {QStringLiteral("SET synchronous_commit = off")}; }
    QStringList endBatchCommits() const override
    {
        return {QStringLiteral("RESET synchronous_commit"), QStringLiteral("SELECT txid_current()")};
    }
    QStringList beginBulkLoad() const override
    {
        return {QStringLiteral("SET synchronous_commit = off"), QStringLiteral("SET maintenance_work_mem = '256MB'")};
    }
    // The planner needs statistics of the new rows at once, not when
    // autovacuum comes round.
    QStringList endBulkLoad() const override
    {
        return {QStringLiteral("RESET synchronous_commit"), QStringLiteral("RESET maintenance_work_mem"),
                QStringLiteral("ANALYZE")};
    }
    int bulkBoundValues() const override { return 1000; }
    // The driver sends bound values as literals of one EXECUTE text; a single
    // JSON value is parsed several times faster than thousands of literals.
    QString jsonRowsInsertSql(const QString &qualifiedTable, const QStringList &columns) const override
    {
        const QString list = columns.join(QLatin1Char(','));
        return QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM json_populate_recordset(NULL::%1, ?::json)")
            .arg(qualifiedTable, list);
    }

protected:
    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        // Byte order, so that text dates, codes and flags compare alike on every engine.
        case ColType::Text: return QStringLiteral("varchar(%1) COLLATE \"C\"").arg(c.width);
        case ColType::Integer: return QStringLiteral("integer");
        case ColType::DateTime: return QStringLiteral("timestamp(3)");
        case ColType::Float: return QStringLiteral("double precision");
        case ColType::Decimal: return QStringLiteral("numeric(18,4)");
        case ColType::Currency: return QStringLiteral("numeric(19,4)");
        }
        return QString();
    }
    QString idColumn() const override { return QStringLiteral("id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"); }
    QString dropIndexSql(const TableDef &t, const QString &index) const override
    {
        return QStringLiteral("DROP INDEX IF EXISTS %1.%2").arg(catalogName(t.catalog), index);
    }
};

// ---------------------------------------------------------------- SQL Server

class SqlServerDialect : public Dialect {
public:
    Engine engine() const override { return Engine::SQLServer; }

    QSqlDatabase open(const QString &connectionName, const ConnectionSettings &cs, bool) const override
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
        QString conn = QStringLiteral("DRIVER=%1;SERVER=%2;PORT=%3;DATABASE=vel;UID=%4;PWD=%5;ClientCharset=UTF-8")
                           .arg(odbcValue(cs.odbcDriver), odbcValue(cs.host))
                           .arg(cs.port > 0 ? cs.port : 1433)
                           .arg(odbcValue(cs.user), odbcValue(cs.password));
        db.setDatabaseName(conn);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                                 .arg(cs.loginTimeoutSeconds));
        opened(db);
        setUp(db, {QStringLiteral("SET LOCK_TIMEOUT %1").arg(qMax(0, cs.lockTimeoutMs))});
        return db;
    }

    DbError::Kind classify(const QString &nativeCode, const QString &text) const override
    {
        bool ok = false;
        const int code = nativeCode.toInt(&ok);
        if (ok) {
            switch (code) {
            case 1205: // chosen as deadlock victim
            case 3960: // snapshot isolation update conflict
            case 3961: return DbError::Kind::Deadlock;
            case 1222: return DbError::Kind::LockTimeout;
            case 220: // arithmetic overflow for a type
            case 232:
            case 8115: return DbError::Kind::OutOfRange;
            case 8152: // string or binary data would be truncated
            case 2628: return DbError::Kind::TooLong;
            case 2601: // duplicate key in a unique index
            case 2627: return DbError::Kind::UniqueViolation;
            case 233:
            case 10053:
            case 10054:
            case 20004: // FreeTDS: read from the server failed
            case 20006: // FreeTDS: write to the server failed
            case 20047: return DbError::Kind::ConnectionLost;
            default: break;
            }
        }
        return lostConnectionText(text) ? DbError::Kind::ConnectionLost : DbError::Kind::Other;
    }

    QString qualify(Catalog c, const QString &table) const override
    {
        return catalogName(c) + QStringLiteral(".dbo.") + table;
    }
    // The databases use a case-insensitive collation; a plain comparison keeps indexes usable.
    QString caseFold(const QString &expr) const override { return expr; }
    QStringList beforeExplicitIds(const QString &qualifiedTable) const override
    {
        return {QStringLiteral("SET IDENTITY_INSERT %1 ON").arg(qualifiedTable)};
    }
    QStringList afterExplicitIds(const QString &qualifiedTable) const override
    {
        return {QStringLiteral("SET IDENTITY_INSERT %1 OFF").arg(qualifiedTable)};
    }
    QString firstRows(int n) const override
    {
        return QStringLiteral("OFFSET 0 ROWS FETCH NEXT %1 ROWS ONLY").arg(n);
    }
    QString pageRows(QVariantList &values, qint64 offset, int n) const override
    {
        values << offset << n;
        return QStringLiteral("OFFSET ? ROWS FETCH NEXT ? ROWS ONLY");
    }
    QString insertReturningSql(const QString &qualifiedTable, const QStringList &columns,
                               const QStringList &returned) const override
    {
        return QStringLiteral("INSERT INTO %1 (%2) OUTPUT %3 VALUES (%4)")
            .arg(qualifiedTable, columns.join(QLatin1Char(',')), inserted(returned), marks(columns.size()));
    }
    QString updateReturningSql(const QString &qualifiedTable, const QString &assignments, const QString &where,
                               const QStringList &returned) const override
    {
        QString sql = QStringLiteral("UPDATE %1 SET %2 OUTPUT %3").arg(qualifiedTable, assignments, inserted(returned));
        if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
        return sql;
    }
    // The dialect compares codes as stored, so the databases must ignore case
    // (and this one keeps Chinese in order).
    QStringList createCatalogs() const override
    {
        QStringList out;
        for (const char *db : {"vel", "sc", "histvel"})
            out << QStringLiteral("IF DB_ID(N'%1') IS NULL CREATE DATABASE %1 COLLATE Chinese_PRC_CI_AS")
                       .arg(QLatin1String(db));
        return out;
    }
    int bulkBoundValues() const override { return 2000; } // the server takes 2100 parameters

protected:
    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        case ColType::Text: return QStringLiteral("nvarchar(%1)").arg(c.width);
        case ColType::Integer: return QStringLiteral("int");
        case ColType::DateTime: return QStringLiteral("datetime2(3)");
        case ColType::Float: return QStringLiteral("float(53)");
        case ColType::Decimal: return QStringLiteral("decimal(18,4)");
        case ColType::Currency: return QStringLiteral("decimal(19,4)");
        }
        return QString();
    }
    QString idColumn() const override { return QStringLiteral("id int IDENTITY(1,1) PRIMARY KEY"); }
    QString dropIndexSql(const TableDef &t, const QString &index) const override
    {
        return QStringLiteral("DROP INDEX IF EXISTS %1 ON %2").arg(index, qualify(t.catalog, t.name));
    }

private:
    static QString inserted(const QStringList &columns)
    {
        QStringList out;
        for (const QString &c : columns) out << QStringLiteral("INSERTED.") + c;
        return out.join(QLatin1Char(','));
    }
    // ODBC attribute values in braces, with a closing brace doubled, cannot end
    // the attribute early whatever the user typed.
    static QString odbcValue(const QString &v)
    {
        QString out = v;
        out.replace(QLatin1Char('}'), QStringLiteral("}}"));
        return QLatin1Char('{') + out + QLatin1Char('}');
    }
};

} // namespace

std::unique_ptr<Dialect> makeDialect(Engine e)
{
    switch (e) {
    case Engine::SQLite: return std::make_unique<SqliteDialect>();
    case Engine::PostgreSQL: return std::make_unique<PostgresDialect>();
    case Engine::SQLServer: return std::make_unique<SqlServerDialect>();
    }
    return nullptr;
}

} // namespace fm
