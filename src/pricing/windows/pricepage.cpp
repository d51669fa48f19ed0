#include "pricing/windows/pricepage.h"

#include "ui/enterchain.h"
#include "ui/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

PricePage::PricePage(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_enter(new EnterChain(this))
{
}

PriceBook PricePage::book()
{
    return PriceBook(*m_ctx.session, *m_ctx.clock);
}

void PricePage::inform(const QString &text)
{
    m_ctx.prompter->inform(this, text);
}

bool PricePage::ask(const QString &text)
{
    return m_ctx.prompter->ask(this, text);
}

bool PricePage::guarded(const std::function<void()> &fn)
{
    return guardedCall(*m_ctx.prompter, this, fn);
}

QLineEdit *priceEdit(QWidget *parent, const char *name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setMinimumWidth(90);
    return e;
}

QPushButton *priceButton(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace fm
