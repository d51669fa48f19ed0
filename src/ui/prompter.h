#pragma once
// Messages and questions go through one interface, so that tests can record
// the texts and give the answers without message boxes.

#include <QString>
#include <functional>

class QWidget;

namespace fm {

class Prompter {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompter() = default;
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    // A Yes/No/Cancel question. A prompter that has no third button answers
    // as ask() does.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &text)
    {
        return ask(parent, text) ? Answer::Yes : Answer::No;
    }
    // A line of text typed into an input box; false when cancelled.
    virtual bool askText(QWidget *parent, const QString &title, const QString &label, QString *text) = 0;
};

class MessageBoxPrompter : public Prompter {
public:
    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &text) override;
    bool askText(QWidget *parent, const QString &title, const QString &label, QString *text) override;
};

// Runs fn; a refused rule or a database error is shown as a message and false
// returned, leaving the window usable.
bool guardedCall(Prompter &prompter, QWidget *parent, const std::function<void()> &fn);

} // namespace fm
