#pragma once
// The printouts of the sales queries, built from the rows the query listed.

#include "data/row.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>

namespace fm {

// "查询结果打印": one numbered line per sales or return line (khmc, cpmc,
// cpgg, zzjg, zznum, zzje, rq_1, tlnum, kpjg, kpje), the sums and the net
// quantity and amount. region is what the window's region box shows.
ReportDocument salesQueryDocument(const Rows &rows, const QString &region, const QDate &printDate);

// "退料查询打印：": the listed return rows (region, khmc, cpmc, cpgg, tlnum,
// tlprice, tlje, tlrq, kprq) and their sums.
ReportDocument returnQueryDocument(const Rows &rows, const QDate &printDate);

} // namespace fm
