#pragma once
#include "accounts/customers.h"
#include "ui/functionwindow.h"

#include <QDate>
#include <optional>

class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "客户对帐明细单打印": a customer's fund rows between two dates, and the
// statement of account printed over them, with the age of the arrears.
class Tkh_bbdy : public FunctionWindow {
    Q_OBJECT
public:
    Tkh_bbdy(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeInput() const { return m_code; }
    QLineEdit *nameDisplay() const { return m_name; }
    QLineEdit *regionDisplay() const { return m_region; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QPushButton *filterButton() const { return m_filter; }
    QPushButton *printButton() const { return m_print; }
    Grid *grid() const { return m_grid; }

private:
    Go codeEntered();
    Go filter();
    Go print();

    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_region;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_filter;
    QPushButton *m_print;
    Grid *m_grid;

    std::optional<Customer> m_customer;
    QDate m_from, m_to;
};

} // namespace fm
