#include "staff/windows/productionstaffwindow.h"

#include "data/dberror.h"
#include "staff/productionstaff.h"
#include "staff/windows/teamdeletewindow.h"
#include "staff/windows/workereditwindow.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QtDebug>
#include <exception>

namespace fm {

namespace {

Grid *teamList(QWidget *parent, const char *name)
{
    return new Grid(QStringList{QStringLiteral("班组代码"), QStringLiteral("班组名称")}, parent, name);
}

} // namespace

Tvel_scry::Tvel_scry(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_code(input("workerCode", ProductionStaff::kWorkerCodeLength)),
      m_team(input("workerTeam", ProductionStaff::kTeamCodeLength)), m_pages(new QStackedWidget(this)),
      m_workers(new Grid(QStringList{QStringLiteral("人员代码"), QStringLiteral("人员名称"), QStringLiteral("班组"),
                                     QStringLiteral("日期")},
                         this, "workers")),
      m_panel(new QGroupBox(QStringLiteral("增加班组"), this)),
      m_newTeamCode(input("newTeamCode", ProductionStaff::kTeamCodeLength)),
      m_teamEnd(button(QStringLiteral("结束"), "newTeamEnd", [this] {
          showWorkers();
          EnterChain::focusField(m_code);
      })),
      m_teams(teamList(this, "teams")), m_chooserPage(new QWidget(this)), m_chooser(teamList(this, "teamChooser")),
      m_addTeam(button(QStringLiteral("增加班组"), "addTeam", [this] {
          if (m_pages->currentWidget() == m_panel) showWorkers();
          else showTeamPanel();
      }))
{
    setWindowTitle(QStringLiteral("公司生产人员管理"));

    auto *inputs = new QWidget(this);
    FieldGrid fields(inputs, 3);
    fields.layout()->setContentsMargins(0, 0, 0, 0);
    fields.add(QStringLiteral("人员代码："), m_code)
        .add(QStringLiteral("人员名称："), m_name)
        .add(QStringLiteral("班组："), m_team);

    // The middle of the window: the workers, the team panel, or the teams to choose from.
    m_pages->addWidget(m_workers);
    auto *teamFields = new QWidget(m_panel);
    FieldGrid panelFields(teamFields, 1);
    panelFields.layout()->setContentsMargins(0, 0, 0, 0);
    panelFields.add(QStringLiteral("班组代码："), m_newTeamCode).add(QStringLiteral("班组名称："), m_newTeamName);
    panelFields.layout()->addLayout(buttonRow({m_teamConfirm, m_teamEnd}), 2, 0, 1, 2);
    panelFields.layout()->setRowStretch(3, 1);
    auto *panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(20);
    panelLayout->addWidget(teamFields);
    panelLayout->addWidget(m_teams, 1);
    m_pages->addWidget(m_panel);

    auto *chooserLayout = new QVBoxLayout(m_chooserPage);
    chooserLayout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("班组："), m_chooserPage);
    caption->setBuddy(m_chooser->view());
    chooserLayout->addWidget(caption);
    chooserLayout->addWidget(m_chooser, 1);
    m_pages->addWidget(m_chooserPage);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(inputs);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttonRow({m_addTeam, button(QStringLiteral("修改"), "edit", [this] { openChild(workerEditor()); }),
                                 button(QStringLiteral("班组删除"), "deleteTeam", [this] { openChild(teamDeleter()); }),
                                 button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(640, 420);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_name,
              [this] {
                  if (m_name->text().trimmed().isEmpty())
                      throw DomainError(QStringLiteral("名称不能为空!"), ErrorCode::Incomplete);
                  return Go::advance();
              },
              StepOptions{QString(), true, false, {}})
        .step(m_team, [this] { return teamEntered(); }, StepOptions{QString(), true, false, {}});
    connect(m_chooser, &Grid::rowClicked, this, [this](qint64, int row) { teamChosen(row); });

    m_teamChain
        .step(m_newTeamCode,
              [this] {
                  emptyIfRefused(m_newTeamCode, [&] {
                      ProductionStaff(session(), *this->ctx().clock).checkNewTeamCode(m_newTeamCode->text());
                  });
                  return Go::advance();
              })
        .step(m_newTeamName,
              [this] {
                  m_teamConfirm->setVisible(true);
                  m_teamEnd->setVisible(true);
                  return Go::advance();
              })
        .step(m_teamConfirm, [this] { return confirmNewTeam(); });
}

QWidget *Tvel_scry::currentPage() const
{
    return m_pages->currentWidget();
}

QWidget *Tvel_scry::workerPage() const
{
    return m_workers;
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
    guarded([this] { reloadWorkers(); });
    showWorkers();
    startOver();
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
    guarded([this] {
        reloadWorkers();
        reloadTeams();
    });
}

void Tvel_scry::reloadWorkers()
{
    std::vector<GridRow> rows;
    for (const Worker &w : ProductionStaff(session(), *ctx().clock).workers())
        rows.push_back({w.id, {w.code, w.name, w.team, w.date}});
    m_workers->setRows(std::move(rows));
}

void Tvel_scry::reloadTeams()
{
    std::vector<GridRow> rows;
    for (const Team &t : ProductionStaff(session(), *ctx().clock).teams()) rows.push_back({t.id, {t.code, t.name}});
    m_teams->setRows(rows);
    m_chooser->setRows(std::move(rows));
}

void Tvel_scry::showWorkers()
{
    m_pages->setCurrentWidget(m_workers);
}

void Tvel_scry::showTeamPanel()
{
    guarded([this] { reloadTeams(); });
    m_newTeamCode->clear();
    m_newTeamName->clear();
    m_teamConfirm->setVisible(false);
    m_teamEnd->setVisible(false);
    m_pages->setCurrentWidget(m_panel);
    m_teamChain.reset();
}

void Tvel_scry::showChooser()
{
    reloadTeams();
    m_pages->setCurrentWidget(m_chooserPage);
    m_chooser->view()->setFocus();
}

void Tvel_scry::startOver()
{
    for (QLineEdit *e : {m_code, m_name, m_team}) e->clear();
    chain().reset();
}

// --- workers ----------------------------------------------------------------

Go Tvel_scry::codeEntered()
{
    const QString code = m_code->text().trimmed();
    ProductionStaff staff(session(), *ctx().clock);
    const auto found = staff.findWorker(code);
    if (!found) return Go::advance();
    // Typing the code of a worker already on the books offers to remove that worker.
    if (!ask(QStringLiteral("该人员") + code + QStringLiteral("已经在班组") + found->team
             + QStringLiteral("中,删除该人员？")))
        return Go::stay();
    staff.removeWorker(found->id);
    inform(code + QStringLiteral("已经删除!"));
    reloadWorkers();
    startOver();
    return Go::done();
}

Go Tvel_scry::teamEntered()
{
    const QString code = m_code->text().trimmed();
    const QString team = m_team->text().trimmed();
    ProductionStaff staff(session(), *ctx().clock);
    if (team.isEmpty()) {
        if (!staff.hasTeams()) {
            inform(QStringLiteral("请先输入班组资料!"));
            return Go::to(m_addTeam);
        }
        showChooser();
        return Go::done();
    }
    if (!staff.findTeam(team)) {
        showChooser();
        return Go::done();
    }
    if (!ask(QStringLiteral("确认在") + team + QStringLiteral("班中增加人员") + code + QStringLiteral("吗？")))
        return Go::stay();
    staff.addWorker(code, m_name->text(), team);
    reloadWorkers();
    startOver();
    return Go::done();
}

void Tvel_scry::teamChosen(int row)
{
    if (row < 0) return;
    m_team->setText(m_chooser->textAt(row, 0));
    showWorkers();
    chain().reach(m_team);
}

// --- teams ------------------------------------------------------------------

Go Tvel_scry::confirmNewTeam()
{
    ProductionStaff(session(), *ctx().clock).addTeam(m_newTeamCode->text(), m_newTeamName->text());
    reloadTeams();
    m_newTeamCode->clear();
    m_newTeamName->clear();
    m_teamChain.reset();
    return Go::done();
}

} // namespace fm
