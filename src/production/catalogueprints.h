#pragma once
// The printed lists of the product catalogue window.

#include "reports/reportdocument.h"

#include <QString>

namespace fm {

class Session;

// The product list: every product with a list price, by code, with the name
// of the category its flag belongs to.
class Tcppzdy {
public:
    static ReportDocument build(Session &s, const QString &qymc);
};

// The formulas the products can be linked to, by number, with their cost per
// kilogram and per tonne.
ReportDocument formulaListDocument(Session &s, const QString &qymc);

} // namespace fm
