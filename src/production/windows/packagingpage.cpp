#include "production/windows/cataloguepages.h"

#include "common/numbertext.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fm {

PackagingPage::PackagingPage(AppContext &ctx, QWidget *parent)
    : CataloguePage(ctx, parent),
      m_list(new Grid({{QStringLiteral("包装物代码"), QStringLiteral("cpdm")},
                       {QStringLiteral("包装物名称"), QStringLiteral("cpmc")},
                       {QStringLiteral("规格"), QStringLiteral("cpgg")},
                       {QStringLiteral("日期"), QStringLiteral("rq"), GridColumn::Kind::Date},
                       {QStringLiteral("价格"), QStringLiteral("kpjg"), GridColumn::Kind::Number}},
                      this, "packagingGrid"))
{
    m_list->setStretchColumn(1);

    auto *entry = new QGroupBox(QStringLiteral("增加包装物"), this);
    FieldGrid fields(entry, 1);
    fields.add(QStringLiteral("类别："), m_category)
        .add(QStringLiteral("包装物代码："), m_code)
        .add(QStringLiteral("包装物名称:"), m_name)
        .add(QStringLiteral("规格:"), m_size, QStringLiteral("(公斤/包)"))
        .add(QStringLiteral("包装物价格:"), m_price, QStringLiteral("(元/条)"));
    fields.layout()->addLayout(buttonRow({m_confirm}), fields.layout()->rowCount(), 0, 1, 2);

    QPushButton *print = button(QStringLiteral("打印"), "printPackaging");
    print->setEnabled(false); // nothing to print here
    QVBoxLayout *side = buttonColumn(
        {button(QStringLiteral("刷新"), "refreshPackaging", [this] { refreshAll(); }), m_deleteCategory, print});

    auto *reprice = new QGroupBox(QStringLiteral("价格修改："), this);
    FieldGrid repFields(reprice, 1);
    repFields.add(QStringLiteral("名称："), m_repName)
        .add(QStringLiteral("规格："), m_repSize)
        .add(QStringLiteral("价格："), m_repPrice, QStringLiteral("(元/条)"));
    repFields.layout()->addLayout(buttonRow({m_repConfirm, m_repDiscard, m_repDelete}),
                                  repFields.layout()->rowCount(), 0, 1, 2);
    repFields.layout()->setRowStretch(repFields.layout()->rowCount(), 1);

    auto *top = new QHBoxLayout;
    top->addWidget(entry, 3);
    top->addLayout(side);
    top->addWidget(reprice, 3);

    auto *list = new QGroupBox(QStringLiteral("包装物："), this);
    auto *listLayout = new QVBoxLayout(list);
    listLayout->addWidget(m_list);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);

    chain()
        .step(m_category,
              [this] {
                  if (isLabel()) m_size->setText(QStringLiteral(" ")); // a label has no size
                  return Go::advance();
              })
        .step(m_code,
              [this] {
                  emptyIfRefused(m_code, [&] { catalogue().checkNewPackagingCode(m_code->text()); });
                  return Go::advance();
              },
              StepOptions{QString(), false, false, {m_deleteCategory}})
        .step(m_name, [this] { return isLabel() ? Go::to(m_price) : Go::advance(); })
        .step(m_size,
              [this] {
                  if (!m_size->text().trimmed().isEmpty()) m_size->setText(ProductCatalogue::checkedSize(m_size->text()));
                  return Go::advance();
              },
              StepOptions{QStringLiteral(" "), false, false, {}})
        .step(m_price,
              [this] {
                  ProductCatalogue::parsePrice(m_price->text(), ProductCatalogue::kMaxPackagingPrice);
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_confirm, [this] { return addPackaging(); });
    connect(m_category, &QComboBox::activated, this, [this] { chain().run(m_category); });

    m_repChain
        .step(m_repPrice,
              [this] {
                  ProductCatalogue::parsePrice(m_repPrice->text(), ProductCatalogue::kMaxPackagingPrice);
                  return Go::advance();
              },
              StepOptions{QString(), false, false, {m_repDiscard}})
        .step(m_repConfirm, [this] { return confirmReprice(); });
    connect(m_list, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { rowClicked(id); }); });
}

void PackagingPage::activate()
{
    guarded([this] { reloadCategories(); });
    m_newestFirst = false;
    startOver();
    clearReprice();
}

void PackagingPage::refresh()
{
    guarded([this] {
        reloadCategories();
        reloadList(m_newestFirst);
    });
}

void PackagingPage::reloadCategories()
{
    const QString shown = m_category->currentText();
    m_category->clear();
    for (const ProductCategory &c : catalogue().categories())
        if (ProductCatalogue::isPackagingFlag(c.cpbz)) m_category->addItem(c.lbmc);
    m_category->setCurrentIndex(shown.isEmpty() ? -1 : m_category->findText(shown));
}

void PackagingPage::reloadList(bool newestFirst)
{
    m_newestFirst = newestFirst;
    std::vector<GridRow> rows;
    for (const Product &p : catalogue().packagingItems(newestFirst))
        rows.push_back({p.id, {p.code, p.name, p.spec, p.date, p.listPrice}});
    m_list->setRows(std::move(rows));
}

bool PackagingPage::isLabel() const
{
    return m_category->currentIndex() >= 0 && m_category->currentText().trimmed() == ProductCatalogue::kLabelCategory;
}

Go PackagingPage::addPackaging()
{
    const NewPackaging p{m_category->currentIndex() >= 0 ? m_category->currentText() : QString(), m_code->text(),
                         m_name->text(), m_size->text(),
                         ProductCatalogue::parsePrice(m_price->text(), ProductCatalogue::kMaxPackagingPrice)};
    try {
        catalogue().addPackaging(p);
        reloadList(true);
    } catch (const DomainError &e) {
        inform(e.message());
        if (e.code() == ErrorCode::BadNumber) return Go::to(m_price); // let the number be corrected
    }
    startOver();
    return Go::done();
}

void PackagingPage::startOver()
{
    m_category->setCurrentIndex(-1);
    for (QLineEdit *e : {m_code, m_name, m_size}) e->clear();
    m_price->setText(QStringLiteral("0"));
    chain().reset();
}

void PackagingPage::rowClicked(qint64 id)
{
    const auto item = catalogue().productById(id);
    if (!item) return;
    m_repId = item->id;
    m_repName->setText(item->name);
    m_repSize->setText(item->spec);
    m_repPrice->setText(numberText(item->listPrice));
    m_repDelete->setEnabled(true);
    m_repChain.reach(m_repPrice);
}

Go PackagingPage::confirmReprice()
{
    if (!m_repId) return Go::stay();
    catalogue().repricePackaging(m_repId,
                                 ProductCatalogue::parsePrice(m_repPrice->text(), ProductCatalogue::kMaxPackagingPrice));
    reloadList(m_newestFirst);
    clearReprice();
    return Go::done();
}

void PackagingPage::clearReprice()
{
    m_repId = 0;
    for (QLineEdit *e : {m_repName, m_repSize, m_repPrice}) e->clear();
    m_repDelete->setEnabled(false);
    m_repChain.disableAll();
}

void PackagingPage::deletePackaging()
{
    if (!m_repId) return;
    if (!ask(QStringLiteral("确认删除？"))) {
        inform(QStringLiteral("放弃删除！"));
        return;
    }
    catalogue().deletePackaging(m_repId);
    reloadList(true);
    inform(QStringLiteral("成功删除！"));
    clearReprice(); // the row the group showed is gone
}

void PackagingPage::refreshAll()
{
    reloadCategories();
    m_category->setCurrentIndex(-1);
    reloadList(true);
    startOver();
}

void PackagingPage::deleteCategory()
{
    if (m_category->currentIndex() < 0) return;
    catalogue().deleteCategory(m_category->currentText());
    reloadCategories();
    startOver();
}

} // namespace fm
