#pragma once
// "产品查询" of the sales window: the price rows (khprice) of one customer,
// or of every customer, a list that can run to millions of rows and is read
// a page at a time.

#include "data/rowpager.h"

#include <QString>

namespace fm {

// An empty code lists every customer's rows.
RowQuery customerProductsQuery(const QString &customerCode);

} // namespace fm
