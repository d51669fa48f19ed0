#include "sales/windows/linecorrectionwindow.h"

#include "common/numbertext.h"
#include "ui/enterchain.h"
#include "ui/grid.h"
#include "ui/prompter.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fm {

namespace {
const QString kBadNumber = QStringLiteral("请输入正确的数字！");
}

LineCorrectionWindow::LineCorrectionWindow(AppContext &ctx, Kind kind, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_kind(kind), m_enter(new EnterChain(this))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const bool issue = kind == Kind::Issue;
    setWindowTitle(issue ? QStringLiteral("修改窗口-点击鼠标右建，选择修改方式") : QStringLiteral("修改窗口"));

    auto *bar = new QMenuBar(this);
    QMenu *help = bar->addMenu(QStringLiteral("帮助"));
    connect(help->addAction(QStringLiteral("使用说明")), &QAction::triggered, this, [this] {
        m_ctx.prompter->inform(this, QStringLiteral("使用说明：点击鼠标左键选择一记录，然后点击鼠标右键，出现一菜单，用户可按菜单进行操作。"));
    });

    m_grid = issue ? makeGrid(this, {QStringLiteral("地区"), QStringLiteral("客户名称"), QStringLiteral("产品名称"),
                                     QStringLiteral("规格"), QStringLiteral("数量(公斤)"), QStringLiteral("开票价格"),
                                     QStringLiteral("开票金额"), QStringLiteral("操作员"), QStringLiteral("日期")})
                   : makeGrid(this, {QStringLiteral("地区"), QStringLiteral("客户名称"), QStringLiteral("退料数量"),
                                     QStringLiteral("退料价格"), QStringLiteral("退料金额"), QStringLiteral("产品代码"),
                                     QStringLiteral("产品名称"), QStringLiteral("规格"), QStringLiteral("操作员"),
                                     QStringLiteral("日期"), QStringLiteral("客户代码")});
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("删除此记录")), &QAction::triggered, this, &LineCorrectionWindow::deleteCurrent);
    connect(menu->addAction(QStringLiteral("修改此记录")), &QAction::triggered, this, &LineCorrectionWindow::modifyCurrent);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint &pos) {
        if (m_grid->rowAt(pos.y()) >= 0) menu->popup(m_grid->viewport()->mapToGlobal(pos));
    });
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &LineCorrectionWindow::select);

    auto field = [this](bool readOnly) {
        auto *e = new QLineEdit(this);
        e->setReadOnly(readOnly);
        return e;
    };
    m_name = field(true);
    m_region = field(true);
    m_code = field(true);
    m_quantity = field(false);
    m_price = field(false);
    m_amount = field(true);
    auto *panel = new QGroupBox(QStringLiteral("修改"), this);
    auto *g = new QGridLayout(panel);
    g->addWidget(new QLabel(QStringLiteral("客户名称："), panel), 0, 0);
    g->addWidget(m_name, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("地区："), panel), 0, 2);
    g->addWidget(m_region, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("客户代码："), panel), 0, 4);
    g->addWidget(m_code, 0, 5);
    g->addWidget(new QLabel(issue ? QStringLiteral("实际数量：") : QStringLiteral("退料数量："), panel), 1, 0);
    g->addWidget(m_quantity, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("(公斤)"), panel), 1, 2);
    g->addWidget(new QLabel(QStringLiteral("开票价格："), panel), 2, 0);
    g->addWidget(m_price, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("(元/吨)"), panel), 2, 2);
    g->addWidget(new QLabel(QStringLiteral("开票金额："), panel), 3, 0);
    g->addWidget(m_amount, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("(元)"), panel), 3, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(panel);
    resize(860, 520);

    m_enter->on(m_quantity, [this] {
        if (m_quantity->text().trimmed().isEmpty()) m_quantity->setText(QStringLiteral("0"));
        m_price->setFocus();
    });
    m_enter->on(m_price, [this] { enterPrice(); });
    m_enter->on(m_amount, [this] { save(); });
    resetPanel();
}

void LineCorrectionWindow::reload()
{
    std::vector<GridRow> rows;
    guardedCall(*m_ctx.prompter, this, [&] {
        for (const SaleLine &l : listLines ? listLines() : std::vector<SaleLine>()) {
            if (m_kind == Kind::Issue)
                rows.push_back({l.id, {l.region, l.khmc, l.cpmc, l.cpgg, l.zznum, l.zzjg, l.zzje, l.czydm, l.rq_2}});
            else
                rows.push_back({l.id, {l.region, l.khmc, l.tlnum, l.kpjg, l.kpje, l.cpdm, l.cpmc, l.cpgg, l.czydm,
                                       l.rq_2, l.khdm}});
        }
    });
    fillGrid(m_grid, rows);
    m_selected = 0;
}

void LineCorrectionWindow::select()
{
    const qint64 id = currentKey(m_grid);
    if (!id) return;
    guardedCall(*m_ctx.prompter, this, [&] {
        const SaleLine l = Corrections(*m_ctx.session, m_ctx.operatorCode).line(id);
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

void LineCorrectionWindow::resetPanel()
{
    for (QLineEdit *e : {m_name, m_region, m_code}) e->clear();
    for (QLineEdit *e : {m_quantity, m_price, m_amount}) {
        e->setText(QStringLiteral("0"));
        e->setEnabled(false);
    }
    m_grid->setFocus();
}

void LineCorrectionWindow::modifyCurrent()
{
    if (!m_selected) return;
    for (QLineEdit *e : {m_quantity, m_price, m_amount}) e->setEnabled(true);
    m_quantity->setFocus();
}

void LineCorrectionWindow::enterPrice()
{
    if (m_price->text().trimmed().isEmpty()) return;
    double qty = 0, price = 0;
    if (!parseNumber(m_quantity->text(), &qty) || !parseNumber(m_price->text(), &price)) {
        m_ctx.prompter->inform(this, kBadNumber);
        return;
    }
    m_amount->setText(numberText(price * qty / 1000));
    m_amount->setFocus();
}

void LineCorrectionWindow::save()
{
    if (!m_selected) return;
    double qty = 0, price = 0;
    if (!parseNumber(m_quantity->text(), &qty) || !parseNumber(m_price->text(), &price)) {
        m_ctx.prompter->inform(this, kBadNumber);
        return;
    }
    if (m_ctx.prompter->ask(this, QStringLiteral("确认修改？"))) {
        Corrections c(*m_ctx.session, m_ctx.operatorCode);
        guardedCall(*m_ctx.prompter, this, [&] {
            if (m_kind == Kind::Issue)
                c.modifyIssueLine(m_selected, qty, price, owner, printLineOf ? printLineOf(m_selected) : 0);
            else
                c.modifyReturnLine(m_selected, qty, price);
        });
        reload();
    }
    resetPanel();
}

void LineCorrectionWindow::deleteCurrent()
{
    if (!m_selected) return;
    Corrections c(*m_ctx.session, m_ctx.operatorCode);
    guardedCall(*m_ctx.prompter, this, [&] {
        if (m_kind == Kind::Issue)
            c.deleteIssueLine(m_selected, owner, printLineOf ? printLineOf(m_selected) : 0);
        else
            c.deleteReturnLine(m_selected);
    });
    reload();
    resetPanel();
}

} // namespace fm
