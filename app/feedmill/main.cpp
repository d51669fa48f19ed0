#include "shell/windows/startup.h"

int main(int argc, char **argv)
{
    fm::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("feedmill"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("feedmill"));
    return fm::runApplication(app);
}
