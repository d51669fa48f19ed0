#include "data/dialect.h"

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

QString Dialect::insertSql(const QString &qualifiedTable, const QStringList &columns) const
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(qualifiedTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

QString Dialect::updateReturning(const QString &table, const QString &set, const QString &where,
                                 const QStringList &columns) const
{
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3 RETURNING %4").arg(table, set, where, columns.join(QLatin1Char(',')));
}

QString Dialect::jsonRowsInsertSql(const QString &, const QStringList &) const
{
    return QString();
}

QString Dialect::indexExpression(const QString &column, bool caseInsensitive) const
{
    return caseInsensitive ? caseFold(column) : column;
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

Dialect::IndexNames Dialect::indexNames(const TableDef &t, int n, bool unique) const
{
    const QString name = QStringLiteral("%1_%2%3").arg(t.name, unique ? QStringLiteral("uk") : QStringLiteral("ix")).arg(n);
    // Index names live in the table's schema on PostgreSQL and SQL Server;
    // SQLite wants the schema on the index name instead of the table.
    IndexNames out{name, name, qualify(t.catalog, t.name)};
    if (engine() == Engine::SQLite) {
        const int dot = out.table.indexOf(QLatin1Char('.'));
        if (dot > 0) {
            out.created = out.dropped = out.table.left(dot + 1) + name;
            out.table = out.table.mid(dot + 1);
        }
    } else if (engine() == Engine::PostgreSQL) {
        out.dropped = catalogName(t.catalog) + QLatin1Char('.') + name;
    }
    return out;
}

QStringList Dialect::createIndexes(const TableDef &t) const
{
    QStringList out;
    int n = 0;
    for (const IndexDef &ix : t.indexes) {
        QStringList parts;
        for (const QString &c : ix.columns)
            parts << indexExpression(c, ix.caseInsensitive && !ix.exact.contains(c));
        const IndexNames names = indexNames(t, ++n, ix.unique);
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), names.created, names.table,
                        parts.join(QLatin1Char(',')));
    }
    return out;
}

QStringList Dialect::dropIndexes(const TableDef &t) const
{
    QStringList out;
    int n = 0;
    for (const IndexDef &ix : t.indexes) {
        const IndexNames names = indexNames(t, ++n, ix.unique);
        if (engine() == Engine::SQLServer)
            out << QStringLiteral("DROP INDEX IF EXISTS %1 ON %2").arg(names.dropped, names.table);
        else
            out << QStringLiteral("DROP INDEX IF EXISTS %1").arg(names.dropped);
    }
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

class SqliteDialect : public Dialect {
public:
    Engine engine() const override { return Engine::SQLite; }
    QString qualify(Catalog c, const QString &table) const override
    {
        return c == Catalog::Vel ? QStringLiteral("main.") + table : catalogName(c) + QLatin1Char('.') + table;
    }
    QString caseFold(const QString &expr) const override { return QStringLiteral("lower(%1)").arg(expr); }
    QString firstRows(int n) const override { return QStringLiteral("LIMIT %1").arg(n); }
    QStringList createCatalogs() const override { return {}; } // the files are attached
    // A crash during a load loses only the load; a large cache and in-memory
    // sorting make the index builds at its end cheap.
    QStringList beginBulkLoad() const override
    {
        return {QStringLiteral("PRAGMA main.synchronous=OFF"), QStringLiteral("PRAGMA sc.synchronous=OFF"),
                QStringLiteral("PRAGMA main.cache_size=-262144"), QStringLiteral("PRAGMA temp_store=MEMORY")};
    }
    QStringList endBulkLoad() const override
    {
        return {QStringLiteral("PRAGMA main.synchronous=FULL"), QStringLiteral("PRAGMA sc.synchronous=FULL"),
                QStringLiteral("PRAGMA main.cache_size=-2000"), QStringLiteral("PRAGMA temp_store=DEFAULT")};
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
};

class PostgresDialect : public Dialect {
public:
    Engine engine() const override { return Engine::PostgreSQL; }
    QString qualify(Catalog c, const QString &table) const override
    {
        return catalogName(c) + QLatin1Char('.') + table;
    }
    QString caseFold(const QString &expr) const override { return QStringLiteral("lower(%1)").arg(expr); }
    QString firstRows(int n) const override { return QStringLiteral("LIMIT %1").arg(n); }
    QString insertSql(const QString &qualifiedTable, const QStringList &columns) const override
    {
        return Dialect::insertSql(qualifiedTable, columns) + QStringLiteral(" RETURNING id");
    }
    QStringList createCatalogs() const override
    {
        return {QStringLiteral("CREATE SCHEMA IF NOT EXISTS vel"), QStringLiteral("CREATE SCHEMA IF NOT EXISTS sc"),
                QStringLiteral("CREATE SCHEMA IF NOT EXISTS histvel")};
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
};

class SqlServerDialect : public Dialect {
public:
    Engine engine() const override { return Engine::SQLServer; }
    QString qualify(Catalog c, const QString &table) const override
    {
        return catalogName(c) + QStringLiteral(".dbo.") + table;
    }
    // The databases use a case-insensitive collation; a plain comparison keeps indexes usable.
    QString caseFold(const QString &expr) const override { return expr; }
    QString firstRows(int n) const override
    {
        return QStringLiteral("OFFSET 0 ROWS FETCH NEXT %1 ROWS ONLY").arg(n);
    }
    QString pageRows(QVariantList &values, qint64 offset, int n) const override
    {
        values << offset << n;
        return QStringLiteral("OFFSET ? ROWS FETCH NEXT ? ROWS ONLY");
    }
    QString insertSql(const QString &qualifiedTable, const QStringList &columns) const override
    {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        return QStringLiteral("INSERT INTO %1 (%2) OUTPUT INSERTED.id VALUES (%3)")
            .arg(qualifiedTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    QString updateReturning(const QString &table, const QString &set, const QString &where,
                            const QStringList &columns) const override
    {
        QStringList out;
        for (const QString &c : columns) out << QStringLiteral("INSERTED.") + c.trimmed();
        return QStringLiteral("UPDATE %1 SET %2 OUTPUT %3 WHERE %4").arg(table, set, out.join(QLatin1Char(',')), where);
    }
    QStringList createCatalogs() const override
    {
        QStringList out;
        for (const char *db : {"vel", "sc", "histvel"})
            out << QStringLiteral("IF DB_ID(N'%1') IS NULL CREATE DATABASE %1").arg(QLatin1String(db));
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
