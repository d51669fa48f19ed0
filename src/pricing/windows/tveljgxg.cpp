#include "pricing/windows/tveljgxg.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/pricelists.h"
#include "pricing/windows/pricegrid.h"
#include "ui/enterchain.h"
#include "ui/reporting.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tveljgxg::Tveljgxg(AppContext &ctx, QWidget *parent) : PricePage(ctx, parent)
{
    m_grid = new PriceGrid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                            QStringLiteral("开票价格"), QStringLiteral("成本价格"), QStringLiteral("产品标志"),
                            QStringLiteral("日期")},
                           this, "priceGrid", 1);
    m_grid->horizontalHeader()->setToolTip(QStringLiteral("点击列标题排序"));

    auto *box = new QGroupBox(QStringLiteral("产品价格修改"), this);
    m_name = priceEdit(box, "name", 40);
    m_name->setReadOnly(true);
    m_spec = priceEdit(box, "specification", 10);
    m_spec->setReadOnly(true);
    m_listPrice = priceEdit(box, "listPrice");
    m_costPrice = priceEdit(box, "costPrice");
    auto *form = new QGridLayout(box);
    form->addWidget(new QLabel(QStringLiteral("产品名称："), box), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("规格：（公斤/包）"), box), 0, 2);
    form->addWidget(m_spec, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("开票价格："), box), 1, 0);
    form->addWidget(withUnit(m_listPrice, QStringLiteral("（元/吨）")), 1, 1);
    form->addWidget(new QLabel(QStringLiteral("成本价格："), box), 1, 2);
    form->addWidget(withUnit(m_costPrice, QStringLiteral("（元/吨）")), 1, 3);
    form->setColumnStretch(1, 2);
    form->setColumnStretch(3, 1);
    form->setHorizontalSpacing(10);

    m_confirm = priceButton(this, QStringLiteral("确认"), "confirm");
    auto *clear = priceButton(this, QStringLiteral("成本价格清零"), "clearCostPrices");
    auto *print = priceButton(this, QStringLiteral("打印"), "print");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_confirm, clear, print}) buttons->addWidget(b);
    buttons->addStretch();

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { rowClicked(i.row()); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int s) { titleClicked(s); });
    enter().on(m_listPrice, [this] { listPriceEntered(); });
    enter().on(m_costPrice, [this] { costPriceEntered(); });
    connect(m_confirm, &QPushButton::clicked, this, [this] { confirm(); });
    connect(clear, &QPushButton::clicked, this, [this] { clearCostPrices(); });
    connect(print, &QPushButton::clicked, this, [this] { this->print(); });
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
    if (m_id) m_grid->selectId(m_id);
}

void Tveljgxg::resetEntry()
{
    m_id = 0;
    for (QLineEdit *e : {m_name, m_spec, m_listPrice, m_costPrice}) e->clear();
    m_listPrice->setEnabled(false);
    m_costPrice->setEnabled(false);
    m_confirm->setEnabled(false);
}

void Tveljgxg::reload()
{
    guarded([this] {
        m_rows = book().feedProducts(m_order);
        std::vector<PriceGrid::Row> rows;
        rows.reserve(m_rows.size());
        for (const ProductPrice &p : m_rows)
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cbjg, p.cpbz, dateText(p.rq.date())}});
        m_grid->setRows(std::move(rows));
    });
}

void Tveljgxg::rowClicked(int row)
{
    if (row < 0 || row >= int(m_rows.size())) return;
    const ProductPrice &p = m_rows[row];
    m_id = p.id;
    m_name->setText(p.cpmc);
    m_spec->setText(p.cpgg);
    m_listPrice->setText(numberText(p.kpjg));
    m_costPrice->setText(numberText(p.cbjg));
    m_costPrice->setEnabled(true);
    m_confirm->setEnabled(false);
    EnterChain::advance(m_listPrice);
    m_listPrice->selectAll();
}

void Tveljgxg::listPriceEntered()
{
    if (m_listPrice->text().trimmed().isEmpty()) m_listPrice->setText(QStringLiteral("0"));
    EnterChain::advance(m_costPrice);
    m_costPrice->selectAll();
}

void Tveljgxg::costPriceEntered()
{
    if (m_costPrice->text().trimmed().isEmpty()) m_costPrice->setText(QStringLiteral("0"));
    EnterChain::advance(m_confirm);
}

void Tveljgxg::confirm()
{
    if (!m_id) return;
    const bool done = guarded([this] {
        book().setProductPrices(m_id, m_listPrice->text(), m_costPrice->text(), PriceBook::DateStamp::Today);
    });
    if (!done) {
        m_listPrice->setFocus();
        return;
    }
    m_confirm->setEnabled(false);
    reload();
    m_grid->selectId(m_id);
}

void Tveljgxg::titleClicked(int section)
{
    const QString title = m_grid->title(section);
    const auto column = PriceSortToggle::columnOfTitle(title);
    if (!column || !ask(m_sort.question(title))) return;
    m_order = m_sort.accept(*column);
    reload();
    if (m_id) m_grid->selectId(m_id);
}

void Tveljgxg::clearCostPrices()
{
    if (!ask(QStringLiteral("确认成本价格清零？"))) {
        inform(QStringLiteral("你已经放弃清零！"));
        return;
    }
    if (!guarded([this] { book().clearCostPrices(); })) return;
    inform(QStringLiteral("产品成本价格已经全部清零！"));
    reload();
    // A price being edited would otherwise write back the old cost.
    resetEntry();
}

void Tveljgxg::print()
{
    showDocument(ctx(), this, costPriceListDocument(m_rows, ctx().qymc, ctx().clock->today()));
}

} // namespace fm
