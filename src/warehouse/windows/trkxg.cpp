#include "warehouse/windows/trkxg.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/rowpager.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

} // namespace

Trkxg::Trkxg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("入库修改"));
    resize(980, 640);

    m_from = dateInput("from");
    m_to = dateInput("to");
    allowBlank(m_from, *ctx.clock);
    allowBlank(m_to, *ctx.clock);
    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("原料代码", "yldm"), column("供应商名称", "gysmc"), column("原料名称", "ylmc"),
                       column("数量", "ylsl", N), column("价格", "yljg", N), column("应付金额", "sjje", N),
                       column("实付金额", "sfje", N), column("实欠金额", "sqje", N), column("供应商代码", "gysdm"),
                       column("原料等级", "yldj"), column("日期", "rq_1"), column("操作员", "czydm")},
                      this, "receipts");

    m_contract = display("contract");
    m_supplierCode = display("supplierCode");
    m_supplierName = display("supplierName");
    m_newSupplierName = input("newSupplierName", 14);
    m_materialName = display("materialName");
    m_newMaterialName = input("newMaterialName", 20);
    m_kilograms = display("kilograms");
    m_newKilograms = input("newKilograms", 14);
    m_price = display("price");
    m_newPrice = input("newPrice", 14);
    m_paid = display("paid");
    m_newPaid = input("newPaid", 14);
    m_payable = display("payable");
    m_newPayable = display("newPayable");
    m_owed = display("owed");
    m_newOwed = display("newOwed");
    for (QLineEdit *e : {m_kilograms, m_newKilograms, m_price, m_newPrice, m_paid, m_newPaid, m_payable, m_newPayable,
                         m_owed, m_newOwed})
        e->setAlignment(Qt::AlignRight);
    m_newSupplierName->setAccessibleName(QStringLiteral("修改后供应商名称"));
    m_newMaterialName->setAccessibleName(QStringLiteral("修改后原料名称"));

    m_confirm = button(QStringLiteral("修改确认"), "confirm");
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] {
        clearPanel();
        chain().reach(m_to);
    });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });

    // Layout: the dates, the receipts, then the correction beside its buttons.
    auto *dates = new QHBoxLayout;
    dates->addWidget(labelFor(QStringLiteral("起始日期："), m_from, this));
    dates->addWidget(m_from);
    dates->addSpacing(16);
    dates->addWidget(labelFor(QStringLiteral("截止日期："), m_to, this));
    dates->addWidget(m_to);
    dates->addStretch();

    auto *list = new QGroupBox(QStringLiteral("入库记录(重量：公斤，价格：元/公斤)"), this);
    auto *listBox = new QVBoxLayout(list);
    listBox->addWidget(m_grid);

    auto *panel = new QGroupBox(QStringLiteral("修改内容"), this);
    auto *pg = new QGridLayout(panel);
    int row = 0;
    auto pair = [&](const QString &former, QWidget *formerField, const QString &corrected, QWidget *correctedField,
                    const QString &unit = QString()) {
        pg->addWidget(labelFor(former, formerField, panel), row, 0, Qt::AlignRight);
        pg->addWidget(unit.isEmpty() ? formerField : withUnit(formerField, unit), row, 1);
        if (correctedField) {
            pg->addWidget(labelFor(corrected, correctedField, panel), row, 2, Qt::AlignRight);
            pg->addWidget(unit.isEmpty() ? correctedField : withUnit(correctedField, unit), row, 3);
        }
        ++row;
    };
    pg->addWidget(labelFor(QStringLiteral("合同号码："), m_contract, panel), row, 0, Qt::AlignRight);
    pg->addWidget(m_contract, row, 1);
    pg->addWidget(labelFor(QStringLiteral("供应商代码："), m_supplierCode, panel), row, 2, Qt::AlignRight);
    pg->addWidget(m_supplierCode, row, 3);
    ++row;
    pair(QStringLiteral("供应商名称："), m_supplierName, QStringLiteral("修改后："), m_newSupplierName);
    pair(QStringLiteral("原料名称："), m_materialName, QStringLiteral("修改后："), m_newMaterialName);
    pair(QStringLiteral("原入库量："), m_kilograms, QStringLiteral("修改后数量："), m_newKilograms, QStringLiteral("(公斤)"));
    pair(QStringLiteral("原价格："), m_price, QStringLiteral("修改后价格："), m_newPrice, QStringLiteral("(元/吨)"));
    pair(QStringLiteral("原实付金额："), m_paid, QStringLiteral("修改后实付金额："), m_newPaid, QStringLiteral("(元)"));
    pair(QStringLiteral("原应付金额："), m_payable, QStringLiteral("现应付金额："), m_newPayable, QStringLiteral("(元)"));
    pair(QStringLiteral("原实际欠款："), m_owed, QStringLiteral("现实际欠款："), m_newOwed, QStringLiteral("(元)"));
    pg->setColumnStretch(1, 1);
    pg->setColumnStretch(3, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(panel, 1);
    bottom->addLayout(buttonColumn({m_confirm, m_cancel, m_close}));

    auto *root = new QVBoxLayout(this);
    root->addLayout(dates);
    root->addWidget(list, 1);
    root->addLayout(bottom);

    // Entry: the range, then (after a receipt is clicked) the corrections.
    chain()
        .step(m_from, [] { return Go::advance(); })
        .step(m_to, [this] {
            query();
            m_grid->view()->setFocus();
            return Go::done();
        })
        .step(m_newSupplierName, [] { return Go::advance(); }, StepOptions{QString(), false, false, {m_cancel}})
        .step(m_newMaterialName, [] { return Go::advance(); })
        .step(m_newKilograms,
              [this] {
                  ReceiptCorrections::checkKilograms(numberIn(m_newKilograms));
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_newPrice,
              [this] {
                  ReceiptCorrections::checkPrice(numberIn(m_newPrice));
                  showFigures();
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_newPaid,
              [this] {
                  showFigures();
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_confirm, [this] {
            store();
            return Go::done();
        });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { choose(id); });
}

ReceiptCorrections Trkxg::corrections() const
{
    return ReceiptCorrections(session(), *ctx().clock, ctx().operatorCode);
}

void Trkxg::activate()
{
    setBlank(m_from);
    setBlank(m_to);
    m_grid->clear();
    clearPanel();
    chain().reset();
}

void Trkxg::query()
{
    m_grid->setPager(std::make_shared<RowPager>(session(), corrections().between(dateOf(m_from), dateOf(m_to))));
}

void Trkxg::choose(qint64 lineId)
{
    m_line = corrections().line(lineId);
    if (!m_line) {
        clearPanel();
        inform(ReceiptCorrections::kNotFound);
        return;
    }
    const ReceiptLine &l = *m_line;
    m_contract->setText(l.contract);
    m_supplierCode->setText(l.supplierCode);
    m_supplierName->setText(l.supplierName);
    m_newSupplierName->setText(l.supplierName);
    m_materialName->setText(l.materialName);
    m_newMaterialName->setText(l.materialName);
    m_kilograms->setText(numberText(l.kilograms));
    m_newKilograms->setText(numberText(l.kilograms));
    m_price->setText(numberText(l.pricePerTonne()));
    m_newPrice->setText(numberText(l.pricePerTonne()));
    m_paid->setText(numberText(l.paid));
    m_newPaid->setText(numberText(l.paid));
    m_payable->setText(numberText(l.payable));
    m_newPayable->setText(numberText(l.payable));
    m_owed->setText(numberText(l.owed));
    m_newOwed->setText(numberText(l.owed));
    m_grid->selectId(lineId);
    chain().reach(m_newSupplierName);
}

void Trkxg::showFigures()
{
    if (!m_line) return;
    const CorrectionFigures f =
        ReceiptCorrections::figures(*m_line, numberIn(m_newKilograms), numberIn(m_newPrice), numberIn(m_newPaid));
    m_newPayable->setText(numberText(f.payable));
    m_newOwed->setText(numberText(f.owed));
}

void Trkxg::store()
{
    if (!m_line) return;
    if (!ask(ReceiptCorrections::kQuestion)) {
        inform(ReceiptCorrections::kDeclined);
        chain().reach(m_from);
        return;
    }
    ReceiptCorrectionEntry e;
    e.lineId = m_line->id;
    e.supplierName = m_newSupplierName->text();
    e.materialName = m_newMaterialName->text();
    e.kilograms = numberIn(m_newKilograms);
    e.pricePerTonne = numberIn(m_newPrice);
    e.paid = numberIn(m_newPaid);
    corrections().correct(e);
    const qint64 id = e.lineId;
    query();
    m_grid->selectId(id);
    clearPanel();
    chain().reach(m_to);
}

void Trkxg::clearPanel()
{
    m_line.reset();
    for (QLineEdit *e : {m_contract, m_supplierCode, m_supplierName, m_newSupplierName, m_materialName,
                         m_newMaterialName, m_kilograms, m_newKilograms, m_price, m_newPrice, m_paid, m_newPaid,
                         m_payable, m_newPayable, m_owed, m_newOwed})
        e->clear();
    m_confirm->setEnabled(false);
}

} // namespace fm
