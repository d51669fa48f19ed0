#include "sales/windows/returntab.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/salesdocuments.h"
#include "sales/windows/linecorrectionwindow.h"
#include "ui/enterchain.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/prompter.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kBadNumber = QStringLiteral("请输入正确的数字！");

QLineEdit *field(QWidget *parent, int maxLength = 0, bool readOnly = false)
{
    auto *e = new QLineEdit(parent);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

const QStringList kPurchaseHeaders{QStringLiteral("开票日期"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                   QStringLiteral("政策价"), QStringLiteral("数量(公斤)"), QStringLiteral("开票价"),
                                   QStringLiteral("开票金额"), QStringLiteral("客户名称"), QStringLiteral("产品代码"),
                                   QStringLiteral("地区"), QStringLiteral("客户代码"), QStringLiteral("操作员"),
                                   QStringLiteral("包数"), QStringLiteral("流水号")};

} // namespace

ReturnTab::ReturnTab(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_enter(new EnterChain(this))
{
    m_customer = field(this, 7);
    m_region = field(this, 0, true);
    m_name = field(this, 0, true);
    m_from = field(this, 10);
    m_to = field(this, 10);
    m_from->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_to->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_product = field(this, 0, true);
    m_productName = field(this, 0, true);
    m_spec = field(this, 0, true);
    m_category = field(this, 0, true);
    m_soldPrice = field(this, 0, true);
    m_policyPrice = field(this, 0, true);
    m_bags = field(this, 10);
    m_unit = new QComboBox(this);
    m_unit->setEditable(true);
    m_unit->setInsertPolicy(QComboBox::NoInsert);
    m_unit->addItems({QStringLiteral("大包"), QStringLiteral("中包"), QStringLiteral("小包"), QStringLiteral("箱"),
                      QStringLiteral("袋"), QStringLiteral("包")});
    m_kilograms = field(this, 16);
    m_amount = field(this, 0, true);
    m_date = field(this, 0, true);

    auto *head = new QGroupBox(QStringLiteral("客户"), this);
    auto *hg = new QGridLayout(head);
    hg->addWidget(new QLabel(QStringLiteral("客户代码："), head), 0, 0);
    hg->addWidget(m_customer, 0, 1);
    hg->addWidget(new QLabel(QStringLiteral("地区："), head), 0, 2);
    hg->addWidget(m_region, 0, 3);
    hg->addWidget(new QLabel(QStringLiteral("简称："), head), 0, 4);
    hg->addWidget(m_name, 0, 5);
    hg->addWidget(new QLabel(QStringLiteral("买料时间："), head), 1, 0);
    hg->addWidget(m_from, 1, 1);
    hg->addWidget(new QLabel(QStringLiteral("至"), head), 1, 2, Qt::AlignCenter);
    hg->addWidget(m_to, 1, 3);
    hg->addWidget(new QLabel(QStringLiteral("开票日期："), head), 1, 4);
    hg->addWidget(m_date, 1, 5);

    auto *line = new QGroupBox(QStringLiteral("退料"), this);
    auto *lg = new QGridLayout(line);
    lg->addWidget(new QLabel(QStringLiteral("产品代码："), line), 0, 0);
    lg->addWidget(m_product, 0, 1);
    lg->addWidget(m_productName, 0, 2, 1, 3);
    lg->addWidget(new QLabel(QStringLiteral("产品规格："), line), 1, 0);
    lg->addWidget(m_spec, 1, 1);
    lg->addWidget(new QLabel(QStringLiteral("（公斤/包）"), line), 1, 2);
    lg->addWidget(new QLabel(QStringLiteral("产品类别："), line), 1, 3);
    lg->addWidget(m_category, 1, 4);
    lg->addWidget(new QLabel(QStringLiteral("开票价格："), line), 2, 0);
    lg->addWidget(m_soldPrice, 2, 1);
    lg->addWidget(new QLabel(QStringLiteral("（元/吨）"), line), 2, 2);
    lg->addWidget(new QLabel(QStringLiteral("政策价格："), line), 2, 3);
    lg->addWidget(m_policyPrice, 2, 4);
    lg->addWidget(new QLabel(QStringLiteral("(元/吨)"), line), 2, 5);
    lg->addWidget(new QLabel(QStringLiteral("退料数量(包):"), line), 3, 0);
    lg->addWidget(m_bags, 3, 1);
    lg->addWidget(new QLabel(QStringLiteral("单位："), line), 3, 3);
    lg->addWidget(m_unit, 3, 4);
    lg->addWidget(new QLabel(QStringLiteral("折合公斤数:"), line), 4, 0);
    lg->addWidget(m_kilograms, 4, 1);
    lg->addWidget(new QLabel(QStringLiteral("（公斤）"), line), 4, 2);
    lg->addWidget(new QLabel(QStringLiteral("合计金额："), line), 4, 3);
    lg->addWidget(m_amount, 4, 4);
    lg->addWidget(new QLabel(QStringLiteral("(元)"), line), 4, 5);
    lg->setColumnStretch(4, 1);

    m_choose = new QPushButton(QStringLiteral("选择客户"), this);
    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_list = new QPushButton(QStringLiteral("退料显示"), this);
    m_correct = new QPushButton(QStringLiteral("数据修改"), this);
    m_print = new QPushButton(QStringLiteral("打印清单"), this);
    m_preview = new QPushButton(QStringLiteral("打印预览"), this);
    QVBoxLayout *buttons = buttonColumn({m_choose, m_confirm, m_cancel, m_list, m_correct, m_print, m_preview});

    auto *totals = new QGroupBox(QStringLiteral("合计"), this);
    auto *tg = new QHBoxLayout(totals);
    m_count = new QLabel(QStringLiteral("0"), totals);
    m_totalQuantity = new QLabel(QStringLiteral("0"), totals);
    m_totalAmount = new QLabel(QStringLiteral("0"), totals);
    for (QLabel *l : {m_count, m_totalQuantity, m_totalAmount}) l->setMinimumWidth(90);
    tg->addWidget(new QLabel(QStringLiteral("总记录数："), totals));
    tg->addWidget(m_count);
    tg->addSpacing(24);
    tg->addWidget(new QLabel(QStringLiteral("总销售量："), totals));
    tg->addWidget(m_totalQuantity);
    tg->addWidget(new QLabel(QStringLiteral("(公斤)"), totals));
    tg->addSpacing(24);
    tg->addWidget(new QLabel(QStringLiteral("总金额："), totals));
    tg->addWidget(m_totalAmount);
    tg->addWidget(new QLabel(QStringLiteral("(元)"), totals));
    tg->addStretch();

    m_returns = makeGrid(this, {QStringLiteral("客户代码"), QStringLiteral("地区"), QStringLiteral("客户名称"),
                                QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                QStringLiteral("销量"), QStringLiteral("退料数量"), QStringLiteral("退料价"),
                                QStringLiteral("退料金额"), QStringLiteral("开票日期"), QStringLiteral("退料日期"),
                                QStringLiteral("周转号码"), QStringLiteral("操作员")});
    m_current = makeGrid(this, kPurchaseHeaders);
    m_history = makeGrid(this, kPurchaseHeaders);
    m_current->setToolTip(QStringLiteral("本期购买记录：点击要退的那一行"));
    m_history->setToolTip(QStringLiteral("历史购买记录：点击要退的那一行"));
    m_current->hide();
    m_history->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(line);
    left->addWidget(totals);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_current, 1);
    layout->addWidget(m_history, 1);
    layout->addWidget(m_returns, 1);

    m_enter->on(m_customer, [this] { enterCustomer(); });
    m_enter->on(m_from, [this] {
        if (m_from->text().trimmed().isEmpty()) return;
        EnterChain::advance(m_to);
    });
    m_enter->on(m_to, [this] { findPurchases(); });
    m_enter->on(m_bags, [this] { enterBags(); });
    m_enter->on(m_unit, [this] { enterUnit(); });
    connect(m_unit, QOverload<int>::of(&QComboBox::activated), this, [this] { enterUnit(); });
    m_enter->on(m_kilograms, [this] { prepare(); });
    connect(m_current, &QTableWidget::cellClicked, this, [this](int row) { pickPurchase(row, false); });
    connect(m_history, &QTableWidget::cellClicked, this, [this](int row) { pickPurchase(row, true); });
    connect(m_choose, &QPushButton::clicked, this, &ReturnTab::chooseCustomer);
    connect(m_confirm, &QPushButton::clicked, this, &ReturnTab::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &ReturnTab::cancel);
    connect(m_list, &QPushButton::clicked, this, &ReturnTab::toggleList);
    connect(m_correct, &QPushButton::clicked, this, &ReturnTab::corrections);
    connect(m_print, &QPushButton::clicked, this, [this] { printList(true); });
    connect(m_preview, &QPushButton::clicked, this, [this] { printList(false); });

    openCorrections = [this] {
        LineCorrectionWindow w(m_ctx, LineCorrectionWindow::Kind::Return, this);
        const QString code = m_cust ? m_cust->code : QString();
        w.listLines = [this, code] { return Corrections(*m_ctx.session, m_ctx.operatorCode).returnLines(lineDate(), code); };
        w.reload();
        EnterChain::noAutoDefault(&w);
        w.exec();
    };

    for (QWidget *w : std::initializer_list<QWidget *>{m_customer, m_from, m_to, m_bags, m_unit, m_kilograms, m_confirm,
                                                       m_cancel, m_correct, m_print})
        w->setEnabled(false);
}

Returns ReturnTab::returns()
{
    return Returns(*m_ctx.session, *m_ctx.clock, m_ctx.operatorCode);
}

void ReturnTab::activate()
{
    m_date->setText(lineDate());
    const QString today = dateText(m_ctx.clock->today());
    if (m_from->text().isEmpty()) m_from->setText(today);
    if (m_to->text().isEmpty()) m_to->setText(today);
}

void ReturnTab::chooseCustomer()
{
    m_customer->clear();
    EnterChain::advance(m_customer);
}

void ReturnTab::enterCustomer()
{
    if (m_customer->text().trimmed().isEmpty()) return;
    std::optional<SalesCustomer> c;
    if (!guardedCall(*m_ctx.prompter, this, [&] { c = returns().customer(m_customer->text()); }) || !c) return;
    m_cust = c;
    m_customer->setText(c->code);
    m_region->setText(c->region);
    m_name->setText(c->name);
    EnterChain::advance(m_from);
}

void ReturnTab::findPurchases()
{
    if (!m_cust || m_to->text().trimmed().isEmpty()) return;
    const QDate from = parseDateText(m_from->text());
    const QDate to = parseDateText(m_to->text());
    if (!from.isValid() || !to.isValid()) {
        m_ctx.prompter->inform(this, QStringLiteral("日期有错！请按yyyy-mm-dd输入。"));
        return;
    }
    m_from->setText(dateText(from));
    m_to->setText(dateText(to));
    if (!guardedCall(*m_ctx.prompter, this, [&] { m_purchases = returns().purchases(m_cust->code, dateText(from), dateText(to)); }))
        return;
    std::vector<GridRow> current, history;
    for (size_t i = 0; i < m_purchases.size(); ++i) {
        const Purchase &p = m_purchases[i];
        GridRow r{qint64(i), {p.rq_1, p.cpmc, p.cpgg, p.zcjg, p.zznum, p.zzjg, p.zzje, p.khmc, p.cpdm, p.region, p.khdm,
                              p.czydm, p.sjbs, p.recnum}};
        (p.history ? history : current).push_back(r);
    }
    fillGrid(m_current, current);
    fillGrid(m_history, history);
    m_current->show();
    m_history->setVisible(!history.empty());
    m_current->setFocus();
}

void ReturnTab::pickPurchase(int row, bool history)
{
    QTableWidget *grid = history ? m_history : m_current;
    if (row < 0 || row >= grid->rowCount() || !grid->item(row, 0)) return;
    const size_t index = size_t(grid->item(row, 0)->data(Qt::UserRole).toLongLong());
    if (index >= m_purchases.size()) return;
    m_picked = m_purchases[index];
    const Purchase &p = *m_picked;
    m_product->setText(p.cpdm);
    m_productName->setText(p.cpmc);
    m_spec->setText(p.cpgg);
    m_soldPrice->setText(numberText(p.zzjg));
    m_policyPrice->setText(numberText(p.zcjg));
    guardedCall(*m_ctx.prompter, this, [&] {
        m_category->setText(m_ctx.session->scalar(QStringLiteral("SELECT lbmc FROM {cplbgg} WHERE cpbz = ? ORDER BY id {first:1}"),
                                                  {p.bz_3}).toString().trimmed());
    });
    m_current->hide();
    m_history->hide();
    EnterChain::advance(m_bags);
}

void ReturnTab::enterBags()
{
    if (!m_picked) return;
    if (m_bags->text().trimmed().isEmpty()) m_bags->setText(QStringLiteral("0"));
    if (!parseNumber(m_bags->text(), &m_bagsValue) || m_bagsValue < 0) {
        m_ctx.prompter->inform(this, kBadNumber);
        return;
    }
    const QString unit = Returns::unitFor(m_picked->cpgg);
    if (!unit.isEmpty()) m_unit->setEditText(unit);
    EnterChain::advance(m_unit);
}

void ReturnTab::enterUnit()
{
    if (!m_picked || m_unit->currentText().trimmed().isEmpty()) return;
    double current = 0;
    parseNumber(m_kilograms->text(), &current);
    double kg = current;
    if (!guardedCall(*m_ctx.prompter, this, [&] {
            kg = Returns::kilograms(m_unit->currentText(), m_bagsValue, m_picked->cpgg, current);
        }))
        return;
    m_kilograms->setText(numberText(kg));
    EnterChain::advance(m_kilograms);
}

void ReturnTab::prepare()
{
    if (!m_picked || !m_cust || m_kilograms->text().trimmed().isEmpty()) return;
    double kg = 0;
    if (!parseNumber(m_kilograms->text(), &kg)) {
        m_ctx.prompter->inform(this, kBadNumber);
        return;
    }
    if (!guardedCall(*m_ctx.prompter, this, [&] {
            m_prepared = returns().prepare(*m_picked, m_bagsValue, m_unit->currentText(), kg);
        }))
        return;
    m_amount->setText(numberText(m_prepared->amount));
    m_kilograms->setEnabled(false);
    m_print->setEnabled(true);
    m_confirm->setEnabled(true);
    m_cancel->setEnabled(true);
    m_confirm->setFocus();
}

void ReturnTab::confirm()
{
    if (!m_prepared || !m_cust) return;
    ReturnResult result;
    if (!guardedCall(*m_ctx.prompter, this, [&] { result = returns().confirm(*m_cust, *m_prepared, lineDate()); }))
        return;
    if (result.productMissing) m_ctx.prompter->inform(this, QStringLiteral("该产品不存在！"));
    m_totalKg += m_prepared->kilograms;
    m_totalMoney += m_prepared->amount;
    m_allOfOperator = false;
    guardedCall(*m_ctx.prompter, this, [&] { showReturns(returns().todaysReturns(lineDate(), m_cust->code)); });
    showTotals();
    resetReturnFields();
    m_print->setEnabled(true);
    m_correct->setEnabled(true);
    EnterChain::advance(m_customer);
}

void ReturnTab::cancel()
{
    // The serial number drawn stays used; nothing else was written.
    resetReturnFields();
    m_cust.reset();
    for (QLineEdit *e : {m_region, m_name, m_customer}) e->clear();
    EnterChain::advance(m_customer);
}

void ReturnTab::resetReturnFields()
{
    m_prepared.reset();
    m_picked.reset();
    for (QLineEdit *e : {m_soldPrice, m_policyPrice, m_kilograms, m_amount, m_bags}) e->setText(QStringLiteral("0"));
    for (QLineEdit *e : {m_product, m_productName, m_spec, m_category}) e->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{m_unit, m_bags, m_kilograms, m_confirm, m_cancel}) w->setEnabled(false);
}

void ReturnTab::showReturns(const std::vector<ReturnLine> &lines)
{
    m_shown = lines;
    std::vector<GridRow> rows;
    for (const ReturnLine &l : lines)
        rows.push_back({l.id, {l.khdm, l.region, l.khmc, l.cpdm, l.cpmc, l.cpgg, l.zznum, l.tlnum, l.kpjg, l.kpje,
                               l.rq_1, l.rq_2, l.zzhm, l.czydm}});
    fillGrid(m_returns, rows);
    m_count->setText(QString::number(lines.size()));
}

void ReturnTab::showTotals()
{
    m_totalQuantity->setText(numberText(m_totalKg));
    m_totalAmount->setText(numberText(m_totalMoney));
}

void ReturnTab::toggleList()
{
    // First the customer's returns of today, then all of this operator's.
    const QString code = m_allOfOperator || !m_cust ? QString() : m_cust->code;
    guardedCall(*m_ctx.prompter, this, [&] { showReturns(returns().todaysReturns(lineDate(), code)); });
    m_allOfOperator = !m_allOfOperator;
}

void ReturnTab::corrections()
{
    if (openCorrections) openCorrections();
    const QString code = m_cust ? m_cust->code : QString();
    guardedCall(*m_ctx.prompter, this, [&] { showReturns(returns().todaysReturns(lineDate(), code)); });
    m_totalKg = 0;
    m_totalMoney = 0;
    for (const ReturnLine &l : m_shown) {
        if (m_cust && l.khdm.compare(m_cust->code, Qt::CaseInsensitive) != 0) continue;
        m_totalKg += l.tlnum;
        m_totalMoney += l.kpje;
    }
    showTotals();
}

void ReturnTab::printList(bool direct)
{
    std::vector<ReturnListRow> rows;
    for (const ReturnLine &l : m_shown) rows.push_back({l.khmc, l.region, l.cpmc, l.cpgg, l.tlnum, l.kpjg, l.kpje});
    const ReportDocument doc = returnListDocument(m_ctx.qymc, rows, m_ctx.clock->today());
    if (direct) printDocument(m_ctx, this, doc);
    else showDocument(m_ctx, this, doc);
}

} // namespace fm
