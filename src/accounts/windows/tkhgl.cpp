#include "accounts/windows/tkhgl.h"

#include "accounts/windows/registerwidgets.h"
#include "accounts/windows/taddkh.h"
#include "accounts/windows/tjskh.h"
#include "accounts/windows/tkhmc_xg.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "ui/enterchain.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace fm {

namespace {

// The rights position of "客户标志修改".
constexpr int kFlagRight = 52;

} // namespace

Tkhgl::Tkhgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户管理"));
    m_adjust = new Taddkh(ctx, this);
    m_delete = new Tjskh(ctx, this);
    m_rename = new Tkhmc_xg(ctx, this);

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
    m_region = makeChoiceBox(m_panel, QStringLiteral("地区："), 160);
    m_grid = makeRegisterGrid(m_panel, {QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                                        QStringLiteral("客户标志")});
    auto *hint = new QLabel(QStringLiteral("请点击记录，选择客户。"), m_panel);
    hint->setStyleSheet(QStringLiteral("color: #a03000;"));

    m_flagGroup = new QGroupBox(QStringLiteral("客户性质"), m_panel);
    m_normal = new QRadioButton(QStringLiteral("正常客户"), m_flagGroup);
    m_retail = new QRadioButton(QStringLiteral("零售客户"), m_flagGroup);
    m_closed = new QRadioButton(QStringLiteral("销除客户"), m_flagGroup);
    m_flags = new QButtonGroup(this);
    for (QRadioButton *b : {m_normal, m_retail, m_closed}) m_flags->addButton(b);
    auto *fl = new QVBoxLayout(m_flagGroup);
    for (QRadioButton *b : {m_normal, m_retail, m_closed}) fl->addWidget(b);
    m_name = new QLineEdit(m_panel);
    makeDisplayOnly(m_name);
    m_confirm = new QPushButton(QStringLiteral("确认"), m_panel);
    auto *end = new QPushButton(QStringLiteral("结束"), m_panel);

    auto *side = new QVBoxLayout;
    side->addWidget(m_flagGroup);
    side->addWidget(new QLabel(QStringLiteral("客户名称："), m_panel));
    side->addWidget(m_name);
    side->addStretch();
    auto *sideButtons = new QHBoxLayout;
    sideButtons->addWidget(m_confirm);
    sideButtons->addWidget(end);
    side->addLayout(sideButtons);
    auto *top = new QHBoxLayout;
    top->addWidget(m_region);
    top->addSpacing(12);
    top->addWidget(hint);
    top->addStretch();
    auto *pl = new QGridLayout(m_panel);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addLayout(top, 0, 0, 1, 2);
    pl->addWidget(m_grid, 1, 0);
    pl->addLayout(side, 1, 1);
    pl->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(m_idle, 1);
    layout->addWidget(m_panel, 1);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(680, 460);

    connect(m_adjustAction, &QAction::triggered, this, [this] { open(m_adjust); });
    connect(m_deleteAction, &QAction::triggered, this, [this] { open(m_delete); });
    connect(m_renameAction, &QAction::triggered, this, [this] { open(m_rename); });
    connect(m_flagAction, &QAction::triggered, this, &Tkhgl::showFlagPanel);
    connect(quit, &QAction::triggered, this, &QDialog::accept);
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, &Tkhgl::regionChosen);
    enter().on(m_region, [this] { regionChosen(); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { rowClicked(row); });
    connect(m_confirm, &QPushButton::clicked, this, &Tkhgl::confirmFlag);
    connect(end, &QPushButton::clicked, this, [this] {
        m_panel->hide();
        m_idle->show();
    });
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
            allowed = op->rights.mid(kFlagRight - 1, 1) == QLatin1String("1");
    });
    m_flagAction->setEnabled(allowed);
}

void Tkhgl::open(FunctionWindow *w)
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
    m_customers.clear();
    showCustomers(m_grid, m_customers);
    clearFlagChoice();
    m_region->setEnabled(true);
    m_region->setFocus();
}

void Tkhgl::regionChosen()
{
    // Without a region every customer is listed, and none can be picked.
    m_shownRegion = chosenText(m_region);
    clearFlagChoice();
    loadCustomers();
}

void Tkhgl::loadCustomers(qint64 keep)
{
    m_customers.clear();
    guarded([this] {
        CustomerRegister reg(session());
        m_customers = m_shownRegion.isEmpty() ? reg.allCustomers() : reg.customersByName(m_shownRegion);
    });
    showCustomers(m_grid, m_customers);
    if (keep) selectCustomer(m_grid, keep);
}

void Tkhgl::rowClicked(int row)
{
    if (m_shownRegion.isEmpty() || row < 0 || row >= int(m_customers.size())) return;
    const Customer &c = m_customers[size_t(row)];
    if (c.flag == QLatin1String("3")) m_retail->setChecked(true);
    else if (c.isClosed()) m_closed->setChecked(true); // never shown as normal: "确认" would reopen it
    else m_normal->setChecked(true);
    m_name->setText(c.name);
    m_picked = c.id;
    m_flagGroup->setEnabled(true);
    m_confirm->setEnabled(true);
}

void Tkhgl::confirmFlag()
{
    if (!m_picked) return;
    QString flag = QStringLiteral("0");
    if (m_normal->isChecked()) flag = QStringLiteral("1");
    if (m_retail->isChecked()) flag = QStringLiteral("3");
    if (m_closed->isChecked()) flag = QStringLiteral("x");
    const qint64 id = m_picked;
    if (!guarded([&] { CustomerRegister(session()).setFlag(id, flag); })) return;
    loadCustomers(id);
    clearFlagChoice();
    m_region->setFocus();
}

void Tkhgl::clearFlagChoice()
{
    m_picked = 0;
    m_flags->setExclusive(false);
    for (QRadioButton *b : {m_normal, m_retail, m_closed}) b->setChecked(false);
    m_flags->setExclusive(true);
    m_name->clear();
    m_flagGroup->setEnabled(false);
    m_confirm->setEnabled(false);
}

} // namespace fm
