#include "shell/windows/passwordwindow.h"

#include "ui/layouts.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace fm {

PasswordWindow::PasswordWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户密码修改"));
    auto *fields = new QWidget(this);
    FieldGrid form(fields, 1);
    form.layout()->setContentsMargins(0, 0, 0, 0);
    form.add(QStringLiteral("操作员代码："), m_code)
        .add(QStringLiteral("操作员名称："), m_name)
        .add(QStringLiteral("部      门："), m_dept)
        .add(QStringLiteral("原  密  码："), m_old)
        .add(QStringLiteral("新  密  码："), m_new);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(340);

    // The new password is reached only through the old one of the operator
    // looked up: every look-up and every refusal leaves it disabled and empty.
    chain()
        .step(m_code, [this] { return lookUp(); })
        .step(m_old, [this] { return checkOld(); })
        .step(m_new, [this] { return save(); });
}

void PasswordWindow::activate()
{
    m_found = 0;
    m_verified = 0;
    m_new->clear();
    chain().reset();
}

Go PasswordWindow::lookUp()
{
    m_found = 0;
    m_verified = 0;
    for (QLineEdit *e : {m_name, m_dept, m_old, m_new}) e->clear();
    const auto op = Operators(session()).find(m_code->text());
    if (!op) return Go::to(m_code);
    m_found = op->id;
    m_name->setText(op->name);
    m_dept->setText(op->dept);
    return Go::advance();
}

Go PasswordWindow::checkOld()
{
    m_verified = 0;
    m_new->clear();
    if (!m_found || m_name->text().isEmpty()) return Go::stay();
    if (!Operators(session()).checkPassword(m_found, m_old->text())) {
        inform(QStringLiteral("密码不正确，不能修改。请重新输入!"));
        m_old->clear();
        return Go::to(m_old);
    }
    m_verified = m_found;
    return Go::advance();
}

Go PasswordWindow::save()
{
    if (!m_verified || m_new->text().trimmed().isEmpty()) return Go::stay();
    Operators(session()).setPassword(m_verified, m_new->text());
    inform(QStringLiteral("密码已经修改！"));
    m_found = 0;
    m_verified = 0;
    for (QLineEdit *e : {m_code, m_name, m_dept, m_old, m_new}) e->clear();
    chain().reset();
    return Go::done();
}

} // namespace fm
