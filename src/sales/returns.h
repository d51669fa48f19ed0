#pragma once
// Goods taken back on the "退  料" tab: against a purchase of the customer
// (current period or history), written as a return line, a register row
// (khtl), a negative receivable (khzj) and a stock rise, in one transaction.
// The register and funds rows carry the id of the return line (sale1_id), and
// all rows of one return carry the window's line date.

#include "accounts/customers.h"
#include "data/rowpager.h"
#include "sales/saleline.h"

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

// A line the customer bought, in sale1 or (history) his_sale1.
struct Purchase : SaleLine {
    bool history = false;
};

struct PreparedReturn {
    Purchase purchase;
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

// The running totals of the "退  料" tab.
struct ReturnTotals {
    double kilograms = 0;
    double amount = 0;
    void add(const PreparedReturn &r);
    // Over listed return lines (tlnum, kpje) of one customer.
    static ReturnTotals of(const Rows &lines, const QString &customerCode);
};

class Returns {
public:
    Returns(Session &s, const Clock &clock, QString operatorCode);

    // The customer (closed customers may return goods); nullopt when unknown.
    std::optional<Customer> customer(const QString &code);
    // The customer's purchases between two dates ("yyyy-mm-dd"), in the
    // current period or in history, for a grid.
    RowQuery purchaseQuery(const QString &customerCode, const QString &from, const QString &to, bool history) const;
    // The same, read whole: current ones first, then history.
    std::vector<Purchase> purchases(const QString &customerCode, const QString &from, const QString &to);
    // A purchase listed by purchaseQuery.
    std::optional<Purchase> purchase(qint64 id, bool history);
    // Category name (cplbgg.lbmc) of a product flag.
    QString category(const QString &flag);

    // The unit a return gets from its specification; empty leaves it as it is.
    static QString unitFor(const QString &spec);
    // Kilograms of a return by its unit; `current` when the unit says nothing.
    static double kilograms(const QString &unit, double bags, const QString &spec, double current);

    // Checks the typed numbers and draws the serial number (used even if
    // the return is then cancelled).
    PreparedReturn prepare(const Purchase &p, double bags, const QString &unit, double kilograms);
    ReturnResult confirm(const Customer &customer, const PreparedReturn &r, const QString &lineDate);

    // Which returns of a day a list shows.
    enum class List {
        Customer,          // the customer's, whoever entered them
        OperatorCustomer,  // the customer's entered by this operator
        Operator,          // all entered by this operator
    };
    Rows returnsOfDay(const QString &lineDate, List list, const QString &customerCode);

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
