#include "staff/windows/productionstaffwindow.h"

#include "common/clock.h"
#include "staff/productionstaff.h"
#include "staff/windows/staffgrid.h"
#include "staff/windows/teamdeletewindow.h"
#include "staff/windows/workereditwindow.h"
#include "ui/enterchain.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtDebug>
#include <exception>

namespace fm {

Tvel_scry::Tvel_scry(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("公司生产人员管理"));

    m_code = new QLineEdit(this);
    m_code->setMaxLength(ProductionStaff::kWorkerCodeLength);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(10);
    m_team = new QLineEdit(this);
    m_team->setMaxLength(ProductionStaff::kTeamCodeLength);
    m_team->setMaximumWidth(80);

    auto *inputs = new QHBoxLayout;
    inputs->setSpacing(8);
    inputs->addWidget(new QLabel(QStringLiteral("人员代码："), this));
    inputs->addWidget(m_code);
    inputs->addSpacing(12);
    inputs->addWidget(new QLabel(QStringLiteral("人员名称："), this));
    inputs->addWidget(m_name);
    inputs->addSpacing(12);
    inputs->addWidget(new QLabel(QStringLiteral("班组："), this));
    inputs->addWidget(m_team);
    inputs->addStretch();

    // The middle of the window: the workers, the team panel, or the teams to choose from.
    m_pages = new QStackedWidget(this);
    m_workers = staffgrid::make(this, {QStringLiteral("人员代码"), QStringLiteral("人员名称"),
                                       QStringLiteral("班组"), QStringLiteral("日期")});
    m_pages->addWidget(m_workers);

    auto *panel = new QGroupBox(QStringLiteral("增加班组"), this);
    m_panel = panel;
    m_newTeamCode = new QLineEdit(m_panel);
    m_newTeamCode->setMaxLength(ProductionStaff::kTeamCodeLength);
    m_newTeamName = new QLineEdit(m_panel);
    m_newTeamName->setMaxLength(10);
    m_teamConfirm = new QPushButton(QStringLiteral("确认"), m_panel);
    m_teamEnd = new QPushButton(QStringLiteral("结束"), m_panel);
    m_teams = staffgrid::make(m_panel, {QStringLiteral("班组代码"), QStringLiteral("班组名称")});
    auto *teamForm = new QFormLayout;
    teamForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    teamForm->setVerticalSpacing(12);
    teamForm->addRow(QStringLiteral("班组代码："), m_newTeamCode);
    teamForm->addRow(QStringLiteral("班组名称："), m_newTeamName);
    auto *teamButtons = new QHBoxLayout;
    teamButtons->addStretch();
    teamButtons->addWidget(m_teamConfirm);
    teamButtons->addWidget(m_teamEnd);
    auto *teamLeft = new QVBoxLayout;
    teamLeft->addLayout(teamForm);
    teamLeft->addLayout(teamButtons);
    teamLeft->addStretch();
    auto *panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(20);
    panelLayout->addLayout(teamLeft);
    panelLayout->addWidget(m_teams, 1);
    m_pages->addWidget(m_panel);

    m_chooserPage = new QWidget(this);
    m_chooser = staffgrid::make(m_chooserPage, {QStringLiteral("班组代码"), QStringLiteral("班组名称")});
    auto *chooserLayout = new QVBoxLayout(m_chooserPage);
    chooserLayout->setContentsMargins(0, 0, 0, 0);
    chooserLayout->addWidget(new QLabel(QStringLiteral("班组："), m_chooserPage));
    chooserLayout->addWidget(m_chooser, 1);
    m_pages->addWidget(m_chooserPage);

    m_addTeam = new QPushButton(QStringLiteral("增加班组"), this);
    auto *edit = new QPushButton(QStringLiteral("修改"), this);
    auto *deleteTeam = new QPushButton(QStringLiteral("班组删除"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_addTeam, edit, deleteTeam, quit}) {
        b->setMinimumWidth(80);
        buttons->addWidget(b);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addLayout(inputs);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(640, 420);

    enter().on(m_code, [this] { codeEntered(); });
    enter().on(m_name, [this] { nameEntered(); });
    enter().on(m_team, [this] { teamEntered(); });
    connect(m_chooser, &QTableWidget::cellClicked, this, [this](int row, int) { teamChosen(row); });
    enter().on(m_newTeamCode, [this] { newTeamCodeEntered(); });
    enter().on(m_newTeamName, [this] { newTeamNameEntered(); });
    connect(m_teamConfirm, &QPushButton::clicked, this, &Tvel_scry::confirmNewTeam);
    connect(m_teamEnd, &QPushButton::clicked, this, &Tvel_scry::endNewTeam);
    connect(m_addTeam, &QPushButton::clicked, this, [this] {
        if (m_pages->currentWidget() == m_panel)
            showWorkers();
        else
            showTeamPanel();
    });
    connect(edit, &QPushButton::clicked, this, [this] { openChild(workerEditor()); });
    connect(deleteTeam, &QPushButton::clicked, this, [this] { openChild(teamDeleter()); });
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

QWidget *Tvel_scry::currentPage() const
{
    return m_pages->currentWidget();
}

QWidget *Tvel_scry::workerPage() const
{
    return m_workers;
}

QWidget *Tvel_scry::chooserPage() const
{
    return m_chooserPage;
}

Tbzry_xg *Tvel_scry::workerEditor()
{
    if (!m_editor) m_editor = new Tbzry_xg(ctx(), this);
    return m_editor;
}

Tbzsc *Tvel_scry::teamDeleter()
{
    if (!m_deleter) m_deleter = new Tbzsc(ctx(), this);
    return m_deleter;
}

void Tvel_scry::activate()
{
    clearWorkerInputs();
    reloadWorkers();
    showWorkers();
}

void Tvel_scry::openChild(FunctionWindow *w)
{
    try {
        w->run();
    } catch (const std::exception &e) {
        qWarning() << "staff window:" << e.what();
        inform(QStringLiteral("程序错误!"));
    }
    // Lists are renewed; what is being typed here stays.
    reloadWorkers();
    reloadTeams();
}

void Tvel_scry::reloadWorkers()
{
    std::vector<Worker> workers;
    guarded([&] { workers = ProductionStaff(session(), *ctx().clock).workers(); });
    m_workers->setRowCount(0);
    for (const Worker &w : workers) staffgrid::addRow(m_workers, w.id, {w.code, w.name, w.team, w.date});
    staffgrid::fit(m_workers);
}

void Tvel_scry::reloadTeams()
{
    std::vector<Team> teams;
    guarded([&] { teams = ProductionStaff(session(), *ctx().clock).teams(); });
    for (QTableWidget *grid : {m_teams, m_chooser}) {
        grid->setRowCount(0);
        for (const Team &t : teams) staffgrid::addRow(grid, t.id, {t.code, t.name});
        staffgrid::fit(grid);
    }
}

void Tvel_scry::showWorkers()
{
    m_pages->setCurrentWidget(m_workers);
}

void Tvel_scry::showTeamPanel()
{
    reloadTeams();
    m_newTeamCode->clear();
    m_newTeamName->clear();
    m_newTeamName->setEnabled(false);
    m_teamConfirm->setVisible(false);
    m_teamEnd->setVisible(false);
    m_pages->setCurrentWidget(m_panel);
    m_newTeamCode->setEnabled(true);
    m_newTeamCode->setFocus();
}

void Tvel_scry::showChooser()
{
    reloadTeams();
    m_pages->setCurrentWidget(m_chooserPage);
    m_chooser->setFocus();
}

void Tvel_scry::clearWorkerInputs()
{
    m_code->clear();
    m_name->clear();
    m_team->clear();
    m_name->setEnabled(false);
    m_team->setEnabled(false);
    m_code->setEnabled(true);
    m_code->setFocus();
}

// --- workers ----------------------------------------------------------------

void Tvel_scry::codeEntered()
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) return;
    std::optional<Worker> found;
    if (!guarded([&] { found = ProductionStaff(session(), *ctx().clock).findWorker(code); })) return;
    if (!found) {
        EnterChain::advance(m_name);
        return;
    }
    // Typing the code of a worker already on the books offers to remove that worker.
    if (!ask(QStringLiteral("该人员") + code + QStringLiteral("已经在班组") + found->team
             + QStringLiteral("中,删除该人员？"))) {
        m_code->setFocus();
        return;
    }
    if (!guarded([&] { ProductionStaff(session(), *ctx().clock).removeWorker(found->id); })) return;
    inform(code + QStringLiteral("已经删除!"));
    reloadWorkers();
    clearWorkerInputs();
}

void Tvel_scry::nameEntered()
{
    if (m_name->text().trimmed().isEmpty()) {
        inform(QStringLiteral("名称不能为空!"));
        m_name->setFocus();
        return;
    }
    EnterChain::advance(m_team);
}

void Tvel_scry::teamEntered()
{
    const QString code = m_code->text().trimmed();
    const QString name = m_name->text().trimmed();
    const QString team = m_team->text().trimmed();
    ProductionStaff staff(session(), *ctx().clock);
    if (!code.isEmpty() && !name.isEmpty() && !team.isEmpty()) {
        std::optional<Team> t;
        if (!guarded([&] { t = staff.findTeam(team); })) return;
        if (!t) {
            showChooser();
            return;
        }
        if (!ask(QStringLiteral("确认在") + team + QStringLiteral("班中增加人员") + code + QStringLiteral("吗？"))) {
            m_team->setFocus();
            return;
        }
        if (!guarded([&] { staff.addWorker(code, name, team); })) {
            m_team->setFocus();
            return;
        }
        reloadWorkers();
        clearWorkerInputs();
        return;
    }
    if (code.isEmpty()) return;
    bool any = false;
    if (!guarded([&] { any = staff.hasTeams(); })) return;
    if (!any) {
        inform(QStringLiteral("请先输入班组资料!"));
        m_addTeam->setFocus();
        return;
    }
    showChooser();
}

void Tvel_scry::teamChosen(int row)
{
    const QTableWidgetItem *item = m_chooser->item(row, 0);
    if (!item) return;
    m_team->setText(item->text());
    showWorkers();
    EnterChain::advance(m_team);
}

// --- teams ------------------------------------------------------------------

void Tvel_scry::newTeamCodeEntered()
{
    if (m_newTeamCode->text().trimmed().isEmpty()) return;
    if (!guarded([this] { ProductionStaff(session(), *ctx().clock).checkNewTeamCode(m_newTeamCode->text()); })) {
        m_newTeamCode->clear();
        m_newTeamCode->setFocus();
        return;
    }
    EnterChain::advance(m_newTeamName);
}

void Tvel_scry::newTeamNameEntered()
{
    if (m_newTeamName->text().trimmed().isEmpty()) return;
    for (QPushButton *b : {m_teamConfirm, m_teamEnd}) {
        b->setVisible(true);
        b->setEnabled(true);
    }
    m_teamConfirm->setFocus();
}

void Tvel_scry::confirmNewTeam()
{
    if (!guarded([this] {
            ProductionStaff(session(), *ctx().clock).addTeam(m_newTeamCode->text(), m_newTeamName->text());
        }))
        return;
    reloadTeams();
    m_newTeamCode->clear();
    m_newTeamName->clear();
    m_newTeamName->setEnabled(false);
    m_teamConfirm->setEnabled(false);
    m_newTeamCode->setFocus();
}

void Tvel_scry::endNewTeam()
{
    showWorkers();
    m_code->setEnabled(true);
    m_code->setFocus();
}

} // namespace fm
