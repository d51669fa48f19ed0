#pragma once
// The base of every function window and of every tab page, and the widget
// factories they are assembled from.
//
// Form carries what a window or a page needs: the context (session, clock,
// operator), the messages through the injected Prompter, a declarative
// Enter chain (ui/enterchain.h), and guarded() that turns a refused rule or a
// database error into a message. Its factories give every input a name (for
// tests and automation), and the kit's labels (ui/widgets.h) make each label
// its field's buddy and accessible name.

#include "shell/appcontext.h"
#include "shell/functions.h"
#include "ui/enterchain.h"
#include "ui/prompter.h"

#include <QDialog>
#include <QWidget>
#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fm {

class Session;

class Form {
public:
    Form(AppContext &ctx, QWidget *self);
    virtual ~Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    AppContext &ctx() const { return m_ctx; }
    Session &session() const;
    Prompter &prompter() const { return *m_ctx.prompter; }
    EnterChain &chain() const { return *m_chain; }
    // A further chain for a group of fields entered on its own (a panel
    // beside the form's main entry), guarded like the form's own.
    EnterChain &addChain();

    void inform(const QString &text) const;
    bool ask(const QString &text) const;
    Prompter::Answer askYesNoCancel(const QString &text) const;
    // A line of text typed into an input box; false when cancelled.
    bool askText(const QString &title, const QString &label, QString *text) const;
    // Runs fn; a refused rule or a database error is shown as a message (each
    // line of a refusal as a message of its own) and false returned, leaving
    // the form usable.
    bool guarded(const std::function<void()> &fn) const;

    // Opens another function's window from this one, if the operator's rights
    // reach it as the main menu would; refused with a message otherwise.
    void openFunction(Fn function) const;
    bool canOpen(Fn function) const;

    // Factories: the widget is named (objectName) and parented to the form.
    QLineEdit *input(const char *name, int maxLength = 0) const;
    // Shows a value; never takes input or focus.
    QLineEdit *display(const char *name) const;
    // A password: every typed character shows as "*".
    QLineEdit *passwordInput(const char *name, int maxLength = 0) const;
    QComboBox *chooser(const char *name, const QString &placeholder = QString(), bool editable = false) const;
    QPushButton *button(const QString &text, const char *name, std::function<void()> onClick = {}) const;
    QDateEdit *dateInput(const char *name) const;

private:
    AppContext &m_ctx;
    QWidget *m_self;
    EnterChain *m_chain;
};

// A window opened by a main-menu function: one instance for the run, shown
// modally, initialised by activate() each time its caller opens it.
class FunctionWindow : public QDialog, public Form {
    Q_OBJECT
public:
    FunctionWindow(AppContext &ctx, QWidget *parent);

    // Runs each time the window is opened from its caller.
    virtual void activate() {}
    // activate(), then shows the window modally until it closes.
    int run();
};

// A tab page of a window, with the same kit as a window.
class FormPage : public QWidget, public Form {
    Q_OBJECT
public:
    FormPage(AppContext &ctx, QWidget *parent);

    // The host window was opened: start over.
    virtual void activate() {}
    // The page came to the front: reread what another page may have changed.
    virtual void refresh() {}
};

} // namespace fm
