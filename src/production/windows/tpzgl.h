#pragma once
#include "ui/functionwindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace fm {

class ProductCatalogue;
class RowsModel;
struct FormulaInfo;
struct ProductCategory;

// "产品品种管理": products for customers, their deletion, categories and
// their bag sizes, packaging materials and the formula a product is made
// from, in five tabs. Opened by its function and from the sales window.
// The inputs carry object names, so tests and the sales window can reach them.
class Tpzgl : public FunctionWindow {
    Q_OBJECT
public:
    Tpzgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }

private:
    ProductCatalogue catalogue();
    QWidget *buildAddTab();
    QWidget *buildDeleteTab();
    QWidget *buildCategoryTab();
    QWidget *buildPackagingTab();
    QWidget *buildFormulaTab();

    void reloadCategoryLists();
    void reloadProducts();
    void reloadCustomerPrices();
    void reloadCategoryGrid();
    void reloadPackaging(bool newestFirst);
    void reloadFormulas();
    void reloadFormulaChooser();

    // Adding a product.
    void kindChosen();
    void nameEntered();
    void codeEntered();
    void specificationChosen();
    void listPriceEntered();
    void customerEntered();
    void formulaChosen(int index);
    void formulaNumberEntered();
    void showFormula(const FormulaInfo &f);
    void confirmProduct();
    void resetProductEntry();
    void cancelProduct();
    void printProductList();

    // Deleting a product.
    void deleteCategoryChosen();
    void deleteCodeChosen();
    void deleteProduct();
    void resetDelete();
    void customerPriceClicked(const QModelIndex &index);

    // Categories and their sizes.
    void categoryNameEntered();
    void categoryFlagEntered();
    void categorySpecsEntered();
    void insertCategory();
    void clearNewCategory();
    void categoryRowClicked(const QModelIndex &index);
    void sizeBoxToggled(bool addGroup, bool on);
    void sizeFlagEntered(bool addGroup);
    void chooseSizeCategory(bool addGroup, const ProductCategory &c);
    void clearSizeGroup(bool addGroup);
    void addSize();
    void replaceSizes();
    void updateCategoryGridColour();

    // Packaging materials.
    void packagingCategoryChosen();
    void packagingCodeEntered();
    void packagingNameEntered();
    void packagingSpecEntered();
    void packagingPriceEntered();
    void addPackaging();
    void resetPackagingEntry();
    void packagingRowClicked(const QModelIndex &index);
    void confirmReprice();
    void clearReprice();
    void deletePackaging();
    void refreshPackaging();
    void deletePackagingCategory();
    bool isLabelCategory() const;

    // Formula of a product.
    void linkProductClicked(const QModelIndex &index);
    void linkFormulaClicked(const QModelIndex &index);
    void updateLinkButton();
    void confirmLink();
    void clearLink();
    void printFormulaList();

    QTabWidget *m_tabs;
    RowsModel *m_products;
    RowsModel *m_customerPrices;
    RowsModel *m_categories;
    RowsModel *m_packaging;
    RowsModel *m_linkProducts;
    RowsModel *m_formulas;

    // Tab 1: the product being added.
    QComboBox *m_kind;
    QLineEdit *m_name;
    QLineEdit *m_code;
    QComboBox *m_spec;
    QLineEdit *m_listPrice;
    QLineEdit *m_customerCode;
    QLineEdit *m_customerName;
    QComboBox *m_formula;
    QLineEdit *m_formulaNumber;
    QLineEdit *m_formulaStandard;
    QLineEdit *m_formulaCost;
    QPushButton *m_confirm;
    QString m_flag;
    bool m_allCustomers = false;

    // Tab 2.
    QComboBox *m_delCategory;
    QComboBox *m_delCode;
    QLineEdit *m_delName;
    QLineEdit *m_delSpec;
    QPushButton *m_delButton;
    QString m_delProduct;
    QTableView *m_delCustomerView;

    // Tab 3.
    QTableView *m_categoryView;
    QLineEdit *m_catName;
    QLineEdit *m_catFlag;
    QLineEdit *m_catSpecs;
    QPushButton *m_catInsert;
    struct SizeGroup {
        QCheckBox *box;
        QLineEdit *flag;
        QLineEdit *existing;
        QLineEdit *category;
        QLineEdit *input;
        QPushButton *confirm;
        QPushButton *discard = nullptr;
        qint64 categoryId = 0;
    };
    SizeGroup m_add;
    SizeGroup m_replace;
    SizeGroup &group(bool addGroup) { return addGroup ? m_add : m_replace; }

    // Tab 4.
    QComboBox *m_packCategory;
    QLineEdit *m_packCode;
    QLineEdit *m_packName;
    QLineEdit *m_packSpec;
    QLineEdit *m_packPrice;
    QPushButton *m_packConfirm;
    QPushButton *m_packDeleteCategory;
    QLineEdit *m_repName;
    QLineEdit *m_repSpec;
    QLineEdit *m_repPrice;
    QPushButton *m_repConfirm;
    QPushButton *m_repDiscard;
    QPushButton *m_repDelete;
    qint64 m_repId = 0;
    bool m_packNewestFirst = false;

    // Tab 5.
    QLineEdit *m_linkCode;
    QLineEdit *m_linkName;
    QLineEdit *m_linkFormula;
    QLineEdit *m_linkFormulaName;
    QLineEdit *m_linkStandard;
    QLineEdit *m_linkCost;
    QPushButton *m_linkOk;
};

} // namespace fm
