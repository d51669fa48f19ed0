#pragma once
// The two printed price lists. Both are built from rows the window already
// shows and leave out the rows without a price: the cost price list the
// products whose cost is 0, the customer price list the products whose
// policy price is 0 or not set.

#include "pricing/pricebook.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <vector>

namespace fm {

// The enterprise's confidential cost price list, over the price grid's rows.
ReportDocument costPriceListDocument(const std::vector<ProductPrice> &rows, const QString &qymc, QDate printDate);

// One customer's list and policy prices, numbered.
ReportDocument customerPriceListDocument(const std::vector<CustomerProductPrice> &rows, const QString &customerName,
                                         QDate printDate);

} // namespace fm
