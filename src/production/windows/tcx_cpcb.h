#pragma once
#include "data/row.h"
#include "ui/functionwindow.h"

class QComboBox;
class QPushButton;

namespace fm {

class Grid;

// "产品查询": the feed product stock, all or one category, and its stock
// list printed from the rows listed.
class Tcx_cpcb : public FunctionWindow {
    Q_OBJECT
public:
    Tcx_cpcb(AppContext &ctx, QWidget *parent);
    void activate() override;

    Grid *grid() const { return m_grid; }
    QComboBox *categoryList() const { return m_category; }
    QPushButton *chooseButton() const { return m_choose; }

private:
    void list(const QString &flag);
    void categoryChosen();
    void print(bool direct);

    Grid *m_grid;
    QComboBox *m_category;
    QPushButton *m_choose;
    QString m_flag;
    QString m_listed; // the flag of what is listed (empty: all), as printed
};

} // namespace fm
