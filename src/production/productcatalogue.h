#pragma once
// The product catalogue: categories with their product flag and bag sizes
// (cplbgg), products with list and cost price (price), product names (cpgg),
// customer prices (khprice), the production master of feed products
// (velcpzk) and the packaging materials priced in price and stocked in bzbqk.
//
// Every operation validates all of its input first and then writes, both
// catalogs included, in one transaction.

#include "data/row.h"
#include "data/rowpager.h"
#include "production/products.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

struct ProductCategory {
    qint64 id = 0;
    QString lbmc; // name
    QString cpbz; // product flag
    QString cpgg; // comma list of bag sizes, " " when none

    static ProductCategory read(const Row &r);
};

struct FormulaInfo {
    qint64 id = 0;
    QString pfhm, pfmc, pfbz;
    double pfcb = 0;  // yuan per kilogram
    QString date;     // rq_0 as "yyyy-mm-dd"
    QString rydm;     // author

    static FormulaInfo read(const Row &r);
};

// One customer's price row, as far as deleting it needs to say whose it is.
struct CustomerPriceOwner {
    qint64 id = 0;
    QString customerName; // khmc
    QString productName;  // cpmc
};

// What "确定" on the new-product entry works from.
struct NewProduct {
    QString category;      // product kind (lbmc)
    QString code;          // stored lower-case
    QString name;
    QString specification;
    double listPrice = 0;  // yuan per tonne
    QString customerCode;  // empty: every customer
    QString formulaNumber;
};

// Known before anything is written, so the window can ask its question first.
struct NewProductPlan {
    bool existingProduct = false;
    // One customer only: the product has no production master row yet.
    bool productionRowMissing = false;
};

struct NewProductResult {
    bool nameInserted = false;
    bool productInserted = false;
    int customerPricesInserted = 0;
    bool productionRowInserted = false;
    bool productionCostUpdated = false;
};

struct NewPackaging {
    QString category; // packaging category (lbmc)
    QString code;
    QString name;
    QString specification;
    double price = 0; // yuan per piece
};

class ProductCatalogue {
public:
    ProductCatalogue(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    // Packaging classes carry a capital letter A-Z (compared exactly); every
    // other flag is a feed category.
    static bool isPackagingFlag(const QString &flag);
    // A typed flag: the first character of the trimmed text, upper-cased.
    static QString normaliseFlag(const QString &typed);
    // The bag sizes a category offers: the list trimmed and split at commas.
    static QStringList specificationChoices(const QString &list);
    // The list with one size added; a blank list gives the size alone.
    // Refused when the result is longer than the column holds.
    static QString withSpecification(const QString &list, const QString &added);
    // A bag size as typed: a positive number of kilograms that fits the
    // column. Returns it trimmed; refused with "请输入正确的数字！".
    static QString checkedSize(const QString &typed);
    // A formula cost in yuan per tonne (pfcb is per kilogram), as shown.
    static double costPerTonne(double pfcb);
    // A list price (yuan per tonne) or a packaging price (yuan per piece) as
    // typed: a number from 0 to max, taken to the cent. Refused with
    // "请输入正确的数字！".
    static double parsePrice(const QString &typed, double max);

    static constexpr int kCodeLength = 20;
    static constexpr int kNameLength = 28;
    static constexpr int kSpecLength = 5;
    static constexpr int kCategoryNameLength = 12;
    static constexpr int kSpecListLength = 50;
    static constexpr int kPackagingCodeLength = 6;
    static constexpr int kPackagingNameLength = 14;
    // The dearest list price (yuan per tonne) and packaging price (yuan per
    // piece) taken: far above any feed, far below nonsense.
    static constexpr double kMaxListPrice = 1e7;
    static constexpr double kMaxPackagingPrice = 1e5;
    static inline const QString kLabelCategory = QStringLiteral("标签");

    // ---- reading ----------------------------------------------------------
    std::vector<ProductCategory> categories(); // table order
    std::optional<ProductCategory> categoryByName(const QString &name);
    std::optional<ProductCategory> categoryByFlag(const QString &flag);
    std::optional<ProductCategory> categoryById(qint64 id);

    // The list of products (price), a page at a time, by code; columns as
    // Product::columns().
    static RowQuery productQuery();
    // Rows whose flag is a capital letter: by code, or newest first.
    std::vector<Product> packagingItems(bool newestFirst = false);
    QStringList productCodesWithFlag(const QString &flag);
    std::optional<Product> productById(qint64 id);

    // Every customer's price of every product (khprice), a page at a time,
    // by customer and product: id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, dqbh,
    // dqmc, cpbz, rq.
    static RowQuery customerPriceQuery();
    std::optional<CustomerPriceOwner> customerPriceById(qint64 id);

    std::vector<FormulaInfo> formulas(); // by number
    std::optional<FormulaInfo> formulaByNumber(const QString &number);
    std::optional<FormulaInfo> formulaById(qint64 id);
    // The formula the production master links the product to, or empty.
    QString productionFormula(const QString &code);

    // ---- adding a product for customers ----------------------------------
    // Checks everything "确定" needs and tells what it will do; throws
    // DomainError with the message to show: Incomplete when no known formula
    // is shown, Duplicate when the one customer already has the product.
    NewProductPlan planNewProduct(const NewProduct &p);
    // Writes the name, product, customer price rows and (one customer only)
    // the production master row or its cost, in one transaction.
    NewProductResult addProduct(const NewProduct &p, bool createProductionRow);

    // ---- deleting ---------------------------------------------------------
    // The product, its name row and every customer's price; the production
    // master and the history stay.
    void deleteProduct(const QString &code);
    void deleteCustomerPrice(qint64 id);

    // ---- categories -------------------------------------------------------
    void checkNewCategoryName(const QString &name);
    void checkNewCategoryFlag(const QString &flag);
    // A list of bag sizes as typed: each a size (checkedSize), within the
    // column; a blank list is " ". Returns what is stored.
    static QString checkedSizeList(const QString &typed);
    // Returns the stored category.
    ProductCategory addCategory(const QString &name, const QString &flag, const QString &specifications);
    // Returns the new list.
    QString addSpecification(qint64 categoryId, const QString &specification);
    void replaceSpecifications(qint64 categoryId, const QString &list);
    // False when no category has that name.
    bool deleteCategory(const QString &name);

    // ---- packaging materials ---------------------------------------------
    void checkNewPackagingCode(const QString &code);
    qint64 addPackaging(const NewPackaging &p);
    // New unit price on the price row and the stock row, which is revalued.
    void repricePackaging(qint64 priceId, double price);
    void deletePackaging(qint64 priceId);

    // ---- formula of a product ----------------------------------------------
    // Cost price := the formula's cost per tonne; the production master row is
    // created or relinked to the formula.
    void linkFormula(const QString &productCode, const QString &formulaNumber);

    // ---- production cost renewed from the formulas -------------------------
    // A product's pfhm is its formula's number, possibly extended: it follows
    // the formula whose number is the longest that begins it (numbers given
    // trimmed and lower-cased). Empty when none does.
    static QString followedFormula(const QString &pfhm, const QSet<QString> &foldedNumbers);
    // The production master rows (velcpzk ids) following each formula, by
    // the formula's folded number.
    QHash<QString, std::vector<qint64>> productionRowsByFormula(const QSet<QString> &foldedNumbers);
    // The rows take their formula's cost: sccb in yuan per tonne, scrq_0 now,
    // cpbz the first character of the formula number and, when withDate,
    // scrq_1 today.
    void setProductionCost(const std::vector<qint64> &rows, double costPerKilogram, const QString &formulaNumber,
                           bool withDate);

private:
    struct Checked;
    Checked check(const NewProduct &p);
    QString todayStamp() const;

    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
