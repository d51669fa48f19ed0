#include "shell/windows/startup.h"

#include "common/clock.h"
#include "data/schemaupgrade.h"
#include "data/session.h"
#include "production/windows/tsc_dl.h"
#include "reports/windows/reportpreview.h"
#include "shell/configfile.h"
#include "shell/windows/tlogin.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QTranslator>

namespace fm {

namespace {

// The picture shown first; Enter or a click closes it.
class Splash : public QDialog {
public:
    Splash()
    {
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        setFixedSize(520, 300);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(rect().topLeft(), rect().bottomLeft());
        g.setColorAt(0, QColor(0x2f, 0x6b, 0x3a));
        g.setColorAt(1, QColor(0xd9, 0xbe, 0x5c));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f = font();
        f.setPointSize(22);
        f.setBold(true);
        p.setFont(f);
        p.drawText(rect().adjusted(0, -40, 0, -40), Qt::AlignCenter, QStringLiteral("饲料生产销售综合管理系统"));
        f.setPointSize(11);
        f.setBold(false);
        p.setFont(f);
        p.drawText(rect().adjusted(0, 0, 0, -24), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("按回车键或单击继续"));
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) accept();
        else if (e->key() != Qt::Key_Escape) QDialog::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent *) override { accept(); }
};

} // namespace

bool Application::notify(QObject *receiver, QEvent *event)
{
    static MessageBoxPrompter prompter;
    // Through a guard, so the refusal reads exactly as a guarded call's.
    struct {
        QObject *receiver;
        QEvent *event;
        bool handled = false;
    } call{receiver, event};
    // Two pointers: the guard's function object holds them without allocating.
    guardedCall(prompter, activeWindow(), [this, &call] { call.handled = QApplication::notify(call.receiver, call.event); });
    return call.handled;
}

void applyApplicationFont(QApplication &app)
{
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    app.setFont(font);
    // Fields that only show values look different from the ones to type in.
    app.setStyleSheet(QStringLiteral("QLineEdit[readOnly=\"true\"] { background: #f2f2f2; color: #202020; }"));
}

bool installQtTranslations(QApplication &app)
{
    static QPointer<QTranslator> translator;
    if (translator) return true;
    auto *t = new QTranslator(&app);
    // Chinese whatever the workstation's locale: the whole program is.
    if (!t->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    app.installTranslator(t);
    translator = t;
    return true;
}

int runApplication(QApplication &app)
{
    applyApplicationFont(app);
    installQtTranslations(app);
    static SystemClock clock;
    static MessageBoxPrompter prompter;
    static AppContext ctx;
    ctx.clock = &clock;
    ctx.prompter = &prompter;
    const QString folder = ConfigFile::workingFolder(QDir::currentPath(), ConfigFile::userFolder());
    // Work in that folder from here on: relative data folders resolve there
    // and the instance started after the first-run set-up starts there.
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder))
        prompter.inform(nullptr, QStringLiteral("无法使用工作文件夹 %1，配置文件将保存在当前文件夹。").arg(QDir::toNativeSeparators(folder)));
    ctx.workingDir = QDir::currentPath();
    ReportPreview::setMessageHandler([](QWidget *parent, const QString &text) { prompter.inform(parent, text); });

    {
        Splash splash;
        splash.exec();
    }

    const QString path = ConfigFile::defaultPath();
    const ConfigReadResult read = ConfigFile::read(path);
    Tlogin::Mode mode = read.exists ? Tlogin::Mode::Configured : Tlogin::Mode::FirstRun;
    std::unique_ptr<Session> session;
    if (read.damaged) prompter.inform(nullptr, read.problem);
    if (mode == Tlogin::Mode::Configured) {
        ConnectionSettings cs;
        QString error;
        try {
            if (!read.config.connectionSettings(QDir::currentPath(), &cs, &error)) throw DbError(error);
            QString problem;
            session = openInstallation(cs, &problem);
            if (!problem.isEmpty()) prompter.inform(nullptr, problem);
        } catch (const DbError &e) {
            // A wrong server setting must not lock the workstation out: offer
            // the set-up form with what the file holds.
            const bool again = prompter.ask(nullptr, QStringLiteral("无法连接数据库：\n%1\n\n是否重新设置数据库连接？").arg(e.message()));
            if (!again) return 1;
            mode = Tlogin::Mode::FirstRun;
        }
    }

    // A workshop station starts at the production login.
    if (mode == Tlogin::Mode::Configured && session && read.config.productionMode()) {
        ctx.qymc = read.config.qymc;
        ctx.workstation = workstationIdentity(read.config);
        QApplication::setApplicationDisplayName(read.config.qymc);
        Tsc_dl production(ctx, std::move(session));
        production.activate();
        production.showFullScreen();
        production.activateWindow();
        return app.exec();
    }

    Tlogin login(ctx, mode, read.config, path, std::move(session));
    login.show();
    login.activateWindow();
    return app.exec();
}

} // namespace fm
