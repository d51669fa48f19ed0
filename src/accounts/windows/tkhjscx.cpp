#include "accounts/windows/tkhjscx.h"

#include "accounts/accountdocuments.h"
#include "accounts/pricehistory.h"
#include "accounts/statements.h"
#include "accounts/windows/datefield.h"
#include "common/dates.h"
#include "data/rowpager.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> lineColumns()
{
    QList<GridColumn> c = gridColumns(
        {QStringLiteral("日期"), QStringLiteral("产品名称"), QStringLiteral("规格"), QStringLiteral("开票价格"),
         QStringLiteral("退料价格"), QStringLiteral("政策价格"), QStringLiteral("实际销量"), QStringLiteral("退料数量"),
         QStringLiteral("退料金额"), QStringLiteral("客户名称"), QStringLiteral("退料日期"), QStringLiteral("地区"),
         QStringLiteral("操作员"), QStringLiteral("包数"), QStringLiteral("产品代码"), QStringLiteral("客户代码")},
        {QStringLiteral("rq_1"), QStringLiteral("cpmc"), QStringLiteral("cpgg"), QStringLiteral("zzjg"), QStringLiteral("kpjg"),
         QStringLiteral("zcjg"), QStringLiteral("zznum"), QStringLiteral("tlnum"), QStringLiteral("kpje"), QStringLiteral("khmc"),
         QStringLiteral("rq_2"), QStringLiteral("region"), QStringLiteral("czydm"), QStringLiteral("sjbs"),
         QStringLiteral("cpdm"), QStringLiteral("khdm")});
    for (int i = 3; i <= 8; ++i) c[i].kind = GridColumn::Kind::Number;
    c[13].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

Tkhjscx::Tkhjscx(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_region(chooser("region", QStringLiteral("地区"))),
      m_customer(chooser("customer", QStringLiteral("客户名称"), true)),
      m_start(asDateInput(input("start", 10))),
      m_end(asDateInput(input("end", 10))),
      m_currentCaption(new QLabel(QStringLiteral("本期销售记录："), this)),
      m_archiveCaption(new QLabel(QStringLiteral("历史销售记录："), this)),
      m_current(new Grid(lineColumns(), this, "current")),
      m_archive(new Grid(lineColumns(), this, "archive")),
      m_print(button(QStringLiteral("客户价格打印"), "print"))
{
    setWindowTitle(QStringLiteral("客户价格查询"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_currentCaption->setBuddy(m_current);
    m_archiveCaption->setBuddy(m_archive);
    m_current->setAccessibleName(m_currentCaption->text());
    m_archive->setAccessibleName(m_archiveCaption->text());

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 4);
    grid.add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户名称："), m_customer)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(m_currentCaption);
    layout->addWidget(m_current, 1);
    layout->addWidget(m_archiveCaption);
    layout->addWidget(m_archive, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(980, 620);

    chain()
        .step(m_start, [this] {
            m_from = checkTypedDate(m_start->text());
            m_start->setText(dateText(m_from));
            return Go::advance();
        })
        .step(m_end, [this] { return query(); })
        .step(m_print, [this] {
            if (m_chosen)
                showDocument(this->ctx(), this, priceHistoryDocument(priceHistory(session(), m_chosen->code, m_from, m_to)));
            return Go::stay();
        });

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    chain().on(m_region, [this] { regionChosen(); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { customerChosen(); }); });
    chain().on(m_customer, [this] { customerChosen(); });
}

void Tkhjscx::activate()
{
    m_chosen.reset();
    m_current->clear();
    m_archive->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{m_currentCaption, m_current, m_archiveCaption, m_archive}) w->show();
    m_customer->clear();
    m_region->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    chain().disableAll();
    m_region->setFocus();
}

void Tkhjscx::regionChosen()
{
    if (m_region->currentIndex() < 0) return;
    m_customer->clear();
    for (const Customer &c : CustomerRegister(session()).customersByName(m_region->currentText()))
        m_customer->addItem(c.name, c.code);
    m_customer->setCurrentIndex(-1);
    m_customer->setFocus();
}

void Tkhjscx::customerChosen()
{
    // A name picked from the list carries its code; a typed one is looked
    // for among the region's customers.
    const QString name = m_customer->currentText().trimmed();
    if (name.isEmpty()) return;
    int index = m_customer->currentIndex();
    if (index < 0 || m_customer->itemText(index).trimmed() != name) index = m_customer->findText(name);
    if (index < 0) return;
    m_chosen = findCustomer(session(), m_customer->itemData(index).toString());
    if (m_chosen) chain().reach(m_start);
}

Go Tkhjscx::query()
{
    if (!m_chosen) return Go::stay();
    m_to = checkTypedDate(m_end->text());
    m_end->setText(dateText(m_to));
    const bool current = hasPriceHistory(session(), false, m_chosen->code, m_from, m_to);
    const bool archived = hasPriceHistory(session(), true, m_chosen->code, m_from, m_to);
    m_current->setPager(std::make_shared<RowPager>(session(), priceHistoryQuery(false, m_chosen->code, m_from, m_to)));
    m_archive->setPager(std::make_shared<RowPager>(session(), priceHistoryQuery(true, m_chosen->code, m_from, m_to)));
    // Only one with rows: it takes the whole window.
    const bool both = current == archived;
    m_currentCaption->setVisible(both || current);
    m_current->setVisible(both || current);
    m_archiveCaption->setVisible(both || archived);
    m_archive->setVisible(both || archived);
    return Go::advance();
}

} // namespace fm
