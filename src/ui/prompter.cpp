#include "ui/prompter.h"

#include "data/dberror.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace fm {

namespace {
QString title()
{
    const QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("提示") : t;
}
} // namespace

void MessageBoxPrompter::inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, title(), text);
}

bool MessageBoxPrompter::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

Prompter::Answer MessageBoxPrompter::askYesNoCancel(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return Answer::Cancel;
}

bool MessageBoxPrompter::askText(QWidget *parent, const QString &titleText, const QString &label, QString *text)
{
    bool ok = false;
    const QString v = QInputDialog::getText(parent, titleText, label, QLineEdit::Normal, *text, &ok);
    if (ok) *text = v;
    return ok;
}

} // namespace fm

namespace fm {

bool guardedCall(Prompter &prompter, QWidget *parent, const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (const DomainError &e) {
        // A refusal of several lines is several messages in a row.
        for (const QString &line : e.message().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) prompter.inform(parent, line);
    } catch (const DbError &e) {
        prompter.inform(parent, e.message());
    }
    return false;
}

} // namespace fm
