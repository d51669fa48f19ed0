#include "staff/windows/workereditwindow.h"

#include "data/dberror.h"
#include "staff/productionstaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

Tbzry_xg::Tbzry_xg(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_code(input("workerCode", ProductionStaff::kWorkerCodeLength)),
      m_team(input("workerTeam", ProductionStaff::kTeamCodeLength)),
      m_grid(new Grid(QStringList{QStringLiteral("班组"), QStringLiteral("姓名"), QStringLiteral("代码"), QStringLiteral("日期")},
                      this, "workers"))
{
    setWindowTitle(QStringLiteral("生产人员修改"));
    m_grid->setMinimumWidth(360);
    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 1);
    grid.layout()->setContentsMargins(0, 0, 0, 0);
    grid.layout()->setVerticalSpacing(12);
    grid.add(QStringLiteral("人员代码："), m_code)
        .add(QStringLiteral("人员姓名："), m_name)
        .add(QStringLiteral("所属班组："), m_team);
    grid.layout()->setRowStretch(3, 1);
    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(fields);
    top->addWidget(m_grid, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addLayout(buttonRow({m_delete, m_confirm, button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(640, 360);

    // The worker is found by code (or chosen in the list); then its name and
    // team may change.
    chain()
        .step(m_code,
              [this] {
                  const auto w = ProductionStaff(session(), *this->ctx().clock).findWorker(m_code->text());
                  if (!w) {
                      inform(QStringLiteral("查无此人，请重新输入！"));
                      return Go::stay();
                  }
                  showWorker(w->id);
                  return Go::done();
              })
        .step(m_team, [] { return Go::advance(); }, StepOptions{QString(), false, false, {m_name}})
        .step(m_confirm, [this] { return confirm(); });
    chain().on(m_name, [this] {
        if (m_chosen && !m_name->text().trimmed().isEmpty()) EnterChain::focusField(m_team);
    });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64, int row) { chooseRow(row); });
}

void Tbzry_xg::activate()
{
    guarded([this] { reload(); });
    startOver();
}

void Tbzry_xg::reload()
{
    std::vector<GridRow> rows;
    for (const Worker &w : ProductionStaff(session(), *ctx().clock).workers())
        rows.push_back({w.id, {w.team, w.name, w.code, w.date}});
    m_grid->setRows(std::move(rows));
}

void Tbzry_xg::startOver()
{
    m_chosen = 0;
    for (QLineEdit *e : {m_code, m_name, m_team}) e->clear();
    m_delete->setEnabled(false);
    chain().reset();
}

void Tbzry_xg::chooseRow(int row)
{
    const qint64 id = m_grid->idAt(row);
    if (!id) return;
    m_grid->selectId(id);
    showWorker(id);
    if (m_chosen) m_delete->setEnabled(true);
}

void Tbzry_xg::showWorker(qint64 id)
{
    std::optional<Worker> w;
    guarded([&] { w = ProductionStaff(session(), *this->ctx().clock).workerById(id); });
    if (!w) return;
    m_chosen = w->id;
    m_code->setText(w->code);
    m_name->setText(w->name);
    m_team->setText(w->team);
    chain().reach(m_team);
}

Go Tbzry_xg::confirm()
{
    if (!m_chosen || !ask(QStringLiteral("确认否？"))) return Go::stay();
    try {
        ProductionStaff(session(), *ctx().clock).changeWorker(m_chosen, m_name->text(), m_team->text());
    } catch (const DomainError &e) {
        // The worker stays chosen so that an existing team can be typed.
        inform(e.message());
        return Go::to(m_team);
    }
    reload();
    startOver();
    m_grid->view()->setFocus();
    return Go::done();
}

void Tbzry_xg::deleteWorker()
{
    if (!m_chosen || !ask(QStringLiteral("确认删除？"))) return;
    // The worker chosen, whatever the code field says by now.
    ProductionStaff(session(), *ctx().clock).deleteWorkerKeepingWages(m_chosen);
    reload();
    startOver();
}

} // namespace fm
