#pragma once
// The customer account documents, each built from rows already read: the
// settlement detail list of a customer's period.

#include "accounts/settlement.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <vector>

namespace fm {

// The notice the mill's internal documents carry.
QString internalNotice();

// "客户结算名细清单：" over a customer's settlement detail rows. A row that
// sold nothing net is not printed; the totals cover every row, so the fee
// total is the one booked on the fund rows and the month record. start and
// end are the period shown when there are no rows.
ReportDocument settlementListDocument(const QString &customerName, const QDate &start, const QDate &end,
                                      const std::vector<SettlementLine> &lines, const QDate &printDate);

} // namespace fm
