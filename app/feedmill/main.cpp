#include "data/session.h"
#include "shell/configfile.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>

using namespace fm;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    app.setFont(font);

    const ConfigReadResult cfg = ConfigFile::read(ConfigFile::defaultPath());
    QString status;
    std::unique_ptr<Session> session;
    if (!cfg.exists) {
        status = QStringLiteral("没有配置文件 config.ini。");
    } else {
        ConnectionSettings cs;
        QString error;
        if (!cfg.config.connectionSettings(QDir::currentPath(), &cs, &error)) {
            status = error;
        } else {
            try {
                session = Session::open(cs);
                QStringList reached;
                for (const char *t : {"zxauth1", "ylpzk", "his_sale1"}) {
                    session->scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(QLatin1String(t)));
                    reached << catalogName(findTable(QLatin1String(t))->catalog);
                }
                status = QStringLiteral("数据库：%1\n已连接：%2").arg(engineName(cs.engine), reached.join(QStringLiteral("、")));
            } catch (const DbError &e) {
                status = e.message();
            }
        }
    }

    QWidget w;
    w.setWindowTitle(cfg.config.qymc.isEmpty() ? QStringLiteral("饲料厂管理系统") : cfg.config.qymc);
    auto *layout = new QVBoxLayout(&w);
    auto *label = new QLabel(status, &w);
    label->setMargin(24);
    layout->addWidget(label);
    w.resize(420, 160);
    w.show();
    return app.exec();
}
