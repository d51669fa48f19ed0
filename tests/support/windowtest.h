#pragma once
// Helpers for window tests: Enter in a field, typed text (Chinese too), and
// optional screenshots (FM_SCREENSHOT_DIR) for looking at the windows.

#include <QApplication>
#include <QComboBox>
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

// Picks an item by its text as a clerk would, so the box's activated() runs.
inline void choose(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

// Opens a function window as the main window would; under a window system
// it must be active to hold the focus.
template <class W> void show(W &w)
{
    w.activate();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
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
