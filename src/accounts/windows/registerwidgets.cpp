#include "accounts/windows/registerwidgets.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

namespace fm {

QTableWidget *makeRegisterGrid(QWidget *parent, const QStringList &heads)
{
    auto *grid = new QTableWidget(0, int(heads.size()), parent);
    grid->setHorizontalHeaderLabels(heads);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->setAlternatingRowColors(true);
    return grid;
}

void fitColumns(QTableWidget *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    const int last = grid->columnCount() - 1;
    for (int col = 0; col < last; ++col) {
        header->setSectionResizeMode(col, QHeaderView::Interactive);
        grid->resizeColumnToContents(col);
        grid->setColumnWidth(col, grid->columnWidth(col) + 16);
    }
    if (last >= 0) header->setSectionResizeMode(last, QHeaderView::Stretch);
}

void makeDisplayOnly(QLineEdit *e)
{
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
}

void showCustomers(QTableWidget *grid, const std::vector<Customer> &customers)
{
    grid->clearContents();
    grid->setRowCount(int(customers.size()));
    const bool phone = grid->columnCount() > 4;
    for (int row = 0; row < int(customers.size()); ++row) {
        const Customer &c = customers[size_t(row)];
        QStringList cells{c.code, c.name, c.region, c.flag};
        if (phone) cells << c.phone;
        for (int col = 0; col < int(cells.size()); ++col) grid->setItem(row, col, new QTableWidgetItem(cells[col]));
        grid->item(row, 0)->setData(Qt::UserRole, c.id);
    }
    fitColumns(grid);
}

qint64 customerIdAt(const QTableWidget *grid, int row)
{
    const QTableWidgetItem *item = grid->item(row, 0);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void selectCustomer(QTableWidget *grid, qint64 customerId)
{
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (customerIdAt(grid, row) == customerId) {
            grid->selectRow(row);
            grid->scrollToItem(grid->item(row, 0));
            return;
        }
    }
}

void showRegions(QTableWidget *grid, const std::vector<Region> &regions)
{
    grid->clearContents();
    grid->setRowCount(int(regions.size()));
    for (int row = 0; row < int(regions.size()); ++row) {
        grid->setItem(row, 0, new QTableWidgetItem(regions[size_t(row)].name));
        grid->setItem(row, 1, new QTableWidgetItem(regions[size_t(row)].code));
    }
    fitColumns(grid);
}

QComboBox *makeChoiceBox(QWidget *parent, const QString &placeholder, int minimumWidth)
{
    auto *box = new QComboBox(parent);
    box->setPlaceholderText(placeholder);
    box->setMinimumWidth(minimumWidth);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

void fillRegionBox(QComboBox *box, const std::vector<Region> &regions, const QString &keep)
{
    box->clear();
    for (const Region &r : regions) box->addItem(r.name, r.id);
    box->setCurrentIndex(keep.isEmpty() ? -1 : box->findText(keep));
}

QString chosenText(const QComboBox *box)
{
    return box->currentIndex() < 0 ? QString() : box->currentText().trimmed();
}

} // namespace fm
