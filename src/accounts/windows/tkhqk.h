#pragma once
#include "accounts/arrearssummary.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fm {

class Grid;

// "客户欠款汇总": the arrears of every customer, one region or one customer
// up to a cut-off month. The list sorts on any column head; printing and
// the spreadsheet export follow the order shown.
class Tkhqk : public FunctionWindow {
    Q_OBJECT
public:
    Tkhqk(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *cutOffInput() const { return m_cutOff; }
    QLineEdit *totalDisplay() const { return m_total; }
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *exportButton() const { return m_export; }
    Grid *grid() const { return m_grid; }

    // The lines in the order the grid shows them.
    std::vector<ArrearsLine> shownLines() const;
    // Writes the summary as shown to a spreadsheet; false after telling why.
    bool exportTo(const QString &path);

private:
    void regionChosen();
    void customerChosen();
    Go compute();
    ArrearsScope scope() const;

    QComboBox *m_region;
    QComboBox *m_customer;
    QLineEdit *m_start;
    QLineEdit *m_cutOff;
    QLineEdit *m_total;
    QProgressBar *m_progress;
    QPushButton *m_print;
    QPushButton *m_export;
    Grid *m_grid;

    ArrearsResult m_result;
};

} // namespace fm
