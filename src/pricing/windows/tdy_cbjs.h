#pragma once
#include "pricing/costprocessing.h"
#include "ui/functionwindow.h"

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "客户成本结算打印": one customer's cost rows within two dates, from this
// workstation's cost processing, and the customer cost settlement list
// (printed at once, or previewed).
class Tdy_cbjs : public FunctionWindow {
    Q_OBJECT
public:
    Tdy_cbjs(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *nameBox() const { return m_name; }
    QLineEdit *codeDisplay() const { return m_code; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QPushButton *filterButton() const { return m_filter; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *previewButton() const { return m_preview; }
    Grid *grid() const { return m_grid; }

private:
    ReportDocument document() const;
    void setPrintable(bool on);

    QComboBox *m_region;
    QComboBox *m_name;
    QLineEdit *m_code;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_filter;
    QPushButton *m_print;
    QPushButton *m_preview;
    Grid *m_grid;
    std::vector<CostDetail> m_rows; // what the grid shows and the list prints
    QString m_customerName;
    QString m_customerCode;
};

} // namespace fm
