#pragma once
// Everything that differs between the engines lives here and nowhere else.

#include "data/connectionsettings.h"
#include "data/schema.h"

#include <QStringList>
#include <QVariantList>
#include <memory>

namespace fm {

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual Engine engine() const = 0;

    // The name a statement uses for a table of a catalog.
    virtual QString qualify(Catalog catalog, const QString &table) const = 0;
    // An expression that matches without regard to letter case.
    virtual QString caseFold(const QString &expr) const = 0;
    // The tail that limits a query (which must have an ORDER BY) to n rows.
    virtual QString firstRows(int n) const = 0;
    // The tail that skips offset rows and takes the next n (after an ORDER
    // BY), with both bound: its values are appended to values.
    virtual QString pageRows(QVariantList &values, qint64 offset, int n) const
    {
        values << n << offset;
        return QStringLiteral("LIMIT ? OFFSET ?");
    }
    // The clause that makes an INSERT hand back the new id, and where it goes.
    virtual QString insertSql(const QString &qualifiedTable, const QStringList &columns) const;
    // An UPDATE that hands back columns of the rows it changed, in the same
    // statement (one round trip): RETURNING, or OUTPUT on SQL Server. table
    // and the clauses may hold the session's placeholders.
    virtual QString updateReturning(const QString &table, const QString &set, const QString &where,
                                    const QStringList &columns) const;

    // DDL: statements that create the catalogs themselves (schemas, databases)
    // and every table with its keys and indexes.
    virtual QStringList createCatalogs() const = 0;
    QStringList createTable(const TableDef &t) const;
    QStringList createIndexes(const TableDef &t) const;
    QStringList dropIndexes(const TableDef &t) const;
    QStringList createSchema() const; // catalogs, tables, indexes

    // Bulk loads (the data generator): settings for this connection that make
    // a long load cheaper, the statements that put them back, and how many
    // values one statement of many VALUES rows should bind.
    virtual QStringList beginBulkLoad() const { return {}; }
    virtual QStringList endBulkLoad() const { return {}; }
    virtual int bulkBoundValues() const = 0;
    // An INSERT that takes many rows as one bound JSON array of objects keyed
    // by column, where the engine unpacks that faster than long VALUES lists;
    // empty where it does not.
    virtual QString jsonRowsInsertSql(const QString &qualifiedTable, const QStringList &columns) const;

protected:
    virtual QString columnType(const ColumnDef &c) const = 0;
    virtual QString idColumn() const = 0;
    virtual QString indexExpression(const QString &column, bool caseInsensitive) const;

private:
    // How the statements name index n of t and its table.
    struct IndexNames {
        QString created; // in CREATE INDEX
        QString dropped; // in DROP INDEX
        QString table;   // after ON
    };
    IndexNames indexNames(const TableDef &t, int n, bool unique) const;
};

std::unique_ptr<Dialect> makeDialect(Engine e);

} // namespace fm
