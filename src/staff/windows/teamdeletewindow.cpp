#include "staff/windows/teamdeletewindow.h"

#include "common/clock.h"
#include "staff/productionstaff.h"
#include "staff/windows/staffgrid.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>

namespace fm {

Tbzsc::Tbzsc(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("班组删除"));
    m_grid = staffgrid::make(this, {QStringLiteral("班组代码"), QStringLiteral("班组名称")});
    m_delete = new QPushButton(QStringLiteral("删除"), this);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);

    QHBoxLayout *buttons = buttonRow({m_delete, close});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(340, 320);

    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { chooseRow(row); });
    connect(m_delete, &QPushButton::clicked, this, &Tbzsc::deleteTeam);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void Tbzsc::activate()
{
    reload();
}

void Tbzsc::reload()
{
    std::vector<Team> teams;
    guarded([&] { teams = ProductionStaff(session(), *ctx().clock).teams(); });
    m_grid->setRowCount(0);
    for (const Team &t : teams) staffgrid::addRow(m_grid, t.id, {t.code, t.name});
    staffgrid::fit(m_grid);
    m_chosen = 0;
    m_code.clear();
    m_name.clear();
    m_delete->setEnabled(false);
    m_grid->setFocus();
}

void Tbzsc::chooseRow(int row)
{
    const qint64 id = staffgrid::idAt(m_grid, row);
    if (!id) return;
    m_grid->selectRow(row);
    m_chosen = id;
    m_code = m_grid->item(row, 0)->text();
    m_name = m_grid->item(row, 1) ? m_grid->item(row, 1)->text() : QString();
    m_delete->setEnabled(true);
}

void Tbzsc::deleteTeam()
{
    if (!m_chosen) return;
    if (!ask(QStringLiteral("确认删除") + m_code + m_name + QStringLiteral("吗？"))) return;
    guarded([this] { ProductionStaff(session(), *ctx().clock).deleteTeam(m_chosen); });
    reload();
}

} // namespace fm
