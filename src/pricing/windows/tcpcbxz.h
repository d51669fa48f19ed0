#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fm {

class Grid;

// "成本价格修正": the cost prices of a product category set from the
// production costs times a correction factor.
class Tcpcbxz : public FunctionWindow {
    Q_OBJECT
public:
    Tcpcbxz(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *categoryBox() const { return m_category; }
    QLineEdit *factorInput() const { return m_factor; }
    QPushButton *correctButton() const { return m_correct; }
    Grid *productionGrid() const { return m_before; }
    Grid *priceGrid() const { return m_after; }

private:
    QString flag() const;
    void showPrices();

    QComboBox *m_category;
    QLineEdit *m_factor;
    QPushButton *m_correct;
    QProgressBar *m_bar;
    Grid *m_before;
    Grid *m_after;
};

} // namespace fm
