#pragma once
// Maintenance around the cost price, each operation in one transaction:
//
// CostPriceFix      the list cost price (price.cbjg) of every product of a
//                   category from its production cost (velcpzk.sccb) times a
//                   correction factor. A product whose production cost is 0
//                   or missing keeps its cost price; the run says how many.
// CostHistory       the cost price recorded on the current sales lines of a
//                   product within two dates (and, if asked, in the price
//                   table), so that cost processing can run again with it.
// PriceFilter       rebuilds the price filter (khjggl): every customer price
//                   whose policy price does not exceed the product's cost
//                   price (difference 0 or below), which is when sales entry
//                   warns from it; it sees the old table or
//                   the new one, never half of it.

#include "data/rowpager.h"
#include "production/productcatalogue.h"
#include "sales/saleline.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Clock;
class Session;

struct CostFixResult {
    int corrected = 0; // price rows given a new cost price
    int skipped = 0;   // products of the category whose production cost is 0 or missing
};

class CostPriceFix {
public:
    explicit CostPriceFix(Session &s) : m_s(s) {}

    static const QString kFactorEmpty;   // "系数不能为空！"
    static const QString kFactorNumber;  // "系数必须是数字！"
    static const QString kFactorBelowOne; // "系数不能小于1.0"
    // The typed factor: a number of at least 1.
    static double parseFactor(const QString &typed);
    static QString skippedMessage(int skipped);

    // The categories whose flag is a digit, by flag.
    std::vector<ProductCategory> feedCategories();
    // The production rows of a category ("修正前价格"): cpmc, cpgg, sccb,
    // scrq_1, scrq_0, cpdm; and its price rows ("修正后价格"): cpmc, cpgg,
    // cbjg, rq. A category has at most a few hundred products.
    Rows productionCosts(const QString &flag);
    Rows listCosts(const QString &flag);

    // "开始修正": cbjg = sccb × factor for each product of the category that
    // has a production cost; price.rq is left as it is.
    CostFixResult correct(const QString &flag, double factor);

private:
    Session &m_s;
};

class CostHistory {
public:
    explicit CostHistory(Session &s) : m_s(s) {}

    static const QString kClearQuestion; // "确认历史成本价格清零？"
    static const QString kClearDeclined; // "你已经放弃清零！"
    static const QString kCleared;       // "产品历史成本价格已经全部清零！"
    static const QString kWriteBack;     // "是否回写价格库？"

    // The column a grid title sorts by ("客户名称", "产品名称", "成本价",
    // "政策价"), empty for any other title; and the question asked first.
    static QString sortColumnOfTitle(const QString &title);
    static QString sortQuestion(const QString &title);

    // A typed cost price: empty is 0; yuan per tonne, to the cent.
    static double parseCost(const QString &typed);

    // The current sales lines dated within the dates, all or only those
    // whose policy price does not exceed the cost price, in the order given
    // (a column of sortColumnOfTitle, or empty for table order).
    RowQuery linesQuery(const QDate &start, const QDate &end, bool belowCostOnly, const QString &sortColumn = QString(),
                        bool descending = false) const;
    // The same rows for the printed table, in the order given (a column of
    // sortColumnOfTitle, or empty for table order).
    std::vector<SaleLine> lines(const QDate &start, const QDate &end, bool belowCostOnly, const QString &sortColumn,
                                bool descending);
    std::optional<SaleLine> line(qint64 id);

    // Sets the cost price of every line of the product (code trimmed, letter
    // case ignored) within the dates, and with writeBack the product's list
    // cost price too. Returns the lines changed.
    int setCost(const QString &productCode, const QDate &start, const QDate &end, double cost, bool writeBack);
    // "历史成本价格清零": every line within the dates gets cost price 0.
    int clearCosts(const QDate &start, const QDate &end);

private:
    Session &m_s;
};

// A row of khjggl.
struct PriceFilterRow {
    qint64 id = 0;
    QString dqbh, dqmc, khmc, khdm, cpdm, cpmc, cpgg;
    double zcjg = 0, cbjg = 0, jgce = 0;
    QDateTime rq;

    static PriceFilterRow read(const Row &r);
};

class PriceFilter {
public:
    PriceFilter(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    // Empties the filter and fills it with the customer prices at or below
    // cost:
    // of every region, or of the region with that code. A customer price
    // without a policy price (empty or 0) is never listed. Returns the rows.
    int rebuild(const QString &regionCode = QString());
    // The filter's rows in table order (tens of thousands at the top size).
    RowQuery rowsQuery() const;
    std::vector<PriceFilterRow> rows();

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
