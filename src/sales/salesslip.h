#pragma once
// Issuing feed on a turnover slip: start (draw a number), customer, up to
// eight lines, payment, close. Each Enter that changes data is one
// transaction: the number drawn, the print rows prepared, a line confirmed
// (its serial number, the line, its print row, a retail customer's price),
// the slip closed.
//
// The slip's print rows (khprn) belong to this workstation and operator. A
// print row holds the slip's number while the slip is open; closing the slip
// clears it. So a slip with confirmed lines whose print rows still hold its
// number was interrupted (the program was ended before payment): opening the
// window brings it back for the same workstation and operator, and it has to
// be paid and closed before another slip starts.
//
// Locks are taken in one order: the counter, the customer price, the line,
// the print rows.

#include "accounts/customers.h"
#include "data/row.h"
#include "production/products.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace fm {

class Session;
class Clock;

// What the product code brings to a line.
struct ProductQuote {
    Product product;        // price row: code as stored, name, list and cost price, flag
    QString spec;           // khprice.cpgg
    QString category;       // cplbgg.lbmc of the product's flag
    QString priceFlag;      // khprice.cpbz, stamped as bz_3
    double price = 0;       // the line price offered: list price, or the retail customer's own
    double policyPrice = 0; // khprice.fhll (0 when not set)
    bool policyMissing = false; // no policy price: the line's price stands in for it
    bool priceEditable = false;
    QStringList warnings;   // shown, the sale goes on (below cost, no policy price)
};

// A line ready to be confirmed.
struct SlipLine {
    ProductQuote quote;
    double price = 0;       // the line price (元/吨)
    double policyPrice = 0; // zcjg
    double bags = 0;
    QString unit;
    double kilograms = 0;
    double amount = 0;      // price × kg / 1000
};

struct SlipTotals {
    double quantity = 0;   // kg
    double amount = 0;     // 元
    double difference = 0; // promotion fee payable
};

class SalesSlip {
public:
    enum class State { Idle, Started, CustomerEntered, Paying, Closed };

    // workstation: the identity that owns the print rows.
    SalesSlip(Session &s, const Clock &clock, QString operatorCode, QString workstation);

    // The window was opened: today's date for the lines, the serial number
    // restarted past 300, and this workstation's and operator's interrupted
    // slip brought back (true when one was).
    bool openWindow();

    // "选择客户": refuses while the current slip has unpaid lines; draws the number.
    QString start();
    // The customer by code; nullopt when unknown. A closed customer is refused.
    std::optional<Customer> enterCustomer(const QString &code);
    // The product of a code; nullopt when unknown. Refuses a ninth line.
    std::optional<Product> product(const QString &code);
    // The line's terms for the customer. Refuses a product the customer has
    // no price row for.
    ProductQuote quote(const Product &p);
    // product() and quote() together.
    std::optional<ProductQuote> quote(const QString &code);

    // A line from the typed values. retailPolicy is what a retail customer's
    // clerk typed as the policy price; other customers' policy price is their
    // price row's (the line price when that is not set).
    SlipLine prepareLine(const ProductQuote &q, double price, double bags, const QString &unit,
                         std::optional<double> retailPolicy = std::nullopt);
    // Writes the line with the next serial number (sale1, its print row, a
    // retail customer's new price); returns its id.
    qint64 confirmLine(const SlipLine &line);
    // The clerk declined the prepared line: its serial number is used all the same.
    void declineLine();

    // "收款": no more lines on this slip.
    void startPayment();
    // What is owed after receiving an amount.
    double owedAfter(double received) const;
    // Closes the slip into one khzj row (owed computed); returns its id.
    qint64 close(double received);

    // After corrections: the totals again from the slip's own lines.
    void recomputeTotals();
    // Whether the slip may be left (no confirmed lines without a payment).
    bool canAbandon();
    // Refuses (ErrorCode::Unpaid) to leave a slip that may not be left.
    void checkLeave();
    // What the clerk is told when openWindow() brought a slip back.
    QStringList restoredNotice() const;
    // The slip's lines, for the list under it.
    Rows lines();

    State state() const { return m_state; }
    bool isOpen() const { return m_state == State::CustomerEntered || m_state == State::Paying; }
    const QString &number() const { return m_number; }
    const Customer &customer() const { return m_customer; }
    const SlipTotals &totals() const { return m_totals; }
    int linesEntered() const { return m_lines; }
    const QString &lineDate() const { return m_lineDate; }
    qint64 fundsRowId() const { return m_fundsId; }
    const QString &workstation() const { return m_workstation; }
    const QString &operatorCode() const { return m_operator; }
    // Which print line of the slip a confirmed line fills (0 when not on this slip).
    int printLineOf(qint64 saleId) const;

    // The unit a line gets from its category and specification; empty when
    // the clerk has to type one.
    static QString unitFor(const QString &category, const QString &spec);
    // Kilograms of a line: bags × specification (a positive number).
    static double kilograms(double bags, const QString &spec);

    static constexpr int kMaxLines = 8;

private:
    void preparePrintRows();
    void requireOpen() const;

    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
    QString m_workstation;
    State m_state = State::Idle;
    QString m_number;
    QString m_lineDate;
    Customer m_customer;
    SlipTotals m_totals;
    int m_lines = 0;
    qint64 m_fundsId = 0;
    std::map<qint64, int> m_printLines;
};

} // namespace fm
