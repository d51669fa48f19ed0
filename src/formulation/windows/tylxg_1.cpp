#include "formulation/windows/tylxg_1.h"

#include "formulation/formularefresh.h"
#include "formulation/materialfactors.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

Tylxg_1::Tylxg_1(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("原料因素修改"));
    resize(980, 600);

    m_grid = new Grid({GridColumn{QStringLiteral("原料名称"), QStringLiteral("ylmc"), GridColumn::Kind::Text}}, this,
                      "materialGrid");
    m_grid->setMinimumWidth(180);
    m_grid->setSortOnTitleClick(false);
    m_name = display("materialName");
    for (int n : materialEntryOrder()) {
        QLineEdit *e = input(qPrintable(factorCode(n)), 14);
        e->setAlignment(Qt::AlignRight);
        m_inputs[size_t(n)] = e;
    }
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("放弃"), "cancel", [this] {
        showMaterial();
        chain().disableAll();
        m_grid->view()->setFocus();
    });
    QPushButton *close = button(QStringLiteral("退出"), "close", [this] { reject(); });
    m_start = dateInput("start");
    m_end = dateInput("end");
    makeBlankable(m_start, *ctx.clock);
    makeBlankable(m_end, *ctx.clock);
    m_refresh = button(QStringLiteral("配方刷新"), "refresh", [this] { runRefresh(); });
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setValue(0);

    auto *values = new QGroupBox(QStringLiteral("营养因素"), this);
    auto *vl = new QVBoxLayout(values);
    auto *headRow = new QWidget(values);
    FieldGrid head(headRow, 1);
    head.layout()->setContentsMargins(0, 0, 0, 0);
    head.add(QStringLiteral("原料名称："), m_name);
    vl->addWidget(headRow);
    vl->addLayout(factorGrid(values, m_inputs, materialEntryOrder(),
                             [](int n) { return fm::factor(n).materialLabel; }, 3));

    auto *refreshBox = new QGroupBox(QStringLiteral("配方刷新"), this);
    auto *rl = new QHBoxLayout(refreshBox);
    m_startCaption = labelFor(QStringLiteral("起始日期："), m_start, refreshBox);
    rl->addWidget(m_startCaption);
    rl->addWidget(m_start);
    rl->addWidget(labelFor(QStringLiteral("截止日期："), m_end, refreshBox));
    rl->addWidget(m_end);
    rl->addWidget(m_refresh);
    rl->addWidget(m_progress, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(values, 1);
    right->addWidget(refreshBox);
    right->addLayout(buttonRow({m_confirm, m_cancel, close}));
    auto *root = new QHBoxLayout(this);
    root->addWidget(m_grid);
    root->addLayout(right, 1);

    // The values in their Enter order; an empty one is 0. After the last,
    // "确认" (and "放弃").
    for (int n : materialEntryOrder()) {
        QLineEdit *e = m_inputs[size_t(n)];
        chain().step(e,
                     [e] {
                         MaterialFactorEditor::checkValue(e->text());
                         return Go::advance();
                     },
                     StepOptions{QStringLiteral("0"), false, false, {}});
    }
    chain().step(m_confirm,
                 [this] {
                     store();
                     return Go::done();
                 },
                 StepOptions{QString(), false, false, {m_cancel}});

    chain().on(m_start, [this] {
        if (EnterChain::isBlank(m_start)) return;
        m_end->setFocus();
    });
    chain().on(m_end, [this] {
        if (EnterChain::isBlank(m_end)) return;
        m_refresh->setEnabled(true);
        m_refresh->setFocus();
    });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64, int row) { choose(row); });
}

void Tylxg_1::activate()
{
    m_chosen.clear();
    m_id = 0;
    m_name->clear();
    clearFactorInputs(m_inputs);
    chain().disableAll();
    m_refresh->setEnabled(false);
    blank(m_start);
    blank(m_end);
    m_startCaption->setText(QStringLiteral("起始日期："));
    m_progress->setValue(0);
    guarded([this] { reload(); });
    m_grid->view()->setFocus();
}

void Tylxg_1::reload()
{
    std::vector<GridRow> rows;
    for (const MaterialName &m : MaterialFactorEditor(session()).materials()) rows.push_back({m.id, {m.name}});
    m_grid->setRows(std::move(rows));
}

void Tylxg_1::choose(int row)
{
    const qint64 id = m_grid->idAt(row);
    if (!id) return;
    guarded([&] {
        const auto m = MaterialFactorEditor(session()).byId(id);
        if (!m) {
            reload();
            return;
        }
        m_id = id;
        m_chosen = m->code;
        m_name->setText(m->name);
        showFactorValues(m_inputs, m->values);
        chain().reach(m_inputs[size_t(materialEntryOrder().front())]);
    });
}

void Tylxg_1::showMaterial()
{
    if (!m_id) return;
    if (const auto m = MaterialFactorEditor(session()).byId(m_id)) showFactorValues(m_inputs, m->values);
}

void Tylxg_1::store()
{
    if (!m_id) return;
    FactorValues v{};
    for (int n : materialEntryOrder()) v[size_t(n)] = MaterialFactorEditor::checkValue(m_inputs[size_t(n)]->text());
    MaterialFactorEditor(session()).save(m_id, v);
    chain().disableAll();
    m_refresh->setEnabled(true);
    m_start->setFocus();
}

void Tylxg_1::runRefresh()
{
    if (EnterChain::isBlank(m_start) || EnterChain::isBlank(m_end)) {
        inform(FormulaRefresh::kBlankDates);
        m_start->setFocus();
        return;
    }
    if (m_chosen.isEmpty()) {
        inform(FormulaRefresh::kNotConfirmed);
        m_refresh->setEnabled(false);
        return;
    }
    if (!ask(FormulaRefresh::kQuestion)) return;
    setEnabled(false);
    RefreshOutcome out;
    const bool ok = guarded([&] {
        out = FormulaRefresh(session(), *ctx().clock)
                  .refreshContaining(m_chosen, dateIn(m_start), dateIn(m_end),
                                     [this](int done, int total) { showProgress(m_progress, done, total); });
    });
    setEnabled(true);
    m_progress->setValue(0);
    if (!ok) return;
    m_startCaption->setText(FormulaRefresh::kDone);
    m_refresh->setEnabled(false);
    m_chosen.clear();
}

} // namespace fm
