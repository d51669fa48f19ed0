#include "ui/grid.h"

#include "common/numbertext.h"

#include <QHeaderView>
#include <QTableWidget>

namespace fm {

QTableWidget *makeGrid(QWidget *parent, const QStringList &headers)
{
    auto *g = new QTableWidget(0, int(headers.size()), parent);
    g->setHorizontalHeaderLabels(headers);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->setVisible(false);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 8);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setAlternatingRowColors(true);
    return g;
}

void fillGrid(QTableWidget *grid, const std::vector<GridRow> &rows)
{
    grid->setRowCount(0);
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const GridRow &row = rows[size_t(r)];
        for (int c = 0; c < row.cells.size() && c < grid->columnCount(); ++c) {
            const QVariant &v = row.cells[c];
            const bool number = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int
                || v.typeId() == QMetaType::LongLong;
            auto *item = new QTableWidgetItem(v.typeId() == QMetaType::Double ? numberText(v.toDouble()) : v.toString());
            if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setData(Qt::UserRole, row.key);
            grid->setItem(r, c, item);
        }
    }
    grid->resizeColumnsToContents();
}

qint64 currentKey(const QTableWidget *grid)
{
    const int r = grid->currentRow();
    if (r < 0 || !grid->item(r, 0)) return 0;
    return grid->item(r, 0)->data(Qt::UserRole).toLongLong();
}

} // namespace fm
