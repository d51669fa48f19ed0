#pragma once
// The production login of a workshop station: a full-screen picture with an
// operator's name and password. A successful login opens the production
// window; "退出" quits the application (it never restarts the computer).

#include "shell/windows/windowregistry.h"
#include "ui/functionwindow.h"

#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Session;
class Tscgl;

class Tsc_dl : public QWidget, public Form {
    Q_OBJECT
public:
    Tsc_dl(AppContext &ctx, std::unique_ptr<Session> session, QWidget *parent = nullptr);
    ~Tsc_dl() override;

    static QString caption(const QString &qymc);
    // Fills the name list with every operator's name.
    void activate();
    void login();
    void quitAsked();

    // Opens the production window after a login; tests replace it.
    std::function<void()> openProduction;
    // Ends the application; tests replace it.
    std::function<void()> quit;

    QComboBox *nameList() const { return m_name; }
    QLineEdit *passwordField() const { return m_password; }
    QPushButton *loginButton() const { return m_login; }
    QPushButton *quitButton() const { return m_quit; }
    Tscgl *productionWindow();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Session> m_session;
    std::unique_ptr<WindowRegistry> m_registry;
    std::unique_ptr<Tscgl> m_production;
    QComboBox *m_name;
    QLineEdit *m_password;
    QPushButton *m_login;
    QPushButton *m_quit;
};

} // namespace fm
