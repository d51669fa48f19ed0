#include "sales/windows/salesquerywindow.h"

#include "accounts/windows/historyquerywindow.h"
#include "accounts/windows/regionbox.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "reports/reportvalue.h"
#include "sales/salesquerydocuments.h"
#include "sales/windows/combinedquerywindow.h"
#include "sales/windows/fundsquerywindow.h"
#include "sales/windows/returnquerywindow.h"
#include "shell/menutable.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QButtonGroup>
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

// A printout reads at most as many lines as the grid shows.
constexpr int kPrintLimit = 10000;
constexpr int kSkipPage = 100;

QLabel *value(QWidget *parent, const char *name)
{
    auto *l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(110);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QList<GridColumn> lineColumns()
{
    QList<GridColumn> c = gridColumns({"客户代码", "地区", "客户名称", "产品代码", "产品名称", "规格", "销量(公斤)", "开票价",
                                       "金额", "日期", "退料数量", "退料金额", "操作员", "退料价"},
                                      {"khdm", "region", "khmc", "cpdm", "cpmc", "cpgg", "zznum", "zzjg", "zzje", "rq_1",
                                       "tlnum", "kpje", "czydm", "kpjg"});
    for (int i : {6, 7, 8, 10, 11, 13}) c[i].kind = GridColumn::Kind::Number;
    return c;
}

QString currency(double v)
{
    return NumberFormat::fixed(2, true).format(v);
}

} // namespace

SalesQueryWindow::SalesQueryWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(functionWindowCaption(number(Fn::SalesQuery)));

    m_modes = new QButtonGroup(this);
    const std::pair<SalesQueryMode, const char *> modes[] = {
        {SalesQueryMode::Customer, "客户代码"}, {SalesQueryMode::Date, "日期查询"},
        {SalesQueryMode::Category, "产品类别"}, {SalesQueryMode::Returns, "退料查询"},
        {SalesQueryMode::Turnover, "资金查询"}, {SalesQueryMode::Region, "地区查询"}};
    QList<QPushButton *> modeButtons;
    for (const auto &[m, caption] : modes) {
        const SalesQueryMode mode = m;
        QPushButton *b = button(QString::fromUtf8(caption), nullptr, [this, mode] { chooseMode(mode); });
        b->setObjectName(QStringLiteral("mode%1").arg(int(mode)));
        b->setCheckable(true);
        m_modes->addButton(b, int(mode));
        modeButtons << b;
    }
    m_historyButton = button(QStringLiteral("历史数据"), "history", [this] { openChild(historyQueryWindow()); });
    m_specButton = button(QStringLiteral("产品规格"), "spec");
    m_specButton->setEnabled(false);
    m_combinedButton = button(QStringLiteral("模糊查询"), "combined", [this] { openChild(combinedQueryWindow()); });
    // In the order the window always had them.
    QList<QPushButton *> bar = modeButtons;
    bar.insert(6, m_historyButton);
    bar << m_specButton << m_combinedButton;

    m_code = input("customer", 7);
    m_name = display("customerName");
    m_from = input("from", 10);
    m_to = input("to", 10);
    for (QLineEdit *e : {m_from, m_to}) e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_category = chooser("category", QStringLiteral("产品类别"));
    m_region = chooser("region", QStringLiteral("地区"));

    auto *conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    FieldGrid(conditions, 2)
        .add(QStringLiteral("客户代码:"), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("起始时间："), m_from)
        .add(QStringLiteral("截止时间："), m_to);
    auto *categoryPanel = new QWidget(this);
    FieldGrid(categoryPanel).add(QStringLiteral("产品类别："), m_category);
    auto *regionPanel = new QWidget(this);
    FieldGrid(regionPanel).add(QStringLiteral("地区："), m_region);
    m_categoryFields = {categoryPanel};
    m_regionFields = {regionPanel};

    auto *results = new QGroupBox(QStringLiteral("查询结果"), this);
    m_quantity = value(results, "quantity");
    m_amount = value(results, "amount");
    m_received = value(results, "received");
    m_arrears = value(results, "arrears");
    auto *totals = new QWidget(results);
    FieldGrid(totals, 2)
        .add(QStringLiteral("累计销量："), m_quantity, QStringLiteral("(吨)"))
        .add(QStringLiteral("金额累计："), m_amount, QStringLiteral("(万元)"));
    auto *arrears = new QWidget(results);
    FieldGrid(arrears, 2)
        .add(QStringLiteral("实收款："), m_received, QStringLiteral("(万元)"))
        .add(QStringLiteral("实际欠款："), m_arrears, QStringLiteral("(元)"));
    m_arrearsFields = {arrears};
    auto *resultsLayout = new QVBoxLayout(results);
    resultsLayout->addWidget(totals);
    resultsLayout->addWidget(arrears);

    m_grid = new Grid(lineColumns(), this, "lines");
    m_grid->setStretchColumn(4);
    m_print = button(QStringLiteral("打印"), "print", [this] { print(); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *barLayout = new QHBoxLayout;
    for (QPushButton *b : bar) barLayout->addWidget(b);
    barLayout->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(conditions);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(categoryPanel);
    boxes->addWidget(regionPanel);
    boxes->addStretch();
    left->addLayout(boxes);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addWidget(results, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(barLayout);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    resize(1100, 680);

    chain()
        .step(m_code, [this] { return enterCustomer(); })
        .step(m_category, [this] { return m_category->currentIndex() < 0 ? Go::stay() : Go::to(m_from); })
        .step(m_region, [this] { return m_region->currentIndex() < 0 ? Go::stay() : Go::to(m_from); })
        .step(m_from,
              [this] {
                  emptyIfRefused(m_from, [this] {
                      const QDate d = parseDateText(m_from->text());
                      if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
                      m_from->setText(dateText(d));
                  });
                  return Go::advance();
              })
        .step(m_to, [this] { return list(); });
    for (QComboBox *box : {m_category, m_region})
        connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, box] { chain().run(box); });

    openChild = [](FunctionWindow *w) { w->run(); };
}

QPushButton *SalesQueryWindow::modeButton(SalesQueryMode mode) const
{
    return qobject_cast<QPushButton *>(m_modes->button(int(mode)));
}

void SalesQueryWindow::activate()
{
    guarded([this] {
        fillRegionBox(m_region, SalesQueries(session()).regions());
        m_category->clear();
        for (const SalesCategory &c : SalesQueries(session()).categories()) m_category->addItem(c.name, c.flag);
        m_category->setCurrentIndex(-1);
    });
    const QDate today = ctx().clock->today();
    m_from->setText(dateText(settlementPeriodOf(today).start));
    m_to->setText(dateText(today));
    m_code->clear();
    m_name->clear();
    m_grid->clear();
    m_shown = RowQuery();
    m_listed = false;
    for (QLabel *l : {m_quantity, m_amount, m_received, m_arrears}) l->setText(QStringLiteral("0"));
    m_print->setEnabled(false);
    chooseMode(SalesQueryMode::Customer);
}

void SalesQueryWindow::chooseMode(SalesQueryMode mode)
{
    // "退料查询" and "资金查询" open their windows; the listing then works in
    // their mode when dates are entered afterwards.
    if (mode == SalesQueryMode::Returns) openChild(returnQueryWindow());
    else if (mode == SalesQueryMode::Turnover) openChild(fundsQueryWindow());
    m_mode = mode;
    modeButton(mode)->setChecked(true);
    const bool byCustomer = mode == SalesQueryMode::Customer || mode == SalesQueryMode::Returns;
    for (QWidget *w : m_categoryFields) w->setVisible(mode == SalesQueryMode::Category);
    for (QWidget *w : m_regionFields) w->setVisible(mode == SalesQueryMode::Region);
    const SalesQuery probe{mode, {}, {}, {}, {}, {}};
    for (QWidget *w : m_arrearsFields) w->setVisible(probe.hasArrears());
    chain().disableAll();
    if (!byCustomer) m_name->clear();
    if (byCustomer) chain().reach(m_code);
    else if (mode == SalesQueryMode::Category) chain().reach(m_category);
    else if (mode == SalesQueryMode::Region) chain().reach(m_region);
    else chain().reach(m_from);
}

Go SalesQueryWindow::enterCustomer()
{
    const std::optional<Customer> c = queries().customer(m_code->text());
    if (!c) {
        m_code->clear();
        m_name->clear();
        inform(QStringLiteral("查无此客户！"));
        return Go::stay();
    }
    m_code->setText(c->code);
    m_name->setText(c->name);
    return Go::to(m_from);
}

Go SalesQueryWindow::list()
{
    const auto [from, to] = SalesQueries::checkedRange(m_from->text(), m_to->text());
    SalesQuery q;
    q.mode = m_mode;
    q.from = from;
    q.to = to;
    if (m_mode == SalesQueryMode::Customer || m_mode == SalesQueryMode::Returns) {
        if (m_name->text().isEmpty()) return Go::to(m_code);
        q.customerCode = m_code->text();
    } else if (m_mode == SalesQueryMode::Category) {
        if (m_category->currentIndex() < 0) return Go::to(m_category);
        q.categoryFlag = m_category->currentData().toString();
    } else if (m_mode == SalesQueryMode::Region) {
        if (m_region->currentIndex() < 0) return Go::to(m_region);
        q.region = chosenText(m_region);
    }
    m_from->setText(from);
    m_to->setText(to);
    m_query = q;
    SalesQueries s = queries();
    const LineTotals t = s.totals(q);
    showGrid(s.listing(q), t.rows);
    m_quantity->setText(numberText(t.netTonnes()));
    m_amount->setText(numberText(t.netTenThousandYuan()));
    m_received->setText(QStringLiteral("0"));
    m_arrears->setText(QStringLiteral("0"));
    m_listed = true;
    m_print->setEnabled(true);
    // The range stays as listed until a mode is chosen again.
    m_to->setEnabled(false);
    EnterChain::focusField(m_grid->view());
    if (q.hasArrears() && ask(QStringLiteral("是否计算实际欠款？"))) computeArrears();
    return Go::done();
}

void SalesQueryWindow::computeArrears()
{
    SalesQueries s = queries();
    const ArchiveState archive = s.archiveState();
    // The grid shows the lines the fee is taken from.
    showGrid(s.feeLines(m_query, archive), -1);
    // The lines the fee leaves out, told or asked about in line order: No
    // abandons the whole computation, Cancel stops the questions.
    bool asking = true;
    QString afterDate;
    qint64 afterId = 0;
    for (;;) {
        const Rows skips = s.feeSkips(m_query, archive, asking, afterDate, afterId, kSkipPage);
        for (const Row &r : skips) {
            afterDate = r.text(QStringLiteral("rq_1"));
            afterId = r.id();
            const QString code = r.text(QStringLiteral("khdm"));
            const QString product = r.text(QStringLiteral("cpmc"));
            if (r.number(QStringLiteral("zcjg")) != 0) {
                inform(code + QStringLiteral("产品") + product + QStringLiteral("的代码不存在,不计算其推广费,请检查！"));
                continue;
            }
            if (!asking) continue;
            const Prompter::Answer a = askYesNoCancel(code + QStringLiteral("的") + product + QStringLiteral("政策价格为0.继续否?"));
            if (a == Prompter::Answer::No) {
                m_code->setEnabled(true);
                EnterChain::focusField(m_code);
                return;
            }
            if (a == Prompter::Answer::Cancel) asking = false;
        }
        if (int(skips.size()) < kSkipPage) break;
    }
    const Arrears a = s.arrears(m_query, archive);
    m_grid->setRowTotal(a.lines);
    m_received->setText(numberText(a.receivedTenThousandYuan()));
    m_arrears->setText(currency(a.actual()));
}

void SalesQueryWindow::showGrid(const RowQuery &q, qint64 rows)
{
    m_shown = q;
    m_grid->setPager(std::make_shared<RowPager>(session(), q));
    if (rows >= 0) m_grid->setRowTotal(rows);
}

void SalesQueryWindow::print()
{
    if (!m_listed) return;
    const Rows rows = queries().printRows(m_shown, kPrintLimit);
    showDocument(ctx(), this, salesQueryDocument(rows, m_region->currentIndex() < 0 ? QString() : m_region->currentText(),
                                                 ctx().clock->today()));
}

FunctionWindow *SalesQueryWindow::returnQueryWindow()
{
    if (!m_returnQuery) m_returnQuery = new ReturnQueryWindow(ctx(), this);
    return m_returnQuery;
}

FunctionWindow *SalesQueryWindow::fundsQueryWindow()
{
    if (!m_fundsQuery) m_fundsQuery = new FundsQueryWindow(ctx(), this);
    return m_fundsQuery;
}

FunctionWindow *SalesQueryWindow::combinedQueryWindow()
{
    if (!m_combinedQuery) m_combinedQuery = new CombinedQueryWindow(ctx(), this);
    return m_combinedQuery;
}

FunctionWindow *SalesQueryWindow::historyQueryWindow()
{
    if (!m_historyQuery) m_historyQuery = new Tlssjcx(ctx(), this);
    return m_historyQuery;
}

} // namespace fm
