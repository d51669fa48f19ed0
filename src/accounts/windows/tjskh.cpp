#include "accounts/windows/tjskh.h"

#include "accounts/windows/registerwidgets.h"
#include "data/dberror.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace fm {

namespace {

const QString kGivenUp = QStringLiteral("你已经放弃删除！");

const QStringList kRegionHeads{QStringLiteral("地区"), QStringLiteral("地区代码")};
const QStringList kCustomerHeads{QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                                 QStringLiteral("客户标志")};

} // namespace

Tjskh::Tjskh(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户地区删除"));
    m_regionMode = new QPushButton(QStringLiteral("选择地区"), this);
    m_customerMode = new QPushButton(QStringLiteral("选择客户"), this);
    m_region = makeChoiceBox(this, QStringLiteral("地   区"), 150);
    m_name = makeChoiceBox(this, QStringLiteral("客户名称"), 150);
    m_code = makeChoiceBox(this, QStringLiteral("客户代码"), 110);
    m_grid = makeRegisterGrid(this, kRegionHeads);
    m_grid->setMinimumHeight(260);
    m_delete = new QPushButton(QStringLiteral("确认删除"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_regionMode);
    modes->addWidget(m_customerMode);
    modes->addStretch();
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(m_region);
    boxes->addWidget(m_name);
    boxes->addWidget(m_code);
    boxes->addStretch();
    QHBoxLayout *buttons = buttonRow({m_delete, quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(boxes);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(600, 440);

    connect(m_regionMode, &QPushButton::clicked, this, &Tjskh::chooseRegionMode);
    connect(m_customerMode, &QPushButton::clicked, this, &Tjskh::chooseCustomerMode);
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, &Tjskh::regionChosen);
    enter().on(m_region, [this] { regionChosen(); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, &Tjskh::customerPicked);
    connect(m_code, QOverload<int>::of(&QComboBox::activated), this, &Tjskh::customerPicked);
    enter().on(m_name, [this] { customerPicked(m_name->currentIndex()); });
    enter().on(m_code, [this] { customerPicked(m_code->currentIndex()); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { rowClicked(row); });
    connect(m_delete, &QPushButton::clicked, this, &Tjskh::confirmDelete);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tjskh::activate()
{
    m_mode = Mode::None;
    fillRegions();
    m_customers.clear();
    m_name->clear();
    m_code->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{m_region, m_name, m_code, m_delete}) w->setEnabled(false);
    m_grid->setRowCount(0);
    m_regionMode->setFocus();
}

void Tjskh::fillRegions()
{
    m_regions.clear();
    guarded([this] { m_regions = CustomerRegister(session()).regions(); });
    fillRegionBox(m_region, m_regions);
}

void Tjskh::chooseRegionMode()
{
    m_mode = Mode::Region;
    m_customers.clear();
    m_name->clear();
    m_code->clear();
    m_name->setEnabled(false);
    m_code->setEnabled(false);
    m_delete->setEnabled(false);
    m_region->setCurrentIndex(-1);
    m_grid->setColumnCount(int(kRegionHeads.size()));
    m_grid->setHorizontalHeaderLabels(kRegionHeads);
    showRegions(m_grid, m_regions);
    m_region->setEnabled(true);
    m_region->setFocus();
}

void Tjskh::chooseCustomerMode()
{
    m_mode = Mode::Customer;
    m_delete->setEnabled(false);
    m_region->setCurrentIndex(-1);
    fillCustomers();
    for (QWidget *w : std::initializer_list<QWidget *>{m_region, m_name, m_code}) w->setEnabled(true);
    m_region->setFocus();
}

// The customers of the chosen region (by code prefix) fill the name and code
// boxes in step and the grid; both boxes show their placeholders.
void Tjskh::fillCustomers()
{
    m_customers.clear();
    const QString name = chosenText(m_region);
    if (!name.isEmpty()) {
        guarded([&] {
            CustomerRegister reg(session());
            if (const auto r = reg.region(name)) m_customers = reg.customersByCode(r->code);
        });
    }
    m_name->clear();
    m_code->clear();
    for (const Customer &c : m_customers) {
        m_name->addItem(c.name, c.id);
        m_code->addItem(c.code, c.id);
    }
    m_name->setCurrentIndex(-1);
    m_code->setCurrentIndex(-1);
    m_grid->setColumnCount(int(kCustomerHeads.size()));
    m_grid->setHorizontalHeaderLabels(kCustomerHeads);
    showCustomers(m_grid, m_customers);
}

void Tjskh::regionChosen()
{
    if (chosenText(m_region).isEmpty()) return;
    if (m_mode == Mode::Region) {
        m_delete->setEnabled(true);
    } else if (m_mode == Mode::Customer) {
        fillCustomers();
        m_delete->setEnabled(false);
    }
}

void Tjskh::customerPicked(int index)
{
    if (m_mode != Mode::Customer || index < 0 || index >= int(m_customers.size())) return;
    m_name->setCurrentIndex(index);
    m_code->setCurrentIndex(index);
    m_grid->selectRow(index);
    m_delete->setEnabled(true);
}

void Tjskh::rowClicked(int row)
{
    if (m_mode == Mode::Customer) {
        customerPicked(row);
    } else if (m_mode == Mode::Region && row >= 0 && row < int(m_regions.size())) {
        m_region->setCurrentIndex(row);
        m_delete->setEnabled(true);
    }
}

void Tjskh::confirmDelete()
{
    if (m_mode == Mode::Region) deleteRegion();
    else if (m_mode == Mode::Customer) deleteCustomer();
}

void Tjskh::deleteRegion()
{
    const QString name = chosenText(m_region);
    if (name.isEmpty()) {
        inform(QStringLiteral("未选定地区，请选择地区！"));
        return;
    }
    if (!ask(QStringLiteral("确认删除地区") + name)) {
        inform(kGivenUp);
        return;
    }
    CustomerRegister reg(session());
    double arrears = 0;
    if (!guarded([&] { arrears = reg.checkRegionDeletable(name); })) return;
    if (!ask(QStringLiteral("再次确认删除") + name + QStringLiteral("?,欠款为") + CustomerRegister::amountText(arrears)
             + QStringLiteral("元。"))) {
        inform(kGivenUp);
        return;
    }
    if (!guarded([&] { reg.deleteRegion(name); })) return;
    inform(QStringLiteral("该地区已被删除！"));
    fillRegions();
    showRegions(m_grid, m_regions);
    m_delete->setEnabled(false);
    m_region->setFocus();
}

void Tjskh::deleteCustomer()
{
    const int index = m_code->currentIndex();
    if (index < 0 || index >= int(m_customers.size())) {
        inform(QStringLiteral("客户代码为空，不能被删除！"));
        return;
    }
    const Customer c = m_customers[size_t(index)];
    if (!ask(QStringLiteral("确认删除客户:") + c.name + QStringLiteral("(代码：") + c.code + QStringLiteral(")"))) {
        inform(kGivenUp);
        return;
    }
    CustomerRegister reg(session());
    double arrears = 0;
    if (!guarded([&] { arrears = reg.checkCustomerDeletable(c.id); })) return;
    if (!ask(QStringLiteral("再次确认删除") + c.name + QStringLiteral("?,欠款为") + CustomerRegister::amountText(arrears)
             + QStringLiteral("元。"))) {
        inform(kGivenUp);
        return;
    }
    if (!guarded([&] { reg.deleteCustomer(c.id); })) return;
    inform(QStringLiteral("该客户已被删除！"));
    fillCustomers();
    m_delete->setEnabled(false);
    m_name->setFocus();
}

} // namespace fm
