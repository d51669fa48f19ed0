#pragma once
// The product catalogue: categories with their product flag and bag sizes
// (cplbgg), products with list and cost price (price), product names (cpgg),
// customer prices (khprice), the production master of feed products
// (velcpzk) and the packaging materials priced in price and stocked in bzbqk.
//
// Every operation validates all of its input first and then writes, both
// catalogs included, in one transaction.

#include <QDateTime>
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
};

// A row of price: a feed product or a packaging material.
struct CatalogueProduct {
    qint64 id = 0;
    QString cpdm;
    QString cpmc;
    QString cpgg;
    double kpjg = 0; // list price (yuan/t; a packaging material's unit price)
    double cbjg = 0; // cost price
    QString cpbz;
    QDateTime rq;
};

struct CatalogueCustomerPrice {
    qint64 id = 0;
    QString khdm, khmc, cpdm, cpmc, cpgg;
    double kpjg = 0;
    QString dqbh, dqmc, cpbz;
    QDateTime rq;
};

struct FormulaInfo {
    qint64 id = 0;
    QString pfhm, pfmc, pfbz;
    double pfcb = 0; // yuan per kilogram
    QDateTime rq;
    QString rydm;    // author
};

struct CatalogueCustomer {
    QString khdm, khmc, dq;
};

// What "确定" on the new-product entry works from.
struct NewProduct {
    QString category;      // product kind (lbmc)
    QString code;          // stored lower-case
    QString name;
    QString specification;
    QString listPrice;     // as typed
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
    QString price;    // as typed, yuan per piece
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
    // A formula cost in yuan per tonne (pfcb is per kilogram), as shown.
    static double costPerTonne(double pfcb);

    static constexpr int kCodeLength = 20;
    static constexpr int kNameLength = 28;
    static constexpr int kSpecLength = 5;
    static constexpr int kCategoryNameLength = 12;
    static constexpr int kSpecListLength = 50;
    static constexpr int kPackagingCodeLength = 6;
    static constexpr int kPackagingNameLength = 14;
    static inline const QString kLabelCategory = QStringLiteral("标签");

    // ---- reading ----------------------------------------------------------
    std::vector<ProductCategory> categories(); // table order
    std::optional<ProductCategory> categoryByName(const QString &name);
    std::optional<ProductCategory> categoryByFlag(const QString &flag);
    std::optional<ProductCategory> categoryById(qint64 id);

    std::vector<CatalogueProduct> products(); // by code
    // Rows whose flag is a capital letter: by code, or newest first.
    std::vector<CatalogueProduct> packagingItems(bool newestFirst = false);
    QStringList productCodesWithFlag(const QString &flag);
    std::optional<CatalogueProduct> productByCode(const QString &code);
    std::optional<CatalogueProduct> productById(qint64 id);

    std::vector<CatalogueCustomerPrice> customerPrices(); // by customer, then product
    std::optional<CatalogueCustomerPrice> customerPriceById(qint64 id);
    std::optional<CatalogueCustomer> customerByCode(const QString &code);

    std::vector<FormulaInfo> formulas(); // by number
    std::optional<FormulaInfo> formulaByNumber(const QString &number);
    std::optional<FormulaInfo> formulaById(qint64 id);
    // The formula the production master links the product to, or empty.
    QString productionFormula(const QString &code);

    // ---- adding a product for customers ----------------------------------
    // Checks everything "确定" needs and tells what it will do; throws
    // DomainError with the message to show. A customer who already has the
    // product is refused with "该客户此品种已存在，不能插入！".
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
    void repricePackaging(qint64 priceId, const QString &price);
    void deletePackaging(qint64 priceId);

    // ---- formula of a product ----------------------------------------------
    // Cost price := the formula's cost per tonne; the production master row is
    // created or relinked to the formula.
    void linkFormula(const QString &productCode, const QString &formulaNumber);

private:
    struct Checked;
    Checked check(const NewProduct &p);
    QString todayStamp() const;

    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
