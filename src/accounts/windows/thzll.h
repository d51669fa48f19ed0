#pragma once
#include "accounts/statements.h"
#include "ui/functionwindow.h"

class QAction;
class QLineEdit;

namespace fm {

class Grid;

// "客户月发生金额汇总浏览": the month records its caller chose, with their
// accumulated figures. "删除" on the grid's menu removes one month record
// after asking; the list and the figures then follow the caller's choice again.
class Thzll : public FunctionWindow {
    Q_OBJECT
public:
    Thzll(AppContext &ctx, QWidget *parent);

    // Shows the records modally, the last one current.
    void browse(const MonthRecordFilter &filter);
    // Loads them without showing the window (browse() does it first).
    void load(const MonthRecordFilter &filter);

    const MonthTotals &totals() const { return m_totals; }
    const std::vector<MonthRecord> &records() const { return m_records; }
    Grid *grid() const { return m_grid; }
    QAction *deleteAction() const { return m_delete; }
    QLineEdit *actualDisplay() const { return m_actual; }
    void deleteCurrent();

private:
    void reload();

    Grid *m_grid;
    QAction *m_delete;
    QLineEdit *m_beforeFee;
    QLineEdit *m_fee;
    QLineEdit *m_receivable;
    QLineEdit *m_received;
    QLineEdit *m_actual;

    MonthRecordFilter m_filter;
    std::vector<MonthRecord> m_records;
    MonthTotals m_totals;
};

} // namespace fm
