#pragma once
// "地区客户打印：", the printed list of a region's customers.

#include "accounts/customerregister.h"
#include "reports/reportdocument.h"

namespace fm {

// One line per customer with code, name and region, on A4 portrait.
ReportDocument customerListDocument(const std::vector<Customer> &customers);

} // namespace fm
