#include "warehouse/windows/tbzwgl.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "production/windows/productionfields.h"
#include "staff/productionstaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kTypePlaceholder = QStringLiteral("类型");
const QString kCodePlaceholder = QStringLiteral("代码");
const QString kPersonPlaceholder = QStringLiteral("名称：");
const QString kChooseType = QStringLiteral("包装物选择");

QList<GridColumn> stockColumns()
{
    return {textColumn("代码", "dm"),     textColumn("名称", "mc"),   textColumn("规格", "gg"),
            numberColumn("价格", "price"), numberColumn("数量", "sl"), momentColumn("日期", "rq_1"),
            numberColumn("金额", "zje")};
}

void fillTypes(QComboBox *list, const std::vector<PackagingType> &types)
{
    const QSignalBlocker block(list);
    list->clear();
    for (const PackagingType &t : types) list->addItem(t.name, t.letter);
    list->setCurrentIndex(-1);
}

} // namespace

// ---- receipts ---------------------------------------------------------------

PackagingReceiptPage::PackagingReceiptPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_type = chooser("type", kTypePlaceholder);
    m_code = chooser("code", kCodePlaceholder, true);
    m_name = display("name");
    m_spec = display("spec");
    m_price = input("price", 12);
    m_quantity = input("quantity", 10);
    m_total = display("total");
    m_grid = new Grid(stockColumns(), this, "stock");
    m_grid->setStretchColumn(1);

    auto *entry = new QGroupBox(this);
    FieldGrid(entry, 1)
        .add(QStringLiteral("包装物类型："), m_type)
        .add(QStringLiteral("包装物代码："), m_code)
        .add(QStringLiteral("包装物名称："), m_name)
        .add(QStringLiteral("规格："), m_spec)
        .add(QStringLiteral("价格："), m_price, QStringLiteral("(元/条)"))
        .add(QStringLiteral("数量："), m_quantity, QStringLiteral("(条)"))
        .add(QStringLiteral("合计金额："), m_total, QStringLiteral("(元)"));
    auto *list = new QGroupBox(QStringLiteral("包装物显示"), this);
    (new QVBoxLayout(list))->addWidget(m_grid);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(entry);
    layout->addWidget(list, 1);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_price, [] { return Go::advance(); })
        .step(m_quantity, [this] { return quantityEntered(); }, [] { StepOptions o; o.emptyAs = QStringLiteral("0"); return o; }());
    connect(m_type, &QComboBox::activated, this, [this] { guarded([this] { typeChosen(); }); });
    connect(m_code, &QComboBox::activated, this, [this] { chain().run(m_code); });
}

void PackagingReceiptPage::activate()
{
    refresh();
    reset();
}

void PackagingReceiptPage::refresh()
{
    guarded([this] {
        fillTypes(m_type, stock().types());
        m_grid->setRows(stock().stock());
    });
}

void PackagingReceiptPage::typeChosen()
{
    m_letter = m_type->currentData().toString();
    if (m_letter.isEmpty()) return;
    const QSignalBlocker block(m_code);
    m_code->clear();
    for (const PackagingItem &it : stock().items(m_letter)) m_code->addItem(it.code);
    m_code->setCurrentIndex(-1);
    m_code->setEditText(QString());
    m_name->clear();
    m_spec->clear();
    chain().reach(m_code);
}

Go PackagingReceiptPage::codeEntered()
{
    const auto it = stock().item(m_code->currentText());
    if (!it) {
        inform(PackagingStock::kNoCode);
        return Go::stay();
    }
    m_code->setEditText(it->code);
    m_name->setText(it->name);
    m_spec->setText(it->spec);
    m_price->setText(numberText(it->listPrice));
    return Go::advance();
}

Go PackagingReceiptPage::quantityEntered()
{
    if (m_price->text().trimmed().isEmpty()) m_price->setText(QStringLiteral("0"));
    if (m_code->currentText().trimmed().isEmpty() || m_name->text().trimmed().isEmpty()) {
        inform(PackagingStock::kBadItem);
        return Go::stay();
    }
    const double price = PackagingStock::unitPrice(m_price->text());
    const qint64 count = PackagingStock::pieces(m_quantity->text());
    m_total->setText(numberText(double(count) * price));
    if (!ask(QStringLiteral("确认否？"))) {
        m_price->setText(QStringLiteral("0"));
        m_quantity->setText(QStringLiteral("0"));
        m_total->setText(QStringLiteral("0"));
        reset();
        return Go::done();
    }
    stock().receive(m_code->currentText(), price, count);
    m_grid->setRows(stock().stock());
    reset();
    return Go::done();
}

void PackagingReceiptPage::reset()
{
    m_letter.clear();
    {
        const QSignalBlocker block(m_code);
        m_code->clear();
        m_code->setEditText(QString());
    }
    m_type->setCurrentIndex(-1);
    m_name->clear();
    m_spec->clear();
    m_price->clear();
    m_quantity->clear();
    m_total->clear();
    chain().reset();
    m_code->setEnabled(false);
    m_type->setFocus();
}

// ---- issues -----------------------------------------------------------------

PackagingIssuePage::PackagingIssuePage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_personCode = input("personCode", 5);
    m_person = chooser("person", kPersonPlaceholder);
    m_type = chooser("type", kChooseType);
    m_grid = new Grid(stockColumns(), this, "stock");
    m_grid->setStretchColumn(1);
    m_name = display("name");
    m_spec = display("spec");
    m_quantity = input("quantity", 10);
    m_remainder = display("remainder");
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { guarded([this] { confirm(); }); });
    m_abandon = button(QStringLiteral("放弃"), "abandon", [this] { abandon(); });

    auto *person = new QGroupBox(this);
    FieldGrid(person, 3)
        .add(QStringLiteral("操作员代码："), m_personCode)
        .add(QStringLiteral("操作员名称："), m_person)
        .add(m_type);
    auto *entry = new QGroupBox(this);
    FieldGrid(entry, 2)
        .add(QStringLiteral("包装物名称："), m_name)
        .add(QStringLiteral("规格："), m_spec)
        .add(QStringLiteral("出库数量："), m_quantity, QStringLiteral("(条)"))
        .add(QStringLiteral("结存数量："), m_remainder, QStringLiteral("(条)"))
        .add(buttonRow({m_confirm, m_abandon}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(person);
    layout->addWidget(m_grid, 1);
    layout->addWidget(entry);

    chain().on(m_personCode, [this] { personEntered(); });
    chain().step(m_quantity, [this] { return quantityEntered(); });
    connect(m_person, &QComboBox::activated, this, [this] { guarded([this] { personChosen(); }); });
    connect(m_type, &QComboBox::activated, this, [this] { guarded([this] { typeChosen(); }); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { guarded([this, id] { rowClicked(id); }); });
}

void PackagingIssuePage::activate()
{
    refresh();
    abandon();
}

void PackagingIssuePage::refresh()
{
    guarded([this] {
        fillTypes(m_type, stock().types());
        const QSignalBlocker block(m_person);
        m_person->clear();
        for (const Worker &w : ProductionStaff(session(), *ctx().clock).workers()) m_person->addItem(w.name, w.code);
        m_person->setCurrentIndex(-1);
    });
}

void PackagingIssuePage::personEntered()
{
    const QString code = m_personCode->text().trimmed();
    for (int i = 0; i < m_person->count(); ++i)
        if (m_person->itemData(i).toString().trimmed().compare(code, Qt::CaseInsensitive) == 0) {
            m_person->setCurrentIndex(i);
            m_type->setEnabled(true);
            m_type->setFocus();
            return;
        }
}

void PackagingIssuePage::personChosen()
{
    if (m_person->currentIndex() < 0) return;
    m_personCode->setText(m_person->currentData().toString());
    m_type->setEnabled(true);
    m_type->setFocus();
}

void PackagingIssuePage::typeChosen()
{
    m_letter = m_type->currentData().toString();
    if (m_letter.isEmpty()) return;
    showType();
}

void PackagingIssuePage::showType()
{
    m_rows = stock().stock(m_letter);
    m_grid->setRows(m_rows);
}

void PackagingIssuePage::rowClicked(qint64 id)
{
    for (const Row &r : m_rows)
        if (r.id() == id) {
            m_itemCode = r.text(QStringLiteral("dm"));
            m_name->setText(r.text(QStringLiteral("mc")));
            m_spec->setText(r.text(QStringLiteral("gg")));
            m_quantity->setText(QString::number(r.integer(QStringLiteral("sl"))));
            m_remainder->clear();
            m_confirm->setEnabled(false);
            chain().reach(m_quantity);
            return;
        }
}

Go PackagingIssuePage::quantityEntered()
{
    if (m_itemCode.isEmpty()) return Go::stay();
    const qint64 count = PackagingStock::pieces(m_quantity->text());
    m_remainder->setText(QString::number(stock().remainder(m_itemCode, count)));
    m_confirm->setEnabled(true);
    m_abandon->setEnabled(true);
    return Go::to(m_confirm);
}

void PackagingIssuePage::confirm()
{
    if (m_itemCode.isEmpty()) return;
    const qint64 count = PackagingStock::pieces(m_quantity->text());
    const qint64 left = stock().issue(m_itemCode, count);
    m_remainder->setText(QString::number(left));
    showType();
    m_itemCode.clear();
    m_name->clear();
    m_spec->clear();
    m_quantity->clear();
    m_confirm->setEnabled(false);
    m_grid->setFocus();
}

void PackagingIssuePage::abandon()
{
    m_itemCode.clear();
    m_letter.clear();
    m_personCode->clear();
    m_person->setCurrentIndex(-1);
    m_type->setCurrentIndex(-1);
    m_type->setEnabled(false);
    m_rows.clear();
    m_grid->clear();
    m_name->clear();
    m_spec->clear();
    m_quantity->clear();
    m_remainder->clear();
    m_quantity->setEnabled(false);
    m_confirm->setEnabled(false);
    m_abandon->setEnabled(false);
    m_personCode->setFocus();
}

// ---- stock ------------------------------------------------------------------

PackagingBalancePage::PackagingBalancePage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_from = dateInput("from");
    m_to = dateInput("to");
    m_query = button(QStringLiteral("查询"), "query", [this] { guarded([this] { query(); }); });
    m_print = button(QStringLiteral("结存打印"), "print", [this] {
        showDocument(this->ctx(), this, PackagingStock::stockSheet(m_rows, this->ctx().clock->today()));
    });
    m_box = new QGroupBox(this);
    m_grid = new Grid(stockColumns(), m_box, "result");
    (new QVBoxLayout(m_box))->addWidget(m_grid);
    m_pieces = display("pieces");
    m_amount = display("amount");

    auto *choices = new QGroupBox(this);
    FieldGrid(choices, 2)
        .add(buttonRow({button(QStringLiteral("入库明细"), "receipts", [this] { chooseLines(true); }),
                        button(QStringLiteral("出库明细"), "issues", [this] { chooseLines(false); })}))
        .add(QStringLiteral("起始日期："), m_from)
        .add(QStringLiteral("截止日期："), m_to)
        .add(buttonRow({m_query,
                        button(QStringLiteral("包装物结存"), "stock", [this] { guarded([this] { showStock(); }); }),
                        m_print,
                        button(QStringLiteral("整理记录"), "tidy", [this] { guarded([this] { tidy(); }); })}));
    auto *totals = new QHBoxLayout;
    totals->addStretch();
    totals->addWidget(labelFor(QStringLiteral("数量："), m_pieces, this));
    totals->addWidget(withUnit(m_pieces, QStringLiteral("(条)")));
    totals->addWidget(labelFor(QStringLiteral("金额："), m_amount, this));
    totals->addWidget(withUnit(m_amount, QStringLiteral("（元）")));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choices);
    layout->addWidget(m_box, 1);
    layout->addLayout(totals);

    chain().on(m_from, [this] { EnterChain::focusField(m_to); });
    chain().on(m_to, [this] { m_query->setFocus(); });
}

void PackagingBalancePage::activate()
{
    const QDate today = ctx().clock->today();
    m_from->setDate(today);
    m_to->setDate(today);
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    m_query->setEnabled(false);
    m_print->setEnabled(false);
    m_rows.clear();
    m_grid->clear();
    m_box->setTitle(QString());
    m_pieces->clear();
    m_amount->clear();
}

void PackagingBalancePage::chooseLines(bool receipts)
{
    m_kind = receipts ? QStringLiteral("I") : QStringLiteral("O");
    m_box->setTitle(receipts ? QStringLiteral("入库明细") : QStringLiteral("出库明细"));
    m_from->setEnabled(true);
    m_to->setEnabled(true);
    m_query->setEnabled(true);
    m_print->setEnabled(false);
    EnterChain::focusField(m_from);
}

void PackagingBalancePage::query()
{
    show(stock().movements(m_kind, m_from->date(), m_to->date()));
}

void PackagingBalancePage::showStock()
{
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    m_query->setEnabled(false);
    m_box->setTitle(QStringLiteral("包装物结存"));
    m_print->setEnabled(true);
    show(stock().stock());
}

void PackagingBalancePage::tidy()
{
    stock().tidy();
    inform(PackagingStock::kTidied);
    if (m_print->isEnabled()) show(stock().stock());
}

void PackagingBalancePage::show(const Rows &rows)
{
    m_rows = rows;
    m_grid->setRows(rows);
    const PackagingTotals t = PackagingStock::totals(rows);
    m_pieces->setText(numberText(t.pieces));
    m_amount->setText(numberText(t.amount));
}

// ---- the window -------------------------------------------------------------

Tbzwgl::Tbzwgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("包装物管理"));
    m_tabs = new QTabWidget(this);
    m_receipts = new PackagingReceiptPage(ctx, m_tabs);
    m_issues = new PackagingIssuePage(ctx, m_tabs);
    m_balance = new PackagingBalancePage(ctx, m_tabs);
    m_tabs->addTab(m_receipts, QStringLiteral("包装物入库"));
    m_tabs->addTab(m_issues, QStringLiteral("包装物出库"));
    m_tabs->addTab(m_balance, QStringLiteral("包装物结存"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(960, 600);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int) {
        if (auto *page = qobject_cast<FormPage *>(m_tabs->currentWidget())) page->refresh();
    });
}

void Tbzwgl::activate()
{
    m_tabs->setCurrentIndex(0);
    m_receipts->activate();
    m_issues->activate();
    m_balance->activate();
}

} // namespace fm
