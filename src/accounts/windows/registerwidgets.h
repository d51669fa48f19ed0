#pragma once
// Widgets the register's windows share: read-only grids of customers and
// regions, and region boxes that show a placeholder until a region is chosen.

#include "accounts/customerregister.h"

#include <QStringList>
#include <vector>

class QComboBox;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace fm {

// A read-only grid that selects whole rows, with Chinese column heads.
QTableWidget *makeRegisterGrid(QWidget *parent, const QStringList &heads);

// Column widths from the contents, with some air; the last column takes the rest.
void fitColumns(QTableWidget *grid);
// A field that shows a value and takes no input.
void makeDisplayOnly(QLineEdit *e);

// One row per customer: code, name, region, flag (and phone when the grid has
// a fifth column). The row's customer id is kept in the first cell.
void showCustomers(QTableWidget *grid, const std::vector<Customer> &customers);
qint64 customerIdAt(const QTableWidget *grid, int row);
// Selects the row of the customer and scrolls to it.
void selectCustomer(QTableWidget *grid, qint64 customerId);

// One row per region: name and code.
void showRegions(QTableWidget *grid, const std::vector<Region> &regions);

// A non-editable box that shows placeholder while nothing is chosen.
QComboBox *makeChoiceBox(QWidget *parent, const QString &placeholder, int minimumWidth = 140);
// Fills the box with the region names and resets it to its placeholder; with
// keep set, the region of that name stays chosen if it still exists.
void fillRegionBox(QComboBox *box, const std::vector<Region> &regions, const QString &keep = QString());
// The chosen entry's text, trimmed; empty while the placeholder shows.
QString chosenText(const QComboBox *box);

} // namespace fm
