#include "accounts/windows/tkhgl.h"

#include "accounts/windows/regionbox.h"
#include "accounts/windows/taddkh.h"
#include "accounts/windows/tjskh.h"
#include "accounts/windows/tkhmc_xg.h"
#include "data/rowpager.h"
#include "shell/operators.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

Tkhgl::Tkhgl(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_adjust(new Taddkh(ctx, this)), m_delete(new Tjskh(ctx, this)),
      m_rename(new Tkhmc_xg(ctx, this))
{
    setWindowTitle(QStringLiteral("客户管理"));
    auto *menu = new QMenuBar(this);
    m_adjustAction = menu->addAction(QStringLiteral("客户地区增加"));
    m_deleteAction = menu->addAction(QStringLiteral("客户地区减少"));
    m_renameAction = menu->addAction(QStringLiteral("客户名称修改"));
    m_flagAction = menu->addAction(QStringLiteral("客户标志修改"));
    QAction *quit = menu->addAction(QStringLiteral("退     出"));

    // Shown while the flag panel is hidden.
    m_idle = new QLabel(this);
    m_idle->setAlignment(Qt::AlignCenter);
    m_idle->setStyleSheet(QStringLiteral("font-size: 20pt; color: #335;"));

    m_panel = new QWidget(this);
    m_region = chooser("region", QStringLiteral("地区："));
    m_grid = new Grid(gridColumns({QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                                   QStringLiteral("客户标志")},
                                  {QStringLiteral("khdm"), QStringLiteral("khmc"), QStringLiteral("dq"),
                                   QStringLiteral("khbz")}),
                      m_panel, "customers");
    m_grid->setStretchColumn(1);
    auto *hint = new QLabel(QStringLiteral("请点击记录，选择客户。"), m_panel);
    hint->setStyleSheet(QStringLiteral("color: #a03000;"));

    m_flagGroup = new QGroupBox(QStringLiteral("客户性质"), m_panel);
    m_normal = new QRadioButton(QStringLiteral("正常客户"), m_flagGroup);
    m_retail = new QRadioButton(QStringLiteral("零售客户"), m_flagGroup);
    m_closed = new QRadioButton(QStringLiteral("销除客户"), m_flagGroup);
    m_flags = new QButtonGroup(this);
    auto *flags = new QVBoxLayout(m_flagGroup);
    for (QRadioButton *b : {m_normal, m_retail, m_closed}) {
        m_flags->addButton(b);
        flags->addWidget(b);
    }
    m_name = display("name");
    m_confirm = button(QStringLiteral("确认"), "confirm");
    QPushButton *end = button(QStringLiteral("结束"), "end", [this] {
        m_panel->hide();
        m_idle->show();
    });

    auto *side = new QVBoxLayout;
    side->addWidget(m_flagGroup);
    side->addWidget(labelFor(QStringLiteral("客户名称："), m_name, m_panel));
    side->addWidget(m_name);
    side->addStretch();
    side->addLayout(buttonRow({m_confirm, end}));
    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("地区："), m_region, m_panel));
    top->addWidget(m_region);
    top->addSpacing(12);
    top->addWidget(hint);
    top->addStretch();
    auto *panel = new QGridLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(top, 0, 0, 1, 2);
    panel->addWidget(m_grid, 1, 0);
    panel->addLayout(side, 1, 1);
    panel->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(m_idle, 1);
    layout->addWidget(m_panel, 1);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(700, 480);

    // Without a region every customer is listed, and none can be picked.
    chain()
        .step(m_region,
              [this] {
                  m_shownRegion = chosenText(m_region);
                  clearFlagChoice();
                  loadCustomers();
                  return Go::to(m_region);
              },
              StepOptions{QString(), true, false, {}})
        .step(m_confirm, [this] { return confirmFlag(); }, StepOptions{QString(), false, false, {m_flagGroup}});
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { rowClicked(id); });
    connect(m_adjustAction, &QAction::triggered, this, [this] { openChild(m_adjust); });
    connect(m_deleteAction, &QAction::triggered, this, [this] { openChild(m_delete); });
    connect(m_renameAction, &QAction::triggered, this, [this] { openChild(m_rename); });
    connect(m_flagAction, &QAction::triggered, this, &Tkhgl::showFlagPanel);
    connect(quit, &QAction::triggered, this, &QDialog::accept);
}

void Tkhgl::activate()
{
    m_idle->setText(ctx().qymc + QStringLiteral("\n客户管理"));
    m_panel->hide();
    m_idle->show();
    bool allowed = false;
    guarded([&] {
        // This one item needs an explicit "1" at its position.
        if (const auto op = Operators(session()).find(ctx().operatorCode))
            allowed = op->rights.mid(number(RightsPosition::CustomerFlagChange) - 1, 1) == QLatin1String("1");
    });
    m_flagAction->setEnabled(allowed);
}

void Tkhgl::openChild(FunctionWindow *w)
{
    w->run();
    // Back from the child: its changes show, the panel's choice stays.
    if (!m_panel->isVisible()) return;
    const QString keep = chosenText(m_region);
    guarded([&] { fillRegionBox(m_region, CustomerRegister(session()).regions(), keep); });
    if (!m_shownRegion.isEmpty() && chosenText(m_region) != m_shownRegion) m_shownRegion.clear();
    loadCustomers(m_picked);
}

void Tkhgl::showFlagPanel()
{
    m_idle->hide();
    m_panel->show();
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_shownRegion.clear();
    m_grid->clear();
    clearFlagChoice();
    chain().reset();
}

void Tkhgl::loadCustomers(qint64 keep)
{
    guarded([this] {
        CustomerRegister reg(session());
        if (m_shownRegion.isEmpty()) {
            m_grid->setPager(std::make_shared<RowPager>(session(), reg.allCustomersQuery()));
            return;
        }
        std::vector<GridRow> rows;
        for (const Customer &c : reg.customersByName(m_shownRegion)) rows.push_back({c.id, {c.code, c.name, c.region, c.flag}});
        m_grid->setRows(std::move(rows));
    });
    if (keep) m_grid->selectId(keep);
}

void Tkhgl::rowClicked(qint64 id)
{
    if (m_shownRegion.isEmpty() || !id) return;
    std::optional<Customer> c;
    if (!guarded([&] { c = CustomerRegister(session()).customerById(id); }) || !c) return;
    if (c->isRetail()) m_retail->setChecked(true);
    else if (c->isClosed()) m_closed->setChecked(true); // never shown as normal: "确认" would reopen it
    else m_normal->setChecked(true);
    m_name->setText(c->name);
    m_picked = c->id;
    chain().reach(m_confirm);
}

Go Tkhgl::confirmFlag()
{
    if (!m_picked) return Go::stay();
    QString flag = QStringLiteral("0");
    if (m_normal->isChecked()) flag = QStringLiteral("1");
    if (m_retail->isChecked()) flag = QStringLiteral("3");
    if (m_closed->isChecked()) flag = QStringLiteral("x");
    const qint64 id = m_picked;
    CustomerRegister(session()).setFlag(id, flag);
    loadCustomers(id);
    clearFlagChoice();
    return Go::to(m_region);
}

void Tkhgl::clearFlagChoice()
{
    m_picked = 0;
    m_flags->setExclusive(false);
    for (QRadioButton *b : {m_normal, m_retail, m_closed}) b->setChecked(false);
    m_flags->setExclusive(true);
    m_name->clear();
}

} // namespace fm
