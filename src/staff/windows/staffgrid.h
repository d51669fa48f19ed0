#pragma once
// The read-only grids of the staff windows: whole rows selected, one at a
// time, each row carrying the id of the record it shows.

#include <QStringList>
#include <QTableWidget>

namespace fm::staffgrid {

QTableWidget *make(QWidget *parent, const QStringList &headers);
// Appends a row of texts whose first cell carries id.
void addRow(QTableWidget *grid, qint64 id, const QStringList &texts);
// The id carried by a row, 0 when there is none.
qint64 idAt(const QTableWidget *grid, int row);
// Widens the columns to their contents, leaving the last to fill the grid.
void fit(QTableWidget *grid);

} // namespace fm::staffgrid
