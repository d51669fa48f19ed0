#pragma once
#include "ui/functionwindow.h"

#include <QLineEdit>
#include <QPushButton>

class QStackedWidget;

namespace fm {

class Grid;
class Tbzry_xg;
class Tbzsc;

// "公司生产人员管理": workers added to teams (or removed by typing their
// code), teams added, and the windows that change a worker or delete a team.
class Tvel_scry : public FunctionWindow {
    Q_OBJECT
public:
    Tvel_scry(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeField() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *teamField() const { return m_team; }
    Grid *workerGrid() const { return m_workers; }
    Grid *teamChooser() const { return m_chooser; }
    QPushButton *addTeamButton() const { return m_addTeam; }
    QLineEdit *newTeamCode() const { return m_newTeamCode; }
    QLineEdit *newTeamName() const { return m_newTeamName; }
    QPushButton *newTeamConfirm() const { return m_teamConfirm; }
    QPushButton *newTeamEnd() const { return m_teamEnd; }
    Grid *teamGrid() const { return m_teams; }
    // The page shown in the middle: the workers, the team panel or the team chooser.
    QWidget *currentPage() const;
    QWidget *workerPage() const;
    QWidget *teamPanel() const { return m_panel; }
    QWidget *chooserPage() const { return m_chooserPage; }

    // The windows "修改" and "班组删除" open, built on first use.
    Tbzry_xg *workerEditor();
    Tbzsc *teamDeleter();

private:
    void reloadWorkers();
    void reloadTeams();
    void showWorkers();
    void showTeamPanel();
    void showChooser();
    void startOver();

    Go codeEntered();
    Go teamEntered();
    void teamChosen(int row);
    Go confirmNewTeam();
    void openChild(FunctionWindow *w);

    QLineEdit *m_code;
    QLineEdit *m_name = input("workerName", 10);
    QLineEdit *m_team;
    QStackedWidget *m_pages;
    Grid *m_workers;
    QWidget *m_panel;
    QLineEdit *m_newTeamCode;
    QLineEdit *m_newTeamName = input("newTeamName", 10);
    QPushButton *m_teamConfirm = button(QStringLiteral("确认"), "newTeamConfirm");
    QPushButton *m_teamEnd;
    Grid *m_teams;
    QWidget *m_chooserPage;
    Grid *m_chooser;
    QPushButton *m_addTeam;
    EnterChain &m_teamChain = addChain();

    Tbzry_xg *m_editor = nullptr;
    Tbzsc *m_deleter = nullptr;
};

} // namespace fm
