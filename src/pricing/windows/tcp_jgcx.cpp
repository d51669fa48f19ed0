#include "pricing/windows/tcp_jgcx.h"

#include "common/dates.h"
#include "pricing/pricebook.h"
#include "pricing/windows/pricegrid.h"
#include "pricing/windows/pricepage.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace fm {

Tcp_jgcx::Tcp_jgcx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品价格查询"));
    auto *kind = new QGroupBox(QStringLiteral("请选择查询类别："), this);
    m_listChoice = new QRadioButton(QStringLiteral("产品牌价"), kind);
    m_listChoice->setObjectName(QStringLiteral("listPrices"));
    m_customerChoice = new QRadioButton(QStringLiteral("客户价格"), kind);
    m_customerChoice->setObjectName(QStringLiteral("customerPrices"));
    m_region = new QComboBox(kind);
    m_region->setObjectName(QStringLiteral("region"));
    m_region->setPlaceholderText(QStringLiteral("地区"));
    m_region->setMinimumWidth(140);
    auto *h = new QHBoxLayout(kind);
    h->addWidget(m_listChoice);
    h->addSpacing(16);
    h->addWidget(m_customerChoice);
    h->addSpacing(32);
    h->addWidget(new QLabel(QStringLiteral("选择地区："), kind));
    h->addWidget(m_region);
    h->addStretch();

    m_products = new PriceGrid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                QStringLiteral("开票价格"), QStringLiteral("产品标志"), QStringLiteral("日期")},
                               this, "listPriceGrid", 1);
    m_customers = new PriceGrid({QStringLiteral("客户名称"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                 QStringLiteral("政策价格"), QStringLiteral("日期"), QStringLiteral("地区名称"),
                                 QStringLiteral("地区编号"), QStringLiteral("产品代码")},
                                this, "regionPriceGrid", 1);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_products);
    m_stack->addWidget(m_customers);

    auto *quit = priceButton(this, QStringLiteral("退出"), "quit");
    QHBoxLayout *buttons = buttonRow({quit});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(m_stack, 1);
    layout->addLayout(buttons);
    resize(900, 600);

    connect(m_listChoice, &QRadioButton::clicked, this, [this] { showListPrices(); });
    connect(m_customerChoice, &QRadioButton::clicked, this, [this] { showCustomerPrices(); });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { regionChosen(); });
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tcp_jgcx::activate()
{
    m_listChoice->setChecked(true);
    showListPrices();
}

void Tcp_jgcx::showListPrices()
{
    m_region->setEnabled(false);
    m_stack->setCurrentWidget(m_products);
    guarded([this] {
        std::vector<PriceGrid::Row> rows;
        for (const ProductPrice &p : PriceBook(session(), *ctx().clock).feedProducts())
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cpbz, dateText(p.rq.date())}});
        m_products->setRows(std::move(rows));
    });
}

void Tcp_jgcx::showCustomerPrices()
{
    m_stack->setCurrentWidget(m_customers);
    m_customers->setRows({});
    m_region->clear();
    guarded([this] {
        for (const PriceRegion &r : PriceBook(session(), *ctx().clock).regions()) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    m_region->setEnabled(true);
    m_region->setFocus();
}

void Tcp_jgcx::regionChosen()
{
    const QString region = m_region->currentText();
    if (m_region->currentIndex() < 0 || region.isEmpty()) return;
    guarded([&] {
        std::vector<PriceGrid::Row> rows;
        for (const CustomerProductPrice &p : PriceBook(session(), *ctx().clock).regionPolicyPrices(region))
            rows.push_back({p.id,
                            {p.khmc, p.cpmc, p.cpgg, p.fhll ? QVariant(*p.fhll) : QVariant(), dateText(p.rq.date()),
                             p.dqmc, p.dqbh, p.cpdm}});
        m_customers->setRows(std::move(rows));
    });
}

} // namespace fm
