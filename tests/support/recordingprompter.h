#pragma once
// A Prompter for window tests: records every text and answers questions from
// a queue (Yes when the queue is empty, unless told otherwise).

#include "ui/prompter.h"

#include <QStringList>
#include <deque>

namespace fm::test {

class RecordingPrompter : public Prompter {
public:
    void inform(QWidget *, const QString &text) override { messages << text; }
    bool ask(QWidget *, const QString &text) override
    {
        questions << text;
        if (answers.empty()) return defaultAnswer;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    // Answered from choices; from ask()'s queue and default when it is empty.
    Answer askYesNoCancel(QWidget *parent, const QString &text) override
    {
        if (choices.empty()) return ask(parent, text) ? Answer::Yes : Answer::No;
        questions << text;
        const Answer a = choices.front();
        choices.pop_front();
        return a;
    }
    bool askText(QWidget *, const QString &, const QString &label, QString *text) override
    {
        questions << label;
        if (textAnswers.empty()) return false;
        *text = textAnswers.front();
        textAnswers.pop_front();
        return true;
    }

    QString last() const { return messages.isEmpty() ? QString() : messages.last(); }
    void clear()
    {
        messages.clear();
        questions.clear();
    }

    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;
    std::deque<Answer> choices;
    std::deque<QString> textAnswers;
    bool defaultAnswer = true;
};

} // namespace fm::test
