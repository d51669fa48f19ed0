#include "staff/windows/workereditwindow.h"

#include "common/clock.h"
#include "staff/productionstaff.h"
#include "staff/windows/staffgrid.h"
#include "ui/enterchain.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace fm {

Tbzry_xg::Tbzry_xg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产人员修改"));
    m_code = new QLineEdit(this);
    m_code->setMaxLength(ProductionStaff::kWorkerCodeLength);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(10);
    m_team = new QLineEdit(this);
    m_team->setMaxLength(ProductionStaff::kTeamCodeLength);
    m_grid = staffgrid::make(this, {QStringLiteral("班组"), QStringLiteral("姓名"), QStringLiteral("代码"),
                                    QStringLiteral("日期")});
    m_grid->setMinimumWidth(360);
    m_delete = new QPushButton(QStringLiteral("删除记录"), this);
    m_confirm = new QPushButton(QStringLiteral("确认修改"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setVerticalSpacing(12);
    form->addRow(QStringLiteral("人员代码："), m_code);
    form->addRow(QStringLiteral("人员姓名："), m_name);
    form->addRow(QStringLiteral("所属班组："), m_team);
    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addLayout(left);
    top->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_delete, m_confirm, quit}) {
        b->setMinimumWidth(80);
        buttons->addWidget(b);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(640, 360);

    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { chooseRow(row); });
    enter().on(m_code, [this] {
        if (m_code->text().trimmed().isEmpty()) return;
        std::optional<Worker> w;
        guarded([&] { w = ProductionStaff(session(), *this->ctx().clock).findWorker(m_code->text()); });
        if (!w) {
            inform(QStringLiteral("查无此人，请重新输入！"));
            return;
        }
        showWorker(w->id);
    });
    enter().on(m_name, [this] {
        if (m_name->text().trimmed().isEmpty() || !m_chosen) return;
        m_team->setFocus();
    });
    enter().on(m_team, [this] {
        if (m_team->text().trimmed().isEmpty() || !m_chosen) return;
        EnterChain::advance(m_confirm);
    });
    connect(m_confirm, &QPushButton::clicked, this, &Tbzry_xg::confirm);
    connect(m_delete, &QPushButton::clicked, this, &Tbzry_xg::deleteWorker);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tbzry_xg::activate()
{
    reload();
    clearInputs();
    m_code->setFocus();
}

void Tbzry_xg::reload()
{
    std::vector<Worker> workers;
    guarded([&] { workers = ProductionStaff(session(), *ctx().clock).workers(); });
    m_grid->setRowCount(0);
    for (const Worker &w : workers) staffgrid::addRow(m_grid, w.id, {w.team, w.name, w.code, w.date});
    staffgrid::fit(m_grid);
}

void Tbzry_xg::clearInputs()
{
    m_chosen = 0;
    m_code->clear();
    m_name->clear();
    m_team->clear();
    m_team->setReadOnly(true);
    m_delete->setEnabled(false);
    m_confirm->setEnabled(false);
}

void Tbzry_xg::chooseRow(int row)
{
    const qint64 id = staffgrid::idAt(m_grid, row);
    if (!id) return;
    m_grid->selectRow(row);
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
    m_team->setReadOnly(false);
    m_team->setFocus();
}

void Tbzry_xg::confirm()
{
    if (!m_chosen) return;
    if (!ask(QStringLiteral("确认否？"))) return;
    const bool done = guarded([this] {
        ProductionStaff(session(), *ctx().clock).changeWorker(m_chosen, m_name->text(), m_team->text());
    });
    if (!done) {
        // The worker stays chosen so that an existing team can be typed.
        m_team->setFocus();
        return;
    }
    reload();
    clearInputs();
    m_grid->setFocus();
}

void Tbzry_xg::deleteWorker()
{
    if (!m_chosen) return;
    if (!ask(QStringLiteral("确认删除？"))) return;
    // The worker chosen, whatever the code field says by now.
    guarded([this] { ProductionStaff(session(), *ctx().clock).deleteWorkerKeepingWages(m_chosen); });
    reload();
    clearInputs();
    m_code->setFocus();
}

} // namespace fm
