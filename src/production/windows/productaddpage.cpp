#include "production/windows/cataloguepages.h"

#include "accounts/customers.h"
#include "common/numbertext.h"
#include "production/catalogueprints.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fm {

ProductAddPage::ProductAddPage(AppContext &ctx, QWidget *parent)
    : CataloguePage(ctx, parent)
{
    auto *entry = new QGroupBox(QStringLiteral("增加产品品种"), this);
    FieldGrid fields(entry, 2);
    fields.add(QStringLiteral("产品种类："), m_kind, {}, 2)
        .add(QStringLiteral("产品名称："), m_name, {}, 2)
        .add(QStringLiteral("产品代码："), m_code, {}, 2)
        .add(QStringLiteral("产品规格："), m_size, QStringLiteral("（单位：公斤/包）"), 2)
        .add(QStringLiteral("市场牌价："), m_listPrice, QStringLiteral("（元/吨）"), 2)
        .add(QStringLiteral("输入客户代码："), m_customerCode)
        .add(QStringLiteral("客户姓名："), m_customerName);

    auto *formula = new QGroupBox(QStringLiteral("选择对应配方"), this);
    m_formula->setAccessibleName(QStringLiteral("选择配方"));
    FieldGrid formulaFields(formula, 1);
    formulaFields.add(m_formula)
        .add(QStringLiteral("配方代码："), m_formulaNumber)
        .add(QStringLiteral("参照标准:"), m_formulaStandard)
        .add(QStringLiteral("成本价格(元/吨):"), m_formulaCost);
    formulaFields.layout()->setRowStretch(4, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(entry, 3);
    top->addWidget(formula, 2);
    top->addLayout(buttonColumn({m_confirm, button(QStringLiteral("取消"), "cancel", [this] { cancel(); }),
                                 button(QStringLiteral("打印"), "print", [this] { print(); }),
                                 button(QStringLiteral("结束"), "close", [this] { window()->close(); })}));

    auto *grids = new QHBoxLayout;
    grids->addWidget(captioned(QStringLiteral("价格显示：(单位：元/吨）"), m_products), 2);
    grids->addWidget(captioned(QStringLiteral("客户价格显示：(单位：元/吨）"), m_customerPrices), 3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grids, 1);

    chain()
        .step(m_kind, [this] { return kindChosen(); })
        .step(m_name,
              [this] {
                  m_name->setReadOnly(true);
                  return Go::advance();
              })
        .step(m_code, [this] { return codeEntered(); })
        .step(m_size, [] { return Go::advance(); })
        .step(m_listPrice,
              [this] {
                  ProductCatalogue::parsePrice(m_listPrice->text(), ProductCatalogue::kMaxListPrice);
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_customerCode, [this] { return customerEntered(); }, StepOptions{QString(), true, false, {}})
        .step(m_confirm, [this] { return confirm(); });
    connect(m_kind, &QComboBox::activated, this, [this] { chain().run(m_kind); });
    connect(m_size, &QComboBox::activated, this, [this] { chain().run(m_size); });
    // The formula is chosen beside the entry, at any point of it.
    connect(m_formula, &QComboBox::activated, this, [this](int index) {
        guarded([&] {
            if (const auto f = catalogue().formulaByNumber(m_formula->itemData(index).toString())) showFormula(*f);
        });
    });
    chain().on(m_formulaNumber, [this] {
        if (const auto f = catalogue().formulaByNumber(m_formulaNumber->text())) showFormula(*f);
    });
}

void ProductAddPage::activate()
{
    guarded([this] {
        reloadKinds();
        reloadFormulaChooser();
    });
    m_kind->setCurrentIndex(-1);
    clearFormula();
    startOver();
}

void ProductAddPage::refresh()
{
    guarded([this] {
        reloadKinds();
        reloadFormulaChooser();
        reloadGrids();
    });
}

void ProductAddPage::reloadKinds()
{
    const QString shown = m_kind->currentText();
    m_kind->clear();
    for (const ProductCategory &c : catalogue().categories())
        if (!ProductCatalogue::isPackagingFlag(c.cpbz)) m_kind->addItem(c.lbmc);
    m_kind->setCurrentIndex(shown.isEmpty() ? -1 : m_kind->findText(shown));
}

void ProductAddPage::reloadFormulaChooser()
{
    const QString shown = m_formula->currentData().toString();
    m_formula->clear();
    // The name is shown; the number is what a choice means, names may repeat.
    for (const FormulaInfo &f : catalogue().formulas()) m_formula->addItem(f.pfmc, f.pfhm);
    m_formula->setCurrentIndex(shown.isEmpty() ? -1 : m_formula->findData(shown));
}

void ProductAddPage::reloadGrids()
{
    showProducts(m_products, session());
    showCustomerPrices(m_customerPrices, session());
}

Go ProductAddPage::kindChosen()
{
    // A kind chosen starts the product over.
    m_name->setReadOnly(false);
    m_code->setReadOnly(false);
    m_size->clear();
    return Go::advance();
}

Go ProductAddPage::codeEntered()
{
    if (m_code->isReadOnly()) return Go::stay();
    const QString code = foldFullWidth(m_code->text()).trimmed().toLower();
    m_code->setText(code);
    ProductCatalogue cat = catalogue();
    const auto category = cat.categoryByName(m_kind->currentText());
    if (!category) {
        inform(QStringLiteral("产品类别库有错误，请与管理员联系！"));
        m_code->clear();
        m_name->clear();
        m_name->setReadOnly(false);
        return Go::to(m_kind);
    }
    m_code->setReadOnly(true);
    m_size->clear();
    if (const auto product = findProduct(session(), code)) {
        if (const auto own = cat.categoryByFlag(product->flag)) {
            const int i = m_kind->findText(own->lbmc);
            if (i >= 0) m_kind->setCurrentIndex(i);
        }
        m_name->setText(product->name);
        m_size->addItem(product->spec);
        m_size->setCurrentIndex(0);
        m_listPrice->setText(numberText(product->listPrice));
        inform(QStringLiteral("提示：该产品已存在，请选择客户！"));
        return Go::to(m_customerCode);
    }
    m_size->addItems(ProductCatalogue::specificationChoices(category->cpgg));
    m_size->setCurrentIndex(-1);
    return Go::advance();
}

Go ProductAddPage::customerEntered()
{
    const QString code = m_customerCode->text().trimmed();
    if (code.isEmpty()) {
        m_customer.clear();
        m_customerName->setText(QStringLiteral("全体客户！"));
        return Go::advance();
    }
    const auto customer = findCustomer(session(), foldFullWidth(code));
    if (!customer) {
        inform(QStringLiteral("查无此人！"));
        m_customerCode->clear();
        m_customerName->clear();
        return Go::stay();
    }
    m_customer = customer->code;
    m_customerName->setText(customer->name);
    // The production row keeps the product's formula: offer it, so that the
    // cost written back is the cost of the formula it is made from.
    ProductCatalogue cat = catalogue();
    const QString linked = cat.productionFormula(m_code->text());
    if (!linked.isEmpty()) {
        if (const auto f = cat.formulaByNumber(linked)) showFormula(*f);
    }
    return Go::advance();
}

Go ProductAddPage::confirm()
{
    const NewProduct p{m_kind->currentText(),
                       m_code->text(),
                       m_name->text(),
                       m_size->currentIndex() >= 0 ? m_size->currentText() : QString(),
                       ProductCatalogue::parsePrice(m_listPrice->text(), ProductCatalogue::kMaxListPrice),
                       m_customer,
                       m_formulaNumber->text()};
    ProductCatalogue cat = catalogue();
    NewProductPlan plan;
    try {
        plan = cat.planNewProduct(p);
    } catch (const DomainError &e) {
        inform(e.message());
        if (e.code() == ErrorCode::Incomplete) { // the formula is missing: choose it, then confirm again
            m_formulaNumber->setFocus();
            return Go::done();
        }
        if (e.code() == ErrorCode::Duplicate) {
            startOver();
            return Go::done();
        }
        return Go::stay();
    }
    const bool createProductionRow =
        plan.productionRowMissing && ask(QStringLiteral("该产品生产库中不存在，是否增加（建议增加）？"));
    cat.addProduct(p, createProductionRow);
    reloadGrids();
    startOver();
    return Go::done();
}

void ProductAddPage::showFormula(const FormulaInfo &f)
{
    int i = m_formula->findData(f.pfhm);
    if (i < 0) {
        reloadFormulaChooser();
        i = m_formula->findData(f.pfhm);
    }
    m_formula->setCurrentIndex(i);
    m_formulaNumber->setText(f.pfhm);
    m_formulaStandard->setText(f.pfbz);
    m_formulaCost->setText(numberText(ProductCatalogue::costPerTonne(f.pfcb)));
}

void ProductAddPage::clearFormula()
{
    m_formula->setCurrentIndex(-1);
    m_formulaNumber->clear();
    m_formulaStandard->clear();
    m_formulaCost->setText(QStringLiteral("0"));
}

void ProductAddPage::startOver()
{
    clearFormula();
    cancel();
}

void ProductAddPage::cancel()
{
    m_listPrice->setText(QStringLiteral("0"));
    for (QLineEdit *e : {m_name, m_code, m_customerCode, m_customerName}) e->clear();
    m_name->setReadOnly(false);
    m_code->setReadOnly(false);
    m_size->clear();
    m_customer.clear();
    chain().reset();
}

void ProductAddPage::print()
{
    showDocument(ctx(), this, Tcppzdy::build(session(), ctx().qymc));
}

} // namespace fm
