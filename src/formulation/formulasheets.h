#pragma once
// The printed sheets of the formula display and the price query, built from
// rows already read (the rows the window's grids show).

#include "data/row.h"
#include "formulation/formulabook.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QSet>
#include <vector>

namespace fm {

// "生  产  配  方：": the formula's lines (ylmc, ylsl); the change date is
// the lines' saving date.
ReportDocument compositionSheet(const QString &formulaName, const Rows &lines, QDate today);
// "配方营养成分明细": ylys, result, stand, comp of each result row.
ReportDocument nutrientSheet(const QString &formulaName, const Rows &results, QDate today);
// "配方打印": each saved cost not marked (by formula number, folded) in
// yuan per tonne, with a running number.
ReportDocument priceListSheet(const std::vector<SavedPrice> &prices, const QSet<QString> &markedNumbers);

} // namespace fm
