#pragma once

class QApplication;

namespace fm {

// Fonts for Chinese text that render alike everywhere (never the Japanese forms).
void applyApplicationFont(QApplication &app);

// Splash, configuration, connection, login window, message loop.
int runApplication(QApplication &app);

} // namespace fm
