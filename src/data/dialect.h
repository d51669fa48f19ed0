#pragma once
// Everything that differs between the engines lives here and nowhere else.

#include "data/connectionsettings.h"
#include "data/schema.h"

#include <QStringList>
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
    // The clause that makes an INSERT hand back the new id, and where it goes.
    virtual QString insertSql(const QString &qualifiedTable, const QStringList &columns) const;

    // DDL: statements that create the catalogs themselves (schemas, databases)
    // and every table with its keys and indexes.
    virtual QStringList createCatalogs() const = 0;
    QStringList createTable(const TableDef &t) const;
    QStringList createIndexes(const TableDef &t) const;
    QStringList createSchema() const; // catalogs, tables, indexes

protected:
    virtual QString columnType(const ColumnDef &c) const = 0;
    virtual QString idColumn() const = 0;
    virtual QString indexExpression(const QString &column, bool caseInsensitive) const;
};

std::unique_ptr<Dialect> makeDialect(Engine e);

} // namespace fm
