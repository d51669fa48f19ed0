#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QProgressBar;
class QPushButton;

namespace fm {

class Grid;

// "客户价格过滤——-过滤出所有低于成本价格销售的客户及产品名称": rebuilds the
// price filter (customer prices below cost) of every region or of one, in
// one transaction, and prints it.
class Tkhjg_gl : public FunctionWindow {
    Q_OBJECT
public:
    Tkhjg_gl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QPushButton *allRegionsButton() const { return m_all; }
    QPushButton *regionButton() const { return m_byRegion; }
    QPushButton *printButton() const { return m_print; }
    Grid *grid() const { return m_grid; }

private:
    void rebuild(const QString &regionCode);

    QComboBox *m_region;
    QPushButton *m_all;
    QPushButton *m_byRegion;
    QPushButton *m_print;
    QProgressBar *m_bar;
    Grid *m_grid;
};

} // namespace fm
