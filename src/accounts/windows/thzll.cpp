#include "accounts/windows/thzll.h"

#include "common/money.h"
#include "common/numbertext.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QAction>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

Thzll::Thzll(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_grid(new Grid({QStringLiteral("客户名称"), QStringLiteral("年月"), QStringLiteral("推广费"), QStringLiteral("实际欠款"),
                       QStringLiteral("实际总欠"), QStringLiteral("应收金额"), QStringLiteral("实收金额"), QStringLiteral("地区")},
                      this, "months")),
      m_delete(new QAction(QStringLiteral("删除"), this)),
      m_beforeFee(display("beforeFee")),
      m_fee(display("fee")),
      m_receivable(display("receivable")),
      m_received(display("received")),
      m_actual(display("actual"))
{
    setWindowTitle(QStringLiteral("客户月发生金额汇总浏览"));
    m_grid->view()->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->view()->addAction(m_delete);
    connect(m_delete, &QAction::triggered, this, [this] { guarded([this] { deleteCurrent(); }); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 2);
    grid.add(QStringLiteral("累计实际总欠："), m_beforeFee, QStringLiteral("(元)"))
        .add(QStringLiteral("累计推广费："), m_fee, QStringLiteral("(元)"));
    grid.add(QStringLiteral("累计应收金额："), m_receivable, QStringLiteral("(元)"))
        .add(QStringLiteral("累计实收金额："), m_received, QStringLiteral("(元)"));
    grid.add(QStringLiteral("累计实际欠款："), m_actual);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(fields);
    layout->addLayout(buttonRow({quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(760, 460);
}

void Thzll::load(const MonthRecordFilter &filter)
{
    m_filter = filter;
    reload();
    if (m_grid->rowCount() > 0) m_grid->selectId(m_grid->idAt(m_grid->rowCount() - 1));
}

void Thzll::browse(const MonthRecordFilter &filter)
{
    guarded([&] { load(filter); });
    run();
}

void Thzll::reload()
{
    m_records = MonthRecords(session()).list(m_filter);
    m_totals = MonthRecords::totals(m_records);
    std::vector<GridRow> rows;
    for (const MonthRecord &m : m_records)
        rows.push_back({m.id,
                        {m.name, m.month, money::stored(m.fee), money::stored(m.arrears), money::stored(m.arrearsBeforeFee),
                         money::stored(m.receivable), money::stored(m.received), m.region}});
    m_grid->setRows(std::move(rows));
    m_beforeFee->setText(numberText(money::stored(m_totals.arrearsBeforeFee)));
    m_fee->setText(numberText(money::stored(m_totals.fee)));
    m_receivable->setText(numberText(money::stored(m_totals.receivable)));
    m_received->setText(numberText(money::stored(m_totals.received)));
    m_actual->setText(yuanText(m_totals.actual()));
}

void Thzll::deleteCurrent()
{
    const qint64 id = m_grid->currentId();
    if (id == 0) return;
    if (!ask(QStringLiteral("确认否?"))) return;
    MonthRecords(session()).remove(id);
    reload();
}

} // namespace fm
