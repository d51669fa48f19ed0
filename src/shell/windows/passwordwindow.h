#pragma once
#include "ui/functionwindow.h"

class QLineEdit;

namespace fm {

// "客户密码修改": an operator's password changes only after the old one was
// given for that same operator.
class PasswordWindow : public FunctionWindow {
    Q_OBJECT
public:
    PasswordWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeField() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *oldField() const { return m_old; }
    QLineEdit *newField() const { return m_new; }

private:
    void lookUp();
    void checkOld();
    void save();
    void lockNewPassword();

    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_dept;
    QLineEdit *m_old;
    QLineEdit *m_new;
    qint64 m_found = 0;    // operator looked up
    qint64 m_verified = 0; // operator whose old password was just given
};

} // namespace fm
