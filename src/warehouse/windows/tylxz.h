#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "原料修正": corrects a stock row (quantity, price, name, class flag) and
// carries name, flag and price into the register and the movement lines.
class Tylxz : public FunctionWindow {
    Q_OBJECT
public:
    Tylxz(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *materials() const { return m_materials; }
    QLineEdit *code() const { return m_code; }
    QLineEdit *kilograms() const { return m_kilograms; }
    QLineEdit *price() const { return m_price; }
    QLineEdit *newName() const { return m_newName; }
    QLineEdit *flag() const { return m_flag; }
    QLineEdit *newFlag() const { return m_newFlag; }
    QPushButton *confirm() const { return m_confirm; }
    Grid *grid() const { return m_grid; }

private:
    void reload(qint64 select = 0);
    bool showChosen();
    void store();
    void clearEntry();

    QComboBox *m_materials;
    QLineEdit *m_code;
    QLineEdit *m_kilograms;
    QLineEdit *m_price;
    QLineEdit *m_newName;
    QLineEdit *m_flag;
    QLineEdit *m_newFlag;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_close;
    Grid *m_grid;
    // The stock row shown and its values as shown.
    qint64 m_stockId = 0;
    double m_shownKilograms = 0;
    double m_shownPrice = 0;
};

} // namespace fm
