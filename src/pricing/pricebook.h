#pragma once
// The price tables: list and cost price per product (price), the policy
// price per customer and product (khprice, with the below-cost filter
// khjggl following it) and the month-end rebate schedule (zcprice).
//
// Feed products carry a digit flag ("0" 浓缩料, "1" 全价料, "2" 预混料);
// packaging materials share the price table under a letter flag and are
// left out of every feed-price view, but not out of clearing cost prices.
//
// Typed prices are parsed here (parsePrice, parseTiers) and checked again
// where they are written: a price is yuan per tonne from 0 up to
// kMaxPrice, a rebate yuan per bag from 0 up to kMaxRebate, both to the
// cent. Anything else is refused with "请输入正确的数字！" before anything
// is written.

#include "accounts/customers.h"
#include "data/rowpager.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

// A row of price.
struct ProductPrice {
    qint64 id = 0;
    QString cpdm, cpmc, cpgg;
    double kpjg = 0; // list price
    double cbjg = 0; // cost price
    QString cpbz;
    QDateTime rq;    // last change

    static ProductPrice read(const Row &r);
};

// A row of khprice.
struct CustomerProductPrice {
    qint64 id = 0;
    QString khdm, khmc, cpdm, cpmc, cpgg;
    double kpjg = 0;               // invoice price
    std::optional<double> fhll;    // policy price; empty when never set
    QString dqbh, dqmc, cpbz;
    QDateTime rq;

    static CustomerProductPrice read(const Row &r);
};

// A row of zcprice: yuan per 40 kg bag for the ten monthly volume bands.
struct RebateSchedule {
    static constexpr int kTiers = 10;
    using Tiers = std::array<double, kTiers>;
    qint64 id = 0;
    QString cpbz;
    Tiers tiers{};
    QDateTime rq1;
};

// The columns the price grid can be sorted by; "日期" sorts by flag, then date.
enum class PriceSortColumn { Code, Name, Spec, ListPrice, CostPrice, Flag, Date };

struct PriceOrder {
    std::optional<PriceSortColumn> column; // empty: by code
    bool descending = false;
};

// Sorting by a click on a column title: one state for all columns, so that
// clicks alternate ascending and descending, starting with ascending.
class PriceSortToggle {
public:
    // The column a grid title names, if it is one of the sortable ones.
    static std::optional<PriceSortColumn> columnOfTitle(const QString &title);
    // "是否按" + title + "升序"/"降序" + "排序？"
    QString question(const QString &title) const;
    // The order to run after Yes; the next click goes the other way.
    PriceOrder accept(PriceSortColumn column);
    void reset() { m_descendingNext = false; }

private:
    bool m_descendingNext = false;
};

class PriceBook {
public:
    PriceBook(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static inline const QString kNoProduct = QStringLiteral("无此产品");
    // zcprice flags
    static inline const QString kConcentrateRebate = QStringLiteral("0");
    static inline const QString kCompleteFeedRebate = QStringLiteral("1");
    static inline const QString kPromotion = QStringLiteral("2");

    // Yuan per tonne: far above any feed's price, and what a price column
    // holds to the cent on every engine.
    static constexpr double kMaxPrice = 1000000;
    // Yuan per 40 kg bag.
    static constexpr double kMaxRebate = 1000;

    // A typed price: a number from 0 to kMaxPrice, to the cent.
    static double parsePrice(const QString &typed);
    // The ten typed tiers of a rebate set; a blank tier counts as 0.
    static RebateSchedule::Tiers parseTiers(const QStringList &typed);

    // ---- products ---------------------------------------------------------
    // Feed products (flag up to "9") in the order given.
    std::vector<ProductPrice> feedProducts(const PriceOrder &order = {});
    std::vector<ProductPrice> feedProductsWithFlag(const QString &flag); // by code
    // A feed product by code (trimmed, letter case ignored).
    std::optional<ProductPrice> feedProductByCode(const QString &code);
    std::optional<ProductPrice> productById(qint64 id);

    // Writes list and cost price of the product given by id. The grid editor
    // stamps the change date; the single-product editor leaves it alone.
    enum class DateStamp { Keep, Today };
    void setProductPrices(qint64 id, double listPrice, double costPrice, DateStamp stamp);

    // Sets the cost price of every row of price, packaging included, to 0.
    int clearCostPrices();

    // ---- customer policy prices -------------------------------------------
    // A customer's price rows (code trimmed, letter case ignored), by product.
    std::vector<CustomerProductPrice> customerPrices(const QString &customerCode);
    // The first customer (by code) with price rows under that name, or one of
    // the register with it. Code, name and region are set.
    std::optional<Customer> customerByName(const QString &name);
    // The customer of the register with that code.
    std::optional<Customer> customerByCode(const QString &code);
    // The rows of a region (by name) that have a policy price, by customer
    // and product; a region has tens of thousands, read a page at a time.
    RowQuery regionPolicyPricesQuery(const QString &regionName) const;

    // Sets the policy price of the khprice row given by id and, together with
    // it, the filter table's policy price and difference (policy − cost) for
    // that customer and product. Returns the row as written.
    CustomerProductPrice setPolicyPrice(qint64 id, double price);

    // ---- rebate schedule --------------------------------------------------
    std::vector<RebateSchedule> rebateSchedules(); // by flag
    std::optional<RebateSchedule> rebateSchedule(const QString &flag);
    // Writes the ten tiers and today's date into the schedule row of the flag.
    void saveRebateSchedule(const QString &flag, const RebateSchedule::Tiers &tiers);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
