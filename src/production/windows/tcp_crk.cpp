#include "production/windows/tcp_crk.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "production/windows/productionfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "warehouse/windows/warehousefields.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kNamePlaceholder = QStringLiteral("产品名称");
const QString kKindPlaceholder = QStringLiteral("选择");

} // namespace

// ---- receipts and issues ----------------------------------------------------

LedgerLinePage::LedgerLinePage(AppContext &ctx, bool receipts, QWidget *parent) : FormPage(ctx, parent), m_receipts(receipts)
{
    m_code = input("code", ProductLedger::kCodeLength);
    m_name = chooser("name", kNamePlaceholder);
    m_spec = display("spec");
    m_kind = chooser("kind", kKindPlaceholder);
    const LedgerKind kinds[2] = {receipts ? LedgerKind::FromProduction : LedgerKind::Sale,
                                 receipts ? LedgerKind::Returned : LedgerKind::Reprocess};
    for (LedgerKind k : kinds) m_kind->addItem(ProductLedger::kindText(k), int(k));
    m_date = dateInput("date");
    m_quantity = input("quantity", 12);
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });
    auto *unit = new QLabel(QStringLiteral("公斤"), this);

    m_lines = new Grid({textColumn("产品代码", "cpdm"), textColumn("产品名称", "cpmc"), textColumn("规格", "gg"),
                        receipts ? numberColumn("入库数量", "cprksl") : numberColumn("出库数量", "cpcksl"),
                        textColumn("类别", "bz"), textColumn("日期", "rq")},
                       this, "dayLines");
    m_lines->setStretchColumn(1);

    auto *entry = new QGroupBox(this);
    FieldGrid entryFields(entry, 1);
    entryFields
        .add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品名称："), m_name)
        .add(QStringLiteral("规格："), m_spec)
        .add(QStringLiteral("入库选择："), m_kind)
        .add(QStringLiteral("日期："), m_date)
        .add(QStringLiteral("单位："), unit)
        .add(QStringLiteral("数量："), m_quantity)
        .add(buttonRow({m_confirm}));
    entryFields.layout()->setRowStretch(entryFields.layout()->rowCount(), 1);
    auto *list = new QGroupBox(QStringLiteral("当日入库清单"), this);
    auto *listLayout = new QVBoxLayout(list);
    listLayout->addWidget(m_lines);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(entry);
    layout->addWidget(list, 1);

    chain().on(m_code, [this] { codeEntered(); });
    chain().on(m_quantity, [this] { m_confirm->setFocus(); });
    connect(m_name, &QComboBox::activated, this, [this] { guarded([this] { nameChosen(); }); });
    connect(m_kind, &QComboBox::activated, this, [this] { EnterChain::focusField(m_quantity); });
    connect(m_date, &QDateEdit::dateChanged, this, [this] { guarded([this] { showDay(); }); });
}

void LedgerLinePage::activate()
{
    {
        const QSignalBlocker block(m_date);
        m_date->setDate(ctx().clock->today());
    }
    refresh();
    reset();
    guarded([this] { showDay(); });
    m_code->setFocus();
}

void LedgerLinePage::refresh()
{
    guarded([this] {
        const QString shown = m_name->currentText();
        const QSignalBlocker block(m_name);
        m_name->clear();
        for (const LedgerProduct &p : ledger().products()) m_name->addItem(p.name);
        m_name->setCurrentIndex(m_name->findText(shown));
    });
}

void LedgerLinePage::codeEntered()
{
    const auto p = ledger().findByCode(m_code->text());
    if (!p) return;
    m_code->setText(p->code);
    m_name->setCurrentIndex(m_name->findText(p->name));
    m_spec->setText(p->spec);
    m_kind->setFocus();
}

void LedgerLinePage::nameChosen()
{
    const auto p = ledger().findByName(m_name->currentText());
    if (!p) return;
    m_code->setText(p->code);
    m_spec->setText(p->spec);
    EnterChain::focusField(m_quantity);
}

void LedgerLinePage::confirm()
{
    if (m_code->text().trimmed().isEmpty() || m_spec->text().trimmed().isEmpty() || m_name->currentIndex() < 0
        || m_kind->currentIndex() < 0) {
        inform(ProductLedger::kIncomplete);
        EnterChain::focusField(m_code);
        return;
    }
    double kg = 0;
    if (!parseNumber(m_quantity->text(), &kg)) throw badNumber();
    ledger().book(m_code->text(), LedgerKind(m_kind->currentData().toInt()), m_date->date(), kg);
    showDay();
    reset();
    EnterChain::focusField(m_code);
}

void LedgerLinePage::reset()
{
    m_code->clear();
    m_spec->clear();
    m_quantity->setText(QStringLiteral("0"));
    m_name->setCurrentIndex(-1);
    m_kind->setCurrentIndex(-1);
}

void LedgerLinePage::showDay()
{
    m_lines->setRows(ledger().dayLines(m_receipts, m_date->date()));
}

// ---- the register -----------------------------------------------------------

LedgerRegisterPage::LedgerRegisterPage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_addChoice = new QRadioButton(QStringLiteral("新增产品"), this);
    m_maintainChoice = new QRadioButton(QStringLiteral("产品维护"), this);
    m_addChoice->setObjectName(QStringLiteral("addChoice"));
    m_maintainChoice->setObjectName(QStringLiteral("maintainChoice"));
    auto *choices = new QButtonGroup(this);
    choices->addButton(m_addChoice);
    choices->addButton(m_maintainChoice);

    m_newCode = input("newCode", ProductLedger::kCodeLength);
    m_newName = input("newName", ProductLedger::kNameLength);
    m_newSpec = input("newSpec", ProductLedger::kSpecLength);
    m_newRemark = input("newRemark", ProductLedger::kRemarkLength);
    m_add = button(QStringLiteral("确认"), "add", [this] { addProduct(); });
    m_addBox = new QGroupBox(QStringLiteral("新增产品"), this);
    FieldGrid(m_addBox, 1)
        .add(QStringLiteral("产品代码："), m_newCode)
        .add(QStringLiteral("产品名称："), m_newName)
        .add(QStringLiteral("规格："), m_newSpec)
        .add(QStringLiteral("说明："), m_newRemark)
        .add(buttonRow({m_add}));

    m_findCode = input("findCode", ProductLedger::kCodeLength);
    m_foundName = display("foundName");
    m_foundSpec = display("foundSpec");
    m_foundRemark = display("foundRemark");
    m_delete = button(QStringLiteral("删除"), "delete", [this] { deleteProduct(); });
    m_list = new Grid({textColumn("产品代码", "cpdm"), textColumn("产品名称", "cpmc"), textColumn("规格", "gg"),
                       textColumn("说明", "sm")},
                      this, "products");
    m_list->setStretchColumn(1);
    m_maintainBox = new QGroupBox(QStringLiteral("产品维护"), this);
    auto *maintain = new QHBoxLayout(m_maintainBox);
    auto *fields = new QWidget(m_maintainBox);
    FieldGrid(fields, 1)
        .add(QStringLiteral("产品代码："), m_findCode)
        .add(QStringLiteral("产品名称："), m_foundName)
        .add(QStringLiteral("规格："), m_foundSpec)
        .add(QStringLiteral("说明："), m_foundRemark)
        .add(buttonRow({m_delete}));
    maintain->addWidget(fields);
    maintain->addWidget(m_list, 1);

    auto *choiceRow = new QHBoxLayout;
    choiceRow->addWidget(m_addChoice);
    choiceRow->addWidget(m_maintainChoice);
    choiceRow->addStretch();
    choiceRow->addWidget(button(QStringLiteral("退出"), "close", [this] { window()->close(); }));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addWidget(m_addBox);
    layout->addWidget(m_maintainBox, 1);
    layout->addStretch();

    connect(m_addChoice, &QRadioButton::clicked, this, [this] {
        m_maintainBox->hide();
        m_addBox->show();
        EnterChain::focusField(m_newCode);
    });
    connect(m_maintainChoice, &QRadioButton::clicked, this, [this] {
        m_addBox->hide();
        m_maintainBox->show();
        guarded([this] { showProducts(); });
        EnterChain::focusField(m_findCode);
    });
    chain().on(m_newCode, [this] { EnterChain::focusField(m_newName); });
    chain().on(m_newName, [this] { EnterChain::focusField(m_newSpec); });
    chain().on(m_newSpec, [this] { EnterChain::focusField(m_newRemark); });
    chain().on(m_newRemark, [this] { m_add->setFocus(); });
    chain().on(m_findCode, [this] { findProduct(); });
}

void LedgerRegisterPage::activate()
{
    // Entering the page: no choice, both groups hidden.
    for (QRadioButton *b : {m_addChoice, m_maintainChoice}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    m_addBox->hide();
    m_maintainBox->hide();
    for (QLineEdit *e : {m_newCode, m_newName, m_newSpec, m_newRemark, m_findCode, m_foundName, m_foundSpec, m_foundRemark})
        e->clear();
}

void LedgerRegisterPage::addProduct()
{
    ledger().addProduct(m_newCode->text(), m_newName->text(), m_newSpec->text(), m_newRemark->text());
    showProducts();
    for (QLineEdit *e : {m_newCode, m_newName, m_newSpec, m_newRemark}) e->clear();
    EnterChain::focusField(m_newCode);
}

void LedgerRegisterPage::findProduct()
{
    const auto p = ledger().findByCode(m_findCode->text());
    if (!p) {
        for (QLineEdit *e : {m_foundName, m_foundSpec, m_foundRemark}) e->clear();
        inform(ProductLedger::kNoSuchCode);
        return;
    }
    m_findCode->setText(p->code);
    m_foundName->setText(p->name);
    m_foundSpec->setText(p->spec);
    m_foundRemark->setText(p->remark);
    m_delete->setFocus();
}

void LedgerRegisterPage::deleteProduct()
{
    if (m_foundName->text().isEmpty()) return;
    if (!ledger().deleteProduct(m_findCode->text())) {
        inform(ProductLedger::kNoSuchCode);
        return;
    }
    showProducts();
    inform(QStringLiteral("已经删除！"));
    for (QLineEdit *e : {m_findCode, m_foundName, m_foundSpec, m_foundRemark}) e->clear();
    EnterChain::focusField(m_findCode);
}

void LedgerRegisterPage::showProducts()
{
    m_list->setRows(ledger().productRows());
}

// ---- the window -------------------------------------------------------------

Tcp_crk::Tcp_crk(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_tabs(new QTabWidget(this)), m_receipts(new LedgerLinePage(ctx, true, this)),
      m_issues(new LedgerLinePage(ctx, false, this)), m_register(new LedgerRegisterPage(ctx, this))
{
    setWindowTitle(QStringLiteral("产品入/出库管理"));
    m_tabs->addTab(m_receipts, QStringLiteral("产品入库"));
    m_tabs->addTab(m_issues, QStringLiteral("产品出库"));
    m_tabs->addTab(m_register, QStringLiteral("产品维护"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 0) m_receipts->refresh();
        else if (index == 1) m_issues->refresh();
        else m_register->activate();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(900, 560);
}

void Tcp_crk::activate()
{
    m_register->activate();
    m_issues->activate();
    m_receipts->activate();
    if (m_tabs->currentIndex() != 0) m_tabs->setCurrentIndex(0);
}

} // namespace fm
