#include "accounts/windows/tjskh.h"

#include "accounts/windows/regionbox.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kGivenUp = QStringLiteral("你已经放弃删除！");

} // namespace

Tjskh::Tjskh(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户地区删除"));
    m_regionMode = button(QStringLiteral("选择地区"), "regionMode", [this] { chooseRegionMode(); });
    m_customerMode = button(QStringLiteral("选择客户"), "customerMode", [this] { chooseCustomerMode(); });
    m_region = chooser("region", QStringLiteral("地   区"));
    m_name = chooser("name", QStringLiteral("客户名称"));
    m_code = chooser("code", QStringLiteral("客户代码"));
    m_regionGrid = new Grid({QStringLiteral("地区"), QStringLiteral("地区代码")}, this, "regions");
    m_customerGrid = new Grid({QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                               QStringLiteral("客户标志")},
                              this, "customers");
    m_customerGrid->setStretchColumn(1);
    m_grids = new QStackedWidget(this);
    m_grids->addWidget(m_regionGrid);
    m_grids->addWidget(m_customerGrid);
    m_grids->setMinimumHeight(260);
    m_delete = button(QStringLiteral("确认删除"), "delete");
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_regionMode);
    modes->addWidget(m_customerMode);
    modes->addStretch();
    auto *boxes = new QWidget(this);
    FieldGrid(boxes, 3)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("客户代码："), m_code);
    boxes->layout()->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(boxes);
    layout->addWidget(m_grids, 1);
    layout->addLayout(buttonRow({m_delete, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(680, 460);

    chain()
        .step(m_region, [this] { return regionChosen(); })
        .step(m_name,
              [this] {
                  pick(m_name->currentIndex());
                  return Go::to(m_delete);
              },
              StepOptions{QString(), false, false, {m_code}})
        .step(m_delete, [this] { return confirmDelete(); });
    // The code box is the name box's twin: either picks the customer.
    chain().on(m_code, [this] {
        pick(m_code->currentIndex());
        if (m_code->currentIndex() >= 0) chain().reach(m_delete);
    });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_name); });
    connect(m_code, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        pick(index);
        chain().reach(m_delete);
    });
    for (Grid *g : {m_regionGrid, m_customerGrid})
        connect(g, &Grid::rowClicked, this, [this](qint64 id) { rowClicked(id); });
}

Grid *Tjskh::grid() const
{
    return m_mode == Mode::Customer ? m_customerGrid : m_regionGrid;
}

void Tjskh::activate()
{
    m_mode = Mode::None;
    fillRegions();
    m_customers.clear();
    m_name->clear();
    m_code->clear();
    m_regionGrid->clear();
    m_customerGrid->clear();
    m_grids->setCurrentWidget(m_regionGrid);
    chain().disableAll();
    m_regionMode->setFocus();
}

void Tjskh::fillRegions()
{
    m_regions.clear();
    guarded([this] { m_regions = CustomerRegister(session()).regions(); });
    fillRegionBox(m_region, m_regions);
}

void Tjskh::showRegions()
{
    std::vector<GridRow> rows;
    for (const Region &r : m_regions) rows.push_back({r.id, {r.name, r.code}});
    m_regionGrid->setRows(std::move(rows));
}

void Tjskh::chooseRegionMode()
{
    m_mode = Mode::Region;
    m_customers.clear();
    m_name->clear();
    m_code->clear();
    m_region->setCurrentIndex(-1);
    showRegions();
    m_grids->setCurrentWidget(m_regionGrid);
    chain().reset();
}

void Tjskh::chooseCustomerMode()
{
    m_mode = Mode::Customer;
    m_region->setCurrentIndex(-1);
    fillCustomers();
    m_grids->setCurrentWidget(m_customerGrid);
    // Region, name and code are open at once; the region comes first.
    chain().reset();
    chain().reach(m_name);
    EnterChain::focusField(m_region);
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
    std::vector<GridRow> rows;
    for (const Customer &c : m_customers) {
        m_name->addItem(c.name, c.id);
        m_code->addItem(c.code, c.id);
        rows.push_back({c.id, {c.code, c.name, c.region, c.flag}});
    }
    m_name->setCurrentIndex(-1);
    m_code->setCurrentIndex(-1);
    m_customerGrid->setRows(std::move(rows));
}

Go Tjskh::regionChosen()
{
    if (m_mode == Mode::Region) return Go::to(m_delete);
    fillCustomers();
    return Go::advance();
}

void Tjskh::pick(int index)
{
    if (m_mode != Mode::Customer || index < 0 || index >= int(m_customers.size())) return;
    m_name->setCurrentIndex(index);
    m_code->setCurrentIndex(index);
    m_customerGrid->selectId(m_customers[size_t(index)].id);
}

void Tjskh::rowClicked(qint64 id)
{
    if (m_mode == Mode::Customer) {
        for (size_t i = 0; i < m_customers.size(); ++i)
            if (m_customers[i].id == id) pick(int(i));
    } else if (m_mode == Mode::Region) {
        for (size_t i = 0; i < m_regions.size(); ++i)
            if (m_regions[i].id == id) m_region->setCurrentIndex(int(i));
    } else {
        return;
    }
    chain().reach(m_delete);
}

Go Tjskh::confirmDelete()
{
    if (m_mode == Mode::Region) return deleteRegion();
    if (m_mode == Mode::Customer) return deleteCustomer();
    return Go::stay();
}

Go Tjskh::deleteRegion()
{
    const QString name = chosenText(m_region);
    if (name.isEmpty()) throw DomainError(QStringLiteral("未选定地区，请选择地区！"), ErrorCode::Incomplete);
    if (!ask(QStringLiteral("确认删除地区") + name)) {
        inform(kGivenUp);
        return Go::stay();
    }
    CustomerRegister reg(session());
    const double arrears = reg.checkRegionDeletable(name);
    if (!ask(QStringLiteral("再次确认删除") + name + QStringLiteral("?,欠款为") + CustomerRegister::amountText(arrears)
             + QStringLiteral("元。"))) {
        inform(kGivenUp);
        return Go::stay();
    }
    reg.deleteRegion(name);
    inform(QStringLiteral("该地区已被删除！"));
    fillRegions();
    showRegions();
    return Go::to(m_region);
}

Go Tjskh::deleteCustomer()
{
    const int index = m_code->currentIndex();
    if (index < 0 || index >= int(m_customers.size()))
        throw DomainError(QStringLiteral("客户代码为空，不能被删除！"), ErrorCode::Incomplete);
    const Customer c = m_customers[size_t(index)];
    if (!ask(QStringLiteral("确认删除客户:") + c.name + QStringLiteral("(代码：") + c.code + QStringLiteral(")"))) {
        inform(kGivenUp);
        return Go::stay();
    }
    CustomerRegister reg(session());
    const double arrears = reg.checkCustomerDeletable(c.id);
    if (!ask(QStringLiteral("再次确认删除") + c.name + QStringLiteral("?,欠款为") + CustomerRegister::amountText(arrears)
             + QStringLiteral("元。"))) {
        inform(kGivenUp);
        return Go::stay();
    }
    reg.deleteCustomer(c.id);
    inform(QStringLiteral("该客户已被删除！"));
    fillCustomers();
    return Go::to(m_name);
}

} // namespace fm
