#pragma once
// Reading the change log (czrz): the rows a filter selects, newest first,
// for the query window's grid and for its printed and exported list.

#include "data/rowpager.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>

namespace fm {

struct ChangeLogFilter {
    QDate from, to;        // inclusive; a null date leaves that end open
    QString operatorCode;  // empty: every operator
    QString table;         // empty: every table
    QString code;          // the code the row is about; empty: any
};

class ChangeLogQuery {
public:
    explicit ChangeLogQuery(Session &s) : m_s(s) {}

    // "截止日期不能早于起始日期！" when the range is reversed.
    static void check(const ChangeLogFilter &f);
    static RowQuery query(const ChangeLogFilter &f);
    // Every row the filter selects, for the document (capped at kDocumentRows).
    Rows rows(const ChangeLogFilter &f);
    static ReportDocument document(const Rows &rows, const ChangeLogFilter &f, const QDate &today);

    static constexpr int kDocumentRows = 20000;

private:
    Session &m_s;
};

} // namespace fm
