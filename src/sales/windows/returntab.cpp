#include "sales/windows/returntab.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "sales/corrections.h"
#include "sales/salesdocuments.h"
#include "sales/salesnumbers.h"
#include "sales/windows/linecorrectionwindow.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> purchaseColumns()
{
    return gridColumns({"开票日期", "产品名称", "规格", "政策价", "数量(公斤)", "开票价", "开票金额", "客户名称", "产品代码", "地区",
                        "客户代码", "操作员", "包数", "流水号"},
                       {"rq_1", "cpmc", "cpgg", "zcjg", "zznum", "zzjg", "zzje", "khmc", "cpdm", "region", "khdm", "czydm",
                        "sjbs", "recnum"});
}

QLabel *total(QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("0"), parent);
    l->setMinimumWidth(90);
    return l;
}

} // namespace

ReturnTab::ReturnTab(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_customer = input("customer", 7);
    m_region = display("region");
    m_name = display("name");
    m_from = input("from", 10);
    m_to = input("to", 10);
    m_from->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_to->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_product = display("product");
    m_productName = display("productName");
    m_spec = display("spec");
    m_category = display("category");
    m_soldPrice = display("soldPrice");
    m_policyPrice = display("policyPrice");
    m_bags = input("bags", 10);
    m_unit = chooser("unit", QString(), true);
    m_unit->addItems({QStringLiteral("大包"), QStringLiteral("中包"), QStringLiteral("小包"), QStringLiteral("箱"),
                      QStringLiteral("袋"), QStringLiteral("包")});
    m_kilograms = input("kilograms", 16);
    m_amount = display("amount");
    m_date = display("date");

    auto *head = new QGroupBox(QStringLiteral("客户"), this);
    FieldGrid(head, 3)
        .add(QStringLiteral("客户代码："), m_customer)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("简称："), m_name)
        .add(QStringLiteral("买料时间："), m_from)
        .add(QStringLiteral("至"), m_to)
        .add(QStringLiteral("开票日期："), m_date);

    auto *line = new QGroupBox(QStringLiteral("退料"), this);
    FieldGrid(line, 2)
        .add(QStringLiteral("产品代码："), m_product)
        .add(m_productName)
        .add(QStringLiteral("产品规格："), m_spec, QStringLiteral("（公斤/包）"))
        .add(QStringLiteral("产品类别："), m_category)
        .add(QStringLiteral("开票价格："), m_soldPrice, QStringLiteral("（元/吨）"))
        .add(QStringLiteral("政策价格："), m_policyPrice, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("退料数量(包):"), m_bags)
        .add(QStringLiteral("单位："), m_unit)
        .add(QStringLiteral("折合公斤数:"), m_kilograms, QStringLiteral("（公斤）"))
        .add(QStringLiteral("合计金额："), m_amount, QStringLiteral("(元)"));

    auto *totals = new QGroupBox(QStringLiteral("合计"), this);
    m_count = total(totals);
    m_totalQuantity = total(totals);
    m_totalAmount = total(totals);
    FieldGrid(totals, 3)
        .add(QStringLiteral("总记录数："), m_count)
        .add(QStringLiteral("总销售量："), m_totalQuantity, QStringLiteral("(公斤)"))
        .add(QStringLiteral("总金额："), m_totalAmount, QStringLiteral("(元)"));

    m_choose = button(QStringLiteral("选择客户"), "choose", [this] { chooseCustomer(); });
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] { cancel(); });
    m_list = button(QStringLiteral("退料显示"), "list", [this] { toggleList(); });
    m_correct = button(QStringLiteral("数据修改"), "correct", [this] { corrections(); });
    m_print = button(QStringLiteral("打印清单"), "printList", [this] { printList(true); });
    m_preview = button(QStringLiteral("打印预览"), "preview", [this] { printList(false); });

    m_returns = new Grid(gridColumns({"客户代码", "地区", "客户名称", "产品代码", "产品名称", "规格", "销量", "退料数量",
                                      "退料价", "退料金额", "开票日期", "退料日期", "周转号码", "操作员"},
                                     {"khdm", "region", "khmc", "cpdm", "cpmc", "cpgg", "zznum", "tlnum", "kpjg", "kpje",
                                      "rq_1", "rq_2", "zzhm", "czydm"}),
                         this, "returns");
    m_current = new Grid(purchaseColumns(), this, "purchases");
    m_history = new Grid(purchaseColumns(), this, "history");
    m_current->setToolTip(QStringLiteral("本期购买记录：点击要退的那一行"));
    m_history->setToolTip(QStringLiteral("历史购买记录：点击要退的那一行"));
    m_current->hide();
    m_history->hide();
    for (Grid *g : {m_current, m_history}) {
        const bool history = g == m_history;
        connect(g, &Grid::rowClicked, this, [this, history](qint64, int row) { pickPurchase(row, history); });
        connect(g, &Grid::rowActivated, this, [this, history](qint64, int row) { pickPurchase(row, history); });
    }

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(line);
    left->addWidget(totals);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttonColumn({m_choose, m_confirm, m_cancel, m_list, m_correct, m_print, m_preview}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_current, 1);
    layout->addWidget(m_history, 1);
    layout->addWidget(m_returns, 1);

    chain()
        .step(m_customer, [this] { return enterCustomer(); })
        .step(m_from, [] { return Go::advance(); })
        .step(m_to, [this] { return findPurchases(); })
        .step(m_bags, [this] { return enterBags(); }, {QStringLiteral("0"), false, false, {}})
        .step(m_unit, [this] { return enterUnit(); })
        .step(m_kilograms, [this] { return prepare(); }, {QString(), false, true, {}})
        .step(m_confirm, [this] { return confirm(); }, {QString(), false, false, {m_cancel}});
    connect(m_unit, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_unit); });

    openCorrections = [this] {
        LineCorrectionWindow w(this->ctx(), LineCorrectionWindow::Kind::Return, this);
        // The lines this tab lists.
        const Returns::List list = m_shownList;
        const QString code = m_cust ? m_cust->code : QString();
        w.listLines = [this, list, code] { return returns().returnsOfDay(m_lineDate, list, code); };
        w.run();
    };
    chain().disableAll();
    for (QPushButton *b : {m_correct, m_print}) b->setEnabled(false);
}

Returns ReturnTab::returns() const
{
    return Returns(session(), *ctx().clock, ctx().operatorCode);
}

void ReturnTab::activate()
{
    m_lineDate = dateText(ctx().clock->today());
    m_date->setText(m_lineDate);
    const QString today = m_lineDate;
    if (m_from->text().isEmpty()) m_from->setText(today);
    if (m_to->text().isEmpty()) m_to->setText(today);
    // Whoever logged in now starts with nothing chosen.
    m_cust.reset();
    clearReturn();
    for (QLineEdit *e : {m_customer, m_region, m_name}) e->clear();
    m_current->hide();
    m_history->hide();
    m_shown.clear();
    m_returns->clear();
    m_totals = ReturnTotals();
    m_nextListAll = false;
    showTotals();
    chain().disableAll();
    for (QPushButton *b : {m_correct, m_print}) b->setEnabled(false);
}

void ReturnTab::chooseCustomer()
{
    m_customer->clear();
    chain().reset();
}

Go ReturnTab::enterCustomer()
{
    const std::optional<Customer> c = returns().customer(m_customer->text());
    if (!c) return Go::stay();
    m_cust = c;
    m_customer->setText(c->code);
    m_region->setText(c->region);
    m_name->setText(c->name);
    return Go::advance();
}

Go ReturnTab::findPurchases()
{
    if (!m_cust) return Go::stay();
    const QDate from = parseDateText(m_from->text());
    const QDate to = parseDateText(m_to->text());
    if (!from.isValid() || !to.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    m_from->setText(dateText(from));
    m_to->setText(dateText(to));
    const Returns r = returns();
    m_current->setPager(std::make_shared<RowPager>(session(), r.purchaseQuery(m_cust->code, dateText(from), dateText(to), false)));
    m_history->setPager(std::make_shared<RowPager>(session(), r.purchaseQuery(m_cust->code, dateText(from), dateText(to), true)));
    m_current->show();
    m_history->setVisible(m_history->rowCount() > 0);
    return Go::to(m_current->view());
}

void ReturnTab::pickPurchase(int row, bool history)
{
    const Grid *grid = history ? m_history : m_current;
    const qint64 id = grid->idAt(row);
    if (!id || !m_cust) return;
    guarded([&] {
        const std::optional<Purchase> p = returns().purchase(id, history);
        if (!p) return;
        m_picked = p;
        m_product->setText(p->cpdm);
        m_productName->setText(p->cpmc);
        m_spec->setText(p->cpgg);
        m_soldPrice->setText(numberText(p->zzjg));
        m_policyPrice->setText(numberText(p->zcjg));
        m_category->setText(returns().category(p->bz_3));
        m_current->hide();
        m_history->hide();
        chain().reach(m_bags);
    });
}

Go ReturnTab::enterBags()
{
    if (!m_picked) return Go::stay();
    m_bagsValue = sales::parseBags(m_bags->text());
    const QString unit = Returns::unitFor(m_picked->cpgg);
    if (!unit.isEmpty()) m_unit->setEditText(unit);
    return Go::advance();
}

Go ReturnTab::enterUnit()
{
    if (!m_picked) return Go::stay();
    double current = 0;
    parseNumber(m_kilograms->text(), &current);
    m_kilograms->setText(numberText(Returns::kilograms(m_unit->currentText(), m_bagsValue, m_picked->cpgg, current)));
    return Go::advance();
}

Go ReturnTab::prepare()
{
    if (!m_picked || !m_cust) return Go::stay();
    const double kg = sales::parseKilograms(m_kilograms->text());
    m_prepared = returns().prepare(*m_picked, m_bagsValue, m_unit->currentText(), kg);
    m_amount->setText(numberText(m_prepared->amount));
    m_print->setEnabled(true);
    return Go::advance();
}

Go ReturnTab::confirm()
{
    if (!m_prepared || !m_cust) return Go::stay();
    const ReturnResult result = returns().confirm(*m_cust, *m_prepared, m_lineDate);
    if (result.productMissing) inform(QStringLiteral("该产品不存在！"));
    m_totals.add(*m_prepared);
    // The customer's returns of the day, whoever entered them.
    showReturns(Returns::List::Customer);
    showTotals();
    clearReturn();
    m_print->setEnabled(true);
    m_correct->setEnabled(true);
    return Go::to(m_customer);
}

void ReturnTab::cancel()
{
    // The serial number drawn stays used; nothing else was written.
    clearReturn();
    m_cust.reset();
    for (QLineEdit *e : {m_region, m_name, m_customer}) e->clear();
    chain().reset();
}

void ReturnTab::clearReturn()
{
    m_prepared.reset();
    m_picked.reset();
    for (QLineEdit *e : {m_soldPrice, m_policyPrice, m_kilograms, m_amount, m_bags}) e->setText(QStringLiteral("0"));
    for (QLineEdit *e : {m_product, m_productName, m_spec, m_category}) e->clear();
}

void ReturnTab::showReturns(Returns::List list)
{
    m_shownList = list;
    const QString code = m_cust ? m_cust->code : QString();
    m_shown = returns().returnsOfDay(m_lineDate, list, code);
    m_returns->setRows(m_shown);
    m_count->setText(QString::number(m_shown.size()));
}

void ReturnTab::showTotals()
{
    m_totalQuantity->setText(numberText(m_totals.kilograms));
    m_totalAmount->setText(numberText(m_totals.amount));
}

void ReturnTab::toggleList()
{
    // The operator's returns of the day for the customer, then all of them; in turn.
    showReturns(m_nextListAll || !m_cust ? Returns::List::Operator : Returns::List::OperatorCustomer);
    m_nextListAll = !m_nextListAll;
}

void ReturnTab::corrections()
{
    if (openCorrections) openCorrections();
    showReturns(m_shownList);
    m_totals = ReturnTotals::of(m_shown, m_cust ? m_cust->code : QString());
    showTotals();
}

void ReturnTab::printList(bool direct)
{
    const ReportDocument doc = returnListDocument(ctx().qymc, m_shown, ctx().clock->today());
    if (direct) printDocument(ctx(), this, doc);
    else showDocument(ctx(), this, doc);
}

} // namespace fm
