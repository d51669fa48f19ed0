#pragma once
#include <QDialog>

class QLabel;
class QTableWidget;

namespace fm {

class Session;

// "产品查询": the price rows of the customer on the slip, or of all customers.
class CustomerProductList : public QDialog {
    Q_OBJECT
public:
    explicit CustomerProductList(QWidget *parent);
    // Fills the list; an empty code lists every customer's products.
    void load(Session &s, const QString &customerCode);
    QLabel *heading() const { return m_heading; }
    QTableWidget *grid() const { return m_grid; }

private:
    QLabel *m_heading;
    QTableWidget *m_grid;
};

} // namespace fm
