#pragma once
// The printed documents of cost processing and cost prices, all for internal
// use. Each is built from rows already read; none runs a query of its own.

#include "pricing/costprocessing.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <vector>

namespace fm {

struct PriceFilterRow;

// "地区结算表：" over the region's cost rows (by date); a row without a
// quantity is not printed. Totals: kilograms and margin.
ReportDocument regionalCostSheet(const std::vector<CostDetail> &rows, const QString &qymc, const QString &region,
                                 QDate printDate);

// "地区数据异常结算表：": the rows whose policy price does not cover the cost
// price, with their totals (always printed, even over no rows).
ReportDocument abnormalCostSheet(const std::vector<CostDetail> &rows, const QString &qymc, const QString &region,
                                 QDate printDate);

// "客户成本结算清单：" over one customer's cost rows; a row without a
// quantity is not printed. Subtotal: kilograms, policy amount, margin.
ReportDocument customerCostList(const std::vector<CostDetail> &rows, const QString &customerName,
                                const QString &customerCode, QDate printDate);

// "客户成本价格打印：" over a customer's current sales lines.
ReportDocument customerCostPrices(const std::vector<SaleLine> &lines);

// "历史成本价格表" over the lines of the cost-price history window. Total:
// kilograms.
ReportDocument historicalCostTable(const std::vector<SaleLine> &lines);

// "低于成本价格销售的客户价格过滤明细" over the price filter's rows.
ReportDocument priceFilterList(const std::vector<PriceFilterRow> &rows);

} // namespace fm
