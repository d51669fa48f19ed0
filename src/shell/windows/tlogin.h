#pragma once
// The login window: the application's main window for the whole run. In
// first-run mode it also takes the server settings and writes config.ini.

#include "shell/appcontext.h"
#include "shell/configfile.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

namespace fm {

class Session;
class EnterChain;
class Tmain;

class Tlogin : public QWidget {
    Q_OBJECT
public:
    enum class Mode { FirstRun, Configured };

    // config: what to show (the file's content, or the pre-filled first-run form).
    Tlogin(AppContext &ctx, Mode mode, const AppConfig &config, const QString &configPath,
           std::unique_ptr<Session> session, QWidget *parent = nullptr);
    ~Tlogin() override;

    Mode mode() const { return m_mode; }
    // Starts the new instance after first-run setup; tests replace it.
    std::function<void()> restart;
    // Shows the main window after a successful login; tests replace it.
    std::function<void()> showMain;

    QLineEdit *enterpriseField() const { return m_qymc; }
    QLineEdit *codeField() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *passwordField() const { return m_password; }
    QPushButton *loginButton() const { return m_login; }
    Tmain *mainWindow();

    void login();
    void lookUpOperator();

private:
    void firstRunLogin();
    void configuredLogin();
    bool ensureConnected();

    AppContext &m_ctx;
    Mode m_mode;
    AppConfig m_config;
    QString m_configPath;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<Tmain> m_main;
    EnterChain *m_enter;

    QLineEdit *m_qymc;
    QComboBox *m_engine = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_serverPassword = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_dept;
    QLineEdit *m_password;
    QPushButton *m_login;
};

} // namespace fm
