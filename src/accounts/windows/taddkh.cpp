#include "accounts/windows/taddkh.h"

#include "accounts/windows/creditlimitfield.h"
#include "accounts/windows/registerwidgets.h"
#include "accounts/windows/tinskh.h"
#include "common/dates.h"
#include "common/gbk.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "ui/enterchain.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QValidator>
#include <QTableWidget>

namespace fm {

namespace {

// Keeps a region name within the register's 10 bytes while it is typed.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int bytes, QObject *parent) : QValidator(parent), m_bytes(bytes) {}
    State validate(QString &input, int &) const override
    {
        return gbkLength(input) <= m_bytes ? Acceptable : Invalid;
    }

private:
    int m_bytes;
};

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

Taddkh::Taddkh(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户调整"));
    m_insertWindow = new Tinskh(ctx, this);

    auto *menu = new QMenu(this);
    m_organise = menu->addAction(QStringLiteral("客户整理"));
    m_addRegion = menu->addAction(QStringLiteral("增加地区"));
    menu->addSeparator();
    QAction *quit = menu->addAction(QStringLiteral("退出"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint &at) {
        menu->exec(mapToGlobal(at));
    });

    auto *hint = new QLabel(QStringLiteral("说明：点击鼠标右键，可选择菜单。"), this);
    hint->setStyleSheet(QStringLiteral("color: #a03000;"));

    // Customers of a region.
    m_region = makeChoiceBox(this, QStringLiteral("地区"), 160);
    m_customer = makeChoiceBox(this, QStringLiteral("客户名称"), 160);
    m_code = new QLineEdit(this);
    makeDisplayOnly(m_code);
    m_code->setMaximumWidth(110);
    m_insert = new QPushButton(QStringLiteral("插入"), this);
    m_delete = new QPushButton(QStringLiteral("删除"), this);
    auto *customers = new QGroupBox(QStringLiteral("客户整理"), this);
    auto *cg = new QGridLayout(customers);
    cg->addWidget(caption(QStringLiteral("地区："), customers), 0, 0);
    cg->addWidget(m_region, 0, 1);
    cg->addWidget(caption(QStringLiteral("客户名称："), customers), 0, 2);
    cg->addWidget(m_customer, 0, 3);
    cg->addWidget(caption(QStringLiteral("客户代码："), customers), 1, 2);
    cg->addWidget(m_code, 1, 3);
    // The chosen customer's credit limit, beside its code.
    m_credit = new CreditLimitField(ctx, customers, m_code);
    cg->addWidget(m_credit, 1, 0, 1, 2);
    auto *cb = new QHBoxLayout;
    cb->addStretch();
    cb->addWidget(m_insert);
    cb->addWidget(m_delete);
    cg->addLayout(cb, 2, 0, 1, 4);
    cg->setColumnStretch(1, 1);
    cg->setColumnStretch(3, 1);

    // New regions.
    m_regionName = new QLineEdit(this);
    m_regionName->setValidator(new ByteLimitValidator(CustomerRegister::kRegionNameMaxBytes, m_regionName));
    m_regionCode = new QLineEdit(this);
    m_regionCode->setReadOnly(true);
    m_regionCode->setMaximumWidth(60);
    m_regionList = makeChoiceBox(this, QStringLiteral("地区.代码"), 160);
    auto *regions = new QGroupBox(QStringLiteral("增加地区"), this);
    auto *rg = new QGridLayout(regions);
    rg->addWidget(caption(QStringLiteral("地区名称："), regions), 0, 0);
    rg->addWidget(m_regionName, 0, 1);
    rg->addWidget(caption(QStringLiteral("地区代码："), regions), 0, 2);
    rg->addWidget(m_regionCode, 0, 3);
    rg->addWidget(caption(QStringLiteral("地区.代码："), regions), 1, 0);
    rg->addWidget(m_regionList, 1, 1);
    rg->setColumnStretch(1, 1);

    m_prices = makeRegisterGrid(this, {QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("产品代码"),
                                       QStringLiteral("产品名称"), QStringLiteral("规格"), QStringLiteral("开票价格"),
                                       QStringLiteral("产品标志"), QStringLiteral("日期")});
    m_prices->setMinimumHeight(200);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    auto *top = new QHBoxLayout;
    top->addWidget(customers, 3);
    top->addWidget(regions, 2);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("客户价格显示："), this));
    layout->addWidget(m_prices, 1);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(860, 520);

    connect(m_organise, &QAction::triggered, this, &Taddkh::organise);
    connect(m_addRegion, &QAction::triggered, this, &Taddkh::startAddingRegion);
    connect(quit, &QAction::triggered, this, &QDialog::accept);
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, &Taddkh::regionChosen);
    enter().on(m_region, [this] { regionChosen(); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, &Taddkh::customerChosen);
    enter().on(m_customer, [this] { customerChosen(); });
    connect(m_insert, &QPushButton::clicked, this, &Taddkh::insertCustomer);
    connect(m_delete, &QPushButton::clicked, this, &Taddkh::deleteCustomer);
    enter().on(m_regionName, [this] { regionNameEntered(); });
    enter().on(m_regionCode, [this] { regionCodeEntered(); });
    // A name changed after Enter has to pass Enter again.
    connect(m_regionName, &QLineEdit::textEdited, this, [this] {
        m_regionPending = false;
        m_regionCode->clear();
    });
}

void Taddkh::activate()
{
    m_chosenRegion = Region();
    m_customers.clear();
    m_region->clear();
    m_customer->clear();
    m_code->clear();
    m_regionName->clear();
    m_regionCode->clear();
    m_regionPending = false;
    m_regionList->clear();
    setCustomerInputsEnabled(false);
    setRegionInputsEnabled(false);
    showPrices();
}

void Taddkh::setCustomerInputsEnabled(bool on)
{
    m_region->setEnabled(on);
    m_customer->setEnabled(false);
    m_insert->setEnabled(false);
    m_delete->setEnabled(false);
}

void Taddkh::setRegionInputsEnabled(bool on)
{
    m_regionName->setEnabled(on);
    m_regionCode->setEnabled(false);
    m_regionList->setEnabled(on);
}

void Taddkh::organise()
{
    setRegionInputsEnabled(false);
    setCustomerInputsEnabled(true);
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions(), m_chosenRegion.name); });
    m_region->setFocus();
}

void Taddkh::regionChosen()
{
    const QString name = chosenText(m_region);
    if (name.isEmpty()) return;
    m_customers.clear();
    m_customer->clear();
    m_code->clear();
    m_delete->setEnabled(false);
    m_chosenRegion = Region();
    guarded([&] {
        CustomerRegister reg(session());
        const auto r = reg.region(name);
        if (!r) throw DomainError(QStringLiteral("该地区不存在！"));
        m_chosenRegion = *r;
        m_customers = reg.customersByCode(r->code);
    });
    for (const Customer &c : m_customers) m_customer->addItem(c.name, c.id);
    m_customer->setCurrentIndex(-1);
    m_customer->setEnabled(!m_customers.empty());
    m_insert->setEnabled(m_chosenRegion.id != 0);
    showPrices();
}

void Taddkh::customerChosen()
{
    const int index = m_customer->currentIndex();
    if (index < 0 || index >= int(m_customers.size())) return;
    // The entry names its customer: two customers may share a name.
    m_code->setText(m_customers[size_t(index)].code);
    m_insert->setEnabled(false);
    m_delete->setEnabled(true);
    showPrices();
}

void Taddkh::insertCustomer()
{
    if (!m_chosenRegion.id) return;
    m_customer->setEnabled(false);
    m_insert->setEnabled(false);
    m_insertWindow->setRegion(m_chosenRegion);
    m_insertWindow->run();
    // Back from the entry: the region's list shows the customers added.
    regionChosen();
    m_region->setFocus();
}

void Taddkh::deleteCustomer()
{
    const int index = m_customer->currentIndex();
    if (index < 0 || index >= int(m_customers.size())) return;
    const Customer c = m_customers[size_t(index)];
    if (guarded([&] { CustomerRegister(session()).deleteCustomerWithoutRecords(c.id); })) {
        inform(QStringLiteral("客户姓名：\"") + c.name + QStringLiteral("\"客户代码为：\"") + c.code
               + QStringLiteral("\"已被删除"));
    }
    m_code->clear();
    m_customer->setCurrentIndex(-1);
    m_customer->setEnabled(false);
    m_delete->setEnabled(false);
    showPrices();
    m_region->setFocus();
}

void Taddkh::startAddingRegion()
{
    setCustomerInputsEnabled(false);
    setRegionInputsEnabled(true);
    m_regionPending = false;
    m_regionCode->clear();
    fillRegionList();
    m_regionName->setFocus();
}

void Taddkh::regionNameEntered()
{
    QString code;
    CustomerRegister reg(session());
    if (!guarded([&] { code = reg.checkNewRegion(m_regionName->text()); })) {
        bool exists = false;
        guarded([&] { exists = reg.region(m_regionName->text()).has_value(); });
        if (exists) m_regionName->clear();
        m_regionName->setFocus();
        return;
    }
    m_regionPending = true;
    m_regionCode->setText(code);
    EnterChain::advance(m_regionCode);
}

void Taddkh::regionCodeEntered()
{
    if (m_regionPending) {
        Region added;
        if (!guarded([&] { added = CustomerRegister(session()).addRegion(m_regionName->text()); })) {
            m_regionPending = false;
            m_regionCode->clear();
            m_regionCode->setEnabled(false);
            m_regionName->setFocus();
            return;
        }
        // The code drawn when the row was written; another workstation may
        // have taken the one shown before.
        m_regionPending = false;
        m_regionCode->setText(added.code);
        m_regionName->clear();
    }
    fillRegionList();
}

void Taddkh::fillRegionList()
{
    m_regionList->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_regionList->addItem(r.name + r.code, r.id);
    });
    m_regionList->setCurrentIndex(m_regionList->count() - 1);
}

void Taddkh::showPrices()
{
    // The chosen customer's prices, else those of the chosen region's customers.
    QString start;
    const int index = m_customer->currentIndex();
    if (index >= 0 && index < int(m_customers.size()))
        start = m_customers[size_t(index)].code;
    else if (m_chosenRegion.id)
        start = m_chosenRegion.code;
    std::vector<CustomerPrice> rows;
    if (!start.isEmpty()) guarded([&] { rows = CustomerRegister(session()).prices(start); });
    m_prices->clearContents();
    m_prices->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const CustomerPrice &p = rows[size_t(row)];
        const QStringList cells{p.code, p.name, p.productCode, p.productName, p.spec, numberText(p.price),
                                p.productFlag, dateText(p.date.date())};
        for (int col = 0; col < int(cells.size()); ++col) {
            auto *item = new QTableWidgetItem(cells[col]);
            if (col == 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_prices->setItem(row, col, item);
        }
    }
    fitColumns(m_prices);
}

} // namespace fm
