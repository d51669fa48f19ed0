#pragma once
// The customer account documents, each built from rows already read: the
// settlement detail list, the statement of account with the age of the
// arrears, the statement of arrears, the arrears summary and the customer
// price history. The internal ones carry the internal notice.

#include "accounts/arrearssummary.h"
#include "accounts/pricehistory.h"
#include "accounts/settlement.h"
#include "accounts/statements.h"
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

// "客户对帐明细单：" over the customer's fund rows between the dates typed,
// with the open arrears by age under it. A row with neither an amount owed
// nor a payment is not printed; the totals cover every row.
ReportDocument statementOfAccountDocument(const QString &customerName, const QDate &start, const QDate &end,
                                          const Statement &statement, const ArrearsAging &aging);

// "客户对账单：": the accumulated actual arrears as of the 18th of the month
// it is printed in; qymc names the mill.
ReportDocument arrearsStatementDocument(const QString &qymc, const QString &customerName, double actualArrears,
                                        const QDate &printDate);

// "客户欠款汇总：" over the lines in the order shown. A line prints when the
// customer owes something before or after fees; the totals cover all lines.
ReportDocument arrearsSummaryDocument(const std::vector<ArrearsLine> &lines, const QDate &printDate);

// "客户历史价格打印：" over the customer's current sales lines.
ReportDocument priceHistoryDocument(const std::vector<PriceHistoryLine> &lines);

} // namespace fm
