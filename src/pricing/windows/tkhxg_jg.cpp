#include "pricing/windows/tkhxg_jg.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/pricelists.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QLabel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace fm {

Tkhxg_jg::Tkhxg_jg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户产品价格修改"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_name = chooser("customerName", QStringLiteral("客户名称"), true);
    m_name->setMinimumWidth(180);
    m_code = chooser("customerCode", QStringLiteral("客户代码"), true);
    auto *choose = new QWidget(this);
    FieldGrid(choose, 3)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("客户代码："), m_code);
    choose->layout()->setContentsMargins(0, 0, 0, 0);

    m_grid = new Grid({QStringLiteral("客户名称"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                       QStringLiteral("政策价格"), QStringLiteral("日期"), QStringLiteral("客户代码"),
                       QStringLiteral("地区名称"), QStringLiteral("地区编号"), QStringLiteral("产品标志"),
                       QStringLiteral("产品代码")},
                      this, "customerPriceGrid");
    m_grid->setStretchColumn(1);

    m_policy = input("policyPrice", 16);
    m_policy->setMaximumWidth(140);
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_discard = button(QStringLiteral("放弃"), "discard", [this] { discard(); });
    QPushButton *print = button(QStringLiteral("打印"), "print", [this] {
        if (m_customer)
            showDocument(this->ctx(), this, customerPriceListDocument(m_rows, m_customer->name, this->ctx().clock->today()));
    });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(labelFor(QStringLiteral("政策价格:"), m_policy, this));
    bottom->addWidget(withUnit(m_policy, QStringLiteral("(元/吨)")));
    bottom->addLayout(buttonRow({m_confirm, m_discard, print, quit}), 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choose);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(980, 600);

    chain()
        .step(m_policy, [this] { return m_priceId ? Go::advance() : Go::stay(); })
        .step(m_confirm, [this] { return confirm(); }, StepOptions{QString(), false, false, {m_discard}});
    // The customer is chosen by region and name, or by code, in any order.
    chain().on(m_region, [this] { regionChosen(); });
    chain().on(m_name, [this] { nameEntered(); });
    chain().on(m_code, [this] { codeEntered(); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { guarded([&] { nameChosen(i); }); });
    connect(m_code, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { codeEntered(); }); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { rowClicked(id); });
}

PriceBook Tkhxg_jg::book() const
{
    return PriceBook(session(), *ctx().clock);
}

void Tkhxg_jg::activate()
{
    m_name->clear();
    m_code->clear();
    m_customer.reset();
    m_rows.clear();
    m_grid->clear();
    discard();
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_region->setFocus();
}

void Tkhxg_jg::regionChosen()
{
    const QString code = m_region->currentData().toString();
    if (code.isEmpty()) return;
    const std::vector<Customer> customers = CustomerRegister(session()).customersByCode(code);
    m_name->clear();
    m_code->clear();
    for (const Customer &c : customers) {
        m_name->addItem(c.name, c.code);
        m_code->addItem(c.code, c.code);
    }
    m_name->setCurrentIndex(-1);
    m_code->setCurrentIndex(-1);
    m_name->setFocus();
}

void Tkhxg_jg::nameChosen(int index)
{
    // An entry of the list knows its customer: two customers of one name
    // stay apart.
    const QString code = index >= 0 ? m_name->itemData(index).toString() : QString();
    if (code.isEmpty()) nameEntered();
    else loadCustomer(book().customerByCode(code));
}

void Tkhxg_jg::nameEntered()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) return;
    const int listed = m_name->findText(name);
    if (listed >= 0 && !m_name->itemData(listed).toString().isEmpty()) {
        m_name->setCurrentIndex(listed);
        loadCustomer(book().customerByCode(m_name->itemData(listed).toString()));
        return;
    }
    loadCustomer(book().customerByName(name));
}

void Tkhxg_jg::codeEntered()
{
    const QString code = m_code->currentText().trimmed();
    if (!code.isEmpty()) loadCustomer(book().customerByCode(code));
}

void Tkhxg_jg::loadCustomer(const std::optional<Customer> &c)
{
    if (!c) return;
    m_customer = c;
    m_name->setEditText(c->name);
    m_code->setEditText(c->code);
    const int region = m_region->findText(c->region);
    if (region >= 0) m_region->setCurrentIndex(region);
    discard();
    reloadGrid();
}

void Tkhxg_jg::reloadGrid()
{
    if (!m_customer) return;
    guarded([this] {
        m_rows = book().customerPrices(m_customer->code);
        std::vector<GridRow> rows;
        rows.reserve(m_rows.size());
        for (const CustomerProductPrice &p : m_rows)
            rows.push_back({p.id,
                            {p.khmc, p.cpmc, p.cpgg, p.fhll ? QVariant(*p.fhll) : QVariant(), dateText(p.rq.date()),
                             p.khdm, p.dqmc, p.dqbh, p.cpbz, p.cpdm}});
        m_grid->setRows(std::move(rows));
    });
}

void Tkhxg_jg::rowClicked(qint64 id)
{
    const auto p = std::find_if(m_rows.begin(), m_rows.end(), [id](const CustomerProductPrice &r) { return r.id == id; });
    if (p == m_rows.end()) return;
    m_priceId = p->id;
    m_policy->setText(p->fhll ? numberText(*p->fhll) : QString());
    chain().reach(m_policy);
}

Go Tkhxg_jg::confirm()
{
    // Nothing chosen yet: nothing to write.
    if (!m_priceId) return Go::stay();
    double price = 0;
    if (!guarded([&] { price = PriceBook::parsePrice(m_policy->text()); })) return Go::to(m_policy);
    book().setPolicyPrice(m_priceId, price);
    const qint64 id = m_priceId;
    reloadGrid();
    m_grid->selectId(id);
    return Go::to(m_policy);
}

void Tkhxg_jg::discard()
{
    m_priceId = 0;
    m_policy->clear();
    chain().disableAll();
}

} // namespace fm
