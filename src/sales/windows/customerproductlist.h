#pragma once
// "产品查询": the price rows of the customer on the slip, or of all customers.

#include "ui/functionwindow.h"

class QLabel;

namespace fm {

class Grid;

class CustomerProductList : public FunctionWindow {
    Q_OBJECT
public:
    CustomerProductList(AppContext &ctx, QWidget *parent);
    // Lists the rows (an empty code: every customer's, read a page at a time).
    void load(const QString &customerCode);
    QLabel *heading() const { return m_heading; }
    Grid *grid() const { return m_grid; }

private:
    QLabel *m_heading;
    Grid *m_grid;
};

} // namespace fm
