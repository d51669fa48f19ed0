#include "pricing/windows/tveljgxg.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/pricelists.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace fm {

Tveljgxg::Tveljgxg(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_grid = new Grid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                       QStringLiteral("开票价格"), QStringLiteral("成本价格"), QStringLiteral("产品标志"),
                       QStringLiteral("日期")},
                      this, "priceGrid");
    m_grid->setStretchColumn(1);
    // Sorting asks first, and alternates as the clerk knows it.
    m_grid->setSortOnTitleClick(false);
    m_grid->view()->horizontalHeader()->setToolTip(QStringLiteral("点击列标题排序"));

    m_name = display("name");
    m_spec = display("specification");
    m_listPrice = input("listPrice", 16);
    m_costPrice = input("costPrice", 16);
    auto *box = new QGroupBox(QStringLiteral("产品价格修改"), this);
    FieldGrid(box, 2)
        .add(QStringLiteral("产品名称："), m_name)
        .add(QStringLiteral("规格：（公斤/包）"), m_spec)
        .add(QStringLiteral("开票价格："), m_listPrice, QStringLiteral("（元/吨）"))
        .add(QStringLiteral("成本价格："), m_costPrice, QStringLiteral("（元/吨）"));

    m_confirm = button(QStringLiteral("确认"), "confirm");
    QPushButton *clear = button(QStringLiteral("成本价格清零"), "clearCostPrices", [this] { clearCostPrices(); });
    QPushButton *print = button(QStringLiteral("打印"), "print", [this] {
        showDocument(this->ctx(), this, costPriceListDocument(m_rows, this->ctx().qymc, this->ctx().clock->today()));
    });
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box, 1);
    bottom->addLayout(buttonColumn({m_confirm, clear, print}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    chain()
        .step(m_listPrice, [] { return Go::advance(); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_costPrice, [] { return Go::advance(); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_confirm, [this] { return confirm(); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { rowClicked(id); });
    connect(m_grid->view()->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int s) { titleClicked(s); });
}

PriceBook Tveljgxg::book() const
{
    return PriceBook(session(), *ctx().clock);
}

void Tveljgxg::activate()
{
    m_sort.reset();
    m_order = PriceOrder();
    resetEntry();
    reload();
}

void Tveljgxg::refresh()
{
    reload();
}

void Tveljgxg::resetEntry()
{
    m_id = 0;
    for (QLineEdit *e : {m_name, m_spec, m_listPrice, m_costPrice}) e->clear();
    chain().disableAll();
}

void Tveljgxg::reload()
{
    guarded([this] {
        m_rows = book().feedProducts(m_order);
        std::vector<GridRow> rows;
        rows.reserve(m_rows.size());
        for (const ProductPrice &p : m_rows)
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cbjg, p.cpbz, dateText(p.rq.date())}});
        m_grid->setRows(std::move(rows));
    });
    if (m_id) m_grid->selectId(m_id);
}

void Tveljgxg::rowClicked(qint64 id)
{
    const auto p = std::find_if(m_rows.begin(), m_rows.end(), [id](const ProductPrice &r) { return r.id == id; });
    if (p == m_rows.end()) return;
    m_id = p->id;
    m_name->setText(p->cpmc);
    m_spec->setText(p->cpgg);
    m_listPrice->setText(numberText(p->kpjg));
    m_costPrice->setText(numberText(p->cbjg));
    chain().reach(m_listPrice);
}

Go Tveljgxg::confirm()
{
    if (!m_id) return Go::stay();
    double list = 0, cost = 0;
    if (!guarded([&] { list = PriceBook::parsePrice(m_listPrice->text()); })) return Go::to(m_listPrice);
    if (!guarded([&] { cost = PriceBook::parsePrice(m_costPrice->text()); })) return Go::to(m_costPrice);
    book().setProductPrices(m_id, list, cost, PriceBook::DateStamp::Today);
    reload();
    return Go::to(m_listPrice);
}

void Tveljgxg::titleClicked(int section)
{
    const QString title = m_grid->title(section);
    const auto column = PriceSortToggle::columnOfTitle(title);
    if (!column || !ask(m_sort.question(title))) return;
    m_order = m_sort.accept(*column);
    reload();
}

void Tveljgxg::clearCostPrices()
{
    if (!ask(QStringLiteral("确认成本价格清零？"))) {
        inform(QStringLiteral("你已经放弃清零！"));
        return;
    }
    book().clearCostPrices();
    inform(QStringLiteral("产品成本价格已经全部清零！"));
    // A price being edited would otherwise write back the old cost.
    resetEntry();
    reload();
}

} // namespace fm
