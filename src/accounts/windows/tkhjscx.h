#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

#include <QDate>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "客户价格查询": what a customer of a region paid between two dates, in the
// current period (upper grid) and in the archive (lower grid); a grid with
// no rows gives its room to the other. "客户价格打印" prints the current ones.
class Tkhjscx : public FunctionWindow {
    Q_OBJECT
public:
    Tkhjscx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    Grid *currentGrid() const { return m_current; }
    Grid *archiveGrid() const { return m_archive; }
    QPushButton *printButton() const { return m_print; }

private:
    void regionChosen();
    void customerChosen();
    Go query();

    QComboBox *m_region;
    QComboBox *m_customer;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QLabel *m_currentCaption;
    QLabel *m_archiveCaption;
    Grid *m_current;
    Grid *m_archive;
    QPushButton *m_print;

    std::optional<Customer> m_chosen;
    QDate m_from, m_to;
};

} // namespace fm
