#pragma once
#include "formulation/formulabook.h"
#include "ui/functionwindow.h"

#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;
class Tpeidy;

// "配方显示": a saved formula's results and lines, its deletion, and its
// composition and nutrient sheets; "查询所有价格" opens the price query.
class Tpf_show : public FunctionWindow {
    Q_OBJECT
public:
    Tpf_show(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *formula() const { return m_formula; }
    QLineEdit *formulaName() const { return m_name; }
    QLineEdit *standard() const { return m_standard; }
    QDateEdit *start() const { return m_start; }
    QDateEdit *end() const { return m_end; }
    QPushButton *query() const { return m_query; }
    QPushButton *remove() const { return m_delete; }
    QPushButton *previewComposition() const { return m_previewComposition; }
    QPushButton *printComposition() const { return m_printComposition; }
    QPushButton *previewNutrients() const { return m_previewNutrients; }
    QPushButton *printNutrients() const { return m_printNutrients; }
    QPushButton *prices() const { return m_prices; }
    Grid *results() const { return m_results; }
    Grid *lines() const { return m_lines; }
    Tpeidy *priceQuery() const { return m_priceQuery; }

private:
    void reloadChooser();
    void enterFormula();
    void chooseFormula();
    void showAll();
    void runQuery();
    void showView(const FormulaView &v);
    void deleteFormula();
    void composition(bool preview);
    void nutrients(bool preview);
    void openPrices();

    QComboBox *m_formula;
    QLineEdit *m_name;
    QLineEdit *m_standard;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_query;
    QPushButton *m_delete;
    QPushButton *m_previewComposition;
    QPushButton *m_printComposition;
    QPushButton *m_previewNutrients;
    QPushButton *m_printNutrients;
    QPushButton *m_prices;
    Grid *m_results;
    Grid *m_lines;
    Tpeidy *m_priceQuery = nullptr;
    std::optional<FormulaHead> m_head;
    std::optional<FormulaView> m_view; // what the grids show
};

} // namespace fm
