#pragma once
#include "pricing/costprices.h"
#include "ui/functionwindow.h"

#include <optional>

class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "成本价格修改--历史数据": the cost price recorded on the current sales
// lines of a product within two dates, the lines below cost, clearing the
// range's cost prices, and the historical cost table.
class Txg_lscb : public FunctionWindow {
    Q_OBJECT
public:
    Txg_lscb(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QLineEdit *costInput() const { return m_cost; }
    QLineEdit *productDisplay() const { return m_product; }
    QPushButton *queryButton() const { return m_query; }
    QPushButton *belowCostButton() const { return m_belowCost; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *confirmButton() const { return m_confirm; }
    Grid *grid() const { return m_grid; }

private:
    QDate start() const;
    QDate end() const;
    void reload();
    void titleClicked(int section);
    void rowClicked(qint64 id);
    Go confirm();
    void clearCosts();
    void clearPanel();

    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_query;
    QPushButton *m_belowCost;
    QPushButton *m_clear;
    QPushButton *m_print;
    Grid *m_grid;
    QLineEdit *m_product;
    QLineEdit *m_spec;
    QLineEdit *m_invoice;
    QLineEdit *m_policy;
    QLineEdit *m_cost;
    QPushButton *m_confirm;
    std::optional<SaleLine> m_line; // the line clicked
    bool m_belowCostOnly = false;
    QString m_sortColumn; // remembered for every reload
    bool m_descending = false;
};

} // namespace fm
