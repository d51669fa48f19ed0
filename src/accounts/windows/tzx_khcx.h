#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QComboBox;
class QPushButton;

namespace fm {

class Grid;

// "客户资料查询": the customers of one region that are not closed, and their
// printed list (the customers shown).
class Tzx_khcx : public FunctionWindow {
    Q_OBJECT
public:
    Tzx_khcx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    Grid *grid() const { return m_grid; }
    QPushButton *printButton() const { return m_print; }

private:
    QComboBox *m_region;
    Grid *m_grid;
    QPushButton *m_print;
    std::vector<Customer> m_shown;
};

} // namespace fm
