#include "shell/windows/tlogin.h"

#include "data/schemaupgrade.h"
#include "data/session.h"
#include "shell/operators.h"
#include "shell/windows/tmain.h"
#include "ui/layouts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QVBoxLayout>
#include <iterator>

namespace fm {

Tlogin::Tlogin(AppContext &ctx, Mode mode, const AppConfig &config, const QString &configPath,
               std::unique_ptr<Session> session, QWidget *parent)
    : QWidget(parent), Form(ctx, this), m_mode(mode), m_config(config), m_configPath(configPath),
      m_session(std::move(session)), m_password(passwordInput("password", kPasswordMaxLength))
{
    if (m_session) ctx.session = m_session.get();
    ctx.qymc = config.qymc;
    ctx.workstation = workstationIdentity(config);
    setWindowTitle(mode == Mode::Configured ? config.qymc : QString());
    QApplication::setApplicationDisplayName(mode == Mode::Configured ? config.qymc : QString());

    m_qymc->setText(config.qymc);
    m_code->setText(config.username);

    auto *fields = new QWidget(this);
    FieldGrid form(fields, 1);
    form.layout()->setContentsMargins(0, 0, 0, 0);
    form.layout()->setVerticalSpacing(12);
    form.add(QStringLiteral("企 业 名 称："), m_qymc);
    if (mode == Mode::FirstRun) {
        m_engine = chooser("engine");
        m_engine->addItem(QStringLiteral("SQL Server"), engineName(Engine::SQLServer));
        m_engine->addItem(QStringLiteral("PostgreSQL"), engineName(Engine::PostgreSQL));
        m_engine->addItem(QStringLiteral("内置数据库(SQLite)"), engineName(Engine::SQLite));
        const int at = m_engine->findData(config.engine.isEmpty() ? engineName(Engine::SQLServer)
                                                                  : config.engine.trimmed().toLower());
        m_engine->setCurrentIndex(at < 0 ? 0 : at);
        m_server = input("server");
        m_server->setText(config.dataIP);
        m_user = input("serverUser");
        m_user->setText(config.baseUser);
        m_serverPassword = passwordInput("serverPassword");
        m_serverPassword->setText(config.basepass);
        m_database = input("database");
        m_database->setText(config.engine == engineName(Engine::SQLite) ? config.dataDir : config.dbName);
        m_database->setPlaceholderText(QStringLiteral("PostgreSQL库名或SQLite数据目录"));
        form.add(QStringLiteral("数据库类型："), m_engine)
            .add(QStringLiteral("服务器地址："), m_server)
            .add(QStringLiteral("服务器用户："), m_user)
            .add(QStringLiteral("服务器密码："), m_serverPassword)
            .add(QStringLiteral("数据库名称："), m_database);
        // The server rows come between the enterprise and the operator.
        QWidget *order[] = {m_qymc, m_engine, m_server, m_user, m_serverPassword, m_database, m_code, m_password, m_login};
        for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    }
    form.add(QStringLiteral("操作员代码："), m_code)
        .add(QStringLiteral("操作员名称："), m_name)
        .add(QStringLiteral("部      门："), m_dept)
        .add(QStringLiteral("操作员密码："), m_password);
    fields->setMinimumWidth(320);

    QHBoxLayout *buttons = buttonRow({m_login});
    buttons->addSpacing(24);
    buttons->addWidget(button(QStringLiteral("退        出"), "quit", [this] { close(); }));
    buttons->addStretch();

    auto *title = new QLabel(QStringLiteral("饲料生产销售综合管理系统"), this);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 5);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(18);
    layout->addWidget(title);
    layout->addWidget(fields);
    layout->addLayout(buttons);

    // The code is looked up, then the password leads to "登    入". Nothing
    // waits to be reached: the code is usually remembered and the password
    // typed first.
    chain()
        .step(m_code, [this] { return lookUpOperator(); })
        .step(m_password, [this] { return Go::to(m_login); }, StepOptions{QString(), true, false, {}});

    restart = [] {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {}, QDir::currentPath());
    };
    showMain = [this] { mainWindow()->run(); };
    (m_code->text().isEmpty() ? m_code : m_password)->setFocus();
}

Tlogin::~Tlogin() = default;

Tmain *Tlogin::mainWindow()
{
    if (!m_main) m_main = std::make_unique<Tmain>(ctx(), this);
    return m_main.get();
}

Go Tlogin::lookUpOperator()
{
    if (m_mode != Mode::Configured) return Go::done(); // nothing to look in before the first run ends
    if (!ensureConnected()) return Go::stay();
    if (const auto op = Operators(session()).find(m_code->text())) {
        m_name->setText(op->name);
        m_dept->setText(op->dept);
        return Go::advance();
    }
    inform(QStringLiteral("查无此人，请重新输入！"));
    for (QLineEdit *e : {m_code, m_name, m_dept}) e->clear();
    return Go::stay();
}

void Tlogin::login()
{
    if (m_mode == Mode::FirstRun) firstRunLogin();
    else configuredLogin();
}

void Tlogin::firstRunLogin()
{
    AppConfig c = m_config;
    c.dataIP = m_server->text().trimmed();
    c.basepass = m_serverPassword->text();
    c.baseUser = m_user->text().trimmed();
    c.qymc = m_qymc->text().trimmed();
    c.username = m_code->text().trimmed();
    c.userpass.clear();
    c.engine = m_engine->currentData().toString();
    if (c.engine == engineName(Engine::SQLite)) {
        c.dataDir = m_database->text().trimmed();
        c.dbName.clear();
    } else {
        c.dbName = m_database->text().trimmed();
    }
    QString error;
    if (!ConfigFile::write(m_configPath, c, &error)) {
        inform(QStringLiteral("配置文件无法写入：") + error);
        return;
    }
    if (restart) restart();
    close();
}

bool Tlogin::ensureConnected()
{
    if (ctx().session && ctx().session->isOpen()) return true;
    ConnectionSettings cs;
    QString error;
    if (!m_config.connectionSettings(QFileInfo(m_configPath).absolutePath(), &cs, &error)) {
        inform(error);
        return false;
    }
    QString problem;
    const bool ok = guarded([&] {
        m_session = openInstallation(cs, &problem);
        ctx().session = m_session.get();
        m_main.reset(); // its windows belong to the old session
    });
    if (!problem.isEmpty()) inform(problem);
    return ok;
}

void Tlogin::configuredLogin()
{
    // What was typed is remembered on every attempt; the password never is.
    m_config.qymc = m_qymc->text();
    m_config.username = m_code->text();
    m_config.userpass.clear();
    QString error;
    if (!ConfigFile::write(m_configPath, m_config, &error)) inform(QStringLiteral("配置文件无法写入：") + error);

    if (!ensureConnected()) return;
    std::optional<Operator> op;
    if (!guarded([&] { op = Operators(session()).login(m_code->text(), m_password->text()); })) return;
    if (!op) {
        inform(QStringLiteral("密码错误！"));
        return;
    }
    // Every window, reused from an earlier login or not, works for this operator from now on.
    ctx().operatorCode = m_code->text().trimmed();
    ctx().operatorName = op->name;
    session().setActor({ctx().operatorCode, ctx().workstation, ctx().clock});
    inform(QStringLiteral("登录成功!"));
    m_password->clear();
    if (showMain) showMain();
}

} // namespace fm
