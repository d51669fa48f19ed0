#pragma once
// "客户价格查询": what a customer paid, line by line, between two dates, in
// the current period's sales lines and in the archive. Found by the
// customer's code (an index search; an archived line keeps the code when the
// customer has been renamed since).

#include "data/rowpager.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;

struct PriceHistoryLine {
    qint64 id = 0;
    QString date;        // rq_1
    QString customer;    // khmc
    QString product;     // cpmc
    QString spec;        // cpgg
    double sold = 0;     // zznum
    double returned = 0; // tlnum
    double price = 0;    // zzjg
    double returnPrice = 0; // kpjg
    double policyPrice = 0; // zcjg
};

// The grid's rows: current lines (sale1) or archived ones (his_sale1).
RowQuery priceHistoryQuery(bool archived, const QString &customerCode, const QDate &start, const QDate &end);
// Whether there is any such line.
bool hasPriceHistory(Session &s, bool archived, const QString &customerCode, const QDate &start, const QDate &end);
// The current lines, by date, for the printed history.
std::vector<PriceHistoryLine> priceHistory(Session &s, const QString &customerCode, const QDate &start, const QDate &end);

} // namespace fm
