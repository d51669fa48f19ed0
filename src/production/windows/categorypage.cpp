#include "production/windows/cataloguepages.h"

#include "ui/grid.h"
#include "ui/layouts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

CategoryPage::CategoryPage(AppContext &ctx, QWidget *parent)
    : CataloguePage(ctx, parent),
      m_categories(new Grid(gridColumns({QStringLiteral("类别名称"), QStringLiteral("规格"), QStringLiteral("产品标志")}),
                            this, "categoryGrid"))
{
    m_categories->setStretchColumn(1);

    auto *newBox = new QGroupBox(QStringLiteral("产品类别增加"), this);
    auto *note = new QLabel(QStringLiteral("(说明:包装物类代码为：A,B,C...\n防伪类:F,饲料类代码为:0,1,2...)"), newBox);
    note->setStyleSheet(QStringLiteral("color: #555;"));
    m_flag->setMaximumWidth(60);
    FieldGrid fields(newBox, 1);
    fields.add(QStringLiteral("类别名称："), m_name)
        .add(QStringLiteral("产品标志："), m_flag)
        .add(note)
        .add(QStringLiteral("规格："), m_sizes, QStringLiteral("(公斤/包)"));
    fields.layout()->addLayout(buttonRow({m_insert}), fields.layout()->rowCount(), 0, 1, 2);

    auto *groups = new QHBoxLayout;
    groups->addWidget(newBox, 4);
    groups->addWidget(buildSizeGroup(true), 3);
    groups->addWidget(buildSizeGroup(false), 3);

    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(QStringLiteral("产品类别："), this);
    caption->setBuddy(m_categories->view());
    layout->addWidget(caption);
    layout->addWidget(m_categories, 1);
    layout->addLayout(groups);

    chain()
        .step(m_name,
              [this] {
                  emptyIfRefused(m_name, [&] { catalogue().checkNewCategoryName(m_name->text()); });
                  return Go::advance();
              })
        .step(m_flag,
              [this] {
                  m_flag->setText(ProductCatalogue::normaliseFlag(m_flag->text()));
                  emptyIfRefused(m_flag, [&] { catalogue().checkNewCategoryFlag(m_flag->text()); });
                  return Go::advance();
              })
        .step(m_sizes,
              [this] {
                  m_sizes->setText(ProductCatalogue::checkedSizeList(m_sizes->text()));
                  return Go::advance();
              },
              StepOptions{QStringLiteral(" "), false, false, {}})
        .step(m_insert, [this] { return insertCategory(); });
    connect(m_categories, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { rowClicked(id); }); });
}

QGroupBox *CategoryPage::buildSizeGroup(bool adding)
{
    SizeGroup &g = group(adding);
    auto *box = new QGroupBox(adding ? QStringLiteral("产品规格增加") : QStringLiteral("产品类别规格修改"), this);
    g.box = new QCheckBox(adding ? QStringLiteral("选择规格增加") : QStringLiteral("选择规格修改"), box);
    g.box->setObjectName(adding ? QStringLiteral("addSizeBox") : QStringLiteral("replaceSizeBox"));
    g.flag = input(adding ? "addSizeFlag" : "replaceSizeFlag", 4);
    g.flag->setMaximumWidth(60);
    g.existing = display(adding ? "addSizeExisting" : "replaceSizeExisting");
    g.category = display(adding ? "addSizeCategory" : "replaceSizeCategory");
    g.input = input(adding ? "addSizeInput" : "replaceSizeInput",
                    adding ? ProductCatalogue::kSpecLength : ProductCatalogue::kSpecListLength);
    FieldGrid fields(box, 1);
    fields.add(g.box)
        .add(QStringLiteral("产品标志："), g.flag)
        .add(QStringLiteral("已有规格："), g.existing)
        .add(QStringLiteral("产品类别："), g.category);
    QList<QPushButton *> buttons;
    if (adding) {
        fields.add(QStringLiteral("新增加规格："), g.input, QStringLiteral("(公斤/包)"));
        g.confirm = button(QStringLiteral("增加"), "addSize");
        buttons = {g.confirm};
    } else {
        fields.add(QStringLiteral("改后规格："), g.input);
        g.confirm = button(QStringLiteral("确认"), "replaceSizes");
        g.discard = button(QStringLiteral("放弃"), "discardSizes", [this] {
            clearGroup(false);
            m_replace.box->setChecked(false);
        });
        buttons = {g.confirm, g.discard};
    }
    fields.layout()->addLayout(buttonRow(buttons), fields.layout()->rowCount(), 0, 1, 2);

    g.chain = &addChain();
    g.chain->step(g.flag,
                  [this, adding] {
                      const auto c = catalogue().categoryByFlag(group(adding).flag->text());
                      if (!c) return Go::stay(); // a flag no category has does nothing
                      chooseCategory(adding, *c);
                      return Go::done();
                  })
        .step(g.input, [] { return Go::advance(); })
        .step(g.confirm, [this, adding] { return confirmSizes(adding); },
              StepOptions{QString(), false, false, g.discard ? QList<QWidget *>{g.discard} : QList<QWidget *>{}});
    connect(g.box, &QCheckBox::toggled, this, [this, adding](bool on) { boxToggled(adding, on); });
    return box;
}

void CategoryPage::activate()
{
    clearNewCategory();
    for (bool adding : {true, false}) {
        {
            const QSignalBlocker block(group(adding).box);
            group(adding).box->setChecked(false);
        }
        clearGroup(adding);
    }
    m_categories->view()->setStyleSheet(QString());
    chain().reset();
}

void CategoryPage::refresh()
{
    guarded([this] { reloadGrid(); });
}

void CategoryPage::reloadGrid()
{
    std::vector<GridRow> rows;
    for (const ProductCategory &c : catalogue().categories()) rows.push_back({c.id, {c.lbmc, c.cpgg, c.cpbz}});
    m_categories->setRows(std::move(rows));
}

Go CategoryPage::insertCategory()
{
    catalogue().addCategory(m_name->text(), m_flag->text(), m_sizes->text());
    reloadGrid();
    clearNewCategory();
    return Go::done();
}

void CategoryPage::clearNewCategory()
{
    for (QLineEdit *e : {m_name, m_flag, m_sizes}) e->clear();
    chain().reset();
}

void CategoryPage::rowClicked(qint64 id)
{
    const bool adding = m_add.box->isChecked();
    if (!adding && !m_replace.box->isChecked()) return;
    if (const auto c = catalogue().categoryById(id)) chooseCategory(adding, *c);
}

void CategoryPage::boxToggled(bool adding, bool on)
{
    if (on) {
        // One group at a time: a click in the list belongs to the ticked one.
        if (group(!adding).box->isChecked()) group(!adding).box->setChecked(false);
        inform(adding ? QStringLiteral("你已经选择了规格增加，请点击上面窗口的产品类别。")
                      : QStringLiteral("你已经选择了规格修改，请点击上面窗口的产品类别。"));
        m_categories->view()->setStyleSheet(QStringLiteral("QTableView { color: red; }"));
        m_categories->view()->setFocus();
        return;
    }
    clearGroup(adding);
    if (!group(!adding).box->isChecked()) m_categories->view()->setStyleSheet(QString());
}

void CategoryPage::chooseCategory(bool adding, const ProductCategory &c)
{
    SizeGroup &g = group(adding);
    g.categoryId = c.id;
    g.flag->setText(c.cpbz);
    g.existing->setText(c.cpgg);
    g.category->setText(c.lbmc);
    g.input->clear();
    g.chain->reach(g.input);
}

void CategoryPage::clearGroup(bool adding)
{
    SizeGroup &g = group(adding);
    g.categoryId = 0;
    for (QLineEdit *e : {g.flag, g.existing, g.category, g.input}) e->clear();
    g.chain->reset();
}

Go CategoryPage::confirmSizes(bool adding)
{
    SizeGroup &g = group(adding);
    if (!g.categoryId) return Go::stay();
    ProductCatalogue cat = catalogue();
    if (adding) cat.addSpecification(g.categoryId, g.input->text());
    else cat.replaceSpecifications(g.categoryId, g.input->text());
    reloadGrid();
    g.box->setChecked(false); // clears the group
    clearGroup(adding);
    return Go::done();
}

} // namespace fm
