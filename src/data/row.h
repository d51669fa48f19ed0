#pragma once
// A row read in full from a query, read by column name, never by position.
// Column names are matched without regard to case (engines differ in how
// they spell a result's column names back). Asking for a column the query
// did not select is a programming error and throws at once, so a typo in a
// reader cannot pass as an empty value.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class QSqlQuery;
class QSqlRecord;

namespace fm {

class Row {
public:
    struct Columns {
        QStringList names;        // as the query returned them
        QHash<QString, int> index; // folded name -> position
    };

    Row() = default;
    Row(std::shared_ptr<const Columns> columns, QVariantList values)
        : m_columns(std::move(columns)), m_values(std::move(values)) {}

    bool has(const QString &column) const;
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;
    // Text with trailing and leading blanks trimmed (fixed-width columns pad).
    QString text(const QString &column) const;
    double number(const QString &column) const;
    qint64 integer(const QString &column) const;
    // The surrogate key.
    qint64 id() const { return integer(QStringLiteral("id")); }
    // A date column as "yyyy-mm-dd" (the stored text's date part), empty when null.
    QString dateText(const QString &column) const;
    QDate date(const QString &column) const;

    const QStringList &columnNames() const;

    // The columns of a query's current result, shared by all its rows.
    static std::shared_ptr<const Columns> columnsOf(const QSqlRecord &record);
    // The current row of a positioned query.
    static Row current(const QSqlQuery &query, const std::shared_ptr<const Columns> &columns);

private:
    int position(const QString &column) const;

    std::shared_ptr<const Columns> m_columns;
    QVariantList m_values;
};

using Rows = std::vector<Row>;

} // namespace fm
