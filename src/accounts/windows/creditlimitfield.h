#pragma once
#include "ui/functionwindow.h"

class QLabel;
class QLineEdit;

namespace fm {

// "信用额度：" of the customer a window shows: it follows the window's code
// box (empty: nothing to edit) and Enter stores the typed limit, blank for
// none.
class CreditLimitField : public FormPage {
    Q_OBJECT
public:
    CreditLimitField(AppContext &ctx, QWidget *parent, QLineEdit *codeBox);

    QLineEdit *limitInput() const { return m_limit; }
    QLabel *statusLabel() const { return m_status; }

private:
    void showCustomer(const QString &code);
    void save();

    QLineEdit *m_codeBox;
    QLineEdit *m_limit;
    QLabel *m_status;
    QString m_code;
};

} // namespace fm
