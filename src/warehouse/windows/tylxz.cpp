#include "warehouse/windows/tylxz.h"

#include "common/numbertext.h"
#include "data/dberror.h"
#include "warehouse/materialregister.h"
#include "warehouse/materials.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tylxz::Tylxz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("原料修正"));
    resize(760, 520);

    m_materials = chooser("materials", QStringLiteral("原料名称"));
    m_code = display("code");
    m_kilograms = input("kilograms", 14);
    m_price = input("price", 14);
    m_newName = input("newName", MaterialRegister::kNameLength);
    m_flag = display("flag");
    m_newFlag = input("newFlag", 1);
    for (QLineEdit *e : {m_kilograms, m_price}) e->setAlignment(Qt::AlignRight);
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("放弃"), "cancel", [this] { clearEntry(); });
    m_close = button(QStringLiteral("退出"), "close", [this] { reject(); });

    m_grid = new Grid({GridColumn{QStringLiteral("原料代码"), QStringLiteral("yldm"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("原料名称"), QStringLiteral("ylmc"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("库存数量(公斤)"), QStringLiteral("ylsl"), GridColumn::Kind::Number},
                       GridColumn{QStringLiteral("价格(元/吨)"), QStringLiteral("yljg"), GridColumn::Kind::Number},
                       GridColumn{QStringLiteral("日期"), QStringLiteral("rq_1"), GridColumn::Kind::Text},
                       GridColumn{QStringLiteral("时间"), QStringLiteral("rq_0"), GridColumn::Kind::DateTime}},
                      this, "stock");
    m_grid->setStretchColumn(1);

    auto *entry = new QGroupBox(QStringLiteral("修正内容"), this);
    FieldGrid fields(entry, 2);
    fields.add(QStringLiteral("原料名称："), m_materials).add(QStringLiteral("原料代码："), m_code);
    fields.add(QStringLiteral("库存数量(公斤)："), m_kilograms).add(QStringLiteral("价 格（元/吨）："), m_price);
    fields.add(QStringLiteral("修改后名称："), m_newName).newRow();
    fields.add(QStringLiteral("产品标志："), m_flag).add(QStringLiteral("修改后标志："), m_newFlag);

    auto *top = new QHBoxLayout;
    top->addWidget(entry, 1);
    top->addLayout(buttonColumn({m_confirm, m_cancel, m_close}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_grid, 1);

    // Entry: the material, then new name, quantity, price and new flag.
    chain()
        .step(m_materials, [this] { return showChosen() ? Go::to(m_newName) : Go::stay(); })
        .step(m_newName, [] { return Go::advance(); })
        .step(m_kilograms,
              [this] {
                  StockCorrection::checkKilograms(numberIn(m_kilograms));
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_price,
              [this] {
                  StockCorrection::checkPrice(numberIn(m_price));
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_newFlag,
              [this] {
                  if (!materialflag::isValid(m_newFlag->text().trimmed())) throw DomainError(StockCorrection::kBadFlag);
                  return Go::advance();
              })
        .step(m_confirm, [this] {
            store();
            return Go::done();
        }, StepOptions{QString(), false, false, {m_cancel}});
    connect(m_materials, qOverload<int>(&QComboBox::activated), this, [this] { chain().run(m_materials); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) {
        chooseId(m_materials, id);
        chain().reset();
        chain().run(m_materials);
    });
}

void Tylxz::activate()
{
    reload();
    clearEntry();
}

void Tylxz::reload(qint64 select)
{
    const std::vector<StockRow> rows = stockRows(session());
    fillStock(m_materials, rows);
    std::vector<GridRow> grid;
    for (const StockRow &r : rows)
        grid.push_back(GridRow{r.id, {r.code, r.name, r.kilograms, r.pricePerTonne, r.month, r.moment}, QColor()});
    m_grid->setRows(std::move(grid));
    if (select) m_grid->selectId(select);
}

bool Tylxz::showChosen()
{
    const auto row = stockById(session(), chosenId(m_materials));
    if (!row) return false;
    m_stockId = row->id;
    m_shownKilograms = row->kilograms;
    m_shownPrice = row->pricePerTonne;
    m_code->setText(row->code);
    m_kilograms->setText(numberText(row->kilograms));
    m_price->setText(numberText(row->pricePerTonne));
    m_newName->setText(row->name);
    m_flag->setText(row->flag);
    m_newFlag->setText(row->flag);
    m_grid->selectId(row->id);
    return true;
}

void Tylxz::store()
{
    StockCorrectionEntry e;
    e.stockId = m_stockId;
    e.shownKilograms = m_shownKilograms;
    e.shownPricePerTonne = m_shownPrice;
    e.kilograms = numberIn(m_kilograms);
    e.pricePerTonne = numberIn(m_price);
    e.name = m_newName->text();
    e.flag = m_newFlag->text();
    const QString warning = StockCorrection(session(), *ctx().clock).correct(e);
    const qint64 id = m_stockId;
    reload(id);
    if (!warning.isEmpty()) inform(warning);
    clearEntry();
}

void Tylxz::clearEntry()
{
    m_stockId = 0;
    m_shownKilograms = 0;
    m_shownPrice = 0;
    m_code->clear();
    m_kilograms->setText(QStringLiteral("0"));
    m_price->setText(QStringLiteral("0"));
    m_newName->clear();
    m_flag->clear();
    m_newFlag->clear();
    {
        const QSignalBlocker block(m_materials);
        m_materials->setCurrentIndex(-1);
    }
    chain().reset();
}

} // namespace fm
