#pragma once
// Helpers for window tests: Enter in a field, typed text (Chinese too), and
// optional screenshots (FM_SCREENSHOT_DIR) for looking at the windows.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace fm::test {

inline void pressEnter(QWidget *w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

// Types text as a clerk would (keyClicks cannot send Chinese) and presses Enter.
inline void typeAndEnter(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->setText(text);
    pressEnter(e);
}

inline void screenshot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    // Let pending layout requests run, so the picture shows the laid-out window.
    QTest::qWait(50);
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace fm::test
