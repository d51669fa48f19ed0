#pragma once
#include "ui/functionwindow.h"

#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;
class ProductCatalogue;

// "产品配方价格调整": a product and a formula chosen in the two lists; "OK"
// makes the formula's cost the product's cost price and links the product's
// production master to the formula.
class FormulaLinkPage : public FormPage {
    Q_OBJECT
public:
    FormulaLinkPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    ProductCatalogue catalogue() const;
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
