#pragma once
// Settling a customer for one period, from the 19th of one month to the 18th
// of the next.
//
// Collation condenses the period's sales lines (sale1) and returns (khtl)
// into one detail row per product in khjs_mx: net kilograms, net invoice
// ("票面") amount and policy amount, each line's policy amount taken at the
// policy price recorded on it. Processing makes the promotion fee of each
// row (tgf = pmje − zcje), stamps the period's total fee on every fund row
// of the period (khzj.zzje) and writes the customer's month record in khzqk
// under the month of the period's start.
//
// Both are computed with a few set-based statements over the period's rows,
// never row by row, and each runs in one transaction. Collation first removes
// the customer's detail rows of the period and processing overwrites the
// month record, so settling again replaces what the last settlement wrote.
//
// The one-customer window runs collation and processing as two steps; the
// region batch settles each customer with both in one transaction, and a
// failure stops the batch at that customer, the earlier ones staying settled.

#include "accounts/customers.h"
#include "common/dates.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace fm {

class Session;

// A detail row of a settlement (khjs_mx).
struct SettlementLine {
    qint64 id = 0;
    QString customerCode;  // khdm
    QString region;        // region name
    QString customerName;  // khmc
    QString productCode;   // cpdm
    QString productName;   // cpmc
    QString spec;          // cpgg
    double quantity = 0;   // sjxl: kilograms issued less returned
    double faceAmount = 0; // pmje: invoice amount less return amount
    double policyPrice = 0; // zcjg: always 0
    double policyAmount = 0; // zcje
    double fee = 0;        // tgf: promotion fee payable
    QString start, end;    // rq_1, rq_2
    QString category;      // cplb
};

// A sales line of the period that carries no policy price: it is settled
// all the same, its whole invoice amount becoming promotion fee.
struct MissingPolicyPrice {
    QString productName;
    QString spec;
};

struct Collation {
    std::vector<SettlementLine> lines; // by product name
    double kilograms = 0;              // Σ sjxl
    std::vector<MissingPolicyPrice> missing;
};

// What processing wrote into the fund rows and the month record.
struct SettlementFigures {
    double fee = 0;        // F: Σ tgf, stamped as khzj.zzje
    double receivable = 0; // R: Σ ysje of the period's fund rows
    double received = 0;   // P: Σ sjje
    QString monthKey;      // khzqk.rq
    double arrearsBeforeFee() const { return receivable - received; } // sjzq
    double arrears() const { return receivable - received - fee; }     // sjqk
};

// One customer of a batch.
struct SettlementOutcome {
    bool settled = false; // false: no sales line and no fund row in the period
    SettlementFigures figures;
    std::vector<MissingPolicyPrice> missing;
};

struct BatchReport {
    int settled = 0;   // customers settled
    int skipped = 0;   // customers without any row in the period
    bool cancelled = false;
    std::optional<Customer> failed; // the customer the batch stopped at
    QString error;                  // and why
    int done() const { return settled + skipped; }
};

class Settlement {
public:
    explicit Settlement(Session &s) : m_s(s) {}

    // ---- the one-customer window's dates ------------------------------------

    // Enter in "起始日期：": the start must be a 19th.
    static QDate checkStart(const QString &typed);
    // Enter in "截止日期：": an 18th, not before the start.
    static QDate checkEnd(const QDate &start, const QString &typed);
    // The end the window offers: the 18th of the current month.
    static QDate endThisMonth(const QDate &today);
    // Whether a period is the usual one, from the 19th to the 18th of the
    // month after; a longer one would be booked under one month.
    static bool isOneMonth(const Period &p);

    // ---- settling ---------------------------------------------------------

    // "数据整理": replaces the customer's detail rows of the period by the
    // collation of its sales lines and returns (fees still 0).
    Collation collate(const Customer &c, const Period &p);
    // "数据处理": fees of the detail rows, the period's fee on its fund rows,
    // the month record.
    SettlementFigures process(const Customer &c, const Period &p);
    // Collation and processing in one transaction. A customer without any
    // sales line or fund row in the period only loses its detail rows of it.
    SettlementOutcome settle(const Customer &c, const Period &p);

    // The customer's detail rows of the period (rq_1 within it), by product name.
    std::vector<SettlementLine> lines(const QString &customerCode, const Period &p);
    // The detail rows of settlements that lie within the dates ("客户结算打印").
    std::vector<SettlementLine> linesWithin(const QString &customerCode, const QDate &start, const QDate &end);

    // ---- the region batch -------------------------------------------------

    // The customers of a region (by zxkh.dq) that are not closed and have a
    // fund row in the period, by code.
    std::vector<Customer> candidates(const QString &regionName, const Period &p);

    // Called before each customer; false stops the batch there.
    using BeforeEach = std::function<bool(int index, const Customer &c)>;
    // Called after each customer that was settled or skipped.
    using AfterEach = std::function<void(int index, const Customer &c, const SettlementOutcome &o)>;
    // Settles each customer in its own transaction, in order. A failure stops
    // the batch: the customers before stay settled, the failing one is left
    // as it was, the rest are not reached.
    BatchReport settleAll(const std::vector<Customer> &customers, const Period &p, const BeforeEach &before = {},
                          const AfterEach &after = {});

    // The messages for a line without a policy price.
    static QString missingPolicyMessage(const MissingPolicyPrice &m);
    static QString missingPolicyMessage(const Customer &c, const MissingPolicyPrice &m);

private:
    // Removes the period's detail rows and inserts the collated ones (how
    // many it returns); with fees, tgf is computed as it goes in.
    int collateRows(const Customer &c, const Period &p, bool withFees);
    std::vector<MissingPolicyPrice> missingPolicyPrices(const QString &code, const Period &p);
    // Stamps the fund rows and writes the month record (updated when it
    // exists, else added).
    void book(const Customer &c, const Period &p, const SettlementFigures &f, bool monthExists);

    Session &m_s;
};

} // namespace fm
