#include "ui/enterchain.h"

#include <QAbstractButton>
#include <algorithm>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace fm {

namespace {

bool isEnter(QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Enter on a focused button presses it, as the Enter chain leads the clerk
// to the button next (a button that is not the default ignores Enter).
class ButtonEnter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *b = qobject_cast<QPushButton *>(watched);
        if (b && isEnter(event) && b->isEnabled()) {
            b->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void emptyIfRefused(QWidget *field, const std::function<void()> &check)
{
    try {
        check();
    } catch (...) {
        if (auto *e = qobject_cast<QLineEdit *>(field)) e->clear();
        else if (auto *c = qobject_cast<QComboBox *>(field); c && c->isEditable()) c->clearEditText();
        throw;
    }
}

int EnterChain::indexOf(QWidget *w) const
{
    for (size_t i = 0; i < m_steps.size(); ++i)
        if (m_steps[i].widget == w) return int(i);
    return -1;
}

void EnterChain::watch(QWidget *w, QWidget *owner)
{
    m_watched.insert(w, owner);
    w->installEventFilter(this);
    // Editable combo boxes and spin boxes keep the key in their line edit.
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit()) {
        m_watched.insert(combo->lineEdit(), owner);
        combo->lineEdit()->installEventFilter(this);
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
        for (QLineEdit *e : spin->findChildren<QLineEdit *>()) {
            m_watched.insert(e, owner);
            e->installEventFilter(this);
        }
    }
}

EnterChain &EnterChain::step(QWidget *w, Handler handler, StepOptions options)
{
    m_steps.push_back(Step{w, std::move(handler), std::move(options)});
    m_order.push_back(w);
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, w] { run(w); });
    } else {
        watch(w, w);
    }
    return *this;
}

void EnterChain::on(QWidget *w, std::function<void()> fn)
{
    m_plain.insert(w, fn);
    w->installEventFilter(this);
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit()) {
        m_plain.insert(combo->lineEdit(), fn);
        combo->lineEdit()->installEventFilter(this);
    }
}

void EnterChain::setStepEnabled(const Step &s, bool on)
{
    s.widget->setEnabled(on);
    for (QWidget *c : s.options.companions) c->setEnabled(on);
}

void EnterChain::reset()
{
    if (m_steps.empty()) return;
    reach(m_steps.front().widget);
}

void EnterChain::reach(QWidget *w)
{
    if (!w) return;
    const int index = indexOf(w);
    if (index < 0) {
        w->setEnabled(true);
        focusField(w);
        return;
    }
    setStepEnabled(m_steps[size_t(index)], true);
    for (size_t i = size_t(index) + 1; i < m_steps.size(); ++i) setStepEnabled(m_steps[i], false);
    focusField(w);
}

void EnterChain::disableAll()
{
    for (const Step &s : m_steps) setStepEnabled(s, false);
}

void EnterChain::run(QWidget *w)
{
    const int index = indexOf(w);
    if (index >= 0) runStep(index);
}

void EnterChain::runStep(int index)
{
    const Step &s = m_steps[size_t(index)];
    if (!s.widget->isEnabled()) return;
    if (isBlank(s.widget) && !s.options.acceptEmpty) {
        if (s.options.emptyAs.isEmpty()) return;
        if (auto *e = qobject_cast<QLineEdit *>(s.widget)) e->setText(s.options.emptyAs);
        else if (auto *c = qobject_cast<QComboBox *>(s.widget); c && c->isEditable()) c->setEditText(s.options.emptyAs);
    }
    const Handler handler = s.handler; // the handler may rebuild the chain's state
    Go go = Go::stay();
    const bool ok = m_guard ? m_guard([&] { go = handler(); }) : (go = handler(), true);
    apply(index, ok ? go : Go::stay());
}

void EnterChain::apply(int index, const Go &go)
{
    QWidget *current = m_steps[size_t(index)].widget;
    switch (go.kind()) {
    case Go::Kind::Advance:
        if (size_t(index) + 1 < m_steps.size()) {
            if (m_steps[size_t(index)].options.lockWhenPassed) setStepEnabled(m_steps[size_t(index)], false);
            reach(m_steps[size_t(index) + 1].widget);
        }
        break;
    case Go::Kind::Stay:
        if (current->isEnabled()) focusField(current);
        break;
    case Go::Kind::Back:
        if (index > 0) reach(m_steps[size_t(index) - 1].widget);
        break;
    case Go::Kind::To:
        if (go.target() && indexOf(go.target()) > index && m_steps[size_t(index)].options.lockWhenPassed)
            setStepEnabled(m_steps[size_t(index)], false);
        reach(go.target());
        break;
    case Go::Kind::Done:
        break;
    }
}

void EnterChain::advance(QWidget *next)
{
    if (!next) return;
    next->setEnabled(true);
    focusField(next);
}

void EnterChain::focusField(QWidget *w)
{
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto *e = qobject_cast<QLineEdit *>(w)) e->selectAll();
    else if (auto *c = qobject_cast<QComboBox *>(w); c && c->lineEdit()) c->lineEdit()->selectAll();
    else if (auto *sp = qobject_cast<QAbstractSpinBox *>(w)) sp->selectAll();
}

bool EnterChain::isBlank(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) return e->text().trimmed().isEmpty();
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable()) return c->currentText().trimmed().isEmpty();
        return c->currentIndex() < 0;
    }
    if (auto *d = qobject_cast<QDateTimeEdit *>(w)) {
        // A date input is blank while no digit has been typed into it.
        const QString t = d->text();
        return std::none_of(t.begin(), t.end(), [](QChar ch) { return ch.isDigit(); });
    }
    return false;
}

void EnterChain::pressOnEnter(QPushButton *b)
{
    static ButtonEnter *filter = new ButtonEnter(qApp);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->removeEventFilter(filter);
    b->installEventFilter(filter);
}

void EnterChain::noAutoDefault(QWidget *root)
{
    for (QPushButton *b : root->findChildren<QPushButton *>()) pressOnEnter(b);
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        if (auto it = m_watched.constFind(watched); it != m_watched.constEnd()) {
            const int index = indexOf(*it);
            if (index >= 0) runStep(index);
            return true;
        }
        if (auto it = m_plain.constFind(watched); it != m_plain.constEnd()) {
            const auto fn = *it; // fn may replace itself
            if (m_guard) m_guard(fn);
            else fn();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fm
