#include "accounts/windows/historycorrectionwindow.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "sales/salesnumbers.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> fundsColumns()
{
    QList<GridColumn> c = gridColumns({"客户代码", "客户名称", "地区", "应收金额", "实收金额", "实际欠款", "数量(公斤)", "日期",
                                       "操作员", "说明"},
                                      {"khdm", "khmc", "region", "ysje", "sjje", "sqje", "sjxl", "rq", "czydm", "sjdx"});
    for (int i : {3, 4, 5, 6}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

QList<GridColumn> lineColumns()
{
    QList<GridColumn> c = gridColumns({"开票日期", "产品代码", "产品名称", "规格", "政策价", "销量(公斤)", "开票价", "金额",
                                       "退料数量", "退料价", "退料金额", "流水号", "操作员", "退料日期"},
                                      {"rq_1", "cpdm", "cpmc", "cpgg", "zcjg", "zznum", "zzjg", "zzje", "tlnum", "kpjg", "kpje",
                                       "recnum", "czydm", "rq_2"});
    for (int i : {4, 5, 6, 7, 8, 9, 10}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

QList<GridColumn> registerColumns()
{
    QList<GridColumn> c = gridColumns({"客户代码", "地区", "客户名称", "产品代码", "产品名称", "规格", "退料数量", "退料价格",
                                       "退料金额", "标志", "操作员", "开票日期", "退料日期"},
                                      {"khdm", "region", "khmc", "cpdm", "cpmc", "cpgg", "tlnum", "tlprice", "tlje", "bz",
                                       "czydm", "kprq", "tlrq"});
    for (int i : {6, 7, 8}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

QLineEdit *dateField(Form &f, const char *name)
{
    QLineEdit *e = f.input(name, 10);
    e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    return e;
}

QLabel *total(QWidget *parent, const char *name)
{
    auto *l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(100);
    return l;
}

const StepOptions kZeroWhenEmpty{QStringLiteral("0"), false, false, {}};

} // namespace

// ---- "销售数据修改" -------------------------------------------------------------

SalesCorrectionPage::SalesCorrectionPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_region = chooser("region", QStringLiteral("地区"));
    m_customer = chooser("customerName", QStringLiteral("客户"));
    m_code = input("customer", 7);
    m_from = dateField(*this, "from");
    m_to = dateField(*this, "to");

    auto *who = new QGroupBox(QStringLiteral("客户"), this);
    FieldGrid(who, 3)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户："), m_customer)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);

    auto *modes = new QGroupBox(QStringLiteral("修改内容"), this);
    auto *modesLayout = new QHBoxLayout(modes);
    auto *group = new QButtonGroup(this);
    const char *captions[] = {"客户回款修改", "周转交易数据", "退料数据修改", "销售政策价格"};
    for (int i = 0; i < 4; ++i) {
        m_modes[i] = new QRadioButton(QString::fromUtf8(captions[i]), modes);
        group->addButton(m_modes[i], i);
        modesLayout->addWidget(m_modes[i]);
    }
    m_hint = new QLabel(QStringLiteral("注意：只可修改回款前数据。"), modes);
    m_hint->setStyleSheet(QStringLiteral("color: #b00;"));
    modesLayout->addWidget(m_hint);
    modesLayout->addStretch();
    m_modes[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { guarded([this, id] { setMode(Mode(id)); }); });

    m_funds = new Grid(fundsColumns(), this, "funds");
    m_funds->setStretchColumn(9);
    m_lines = new Grid(lineColumns(), this, "lines");
    m_lines->setStretchColumn(2);
    for (Grid *g : {m_funds, m_lines}) {
        connect(g, &Grid::rowClicked, this, [this](qint64, int row) { pickRow(row); });
        connect(g, &Grid::rowActivated, this, [this](qint64, int row) { pickRow(row); });
    }

    m_fundsPanel = new QGroupBox(QStringLiteral("资金修改窗口(元)"), this);
    m_receivableTotal = total(m_fundsPanel, "receivableTotal");
    m_receivedTotal = total(m_fundsPanel, "receivedTotal");
    m_owedTotal = total(m_fundsPanel, "owedTotal");
    m_receivable = input("receivable", 16);
    m_received = input("received", 16);
    m_owed = input("owed", 16);
    FieldGrid(m_fundsPanel, 3)
        .add(QStringLiteral("应收金额总计："), m_receivableTotal)
        .add(QStringLiteral("实收金额总计："), m_receivedTotal)
        .add(QStringLiteral("实欠金额总计："), m_owedTotal)
        .add(QStringLiteral("应收金额："), m_receivable)
        .add(QStringLiteral("实收金额："), m_received)
        .add(QStringLiteral("实际欠款："), m_owed);

    m_linePanel = new QGroupBox(QStringLiteral("数据修改"), this);
    m_quantity = input("quantity", 16);
    m_price = input("price", 16);
    m_amount = display("amount");
    m_policy = input("policy", 16);
    m_priceLabel = labelFor(QStringLiteral("开票价格："), m_price, m_linePanel);
    m_amountLabel = labelFor(QStringLiteral("实际金额："), m_amount, m_linePanel);
    {
        auto *g = new QGridLayout(m_linePanel);
        g->addWidget(labelFor(QStringLiteral("实际数量："), m_quantity, m_linePanel), 0, 0, Qt::AlignRight);
        g->addWidget(withUnit(m_quantity, QStringLiteral("(公斤)")), 0, 1);
        g->addWidget(m_priceLabel, 0, 2, Qt::AlignRight);
        g->addWidget(withUnit(m_price, QStringLiteral("(元/吨)")), 0, 3);
        g->addWidget(m_amountLabel, 1, 0, Qt::AlignRight);
        g->addWidget(withUnit(m_amount, QStringLiteral("(元)")), 1, 1);
        g->addWidget(labelFor(QStringLiteral("政策价格："), m_policy, m_linePanel), 1, 2, Qt::AlignRight);
        g->addWidget(withUnit(m_policy, QStringLiteral("(元/吨)")), 1, 3);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);
    }

    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("放弃"), "cancel", [this] { clearInputs(); });

    auto *edit = new QHBoxLayout;
    edit->addWidget(m_fundsPanel, 1);
    edit->addWidget(m_linePanel, 1);
    edit->addLayout(buttonColumn({m_confirm, m_cancel}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(who);
    layout->addWidget(modes);
    layout->addWidget(m_funds, 1);
    layout->addWidget(m_lines, 1);
    layout->addLayout(edit);

    chain()
        .step(m_code, [this] { return enterCustomer(); })
        .step(m_from, [] { return Go::advance(); })
        .step(m_to, [this] { return load(); }, {QString(), true, false, {}});
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { chooseRegion(); }); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { chooseCustomer(); });

    // The inputs of a picked row, in the order the modes enter them.
    m_edit = &addChain();
    const auto money = [this](QLineEdit *e) {
        return [this, e] {
            e->setText(numberText(sales::parseMoney(e->text())));
            return nextAfter(e);
        };
    };
    m_edit->step(m_receivable, money(m_receivable), kZeroWhenEmpty)
        .step(m_received, money(m_received), kZeroWhenEmpty)
        .step(m_owed, money(m_owed), kZeroWhenEmpty)
        .step(m_quantity,
              [this] {
                  m_quantity->setText(numberText(sales::parseKilograms(m_quantity->text())));
                  return nextAfter(m_quantity);
              },
              kZeroWhenEmpty)
        .step(m_price, [this] { return enterPrice(); }, kZeroWhenEmpty)
        .step(m_policy,
              [this] {
                  m_policy->setText(numberText(sales::parsePrice(m_policy->text())));
                  return nextAfter(m_policy);
              },
              kZeroWhenEmpty)
        .step(m_confirm, [this] { return confirm(); });
}

HistoryCorrections SalesCorrectionPage::corrections() const
{
    return HistoryCorrections(session(), *ctx().clock);
}

QRadioButton *SalesCorrectionPage::modeButton(Mode mode) const
{
    return m_modes[int(mode)];
}

void SalesCorrectionPage::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_customer->clear();
    for (QLineEdit *e : {m_code, m_from, m_to}) e->clear();
    m_range.reset();
    m_funds->clear();
    m_lines->clear();
    for (QLabel *l : {m_receivableTotal, m_receivedTotal, m_owedTotal}) l->setText(QStringLiteral("0"));
    setMode(Mode::Funds);
    chain().reset();
}

void SalesCorrectionPage::setMode(Mode mode)
{
    m_mode = mode;
    m_modes[int(mode)]->setChecked(true);
    const bool funds = mode == Mode::Funds;
    const bool returns = mode == Mode::Returns;
    m_hint->setVisible(mode == Mode::Issues);
    m_priceLabel->setText(returns ? QStringLiteral("退料价格：") : QStringLiteral("开票价格："));
    m_amountLabel->setText(returns ? QStringLiteral("退料金额：") : QStringLiteral("实际金额："));
    m_fundsPanel->setVisible(funds);
    m_linePanel->setVisible(!funds);
    m_funds->setVisible(funds);
    m_lines->setVisible(!funds);
    if (m_range) reload();
    else clearInputs();
}

void SalesCorrectionPage::chooseRegion()
{
    m_customer->clear();
    for (const Customer &c : CustomerRegister(session()).customersByCode(m_region->currentData().toString()))
        m_customer->addItem(c.name, c.code);
    m_customer->setCurrentIndex(-1);
}

void SalesCorrectionPage::chooseCustomer()
{
    if (m_customer->currentIndex() < 0) return;
    m_code->setText(m_customer->currentData().toString());
    // The name gives the code; the dates come next.
    chain().run(m_code);
}

Go SalesCorrectionPage::enterCustomer()
{
    const std::optional<Customer> c = corrections().customer(m_code->text());
    if (!c) {
        inform(QStringLiteral("查无此客户！"));
        return Go::stay();
    }
    m_code->setText(c->code);
    // Shows its region and name in the two lists.
    const int region = m_region->findText(c->region);
    if (region >= 0 && region != m_region->currentIndex()) {
        m_region->setCurrentIndex(region);
        chooseRegion();
    }
    const int at = m_customer->findData(c->code);
    if (at >= 0) m_customer->setCurrentIndex(at);
    else {
        m_customer->addItem(c->name, c->code);
        m_customer->setCurrentIndex(m_customer->count() - 1);
    }
    return Go::advance();
}

Go SalesCorrectionPage::load()
{
    m_range = corrections().range(m_code->text(), m_from->text(), m_to->text());
    m_from->setText(m_range->from);
    m_to->setText(m_range->to);
    reload();
    Grid *g = m_mode == Mode::Funds ? m_funds : m_lines;
    return Go::to(g->view());
}

void SalesCorrectionPage::reload()
{
    clearInputs();
    if (!m_range) return;
    HistoryCorrections h = corrections();
    if (m_mode == Mode::Funds) {
        const FundsSums s = h.fundsSums(*m_range);
        m_funds->setPager(std::make_shared<RowPager>(session(), h.fundsRows(*m_range)));
        m_funds->setRowTotal(s.rows);
        m_receivableTotal->setText(numberText(s.receivable));
        m_receivedTotal->setText(numberText(s.received));
        m_owedTotal->setText(numberText(s.owed()));
    } else {
        m_lines->setPager(std::make_shared<RowPager>(session(), h.saleLines(*m_range, m_mode == Mode::Returns)));
        m_lines->countRows();
    }
}

void SalesCorrectionPage::clearInputs()
{
    m_picked = 0;
    for (QLineEdit *e : {m_receivable, m_received, m_owed, m_quantity, m_price, m_amount, m_policy}) e->clear();
    m_edit->disableAll();
}

QList<QWidget *> SalesCorrectionPage::activeInputs() const
{
    switch (m_mode) {
    case Mode::Funds: return {m_receivable, m_received, m_owed};
    case Mode::Issues: return {m_quantity, m_price};
    case Mode::Returns: return {m_quantity, m_price, m_policy};
    case Mode::PolicyPrices: return {m_policy};
    }
    return {};
}

Go SalesCorrectionPage::nextAfter(QWidget *w)
{
    const QList<QWidget *> active = activeInputs();
    const int at = active.indexOf(w);
    return Go::to(at >= 0 && at + 1 < active.size() ? active[at + 1] : m_confirm);
}

void SalesCorrectionPage::pickRow(int row)
{
    const bool funds = m_mode == Mode::Funds;
    const qint64 id = (funds ? m_funds : m_lines)->idAt(row);
    if (!id || !m_range) return;
    guarded([&] {
        HistoryCorrections h = corrections();
        clearInputs();
        if (funds) {
            const Row r = h.fundsRow(id);
            m_receivable->setText(numberText(r.number(QStringLiteral("ysje"))));
            m_received->setText(numberText(r.number(QStringLiteral("sjje"))));
            m_owed->setText(numberText(r.number(QStringLiteral("sqje"))));
        } else {
            const Row r = h.saleLine(id);
            const bool returns = m_mode == Mode::Returns;
            m_quantity->setText(numberText(r.number(returns ? QStringLiteral("tlnum") : QStringLiteral("zznum"))));
            m_price->setText(numberText(r.number(returns ? QStringLiteral("kpjg") : QStringLiteral("zzjg"))));
            m_amount->setText(numberText(r.number(returns ? QStringLiteral("kpje") : QStringLiteral("zzje"))));
            m_policy->setText(numberText(r.number(QStringLiteral("zcjg"))));
        }
        m_picked = id;
        m_edit->reach(activeInputs().front());
    });
}

Go SalesCorrectionPage::enterPrice()
{
    const double price = sales::parsePrice(m_price->text());
    m_price->setText(numberText(price));
    m_amount->setText(numberText(HistoryCorrections::amount(sales::parseKilograms(m_quantity->text()), price)));
    return nextAfter(m_price);
}

Go SalesCorrectionPage::confirm()
{
    if (!m_picked || !m_range) return Go::stay();
    HistoryCorrections h = corrections();
    switch (m_mode) {
    case Mode::Funds:
        h.correctFunds(*m_range, m_picked, sales::parseMoney(m_receivable->text()), sales::parseMoney(m_received->text()),
                       sales::parseMoney(m_owed->text()));
        break;
    case Mode::Issues:
        h.correctIssue(*m_range, m_picked, sales::parseKilograms(m_quantity->text()), sales::parsePrice(m_price->text()));
        break;
    case Mode::Returns: {
        const bool stocked = h.correctReturn(*m_range, m_picked, sales::parseKilograms(m_quantity->text()),
                                             sales::parsePrice(m_policy->text()), sales::parsePrice(m_price->text()));
        if (!stocked) inform(QStringLiteral("该产品不存在！"));
        inform(QStringLiteral("客户退料已处理，请修改该客户回款！"));
        break;
    }
    case Mode::PolicyPrices: {
        const double price = sales::parsePrice(m_policy->text());
        // Asked before anything is written, so that the lines and the price
        // row change together or not at all.
        const bool writeBack = ask(QStringLiteral("是否回写客户价格库?"));
        h.correctPolicyPrice(*m_range, m_picked, price, writeBack);
        break;
    }
    }
    reload();
    EnterChain::focusField((m_mode == Mode::Funds ? m_funds : m_lines)->view());
    return Go::done();
}

// ---- "退料价格修改" -------------------------------------------------------------

ReturnPricePage::ReturnPricePage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_code = input("returnsCustomer", 7);
    m_name = display("returnsCustomerName");
    m_regionName = display("returnsRegion");
    m_from = dateField(*this, "returnsFrom");
    m_to = dateField(*this, "returnsTo");
    m_product = display("product");
    m_spec = display("spec");
    m_price = input("price", 16);

    auto *who = new QGroupBox(QStringLiteral("客户"), this);
    FieldGrid(who, 3)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("地区："), m_regionName)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    m_grid = new Grid(registerColumns(), this, "returns");
    m_grid->setStretchColumn(4);
    connect(m_grid, &Grid::rowClicked, this, [this](qint64, int row) { pickRow(row); });
    connect(m_grid, &Grid::rowActivated, this, [this](qint64, int row) { pickRow(row); });
    auto *edit = new QGroupBox(QStringLiteral("退料价格修改"), this);
    FieldGrid(edit, 3)
        .add(QStringLiteral("产品："), m_product)
        .add(QStringLiteral("规格："), m_spec)
        .add(QStringLiteral("退料价格："), m_price, QStringLiteral("(元/吨)"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(who);
    layout->addWidget(m_grid, 1);
    layout->addWidget(edit);

    chain()
        .step(m_code, [this] { return enterCustomer(); })
        .step(m_from, [] { return Go::advance(); })
        .step(m_to, [this] { return load(); }, {QString(), true, false, {}});
    m_edit = &addChain();
    m_edit->step(m_price, [this] { return enterPrice(); }, kZeroWhenEmpty);
}

void ReturnPricePage::activate()
{
    for (QLineEdit *e : {m_code, m_name, m_regionName, m_from, m_to, m_product, m_spec, m_price}) e->clear();
    m_range.reset();
    m_picked = 0;
    m_grid->clear();
    m_edit->disableAll();
    chain().reset();
}

Go ReturnPricePage::enterCustomer()
{
    const std::optional<Customer> c = HistoryCorrections(session(), *ctx().clock).customer(m_code->text());
    if (!c) {
        m_name->clear();
        m_regionName->clear();
        inform(QStringLiteral("查无此客户！"));
        return Go::stay();
    }
    m_code->setText(c->code);
    m_name->setText(c->name);
    m_regionName->setText(c->region);
    return Go::advance();
}

Go ReturnPricePage::load()
{
    HistoryCorrections h(session(), *ctx().clock);
    m_range = h.range(m_code->text(), m_from->text(), m_to->text());
    m_from->setText(m_range->from);
    m_to->setText(m_range->to);
    m_grid->setPager(std::make_shared<RowPager>(session(), h.returnRegister(*m_range)));
    m_grid->countRows();
    m_picked = 0;
    for (QLineEdit *e : {m_product, m_spec, m_price}) e->clear();
    m_edit->disableAll();
    return Go::to(m_grid->view());
}

void ReturnPricePage::pickRow(int row)
{
    const qint64 id = m_grid->idAt(row);
    if (!id || !m_range) return;
    guarded([&] {
        const Row r = HistoryCorrections(session(), *ctx().clock).registerRow(id);
        m_product->setText(r.text(QStringLiteral("cpmc")));
        m_spec->setText(r.text(QStringLiteral("cpgg")));
        m_price->setText(numberText(r.number(QStringLiteral("tlprice"))));
        m_picked = id;
        m_edit->reach(m_price);
    });
}

Go ReturnPricePage::enterPrice()
{
    if (!m_picked || !m_range) return Go::stay();
    const double price = sales::parsePrice(m_price->text());
    m_price->setText(numberText(price));
    if (!ask(QStringLiteral("确认修改?"))) return Go::stay();
    HistoryCorrections(session(), *ctx().clock).correctReturnPrice(*m_range, m_picked, price);
    load();
    EnterChain::focusField(m_grid->view());
    return Go::done();
}

// ---- the window ---------------------------------------------------------------------

Tlsxj_xg::Tlsxj_xg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("历史数据修改"));
    m_sales = new SalesCorrectionPage(ctx, this);
    m_returnPrices = new ReturnPricePage(ctx, this);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_sales, QStringLiteral("销售数据修改"));
    m_tabs->addTab(m_returnPrices, QStringLiteral("退料价格修改"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttonRow({quit}));
    resize(1120, 760);
}

void Tlsxj_xg::activate()
{
    m_returnPrices->activate();
    m_sales->activate();
    m_tabs->setCurrentIndex(0);
}

} // namespace fm
