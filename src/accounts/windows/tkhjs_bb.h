#pragma once
#include "accounts/customerregister.h"
#include "accounts/settlement.h"
#include "ui/functionwindow.h"

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "客户结算打印": a customer's settlement detail rows whose periods lie
// between two dates, and their printed list.
class Tkhjs_bb : public FunctionWindow {
    Q_OBJECT
public:
    Tkhjs_bb(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *nameBox() const { return m_name; }
    QLineEdit *codeInput() const { return m_code; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QPushButton *filterButton() const { return m_filter; }
    QPushButton *printButton() const { return m_print; }
    Grid *grid() const { return m_grid; }

private:
    Go codeEntered();
    Go filter();
    void regionChosen();
    void nameChosen();
    void showCustomer(const Customer &c);

    QComboBox *m_region;
    QComboBox *m_name;
    QLineEdit *m_code;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_filter;
    QPushButton *m_print;
    Grid *m_grid;

    std::optional<Customer> m_customer;
    QDate m_from, m_to;
    std::vector<SettlementLine> m_lines;
};

} // namespace fm
