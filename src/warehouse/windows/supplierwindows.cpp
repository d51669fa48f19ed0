#include "warehouse/windows/supplierwindows.h"

#include "common/clock.h"
#include "data/dberror.h"
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
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kConfirm = QStringLiteral("确认");
const DateRange kEveryDate{QDate(), QDate(9999, 12, 31)};

QRadioButton *radio(QWidget *parent, const QString &text, const char *name)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

// "应付金额：" "实付金额：" "实欠金额：" in 万元.
QGroupBox *totalsBox(QWidget *parent, const QString &title, QLineEdit *payable, QLineEdit *paid, QLineEdit *owed)
{
    auto *box = new QGroupBox(title, parent);
    FieldGrid g(box, 3);
    g.add(QStringLiteral("应付金额："), payable).add(QStringLiteral("实付金额："), paid).add(QStringLiteral("实欠金额："), owed);
    g.add(new QLabel(QStringLiteral("(单位：万元)"), box), 3);
    for (QLineEdit *e : {payable, paid, owed}) e->setAlignment(Qt::AlignRight);
    return box;
}

void fillSuppliersWithAll(QComboBox *list, Session &s)
{
    fillSuppliers(list, suppliers(s));
    const QSignalBlocker block(list);
    list->insertItem(0, QStringLiteral("全部"), qint64(0));
    list->setCurrentIndex(0);
}

} // namespace

// ---- 供应商管理 ----------------------------------------------------------------

Tgysgl::Tgysgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("供应商管理"));
    resize(760, 520);

    m_addMode = radio(this, QStringLiteral("增加供应商"), "addMode");
    m_deleteMode = radio(this, QStringLiteral("删除供应商"), "deleteMode");
    m_changeMode = radio(this, QStringLiteral("修改供应商"), "changeMode");
    connect(m_addMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Add); });
    connect(m_deleteMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Delete); });
    connect(m_changeMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Change); });

    m_code = input("code", SupplierRegister::kCodeLength);
    m_name = input("name", 14);
    m_address = input("address", 20);
    m_phone = input("phone", SupplierRegister::kPhoneLength);
    m_confirm = button(kConfirm, "confirm");
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] {
        clearInputs();
        setMode(m_mode);
    });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });
    m_grid = new Grid({GridColumn{QStringLiteral("供应商代码"), QStringLiteral("gysdm"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("供应商名称"), QStringLiteral("gysmc"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("供应商地址"), QStringLiteral("gysaddr"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("联系电话"), QStringLiteral("gystel"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("标志"), QStringLiteral("gysbz"), GridColumn::Kind::Text}},
                      this, "suppliers");
    m_blink = new QTimer(this);
    m_blink->setInterval(300);
    connect(m_blink, &QTimer::timeout, this, [this] { blink(); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { choose(id); });

    auto *modes = new QHBoxLayout;
    for (QRadioButton *r : {m_addMode, m_deleteMode, m_changeMode}) modes->addWidget(r);
    modes->addStretch();
    auto *entry = new QGroupBox(this);
    FieldGrid fields(entry, 2);
    fields.add(QStringLiteral("供应商代码："), m_code).add(QStringLiteral("供应商名称："), m_name);
    fields.add(QStringLiteral("供应商地址："), m_address).add(QStringLiteral("联系电话："), m_phone);
    auto *top = new QHBoxLayout;
    top->addWidget(entry, 1);
    top->addLayout(buttonColumn({m_confirm, m_cancel, m_close}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(modes);
    root->addLayout(top);
    root->addWidget(m_grid, 1);

    chain()
        .step(m_code,
              [this] {
                  SupplierRegister reg(session());
                  switch (m_mode) {
                  case Mode::Add:
                      try {
                          m_code->setText(reg.checkNewCode(m_code->text()));
                      } catch (const DomainError &) {
                          m_code->selectAll();
                          throw;
                      }
                      m_confirm->setText(QStringLiteral("确认增加"));
                      return Go::advance();
                  case Mode::Delete: {
                      const auto s = findSupplier(session(), m_code->text());
                      if (!s) throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
                      choose(s->id);
                      return Go::done();
                  }
                  case Mode::Change:
                      break;
                  }
                  return Go::advance();
              })
        .step(m_name, [] { return Go::advance(); })
        .step(m_address, [] { return Go::advance(); })
        .step(m_phone, [] { return Go::advance(); }, StepOptions{QString(), true, false, {}})
        .step(m_confirm,
              [this] {
                  store();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_cancel}});
}

void Tgysgl::activate()
{
    reload();
    clearInputs();
    setMode(Mode::Add);
}

void Tgysgl::reload()
{
    m_grid->setPager(std::make_shared<RowPager>(session(), SupplierRegister(session()).all()));
}

bool Tgysgl::blinking() const
{
    return m_blink->isActive();
}

void Tgysgl::blink()
{
    m_blinkOn = !m_blinkOn;
    m_grid->view()->setStyleSheet(m_blinkOn ? QStringLiteral("QTableView { color: #c00000; }") : QString());
}

void Tgysgl::setMode(Mode mode)
{
    m_mode = mode;
    m_chosen = 0;
    m_confirm->setText(kConfirm);
    (mode == Mode::Add ? m_addMode : mode == Mode::Delete ? m_deleteMode : m_changeMode)->setChecked(true);
    if (mode == Mode::Add) {
        m_blink->stop();
        m_blinkOn = true;
        blink();
        chain().reset();
        return;
    }
    // Until a supplier is clicked, the list blinks to ask for one.
    m_blink->start();
    chain().disableAll();
    if (mode == Mode::Delete) chain().reset();
}

void Tgysgl::choose(qint64 id)
{
    if (m_mode == Mode::Add) return;
    const auto s = supplierById(session(), id);
    if (!s) return;
    m_blink->stop();
    m_blinkOn = true;
    blink();
    m_chosen = id;
    showSupplier(*s);
    m_grid->selectId(id);
    if (m_mode == Mode::Delete) {
        m_confirm->setText(QStringLiteral("确认删除"));
        chain().reach(m_confirm);
        return;
    }
    m_confirm->setText(QStringLiteral("确认修改"));
    chain().reach(m_confirm);
    for (QLineEdit *e : {m_code, m_name, m_address, m_phone}) e->setEnabled(true);
    EnterChain::focusField(m_name);
}

void Tgysgl::showSupplier(const Supplier &s)
{
    m_code->setText(s.code);
    m_name->setText(s.name);
    m_address->setText(s.address);
    m_phone->setText(s.phone);
}

SupplierInput Tgysgl::inputs() const
{
    return SupplierInput{m_code->text(), m_name->text(), m_address->text(), m_phone->text()};
}

void Tgysgl::store()
{
    SupplierRegister reg(session());
    switch (m_mode) {
    case Mode::Add:
        reg.add(inputs());
        break;
    case Mode::Delete:
        if (!m_chosen) return;
        reg.remove(m_chosen);
        break;
    case Mode::Change:
        if (!m_chosen) return;
        reg.change(m_chosen, inputs());
        break;
    }
    reload();
    clearInputs();
    setMode(Mode::Add);
    m_addMode->setFocus();
}

void Tgysgl::clearInputs()
{
    for (QLineEdit *e : {m_code, m_name, m_address, m_phone}) e->clear();
}

// ---- 供应商资金处理 --------------------------------------------------------------

Tgyszjcl::Tgyszjcl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("供应商资金处理"));
    resize(820, 560);

    m_suppliers = chooser("suppliers");
    m_from = dateInput("from");
    m_to = dateInput("to");
    allowBlank(m_from, *ctx.clock);
    allowBlank(m_to, *ctx.clock);
    m_process = button(QStringLiteral("处理"), "process", [this] { run(); });
    m_print = button(QStringLiteral("打印"), "print", [this] {
        showDocument(this->ctx(), this, funds().summaryDocument(QString(), kEveryDate));
    });
    m_close = button(QStringLiteral("关闭"), "close", [this] { reject(); });
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_grid = new Grid(summaryColumns(), this, "summary");
    m_payable = display("payable");
    m_paid = display("paid");
    m_owed = display("owed");

    auto *entry = new QWidget(this);
    FieldGrid fields(entry, 3);
    fields.add(QStringLiteral("供应商名称："), m_suppliers)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    fields.layout()->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    top->addWidget(entry, 1);
    top->addLayout(buttonColumn({m_process, m_print, m_close}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_progress);
    root->addWidget(m_grid, 1);
    root->addWidget(totalsBox(this, QString(), m_payable, m_paid, m_owed));

    chain().on(m_from, [this] { EnterChain::focusField(m_to); });
    chain().on(m_to, [this] { m_process->setFocus(); });
}

SupplierFunds Tgyszjcl::funds() const
{
    return SupplierFunds(session(), *ctx().clock, ctx().operatorCode);
}

void Tgyszjcl::activate()
{
    fillSuppliersWithAll(m_suppliers, session());
    setBlank(m_from);
    m_to->setDate(ctx().clock->today());
    m_grid->setPager(std::make_shared<RowPager>(session(), funds().summary(QString(), kEveryDate)));
    showTotals(funds().summaryTotals(QString(), kEveryDate));
    m_suppliers->setFocus();
}

void Tgyszjcl::run()
{
    const auto s = supplierById(session(), chosenId(m_suppliers));
    m_progress->setValue(0);
    const FundTotals t = funds().process(s ? s->code : QString(), DateRange{dateOf(m_from), dateOf(m_to)});
    m_progress->setValue(1);
    m_grid->setPager(std::make_shared<RowPager>(session(), funds().summary(QString(), kEveryDate)));
    showTotals(t);
    m_progress->setValue(0);
}

void Tgyszjcl::showTotals(const FundTotals &t)
{
    m_payable->setText(t.payableText());
    m_paid->setText(t.paidText());
    m_owed->setText(t.owedText());
}

// ---- 供应商欠款查询 --------------------------------------------------------------

Tgys_cx::Tgys_cx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("供应商欠款查询"));
    resize(900, 600);

    m_suppliers = chooser("suppliers", QStringLiteral("供应商"));
    m_from = dateInput("from");
    m_to = dateInput("to");
    allowBlank(m_from, *ctx.clock);
    allowBlank(m_to, *ctx.clock);
    m_summaryMode = radio(this, QStringLiteral("欠款汇总"), "summaryMode");
    m_detailMode = radio(this, QStringLiteral("欠款明细"), "detailMode");
    m_query = button(QStringLiteral("查询"), "query", [this] { run(false); });
    m_queryAll = button(QStringLiteral("查询所有"), "queryAll", [this] { run(true); });
    m_print = button(QStringLiteral("打印"), "print", [this] { printShown(); });
    m_statement = button(QStringLiteral("对帐单"), "statement", [this] {
        showDocument(this->ctx(), this, funds().statement(chosenCode(), range()));
    });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });
    m_detail = new Grid(fundColumns(), this, "fundLines");
    m_summary = new Grid(summaryColumns(), this, "summary");
    m_grids = new QStackedWidget(this);
    m_grids->addWidget(m_detail);
    m_grids->addWidget(m_summary);
    m_payable = display("payable");
    m_paid = display("paid");
    m_owed = display("owed");

    connect(m_summaryMode, &QRadioButton::clicked, this, [this] {
        m_grids->setCurrentWidget(m_summary);
        m_shown = false;
        inform(SupplierFunds::kProcessFirst);
    });
    connect(m_detailMode, &QRadioButton::clicked, this, [this] {
        m_grids->setCurrentWidget(m_detail);
        m_shown = false;
    });
    connect(m_suppliers, qOverload<int>(&QComboBox::activated), this, [this] {
        const bool chosen = !chosenCode().isEmpty();
        m_query->setEnabled(chosen);
        m_statement->setEnabled(chosen);
        EnterChain::focusField(m_from);
    });
    chain().on(m_from, [this] { EnterChain::focusField(m_to); });
    chain().on(m_to, [this] {
        if (EnterChain::isBlank(m_to)) return;
        (m_query->isEnabled() ? m_query : m_queryAll)->setFocus();
    });

    auto *entry = new QWidget(this);
    FieldGrid fields(entry, 3);
    fields.add(QStringLiteral("供应商名称："), m_suppliers)
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to);
    fields.layout()->setContentsMargins(0, 0, 0, 0);
    auto *modes = new QHBoxLayout;
    modes->addWidget(m_summaryMode);
    modes->addWidget(m_detailMode);
    modes->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(entry);
    left->addLayout(modes);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttonColumn({m_query, m_queryAll, m_print, m_statement, m_close}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_grids, 1);
    root->addWidget(totalsBox(this, QStringLiteral("累计："), m_payable, m_paid, m_owed));
}

SupplierFunds Tgys_cx::funds() const
{
    return SupplierFunds(session(), *ctx().clock, ctx().operatorCode);
}

void Tgys_cx::activate()
{
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    setBlank(m_from);
    m_to->setDate(ctx().clock->today());
    m_detailMode->setChecked(true);
    m_grids->setCurrentWidget(m_detail);
    m_detail->clear();
    m_summary->clear();
    for (QLineEdit *e : {m_payable, m_paid, m_owed}) e->clear();
    m_query->setEnabled(false);
    m_statement->setEnabled(false);
    m_shown = false;
    m_suppliers->setFocus();
}

QString Tgys_cx::chosenCode() const
{
    const auto s = supplierById(session(), chosenId(m_suppliers));
    return s ? s->code : QString();
}

DateRange Tgys_cx::range() const
{
    return DateRange{dateOf(m_from), dateOf(m_to)};
}

void Tgys_cx::run(bool all)
{
    const QString code = all ? QString() : chosenCode();
    if (!all && code.isEmpty()) return;
    const DateRange r = range();
    SupplierFunds f = funds();
    const bool summary = m_summaryMode->isChecked();
    // The totals first: they refuse a range without an end.
    const FundTotals t = summary ? f.summaryTotals(code, r) : f.fundTotals(code, r);
    (summary ? m_summary : m_detail)
        ->setPager(std::make_shared<RowPager>(session(), summary ? f.summary(code, r) : f.fundLines(code, r)));
    m_payable->setText(t.payableText());
    m_paid->setText(t.paidText());
    m_owed->setText(t.owedText());
    m_shownCode = code;
    m_shownRange = r;
    m_shown = true;
}

void Tgys_cx::printShown()
{
    if (!m_shown) return;
    SupplierFunds f = funds();
    showDocument(ctx(), this, m_summaryMode->isChecked() ? f.summaryDocument(m_shownCode, m_shownRange)
                                                         : f.detailDocument(m_shownCode, m_shownRange));
}

} // namespace fm
