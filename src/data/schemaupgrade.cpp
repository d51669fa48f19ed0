#include "data/schemaupgrade.h"

#include <QSet>

namespace fm {

namespace {

// The table every installation has; without it the catalogs are not one yet.
const QString kMarkerTable = QStringLiteral("zxauth1");

// The advisory lock that serialises upgrades between server workstations.
constexpr qint64 kSchemaLockKey = 0x666d736368656d61; // "fmschema"

// What the engine's system catalog calls a table or index of a catalog.
// The embedded file holds all three catalogs under bare, unique names.
QString objectKey(Engine e, Catalog c, const QString &name)
{
    if (e == Engine::SQLite) return name.toLower();
    return (catalogName(c) + QLatin1Char('.') + name).toLower();
}

// A query whose one column, name, lists every table and index of the catalogs.
QString schemaObjectsSql(Engine e)
{
    switch (e) {
    case Engine::SQLite:
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'index')");
    case Engine::PostgreSQL:
        return QStringLiteral("SELECT schemaname || '.' || tablename AS name FROM pg_catalog.pg_tables "
                              "WHERE schemaname IN ('vel', 'sc', 'histvel') "
                              "UNION ALL SELECT schemaname || '.' || indexname AS name FROM pg_catalog.pg_indexes "
                              "WHERE schemaname IN ('vel', 'sc', 'histvel')");
    case Engine::SQLServer: {
        QStringList parts;
        for (const char *db : {"vel", "sc", "histvel"})
            parts << QStringLiteral("SELECT N'%1.' + o.name AS name FROM %1.sys.objects o WHERE o.type = 'U' "
                                    "UNION ALL SELECT N'%1.' + i.name AS name FROM %1.sys.indexes i "
                                    "JOIN %1.sys.objects o ON o.object_id = i.object_id "
                                    "WHERE o.type = 'U' AND i.name IS NOT NULL")
                         .arg(QLatin1String(db));
        return parts.join(QStringLiteral(" UNION ALL "));
    }
    }
    return {};
}

// Inside the upgrade's transaction: the other workstations' upgrades wait
// until this one commits. Two servers' sessions creating the same table at
// once would collide in the system catalog; the embedded engine's write
// lock, taken when the transaction begins, serialises them already.
QStringList lockSchemaSql(Engine e)
{
    switch (e) {
    case Engine::SQLite: return {};
    case Engine::PostgreSQL: return {QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey)};
    case Engine::SQLServer:
        return {QStringLiteral("EXEC sp_getapplock @Resource = N'feedmill-schema', @LockMode = N'Exclusive', "
                               "@LockOwner = N'Transaction'")};
    }
    return {};
}

QSet<QString> existingObjects(Session &s)
{
    QSet<QString> out;
    for (const Row &r : s.rows(schemaObjectsSql(s.engine()))) out.insert(r.text(QStringLiteral("name")).toLower());
    return out;
}

// The DDL for what is missing, and the names it creates. Indexes are known
// by name (the table's name and the index's place in its list): a later
// version appends its new indexes at the end of a table's list, so the
// earlier ones keep their names.
struct Plan {
    QStringList statements, created;
    bool installation = false;
};

Plan plan(Session &s)
{
    const Dialect &d = s.dialect();
    const QSet<QString> have = existingObjects(s);
    Plan p;
    const TableDef *marker = findTable(kMarkerTable);
    p.installation = marker && have.contains(objectKey(s.engine(), marker->catalog, marker->name));
    if (!p.installation) return p;
    for (const TableDef &t : schemaTables()) {
        const bool newTable = !have.contains(objectKey(s.engine(), t.catalog, t.name));
        if (newTable) {
            p.statements << d.createTable(t);
            p.created << t.name;
        }
        const QStringList indexes = d.createIndexes(t);
        int n = 0;
        for (const IndexDef &ix : t.indexes) {
            const QString name = Dialect::indexName(t, ++n, ix.unique);
            if (!newTable && have.contains(objectKey(s.engine(), t.catalog, name))) continue;
            p.statements << indexes.at(n - 1);
            if (!newTable) p.created << t.name + QLatin1Char('.') + name;
        }
    }
    return p;
}

} // namespace

QStringList upgradeSchema(Session &s)
{
    if (plan(s).statements.isEmpty()) return {};
    QStringList created;
    s.transaction([&] {
        for (const QString &st : lockSchemaSql(s.engine())) s.execDdl(st);
        // Another workstation may have upgraded while this one waited.
        const Plan p = plan(s);
        for (const QString &st : p.statements) s.execDdl(st);
        created = p.created;
    });
    return created;
}

std::unique_ptr<Session> openInstallation(const ConnectionSettings &settings, QString *problem)
{
    std::unique_ptr<Session> s = Session::open(settings);
    try {
        upgradeSchema(*s);
    } catch (const DbError &e) {
        if (problem) *problem = QStringLiteral("数据库升级失败（缺少的数据表未能建立）：\n%1").arg(e.message());
    }
    return s;
}

} // namespace fm
