#include "accounts/windows/taddkh.h"

#include "accounts/windows/creditlimitfield.h"
#include "accounts/windows/regionbox.h"
#include "accounts/windows/tinskh.h"
#include "common/gbk.h"
#include "data/rowpager.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QMenu>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

namespace fm {

namespace {

// Keeps a region name within the register's 10 bytes while it is typed.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int bytes, QObject *parent) : QValidator(parent), m_bytes(bytes) {}
    State validate(QString &input, int &) const override { return gbkLength(input) <= m_bytes ? Acceptable : Invalid; }

private:
    int m_bytes;
};

} // namespace

Taddkh::Taddkh(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_insertWindow(new Tinskh(ctx, this)), m_regionSteps(new EnterChain(this))
{
    setWindowTitle(QStringLiteral("客户调整"));
    auto *menu = new QMenu(this);
    m_organise = menu->addAction(QStringLiteral("客户整理"));
    m_addRegion = menu->addAction(QStringLiteral("增加地区"));
    menu->addSeparator();
    QAction *quit = menu->addAction(QStringLiteral("退出"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint &at) { menu->exec(mapToGlobal(at)); });
    auto *hint = new QLabel(QStringLiteral("说明：点击鼠标右键，可选择菜单。"), this);
    hint->setStyleSheet(QStringLiteral("color: #a03000;"));

    // Customers of a region.
    m_region = chooser("region", QStringLiteral("地区"));
    m_customer = chooser("customer", QStringLiteral("客户名称"));
    m_code = display("code");
    m_insert = button(QStringLiteral("插入"), "insert", [this] { insertCustomer(); });
    m_delete = button(QStringLiteral("删除"), "delete");
    auto *customers = new QGroupBox(QStringLiteral("客户整理"), this);
    FieldGrid cg(customers, 2);
    cg.add(QStringLiteral("地区："), m_region).add(QStringLiteral("客户名称："), m_customer);
    cg.newRow().add(QStringLiteral("客户代码："), m_code);
    // The chosen customer's credit limit, beside its code.
    m_credit = new CreditLimitField(ctx, customers, m_code);
    cg.add(m_credit);
    cg.layout()->addLayout(buttonRow({m_insert, m_delete}), cg.layout()->rowCount(), 0, 1, 4);

    // New regions.
    m_regionName = input("regionName");
    m_regionName->setValidator(new ByteLimitValidator(CustomerRegister::kRegionNameMaxBytes, m_regionName));
    m_regionCode = input("regionCode", 2);
    m_regionCode->setReadOnly(true);
    m_regionList = chooser("regionList", QStringLiteral("地区.代码"));
    auto *regions = new QGroupBox(QStringLiteral("增加地区"), this);
    FieldGrid rg(regions, 1);
    rg.add(QStringLiteral("地区名称："), m_regionName)
        .add(QStringLiteral("地区代码："), m_regionCode)
        .add(QStringLiteral("地区.代码："), m_regionList);

    m_prices = new Grid({{QStringLiteral("客户代码"), QStringLiteral("khdm")},
                         {QStringLiteral("客户名称"), QStringLiteral("khmc")},
                         {QStringLiteral("产品代码"), QStringLiteral("cpdm")},
                         {QStringLiteral("产品名称"), QStringLiteral("cpmc")},
                         {QStringLiteral("规格"), QStringLiteral("cpgg")},
                         {QStringLiteral("开票价格"), QStringLiteral("kpjg"), GridColumn::Kind::Number},
                         {QStringLiteral("产品标志"), QStringLiteral("cpbz")},
                         {QStringLiteral("日期"), QStringLiteral("rq"), GridColumn::Kind::Date}},
                        this, "prices");
    m_prices->setStretchColumn(3);
    m_prices->setMinimumHeight(200);
    auto *pricesCaption = labelFor(QStringLiteral("客户价格显示："), m_prices->view(), this);

    auto *top = new QHBoxLayout;
    top->addWidget(customers, 3);
    top->addWidget(regions, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(top);
    layout->addWidget(pricesCaption);
    layout->addWidget(m_prices, 1);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(900, 560);

    chain()
        .step(m_region, [this] { return regionChosen(); })
        .step(m_customer, [this] { return customerChosen(); }, StepOptions{QString(), false, false, {m_insert}})
        .step(m_delete, [this] { return deleteCustomer(); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_customer); });

    m_regionSteps->setGuard([this](const std::function<void()> &fn) { return guarded(fn); });
    m_regionSteps->step(m_regionName, [this] { return regionNameEntered(); }, StepOptions{QString(), false, false, {m_regionList}})
        .step(m_regionCode, [this] { return regionCodeEntered(); });
    // A name changed after Enter has to pass Enter again before it is added.
    connect(m_regionName, &QLineEdit::textEdited, m_regionCode, &QLineEdit::clear);

    connect(m_organise, &QAction::triggered, this, &Taddkh::organise);
    connect(m_addRegion, &QAction::triggered, this, &Taddkh::startAddingRegion);
    connect(quit, &QAction::triggered, this, &QDialog::accept);
}

void Taddkh::activate()
{
    m_chosenRegion = Region();
    m_customers.clear();
    for (QComboBox *c : {m_region, m_customer, m_regionList}) c->clear();
    for (QLineEdit *e : {m_code, m_regionName, m_regionCode}) e->clear();
    chain().disableAll();
    m_regionSteps->disableAll();
    showPrices();
}

void Taddkh::organise()
{
    m_regionSteps->disableAll();
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions(), m_chosenRegion.name); });
    chain().reset();
}

Go Taddkh::regionChosen()
{
    const QString name = chosenText(m_region);
    m_customers.clear();
    m_customer->clear();
    m_code->clear();
    m_chosenRegion = Region();
    showPrices();
    CustomerRegister reg(session());
    const auto r = reg.region(name);
    if (!r) throw DomainError(QStringLiteral("该地区不存在！"), ErrorCode::NotFound);
    m_chosenRegion = *r;
    m_customers = reg.customersByCode(r->code);
    for (const Customer &c : m_customers) m_customer->addItem(c.name, c.id);
    m_customer->setCurrentIndex(-1);
    showPrices();
    return Go::advance();
}

const Customer *Taddkh::chosenCustomer() const
{
    // The entry names its customer by position: two customers may share a name.
    const int index = m_customer->currentIndex();
    return index >= 0 && index < int(m_customers.size()) ? &m_customers[size_t(index)] : nullptr;
}

Go Taddkh::customerChosen()
{
    const Customer *c = chosenCustomer();
    if (!c) return Go::stay();
    m_code->setText(c->code);
    showPrices();
    m_insert->setEnabled(false); // a customer chosen is deleted, not inserted beside
    return Go::advance();
}

void Taddkh::insertCustomer()
{
    if (!m_chosenRegion.id) return;
    m_insertWindow->setRegion(m_chosenRegion);
    m_insertWindow->run();
    // Back from the entry: the region's list shows the customers added.
    chain().run(m_region);
    m_region->setFocus();
}

Go Taddkh::deleteCustomer()
{
    const Customer *chosen = chosenCustomer();
    if (!chosen) return Go::stay();
    const Customer c = *chosen;
    if (guarded([&] { CustomerRegister(session()).deleteCustomerWithoutRecords(c.id); }))
        inform(QStringLiteral("客户姓名：\"") + c.name + QStringLiteral("\"客户代码为：\"") + c.code
               + QStringLiteral("\"已被删除"));
    m_code->clear();
    m_customer->setCurrentIndex(-1);
    showPrices();
    return Go::to(m_region);
}

void Taddkh::startAddingRegion()
{
    chain().disableAll();
    m_regionCode->clear();
    fillRegionList();
    m_regionSteps->reset();
}

Go Taddkh::regionNameEntered()
{
    try {
        m_regionCode->setText(CustomerRegister(session()).checkNewRegion(m_regionName->text()));
    } catch (const DomainError &e) {
        if (e.code() == ErrorCode::Duplicate) m_regionName->clear();
        throw;
    }
    return Go::advance();
}

Go Taddkh::regionCodeEntered()
{
    Region added;
    if (!guarded([&] { added = CustomerRegister(session()).addRegion(m_regionName->text()); })) {
        m_regionCode->clear();
        return Go::to(m_regionName);
    }
    // The code drawn when the row was written; another workstation may have
    // taken the one shown before.
    m_regionCode->setText(added.code);
    m_regionName->clear();
    fillRegionList();
    return Go::to(m_regionName);
}

void Taddkh::fillRegionList()
{
    m_regionList->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_regionList->addItem(r.name + r.code, r.code);
    });
    m_regionList->setCurrentIndex(m_regionList->count() - 1);
}

void Taddkh::showPrices()
{
    // The chosen customer's prices, else those of the chosen region's customers.
    const Customer *c = chosenCustomer();
    const QString start = c ? c->code : m_chosenRegion.code;
    if (start.isEmpty()) {
        m_prices->clear();
        return;
    }
    guarded([&] {
        m_prices->setPager(std::make_shared<RowPager>(session(), CustomerRegister(session()).pricesQuery(start)));
    });
}

} // namespace fm
