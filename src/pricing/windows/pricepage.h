#pragma once
// A tab page of a price window: the page has the context, its own Enter
// chain and the message helpers a function window has.

#include "pricing/pricebook.h"
#include "shell/appcontext.h"
#include "ui/layouts.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;

namespace fm {

class EnterChain;
class Session;

class PricePage : public QWidget {
    Q_OBJECT
public:
    PricePage(AppContext &ctx, QWidget *parent);

    // The host window was opened: start over.
    virtual void activate() = 0;
    // The page came to the front: reread what the other page may have changed.
    virtual void refresh() = 0;

protected:
    AppContext &ctx() { return m_ctx; }
    PriceBook book();
    EnterChain &enter() { return *m_enter; }
    void inform(const QString &text);
    bool ask(const QString &text);
    bool guarded(const std::function<void()> &fn);

private:
    AppContext &m_ctx;
    EnterChain *m_enter;
};

// Small builders the price windows share.
QLineEdit *priceEdit(QWidget *parent, const char *name, int maxLength = 16);
QPushButton *priceButton(QWidget *parent, const QString &text, const char *name);

} // namespace fm
