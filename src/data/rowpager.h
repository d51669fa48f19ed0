#pragma once
// A list too large to read at once, read a page at a time in a stable
// order. A service builds the query (what rows, which columns); a grid asks
// for pages as the user scrolls, and may re-sort on any selected column.

#include "data/row.h"
#include "data/session.h"

#include <QString>

namespace fm {

struct RowQuery {
    // A SELECT without ORDER BY; it must select the id column. Placeholders
    // as for Session.
    QString select;
    Values values;
    // The columns of the result that order it, e.g. {"khdm", "cpdm"}; id is
    // always appended so that the order is total and pages never overlap.
    QStringList orderBy;
};

class RowPager {
public:
    RowPager(Session &s, RowQuery query) : m_s(s), m_query(std::move(query)) {}

    // Rows offset .. offset + n - 1 in the current order.
    Rows page(qint64 offset, int n);
    // How many rows the query has (counted on demand: it costs a scan).
    qint64 count();

    // Orders by one column of the result instead; refused (false) for a name
    // that is not a plain column name, since it is placed in the statement.
    bool sortBy(const QString &column, bool descending);
    void resetOrder();

private:
    QString orderClause() const;

    Session &m_s;
    RowQuery m_query;
    QString m_sortColumn;
    bool m_descending = false;
};

} // namespace fm
