#pragma once
// The three documents of the sales window, built from the rows they print,
// found by key.

#include "data/row.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;

struct SlipPrint {
    QString workstation, operatorCode; // who owns the print rows
    QString customerCode, customerName;
    QString number;     // the turnover number
    qint64 fundsRowId = 0;
};
// The turnover slip: the eight print lines of this workstation's and
// operator's rows for the customer, and the slip's funds row.
ReportDocument turnoverSlipDocument(Session &s, const QString &qymc, const SlipPrint &slip, const QDate &printDate);

// The customer return list from the return lines the window shows (khmc,
// region, cpmc, cpgg, tlnum, kpjg, kpje).
ReportDocument returnListDocument(const QString &qymc, const Rows &rows, const QDate &printDate);

// The repayment receipt for one payment row.
ReportDocument repaymentReceiptDocument(Session &s, qint64 fundsRowId, const QDate &printDate);

} // namespace fm
