#include "ui/enterchain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace fm {

void EnterChain::on(QWidget *w, std::function<void()> handler)
{
    m_handlers.insert(w, std::move(handler));
    w->installEventFilter(this);
    // An editable combo box keeps the key in its line edit.
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (combo->lineEdit()) {
            m_handlers.insert(combo->lineEdit(), m_handlers.value(w));
            combo->lineEdit()->installEventFilter(this);
        }
    }
}

void EnterChain::advance(QWidget *next)
{
    if (!next) return;
    next->setEnabled(true);
    next->setFocus(Qt::OtherFocusReason);
}

namespace {

// Enter on a focused button presses it, as the Enter chain leads the clerk
// to the button next (a button that is not the default ignores Enter).
class ButtonEnter : public QObject {
public:
    using QObject::QObject;
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            auto *b = qobject_cast<QPushButton *>(watched);
            if (b && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && b->isEnabled()) {
                b->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void EnterChain::noAutoDefault(QWidget *root)
{
    static ButtonEnter *filter = new ButtonEnter(qApp);
    for (QPushButton *b : root->findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->removeEventFilter(filter);
        b->installEventFilter(filter);
    }
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            auto it = m_handlers.constFind(watched);
            if (it != m_handlers.constEnd()) {
                const auto handler = *it; // the handler may replace itself
                handler();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fm
