#pragma once
// The lists the catalogue's pages share: the products (price) and every
// customer's prices (khprice), each read a page at a time.

#include <QString>

class QWidget;

namespace fm {

class Grid;
class Session;

// "价格显示：(单位：元/吨）": code, name, size, list price, flag, date.
Grid *productGrid(QWidget *parent, const char *name);
// "客户价格显示：(单位：元/吨）": customer, product, size, price, region, flag, date.
Grid *customerPriceGrid(QWidget *parent, const char *name);
// A grid under its caption.
QWidget *captioned(const QString &caption, QWidget *grid);

// (Re)reads both lists from their first page.
void showProducts(Grid *grid, Session &s);
void showCustomerPrices(Grid *grid, Session &s);

} // namespace fm
