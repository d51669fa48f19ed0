#pragma once
// "资金查询": a customer's (or every customer's) funds rows within two dates,
// of the current period and of the archive side by side, and the totals of
// the current ones.

#include "ui/functionwindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace fm {

class Grid;

class FundsQueryWindow : public FunctionWindow {
    Q_OBJECT
public:
    FundsQueryWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *customerField() const { return m_code; }
    QLineEdit *customerName() const { return m_name; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QLabel *receivableTotal() const { return m_receivable; }
    QLabel *receivedTotal() const { return m_received; }
    Grid *currentGrid() const { return m_current; }
    Grid *historyGrid() const { return m_history; }

private:
    Go enterCustomer();
    Go query();

    QLineEdit *m_code, *m_name, *m_from, *m_to;
    QLabel *m_receivable, *m_received;
    Grid *m_current, *m_history;
    QGroupBox *m_currentBox, *m_historyBox;
};

} // namespace fm
