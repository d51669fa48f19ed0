#pragma once
// The three documents of the sales window, built from the rows they print,
// found by key.

#include "reports/reportdocument.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;

// The turnover slip: the eight print lines of this workstation's rows for the
// customer and the slip's funds row.
ReportDocument turnoverSlipDocument(Session &s, const QString &qymc, const QString &owner,
                                    const QString &customerCode, const QString &customerName,
                                    qint64 fundsRowId, const QDate &printDate);

struct ReturnListRow {
    QString khmc, region, cpmc, cpgg;
    double tlnum = 0, kpjg = 0, kpje = 0;
};
// The customer return list from the rows the window shows.
ReportDocument returnListDocument(const QString &qymc, const std::vector<ReturnListRow> &rows, const QDate &printDate);

// The repayment receipt for one payment row.
ReportDocument repaymentReceiptDocument(Session &s, qint64 fundsRowId, const QDate &printDate);

} // namespace fm
