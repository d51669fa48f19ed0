#include "shell/windows/passwordwindow.h"

#include "shell/operators.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

PasswordWindow::PasswordWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户密码修改"));
    m_code = new QLineEdit(this);
    m_code->setMaxLength(5);
    m_name = new QLineEdit(this);
    m_name->setReadOnly(true);
    m_dept = new QLineEdit(this);
    m_dept->setReadOnly(true);
    m_old = new QLineEdit(this);
    m_old->setEchoMode(QLineEdit::Password);
    m_old->setMaxLength(kPasswordMaxLength);
    m_new = new QLineEdit(this);
    m_new->setEchoMode(QLineEdit::Password);
    m_new->setMaxLength(kPasswordMaxLength);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("操作员代码："), m_code);
    form->addRow(QStringLiteral("操作员名称："), m_name);
    form->addRow(QStringLiteral("部      门："), m_dept);
    form->addRow(QStringLiteral("原  密  码："), m_old);
    form->addRow(QStringLiteral("新  密  码："), m_new);
    QHBoxLayout *buttons = buttonRow({quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(340);

    enter().on(m_code, [this] { lookUp(); });
    enter().on(m_old, [this] { checkOld(); });
    enter().on(m_new, [this] { save(); });
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void PasswordWindow::activate()
{
    lockNewPassword();
    m_code->setFocus();
}

void PasswordWindow::lockNewPassword()
{
    m_verified = 0;
    m_new->clear();
    m_new->setEnabled(false);
}

void PasswordWindow::lookUp()
{
    if (m_code->text().trimmed().isEmpty()) return;
    lockNewPassword();
    m_found = 0;
    m_name->clear();
    m_dept->clear();
    m_old->clear();
    guarded([this] {
        if (auto op = Operators(session()).find(m_code->text())) {
            m_found = op->id;
            m_name->setText(op->name);
            m_dept->setText(op->dept);
            m_old->setFocus();
        }
    });
}

void PasswordWindow::checkOld()
{
    if (!m_found || m_code->text().trimmed().isEmpty() || m_name->text().isEmpty()) return;
    lockNewPassword();
    bool ok = false;
    if (!guarded([&] { ok = Operators(session()).checkPassword(m_found, m_old->text()); })) return;
    if (!ok) {
        inform(QStringLiteral("密码不正确，不能修改。请重新输入!"));
        m_old->clear();
        m_old->setFocus();
        return;
    }
    m_verified = m_found;
    EnterChain::advance(m_new);
}

void PasswordWindow::save()
{
    if (!m_verified || m_new->text().trimmed().isEmpty()) return;
    if (!guarded([&] { Operators(session()).setPassword(m_verified, m_new->text()); })) return;
    inform(QStringLiteral("密码已经修改！"));
    lockNewPassword();
    m_found = 0;
    for (QLineEdit *e : {m_code, m_name, m_dept, m_old}) e->clear();
    m_code->setFocus();
}

} // namespace fm
