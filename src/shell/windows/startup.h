#pragma once

#include <QApplication>

namespace fm {

// The program's application object. A database or domain error that a
// window let escape (a page read while scrolling, a slot without a guard)
// is shown to the clerk instead of ending the program with its unsaved work.
class Application : public QApplication {
public:
    Application(int &argc, char **argv) : QApplication(argc, argv) {}
    bool notify(QObject *receiver, QEvent *event) override;
};

// Fonts for Chinese text that render alike everywhere (never the Japanese forms).
void applyApplicationFont(QApplication &app);

// Qt's own Chinese translations, so standard dialogs (files, printing, the
// buttons of message and input boxes) speak Chinese. False when they are not
// installed.
bool installQtTranslations(QApplication &app);

// Splash, configuration, connection, login window, message loop.
int runApplication(QApplication &app);

} // namespace fm
