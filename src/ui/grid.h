#pragma once
// Read-only grids of rows: headers, cells as text, numbers right-aligned, and
// each row's key kept so that a click finds its row by key.

#include <QStringList>
#include <QVariant>
#include <vector>

class QTableWidget;
class QWidget;

namespace fm {

struct GridRow {
    qint64 key = 0;
    QVariantList cells; // doubles are shown as number text, right-aligned
};

QTableWidget *makeGrid(QWidget *parent, const QStringList &headers);
void fillGrid(QTableWidget *grid, const std::vector<GridRow> &rows);
// The key of the current row, 0 when none.
qint64 currentKey(const QTableWidget *grid);

} // namespace fm
