#pragma once
// Issuing feed on a turnover slip: start (draw a number), customer, up to
// eight lines, payment, close. Each confirmed line and the close are one
// transaction each. The slip's print rows (khprn) belong to this workstation.

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

struct SalesCustomer {
    QString code;   // as stored
    QString name;   // khmc
    QString region; // dq
    QString flag;   // khbz
    bool retail() const { return flag == QLatin1String("3"); }
    bool closed() const { return flag.compare(QLatin1String("x"), Qt::CaseInsensitive) == 0; }
};

// A customer by code (letter case ignored); nullopt when there is none.
std::optional<SalesCustomer> findSalesCustomer(Session &s, const QString &code);

// What the product code brings to a line.
struct ProductQuote {
    QString code;          // price.cpdm as stored
    QString name;          // price.cpmc
    QString spec;          // khprice.cpgg
    QString category;      // cplbgg.lbmc of the product's flag
    QString productFlag;   // price.cpbz
    QString priceFlag;     // khprice.cpbz, stamped as bz_3
    double price = 0;      // the line price offered: list price, or the retail customer's own
    double costPrice = 0;  // price.cbjg
    double policyPrice = 0; // khprice.fhll
    bool priceEditable = false;
    QString warning;       // the below-cost warning, empty when none
};

// A line ready to be confirmed; its serial number is already drawn.
struct SlipLine {
    ProductQuote product;
    double price = 0;       // the line price (元/吨)
    double policyPrice = 0; // zcjg: the policy price, or the retail policy price typed
    double bags = 0;
    QString unit;
    double kilograms = 0;
    double amount = 0;      // price × kg / 1000
    int serial = 0;
};

struct SlipTotals {
    double quantity = 0;   // kg
    double amount = 0;     // 元
    double difference = 0; // promotion fee payable
};

class SalesSlip {
public:
    enum class State { Idle, Started, CustomerEntered, Paying, Closed };

    SalesSlip(Session &s, const Clock &clock, QString operatorCode, QString owner);

    // The window was opened from the main window: today's date for the
    // lines, the serial number restarted past 300. A slip in progress survives.
    void openWindow();

    // "选择客户": refuses while the current slip has unpaid lines; draws the number.
    QString start();
    // The customer by code; nullopt when unknown. A closed customer is refused.
    std::optional<SalesCustomer> enterCustomer(const QString &code);
    // The product for the current customer; nullopt when the code is unknown.
    // Refuses a product the customer has no price row for.
    std::optional<ProductQuote> quote(const QString &code);

    // A line from the typed values; draws the serial number (consumed even if
    // the line is then not confirmed).
    SlipLine prepareLine(const ProductQuote &q, double price, double policyPrice, double bags,
                         const QString &unit);
    // Writes the line (sale1, its print row, a retail customer's new price).
    qint64 confirmLine(const SlipLine &line);

    // "收款": no more lines on this slip.
    void startPayment();
    // Closes the slip into one khzj row; returns its id.
    qint64 close(double received, double owed);

    // After corrections: the totals again from the slip's own lines.
    void recomputeTotals();
    // Whether the slip may be left (no confirmed lines without a payment).
    bool canAbandon();

    State state() const { return m_state; }
    const QString &number() const { return m_number; }
    const SalesCustomer &customer() const { return m_customer; }
    const SlipTotals &totals() const { return m_totals; }
    int linesEntered() const { return m_lines; }
    const QString &lineDate() const { return m_lineDate; }
    qint64 fundsRowId() const { return m_fundsId; }
    const QString &owner() const { return m_owner; }
    // Which print line of the slip a confirmed line fills (0 when not on this slip).
    int printLineOf(qint64 saleId) const;

    // The unit a line gets from its category and specification; empty when
    // the clerk has to type one.
    static QString unitFor(const QString &category, const QString &spec);
    // Kilograms of a line: bags × specification.
    static double kilograms(double bags, const QString &spec);

    static constexpr int kMaxLines = 8;

private:
    void preparePrintRows();

    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
    QString m_owner;
    State m_state = State::Idle;
    QString m_number;
    QString m_lineDate;
    SalesCustomer m_customer;
    SlipTotals m_totals;
    int m_lines = 0;
    qint64 m_fundsId = 0;
    std::map<qint64, int> m_printLines;
};

} // namespace fm
