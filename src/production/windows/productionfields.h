#pragma once
// What the production windows share: the columns of their tables as their
// grids show them.

#include "ui/grid.h"

namespace fm {

// velcpzk: code, name, size, stock, cost, formula, production flag, date,
// time, product flag.
QList<GridColumn> masterColumns();
// sccbk as "成本显示" lists it.
QList<GridColumn> teamCostColumns();
// scsyk as "杂料回机浏览" lists it.
QList<GridColumn> sundryColumns();

// A column of a Row by name, as text, number or moment.
GridColumn textColumn(const char *title, const char *field);
GridColumn numberColumn(const char *title, const char *field);
GridColumn momentColumn(const char *title, const char *field);

} // namespace fm
