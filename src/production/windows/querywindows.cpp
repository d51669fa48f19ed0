#include "production/windows/querywindows.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "production/productionteams.h"
#include "production/windows/productionfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"
#include "warehouse/windows/warehousefields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

QList<GridColumn> materialUseColumns()
{
    return {textColumn("原料代码", "yldm"),   textColumn("原料名称", "ylmc"), textColumn("原料等级", "yldj"),
            numberColumn("原料数量", "ylsl"), numberColumn("原料平均价格", "yljg"), textColumn("起始日期", "rq_1"),
            textColumn("截止日期", "rq_0")};
}

QList<ProductionQueries::ListColumn> materialUseList()
{
    return {{QStringLiteral("原料代码"), QStringLiteral("yldm")},
            {QStringLiteral("原料名称"), QStringLiteral("ylmc")},
            {QStringLiteral("原料数量(公斤)"), QStringLiteral("ylsl"), true, true},
            {QStringLiteral("原料平均价格(元/吨)"), QStringLiteral("yljg"), true},
            {QStringLiteral("起始日期"), QStringLiteral("rq_1")},
            {QStringLiteral("截止日期"), QStringLiteral("rq_0")}};
}

QString dateOrEmpty(const QDateEdit *d)
{
    const QDate v = dateOf(d);
    return v.isValid() ? dateText(v) : QString();
}

} // namespace

// ---- 生产原料汇总 ----------------------------------------------------------------

Tscylhz::Tscylhz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产原料汇总"));
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_go = button(QStringLiteral("开始"), "go", [this] { build(); });
    m_progress = new QProgressBar(this);
    m_progress->setValue(0);
    m_grid = new Grid(materialUseColumns(), this, "materialUse");
    m_grid->setStretchColumn(1);
    auto *head = new QGroupBox(this);
    FieldGrid(head, 2).add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end);
    auto *top = new QHBoxLayout;
    top->addWidget(head, 1);
    top->addLayout(buttonColumn({m_go, button(QStringLiteral("打印报表"), "print", [this] {
                                     showDocument(this->ctx(), this,
                                                  ProductionQueries::listDocument(QStringLiteral("生产原料汇总"), materialUseList(),
                                                                                  m_rows, this->ctx().clock->today()));
                                 }),
                                 button(QStringLiteral("退出"), "close", [this] { close(); })}));
    auto *box = new QGroupBox(QStringLiteral("生产原料"), this);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_grid);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box, 1);
    layout->addWidget(m_progress);
    resize(860, 560);
    chain()
        .step(m_start, [] { return Go::advance(); })
        .step(m_end, [] { return Go::advance(); })
        .step(m_go, [this] {
            build();
            return Go::done();
        });
}

void Tscylhz::activate()
{
    setBlank(m_start);
    setBlank(m_end);
    m_progress->setValue(0);
    guarded([this] {
        m_rows = ProductionQueries(session(), *ctx().clock).materialUse();
        m_grid->setRows(m_rows);
    });
    chain().reset();
}

void Tscylhz::build()
{
    const QString s = dateOrEmpty(m_start), e = dateOrEmpty(m_end);
    if (s.isEmpty() || e.isEmpty()) return;
    m_progress->setRange(0, 1);
    m_rows = ProductionQueries(session(), *ctx().clock).rebuildMaterialUse(s, e);
    m_progress->setValue(1);
    m_grid->setRows(m_rows);
    m_progress->setValue(0);
}

// ---- 生产原料耗用查询 ---------------------------------------------------------------

Tscylhy::Tscylhy(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产原料耗用查询"));
    m_material = chooser("material", QStringLiteral("原料名称"));
    m_start = dateInput("start");
    m_end = dateInput("end");
    m_query = button(QStringLiteral("查询"), "query", [this] { query(); });
    m_total = display("total");
    m_grid = new Grid(materialUseColumns(), this, "materialUse");
    m_grid->setStretchColumn(1);
    auto *head = new QGroupBox(this);
    FieldGrid(head, 2)
        .add(m_material, 2)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end)
        .add(QStringLiteral("数量合计："), m_total, QStringLiteral("(吨)"));
    m_material->setAccessibleName(QStringLiteral("原料名称"));
    auto *top = new QHBoxLayout;
    top->addWidget(head, 1);
    top->addLayout(buttonColumn({button(QStringLiteral("按日期查询"), "byDate", [this] { byDate(); }),
                                 button(QStringLiteral("按原料名称"), "byMaterial", [this] { byMaterial(); }), m_query,
                                 button(QStringLiteral("打印"), "print", [this] {
                                     showDocument(this->ctx(), this,
                                                  ProductionQueries::listDocument(QStringLiteral("生产原料耗用"), materialUseList(),
                                                                                  m_rows, this->ctx().clock->today()));
                                 }),
                                 button(QStringLiteral("退出"), "close", [this] { close(); })}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    resize(860, 560);
    chain()
        .step(m_start, [] { return Go::advance(); })
        .step(m_end, [] { return Go::advance(); })
        .step(m_query, [this] {
            query();
            return Go::done();
        });
    connect(m_material, &QComboBox::activated, this, [this] { chain().reach(m_start); });
}

void Tscylhy::activate()
{
    // The current month up to today, rather than dates long past.
    const QDate today = ctx().clock->today();
    m_start->setDate(QDate(today.year(), today.month(), 1));
    m_end->setDate(today);
    m_material->clear();
    m_material->hide();
    m_byMaterial = false;
    m_total->setText(QStringLiteral("0"));
    m_rows.clear();
    m_grid->clear();
    chain().reset();
}

void Tscylhy::byDate()
{
    m_byMaterial = false;
    m_material->hide();
    chain().reach(m_start);
}

void Tscylhy::byMaterial()
{
    m_byMaterial = true;
    guarded([this] {
        m_material->clear();
        m_material->addItems(ProductionQueries(session(), *ctx().clock).stockMaterialNames());
        m_material->setCurrentIndex(-1);
    });
    m_material->show();
    m_material->setFocus();
}

void Tscylhy::query()
{
    if (m_byMaterial && m_material->currentIndex() < 0) return;
    double kg = 0;
    m_rows = ProductionQueries(session(), *ctx().clock)
                 .materialUseQuery(dateText(m_start->date()), dateText(m_end->date()),
                                   m_byMaterial ? m_material->currentText() : QString(), &kg);
    m_grid->setRows(m_rows);
    m_total->setText(numberText(kg / 1000));
}

// ---- 车间生产查询 -----------------------------------------------------------------

Tscpf_cx::Tscpf_cx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("车间生产查询    说明：生产成本单位：元/吨"));
    m_choice = chooser("choice");
    m_choiceLabel = new QLabel(this);
    m_choiceLabel->setBuddy(m_choice);
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_production = display("production");
    m_blending = display("blending");
    m_rebagging = display("rebagging");
    m_grid = new Grid({textColumn("产品代码", "cpdm"), textColumn("产品名称", "cpmc"), textColumn("规格(公斤/包)", "cpgg"),
                       numberColumn("生产数量(kg)", "scsl"), numberColumn("生产成本", "sccb"), textColumn("生产班组", "scbz"),
                       textColumn("生产日期", "scrq_1"), momentColumn("操作日期", "scrq_0"), textColumn("产品标志", "cpbz"),
                       numberColumn("序号", "rec_num"), textColumn("条形码", "txm")},
                      this, "lines");
    m_grid->setStretchColumn(1);
    auto *head = new QGroupBox(this);
    auto *headLayout = new QHBoxLayout(head);
    headLayout->addWidget(m_choiceLabel);
    headLayout->addWidget(m_choice);
    auto *dates = new QWidget(head);
    FieldGrid(dates, 2).add(QStringLiteral("起始日期:"), m_start).add(QStringLiteral("截止日期:"), m_end);
    headLayout->addWidget(dates, 1);
    auto *totals = new QGroupBox(this);
    FieldGrid(totals, 3)
        .add(QStringLiteral("生产数量(吨):"), m_production)
        .add(QStringLiteral("掺拌生产(吨)："), m_blending)
        .add(QStringLiteral("换包(吨):"), m_rebagging);
    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(m_grid, 1);
    left->addWidget(totals);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttonColumn(
        {button(QStringLiteral("按生产日期"), "byDate", [this] { choose(LineFilter::ByDate); }),
         button(QStringLiteral("按产品代码"), "byProduct", [this] { choose(LineFilter::ByProduct); }),
         button(QStringLiteral("按配方代码"), "byFormula", [this] { choose(LineFilter::ByFormula); }),
         button(QStringLiteral("按生产班组"), "byTeam", [this] { choose(LineFilter::ByTeam); }),
         button(QStringLiteral("条形码查询"), "barCode", [this] {
             Tcpcx_txm w(this->ctx(), this);
             w.run();
         }),
         button(QStringLiteral("打印"), "print", [this] {
             showDocument(this->ctx(), this,
                          ProductionQueries::listDocument(
                              QStringLiteral("车间生产查询"),
                              {{QStringLiteral("产品代码"), QStringLiteral("cpdm")},
                               {QStringLiteral("产品名称"), QStringLiteral("cpmc")},
                               {QStringLiteral("规格"), QStringLiteral("cpgg")},
                               {QStringLiteral("生产数量(kg)"), QStringLiteral("scsl"), true, true},
                               {QStringLiteral("生产成本(元/吨)"), QStringLiteral("sccb"), true},
                               {QStringLiteral("生产班组"), QStringLiteral("scbz")},
                               {QStringLiteral("生产日期"), QStringLiteral("scrq_1")},
                               {QStringLiteral("条形码"), QStringLiteral("txm")}},
                              m_rows, this->ctx().clock->today()));
         }),
         button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(1100, 620);
    chain()
        .step(m_start,
              [this] {
                  m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [this] { return query(); });
    connect(m_choice, &QComboBox::activated, this, [this] { chain().reach(m_start); });
}

void Tscpf_cx::activate()
{
    m_rows.clear();
    m_grid->clear();
    for (QLineEdit *e : {m_production, m_blending, m_rebagging}) e->setText(QStringLiteral("0"));
    setBlank(m_start);
    setBlank(m_end);
    // Without a choice the query runs by date.
    choose(LineFilter::ByDate);
}

void Tscpf_cx::choose(LineFilter f)
{
    m_filter = f;
    const bool list = f != LineFilter::ByDate;
    m_choice->setVisible(list);
    m_choiceLabel->setVisible(list);
    chain().reset();
    if (!list) {
        chain().reach(m_start);
        return;
    }
    m_choiceLabel->setText(f == LineFilter::ByProduct ? QStringLiteral("产品代码：")
                                                      : f == LineFilter::ByFormula ? QStringLiteral("配方代码：")
                                                                                   : QStringLiteral("班组代码:"));
    guarded([this, f] {
        m_choice->clear();
        m_choice->addItems(ProductionQueries(session(), *ctx().clock).workshopChoices(f));
        m_choice->setCurrentIndex(-1);
    });
    m_start->setEnabled(false);
    m_choice->setFocus();
}

Go Tscpf_cx::query()
{
    const QString s = dateOrEmpty(m_start), e = dateOrEmpty(m_end);
    if (s.isEmpty() || e.isEmpty()) return Go::stay();
    if (m_filter != LineFilter::ByDate && m_choice->currentIndex() < 0) return Go::stay();
    WorkshopTotals t;
    m_rows = ProductionQueries(session(), *ctx().clock).workshopLines(m_filter, m_choice->currentText(), s, e, &t);
    m_grid->setRows(m_rows);
    m_production->setText(numberText(t.productionTonnes));
    m_blending->setText(numberText(t.blendingTonnes));
    m_rebagging->setText(numberText(t.rebaggingTonnes));
    return Go::stay();
}

// ---- 产品回机查询 -----------------------------------------------------------------

Tcphj_cx::Tcphj_cx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品回机查询"));
    m_code = input("code", 20);
    m_name = display("name");
    m_spec = display("spec");
    m_team = input("team", 2);
    m_teamName = input("teamName");
    m_teamName->setReadOnly(true);
    m_start = input("start", 10);
    m_end = input("end", 10);
    m_total = display("total");
    m_print = button(QStringLiteral("打印"), "print", [this] {
        showDocument(this->ctx(), this,
                     ProductionQueries::returnsDocument(this->ctx().qymc, m_rows, this->ctx().clock->today(), m_shownStart,
                                                        m_shownEnd));
    });
    m_grid = new Grid({textColumn("源代码", "cpdm1"), textColumn("源名称", "cpmc1"), textColumn("源规格", "cpgg1"),
                       numberColumn("回机数量", "hjsl"), numberColumn("价格", "cpjg"), numberColumn("回机金额", "cpje"),
                       textColumn("回机日期", "hjrq"), textColumn("说明", "rymc"), textColumn("班组代码", "bzdm"),
                       textColumn("班组名称", "bzmc"), textColumn("目标代码", "cpdm2"), textColumn("目标名称", "cpmc2"),
                       textColumn("目标规格", "cpgg2")},
                      this, "returns");
    auto *product = new QGroupBox(this);
    FieldGrid(product, 3)
        .add(QStringLiteral("产品代码"), m_code)
        .add(QStringLiteral("产品名称："), m_name)
        .add(QStringLiteral("规格："), m_spec, QStringLiteral("(公斤/包)"))
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end)
        .add(QStringLiteral("回机数量："), m_total, QStringLiteral("(吨)"));
    m_teamPanel = new QGroupBox(this);
    FieldGrid(m_teamPanel, 2).add(QStringLiteral("班组代码："), m_team).add(QStringLiteral("班组名称："), m_teamName);
    auto *left = new QVBoxLayout;
    left->addWidget(product);
    left->addWidget(m_teamPanel);
    left->addWidget(m_grid, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttonColumn({button(QStringLiteral("按日期"), "byDate", [this] { choose(LineFilter::ByDate); }),
                                    button(QStringLiteral("按代码"), "byProduct", [this] { choose(LineFilter::ByProduct); }),
                                    button(QStringLiteral("按班组"), "byTeam", [this] { choose(LineFilter::ByTeam); }), m_print,
                                    button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(1100, 600);

    chain()
        .step(m_start, [] { return Go::advance(); })
        .step(m_end, [this] { return query(); });
    EnterChain &lookUps = addChain();
    lookUps.on(m_code, [this] {
        const auto p = ProductionQueries(session(), *this->ctx().clock).masterProduct(m_code->text());
        if (!p) return; // waits at the code
        m_code->setText(p->text(QStringLiteral("cpdm")));
        m_name->setText(p->text(QStringLiteral("cpmc")));
        m_spec->setText(p->text(QStringLiteral("cpgg")));
        chain().reach(m_start);
    });
    lookUps.on(m_team, [this] {
        const auto t = registeredTeam(session(), m_team->text());
        if (!t) return;
        m_team->setText(t->code);
        m_teamName->setText(t->name);
        EnterChain::focusField(m_teamName);
    });
    lookUps.on(m_teamName, [this] {
        if (m_teamName->text().isEmpty()) return;
        if (ask(QStringLiteral("确认否?"))) chain().reach(m_start);
    });
}

void Tcphj_cx::activate()
{
    m_rows.clear();
    m_grid->clear();
    for (QLineEdit *e : {m_code, m_name, m_spec, m_team, m_teamName, m_start, m_end}) e->clear();
    m_total->setText(QStringLiteral("0"));
    m_print->setEnabled(false);
    choose(LineFilter::ByDate);
}

void Tcphj_cx::choose(LineFilter f)
{
    m_filter = f;
    chain().reset();
    m_teamPanel->setVisible(f == LineFilter::ByTeam);
    m_code->setEnabled(f == LineFilter::ByProduct);
    m_start->setEnabled(false);
    if (f == LineFilter::ByDate) chain().reach(m_start);
    else if (f == LineFilter::ByProduct) EnterChain::focusField(m_code);
    else EnterChain::focusField(m_team);
}

Go Tcphj_cx::query()
{
    const QString s = m_start->text().trimmed(), e = m_end->text().trimmed();
    if (s.isEmpty() || e.isEmpty()) return Go::stay();
    double kg = 0;
    const QString choice = m_filter == LineFilter::ByProduct ? m_code->text() : m_team->text();
    m_rows = ProductionQueries(session(), *ctx().clock).returns(m_filter, choice, s, e, &kg);
    m_shownStart = s;
    m_shownEnd = e;
    m_grid->setRows(m_rows);
    m_total->setText(numberText(kg / 1000));
    m_print->setEnabled(true);
    return Go::stay();
}

// ---- 产品查询-条形码 ---------------------------------------------------------------

Tcpcx_txm::Tcpcx_txm(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品查询-条形码"));
    m_scan = input("scan", 20);
    m_shown = display("barCode");
    auto *box = new QGroupBox(this);
    FieldGrid grid(box, 2);
    grid.add(QStringLiteral("输入条形码："), m_scan).add(QStringLiteral("条形码："), m_shown);
    const struct {
        const char *caption, *column, *unit;
    } fields[] = {{"产品代码：", "cpdm", ""},     {"产品名称：", "cpmc", ""},   {"规格(kg/包)：", "cpgg", ""},
                  {"生产数量：", "scsl", "(公斤)"}, {"生产成本：", "sccb", "(元)"}, {"生产班组：", "scbz", ""},
                  {"生产配方：", "pfhm", ""},       {"生产批次：", "scpc", ""},   {"生产日期：", "scrq_1", ""},
                  {"包装袋名称：", "bzdmc", ""},    {"包装袋规格：", "bzdgg", "(kg/包)"}, {"标签名称：", "bqmc", ""}};
    for (const auto &f : fields) {
        QLineEdit *e = display(f.column);
        grid.add(QString::fromUtf8(f.caption), e, QString::fromUtf8(f.unit));
        m_fields.append({QString::fromLatin1(f.column), e});
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(720, 420);
    m_scan->installEventFilter(this);
}

QLineEdit *Tcpcx_txm::field(const char *column) const
{
    for (const auto &f : m_fields)
        if (f.first == QLatin1String(column)) return f.second;
    return nullptr;
}

void Tcpcx_txm::activate()
{
    m_scan->clear();
    m_shown->clear();
    for (const auto &f : m_fields) f.second->clear();
    m_scan->setFocus();
}

bool Tcpcx_txm::eventFilter(QObject *watched, QEvent *event)
{
    // A scanner types the thirteen digits and then its terminating key: the
    // key after the thirteenth character looks the code up.
    if (watched == m_scan && event->type() == QEvent::KeyPress && m_scan->text().size() >= 13) {
        const QString code = m_scan->text().left(13);
        guarded([&] { lookUp(code); });
        m_scan->clear();
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
    }
    return FunctionWindow::eventFilter(watched, event);
}

void Tcpcx_txm::lookUp(const QString &code)
{
    m_shown->setText(code);
    const auto line = ProductionQueries(session(), *ctx().clock).lineByBarCode(code);
    if (!line) return;
    for (const auto &f : m_fields) {
        const QVariant v = line->value(f.first);
        f.second->setText(v.typeId() == QMetaType::Double ? numberText(v.toDouble()) : line->text(f.first));
    }
}

} // namespace fm
