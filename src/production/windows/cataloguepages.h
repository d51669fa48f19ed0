#pragma once
// The pages of "产品品种管理" (Tpzgl), one per tab, and the lists they share.

#include "production/productcatalogue.h"
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class QCheckBox;
class QGroupBox;

namespace fm {

class Grid;

// A page of the catalogue: the catalogue service over the page's session.
class CataloguePage : public FormPage {
    Q_OBJECT
public:
    using FormPage::FormPage;

protected:
    ProductCatalogue catalogue() const { return ProductCatalogue(session(), *ctx().clock); }
};

// "价格显示：(单位：元/吨）": code, name, size, list price, flag, date.
Grid *productGrid(QWidget *parent, const char *name);
// "客户价格显示：(单位：元/吨）": customer, product, size, price, region, flag, date.
Grid *customerPriceGrid(QWidget *parent, const char *name);
// A grid under its caption.
QWidget *captioned(const QString &caption, QWidget *grid);
// (Re)reads a list from its first page.
void showProducts(Grid *grid, Session &s);
void showCustomerPrices(Grid *grid, Session &s);

// "增加产品品种": a feed product added, or an existing one given to further
// customers (one, or all when no customer code is given), with the formula
// it is made from.
class ProductAddPage : public CataloguePage {
    Q_OBJECT
public:
    ProductAddPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    void reloadKinds();
    void reloadFormulaChooser();
    void reloadGrids();

    Go kindChosen();
    Go codeEntered();
    Go customerEntered();
    Go confirm();
    void showFormula(const FormulaInfo &f);
    void clearFormula();
    void startOver();
    void cancel();
    void print();

    QComboBox *m_kind = chooser("kind", QStringLiteral("产品种类"));
    QLineEdit *m_name = input("name", ProductCatalogue::kNameLength);
    QLineEdit *m_code = input("code", ProductCatalogue::kCodeLength);
    QComboBox *m_size = chooser("specification", QStringLiteral("规格"));
    QLineEdit *m_listPrice = input("listPrice", 12);
    QLineEdit *m_customerCode = input("customerCode", 8);
    QLineEdit *m_customerName = display("customerName");
    QComboBox *m_formula = chooser("formula", QStringLiteral("选择配方"));
    QLineEdit *m_formulaNumber = input("formulaNumber", 9);
    QLineEdit *m_formulaStandard = display("formulaStandard");
    QLineEdit *m_formulaCost = display("formulaCost");
    QPushButton *m_confirm = button(QStringLiteral("确定"), "confirm");
    Grid *m_products = productGrid(this, "productGrid");
    Grid *m_customerPrices = customerPriceGrid(this, "customerPriceGrid");
    QString m_customer; // the customer code accepted; empty: every customer
};

// "产品品种删除": a product deleted with every customer's price of it, or one
// customer's price deleted from the list.
class ProductDeletePage : public CataloguePage {
    Q_OBJECT
public:
    ProductDeletePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    void reloadCategories();
    void reloadGrids();
    Go categoryChosen();
    Go codeChosen();
    Go deleteProduct();
    void startOver();
    void customerPriceClicked(qint64 id);

    QComboBox *m_category = chooser("deleteCategory", QStringLiteral("产品类别"));
    QComboBox *m_code = chooser("deleteCode", QStringLiteral("产品代码"), true);
    QLineEdit *m_name = display("deleteName");
    QLineEdit *m_size = display("deleteSpec");
    QPushButton *m_delete = button(QStringLiteral("删除"), "delete");
    Grid *m_products = productGrid(this, "deleteProductGrid");
    Grid *m_customerPrices = customerPriceGrid(this, "deleteCustomerPriceGrid");
    QString m_product; // the code shown, as stored
};

// "类别规格增加": a category added; one bag size added to a category; a
// category's list of sizes replaced. The category of the last two is chosen
// in the list (with the group's box ticked) or by its flag.
class CategoryPage : public CataloguePage {
    Q_OBJECT
public:
    CategoryPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    // "产品规格增加" (adding) and "产品类别规格修改" (replacing) work alike.
    struct SizeGroup {
        QCheckBox *box = nullptr;
        QLineEdit *flag = nullptr;
        QLineEdit *existing = nullptr;
        QLineEdit *category = nullptr;
        QLineEdit *input = nullptr;
        QPushButton *confirm = nullptr;
        QPushButton *discard = nullptr;
        EnterChain *chain = nullptr;
        qint64 categoryId = 0;
    };

    QGroupBox *buildSizeGroup(bool adding);
    SizeGroup &group(bool adding) { return adding ? m_add : m_replace; }
    void reloadGrid();
    Go insertCategory();
    void clearNewCategory();
    void rowClicked(qint64 id);
    void boxToggled(bool adding, bool on);
    void chooseCategory(bool adding, const ProductCategory &c);
    void clearGroup(bool adding);
    Go confirmSizes(bool adding);

    Grid *m_categories;
    QLineEdit *m_name = input("categoryName", ProductCatalogue::kCategoryNameLength);
    QLineEdit *m_flag = input("categoryFlag", 4);
    QLineEdit *m_sizes = input("categorySpecs", ProductCatalogue::kSpecListLength);
    QPushButton *m_insert = button(QStringLiteral("插入"), "insertCategory");
    SizeGroup m_add;
    SizeGroup m_replace;
};

// " 包装物管理  ": packaging materials added, repriced (with their stock) and
// deleted; a packaging category deleted.
class PackagingPage : public CataloguePage {
    Q_OBJECT
public:
    PackagingPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    void reloadCategories();
    void reloadList(bool newestFirst);
    bool isLabel() const;
    Go addPackaging();
    void startOver();
    void rowClicked(qint64 id);
    Go confirmReprice();
    void clearReprice();
    void deletePackaging();
    void refreshAll();
    void deleteCategory();

    QComboBox *m_category = chooser("packagingCategory", QStringLiteral("类别"));
    QLineEdit *m_code = input("packagingCode", ProductCatalogue::kPackagingCodeLength);
    QLineEdit *m_name = input("packagingName", ProductCatalogue::kPackagingNameLength);
    QLineEdit *m_size = input("packagingSpec", ProductCatalogue::kSpecLength);
    QLineEdit *m_price = input("packagingPrice", 12);
    QPushButton *m_confirm = button(QStringLiteral("确认"), "addPackaging");
    QPushButton *m_deleteCategory = button(QStringLiteral("类别删除"), "deletePackagingCategory", [this] { deleteCategory(); });
    QLineEdit *m_repName = display("repriceName");
    QLineEdit *m_repSize = display("repriceSpec");
    QLineEdit *m_repPrice = input("repricePrice", 12);
    QPushButton *m_repConfirm = button(QStringLiteral("确认"), "confirmReprice");
    QPushButton *m_repDiscard = button(QStringLiteral("放弃"), "discardReprice", [this] { clearReprice(); });
    QPushButton *m_repDelete = button(QStringLiteral("删除包装物"), "deletePackaging", [this] { deletePackaging(); });
    EnterChain &m_repChain = addChain();
    Grid *m_list;
    qint64 m_repId = 0;
    bool m_newestFirst = false;
};

// "产品配方价格调整": a product and a formula chosen in the two lists; "OK"
// makes the formula's cost the product's cost price and links the product's
// production master to the formula.
class FormulaLinkPage : public CataloguePage {
    Q_OBJECT
public:
    FormulaLinkPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    void reloadFormulas();
    void productClicked(qint64 id);
    void formulaClicked(qint64 id);
    void updateOk();
    void confirm();
    void clear();
    void print();

    Grid *m_products;
    Grid *m_formulas;
    QLineEdit *m_code = display("linkCode");
    QLineEdit *m_name = display("linkName");
    QLineEdit *m_formula = display("linkFormula");
    QLineEdit *m_formulaName = display("linkFormulaName");
    QLineEdit *m_standard = display("linkStandard");
    QLineEdit *m_cost = display("linkCost");
    QPushButton *m_ok = button(QStringLiteral("OK"), "linkOk", [this] { confirm(); });
};

} // namespace fm
