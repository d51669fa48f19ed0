#pragma once
#include "ui/functionwindow.h"

class QLineEdit;
class QPushButton;

namespace fm {

// "周转号初始化": sets the number the next slip counts on from.
class TurnoverInitWindow : public FunctionWindow {
    Q_OBJECT
public:
    TurnoverInitWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *input() const { return m_input; }
    QLineEdit *currentField() const { return m_current; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    Go confirm();
    QLineEdit *m_input;
    QLineEdit *m_current;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
};

} // namespace fm
