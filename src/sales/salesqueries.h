#pragma once
// The current period's sales queries: the lines of sale1 listed by customer,
// date, category or region with their totals; a customer's (a day range's, a
// region's) actual arrears with the promotion fee credited; and the return,
// funds and combined-condition queries.
//
// Every statement is bounded by what the clerk chose (a date range always,
// and a code, region or category) and searches an index. Lists go to grids
// as RowQuery, read a page at a time; totals are summed by the database.

#include "accounts/customerregister.h"
#include "accounts/customers.h"
#include "data/row.h"
#include "data/rowpager.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace fm {

class Session;

// A product category (cplbgg): its name and the product flag lines carry.
struct SalesCategory {
    QString name; // lbmc
    QString flag; // cpbz
};

// The listing modes of the query window, numbered as its buttons have them.
enum class SalesQueryMode { Customer = 1, Date = 2, Category = 4, Returns = 5, Turnover = 6, Region = 7 };

struct SalesQuery {
    SalesQueryMode mode = SalesQueryMode::Date;
    QString customerCode; // Customer and Returns
    QString categoryFlag; // Category
    QString region;       // Region: the region's name, as the lines carry it
    QString from, to;     // "yyyy-mm-dd"

    // Whether the mode computes actual arrears (customer, date, region).
    bool hasArrears() const;
};

// Sums over sales and return lines.
struct LineTotals {
    qint64 rows = 0;
    double issuedKg = 0;       // Σ zznum (of issue lines, where it matters)
    double issuedAmount = 0;   // Σ zzje
    double returnedKg = 0;     // Σ tlnum (of return lines, where it matters)
    double returnedAmount = 0; // Σ kpje

    double netTonnes() const { return (issuedKg - returnedKg) / 1000; }
    double netTenThousandYuan() const { return (issuedAmount - returnedAmount) / 10000; }
    void add(const LineTotals &o);
};

// The archiving state (first row of gd_rq).
struct ArchiveState {
    bool archived = false; // gdbz "1"
    QString closedTo;      // jzrq, the closing date of the archived data

    // The month ("yyyy-mm") before which the arrears carried forward in
    // khzqk count, for a range from..to.
    QString cutOffMonth(const QString &from, const QString &to) const;
};

// Actual arrears of a customer, a date range or a region.
struct Arrears {
    double fee = 0;      // F: promotion fee earned, carried-forward fee included
    double owed = 0;     // A: Σ ysje − Σ sjje, carried-forward arrears included
    double received = 0; // P: Σ sjje of the funds rows within the range
    qint64 lines = 0;    // the lines the fee was taken from (feeLines)

    double actual() const { return owed - fee; }
    double receivedTenThousandYuan() const { return received / 10000; }
};

// "退料查询": return lines by invoice or return date, region and customer.
struct ReturnQuery {
    QString region;       // the region's name, empty for any
    QString customerCode; // empty for any
    bool byReturnDate = false; // tlrq instead of kprq
    QString from, to;
};

struct ReturnQueryTotals {
    qint64 rows = 0;
    double kilograms = 0; // Σ tlnum
    double amount = 0;    // Σ tlje
};

// "资金查询": funds rows by customer (or all) and date.
struct FundsTotals {
    qint64 rows = 0;
    double receivable = 0; // Σ ysje
    double received = 0;   // Σ sjje
};

// "模糊查询窗口": every filled condition joined with AND, within the dates.
struct CombinedQuery {
    QString customerCode, productCode, productName, spec, region, categoryFlag;
    QString from, to;
};

// A product as the combined query fills its fields.
struct ProductChoice {
    QString code, name, spec, category;
};

class SalesQueries {
public:
    explicit SalesQueries(Session &s) : m_s(s) {}

    // ---- lists the windows choose from ----------------------------------
    std::optional<Customer> customer(const QString &code);
    std::vector<Region> regions();
    // The region whose code the customer code begins with, if any.
    std::optional<Region> regionOfCode(const QString &customerCode);
    std::vector<SalesCategory> categories();
    // The category of that name; nullopt for an unknown name.
    std::optional<SalesCategory> category(const QString &name);
    // Product names (cpgg), in table order.
    QStringList productNames();
    std::optional<ProductChoice> productByCode(const QString &code);
    std::optional<ProductChoice> productByName(const QString &name);

    // Both dates as stored, checked: "日期有错！请按yyyy-mm-dd输入。", and an end
    // before the start is refused.
    static std::pair<QString, QString> checkedRange(const QString &from, const QString &to);

    // ---- the listing ----------------------------------------------------
    // The mode's sales and return lines within the dates, by date.
    RowQuery listing(const SalesQuery &q) const;
    LineTotals totals(const SalesQuery &q);

    // ---- actual arrears -------------------------------------------------
    ArchiveState archiveState();
    // The lines the promotion fee is taken from (archived: within the dates;
    // otherwise every line up to the end date), by date.
    RowQuery feeLines(const SalesQuery &q, const ArchiveState &a) const;
    // Of those, the lines the fee leaves out, in line order after the line
    // (afterDate, afterId): without a policy price (zcjg 0), and with a
    // policy price but no product code. With questions false only the
    // latter. At most n rows; columns id, khdm, cpmc, rq_1, zcjg.
    Rows feeSkips(const SalesQuery &q, const ArchiveState &a, bool questions, const QString &afterDate,
                  qint64 afterId, int n);
    Arrears arrears(const SalesQuery &q, const ArchiveState &a);

    // ---- "退料查询" ---------------------------------------------------------
    RowQuery returns(const ReturnQuery &q) const;
    ReturnQueryTotals returnTotals(const ReturnQuery &q);

    // ---- "资金查询" ---------------------------------------------------------
    RowQuery funds(const QString &customerCode, const QString &from, const QString &to, bool history) const;
    FundsTotals fundsTotals(const QString &customerCode, const QString &from, const QString &to, bool history);

    // ---- "模糊查询窗口" -------------------------------------------------------
    // Placeholder texts ("地区", "名称", "规格", "产品类别") count as empty.
    static CombinedQuery withoutPlaceholders(CombinedQuery q);
    RowQuery combined(const CombinedQuery &q, bool history) const;
    // Issued kg of issue lines, returned kg of return lines, Σ zzje, Σ kpje.
    LineTotals combinedTotals(const CombinedQuery &q, bool history);

    // The rows of a list in its order, for a printout: at most limit rows;
    // "查询结果太多" with the count when there are more.
    Rows printRows(const RowQuery &q, int limit);

private:
    Session &m_s;
};

} // namespace fm
