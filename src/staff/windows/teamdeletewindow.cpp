#include "staff/windows/teamdeletewindow.h"

#include "common/clock.h"
#include "staff/productionstaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QTableView>
#include <QVBoxLayout>

namespace fm {

Tbzsc::Tbzsc(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_grid(new Grid(QStringList{QStringLiteral("班组代码"), QStringLiteral("班组名称")}, this, "teams"))
{
    setWindowTitle(QStringLiteral("班组删除"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_delete, button(QStringLiteral("关闭"), "close", [this] { accept(); })}));
    resize(340, 320);
    connect(m_grid, &Grid::rowClicked, this, [this](qint64, int row) { chooseRow(row); });
}

void Tbzsc::activate()
{
    guarded([this] { reload(); });
}

void Tbzsc::reload()
{
    std::vector<GridRow> rows;
    for (const Team &t : ProductionStaff(session(), *ctx().clock).teams()) rows.push_back({t.id, {t.code, t.name}});
    m_grid->setRows(std::move(rows));
    m_chosen = 0;
    m_code.clear();
    m_name.clear();
    m_delete->setEnabled(false);
    m_grid->view()->setFocus();
}

void Tbzsc::chooseRow(int row)
{
    const qint64 id = m_grid->idAt(row);
    if (!id) return;
    m_grid->selectId(id);
    m_chosen = id;
    m_code = m_grid->textAt(row, 0);
    m_name = m_grid->textAt(row, 1);
    m_delete->setEnabled(true);
}

void Tbzsc::deleteTeam()
{
    if (!m_chosen || !ask(QStringLiteral("确认删除") + m_code + m_name + QStringLiteral("吗？"))) return;
    ProductionStaff(session(), *ctx().clock).deleteTeam(m_chosen);
    reload();
}

} // namespace fm
