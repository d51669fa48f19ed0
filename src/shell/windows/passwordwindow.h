#pragma once
#include "shell/operators.h"
#include "ui/functionwindow.h"

#include <QLineEdit>

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
    Go lookUp();
    Go checkOld();
    Go save();

    QLineEdit *m_code = input("operatorCode", 5);
    QLineEdit *m_name = display("operatorName");
    QLineEdit *m_dept = display("department");
    QLineEdit *m_old = passwordInput("oldPassword", kPasswordMaxLength);
    QLineEdit *m_new = passwordInput("newPassword", kPasswordMaxLength);
    qint64 m_found = 0;    // operator looked up
    qint64 m_verified = 0; // operator whose old password was just given
};

} // namespace fm
