#include "warehouse/windows/tylcx.h"

#include "common/clock.h"
#include "data/rowpager.h"
#include "warehouse/materialqueries.h"
#include "warehouse/suppliers.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>

namespace fm {

namespace {

QRadioButton *radio(QWidget *parent, const QString &text, const char *name, QButtonGroup *group)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    group->addButton(r);
    return r;
}

GridColumn col(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

MaterialQueries queriesOf(const Form &f)
{
    return MaterialQueries(f.session(), *f.ctx().clock);
}

// The factors as the register's grid titles them (s0 the price).
const char *const kFactorNames[] = {
    "价格", "干物质", "粗蛋白", "粗脂肪", "粗纤维", "无氮浸出物", "粗灰粉", "钙", "磷", "植酸磷",
    "猪消化能(Mj/kg)", "猪消化能(Mca/kg)", "鸡代谢能(Mj/kg)", "鸡代谢能(Mca/kg)", "奶牛产奶净能(Mj/kg)",
    "奶牛产奶净能(Mca/kg)", "肉牛增重净能(Mj/kg)", "肉牛增重净能(Mca/kg)", "羊消化能(Mj/kg)", "羊消化能(Mca/kg)",
    "钠", "钾", "铁", "铜", "锰", "锌", "硒", "苏氨酸", "胱氨酸", "颉氨酸", "蛋氨酸", "异亮氨酸", "亮氨酸",
    "酪氨酸", "苯丙氨酸", "赖氨酸", "组氨酸", "精氨酸", "色氨酸"};

QList<GridColumn> registerColumns()
{
    QList<GridColumn> c{col("原料代码", "yldm"), col("原料名称", "ylmc"), col("原料等级", "descip")};
    for (int i = 0; i <= 38; ++i)
        c << GridColumn{QString::fromUtf8(kFactorNames[i]), QStringLiteral("s%1").arg(i), GridColumn::Kind::Number};
    return c;
}

// Totals under a grid: captioned values with their units.
QWidget *totalsRow(QWidget *parent, const QList<std::pair<QString, QLineEdit *>> &fields, const QStringList &units)
{
    auto *box = new QWidget(parent);
    FieldGrid g(box, int(fields.size()));
    g.layout()->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < fields.size(); ++i) {
        fields[i].second->setAlignment(Qt::AlignRight);
        g.add(fields[i].first, fields[i].second, i < units.size() ? units[i] : QString());
    }
    return box;
}

} // namespace

// ---- 原料入库 / 原料出库 ---------------------------------------------------------

MovementQueryPage::MovementQueryPage(AppContext &ctx, QWidget *parent, Kind kind) : FormPage(ctx, parent), m_kind(kind)
{
    const bool issues = kind == Kind::Issues;
    auto *ways = new QButtonGroup(this);
    m_byName = radio(this, QStringLiteral("按名称查询"), "byName", ways);
    m_byTime = radio(this, QStringLiteral("按时间查询"), "byTime", ways);
    m_code = input("code", 9);
    m_names = chooser("names", QStringLiteral("名称"));
    m_from = dateInput("from");
    m_to = dateInput("to");
    allowBlank(m_from, *ctx.clock);
    allowBlank(m_to, *ctx.clock);
    m_query = button(QStringLiteral("查询"), "query", [this] { run(); });
    m_tonnes = display("tonnes");
    m_amount = display("amount");
    if (issues) {
        auto *kinds = new QButtonGroup(this);
        m_production = radio(this, QStringLiteral("生产出库"), "production", kinds);
        m_sale = radio(this, QStringLiteral("销售出库"), "sale", kinds);
        m_production->setChecked(true);
    }
    const QList<GridColumn> columns = issues
        ? QList<GridColumn>{col("原料名称", "ylmc"), col("价格(元/吨)", "yljg", GridColumn::Kind::Number),
                            col("数量(公斤)", "ylsl", GridColumn::Kind::Number),
                            col("金额(元)", "ylje", GridColumn::Kind::Number), col("日期", "rq_1"),
                            col("领料人代码", "rydm"), col("领料人名称", "rymc"), col("领用说明", "ly_sm"),
                            col("操作员", "czydm"), col("生产班组", "bzdm")}
        : receiptColumns();
    m_grid = new Grid(columns, this, issues ? "issues" : "receipts");

    connect(m_byName, &QRadioButton::clicked, this, [this] { setByName(true); });
    connect(m_byTime, &QRadioButton::clicked, this, [this] { setByName(false); });
    chain().on(m_code, [this] {
        // An unknown code leaves the name empty; its query finds nothing.
        const auto m = findMaterial(session(), m_code->text());
        chooseId(m_names, m ? m->id : 0);
        EnterChain::focusField(m_from);
    });
    connect(m_names, qOverload<int>(&QComboBox::activated), this, [this] {
        if (const auto m = materialById(session(), chosenId(m_names))) m_code->setText(m->code);
        EnterChain::focusField(m_from);
    });
    chain().on(m_from, [this] {
        if (!EnterChain::isBlank(m_from)) EnterChain::focusField(m_to);
    });
    chain().on(m_to, [this] {
        if (!EnterChain::isBlank(m_to)) m_query->setFocus();
    });

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    auto *c = new QVBoxLayout(conditions);
    auto *ways1 = new QHBoxLayout;
    ways1->addWidget(m_byName);
    ways1->addWidget(m_byTime);
    if (issues) {
        ways1->addSpacing(24);
        ways1->addWidget(m_production);
        ways1->addWidget(m_sale);
    }
    ways1->addStretch();
    c->addLayout(ways1);
    auto *fields = new QWidget(conditions);
    FieldGrid g(fields, 3);
    g.layout()->setContentsMargins(0, 0, 0, 0);
    g.add(issues ? QStringLiteral("产品代码:") : QStringLiteral("原料代码:"), m_code)
        .add(issues ? QStringLiteral("产品名称:") : QStringLiteral("原料名称:"), m_names)
        .newRow();
    g.add(QStringLiteral("起始时间:"), m_from).add(QStringLiteral("截止时间:"), m_to);
    c->addWidget(fields);
    auto *top = new QHBoxLayout;
    top->addWidget(conditions, 1);
    top->addLayout(buttonColumn({m_query}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_grid, 1);
    root->addWidget(totalsRow(this,
                              {{QStringLiteral("总数量:"), m_tonnes},
                               {issues ? QStringLiteral("总金额:") : QStringLiteral("应付总金额:"), m_amount}},
                              {QStringLiteral("(吨)"), QStringLiteral("(万元)")}));
}

void MovementQueryPage::activate()
{
    fillMaterials(m_names, materials(session()));
    m_code->clear();
    const QDate today = ctx().clock->today();
    m_from->setDate(QDate(today.year(), today.month(), 1));
    m_to->setDate(today);
    m_grid->clear();
    m_tonnes->clear();
    m_amount->clear();
    m_byName->setChecked(true);
    setByName(true);
}

void MovementQueryPage::setByName(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(m_code), static_cast<QWidget *>(m_names)}) w->setEnabled(on);
    EnterChain::focusField(on ? static_cast<QWidget *>(m_code) : m_from);
}

void MovementQueryPage::run()
{
    const QDate from = dateOf(m_from), to = dateOf(m_to);
    QString code;
    if (m_byName->isChecked()) {
        code = m_code->text().trimmed();
        // By name without a material: nothing to show.
        if (code.isEmpty()) {
            m_grid->clear();
            m_tonnes->setText(QStringLiteral("0"));
            m_amount->setText(QStringLiteral("0"));
            return;
        }
    }
    MaterialQueries q = queriesOf(*this);
    QueryTotals t;
    if (m_kind == Kind::Receipts) {
        m_grid->setPager(std::make_shared<RowPager>(session(), q.receipts(code, from, to)));
        t = q.receiptTotals(code, from, to);
    } else {
        const IssueKind kind = m_sale->isChecked() ? IssueKind::Sale : IssueKind::Production;
        m_grid->setPager(std::make_shared<RowPager>(session(), q.issues(code, from, to, kind)));
        t = q.issueTotals(code, from, to, kind);
    }
    m_tonnes->setText(t.tonnesText());
    m_amount->setText(t.amountText());
}

// ---- 原料资金 ------------------------------------------------------------------

ReceiptFundsPage::ReceiptFundsPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    auto *ways = new QButtonGroup(this);
    m_bySupplier = radio(this, QStringLiteral("按供应商查询"), "bySupplier", ways);
    m_byDate = radio(this, QStringLiteral("按日期查询"), "byDate", ways);
    m_suppliers = chooser("suppliers", QStringLiteral("供应商"));
    m_company = display("company");
    m_from = dateInput("from");
    m_to = dateInput("to");
    allowBlank(m_from, *ctx.clock);
    allowBlank(m_to, *ctx.clock);
    m_grid = new Grid(receiptColumns(), this, "receiptFunds");
    m_payable = display("payable");
    m_paid = display("paid");
    m_owed = display("owed");

    connect(m_bySupplier, &QRadioButton::clicked, this, [this] {
        m_suppliers->setEnabled(true);
        m_suppliers->setFocus();
    });
    connect(m_byDate, &QRadioButton::clicked, this, [this] {
        m_suppliers->setEnabled(false);
        {
            const QSignalBlocker block(m_suppliers);
            m_suppliers->setCurrentIndex(-1);
        }
        m_company->setText(QStringLiteral("全部"));
        EnterChain::focusField(m_from);
    });
    connect(m_suppliers, qOverload<int>(&QComboBox::activated), this, [this] {
        m_company->setText(m_suppliers->currentText());
        EnterChain::focusField(m_from);
    });
    chain().on(m_from, [this] {
        if (!EnterChain::isBlank(m_from)) EnterChain::focusField(m_to);
    });
    chain().on(m_to, [this] {
        if (!EnterChain::isBlank(m_to)) run();
    });

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    auto *c = new QVBoxLayout(conditions);
    auto *ways1 = new QHBoxLayout;
    ways1->addWidget(m_bySupplier);
    ways1->addWidget(m_byDate);
    ways1->addStretch();
    c->addLayout(ways1);
    auto *fields = new QWidget(conditions);
    FieldGrid g(fields, 2);
    g.layout()->setContentsMargins(0, 0, 0, 0);
    g.add(QStringLiteral("供应商："), m_suppliers).add(QStringLiteral("公司名称："), m_company);
    g.add(QStringLiteral("起始日期："), m_from).add(QStringLiteral("截止日期："), m_to);
    c->addWidget(fields);
    auto *root = new QVBoxLayout(this);
    root->addWidget(conditions);
    root->addWidget(m_grid, 1);
    root->addWidget(totalsRow(this,
                              {{QStringLiteral("应收金额："), m_payable},
                               {QStringLiteral("实收金额："), m_paid},
                               {QStringLiteral("实欠金额："), m_owed}},
                              {QString(), QString(), QStringLiteral("单位：(万元)")}));
}

void ReceiptFundsPage::activate()
{
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    const QDate today = ctx().clock->today();
    m_from->setDate(QDate(today.year(), today.month(), 1));
    m_to->setDate(today);
    m_company->clear();
    m_grid->clear();
    for (QLineEdit *e : {m_payable, m_paid, m_owed}) e->clear();
    m_bySupplier->setChecked(true);
    m_suppliers->setEnabled(true);
}

void ReceiptFundsPage::run()
{
    QString code;
    if (m_bySupplier->isChecked()) {
        const auto s = supplierById(session(), chosenId(m_suppliers));
        if (!s) return; // a supplier is chosen first
        code = s->code;
    }
    const QDate from = dateOf(m_from), to = dateOf(m_to);
    MaterialQueries q = queriesOf(*this);
    m_grid->setPager(std::make_shared<RowPager>(session(), q.receiptFunds(code, from, to)));
    const ReceiptFundTotals t = q.receiptFundTotals(code, from, to);
    m_payable->setText(t.payableText());
    m_paid->setText(t.paidText());
    m_owed->setText(t.owedText());
}

// ---- 供应商 ----------------------------------------------------------------------

SupplierListPage::SupplierListPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_grid = new Grid({col("供应商代码", "gysdm"), col("供应商名称", "gysmc"), col("供应商地址", "gysaddr"),
                       col("联系电话", "gystel"), col("标志", "gysbz")},
                      this, "supplierList");
    m_print = button(QStringLiteral("打印"), "print", [this] {
        printDocument(this->ctx(), this, supplierListDocument(suppliers(session())));
    });
    auto *root = new QHBoxLayout(this);
    root->addWidget(m_grid, 1);
    root->addLayout(buttonColumn({m_print}));
}

void SupplierListPage::activate()
{
    m_grid->setPager(std::make_shared<RowPager>(session(), SupplierRegister(session()).all()));
}

// ---- 原料结存 ------------------------------------------------------------------

StockPage::StockPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_flag = input("flag", 1);
    m_query = button(QStringLiteral("查询"), "query", [this] { showRows(queriesOf(*this).stock(m_flag->text())); });
    m_print = button(QStringLiteral("打印"), "print", [this] {
        // The rows as the grid shows them, in its order.
        std::map<qint64, const StockRow *> byId;
        for (const StockRow &r : m_rows) byId[r.id] = &r;
        std::vector<StockRow> shown;
        for (int i = 0; i < m_grid->rowCount(); ++i)
            if (auto it = byId.find(m_grid->idAt(i)); it != byId.end()) shown.push_back(*it->second);
        showDocument(this->ctx(), this, queriesOf(*this).stockSheet(shown));
    });
    m_grid = new Grid({col("原料代码", "yldm"), col("原料名称", "ylmc"), col("原料标志", "yldj"),
                       col("实际结存(公斤)", "ylsl", GridColumn::Kind::Number),
                       col("价格(元/吨)", "yljg", GridColumn::Kind::Number), col("最新日期", "rq_0")},
                      this, "stock");
    chain().on(m_flag, [this] { m_query->click(); });

    auto *conditions = new QHBoxLayout;
    conditions->addWidget(labelFor(QStringLiteral("原料标志："), m_flag, this));
    m_flag->setMaximumWidth(60);
    conditions->addWidget(m_flag);
    conditions->addWidget(new QLabel(QStringLiteral("('2'-预混料 '1'-大料 '0'-小料)"), this));
    conditions->addStretch();
    conditions->addWidget(m_query);
    conditions->addWidget(m_print);
    auto *root = new QVBoxLayout(this);
    root->addLayout(conditions);
    root->addWidget(m_grid, 1);
}

void StockPage::activate()
{
    m_flag->clear();
    refresh();
}

void StockPage::refresh()
{
    showRows(queriesOf(*this).allStock());
}

void StockPage::showRows(std::vector<StockRow> rows)
{
    m_rows = std::move(rows);
    std::vector<GridRow> grid;
    for (const StockRow &r : m_rows)
        grid.push_back(GridRow{r.id, {r.code, r.name, r.flag, r.kilograms, r.pricePerTonne, r.moment}, QColor()});
    m_grid->setRows(std::move(grid));
}

// ---- 查询其他 ------------------------------------------------------------------

OtherPage::OtherPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    auto *ways = new QButtonGroup(this);
    m_materials = radio(this, QStringLiteral("原料品种"), "materials", ways);
    m_packaging = radio(this, QStringLiteral("包装物"), "packaging", ways);
    m_materialGrid = new Grid(registerColumns(), this, "register");
    m_packagingGrid = new Grid({col("代码", "cpdm"), col("名称", "cpmc"), col("规格", "cpgg"),
                                col("单价", "kpjg", GridColumn::Kind::Number), col("类别", "cpbz"),
                                col("日期", "rq", GridColumn::Kind::Date)},
                               this, "packagingItems");
    m_grids = new QStackedWidget(this);
    m_grids->addWidget(m_materialGrid);
    m_grids->addWidget(m_packagingGrid);
    connect(m_materials, &QRadioButton::clicked, this, [this] {
        m_materialGrid->setPager(std::make_shared<RowPager>(session(), queriesOf(*this).materialRegister()));
        m_grids->setCurrentWidget(m_materialGrid);
    });
    connect(m_packaging, &QRadioButton::clicked, this, [this] {
        m_packagingGrid->setPager(std::make_shared<RowPager>(session(), queriesOf(*this).packagingItems()));
        m_grids->setCurrentWidget(m_packagingGrid);
    });
    auto *ways1 = new QHBoxLayout;
    ways1->addWidget(m_materials);
    ways1->addWidget(m_packaging);
    ways1->addStretch();
    auto *root = new QVBoxLayout(this);
    root->addLayout(ways1);
    root->addWidget(m_grids, 1);
}

void OtherPage::activate()
{
    m_materials->setChecked(true);
    m_materials->click();
}

// ---- the window ------------------------------------------------------------------

Tylcx::Tylcx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("原料查询"));
    resize(980, 640);
    m_tabs = new QTabWidget(this);
    m_receipts = new MovementQueryPage(ctx, m_tabs, MovementQueryPage::Kind::Receipts);
    m_issues = new MovementQueryPage(ctx, m_tabs, MovementQueryPage::Kind::Issues);
    m_funds = new ReceiptFundsPage(ctx, m_tabs);
    m_suppliers = new SupplierListPage(ctx, m_tabs);
    m_stock = new StockPage(ctx, m_tabs);
    m_other = new OtherPage(ctx, m_tabs);
    m_tabs->addTab(m_receipts, QStringLiteral("原料入库"));
    m_tabs->addTab(m_issues, QStringLiteral("原料出库"));
    m_tabs->addTab(m_funds, QStringLiteral("原料资金"));
    m_tabs->addTab(m_suppliers, QStringLiteral(" 供 应 商 "));
    m_tabs->addTab(m_stock, QStringLiteral("原料结存"));
    m_tabs->addTab(m_other, QStringLiteral("查询其他"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int i) {
        if (auto *page = qobject_cast<FormPage *>(m_tabs->widget(i))) guarded([page] { page->refresh(); });
    });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });
    auto *root = new QVBoxLayout(this);
    root->addWidget(m_tabs, 1);
    root->addLayout(buttonRow({m_close}));
}

void Tylcx::activate()
{
    for (FormPage *p : std::initializer_list<FormPage *>{m_issues, m_funds, m_suppliers, m_stock, m_other})
        p->activate();
    m_tabs->setCurrentIndex(0);
    m_receipts->activate();
}

} // namespace fm
