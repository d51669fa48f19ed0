#pragma once
// A line of sale1 (or his_sale1): an issue line of a slip (bz_1 "1") or a
// return line (bz_1 "3"). One reader and one writer, shared by the slip, the
// returns and the corrections.

#include "data/row.h"

#include <QString>

namespace fm {

class Session;

struct SaleLine {
    qint64 id = 0;
    QString khdm, khmc, region;   // customer
    QString cpdm, cpmc, cpgg;     // product, specification
    QString rq_1, rq_2;           // issue date; return date
    QString zzhm;                 // turnover number ("0" on a return)
    QString bz_1 = QStringLiteral("1"); // "1" issue, "3" return
    QString bz_3;                 // price flag of the customer's price row
    QString bszl;                 // unit text
    QString czydm;                // operator who wrote it
    double zznum = 0, zzjg = 0, zzje = 0; // issued kg, line price, amount
    double tlnum = 0, kpjg = 0, kpje = 0; // returned kg, return price, amount
    double zcjg = 0, zcje = 0;            // policy price; policy amount of a return
    double cbjg = 0;                      // cost price
    double sjbs = 0;                      // bags, as typed
    int recnum = 0;                       // serial number

    bool isReturn() const { return bz_1 == QLatin1String("3"); }

    // The columns read() needs, for a SELECT list.
    static QString columns();
    static SaleLine read(const Row &r);
};

// Inserts the line into sale1 (the columns the sales window leaves at zero
// written as zero) and returns its id.
qint64 writeSaleLine(Session &s, const SaleLine &line);

} // namespace fm
