#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;
class ProductCatalogue;
struct FormulaInfo;

// "增加产品品种": a feed product added, or an existing one given to further
// customers (one, or all when no customer code is given), with the formula
// it is made from.
class ProductAddPage : public FormPage {
    Q_OBJECT
public:
    ProductAddPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    ProductCatalogue catalogue() const;
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
    QLineEdit *m_name;
    QLineEdit *m_code;
    QComboBox *m_size = chooser("specification", QStringLiteral("规格"));
    QLineEdit *m_listPrice = input("listPrice", 12);
    QLineEdit *m_customerCode = input("customerCode", 8);
    QLineEdit *m_customerName = display("customerName");
    QComboBox *m_formula = chooser("formula", QStringLiteral("选择配方"));
    QLineEdit *m_formulaNumber = input("formulaNumber", 9);
    QLineEdit *m_formulaStandard = display("formulaStandard");
    QLineEdit *m_formulaCost = display("formulaCost");
    QPushButton *m_confirm = button(QStringLiteral("确定"), "confirm");
    Grid *m_products;
    Grid *m_customerPrices;
    QString m_customer; // the customer code accepted; empty: every customer
};

} // namespace fm
