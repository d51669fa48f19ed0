#pragma once
// The tables of the three catalogs, declared once. DDL for every engine, the
// qualification of table names and the test fixtures are all derived from it.

#include <QString>
#include <QStringList>
#include <vector>

namespace fm {

enum class Catalog { Vel, Sc, Histvel };

enum class ColType {
    Text,     // character column, width in characters
    Float,    // double precision
    Integer,  // 32-bit
    DateTime, // date and time, stored in one canonical text form on SQLite
    Decimal,  // exact, 4 decimals
    Currency, // exact, 4 decimals, money range
};

struct ColumnDef {
    QString name;
    ColType type = ColType::Text;
    int width = 0; // characters, Text only
};

struct IndexDef {
    QStringList columns;
    bool unique = false;
    // Codes matched without regard to case: the index is on lower(col) where
    // the engine supports expression indexes. Columns listed in exact (dates
    // beside a code) stay as stored, so range scans on them still use it.
    bool caseInsensitive = false;
    QStringList exact;
};

struct TableDef {
    Catalog catalog = Catalog::Vel;
    QString name;
    std::vector<ColumnDef> columns; // without the surrogate key "id"
    std::vector<IndexDef> indexes;

    const ColumnDef *column(const QString &name) const;
    QStringList columnNames() const;
};

// Every table of the three catalogs, in a fixed order.
const std::vector<TableDef> &schemaTables();
const TableDef *findTable(const QString &name);

QString catalogName(Catalog c); // "vel", "sc", "histvel"

} // namespace fm
