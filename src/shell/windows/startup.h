#pragma once

class QApplication;

namespace fm {

// Fonts for Chinese text that render alike everywhere (never the Japanese forms).
void applyApplicationFont(QApplication &app);

// Qt's own Chinese translations, so standard dialogs (files, printing, the
// buttons of message and input boxes) speak Chinese. False when they are not
// installed.
bool installQtTranslations(QApplication &app);

// Splash, configuration, connection, login window, message loop.
int runApplication(QApplication &app);

} // namespace fm
