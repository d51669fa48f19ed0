#include "warehouse/windows/tylgl.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "staff/productionstaff.h"
#include "warehouse/materials.h"
#include "warehouse/windows/todaylists.h"
#include "warehouse/windows/trkxg.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/layouts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

// Codes are lower-cased as they are typed.
void lowerCaseAsTyped(QLineEdit *e)
{
    QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString &t) {
        const QString lower = t.toLower();
        if (lower == t) return;
        const int cursor = e->cursorPosition();
        e->setText(lower);
        e->setCursorPosition(cursor);
    });
}

void rightAligned(std::initializer_list<QLineEdit *> fields)
{
    for (QLineEdit *e : fields) e->setAlignment(Qt::AlignRight);
}

// A read-only field that an amount-only receipt makes editable.
void setEditable(QLineEdit *e, bool on)
{
    e->setReadOnly(!on);
    e->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, on ? QApplication::palette().color(QPalette::Base) : p.color(QPalette::Window));
    e->setPalette(p);
}

} // namespace

// ---- the receipt group ------------------------------------------------------

ReceiptPanel::ReceiptPanel(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_code = input("receiptCode", 9);
    lowerCaseAsTyped(m_code);
    m_names = chooser("receiptNames", QStringLiteral("名称"));
    m_grade = display("receiptGrade");
    m_grade->setMaximumWidth(60);
    m_suppliers = chooser("receiptSuppliers", QStringLiteral("供应商"));
    m_supplierCode = display("receiptSupplierCode");
    m_contract = input("contract", 16);
    m_tonnes = input("receiptTonnes", 12);
    m_price = input("receiptPrice", 12);
    m_amount = display("receiptAmount");
    m_paid = input("receiptPaid", 14);
    m_owed = display("receiptOwed");
    rightAligned({m_tonnes, m_price, m_amount, m_paid, m_owed});
    m_confirm = button(QStringLiteral("确认"), "receiptConfirm");
    m_cancel = button(QStringLiteral("放弃"), "receiptCancel", [this] {
        clear();
        chain().reset();
        m_names->setFocus();
    });
    m_query = button(QStringLiteral("查询"), "receiptQuery", [this] {
        if (openQuery) openQuery();
    });

    m_newSupplier = new SupplierPanel(ctx, this);
    m_newSupplierBox = new QGroupBox(QStringLiteral("新供应商"), this);
    auto *nsb = new QVBoxLayout(m_newSupplierBox);
    nsb->addWidget(m_newSupplier);
    m_newSupplierBox->hide();
    m_newSupplier->closed = [this](qint64 id) { supplierPanelClosed(id); };

    auto *fields = new QWidget(this);
    auto *g = new QGridLayout(fields);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(labelFor(QStringLiteral("原料代码："), m_code, fields), 0, 0, Qt::AlignRight);
    g->addWidget(m_code, 0, 1);
    m_names->setAccessibleName(QStringLiteral("原料名称"));
    g->addWidget(m_names, 0, 2, 1, 2);
    g->addWidget(labelFor(QStringLiteral("原料等级："), m_grade, fields), 0, 4, Qt::AlignRight);
    g->addWidget(m_grade, 0, 5);
    g->addWidget(labelFor(QStringLiteral("供应商："), m_suppliers, fields), 1, 0, Qt::AlignRight);
    g->addWidget(m_suppliers, 1, 1);
    g->addWidget(labelFor(QStringLiteral("供应商代码："), m_supplierCode, fields), 1, 2, Qt::AlignRight);
    g->addWidget(m_supplierCode, 1, 3);
    g->addWidget(labelFor(QStringLiteral("合同号码："), m_contract, fields), 1, 4, Qt::AlignRight);
    g->addWidget(m_contract, 1, 5);
    g->addWidget(labelFor(QStringLiteral("入库数量："), m_tonnes, fields), 2, 0, Qt::AlignRight);
    g->addWidget(withUnit(m_tonnes, QStringLiteral("(吨)")), 2, 1);
    g->addWidget(labelFor(QStringLiteral("原料价格："), m_price, fields), 2, 2, Qt::AlignRight);
    g->addWidget(withUnit(m_price, QStringLiteral("(元/吨)")), 2, 3);
    g->addWidget(labelFor(QStringLiteral("合计金额："), m_amount, fields), 3, 0, Qt::AlignRight);
    g->addWidget(withUnit(m_amount, QStringLiteral("(元)")), 3, 1);
    g->addWidget(labelFor(QStringLiteral("实付金额："), m_paid, fields), 3, 2, Qt::AlignRight);
    g->addWidget(withUnit(m_paid, QStringLiteral("(元)")), 3, 3);
    g->addWidget(labelFor(QStringLiteral("实欠金额："), m_owed, fields), 3, 4, Qt::AlignRight);
    g->addWidget(withUnit(m_owed, QStringLiteral("(元)")), 3, 5);
    for (int c : {1, 3, 5}) g->setColumnStretch(c, 1);
    g->setRowStretch(g->rowCount(), 1);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fields, 1);
    row->addWidget(m_newSupplierBox);
    row->addLayout(buttonColumn({m_confirm, m_cancel, m_query}));

    chain()
        .step(m_code,
              [this] {
                  const auto m = findMaterial(session(), m_code->text());
                  if (!m) {
                      m_code->clear();
                      throw DomainError(MaterialDesk::kBadMaterialCode, ErrorCode::NotFound);
                  }
                  chooseId(m_names, m->id);
                  m_grade->setText(m->flag);
                  return Go::advance();
              },
              StepOptions{QString(), false, false, {m_names}})
        .step(m_suppliers, [this] { return supplierEntered(); }, StepOptions{QString(), true, false, {}})
        .step(m_contract, [] { return Go::advance(); }, StepOptions{QString(), true, false, {}})
        .step(m_tonnes,
              [this] {
                  MaterialDesk::checkTonnes(numberIn(m_tonnes));
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_price,
              [this] {
                  const bool noPrice = m_price->text().trimmed().isEmpty();
                  if (noPrice && numberIn(m_tonnes) == 0) {
                      // No quantity and no price: the amount is typed directly.
                      m_price->setText(QStringLiteral("0"));
                      setAmountEditable(true);
                      EnterChain::focusField(m_amount);
                      return Go::done();
                  }
                  if (noPrice) m_price->setText(QStringLiteral("0"));
                  setAmountEditable(false);
                  MaterialDesk::checkPrice(numberIn(m_price));
                  ReceiptEntry e = entry();
                  e.paid = 0;
                  m_amount->setText(numberText(MaterialDesk::figures(e).payable));
                  return Go::to(m_paid);
              },
              StepOptions{QString(), true, false, {}})
        .step(m_paid,
              [this] {
                  m_owed->setText(numberText(MaterialDesk::figures(entry()).owed));
                  return Go::advance();
              })
        .step(m_confirm,
              [this] {
                  store();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_cancel}});

    // The amount of an amount-only receipt: Enter with an amount.
    chain().on(m_amount, [this] {
        if (!m_amountOnly || m_amount->text().trimmed().isEmpty()) return;
        const ReceiptFigures f = MaterialDesk::figures(entry());
        m_paid->setText(QStringLiteral("0"));
        m_owed->setText(numberText(f.owed));
        chain().reach(m_confirm);
    });

    connect(m_names, qOverload<int>(&QComboBox::activated), this, [this] { guarded([this] { materialChosen(); }); });
    connect(m_suppliers, qOverload<int>(&QComboBox::activated), this, [this] { guarded([this] { supplierChosen(); }); });
}

MaterialDesk ReceiptPanel::desk() const
{
    return MaterialDesk(session(), *ctx().clock, ctx().operatorCode);
}

void ReceiptPanel::activate()
{
    fillMaterials(m_names, materials(session()));
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    m_newSupplierBox->hide();
    clear();
    chain().disableAll();
}

void ReceiptPanel::start()
{
    chain().reset();
}

void ReceiptPanel::materialChosen()
{
    const auto m = materialById(session(), chosenId(m_names));
    if (!m) return;
    m_code->setText(m->code);
    m_grade->setText(m->flag);
    chain().reach(m_suppliers);
}

Go ReceiptPanel::supplierEntered()
{
    if (chosenId(m_suppliers) == 0) {
        // Enter on the list without a supplier: a new one.
        m_newSupplierBox->show();
        m_newSupplier->open();
        return Go::done();
    }
    supplierChosen();
    return Go::done();
}

void ReceiptPanel::supplierChosen()
{
    const auto s = supplierById(session(), chosenId(m_suppliers));
    if (!s) throw DomainError(MaterialDesk::kBadSupplierCode, ErrorCode::NotFound);
    m_supplierCode->setText(s->code);
    chain().reach(m_contract);
}

void ReceiptPanel::supplierPanelClosed(qint64 supplierId)
{
    m_newSupplierBox->hide();
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    if (supplierId) {
        chooseId(m_suppliers, supplierId);
        guarded([this] { supplierChosen(); });
        return;
    }
    m_supplierCode->clear();
    chain().reach(m_suppliers);
}

void ReceiptPanel::setAmountEditable(bool on)
{
    m_amountOnly = on;
    setEditable(m_amount, on);
    if (on) m_amount->clear();
}

ReceiptEntry ReceiptPanel::entry() const
{
    ReceiptEntry e;
    e.materialCode = m_code->text();
    e.supplierCode = m_supplierCode->text();
    e.contract = m_contract->text();
    e.amountOnly = m_amountOnly;
    if (m_amountOnly) {
        e.amount = numberIn(m_amount);
    } else {
        e.tonnes = numberIn(m_tonnes);
        e.pricePerTonne = numberIn(m_price);
        e.paid = m_paid->text().trimmed().isEmpty() ? 0 : numberIn(m_paid);
    }
    return e;
}

void ReceiptPanel::store()
{
    const ReceiptResult r = desk().receive(entry());
    if (received) received(r);
    clear();
    chain().reset();
}

void ReceiptPanel::clear()
{
    for (QLineEdit *e : {m_code, m_grade, m_supplierCode, m_contract, m_tonnes, m_price, m_amount, m_paid, m_owed})
        e->clear();
    setAmountEditable(false);
    for (QComboBox *c : {m_names, m_suppliers}) {
        const QSignalBlocker block(c);
        c->setCurrentIndex(-1);
    }
}

// ---- the new-supplier panel -----------------------------------------------

SupplierPanel::SupplierPanel(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_code = input("newSupplierCode", 7);
    m_name = input("newSupplierName", 14);
    m_address = input("newSupplierAddress", 20);
    m_phone = input("newSupplierPhone", 15);
    m_finish = button(QStringLiteral("结束"), "newSupplierFinish", [this] { close(m_added); });

    FieldGrid grid(this, 1);
    grid.add(QStringLiteral("供应商代码："), m_code)
        .add(QStringLiteral("供应商名称："), m_name)
        .add(QStringLiteral("地址："), m_address)
        .add(QStringLiteral("联系电话："), m_phone);
    grid.layout()->setContentsMargins(0, 0, 0, 0);
    grid.layout()->addLayout(buttonRow({m_finish}), 4, 0, 1, 2);

    chain()
        .step(m_code,
              [this] {
                  if (m_code->text().trimmed().isEmpty()) {
                      close(m_added);
                      return Go::done();
                  }
                  try {
                      m_code->setText(MaterialDesk(session(), *this->ctx().clock, this->ctx().operatorCode)
                                          .checkNewSupplierCode(m_code->text()));
                  } catch (const DomainError &) {
                      m_code->clear();
                      throw;
                  }
                  return Go::advance();
              },
              StepOptions{QString(), true, false, {}})
        .step(m_name, [] { return Go::advance(); })
        .step(m_address, [] { return Go::advance(); }, StepOptions{QString(), true, false, {}})
        .step(m_phone,
              [this] {
                  if (ask(QStringLiteral("确认否?"))) {
                      m_added = MaterialDesk(session(), *this->ctx().clock, this->ctx().operatorCode)
                                    .addSupplier({m_code->text(), m_name->text(), m_address->text(), m_phone->text()});
                  }
                  close(m_added);
                  return Go::done();
              },
              StepOptions{QString(), true, false, {}});
}

void SupplierPanel::open()
{
    m_added = 0;
    for (QLineEdit *e : {m_code, m_name, m_address, m_phone}) e->clear();
    chain().reset();
}

void SupplierPanel::close(qint64 supplierId)
{
    m_added = 0;
    if (closed) closed(supplierId);
}

// ---- the issue group --------------------------------------------------------

IssuePanel::IssuePanel(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_code = input("issueCode", 9);
    lowerCaseAsTyped(m_code);
    m_names = chooser("issueNames", QStringLiteral("名称"));
    m_grade = display("issueGrade");
    m_grade->setMaximumWidth(60);
    m_tonnes = input("issueTonnes", 12);
    m_worker = input("worker", 5);
    m_workerName = display("workerName");
    m_team = display("team");
    m_remark = input("remark", 18);
    rightAligned({m_tonnes});
    m_production = new QRadioButton(QStringLiteral("生产出库"), this);
    m_sale = new QRadioButton(QStringLiteral("销售出库"), this);
    m_production->setObjectName(QStringLiteral("production"));
    m_sale->setObjectName(QStringLiteral("sale"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_production);
    kinds->addButton(m_sale);
    m_production->setChecked(true);
    m_confirm = button(QStringLiteral("确认"), "issueConfirm");
    m_cancel = button(QStringLiteral("放弃"), "issueCancel", [this] {
        clear();
        chain().reset();
    });
    m_query = button(QStringLiteral("查询"), "issueQuery", [this] {
        if (openQuery) openQuery();
    });

    auto *fields = new QWidget(this);
    auto *g = new QGridLayout(fields);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(labelFor(QStringLiteral("原料代码："), m_code, fields), 0, 0, Qt::AlignRight);
    g->addWidget(m_code, 0, 1);
    m_names->setAccessibleName(QStringLiteral("原料名称"));
    g->addWidget(m_names, 0, 2, 1, 2);
    g->addWidget(labelFor(QStringLiteral("原料等级："), m_grade, fields), 0, 4, Qt::AlignRight);
    g->addWidget(m_grade, 0, 5);
    g->addWidget(labelFor(QStringLiteral("出库数量："), m_tonnes, fields), 1, 0, Qt::AlignRight);
    g->addWidget(withUnit(m_tonnes, QStringLiteral("(吨)")), 1, 1);
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(m_production);
    kindRow->addWidget(m_sale);
    kindRow->addStretch();
    g->addLayout(kindRow, 1, 2, 1, 4);
    g->addWidget(labelFor(QStringLiteral("领料人代码："), m_worker, fields), 2, 0, Qt::AlignRight);
    g->addWidget(m_worker, 2, 1);
    g->addWidget(labelFor(QStringLiteral("领料人名称："), m_workerName, fields), 2, 2, Qt::AlignRight);
    g->addWidget(m_workerName, 2, 3);
    g->addWidget(labelFor(QStringLiteral("所属班组："), m_team, fields), 2, 4, Qt::AlignRight);
    g->addWidget(m_team, 2, 5);
    g->addWidget(labelFor(QStringLiteral("说明："), m_remark, fields), 3, 0, Qt::AlignRight);
    g->addWidget(m_remark, 3, 1, 1, 5);
    for (int c : {1, 3, 5}) g->setColumnStretch(c, 1);
    g->setRowStretch(g->rowCount(), 1);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fields, 1);
    row->addLayout(buttonColumn({m_confirm, m_cancel, m_query}));

    chain()
        .step(m_code,
              [this] {
                  const auto m = findMaterial(session(), m_code->text());
                  if (!m) {
                      m_code->clear();
                      throw DomainError(MaterialDesk::kBadMaterialCode, ErrorCode::NotFound);
                  }
                  chooseId(m_names, m->id);
                  m_grade->setText(m->flag);
                  return Go::advance();
              },
              StepOptions{QString(), false, false, {m_names}})
        .step(m_tonnes,
              [this] {
                  MaterialDesk::checkTonnes(numberIn(m_tonnes));
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_worker,
              [this] {
                  const auto w = ProductionStaff(session(), *this->ctx().clock).findWorker(m_worker->text());
                  if (!w) throw DomainError(MaterialDesk::kBadWorkerCode, ErrorCode::NotFound);
                  m_workerName->setText(w->name);
                  m_team->setText(w->team);
                  return Go::advance();
              })
        .step(m_remark, [] { return Go::advance(); }, StepOptions{QString(), true, false, {}})
        .step(m_confirm,
              [this] {
                  store();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_cancel}});

    connect(m_names, qOverload<int>(&QComboBox::activated), this,
            [this] { guarded([this] { showMaterial(chosenId(m_names)); }); });
}

MaterialDesk IssuePanel::desk() const
{
    return MaterialDesk(session(), *ctx().clock, ctx().operatorCode);
}

void IssuePanel::activate()
{
    fillMaterials(m_names, materials(session()));
    clear();
    chain().disableAll();
}

void IssuePanel::start()
{
    chain().reset();
}

void IssuePanel::showMaterial(qint64 id)
{
    const auto m = materialById(session(), id);
    if (!m) throw DomainError(MaterialDesk::kNoSuchMaterial, ErrorCode::NotFound);
    m_code->setText(m->code);
    m_grade->setText(m->flag);
    chain().reach(m_tonnes);
}

void IssuePanel::store()
{
    IssueEntry e;
    e.materialCode = m_code->text();
    e.tonnes = numberIn(m_tonnes);
    e.workerCode = m_worker->text();
    e.remark = m_remark->text();
    e.kind = m_sale->isChecked() ? IssueKind::Sale : IssueKind::Production;
    IssueResult r;
    try {
        r = desk().issue(e);
    } catch (const DomainError &err) {
        // Nothing was written; the clerk starts again from the material.
        inform(err.message());
        chain().reach(m_code);
        return;
    }
    if (issued) issued(r);
    clear();
    chain().reset();
}

void IssuePanel::clear()
{
    for (QLineEdit *e : {m_code, m_grade, m_tonnes, m_worker, m_workerName, m_team, m_remark}) e->clear();
    m_production->setChecked(true);
    const QSignalBlocker block(m_names);
    m_names->setCurrentIndex(-1);
}

// ---- the supplier payment group -------------------------------------------

FundsPanel::FundsPanel(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_code = input("fundsCode", 7);
    m_suppliers = chooser("fundsSuppliers", QStringLiteral("供应商"));
    m_payable = display("fundsPayable");
    m_paid = input("fundsPaid", 14);
    m_owed = display("fundsOwed");
    rightAligned({m_payable, m_paid, m_owed});
    m_confirm = button(QStringLiteral("确认"), "fundsConfirm");
    m_cancel = button(QStringLiteral("放弃"), "fundsCancel", [this] {
        clear();
        chain().reset();
    });
    m_query = button(QStringLiteral("查询"), "fundsQuery", [this] {
        if (openQuery) openQuery();
    });

    auto *fields = new QWidget(this);
    auto *g = new QGridLayout(fields);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(labelFor(QStringLiteral("供应商代码："), m_code, fields), 0, 0, Qt::AlignRight);
    g->addWidget(m_code, 0, 1);
    m_suppliers->setAccessibleName(QStringLiteral("供应商名称"));
    g->addWidget(m_suppliers, 0, 2, 1, 2);
    g->addWidget(labelFor(QStringLiteral("应付金额："), m_payable, fields), 1, 0, Qt::AlignRight);
    g->addWidget(withUnit(m_payable, QStringLiteral("(元)")), 1, 1);
    g->addWidget(labelFor(QStringLiteral("实付金额："), m_paid, fields), 1, 2, Qt::AlignRight);
    g->addWidget(withUnit(m_paid, QStringLiteral("(元)")), 1, 3);
    g->addWidget(labelFor(QStringLiteral("实欠金额："), m_owed, fields), 1, 4, Qt::AlignRight);
    g->addWidget(withUnit(m_owed, QStringLiteral("(元)")), 1, 5);
    for (int c : {1, 3, 5}) g->setColumnStretch(c, 1);
    g->setRowStretch(g->rowCount(), 1);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fields, 1);
    row->addLayout(buttonColumn({m_confirm, m_cancel, m_query}));

    chain()
        .step(m_code,
              [this] {
                  if (!showSupplier(m_code->text()))
                      throw DomainError(MaterialDesk::kBadSupplierCode, ErrorCode::NotFound);
                  return Go::advance();
              },
              StepOptions{QString(), false, false, {m_suppliers}})
        .step(m_paid,
              [this] {
                  if (m_paid->text().trimmed().isEmpty()) {
                      m_paid->setText(QStringLiteral("0"));
                      return Go::stay();
                  }
                  MaterialDesk::checkPayment(numberIn(m_paid));
                  return Go::advance();
              },
              StepOptions{QString(), true, false, {}})
        .step(m_confirm,
              [this] {
                  store();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_cancel}});

    connect(m_suppliers, qOverload<int>(&QComboBox::activated), this, [this] {
        guarded([this] {
            const auto s = supplierById(session(), chosenId(m_suppliers));
            if (!s) throw DomainError(MaterialDesk::kBadSupplierCode, ErrorCode::NotFound);
            m_code->setText(s->code);
            chain().reach(m_paid);
        });
    });
}

MaterialDesk FundsPanel::desk() const
{
    return MaterialDesk(session(), *ctx().clock, ctx().operatorCode);
}

void FundsPanel::activate()
{
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    clear();
    chain().disableAll();
}

void FundsPanel::start()
{
    // A supplier added in the receipt group meanwhile is offered too.
    const qint64 chosen = chosenId(m_suppliers);
    fillSuppliers(m_suppliers, fm::suppliers(session()));
    chooseId(m_suppliers, chosen);
    chain().reset();
}

bool FundsPanel::showSupplier(const QString &code)
{
    const auto s = findSupplier(session(), code);
    if (!s) return false;
    chooseId(m_suppliers, s->id);
    return true;
}

void FundsPanel::store()
{
    desk().pay(m_code->text(), numberIn(m_paid));
    clear();
    chain().reset();
}

void FundsPanel::clear()
{
    m_code->clear();
    m_payable->setText(QStringLiteral("0"));
    m_paid->setText(QStringLiteral("0"));
    m_owed->setText(QStringLiteral("0"));
    const QSignalBlocker block(m_suppliers);
    m_suppliers->setCurrentIndex(-1);
}

// ---- the window --------------------------------------------------------------

Tylgl::Tylgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("原料管理"));
    resize(960, 600);

    m_date = dateInput("date");
    m_date->setReadOnly(true);
    m_date->setFocusPolicy(Qt::NoFocus);
    m_receiptMode = new QRadioButton(QStringLiteral("原料入库"), this);
    m_issueMode = new QRadioButton(QStringLiteral("原料出库"), this);
    m_fundsMode = new QRadioButton(QStringLiteral("资金入帐"), this);
    m_receiptMode->setObjectName(QStringLiteral("receiptMode"));
    m_issueMode->setObjectName(QStringLiteral("issueMode"));
    m_fundsMode->setObjectName(QStringLiteral("fundsMode"));
    connect(m_receiptMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Receipt); });
    connect(m_issueMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Issue); });
    connect(m_fundsMode, &QRadioButton::clicked, this, [this] { setMode(Mode::Funds); });

    m_receipt = new ReceiptPanel(ctx, this);
    m_issue = new IssuePanel(ctx, this);
    m_funds = new FundsPanel(ctx, this);
    m_receipt->received = [this](const ReceiptResult &r) {
        m_totals.add(r);
        showTotals();
    };
    m_issue->issued = [this](const IssueResult &r) {
        m_totals.add(r);
        showTotals();
    };
    m_receipt->openQuery = [this] { openList<Trk_cx>(); };
    m_issue->openQuery = [this] { openList<Tck_cx>(); };
    m_funds->openQuery = [this] { openList<Tzj_cx>(); };

    auto boxed = [this](const QString &title, QWidget *panel) {
        auto *box = new QGroupBox(title, this);
        auto *l = new QVBoxLayout(box);
        l->addWidget(panel);
        return box;
    };
    m_receiptBox = boxed(QStringLiteral("原料入库"), m_receipt);
    m_issueBox = boxed(QStringLiteral("原料出库"), m_issue);
    m_fundsBox = boxed(QStringLiteral("资金入帐"), m_funds);

    m_paidTotal = display("paidTotal");
    m_receivedTotal = display("receivedTotal");
    m_issueCount = display("issueCount");
    m_issuedTotal = display("issuedTotal");
    rightAligned({m_paidTotal, m_receivedTotal, m_issueCount, m_issuedTotal});
    m_correct = button(QStringLiteral("修改"), "correct", [this] {
        correction()->run();
        // The desk's lists may have changed; work in progress stays.
    });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });

    auto *top = new QHBoxLayout;
    top->addWidget(m_receiptMode);
    top->addWidget(m_issueMode);
    top->addWidget(m_fundsMode);
    top->addStretch();
    top->addWidget(labelFor(QStringLiteral("当前日期："), m_date, this));
    top->addWidget(m_date);

    auto *totals = new QGroupBox(this);
    FieldGrid tg(totals, 4);
    tg.add(QStringLiteral("入库金额："), m_paidTotal, QStringLiteral("(万元)"))
        .add(QStringLiteral("入库数量："), m_receivedTotal, QStringLiteral("(吨)"))
        .add(QStringLiteral("出库笔数："), m_issueCount, QStringLiteral("(笔)"))
        .add(QStringLiteral("出库数量："), m_issuedTotal, QStringLiteral("(吨)"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(totals, 1);
    bottom->addLayout(buttonColumn({m_correct, m_close}));

    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_receiptBox);
    root->addWidget(m_issueBox);
    root->addWidget(m_fundsBox);
    root->addStretch();
    root->addLayout(bottom);
}

void Tylgl::activate()
{
    m_date->setDate(ctx().clock->today());
    m_receipt->activate();
    m_issue->activate();
    m_funds->activate();
    m_totals = DeskTotals();
    showTotals();
    setMode(Mode::None);
}

void Tylgl::setMode(Mode mode)
{
    m_receiptBox->setEnabled(mode == Mode::Receipt);
    m_issueBox->setEnabled(mode == Mode::Issue);
    m_fundsBox->setEnabled(mode == Mode::Funds);
    switch (mode) {
    case Mode::None:
        for (QRadioButton *r : {m_receiptMode, m_issueMode, m_fundsMode}) {
            r->setAutoExclusive(false);
            r->setChecked(false);
            r->setAutoExclusive(true);
        }
        m_receiptMode->setFocus();
        break;
    case Mode::Receipt:
        m_receiptMode->setChecked(true);
        m_receipt->start();
        break;
    case Mode::Issue:
        m_issueMode->setChecked(true);
        m_issue->start();
        break;
    case Mode::Funds:
        m_fundsMode->setChecked(true);
        m_funds->start();
        break;
    }
}

void Tylgl::showTotals()
{
    m_paidTotal->setText(m_totals.paidText());
    m_receivedTotal->setText(m_totals.receivedText());
    m_issueCount->setText(m_totals.issuesText());
    m_issuedTotal->setText(m_totals.issuedText());
}

template <class W>
void Tylgl::openList()
{
    W list(ctx(), this);
    list.run();
}

Trkxg *Tylgl::correction()
{
    if (!m_correction) m_correction = new Trkxg(ctx(), this);
    return m_correction;
}

} // namespace fm
