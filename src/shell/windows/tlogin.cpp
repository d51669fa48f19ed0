#include "shell/windows/tlogin.h"

#include "data/session.h"
#include "shell/operators.h"
#include "shell/windows/tmain.h"
#include "ui/enterchain.h"
#include "ui/prompter.h"
#include "ui/layouts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

namespace fm {

Tlogin::Tlogin(AppContext &ctx, Mode mode, const AppConfig &config, const QString &configPath,
               std::unique_ptr<Session> session, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_mode(mode), m_config(config), m_configPath(configPath),
      m_session(std::move(session)), m_enter(new EnterChain(this))
{
    if (m_session) m_ctx.session = m_session.get();
    m_ctx.qymc = config.qymc;
    m_ctx.workstation = workstationIdentity(config);
    setWindowTitle(mode == Mode::Configured ? config.qymc : QString());
    QApplication::setApplicationDisplayName(mode == Mode::Configured ? config.qymc : QString());

    auto makeField = [this](bool readOnly) {
        auto *e = new QLineEdit(this);
        e->setReadOnly(readOnly);
        e->setMinimumWidth(200);
        return e;
    };
    m_qymc = makeField(false);
    m_qymc->setText(config.qymc);
    m_code = makeField(false);
    m_code->setMaxLength(5);
    m_code->setText(config.username);
    m_name = makeField(true);
    m_dept = makeField(true);
    m_password = makeField(false);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kPasswordMaxLength);

    auto *form = new QFormLayout;
    form->setVerticalSpacing(12);
    form->addRow(QStringLiteral("企 业 名 称："), m_qymc);
    if (mode == Mode::FirstRun) {
        m_engine = new QComboBox(this);
        m_engine->addItem(QStringLiteral("SQL Server"), engineName(Engine::SQLServer));
        m_engine->addItem(QStringLiteral("PostgreSQL"), engineName(Engine::PostgreSQL));
        m_engine->addItem(QStringLiteral("内置数据库(SQLite)"), engineName(Engine::SQLite));
        const int at = m_engine->findData(config.engine.isEmpty() ? engineName(Engine::SQLServer) : config.engine.trimmed().toLower());
        m_engine->setCurrentIndex(at < 0 ? 0 : at);
        m_server = makeField(false);
        m_server->setText(config.dataIP);
        m_user = makeField(false);
        m_user->setText(config.baseUser);
        m_serverPassword = makeField(false);
        m_serverPassword->setEchoMode(QLineEdit::Password);
        m_serverPassword->setText(config.basepass);
        m_database = makeField(false);
        m_database->setText(config.engine == engineName(Engine::SQLite) ? config.dataDir : config.dbName);
        m_database->setPlaceholderText(QStringLiteral("PostgreSQL库名或SQLite数据目录"));
        form->addRow(QStringLiteral("数据库类型："), m_engine);
        form->addRow(QStringLiteral("服务器地址："), m_server);
        form->addRow(QStringLiteral("服务器用户："), m_user);
        form->addRow(QStringLiteral("服务器密码："), m_serverPassword);
        form->addRow(QStringLiteral("数据库名称："), m_database);
    }
    form->addRow(QStringLiteral("操作员代码："), m_code);
    form->addRow(QStringLiteral("操作员名称："), m_name);
    form->addRow(QStringLiteral("部      门："), m_dept);
    form->addRow(QStringLiteral("操作员密码："), m_password);

    m_login = new QPushButton(QStringLiteral("登    入"), this);
    auto *quit = new QPushButton(QStringLiteral("退        出"), this);
    QHBoxLayout *buttons = buttonRow({m_login});
    buttons->addSpacing(24);
    buttons->addWidget(quit);
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
    layout->addLayout(form);
    layout->addLayout(buttons);

    m_enter->on(m_code, [this] { lookUpOperator(); });
    m_enter->on(m_password, [this] { m_login->setFocus(); });
    connect(m_login, &QPushButton::clicked, this, &Tlogin::login);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    EnterChain::noAutoDefault(this);

    restart = [] {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {}, QDir::currentPath());
    };
    showMain = [this] { mainWindow()->run(); };
    (m_code->text().isEmpty() ? m_code : m_password)->setFocus();
}

Tlogin::~Tlogin() = default;

Tmain *Tlogin::mainWindow()
{
    if (!m_main) m_main = std::make_unique<Tmain>(m_ctx, this);
    return m_main.get();
}

void Tlogin::lookUpOperator()
{
    if (m_mode != Mode::Configured || m_code->text().trimmed().isEmpty()) return;
    if (!ensureConnected()) return;
    std::optional<Operator> op;
    try {
        op = Operators(*m_ctx.session).find(m_code->text());
    } catch (const DbError &e) {
        m_ctx.prompter->inform(this, e.message());
        return;
    }
    if (op) {
        m_name->setText(op->name);
        m_dept->setText(op->dept);
        m_password->setFocus();
    } else {
        m_ctx.prompter->inform(this, QStringLiteral("查无此人，请重新输入！"));
        m_code->clear();
        m_name->clear();
        m_dept->clear();
        m_code->setFocus();
    }
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
        m_ctx.prompter->inform(this, QStringLiteral("配置文件无法写入：") + error);
        return;
    }
    if (restart) restart();
    close();
}

bool Tlogin::ensureConnected()
{
    if (m_ctx.session && m_ctx.session->isOpen()) return true;
    ConnectionSettings cs;
    QString error;
    if (!m_config.connectionSettings(QFileInfo(m_configPath).absolutePath(), &cs, &error)) {
        m_ctx.prompter->inform(this, error);
        return false;
    }
    try {
        m_session = Session::open(cs);
        m_ctx.session = m_session.get();
        if (m_main) m_main.reset(); // its windows belong to the old session
        return true;
    } catch (const DbError &e) {
        m_ctx.prompter->inform(this, e.message());
        return false;
    }
}

void Tlogin::configuredLogin()
{
    // What was typed is remembered on every attempt; the password never is.
    m_config.qymc = m_qymc->text();
    m_config.username = m_code->text();
    m_config.userpass.clear();
    QString error;
    if (!ConfigFile::write(m_configPath, m_config, &error))
        m_ctx.prompter->inform(this, QStringLiteral("配置文件无法写入：") + error);

    if (!ensureConnected()) return;
    std::optional<Operator> op;
    try {
        op = Operators(*m_ctx.session).login(m_code->text(), m_password->text());
    } catch (const DbError &e) {
        m_ctx.prompter->inform(this, e.message());
        return;
    }
    if (!op) {
        m_ctx.prompter->inform(this, QStringLiteral("密码错误！"));
        return;
    }
    m_ctx.operatorCode = m_code->text().trimmed();
    m_ctx.operatorName = op->name;
    m_ctx.prompter->inform(this, QStringLiteral("登录成功!"));
    m_password->clear();
    if (showMain) showMain();
}

} // namespace fm
