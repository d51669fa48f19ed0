#include "production/windows/tpzgl.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "production/catalogueprints.h"
#include "production/productcatalogue.h"
#include "production/windows/rowsmodel.h"
#include "ui/enterchain.h"
#include "ui/reporting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kNoFormula = QStringLiteral("没有选择配方或配方代码错误，请检查!");
const QString kCustomerHasProduct = QStringLiteral("该客户此品种已存在，不能插入！");
const QString kBadNumber = QStringLiteral("请输入正确的数字！");

QLineEdit *makeEdit(QWidget *parent, const char *name, int maxLength = 0, bool readOnly = false)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

QComboBox *makeChooser(QWidget *parent, const char *name, const QString &placeholder, bool editable = false)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setPlaceholderText(placeholder);
    } else {
        c->setPlaceholderText(placeholder);
    }
    c->setMinimumWidth(150);
    return c;
}

QPushButton *makeButton(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// stretch: the column that takes the spare width (a name or a list), or -1
// for the last one.
QTableView *makeGrid(QAbstractItemModel *model, QWidget *parent, const char *name, int stretch = -1)
{
    auto *v = new QTableView(parent);
    v->setObjectName(QString::fromLatin1(name));
    v->setModel(model);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setAlternatingRowColors(true);
    v->verticalHeader()->setVisible(false);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 8);
    v->horizontalHeader()->setHighlightSections(false);
    v->horizontalHeader()->setMinimumSectionSize(48);
    if (stretch < 0) {
        v->horizontalHeader()->setStretchLastSection(true);
    } else {
        v->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
    }
    v->setMinimumHeight(160);
    QObject::connect(model, &QAbstractItemModel::modelReset, v, [v] { v->resizeColumnsToContents(); });
    return v;
}

// A field with its unit after it, e.g. "（元/吨）".
QWidget *withSuffix(QWidget *field, const QString &suffix)
{
    auto *w = new QWidget(field->parentWidget());
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(field, 1);
    h->addWidget(new QLabel(suffix, w));
    return w;
}

QLabel *gridCaption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QString dateOf(const QDateTime &dt)
{
    return dateText(dt.date());
}

// Disables and empties the fields given.
void clearFields(std::initializer_list<QLineEdit *> fields, bool disable)
{
    for (QLineEdit *e : fields) {
        e->clear();
        if (disable) e->setEnabled(false);
    }
}

} // namespace

Tpzgl::Tpzgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品品种管理"));
    m_products = new RowsModel({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("产品规格"),
                                QStringLiteral("市场牌价"), QStringLiteral("产品标志"), QStringLiteral("日期")},
                               this);
    m_customerPrices = new RowsModel({QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("产品代码"),
                                      QStringLiteral("产品名称"), QStringLiteral("产品规格"), QStringLiteral("价格"),
                                      QStringLiteral("地区编号"), QStringLiteral("地区名称"), QStringLiteral("产品标志"),
                                      QStringLiteral("日期")},
                                     this);
    m_categories = new RowsModel({QStringLiteral("类别名称"), QStringLiteral("规格"), QStringLiteral("产品标志")}, this);
    m_packaging = new RowsModel({QStringLiteral("包装物代码"), QStringLiteral("包装物名称"), QStringLiteral("规格"),
                                 QStringLiteral("日期"), QStringLiteral("价格")},
                                this);
    m_linkProducts = new RowsModel({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("产品规格"),
                                    QStringLiteral("市场牌价"), QStringLiteral("成本价格"), QStringLiteral("产品标志"),
                                    QStringLiteral("日期")},
                                   this);
    m_formulas = new RowsModel({QStringLiteral("配方号码"), QStringLiteral("配方名称"), QStringLiteral("参照标准"),
                                QStringLiteral("配方成本"), QStringLiteral("日期"), QStringLiteral("配方人员")},
                               this);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildAddTab(), QStringLiteral("增加产品品种"));
    m_tabs->addTab(buildDeleteTab(), QStringLiteral("产品品种删除"));
    m_tabs->addTab(buildCategoryTab(), QStringLiteral("类别规格增加"));
    m_tabs->addTab(buildPackagingTab(), QStringLiteral(" 包装物管理  "));
    m_tabs->addTab(buildFormulaTab(), QStringLiteral("产品配方价格调整"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 4) guarded([this] { reloadFormulas(); });
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1120, 720);
}

ProductCatalogue Tpzgl::catalogue()
{
    return ProductCatalogue(session(), *ctx().clock);
}

// ---------------------------------------------------------------- building

QWidget *Tpzgl::buildAddTab()
{
    auto *page = new QWidget(this);

    auto *entry = new QGroupBox(QStringLiteral("增加产品品种"), page);
    m_kind = makeChooser(entry, "kind", QStringLiteral("产品种类"));
    m_name = makeEdit(entry, "name", ProductCatalogue::kNameLength);
    m_code = makeEdit(entry, "code", ProductCatalogue::kCodeLength);
    m_spec = makeChooser(entry, "specification", QStringLiteral("规格"));
    m_listPrice = makeEdit(entry, "listPrice");
    m_customerCode = makeEdit(entry, "customerCode", 8);
    m_customerName = makeEdit(entry, "customerName", 0, true);
    auto *customer = new QWidget(entry);
    auto *ch = new QHBoxLayout(customer);
    ch->setContentsMargins(0, 0, 0, 0);
    ch->addWidget(m_customerCode, 1);
    ch->addWidget(new QLabel(QStringLiteral("客户姓名："), customer));
    ch->addWidget(m_customerName, 1);
    auto *form = new QFormLayout(entry);
    form->addRow(QStringLiteral("产品种类："), m_kind);
    form->addRow(QStringLiteral("产品名称："), m_name);
    form->addRow(QStringLiteral("产品代码："), m_code);
    form->addRow(QStringLiteral("产品规格："), withSuffix(m_spec, QStringLiteral("（单位：公斤/包）")));
    form->addRow(QStringLiteral("市场牌价："), withSuffix(m_listPrice, QStringLiteral("（元/吨）")));
    form->addRow(QStringLiteral("输入客户代码："), customer);

    auto *formulaBox = new QGroupBox(QStringLiteral("选择对应配方"), page);
    m_formula = makeChooser(formulaBox, "formula", QStringLiteral("选择配方"));
    m_formulaNumber = makeEdit(formulaBox, "formulaNumber", 9);
    m_formulaStandard = makeEdit(formulaBox, "formulaStandard", 0, true);
    m_formulaCost = makeEdit(formulaBox, "formulaCost", 0, true);
    auto *fform = new QFormLayout(formulaBox);
    fform->addRow(QString(), m_formula);
    fform->addRow(QStringLiteral("配方代码："), m_formulaNumber);
    fform->addRow(QStringLiteral("参照标准:"), m_formulaStandard);
    fform->addRow(QStringLiteral("成本价格(元/吨):"), m_formulaCost);

    m_confirm = makeButton(page, QStringLiteral("确定"), "confirm");
    auto *cancel = makeButton(page, QStringLiteral("取消"), "cancel");
    auto *print = makeButton(page, QStringLiteral("打印"), "print");
    auto *close = makeButton(page, QStringLiteral("结束"), "close");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_confirm, cancel, print, close}) buttons->addWidget(b);
    buttons->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(entry, 3);
    top->addWidget(formulaBox, 2);
    top->addLayout(buttons);

    auto *grids = new QGridLayout;
    grids->addWidget(gridCaption(QStringLiteral("价格显示：(单位：元/吨）"), page), 0, 0);
    grids->addWidget(gridCaption(QStringLiteral("客户价格显示：(单位：元/吨）"), page), 0, 1);
    grids->addWidget(makeGrid(m_products, page, "productGrid", 1), 1, 0);
    grids->addWidget(makeGrid(m_customerPrices, page, "customerPriceGrid"), 1, 1);
    grids->setColumnStretch(0, 2);
    grids->setColumnStretch(1, 3);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(grids, 1);

    connect(m_kind, QOverload<int>::of(&QComboBox::activated), this, [this] { kindChosen(); });
    enter().on(m_kind, [this] { kindChosen(); });
    enter().on(m_name, [this] { nameEntered(); });
    enter().on(m_code, [this] { codeEntered(); });
    connect(m_spec, QOverload<int>::of(&QComboBox::activated), this, [this] { specificationChosen(); });
    enter().on(m_spec, [this] { specificationChosen(); });
    enter().on(m_listPrice, [this] { listPriceEntered(); });
    enter().on(m_customerCode, [this] { customerEntered(); });
    connect(m_formula, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { formulaChosen(i); });
    enter().on(m_formulaNumber, [this] { formulaNumberEntered(); });
    connect(m_confirm, &QPushButton::clicked, this, [this] { confirmProduct(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cancelProduct(); });
    connect(print, &QPushButton::clicked, this, [this] { printProductList(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    return page;
}

QWidget *Tpzgl::buildDeleteTab()
{
    auto *page = new QWidget(this);
    auto *box = new QGroupBox(QStringLiteral("产品品种删除"), page);
    m_delCategory = makeChooser(box, "deleteCategory", QStringLiteral("产品类别"));
    m_delCode = makeChooser(box, "deleteCode", QStringLiteral("产品代码"), true);
    m_delName = makeEdit(box, "deleteName", 0, true);
    m_delName->setPlaceholderText(QStringLiteral("产品名称"));
    m_delSpec = makeEdit(box, "deleteSpec", 0, true);
    m_delSpec->setMaximumWidth(80);
    m_delButton = makeButton(box, QStringLiteral("删除"), "delete");
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("产品类别："), box), 0, 0);
    grid->addWidget(m_delCategory, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("产品代码："), box), 0, 2);
    grid->addWidget(m_delCode, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("产品名称："), box), 1, 0);
    grid->addWidget(m_delName, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("规格："), box), 1, 2);
    auto *spec = new QHBoxLayout;
    spec->addWidget(m_delSpec);
    spec->addWidget(new QLabel(QStringLiteral("公斤/包"), box));
    spec->addStretch();
    grid->addLayout(spec, 1, 3);
    grid->addWidget(m_delButton, 0, 4, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(10);

    m_delCustomerView = makeGrid(m_customerPrices, page, "deleteCustomerPriceGrid");
    auto *grids = new QGridLayout;
    grids->addWidget(gridCaption(QStringLiteral("价格显示：(单位：元/吨）"), page), 0, 0);
    grids->addWidget(gridCaption(QStringLiteral("客户价格显示：(单位：元/吨）"), page), 0, 1);
    grids->addWidget(makeGrid(m_products, page, "deleteProductGrid", 1), 1, 0);
    grids->addWidget(m_delCustomerView, 1, 1);
    grids->setColumnStretch(0, 2);
    grids->setColumnStretch(1, 3);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(box);
    layout->addLayout(grids, 1);

    connect(m_delCategory, QOverload<int>::of(&QComboBox::activated), this, [this] { deleteCategoryChosen(); });
    enter().on(m_delCategory, [this] { deleteCategoryChosen(); });
    connect(m_delCode, QOverload<int>::of(&QComboBox::activated), this, [this] { deleteCodeChosen(); });
    enter().on(m_delCode, [this] { deleteCodeChosen(); });
    connect(m_delButton, &QPushButton::clicked, this, [this] { deleteProduct(); });
    connect(m_delCustomerView, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &i) { customerPriceClicked(i); });
    return page;
}

QWidget *Tpzgl::buildCategoryTab()
{
    auto *page = new QWidget(this);
    m_categoryView = makeGrid(m_categories, page, "categoryGrid", 1);

    auto *newBox = new QGroupBox(QStringLiteral("产品类别增加"), page);
    m_catName = makeEdit(newBox, "categoryName", ProductCatalogue::kCategoryNameLength);
    m_catFlag = makeEdit(newBox, "categoryFlag", 4);
    m_catFlag->setMaximumWidth(60);
    m_catSpecs = makeEdit(newBox, "categorySpecs", ProductCatalogue::kSpecListLength);
    m_catInsert = makeButton(newBox, QStringLiteral("插入"), "insertCategory");
    auto *note = new QLabel(QStringLiteral("(说明:包装物类代码为：A,B,C...\n防伪类:F,饲料类代码为:0,1,2...)"), newBox);
    note->setStyleSheet(QStringLiteral("color: #555;"));
    auto *flagRow = new QWidget(newBox);
    auto *fh = new QHBoxLayout(flagRow);
    fh->setContentsMargins(0, 0, 0, 0);
    fh->addWidget(m_catFlag);
    fh->addWidget(note, 1);
    auto *nf = new QFormLayout(newBox);
    nf->addRow(QStringLiteral("类别名称："), m_catName);
    nf->addRow(QStringLiteral("产品标志："), flagRow);
    nf->addRow(QStringLiteral("规格："), withSuffix(m_catSpecs, QStringLiteral("(公斤/包)")));
    auto *ib = new QHBoxLayout;
    ib->addStretch();
    ib->addWidget(m_catInsert);
    nf->addRow(ib);

    auto buildSizeGroup = [this, page](bool addGroup) {
        SizeGroup &g = group(addGroup);
        auto *box = new QGroupBox(addGroup ? QStringLiteral("产品规格增加") : QStringLiteral("产品类别规格修改"), page);
        g.box = new QCheckBox(addGroup ? QStringLiteral("选择规格增加") : QStringLiteral("选择规格修改"), box);
        g.box->setObjectName(addGroup ? QStringLiteral("addSizeBox") : QStringLiteral("replaceSizeBox"));
        g.flag = makeEdit(box, addGroup ? "addSizeFlag" : "replaceSizeFlag", 4);
        g.flag->setMaximumWidth(60);
        g.existing = makeEdit(box, addGroup ? "addSizeExisting" : "replaceSizeExisting", 0, true);
        g.category = makeEdit(box, addGroup ? "addSizeCategory" : "replaceSizeCategory", 0, true);
        g.input = makeEdit(box, addGroup ? "addSizeInput" : "replaceSizeInput",
                           addGroup ? ProductCatalogue::kSpecLength : ProductCatalogue::kSpecListLength);
        auto *f = new QFormLayout(box);
        f->addRow(g.box);
        f->addRow(QStringLiteral("产品标志："), g.flag);
        f->addRow(QStringLiteral("已有规格："), g.existing);
        f->addRow(QStringLiteral("产品类别："), g.category);
        auto *bh = new QHBoxLayout;
        bh->addStretch();
        if (addGroup) {
            f->addRow(QStringLiteral("新增加规格："), withSuffix(g.input, QStringLiteral("(公斤/包)")));
            g.confirm = makeButton(box, QStringLiteral("增加"), "addSize");
            bh->addWidget(g.confirm);
        } else {
            f->addRow(QStringLiteral("改后规格："), g.input);
            g.confirm = makeButton(box, QStringLiteral("确认"), "replaceSizes");
            g.discard = makeButton(box, QStringLiteral("放弃"), "discardSizes");
            bh->addWidget(g.confirm);
            bh->addWidget(g.discard);
        }
        f->addRow(bh);

        connect(g.box, &QCheckBox::toggled, this, [this, addGroup](bool on) { sizeBoxToggled(addGroup, on); });
        enter().on(g.flag, [this, addGroup] { sizeFlagEntered(addGroup); });
        enter().on(g.input, [this, addGroup] {
            SizeGroup &sg = group(addGroup);
            if (sg.input->text().trimmed().isEmpty() || !sg.categoryId) return;
            sg.confirm->setEnabled(true);
            if (sg.discard) sg.discard->setEnabled(true);
            sg.confirm->setFocus();
        });
        return box;
    };

    auto *groups = new QHBoxLayout;
    groups->addWidget(newBox, 4);
    groups->addWidget(buildSizeGroup(true), 3);
    groups->addWidget(buildSizeGroup(false), 3);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(gridCaption(QStringLiteral("产品类别："), page));
    layout->addWidget(m_categoryView, 1);
    layout->addLayout(groups);

    enter().on(m_catName, [this] { categoryNameEntered(); });
    enter().on(m_catFlag, [this] { categoryFlagEntered(); });
    enter().on(m_catSpecs, [this] { categorySpecsEntered(); });
    connect(m_catInsert, &QPushButton::clicked, this, [this] { insertCategory(); });
    connect(m_categoryView, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { categoryRowClicked(i); });
    connect(m_add.confirm, &QPushButton::clicked, this, [this] { addSize(); });
    connect(m_replace.confirm, &QPushButton::clicked, this, [this] { replaceSizes(); });
    connect(m_replace.discard, &QPushButton::clicked, this, [this] {
        clearSizeGroup(false);
        m_replace.box->setChecked(false);
    });
    return page;
}

QWidget *Tpzgl::buildPackagingTab()
{
    auto *page = new QWidget(this);

    auto *entry = new QGroupBox(QStringLiteral("增加包装物"), page);
    m_packCategory = makeChooser(entry, "packagingCategory", QStringLiteral("类别"));
    m_packCode = makeEdit(entry, "packagingCode", ProductCatalogue::kPackagingCodeLength);
    m_packName = makeEdit(entry, "packagingName", ProductCatalogue::kPackagingNameLength);
    m_packSpec = makeEdit(entry, "packagingSpec", ProductCatalogue::kSpecLength);
    m_packPrice = makeEdit(entry, "packagingPrice");
    m_packConfirm = makeButton(entry, QStringLiteral("确认"), "addPackaging");
    auto *ef = new QFormLayout(entry);
    ef->addRow(QStringLiteral("类别："), m_packCategory);
    ef->addRow(QStringLiteral("包装物代码："), m_packCode);
    ef->addRow(QStringLiteral("包装物名称:"), m_packName);
    ef->addRow(QStringLiteral("规格:"), withSuffix(m_packSpec, QStringLiteral("(公斤/包)")));
    ef->addRow(QStringLiteral("包装物价格:"), withSuffix(m_packPrice, QStringLiteral("(元/条)")));
    auto *eb = new QHBoxLayout;
    eb->addStretch();
    eb->addWidget(m_packConfirm);
    ef->addRow(eb);

    auto *refresh = makeButton(page, QStringLiteral("刷新"), "refreshPackaging");
    m_packDeleteCategory = makeButton(page, QStringLiteral("类别删除"), "deletePackagingCategory");
    auto *print = makeButton(page, QStringLiteral("打印"), "printPackaging");
    print->setEnabled(false); // nothing to print here yet
    auto *side = new QVBoxLayout;
    for (QPushButton *b : {refresh, m_packDeleteCategory, print}) side->addWidget(b);
    side->addStretch();

    auto *reprice = new QGroupBox(QStringLiteral("价格修改："), page);
    m_repName = makeEdit(reprice, "repriceName", 0, true);
    m_repSpec = makeEdit(reprice, "repriceSpec", 0, true);
    m_repPrice = makeEdit(reprice, "repricePrice");
    m_repConfirm = makeButton(reprice, QStringLiteral("确认"), "confirmReprice");
    m_repDiscard = makeButton(reprice, QStringLiteral("放弃"), "discardReprice");
    m_repDelete = makeButton(reprice, QStringLiteral("删除包装物"), "deletePackaging");
    auto *rf = new QFormLayout(reprice);
    rf->addRow(QStringLiteral("名称："), m_repName);
    rf->addRow(QStringLiteral("规格："), m_repSpec);
    rf->addRow(QStringLiteral("价格："), withSuffix(m_repPrice, QStringLiteral("(元/条)")));
    auto *rb = new QHBoxLayout;
    rb->addStretch();
    for (QPushButton *b : {m_repConfirm, m_repDiscard, m_repDelete}) rb->addWidget(b);
    rf->addRow(rb);

    auto *top = new QHBoxLayout;
    top->addWidget(entry, 3);
    top->addLayout(side);
    top->addWidget(reprice, 3);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(gridCaption(QStringLiteral("包装物："), page));
    auto *grid = makeGrid(m_packaging, page, "packagingGrid", 1);
    layout->addWidget(grid, 1);

    connect(m_packCategory, QOverload<int>::of(&QComboBox::activated), this, [this] { packagingCategoryChosen(); });
    enter().on(m_packCategory, [this] { packagingCategoryChosen(); });
    enter().on(m_packCode, [this] { packagingCodeEntered(); });
    enter().on(m_packName, [this] { packagingNameEntered(); });
    enter().on(m_packSpec, [this] { packagingSpecEntered(); });
    enter().on(m_packPrice, [this] { packagingPriceEntered(); });
    connect(m_packConfirm, &QPushButton::clicked, this, [this] { addPackaging(); });
    connect(refresh, &QPushButton::clicked, this, [this] { refreshPackaging(); });
    connect(m_packDeleteCategory, &QPushButton::clicked, this, [this] { deletePackagingCategory(); });
    connect(grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { packagingRowClicked(i); });
    enter().on(m_repPrice, [this] {
        if (m_repId && !m_repPrice->text().trimmed().isEmpty()) {
            m_repConfirm->setEnabled(true);
            m_repConfirm->setFocus();
        }
    });
    connect(m_repConfirm, &QPushButton::clicked, this, [this] { confirmReprice(); });
    connect(m_repDiscard, &QPushButton::clicked, this, [this] { clearReprice(); });
    connect(m_repDelete, &QPushButton::clicked, this, [this] { deletePackaging(); });
    return page;
}

QWidget *Tpzgl::buildFormulaTab()
{
    auto *page = new QWidget(this);
    auto *products = makeGrid(m_linkProducts, page, "linkProductGrid", 1);
    auto *formulas = makeGrid(m_formulas, page, "linkFormulaGrid", 1);

    auto *box = new QGroupBox(QStringLiteral("产品配方价格调整"), page);
    m_linkCode = makeEdit(box, "linkCode", 0, true);
    m_linkName = makeEdit(box, "linkName", 0, true);
    m_linkFormula = makeEdit(box, "linkFormula", 0, true);
    m_linkFormulaName = makeEdit(box, "linkFormulaName", 0, true);
    m_linkStandard = makeEdit(box, "linkStandard", 0, true);
    m_linkCost = makeEdit(box, "linkCost", 0, true);
    auto *g = new QGridLayout(box);
    const std::pair<const char *, QLineEdit *> fields[] = {
        {"产品代码：", m_linkCode},     {"产品名称：", m_linkName},         {"配方号码：", m_linkFormula},
        {"配方名称：", m_linkFormulaName}, {"标    准：", m_linkStandard}, {"配方成本：", m_linkCost}};
    int i = 0;
    for (const auto &f : fields) {
        g->addWidget(new QLabel(QString::fromUtf8(f.first), box), i / 3, (i % 3) * 2);
        g->addWidget(f.second, i / 3, (i % 3) * 2 + 1);
        ++i;
    }
    for (int c : {1, 3, 5}) g->setColumnStretch(c, 1);

    m_linkOk = makeButton(page, QStringLiteral("OK"), "linkOk");
    auto *print = makeButton(page, QStringLiteral("配方打印"), "printFormulas");
    auto *close = makeButton(page, QStringLiteral("放弃"), "closeLink");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_linkOk, print, close}) buttons->addWidget(b);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box, 1);
    bottom->addLayout(buttons);

    auto *grids = new QGridLayout;
    grids->addWidget(gridCaption(QStringLiteral("销售库产品明细"), page), 0, 0);
    grids->addWidget(gridCaption(QStringLiteral("选择对应配方（说明：配方成本单位：元/公斤）"), page), 0, 1);
    grids->addWidget(products, 1, 0);
    grids->addWidget(formulas, 1, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grids, 1);
    layout->addLayout(bottom);

    connect(products, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { linkProductClicked(i); });
    connect(formulas, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { linkFormulaClicked(i); });
    connect(m_linkOk, &QPushButton::clicked, this, [this] { confirmLink(); });
    connect(print, &QPushButton::clicked, this, [this] { printFormulaList(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    return page;
}

// ---------------------------------------------------------------- lists

void Tpzgl::activate()
{
    guarded([this] {
        reloadCategoryLists();
        reloadPackaging(false);
        reloadFormulaChooser();
        reloadProducts();
        reloadCustomerPrices();
        reloadCategoryGrid();
        reloadFormulas();
    });
    m_formula->setCurrentIndex(-1);
    clearFields({m_formulaNumber, m_formulaStandard}, false);
    m_formulaCost->setText(QStringLiteral("0"));
    m_kind->setCurrentIndex(-1);
    resetProductEntry();
    resetDelete();
    clearNewCategory();
    m_add.box->setChecked(false);
    m_replace.box->setChecked(false);
    clearSizeGroup(true);
    clearSizeGroup(false);
    m_packNewestFirst = false;
    resetPackagingEntry();
    clearReprice();
    m_repDelete->setEnabled(false);
    clearLink();
    m_tabs->setCurrentIndex(0);
    m_kind->setFocus();
}

void Tpzgl::reloadCategoryLists()
{
    m_kind->clear();
    m_delCategory->clear();
    m_packCategory->clear();
    for (const ProductCategory &c : catalogue().categories()) {
        if (ProductCatalogue::isPackagingFlag(c.cpbz)) {
            m_packCategory->addItem(c.lbmc);
        } else {
            m_kind->addItem(c.lbmc);
            m_delCategory->addItem(c.lbmc);
        }
    }
    m_kind->setCurrentIndex(-1);
    m_delCategory->setCurrentIndex(-1);
    m_packCategory->setCurrentIndex(-1);
}

void Tpzgl::reloadProducts()
{
    std::vector<RowsModel::Row> rows, linkRows;
    for (const CatalogueProduct &p : catalogue().products()) {
        rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cpbz, dateOf(p.rq)}});
        linkRows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cbjg, p.cpbz, dateOf(p.rq)}});
    }
    m_products->setRows(std::move(rows));
    m_linkProducts->setRows(std::move(linkRows));
}

void Tpzgl::reloadCustomerPrices()
{
    std::vector<RowsModel::Row> rows;
    for (const CatalogueCustomerPrice &c : catalogue().customerPrices())
        rows.push_back({c.id, {c.khdm, c.khmc, c.cpdm, c.cpmc, c.cpgg, c.kpjg, c.dqbh, c.dqmc, c.cpbz, dateOf(c.rq)}});
    m_customerPrices->setRows(std::move(rows));
}

void Tpzgl::reloadCategoryGrid()
{
    std::vector<RowsModel::Row> rows;
    for (const ProductCategory &c : catalogue().categories()) rows.push_back({c.id, {c.lbmc, c.cpgg, c.cpbz}});
    m_categories->setRows(std::move(rows));
}

void Tpzgl::reloadPackaging(bool newestFirst)
{
    m_packNewestFirst = newestFirst;
    std::vector<RowsModel::Row> rows;
    for (const CatalogueProduct &p : catalogue().packagingItems(newestFirst))
        rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, dateOf(p.rq), p.kpjg}});
    m_packaging->setRows(std::move(rows));
}

void Tpzgl::reloadFormulas()
{
    std::vector<RowsModel::Row> rows;
    for (const FormulaInfo &f : catalogue().formulas())
        rows.push_back({f.id, {f.pfhm, f.pfmc, f.pfbz, f.pfcb, dateOf(f.rq), f.rydm}});
    m_formulas->setRows(std::move(rows));
}

void Tpzgl::reloadFormulaChooser()
{
    const QString shown = m_formula->currentData().toString();
    m_formula->clear();
    // The name is shown; the number is what a choice means, names may repeat.
    for (const FormulaInfo &f : catalogue().formulas()) m_formula->addItem(f.pfmc, f.pfhm);
    m_formula->setCurrentIndex(shown.isEmpty() ? -1 : m_formula->findData(shown));
}

// ---------------------------------------------------------------- tab 1

void Tpzgl::kindChosen()
{
    if (m_kind->currentIndex() < 0 || m_kind->currentText().trimmed().isEmpty()) return;
    m_spec->clear();
    m_spec->setEnabled(false);
    m_code->setReadOnly(false);
    m_code->setEnabled(false);
    m_listPrice->setEnabled(false);
    m_customerCode->setEnabled(false);
    m_confirm->setEnabled(false);
    m_name->setReadOnly(false);
    EnterChain::advance(m_name);
}

void Tpzgl::nameEntered()
{
    if (m_name->text().trimmed().isEmpty()) return;
    m_name->setReadOnly(true);
    m_code->setReadOnly(false);
    EnterChain::advance(m_code);
}

void Tpzgl::codeEntered()
{
    if (m_code->isReadOnly()) return;
    const QString code = foldFullWidth(m_code->text()).trimmed().toLower();
    if (code.isEmpty()) return;
    m_code->setText(code);
    guarded([&] {
        ProductCatalogue cat = catalogue();
        const auto category = cat.categoryByName(m_kind->currentText());
        if (!category) {
            inform(QStringLiteral("产品类别库有错误，请与管理员联系！"));
            clearFields({m_code, m_name}, true);
            m_kind->setFocus();
            return;
        }
        m_flag = category->cpbz;
        m_code->setReadOnly(true);
        m_spec->clear();
        if (const auto product = cat.productByCode(code)) {
            m_flag = product->cpbz;
            if (const auto own = cat.categoryByFlag(product->cpbz)) {
                const int i = m_kind->findText(own->lbmc);
                if (i >= 0) m_kind->setCurrentIndex(i);
            }
            m_name->setText(product->cpmc);
            m_spec->addItem(product->cpgg.trimmed());
            m_spec->setCurrentIndex(0);
            m_listPrice->setText(numberText(product->kpjg));
            inform(QStringLiteral("提示：该产品已存在，请选择客户！"));
            EnterChain::advance(m_customerCode);
            return;
        }
        m_spec->addItems(ProductCatalogue::specificationChoices(category->cpgg));
        m_spec->setCurrentIndex(-1);
        EnterChain::advance(m_spec);
    });
}

void Tpzgl::specificationChosen()
{
    if (m_spec->currentIndex() < 0 || m_spec->currentText().trimmed().isEmpty()) return;
    if (!m_code->isReadOnly()) return; // the code is not confirmed yet
    EnterChain::advance(m_listPrice);
    m_listPrice->selectAll();
}

void Tpzgl::listPriceEntered()
{
    double v = 0;
    if (!parseNumber(m_listPrice->text(), &v)) {
        inform(kBadNumber);
        m_listPrice->selectAll();
        return;
    }
    EnterChain::advance(m_customerCode);
}

void Tpzgl::customerEntered()
{
    const QString code = m_customerCode->text().trimmed();
    if (code.isEmpty()) {
        m_allCustomers = true;
        m_customerName->setText(QStringLiteral("全体客户！"));
        EnterChain::advance(m_confirm);
        return;
    }
    guarded([&] {
        ProductCatalogue cat = catalogue();
        const auto customer = cat.customerByCode(code);
        if (!customer) {
            inform(QStringLiteral("查无此人！"));
            m_customerCode->clear();
            m_customerName->clear();
            return;
        }
        m_allCustomers = false;
        m_customerName->setText(customer->khmc);
        // The production row keeps the product's formula: offer it, so that
        // the cost written back is the cost of the formula it is made from.
        const QString linked = cat.productionFormula(m_code->text());
        if (!linked.isEmpty()) {
            if (const auto f = cat.formulaByNumber(linked)) showFormula(*f);
        }
        EnterChain::advance(m_confirm);
    });
}

void Tpzgl::formulaChosen(int index)
{
    if (index < 0) return;
    guarded([&] {
        if (const auto f = catalogue().formulaByNumber(m_formula->itemData(index).toString())) showFormula(*f);
    });
}

void Tpzgl::formulaNumberEntered()
{
    guarded([&] {
        if (const auto f = catalogue().formulaByNumber(m_formulaNumber->text())) showFormula(*f);
    });
}

void Tpzgl::showFormula(const FormulaInfo &f)
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

void Tpzgl::confirmProduct()
{
    NewProduct p;
    p.category = m_kind->currentText();
    p.code = m_code->text();
    p.name = m_name->text();
    p.specification = m_spec->currentIndex() >= 0 ? m_spec->currentText() : QString();
    p.listPrice = m_listPrice->text();
    p.customerCode = m_allCustomers ? QString() : m_customerCode->text();
    p.formulaNumber = m_formulaNumber->text();

    ProductCatalogue cat = catalogue();
    NewProductPlan plan;
    try {
        plan = cat.planNewProduct(p);
    } catch (const DomainError &e) {
        inform(e.message());
        if (e.message() == kNoFormula) {
            m_formulaNumber->setFocus();
        } else if (e.message() == kCustomerHasProduct) {
            resetProductEntry();
        }
        return;
    } catch (const DbError &e) {
        inform(e.message());
        return;
    }
    const bool createProductionRow =
        plan.productionRowMissing && ask(QStringLiteral("该产品生产库中不存在，是否增加（建议增加）？"));
    if (!guarded([&] { cat.addProduct(p, createProductionRow); })) return;
    guarded([this] {
        reloadProducts();
        reloadCustomerPrices();
    });
    resetProductEntry();
}

void Tpzgl::resetProductEntry()
{
    m_listPrice->setText(QStringLiteral("0"));
    clearFields({m_formulaNumber, m_formulaStandard}, false);
    m_formulaCost->setText(QStringLiteral("0"));
    m_formula->setCurrentIndex(-1);
    m_name->setReadOnly(false);
    m_code->setReadOnly(false);
    clearFields({m_name, m_code, m_customerCode}, true);
    m_customerName->clear();
    m_spec->clear();
    m_spec->setEnabled(false);
    m_listPrice->setEnabled(false);
    m_confirm->setEnabled(false);
    m_kind->setFocus();
}

void Tpzgl::cancelProduct()
{
    m_listPrice->setText(QStringLiteral("0"));
    m_name->setReadOnly(false);
    m_code->setReadOnly(false);
    clearFields({m_name, m_code, m_customerCode}, true);
    m_customerName->clear();
    m_spec->clear();
    m_spec->setEnabled(false);
    m_listPrice->setEnabled(false);
    m_confirm->setEnabled(false);
    m_kind->setFocus();
}

void Tpzgl::printProductList()
{
    ReportDocument doc;
    if (!guarded([&] { doc = Tcppzdy::build(session(), ctx().qymc); })) return;
    showDocument(ctx(), this, doc);
}

// ---------------------------------------------------------------- tab 2

void Tpzgl::deleteCategoryChosen()
{
    if (m_delCategory->currentIndex() < 0) return;
    guarded([&] {
        ProductCatalogue cat = catalogue();
        const auto category = cat.categoryByName(m_delCategory->currentText());
        if (!category) return;
        m_delCode->clear();
        m_delCode->addItems(cat.productCodesWithFlag(category->cpbz));
        m_delCode->setCurrentIndex(-1);
        m_delCode->setEditText(QString());
        clearFields({m_delName, m_delSpec}, false);
        m_delButton->setEnabled(false);
        m_delProduct.clear();
        EnterChain::advance(m_delCode);
    });
}

void Tpzgl::deleteCodeChosen()
{
    const QString typed = m_delCode->currentText().trimmed();
    if (typed.isEmpty()) return;
    guarded([&] {
        const auto product = catalogue().productByCode(typed);
        if (!product) {
            // Nothing to delete under what is shown now.
            clearFields({m_delName, m_delSpec}, false);
            m_delButton->setEnabled(false);
            m_delProduct.clear();
            return;
        }
        m_delProduct = product->cpdm;
        m_delName->setEnabled(true);
        m_delSpec->setEnabled(true);
        m_delName->setText(product->cpmc);
        m_delSpec->setText(product->cpgg.trimmed());
        m_delButton->setEnabled(true);
        m_delButton->setFocus();
    });
}

void Tpzgl::deleteProduct()
{
    if (m_delProduct.isEmpty()) return;
    if (!ask(QStringLiteral("确认删除吗？"))) return;
    if (!guarded([&] { catalogue().deleteProduct(m_delProduct); })) return;
    guarded([this] {
        reloadProducts();
        reloadCustomerPrices();
    });
    resetDelete();
}

void Tpzgl::resetDelete()
{
    m_delProduct.clear();
    m_delCategory->setCurrentIndex(-1);
    m_delCode->clear();
    m_delCode->setEditText(QString());
    m_delCode->setEnabled(false);
    clearFields({m_delName, m_delSpec}, true);
    m_delButton->setEnabled(false);
    m_delCategory->setFocus();
}

void Tpzgl::customerPriceClicked(const QModelIndex &index)
{
    const qint64 id = m_customerPrices->idAt(index.row());
    if (!id) return;
    guarded([&] {
        ProductCatalogue cat = catalogue();
        const auto row = cat.customerPriceById(id);
        if (!row) return;
        if (!ask(QStringLiteral("删除客户") + row->khmc + QStringLiteral("的") + row->cpmc + QStringLiteral("产品吗？")))
            return;
        cat.deleteCustomerPrice(id);
        reloadCustomerPrices();
        inform(QStringLiteral("已经删除该记录！"));
    });
}

// ---------------------------------------------------------------- tab 3

void Tpzgl::categoryNameEntered()
{
    if (m_catName->text().trimmed().isEmpty()) return;
    if (!guarded([&] { catalogue().checkNewCategoryName(m_catName->text()); })) {
        m_catName->clear();
        return;
    }
    EnterChain::advance(m_catFlag);
}

void Tpzgl::categoryFlagEntered()
{
    const QString flag = ProductCatalogue::normaliseFlag(m_catFlag->text());
    m_catFlag->setText(flag);
    if (flag.isEmpty()) return;
    if (!guarded([&] { catalogue().checkNewCategoryFlag(flag); })) {
        m_catFlag->clear();
        return;
    }
    EnterChain::advance(m_catSpecs);
}

void Tpzgl::categorySpecsEntered()
{
    if (m_catSpecs->text().trimmed().isEmpty()) m_catSpecs->setText(QStringLiteral(" "));
    EnterChain::advance(m_catInsert);
}

void Tpzgl::insertCategory()
{
    if (!guarded([&] { catalogue().addCategory(m_catName->text(), m_catFlag->text(), m_catSpecs->text()); }))
        return;
    guarded([this] {
        reloadCategoryLists();
        reloadCategoryGrid();
    });
    clearNewCategory();
}

void Tpzgl::clearNewCategory()
{
    m_catName->clear();
    m_catName->setEnabled(true);
    clearFields({m_catFlag, m_catSpecs}, true);
    m_catInsert->setEnabled(false);
    m_catName->setFocus();
}

void Tpzgl::categoryRowClicked(const QModelIndex &index)
{
    const bool addGroup = m_add.box->isChecked();
    if (!addGroup && !m_replace.box->isChecked()) return;
    guarded([&] {
        if (const auto c = catalogue().categoryById(m_categories->idAt(index.row())))
            chooseSizeCategory(addGroup, *c);
    });
}

void Tpzgl::sizeBoxToggled(bool addGroup, bool on)
{
    if (on) {
        // One group at a time: the click in the list belongs to the ticked one.
        SizeGroup &other = group(!addGroup);
        if (other.box->isChecked()) other.box->setChecked(false);
        inform(addGroup ? QStringLiteral("你已经选择了规格增加，请点击上面窗口的产品类别。")
                        : QStringLiteral("你已经选择了规格修改，请点击上面窗口的产品类别。"));
        updateCategoryGridColour();
        m_categoryView->setFocus();
        return;
    }
    clearSizeGroup(addGroup);
    updateCategoryGridColour();
}

void Tpzgl::updateCategoryGridColour()
{
    const bool choosing = m_add.box->isChecked() || m_replace.box->isChecked();
    m_categoryView->setStyleSheet(choosing ? QStringLiteral("QTableView { color: red; }") : QString());
}

void Tpzgl::sizeFlagEntered(bool addGroup)
{
    SizeGroup &g = group(addGroup);
    const QString flag = g.flag->text().trimmed();
    if (flag.isEmpty()) return;
    guarded([&] {
        if (const auto c = catalogue().categoryByFlag(flag)) chooseSizeCategory(addGroup, *c);
    });
}

void Tpzgl::chooseSizeCategory(bool addGroup, const ProductCategory &c)
{
    SizeGroup &g = group(addGroup);
    g.categoryId = c.id;
    g.flag->setText(c.cpbz);
    g.existing->setText(c.cpgg);
    g.category->setText(c.lbmc);
    g.input->clear();
    g.confirm->setEnabled(false);
    if (g.discard) g.discard->setEnabled(false);
    EnterChain::advance(g.input);
}

void Tpzgl::clearSizeGroup(bool addGroup)
{
    SizeGroup &g = group(addGroup);
    g.categoryId = 0;
    clearFields({g.flag, g.existing, g.category}, false);
    clearFields({g.input}, true);
    g.confirm->setEnabled(false);
    if (g.discard) g.discard->setEnabled(false);
}

void Tpzgl::addSize()
{
    if (!m_add.categoryId) return;
    if (!guarded([&] { catalogue().addSpecification(m_add.categoryId, m_add.input->text()); })) return;
    guarded([this] { reloadCategoryGrid(); });
    clearSizeGroup(true);
    m_add.box->setChecked(false);
    m_add.flag->setFocus();
}

void Tpzgl::replaceSizes()
{
    if (!m_replace.categoryId) return;
    if (!guarded([&] { catalogue().replaceSpecifications(m_replace.categoryId, m_replace.input->text()); }))
        return;
    guarded([this] { reloadCategoryGrid(); });
    clearSizeGroup(false);
    m_replace.box->setChecked(false);
    m_replace.flag->setFocus();
}

// ---------------------------------------------------------------- tab 4

bool Tpzgl::isLabelCategory() const
{
    return m_packCategory->currentIndex() >= 0
        && m_packCategory->currentText().trimmed() == ProductCatalogue::kLabelCategory;
}

void Tpzgl::packagingCategoryChosen()
{
    if (m_packCategory->currentIndex() < 0) return;
    m_packDeleteCategory->setEnabled(true);
    if (isLabelCategory()) m_packSpec->setText(QStringLiteral(" "));
    EnterChain::advance(m_packCode);
}

void Tpzgl::packagingCodeEntered()
{
    if (!guarded([&] { catalogue().checkNewPackagingCode(m_packCode->text()); })) {
        m_packCode->clear();
        return;
    }
    EnterChain::advance(m_packName);
}

void Tpzgl::packagingNameEntered()
{
    if (m_packName->text().trimmed().isEmpty()) return;
    EnterChain::advance(isLabelCategory() ? m_packPrice : m_packSpec);
    if (isLabelCategory()) m_packPrice->selectAll();
}

void Tpzgl::packagingSpecEntered()
{
    if (m_packSpec->text().isEmpty()) m_packSpec->setText(QStringLiteral(" "));
    EnterChain::advance(m_packPrice);
    m_packPrice->selectAll();
}

void Tpzgl::packagingPriceEntered()
{
    if (m_packPrice->text().isEmpty()) m_packPrice->setText(QStringLiteral("0"));
    EnterChain::advance(m_packConfirm);
}

void Tpzgl::addPackaging()
{
    NewPackaging p{m_packCategory->currentIndex() >= 0 ? m_packCategory->currentText() : QString(),
                   m_packCode->text(), m_packName->text(), m_packSpec->text(), m_packPrice->text()};
    try {
        catalogue().addPackaging(p);
        guarded([this] { reloadPackaging(true); });
    } catch (const DomainError &e) {
        inform(e.message());
        if (e.message() == kBadNumber) { // let the price be corrected
            m_packPrice->setFocus();
            m_packPrice->selectAll();
            return;
        }
    } catch (const DbError &e) {
        inform(e.message());
    }
    resetPackagingEntry();
}

void Tpzgl::resetPackagingEntry()
{
    m_packCategory->setCurrentIndex(-1);
    clearFields({m_packCode, m_packName, m_packSpec}, true);
    m_packPrice->setText(QStringLiteral("0"));
    m_packPrice->setEnabled(false);
    m_packConfirm->setEnabled(false);
    m_packDeleteCategory->setEnabled(false);
    m_packCategory->setFocus();
}

void Tpzgl::packagingRowClicked(const QModelIndex &index)
{
    const qint64 id = m_packaging->idAt(index.row());
    guarded([&] {
        const auto item = catalogue().productById(id);
        if (!item) return;
        m_repId = item->id;
        m_repName->setText(item->cpmc);
        m_repSpec->setText(item->cpgg);
        m_repPrice->setText(numberText(item->kpjg));
        m_repName->setEnabled(true);
        m_repSpec->setEnabled(true);
        m_repDiscard->setEnabled(true);
        m_repDelete->setEnabled(true);
        m_repConfirm->setEnabled(false);
        EnterChain::advance(m_repPrice);
        m_repPrice->selectAll();
    });
}

void Tpzgl::confirmReprice()
{
    if (!m_repId) return;
    if (!guarded([&] { catalogue().repricePackaging(m_repId, m_repPrice->text()); })) return;
    guarded([this] { reloadPackaging(m_packNewestFirst); });
    clearReprice();
}

void Tpzgl::clearReprice()
{
    m_repId = 0;
    clearFields({m_repName, m_repSpec, m_repPrice}, true);
    m_repConfirm->setEnabled(false);
    m_repDiscard->setEnabled(false);
}

void Tpzgl::deletePackaging()
{
    if (!m_repId) return;
    if (!ask(QStringLiteral("确认删除？"))) {
        inform(QStringLiteral("放弃删除！"));
        return;
    }
    if (!guarded([&] { catalogue().deletePackaging(m_repId); })) return;
    guarded([this] { reloadPackaging(true); });
    inform(QStringLiteral("成功删除！"));
    m_repDelete->setEnabled(false);
    clearReprice(); // the row the group showed is gone
}

void Tpzgl::refreshPackaging()
{
    guarded([this] {
        m_packCategory->clear();
        for (const ProductCategory &c : catalogue().categories())
            if (ProductCatalogue::isPackagingFlag(c.cpbz)) m_packCategory->addItem(c.lbmc);
        m_packCategory->setCurrentIndex(-1);
        reloadPackaging(true);
    });
    resetPackagingEntry();
}

void Tpzgl::deletePackagingCategory()
{
    if (m_packCategory->currentIndex() < 0) return;
    const QString name = m_packCategory->currentText();
    if (!guarded([&] { catalogue().deleteCategory(name); })) return;
    guarded([this] {
        reloadCategoryLists();
        reloadCategoryGrid();
    });
    resetPackagingEntry();
}

// ---------------------------------------------------------------- tab 5

void Tpzgl::linkProductClicked(const QModelIndex &index)
{
    guarded([&] {
        const auto p = catalogue().productById(m_linkProducts->idAt(index.row()));
        if (!p) return;
        m_linkCode->setText(p->cpdm);
        m_linkName->setText(p->cpmc);
    });
    updateLinkButton();
}

void Tpzgl::linkFormulaClicked(const QModelIndex &index)
{
    guarded([&] {
        const auto f = catalogue().formulaById(m_formulas->idAt(index.row()));
        if (!f) return;
        m_linkFormula->setText(f->pfhm);
        m_linkFormulaName->setText(f->pfmc);
        m_linkStandard->setText(f->pfbz);
        m_linkCost->setText(numberText(ProductCatalogue::costPerTonne(f->pfcb)));
    });
    updateLinkButton();
}

void Tpzgl::updateLinkButton()
{
    // Without both, the update would find no product and the production
    // master would get a row with an empty code.
    m_linkOk->setEnabled(!m_linkCode->text().isEmpty() && !m_linkFormula->text().isEmpty());
}

void Tpzgl::confirmLink()
{
    if (m_linkCode->text().isEmpty() || m_linkFormula->text().isEmpty()) return;
    if (!guarded([&] { catalogue().linkFormula(m_linkCode->text(), m_linkFormula->text()); })) return;
    guarded([this] { reloadProducts(); });
    clearLink();
}

void Tpzgl::clearLink()
{
    clearFields({m_linkCode, m_linkName, m_linkFormula, m_linkFormulaName, m_linkStandard, m_linkCost}, false);
    updateLinkButton();
}

void Tpzgl::printFormulaList()
{
    ReportDocument doc;
    if (!guarded([&] { doc = formulaListDocument(session(), ctx().qymc); })) return;
    showDocument(ctx(), this, doc);
}

} // namespace fm
