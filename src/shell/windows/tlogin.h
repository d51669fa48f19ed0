#pragma once
// The login window: the application's main window for the whole run. In
// first-run mode it also takes the server settings and writes config.ini.
// It is a plain widget (the main window of the run), built from the form kit.

#include "shell/configfile.h"
#include "ui/functionwindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;

namespace fm {

class Session;
class Tmain;

class Tlogin : public QWidget, public Form {
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

private:
    Go lookUpOperator();
    void firstRunLogin();
    void configuredLogin();
    bool ensureConnected();

    Mode m_mode;
    AppConfig m_config;
    QString m_configPath;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<Tmain> m_main;

    QLineEdit *m_qymc = input("enterprise", 40);
    QComboBox *m_engine = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_serverPassword = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_code = input("operatorCode", 5);
    QLineEdit *m_name = display("operatorName");
    QLineEdit *m_dept = display("department");
    QLineEdit *m_password;
    QPushButton *m_login = button(QStringLiteral("登    入"), "login", [this] { login(); });
};

} // namespace fm
