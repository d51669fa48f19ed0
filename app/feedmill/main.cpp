#include "shell/windows/startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("feedmill"));
    return fm::runApplication(app);
}
