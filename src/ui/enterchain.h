#pragma once
// Entry runs field by field on the Enter key: Enter in a field runs its
// handler (validate, look up, then move on), and never reaches the dialog,
// which would otherwise press its default button.

#include <QObject>
#include <QHash>
#include <functional>

class QWidget;
class QAbstractButton;

namespace fm {

class EnterChain : public QObject {
public:
    explicit EnterChain(QObject *parent) : QObject(parent) {}

    // handler runs when Enter is pressed in w.
    void on(QWidget *w, std::function<void()> handler);

    // Enables and focuses the next field of the chain.
    static void advance(QWidget *next);
    // Buttons never become the dialog's default (Enter must not press them).
    static void noAutoDefault(QWidget *root);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, std::function<void()>> m_handlers;
};

} // namespace fm
