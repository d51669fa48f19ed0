#include "staff/windows/staffgrid.h"

#include <QHeaderView>

namespace fm::staffgrid {

QTableWidget *make(QWidget *parent, const QStringList &headers)
{
    auto *grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->setAlternatingRowColors(true);
    return grid;
}

void addRow(QTableWidget *grid, qint64 id, const QStringList &texts)
{
    const int row = grid->rowCount();
    grid->insertRow(row);
    for (int c = 0; c < texts.size() && c < grid->columnCount(); ++c) {
        auto *item = new QTableWidgetItem(texts.at(c));
        if (c == 0) item->setData(Qt::UserRole, id);
        grid->setItem(row, c, item);
    }
}

qint64 idAt(const QTableWidget *grid, int row)
{
    const QTableWidgetItem *item = grid->item(row, 0);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void fit(QTableWidget *grid)
{
    for (int c = 0; c + 1 < grid->columnCount(); ++c) {
        grid->resizeColumnToContents(c);
        grid->setColumnWidth(c, qMax(grid->columnWidth(c) + 16, 80));
    }
}

} // namespace fm::staffgrid
