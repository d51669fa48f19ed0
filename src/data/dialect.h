#pragma once
// Everything that differs between the engines lives here and nowhere else:
// the SQL text, the DDL, how a connection is opened and set up, how a
// transaction begins and ends, and what the engine's error codes mean.

#include "data/connectionsettings.h"
#include "data/dberror.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <memory>

class QSqlError;

namespace fm {

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual Engine engine() const = 0;

    // ---- the connection ---------------------------------------------------
    // Adds the Qt connection named connectionName, opens it and sets it up
    // (lock waits; on SQLite the journal). Embedded catalogs that do not exist
    // are created only when create is set. Throws DbError when the catalogs
    // cannot be reached.
    virtual QSqlDatabase open(const QString &connectionName, const ConnectionSettings &settings,
                              bool create) const = 0;

    // ---- transactions -------------------------------------------------------
    // begin and commit throw a classified DbError; rollback never throws.
    virtual void begin(QSqlDatabase &db) const;
    virtual void commit(QSqlDatabase &db) const;
    virtual void rollback(QSqlDatabase &db) const;

    // ---- errors -----------------------------------------------------------
    // The driver's error as a DbError of the right kind.
    DbError error(const QSqlError &e) const;
    // The kind of an error from its native code (SQLSTATE on PostgreSQL, the
    // result code on SQLite, the error number on SQL Server) and its text.
    virtual DbError::Kind classify(const QString &nativeCode, const QString &text) const = 0;

    // ---- statements -------------------------------------------------------
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
    // An INSERT of one row whose result is one row with the returned columns
    // of the new row, in one round trip; "id" gives the new key.
    virtual QString insertReturningSql(const QString &qualifiedTable, const QStringList &columns,
                                       const QStringList &returned) const;
    QString insertSql(const QString &qualifiedTable, const QStringList &columns) const
    {
        return insertReturningSql(qualifiedTable, columns, {QStringLiteral("id")});
    }
    // An UPDATE whose result has the returned columns of every changed row,
    // as they are after the change ("SET rec_num = rec_num + 1 ... → rec_num").
    // assignments is the text after SET, where the text after WHERE (may be
    // empty); bound values go in that order.
    virtual QString updateReturningSql(const QString &qualifiedTable, const QString &assignments,
                                       const QString &where, const QStringList &returned) const;
    // Empties every table and restarts the keys (tests).
    virtual QStringList clearAllTables() const;
    // The value a money column of four decimals holds, computed inside a
    // statement (what money::stored does in the client).
    virtual QString storedMoney(const QString &expr) const { return QStringLiteral("ROUND(%1, 4)").arg(expr); }
    // Rows copied with their keys (archiving): the statements to run before
    // and after an INSERT that gives the id column its values, so that the
    // engine accepts them and later keys continue above them.
    virtual QStringList beforeExplicitIds(const QString &) const { return {}; }
    virtual QStringList afterExplicitIds(const QString &) const { return {}; }

    // ---- DDL --------------------------------------------------------------
    // Statements that create the catalogs themselves (schemas, databases)
    // and every table with its keys and indexes.
    virtual QStringList createCatalogs() const = 0;
    QStringList createTable(const TableDef &t) const;
    QStringList createIndexes(const TableDef &t) const;
    QStringList dropIndexes(const TableDef &t) const;
    QStringList createSchema() const; // catalogs, tables, indexes
    // The name of index n (from 1) of t, as the catalog knows it.
    static QString indexName(const TableDef &t, int n, bool unique);

    // A batch of short transactions, each of which may be run again (the
    // settlement of a region): commits that need not reach the disk one by
    // one, and the statements that put the setting back and make the whole
    // batch durable at once.
    virtual QStringList beginBatchCommits() const { return {}; }
    virtual QStringList endBatchCommits() const { return {}; }
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
    // What DROP INDEX names, and its tail.
    virtual QString dropIndexSql(const TableDef &t, const QString &index) const;
};

std::unique_ptr<Dialect> makeDialect(Engine e);

} // namespace fm
