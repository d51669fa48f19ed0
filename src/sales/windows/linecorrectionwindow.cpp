#include "sales/windows/linecorrectionwindow.h"

#include "common/numbertext.h"
#include "sales/corrections.h"
#include "sales/salesnumbers.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QAction>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

// The columns of the issue lines and of the return lines.
QList<GridColumn> columns(bool issue)
{
    if (issue)
        return gridColumns({"地区", "客户名称", "产品名称", "规格", "数量(公斤)", "开票价格", "开票金额", "操作员", "日期"},
                           {"region", "khmc", "cpmc", "cpgg", "zznum", "zzjg", "zzje", "czydm", "rq_2"});
    return gridColumns({"地区", "客户名称", "退料数量", "退料价格", "退料金额", "产品代码", "产品名称", "规格", "操作员", "日期", "客户代码"},
                       {"region", "khmc", "tlnum", "kpjg", "kpje", "cpdm", "cpmc", "cpgg", "czydm", "rq_2", "khdm"});
}

} // namespace

LineCorrectionWindow::LineCorrectionWindow(AppContext &ctx, Kind kind, QWidget *parent)
    : FunctionWindow(ctx, parent), m_kind(kind)
{
    const bool issue = kind == Kind::Issue;
    setWindowTitle(issue ? QStringLiteral("修改窗口-点击鼠标右建，选择修改方式") : QStringLiteral("修改窗口"));

    auto *bar = new QMenuBar(this);
    QMenu *help = bar->addMenu(QStringLiteral("帮助"));
    connect(help->addAction(QStringLiteral("使用说明")), &QAction::triggered, this, [this] {
        inform(QStringLiteral("使用说明：点击鼠标左键选择一记录，然后点击鼠标右键，出现一菜单，用户可按菜单进行操作。"));
    });

    m_grid = new Grid(columns(issue), this, "lines");
    QTableView *view = m_grid->view();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("删除此记录")), &QAction::triggered, this, &LineCorrectionWindow::deleteCurrent);
    connect(menu->addAction(QStringLiteral("修改此记录")), &QAction::triggered, this, &LineCorrectionWindow::modifyCurrent);
    connect(view, &QWidget::customContextMenuRequested, this, [view, menu](const QPoint &pos) {
        if (view->rowAt(pos.y()) >= 0) menu->popup(view->viewport()->mapToGlobal(pos));
    });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, view] {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        if (!rows.isEmpty()) select(m_grid->idAt(rows.first().row()));
    });

    m_name = display("name");
    m_region = display("region");
    m_code = display("code");
    m_quantity = input("quantity", 16);
    m_price = input("price", 16);
    // Computed from quantity and price; Enter in it saves.
    m_amount = input("amount");
    m_amount->setReadOnly(true);
    auto *panel = new QGroupBox(QStringLiteral("修改"), this);
    FieldGrid(panel, 3)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户代码："), m_code)
        .add(issue ? QStringLiteral("实际数量：") : QStringLiteral("退料数量："), m_quantity, QStringLiteral("(公斤)"))
        .add(QStringLiteral("开票价格："), m_price, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("开票金额："), m_amount, QStringLiteral("(元)"));

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(panel);
    resize(860, 520);

    chain()
        .step(m_quantity, [this] {
            sales::parseKilograms(m_quantity->text());
            return Go::advance();
        }, {QStringLiteral("0"), false, false, {}})
        .step(m_price, [this] { return enterPrice(); })
        .step(m_amount, [this] { return save(); });
    closePanel();
}

void LineCorrectionWindow::activate()
{
    reload();
    closePanel();
}

void LineCorrectionWindow::reload()
{
    Rows rows;
    guarded([&] {
        if (listLines) rows = listLines();
    });
    m_grid->setRows(rows);
    m_selected = 0;
}

void LineCorrectionWindow::select(qint64 id)
{
    if (!id) return;
    guarded([&] {
        const SaleLine l = Corrections(session(), ctx().operatorCode).line(id);
        m_selected = id;
        m_name->setText(l.khmc);
        m_region->setText(l.region);
        m_code->setText(l.khdm);
        const bool issue = m_kind == Kind::Issue;
        m_quantity->setText(numberText(issue ? l.zznum : l.tlnum));
        m_price->setText(numberText(issue ? l.zzjg : l.kpjg));
        m_amount->setText(numberText(issue ? l.zzje : l.kpje));
    });
}

void LineCorrectionWindow::closePanel()
{
    for (QLineEdit *e : {m_name, m_region, m_code}) e->clear();
    for (QLineEdit *e : {m_quantity, m_price, m_amount}) e->setText(QStringLiteral("0"));
    // The panel (the amount too) stays closed until "修改此记录".
    chain().disableAll();
    m_grid->view()->setFocus();
}

void LineCorrectionWindow::modifyCurrent()
{
    if (!m_selected) return;
    chain().reset();
}

Go LineCorrectionWindow::enterPrice()
{
    const double amount = Corrections::amount(sales::parseKilograms(m_quantity->text()), sales::parsePrice(m_price->text()));
    m_amount->setText(numberText(amount));
    return Go::advance();
}

Go LineCorrectionWindow::save()
{
    if (!m_selected) return Go::stay();
    const double quantity = sales::parseKilograms(m_quantity->text());
    const double price = sales::parsePrice(m_price->text());
    if (ask(QStringLiteral("确认修改？"))) {
        Corrections c(session(), ctx().operatorCode);
        guarded([&] {
            if (m_kind == Kind::Issue)
                c.modifyIssueLine(m_selected, quantity, price, workstation, printLineOf ? printLineOf(m_selected) : 0);
            else
                c.modifyReturnLine(m_selected, quantity, price);
        });
        reload();
    }
    closePanel();
    return Go::done();
}

void LineCorrectionWindow::deleteCurrent()
{
    if (!m_selected) return;
    Corrections c(session(), ctx().operatorCode);
    guarded([&] {
        if (m_kind == Kind::Issue)
            c.deleteIssueLine(m_selected, workstation, printLineOf ? printLineOf(m_selected) : 0);
        else
            c.deleteReturnLine(m_selected);
    });
    reload();
    closePanel();
}

} // namespace fm
