#include "ui/functionwindow.h"

#include "data/dberror.h"
#include "shell/windows/windowregistry.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

Form::Form(AppContext &ctx, QWidget *self) : m_ctx(ctx), m_self(self), m_chain(new EnterChain(self))
{
    m_chain->setGuard([this](const std::function<void()> &fn) { return guarded(fn); });
}

EnterChain &Form::addChain()
{
    auto *chain = new EnterChain(m_self);
    chain->setGuard([this](const std::function<void()> &fn) { return guarded(fn); });
    return *chain;
}

Session &Form::session() const
{
    return *m_ctx.session;
}

void Form::inform(const QString &text) const
{
    m_ctx.prompter->inform(m_self, text);
}

bool Form::ask(const QString &text) const
{
    return m_ctx.prompter->ask(m_self, text);
}

Prompter::Answer Form::askYesNoCancel(const QString &text) const
{
    return m_ctx.prompter->askYesNoCancel(m_self, text);
}

bool Form::askText(const QString &title, const QString &label, QString *text) const
{
    return m_ctx.prompter->askText(m_self, title, label, text);
}

bool Form::guarded(const std::function<void()> &fn) const
{
    return guardedCall(*m_ctx.prompter, m_self, fn);
}

void Form::openFunction(Fn function) const
{
    if (!m_ctx.windows) return;
    bool reached = false;
    if (!guarded([&] { reached = m_ctx.windows->reachable(number(function)); })) return;
    if (!reached) {
        inform(QStringLiteral("你没有使用该功能的权限！"));
        return;
    }
    m_ctx.windows->open(number(function));
}

bool Form::canOpen(Fn function) const
{
    bool reached = false;
    if (m_ctx.windows) guarded([&] { reached = m_ctx.windows->reachable(number(function)); });
    return reached;
}

QLineEdit *Form::input(const char *name, int maxLength) const
{
    auto *e = new QLineEdit(m_self);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QLineEdit *Form::display(const char *name) const
{
    QLineEdit *e = input(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    // A shown value reads as a value, not as a field waiting for input.
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
    return e;
}

QLineEdit *Form::passwordInput(const char *name, int maxLength) const
{
    QLineEdit *e = input(name, maxLength);
    e->setEchoMode(QLineEdit::Password);
    // Styles echo a bullet; the mill's clerks know the asterisk.
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return e;
}

QComboBox *Form::chooser(const char *name, const QString &placeholder, bool editable) const
{
    auto *c = new QComboBox(m_self);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setPlaceholderText(placeholder);
    } else {
        c->setPlaceholderText(placeholder);
    }
    c->setMinimumWidth(140);
    return c;
}

QPushButton *Form::button(const QString &text, const char *name, std::function<void()> onClick) const
{
    auto *b = new QPushButton(text, m_self);
    b->setObjectName(QString::fromLatin1(name));
    EnterChain::pressOnEnter(b);
    b->setAccessibleName(text.simplified());
    if (onClick) QObject::connect(b, &QPushButton::clicked, m_self, [this, onClick] { guarded(onClick); });
    return b;
}

QDateEdit *Form::dateInput(const char *name) const
{
    auto *d = new QDateEdit(m_self);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

FunctionWindow::FunctionWindow(AppContext &ctx, QWidget *parent) : QDialog(parent), Form(ctx, this)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int FunctionWindow::run()
{
    activate();
    EnterChain::noAutoDefault(this);
    return exec();
}

FormPage::FormPage(AppContext &ctx, QWidget *parent) : QWidget(parent), Form(ctx, this)
{
}

} // namespace fm
