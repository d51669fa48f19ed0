#include "accounts/windows/tkhjj.h"

#include "accounts/accountdocuments.h"
#include "accounts/windows/datefield.h"
#include "accounts/windows/tjskhjj_dq.h"
#include "common/clock.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tkhjj::Tkhjj(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_code(input("code", 7)),
      m_region(chooser("region", QStringLiteral("地区"))),
      m_name(chooser("name", QStringLiteral("客户简称"))),
      m_start(asDateInput(input("start", 10))),
      m_end(asDateInput(input("end", 10))),
      m_total(display("total")),
      m_fee(display("fee")),
      m_collate(button(QStringLiteral("数据整理"), "collate")),
      m_process(button(QStringLiteral("数据处理"), "process")),
      m_print(button(QStringLiteral("打印清单"), "print")),
      m_batchButton(button(QStringLiteral("按地区批处理"), "batch", [this] {
          batchWindow()->run();
      })),
      m_grid(new Grid({QStringLiteral("地区"), QStringLiteral("客户名称"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                       QStringLiteral("实际销量"), QStringLiteral("票面金额"), QStringLiteral("政策价格"),
                       QStringLiteral("政策金额"), QStringLiteral("应付推广费"), QStringLiteral("起始日期")},
                      this, "lines"))
{
    setWindowTitle(QStringLiteral("客户销售数据处理"));
    m_grid->setStretchColumn(2);
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 3);
    grid.add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户简称："), m_name);
    grid.add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end).newRow();
    grid.add(QStringLiteral("总销量："), m_total, QStringLiteral("（吨）"))
        .add(QStringLiteral("累计返还金额："), m_fee, QStringLiteral("(元)"));
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_collate, m_process, m_print, m_batchButton, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(900, 520);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_start, [this] { return startEntered(); })
        .step(m_end, [this] { return endEntered(); }, StepOptions{QString(), true, false, {}})
        .step(m_collate, [this] { return collate(); })
        .step(m_process, [this] { return process(); })
        .step(m_print, [this] {
            print();
            return Go::stay();
        });

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    chain().on(m_region, [this] { regionChosen(); });
    connect(m_name, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { nameChosen(); }); });
    chain().on(m_name, [this] { nameChosen(); });
}

Tjskhjj_dq *Tkhjj::batchWindow()
{
    if (!m_batch) m_batch = new Tjskhjj_dq(ctx(), this);
    return m_batch;
}

void Tkhjj::activate()
{
    m_customer.reset();
    m_period = Period();
    m_code->clear();
    m_start->clear();
    m_end->setText(dateText(ctx().clock->today()));
    m_total->clear();
    m_fee->clear();
    m_grid->clear();
    m_name->clear();
    m_regions.clear();
    m_region->clear();
    guarded([this] {
        m_regions = CustomerRegister(session()).regions();
        for (const Region &r : m_regions) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    m_region->setEnabled(true);
    m_name->setEnabled(true);
    chain().reset();
}

void Tkhjj::showCustomer(const Customer &c)
{
    m_customer = c;
    m_code->setText(c.code);
    m_region->setEnabled(true);
    m_name->setEnabled(true);
    m_total->setEnabled(true);
    const int r = m_region->findText(c.region);
    m_region->setCurrentIndex(r);
    // The name box lists the region's customers; the one chosen is there
    // even when its code belongs to another region.
    if (r >= 0) regionChosen();
    int n = m_name->findData(c.code);
    if (n < 0) {
        m_name->addItem(c.name, c.code);
        n = m_name->count() - 1;
    }
    m_name->setCurrentIndex(n);
}

Go Tkhjj::codeEntered()
{
    const auto c = findCustomer(session(), m_code->text());
    if (!c) return Go::stay();
    showCustomer(*c);
    return Go::advance();
}

void Tkhjj::regionChosen()
{
    const int index = m_region->currentIndex();
    if (index < 0) return;
    m_name->clear();
    for (const Customer &c : CustomerRegister(session()).customersByCode(m_region->itemData(index).toString()))
        if (!c.isClosed()) m_name->addItem(c.name, c.code);
    m_name->setCurrentIndex(-1);
}

void Tkhjj::nameChosen()
{
    const int index = m_name->currentIndex();
    if (index < 0) return;
    const auto c = findCustomer(session(), m_name->itemData(index).toString());
    if (!c) return;
    m_customer = c;
    m_code->setText(c->code);
    m_total->setEnabled(true);
    const QDate today = ctx().clock->today();
    m_start->setText(QStringLiteral("%1-%2-01").arg(today.year()).arg(today.month(), 2, 10, QLatin1Char('0')));
    chain().reach(m_start);
}

Go Tkhjj::startEntered()
{
    m_period.start = Settlement::checkStart(m_start->text());
    m_start->setText(dateText(m_period.start));
    m_end->setText(dateText(Settlement::endThisMonth(ctx().clock->today())));
    return Go::advance();
}

Go Tkhjj::endEntered()
{
    if (EnterChain::isBlank(m_end)) m_end->setText(dateText(Settlement::endThisMonth(ctx().clock->today())));
    const QDate end = Settlement::checkEnd(m_period.start, m_end->text());
    m_end->setText(dateText(end));
    // A period of more than a month is booked under its first month alone.
    if (!Settlement::isOneMonth({m_period.start, end})
        && !ask(QStringLiteral("结算期从%1到%2，不是一个月，是否继续？").arg(dateText(m_period.start), dateText(end))))
        return Go::stay();
    m_period.end = end;
    return Go::advance();
}

void Tkhjj::showLines(const std::vector<SettlementLine> &lines)
{
    std::vector<GridRow> rows;
    rows.reserve(lines.size());
    for (const SettlementLine &l : lines)
        rows.push_back({l.id,
                        {l.region, l.customerName, l.productName, l.spec, money::stored(l.quantity),
                         money::stored(l.faceAmount), l.policyPrice, money::stored(l.policyAmount), money::stored(l.fee),
                         l.start}});
    m_grid->setRows(std::move(rows));
}

Go Tkhjj::collate()
{
    if (!m_customer) return Go::to(m_code);
    const Collation c = Settlement(session()).collate(*m_customer, m_period);
    for (const MissingPolicyPrice &m : c.missing) inform(Settlement::missingPolicyMessage(m));
    showLines(c.lines);
    m_total->setText(numberText(money::stored(c.kilograms) / 1000));
    m_fee->clear();
    if (c.lines.empty() && !ask(QStringLiteral("无该客户的记录,是否处理?！"))) return Go::to(m_code);
    return Go::advance();
}

Go Tkhjj::process()
{
    if (!m_customer) return Go::to(m_code);
    const SettlementFigures f = Settlement(session()).process(*m_customer, m_period);
    showLines(Settlement(session()).lines(m_customer->code, m_period));
    m_fee->setText(numberText(money::stored(f.fee)));
    // Settled: the period's inputs rest until the next customer's code.
    for (QWidget *w : std::initializer_list<QWidget *>{m_region, m_name, m_start, m_end, m_total, m_collate, m_process})
        w->setEnabled(false);
    m_code->setEnabled(true);
    return Go::advance();
}

void Tkhjj::print()
{
    if (!m_customer) return;
    const std::vector<SettlementLine> lines = Settlement(session()).lines(m_customer->code, m_period);
    showDocument(ctx(), this,
                 settlementListDocument(m_customer->name, m_period.start, m_period.end, lines, ctx().clock->today()));
}

} // namespace fm
