#include "pricing/windows/tkhxg_jg.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/pricelists.h"
#include "pricing/windows/pricegrid.h"
#include "pricing/windows/pricepage.h"
#include "ui/enterchain.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QComboBox *priceChooser(QWidget *parent, const char *name, const QString &placeholder, bool editable, int width)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setPlaceholderText(placeholder);
    } else {
        c->setPlaceholderText(placeholder);
    }
    c->setMinimumWidth(width);
    return c;
}

} // namespace

Tkhxg_jg::Tkhxg_jg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户产品价格修改"));
    m_region = priceChooser(this, "region", QStringLiteral("地区"), false, 120);
    m_name = priceChooser(this, "customerName", QStringLiteral("客户名称"), true, 180);
    m_code = priceChooser(this, "customerCode", QStringLiteral("客户代码"), true, 120);
    auto *choose = new QHBoxLayout;
    choose->addWidget(new QLabel(QStringLiteral("地区："), this));
    choose->addWidget(m_region);
    choose->addSpacing(12);
    choose->addWidget(new QLabel(QStringLiteral("客户名称："), this));
    choose->addWidget(m_name);
    choose->addSpacing(12);
    choose->addWidget(new QLabel(QStringLiteral("客户代码："), this));
    choose->addWidget(m_code);
    choose->addStretch();

    m_grid = new PriceGrid({QStringLiteral("客户名称"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                            QStringLiteral("政策价格"), QStringLiteral("日期"), QStringLiteral("客户代码"),
                            QStringLiteral("地区名称"), QStringLiteral("地区编号"), QStringLiteral("产品标志"),
                            QStringLiteral("产品代码")},
                           this, "customerPriceGrid", 1);

    m_policy = priceEdit(this, "policyPrice");
    m_policy->setMaximumWidth(140);
    m_confirm = priceButton(this, QStringLiteral("确认"), "confirm");
    m_discard = priceButton(this, QStringLiteral("放弃"), "discard");
    auto *print = priceButton(this, QStringLiteral("打印"), "print");
    auto *quit = priceButton(this, QStringLiteral("退出"), "quit");
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("政策价格:"), this));
    bottom->addWidget(m_policy);
    bottom->addWidget(new QLabel(QStringLiteral("(元/吨)"), this));
    bottom->addStretch();
    for (QPushButton *b : {m_confirm, m_discard, print, quit}) bottom->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(980, 600);

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { regionChosen(); });
    enter().on(m_region, [this] { regionChosen(); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { nameChosen(i); });
    enter().on(m_name, [this] { nameEntered(); });
    connect(m_code, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { codeChosen(i); });
    enter().on(m_code, [this] { codeEntered(); });
    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { rowClicked(i.row()); });
    enter().on(m_policy, [this] { policyEntered(); });
    connect(m_confirm, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_discard, &QPushButton::clicked, this, [this] { discard(); });
    connect(print, &QPushButton::clicked, this, [this] { this->print(); });
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

PriceBook Tkhxg_jg::book()
{
    return PriceBook(session(), *ctx().clock);
}

void Tkhxg_jg::activate()
{
    m_region->clear();
    m_name->clear();
    m_code->clear();
    m_customer.reset();
    m_rows.clear();
    m_grid->setRows({});
    discard();
    guarded([this] {
        for (const PriceRegion &r : book().regions()) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    m_region->setFocus();
}

void Tkhxg_jg::regionChosen()
{
    const QString code = m_region->currentData().toString();
    if (code.isEmpty()) return;
    std::vector<PriceCustomer> customers;
    if (!guarded([&] { customers = book().customersOfRegion(code); })) return;
    m_name->clear();
    m_code->clear();
    for (const PriceCustomer &c : customers) {
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
    if (code.isEmpty()) {
        nameEntered();
        return;
    }
    std::optional<PriceCustomer> c;
    if (!guarded([&] { c = book().customerByCode(code); })) return;
    if (c) loadCustomer(*c);
}

void Tkhxg_jg::nameEntered()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) return;
    const int listed = m_name->findText(name);
    if (listed >= 0 && !m_name->itemData(listed).toString().isEmpty()) {
        m_name->setCurrentIndex(listed);
        nameChosen(listed);
        return;
    }
    std::optional<PriceCustomer> c;
    if (!guarded([&] { c = book().customerByName(name); })) return;
    if (c) loadCustomer(*c);
}

void Tkhxg_jg::codeChosen(int index)
{
    if (index < 0) return;
    codeEntered();
}

void Tkhxg_jg::codeEntered()
{
    const QString code = m_code->currentText().trimmed();
    if (code.isEmpty()) return;
    std::optional<PriceCustomer> c;
    if (!guarded([&] { c = book().customerByCode(code); })) return;
    if (c) loadCustomer(*c);
}

void Tkhxg_jg::loadCustomer(const PriceCustomer &c)
{
    m_customer = c;
    m_name->setEditText(c.name);
    m_code->setEditText(c.code);
    const int region = m_region->findText(c.region);
    if (region >= 0) m_region->setCurrentIndex(region);
    discard();
    reloadGrid();
}

void Tkhxg_jg::reloadGrid()
{
    if (!m_customer) return;
    guarded([this] {
        m_rows = book().customerPrices(m_customer->code);
        std::vector<PriceGrid::Row> rows;
        rows.reserve(m_rows.size());
        for (const CustomerProductPrice &p : m_rows)
            rows.push_back({p.id,
                            {p.khmc, p.cpmc, p.cpgg, p.fhll ? QVariant(*p.fhll) : QVariant(), dateText(p.rq.date()),
                             p.khdm, p.dqmc, p.dqbh, p.cpbz, p.cpdm}});
        m_grid->setRows(std::move(rows));
    });
}

void Tkhxg_jg::rowClicked(int row)
{
    if (row < 0 || row >= int(m_rows.size())) return;
    const CustomerProductPrice &p = m_rows[row];
    m_priceId = p.id;
    m_policy->setText(p.fhll ? numberText(*p.fhll) : QString());
    m_confirm->setEnabled(false);
    m_discard->setEnabled(false);
    EnterChain::advance(m_policy);
    m_policy->selectAll();
}

void Tkhxg_jg::policyEntered()
{
    if (m_policy->text().trimmed().isEmpty() || !m_priceId) return;
    m_discard->setEnabled(true);
    EnterChain::advance(m_confirm);
}

void Tkhxg_jg::confirm()
{
    // Nothing chosen yet: nothing to write.
    if (!m_priceId) return;
    const bool done = guarded([this] { book().setPolicyPrice(m_priceId, m_policy->text()); });
    if (!done) {
        m_confirm->setEnabled(false);
        m_policy->setFocus();
        m_policy->selectAll();
        return;
    }
    const qint64 id = m_priceId;
    reloadGrid();
    m_grid->selectId(id);
    m_confirm->setEnabled(false);
    m_discard->setEnabled(false);
}

void Tkhxg_jg::discard()
{
    m_priceId = 0;
    m_policy->clear();
    m_policy->setEnabled(false);
    m_confirm->setEnabled(false);
    m_discard->setEnabled(false);
}

void Tkhxg_jg::print()
{
    if (!m_customer) return;
    showDocument(ctx(), this, customerPriceListDocument(m_rows, m_customer->name, ctx().clock->today()));
}

} // namespace fm
