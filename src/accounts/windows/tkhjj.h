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
class Tjskhjj_dq;

// "客户销售数据处理": one customer and one period from the 19th to the 18th.
// Enter leads from the code through the two dates to "数据整理" (collation),
// "数据处理" (processing) and "打印清单"; the customer can also be chosen by
// region and name. "按地区批处理" opens the region batch.
class Tkhjj : public FunctionWindow {
    Q_OBJECT
public:
    Tkhjj(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeInput() const { return m_code; }
    QComboBox *regionBox() const { return m_region; }
    QComboBox *nameBox() const { return m_name; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QLineEdit *totalDisplay() const { return m_total; }
    QLineEdit *feeDisplay() const { return m_fee; }
    QPushButton *collateButton() const { return m_collate; }
    QPushButton *processButton() const { return m_process; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *batchButton() const { return m_batchButton; }
    Grid *grid() const { return m_grid; }
    Tjskhjj_dq *batchWindow();

private:
    Go codeEntered();
    Go startEntered();
    Go endEntered();
    Go collate();
    Go process();
    void regionChosen();
    void nameChosen();
    void showCustomer(const Customer &c);
    void showLines(const std::vector<SettlementLine> &lines);
    void print();

    QLineEdit *m_code;
    QComboBox *m_region;
    QComboBox *m_name;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QLineEdit *m_total;
    QLineEdit *m_fee;
    QPushButton *m_collate;
    QPushButton *m_process;
    QPushButton *m_print;
    QPushButton *m_batchButton;
    Grid *m_grid;
    Tjskhjj_dq *m_batch = nullptr;

    std::vector<Region> m_regions;
    std::optional<Customer> m_customer;
    Period m_period;
};

} // namespace fm
