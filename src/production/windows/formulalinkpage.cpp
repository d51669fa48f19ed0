#include "production/windows/cataloguepages.h"

#include "common/numbertext.h"
#include "production/catalogueprints.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fm {

FormulaLinkPage::FormulaLinkPage(AppContext &ctx, QWidget *parent)
    : CataloguePage(ctx, parent),
      m_products(new Grid({{QStringLiteral("产品代码"), QStringLiteral("cpdm")},
                           {QStringLiteral("产品名称"), QStringLiteral("cpmc")},
                           {QStringLiteral("产品规格"), QStringLiteral("cpgg")},
                           {QStringLiteral("市场牌价"), QStringLiteral("kpjg"), GridColumn::Kind::Number},
                           {QStringLiteral("成本价格"), QStringLiteral("cbjg"), GridColumn::Kind::Number},
                           {QStringLiteral("产品标志"), QStringLiteral("cpbz")},
                           {QStringLiteral("日期"), QStringLiteral("rq"), GridColumn::Kind::Date}},
                          this, "linkProductGrid")),
      m_formulas(new Grid({QStringLiteral("配方号码"), QStringLiteral("配方名称"), QStringLiteral("参照标准"),
                           QStringLiteral("配方成本"), QStringLiteral("日期"), QStringLiteral("配方人员")},
                          this, "linkFormulaGrid"))
{
    m_products->setStretchColumn(1);
    m_formulas->setStretchColumn(1);

    auto *box = new QGroupBox(QStringLiteral("产品配方价格调整"), this);
    FieldGrid fields(box, 3);
    fields.add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品名称："), m_name)
        .add(QStringLiteral("配方号码："), m_formula)
        .add(QStringLiteral("配方名称："), m_formulaName)
        .add(QStringLiteral("标    准："), m_standard)
        .add(QStringLiteral("配方成本："), m_cost);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box, 1);
    bottom->addLayout(buttonColumn({m_ok, button(QStringLiteral("配方打印"), "printFormulas", [this] { print(); }),
                                    button(QStringLiteral("放弃"), "closeLink", [this] { window()->close(); })}));

    auto *grids = new QHBoxLayout;
    grids->addWidget(captioned(QStringLiteral("销售库产品明细"), m_products));
    grids->addWidget(captioned(QStringLiteral("选择对应配方（说明：配方成本单位：元/公斤）"), m_formulas));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(bottom);

    connect(m_products, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { productClicked(id); }); });
    connect(m_formulas, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { formulaClicked(id); }); });
}

void FormulaLinkPage::activate()
{
    clear();
}

void FormulaLinkPage::refresh()
{
    guarded([this] {
        showProducts(m_products, session());
        reloadFormulas();
    });
}

void FormulaLinkPage::reloadFormulas()
{
    std::vector<GridRow> rows;
    for (const FormulaInfo &f : catalogue().formulas())
        rows.push_back({f.id, {f.pfhm, f.pfmc, f.pfbz, f.pfcb, f.date, f.rydm}});
    m_formulas->setRows(std::move(rows));
}

void FormulaLinkPage::productClicked(qint64 id)
{
    if (const auto p = catalogue().productById(id)) {
        m_code->setText(p->code);
        m_name->setText(p->name);
    }
    updateOk();
}

void FormulaLinkPage::formulaClicked(qint64 id)
{
    if (const auto f = catalogue().formulaById(id)) {
        m_formula->setText(f->pfhm);
        m_formulaName->setText(f->pfmc);
        m_standard->setText(f->pfbz);
        m_cost->setText(numberText(ProductCatalogue::costPerTonne(f->pfcb)));
    }
    updateOk();
}

void FormulaLinkPage::updateOk()
{
    // Without both, the update would find no product and the production
    // master would get a row with an empty code.
    m_ok->setEnabled(!m_code->text().isEmpty() && !m_formula->text().isEmpty());
}

void FormulaLinkPage::confirm()
{
    if (m_code->text().isEmpty() || m_formula->text().isEmpty()) return;
    catalogue().linkFormula(m_code->text(), m_formula->text());
    showProducts(m_products, session());
    clear();
}

void FormulaLinkPage::clear()
{
    for (QLineEdit *e : {m_code, m_name, m_formula, m_formulaName, m_standard, m_cost}) e->clear();
    updateOk();
}

void FormulaLinkPage::print()
{
    showDocument(ctx(), this, formulaListDocument(session(), ctx().qymc));
}

} // namespace fm
