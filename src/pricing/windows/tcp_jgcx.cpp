#include "pricing/windows/tcp_jgcx.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/dates.h"
#include "pricing/pricebook.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QLabel>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
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
    m_region = chooser("region", QStringLiteral("地区"));
    auto *h = new QHBoxLayout(kind);
    h->addWidget(m_listChoice);
    h->addSpacing(16);
    h->addWidget(m_customerChoice);
    h->addSpacing(32);
    h->addWidget(labelFor(QStringLiteral("选择地区："), m_region, kind));
    h->addWidget(m_region);
    h->addStretch();

    m_products = new Grid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                           QStringLiteral("开票价格"), QStringLiteral("产品标志"), QStringLiteral("日期")},
                          this, "listPriceGrid");
    m_products->setStretchColumn(1);
    m_customers = new Grid({{QStringLiteral("客户名称"), QStringLiteral("khmc")},
                            {QStringLiteral("产品名称"), QStringLiteral("cpmc")},
                            {QStringLiteral("规格"), QStringLiteral("cpgg")},
                            {QStringLiteral("政策价格"), QStringLiteral("fhll"), GridColumn::Kind::Number},
                            {QStringLiteral("日期"), QStringLiteral("rq"), GridColumn::Kind::Date},
                            {QStringLiteral("地区名称"), QStringLiteral("dqmc")},
                            {QStringLiteral("地区编号"), QStringLiteral("dqbh")},
                            {QStringLiteral("产品代码"), QStringLiteral("cpdm")}},
                           this, "regionPriceGrid");
    m_customers->setStretchColumn(1);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_products);
    m_stack->addWidget(m_customers);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(m_stack, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(900, 600);

    chain().step(m_region, [this] {
        // A region's rows run to tens of thousands: the grid reads them a page at a time.
        m_customers->setPager(std::make_shared<RowPager>(
            session(), PriceBook(session(), *this->ctx().clock).regionPolicyPricesQuery(chosenText(m_region))));
        return Go::stay();
    });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
    connect(m_listChoice, &QRadioButton::clicked, this, [this] { showListPrices(); });
    connect(m_customerChoice, &QRadioButton::clicked, this, [this] { showCustomerPrices(); });
}

void Tcp_jgcx::activate()
{
    m_listChoice->setChecked(true);
    showListPrices();
}

void Tcp_jgcx::showListPrices()
{
    chain().disableAll(); // no region in this view
    m_stack->setCurrentWidget(m_products);
    guarded([this] {
        std::vector<GridRow> rows;
        for (const ProductPrice &p : PriceBook(session(), *ctx().clock).feedProducts())
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cpbz, dateText(p.rq.date())}});
        m_products->setRows(std::move(rows));
    });
}

void Tcp_jgcx::showCustomerPrices()
{
    m_stack->setCurrentWidget(m_customers);
    m_customers->clear();
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    chain().reset();
}

} // namespace fm
