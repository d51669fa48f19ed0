#pragma once
// Goods taken back on the "退  料" tab: against a purchase of the customer
// (current period or history), written as a return line, a register row, a
// negative receivable and a stock rise, all in one transaction.

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;
struct SalesCustomer;

struct Purchase {
    qint64 id = 0;
    bool history = false;
    QString rq_1, cpmc, cpgg, khmc, cpdm, region, khdm, czydm, bz_3, zzhm;
    double zcjg = 0, zznum = 0, zzjg = 0, zzje = 0, cbjg = 0;
    int sjbs = 0, recnum = 0;
};

struct PreparedReturn {
    Purchase purchase;
    QString category;   // cplbgg.lbmc of the purchase's flag
    double bags = 0;
    QString unit;
    double kilograms = 0;
    double amount = 0;  // sold price × kg / 1000, in double
    int serial = 0;
};

struct ReturnResult {
    qint64 saleId = 0, registerId = 0, fundsId = 0;
    bool productMissing = false; // no stock row: "该产品不存在！"
};

// A return line as the returns grid lists it.
struct ReturnLine {
    qint64 id = 0;
    QString khdm, region, khmc, cpdm, cpmc, cpgg, rq_1, rq_2, zzhm, czydm;
    double zznum = 0, tlnum = 0, kpjg = 0, kpje = 0;
};

class Returns {
public:
    Returns(Session &s, const Clock &clock, QString operatorCode);

    // The customer (closed customers may return goods); nullopt when unknown.
    std::optional<SalesCustomer> customer(const QString &code);
    // The customer's purchases between two dates ("yyyy-mm-dd"), current then history.
    std::vector<Purchase> purchases(const QString &customerCode, const QString &from, const QString &to);

    // The unit a return gets from its specification; empty leaves it as it is.
    static QString unitFor(const QString &spec);
    // Kilograms of a return by its unit; `current` when the unit says nothing.
    static double kilograms(const QString &unit, double bags, const QString &spec, double current);

    // Draws the serial number (consumed even if the return is then cancelled).
    PreparedReturn prepare(const Purchase &p, double bags, const QString &unit, double kilograms);
    ReturnResult confirm(const SalesCustomer &customer, const PreparedReturn &r, const QString &lineDate);

    // Today's returns of this operator, of one customer or (empty code) of all.
    std::vector<ReturnLine> todaysReturns(const QString &lineDate, const QString &customerCode);

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
