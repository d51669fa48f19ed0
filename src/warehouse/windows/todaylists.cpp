#include "warehouse/windows/todaylists.h"

#include "warehouse/materialdesk.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/layouts.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

TodayList::TodayList(AppContext &ctx, QWidget *parent, const QString &title, const QList<GridColumn> &columns,
                     const char *name)
    : FunctionWindow(ctx, parent)
{
    setWindowTitle(title);
    resize(900, 480);
    m_grid = new Grid(columns, this, name);
    m_close = button(QStringLiteral("退出"), "close", [this] { accept(); });
    auto *root = new QVBoxLayout(this);
    root->addWidget(m_grid, 1);
    root->addLayout(buttonRow({m_close}));
}

void TodayList::showRows(RowQuery query)
{
    m_grid->setPager(std::make_shared<RowPager>(session(), std::move(query)));
    m_close->setFocus();
}

namespace {
MaterialDesk desk(const AppContext &ctx)
{
    return MaterialDesk(*ctx.session, *ctx.clock, ctx.operatorCode);
}
} // namespace

Trk_cx::Trk_cx(AppContext &ctx, QWidget *parent)
    : TodayList(ctx, parent, QStringLiteral("入库查询"), receiptColumns(), "receipts")
{
}

void Trk_cx::activate()
{
    showRows(desk(ctx()).todaysReceipts());
}

Tck_cx::Tck_cx(AppContext &ctx, QWidget *parent)
    : TodayList(ctx, parent, QStringLiteral("出库查询"), issueColumns(), "issues")
{
}

void Tck_cx::activate()
{
    showRows(desk(ctx()).todaysIssues());
}

Tzj_cx::Tzj_cx(AppContext &ctx, QWidget *parent)
    : TodayList(ctx, parent, QStringLiteral("资金入帐查询"), fundColumns(), "funds")
{
}

void Tzj_cx::activate()
{
    showRows(desk(ctx()).todaysFunds());
}

} // namespace fm
