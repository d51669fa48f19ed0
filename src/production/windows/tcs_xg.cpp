#include "production/windows/tcs_xg.h"

#include "common/numbertext.h"
#include "production/productcatalogue.h"
#include "production/windows/edittable.h"
#include "production/windows/productionfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QButtonGroup>
#include <QComboBox>
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

const QString kCategoryPlaceholder = QStringLiteral("类别");
const QString kSpecPlaceholder = QStringLiteral("规格");
const QString kKindPlaceholder = QStringLiteral("选择");
const QString kSizePlaceholder = QStringLiteral("颗粒大小");

QList<EditTable::Column> standardColumns(bool editable)
{
    return {{QStringLiteral("类别名称"), QStringLiteral("lbmc")},
            {QStringLiteral("规格"), QStringLiteral("cpgg"), false, editable},
            {QStringLiteral("颗粒"), QStringLiteral("ypmc")},
            {QStringLiteral("说明"), QStringLiteral("sm")},
            {QStringLiteral("工资标准"), QStringLiteral("gzbz"), true, editable},
            {QStringLiteral("其他标准"), QStringLiteral("qtbz"), true, editable},
            {QStringLiteral("时间"), QStringLiteral("rq_0")},
            {QStringLiteral("标志"), QStringLiteral("bz_1")},
            {QStringLiteral("颗粒标志"), QStringLiteral("klbz")},
            {QStringLiteral("大小"), QStringLiteral("klmc")}};
}

void placeholderOnly(QComboBox *box)
{
    const QSignalBlocker block(box);
    box->clear();
    box->setCurrentIndex(-1);
}

} // namespace

Tcs_xg::Tcs_xg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent), m_tabs(new QTabWidget(this))
{
    setWindowTitle(QStringLiteral("系统参数修改"));
    m_tabs->addTab(buildKinds(), QStringLiteral("压模破碎"));
    m_tabs->addTab(buildStandards(), QStringLiteral("加工标准"));
    m_tabs->addTab(buildEdits(), QStringLiteral("修改标准"));
    m_tabs->addTab(buildReprocessing(), QStringLiteral("回机处理"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1000, 620);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { guarded([this] { reloadStandards(); }); });
}

// ---- 压模破碎 --------------------------------------------------------------------

QWidget *Tcs_xg::buildKinds()
{
    auto *page = new QWidget(this);
    m_kindName = input("kindName", ProductionParameters::kKindNameLength);
    m_kindSize = input("kindSize", ProductionParameters::kSizeLength);
    m_kindConfirm = button(QStringLiteral("确认"), "kindConfirm", [this] { confirmKind(); });
    auto *classes = new QWidget(page);
    auto *classRow = new QHBoxLayout(classes);
    classRow->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(page);
    const QStringList names = ProductionParameters::pelletClasses();
    for (int i = 0; i < 4; ++i) {
        m_classes[size_t(i)] = new QRadioButton(names[i], classes);
        m_classes[size_t(i)]->setObjectName(QStringLiteral("class%1").arg(i + 1));
        group->addButton(m_classes[size_t(i)], i + 1);
        classRow->addWidget(m_classes[size_t(i)]);
        connect(m_classes[size_t(i)], &QRadioButton::clicked, this, [this] { m_kindSize->setEnabled(true); EnterChain::focusField(m_kindSize); });
    }
    classRow->addStretch();
    m_kinds = new EditTable({{QStringLiteral("压模破碎"), QStringLiteral("ypmc")},
                             {QStringLiteral("颗粒名称"), QStringLiteral("klmc")},
                             {QStringLiteral("颗粒大小"), QStringLiteral("sm"), false, true},
                             {QStringLiteral("标志"), QStringLiteral("bz_1"), false, true},
                             {QStringLiteral("颗粒标志"), QStringLiteral("klbz"), false, true},
                             {QStringLiteral("流水号"), QStringLiteral("rec_no"), true, false}},
                            page, "kinds");
    m_kinds->guard = [this](const std::function<void()> &fn) { return guarded(fn); };
    m_kinds->edited = [this](qint64 id, const QString &field, const QString &text) {
        ProductionParameters p = params();
        p.editKind(id, field, text);
        for (const Row &r : p.kinds())
            if (r.id() == id) return r;
        throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
    };

    auto *box = new QGroupBox(page);
    FieldGrid(box, 1)
        .add(QStringLiteral("压模破碎名称："), m_kindName)
        .add(classes)
        .add(QStringLiteral("颗粒大小(mm)：(例:大于34mm)"), m_kindSize)
        .add(buttonRow({m_kindConfirm, button(QStringLiteral("退出"), "kindClose", [this] { close(); })}));
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(box);
    layout->addWidget(m_kinds, 1);

    m_kindChain = &addChain();
    m_kindChain->on(m_kindName, [this] {
        if (m_kindName->text().trimmed().isEmpty()) return;
        m_classes[0]->setFocus();
    });
    m_kindChain->on(m_kindSize, [this] {
        if (m_kindSize->text().trimmed().isEmpty()) m_kindSize->setText(QStringLiteral(" "));
        m_kindConfirm->setEnabled(true);
        m_kindConfirm->setFocus();
    });
    return page;
}

void Tcs_xg::confirmKind()
{
    int chosen = 0;
    for (int i = 0; i < 4; ++i)
        if (m_classes[size_t(i)]->isChecked()) chosen = i + 1;
    params().addKind(m_kindName->text(), chosen ? QString::number(chosen) : QString(),
                     chosen ? ProductionParameters::pelletClasses()[chosen - 1] : QString(), m_kindSize->text());
    m_kindConfirm->setEnabled(false);
    reloadKinds();
    EnterChain::focusField(m_kindName);
}

void Tcs_xg::reloadKinds()
{
    ProductionParameters p = params();
    m_kinds->setRows(p.kinds());
    const QSignalBlocker block(m_kind);
    m_kind->clear();
    m_kind->addItems(p.kindNames());
    m_kind->setCurrentIndex(-1);
}

// ---- 加工标准 --------------------------------------------------------------------

QWidget *Tcs_xg::buildStandards()
{
    auto *page = new QWidget(this);
    m_category = chooser("category", kCategoryPlaceholder);
    m_spec = chooser("spec", kSpecPlaceholder);
    m_kind = chooser("kind", kKindPlaceholder);
    m_size = chooser("size", kSizePlaceholder);
    m_wage = input("wage", 12);
    m_other = input("other", 12);
    m_standardConfirm = button(QStringLiteral("确认"), "standardConfirm", [this] { confirmStandard(); });
    QList<GridColumn> columns;
    for (const EditTable::Column &c : standardColumns(false))
        columns << GridColumn{c.title, c.field, c.number ? GridColumn::Kind::Number : GridColumn::Kind::Text};
    columns[6].kind = GridColumn::Kind::DateTime;
    m_standardList = new Grid(columns, page, "standards");

    auto *box = new QGroupBox(page);
    FieldGrid(box, 1)
        .add(QStringLiteral("产品类别："), m_category)
        .add(QStringLiteral("规格："), m_spec, QStringLiteral("(吨/包)"))
        .add(QStringLiteral("压模破碎："), m_kind)
        .add(QStringLiteral("颗粒大小："), m_size)
        .add(QStringLiteral("加工工资标准："), m_wage, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("其他工资标准："), m_other, QStringLiteral("(元/吨)"))
        .add(buttonRow({m_standardConfirm, button(QStringLiteral("退出"), "standardClose", [this] { close(); })}));
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(box);
    layout->addWidget(m_standardList, 1);

    connect(m_category, &QComboBox::activated, this, [this] { guarded([this] { categoryChosen(); }); });
    connect(m_spec, &QComboBox::activated, this, [this] {
        m_kind->setEnabled(true);
        m_kind->setFocus();
    });
    connect(m_kind, &QComboBox::activated, this, [this] { guarded([this] { kindChosen(); }); });
    connect(m_size, &QComboBox::activated, this, [this] { guarded([this] { sizeChosen(); }); });
    chain().on(m_wage, [this] {
        if (m_wage->text().trimmed().isEmpty()) m_wage->setText(QStringLiteral("0"));
        double v = 0;
        if (!parseNumber(m_wage->text(), &v)) throw badNumber();
        m_other->setEnabled(true);
        EnterChain::focusField(m_other);
    });
    chain().on(m_other, [this] {
        if (m_other->text().trimmed().isEmpty()) m_other->setText(QStringLiteral("0"));
        double v = 0;
        if (!parseNumber(m_other->text(), &v)) throw badNumber();
        m_standardConfirm->setEnabled(true);
        m_standardConfirm->setFocus();
    });
    return page;
}

void Tcs_xg::resetStandardEntry()
{
    m_flag.clear();
    m_wage->setText(QStringLiteral("0"));
    m_other->setText(QStringLiteral("0"));
    for (QComboBox *b : {m_spec, m_size}) placeholderOnly(b);
    m_category->setCurrentIndex(-1);
    m_kind->setCurrentIndex(-1);
    for (QWidget *w : std::initializer_list<QWidget *>{m_spec, m_kind, m_size, m_wage, m_other, m_standardConfirm}) w->setEnabled(false);
    m_category->setEnabled(true);
}

void Tcs_xg::categoryChosen()
{
    placeholderOnly(m_spec);
    const auto c = ProductCatalogue(session(), *ctx().clock).categoryByName(m_category->currentText());
    reloadKinds();
    if (c) {
        m_flag = c->cpbz;
        m_spec->addItems(ProductCatalogue::specificationChoices(c->cpgg));
        m_spec->setCurrentIndex(-1);
    }
    m_kind->setEnabled(true);
    m_spec->setEnabled(true);
    m_spec->setFocus();
}

void Tcs_xg::kindChosen()
{
    placeholderOnly(m_size);
    const auto number = params().kindNumber(m_kind->currentText());
    if (!number) return;
    m_size->addItems(params().sizesOfKind(*number));
    m_size->setCurrentIndex(-1);
    m_size->setEnabled(true);
    m_size->setFocus();
}

void Tcs_xg::sizeChosen()
{
    if (!params().sizeExists(m_size->currentText())) return;
    m_wage->setEnabled(true);
    EnterChain::focusField(m_wage);
}

void Tcs_xg::confirmStandard()
{
    if (m_flag.isEmpty()) return;
    ProductionStandard p;
    p.category = m_category->currentText();
    p.spec = m_spec->currentIndex() >= 0 ? m_spec->currentText() : QString();
    p.kind = m_kind->currentIndex() >= 0 ? m_kind->currentText() : QString();
    p.size = m_size->currentIndex() >= 0 ? m_size->currentText() : QString();
    if (!parseNumber(m_wage->text(), &p.wage) || !parseNumber(m_other->text(), &p.other)) throw badNumber();
    params().addStandard(p);
    reloadStandards();
    resetStandardEntry();
    m_category->setFocus();
}

void Tcs_xg::reloadStandards()
{
    const Rows rows = params().standards();
    m_standardList->setRows(rows);
    m_editList->setRows(rows);
    m_reprocessList->setRows(params().reprocessingStandards());
}

// ---- 修改标准 --------------------------------------------------------------------

QWidget *Tcs_xg::buildEdits()
{
    auto *page = new QWidget(this);
    m_editList = new EditTable(standardColumns(true), page, "editStandards");
    m_editList->guard = [this](const std::function<void()> &fn) { return guarded(fn); };
    m_editList->edited = [this](qint64 id, const QString &field, const QString &text) { return editStandard(id, field, text); };
    m_allow = button(QStringLiteral("允许"), "allow", [this] {
        reloadStandards();
        m_editList->setEditable(true);
        m_allow->setEnabled(false);
        m_forbid->setEnabled(true);
        m_editList->setFocus();
    });
    m_forbid = button(QStringLiteral("禁止"), "forbid", [this] {
        reloadStandards();
        m_editList->setEditable(false);
        m_allow->setEnabled(true);
        m_forbid->setEnabled(false);
    });
    m_delete = button(QStringLiteral("删除该记录"), "deleteStandard", [this] { deleteStandard(); });
    connect(m_editList, &EditTable::rowClicked, this, [this](qint64 id) {
        m_chosenStandard = id;
        m_delete->show();
    });
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(m_editList, 1);
    layout->addLayout(buttonColumn({m_allow, m_forbid, m_delete}));
    return page;
}

Row Tcs_xg::editStandard(qint64 id, const QString &field, const QString &text)
{
    ProductionParameters p = params();
    p.editStandard(id, field, text);
    for (const Row &r : p.standards())
        if (r.id() == id) return r;
    throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
}

void Tcs_xg::deleteStandard()
{
    m_delete->hide();
    if (!m_chosenStandard) return;
    std::optional<Row> chosen;
    for (const Row &r : params().standards())
        if (r.id() == m_chosenStandard) chosen = r;
    m_chosenStandard = 0;
    if (!chosen) return;
    if (!ask(ProductionParameters::deleteQuestion(*chosen))) {
        inform(QStringLiteral("已放弃!"));
        m_editList->setFocus();
        return;
    }
    params().deleteStandard(chosen->id());
    reloadStandards();
    inform(QStringLiteral("已经删除!"));
}

// ---- 回机处理 --------------------------------------------------------------------

QWidget *Tcs_xg::buildReprocessing()
{
    auto *page = new QWidget(this);
    m_rebag = new QRadioButton(ProductionParameters::kRebagging, page);
    m_blend = new QRadioButton(ProductionParameters::kBlending, page);
    m_rebag->setObjectName(QStringLiteral("rebag"));
    m_blend->setObjectName(QStringLiteral("blend"));
    auto *ways = new QButtonGroup(page);
    ways->addButton(m_rebag);
    ways->addButton(m_blend);
    for (int i = 0; i < 2; ++i) {
        m_bagSize[size_t(i)] = chooser(i ? "blendSize" : "rebagSize", kSpecPlaceholder);
        m_bagSize[size_t(i)]->addItems({QStringLiteral("1"), QStringLiteral("0.5"), QStringLiteral("5"), QStringLiteral("10"),
                                        QStringLiteral("20"), QStringLiteral("40")});
        m_wayWage[size_t(i)] = input(i ? "blendStandard" : "rebagStandard", 12);
        const bool blending = i == 1;
        connect(m_bagSize[size_t(i)], &QComboBox::activated, this, [this, blending] {
            m_wayWage[blending ? 1 : 0]->setEnabled(true);
            m_wayWage[blending ? 0 : 1]->setEnabled(false);
            EnterChain::focusField(m_wayWage[blending ? 1 : 0]);
        });
        chain().on(m_wayWage[size_t(i)], [this, i] {
            if (m_wayWage[size_t(i)]->text().trimmed().isEmpty()) return;
            m_reprocessConfirm->setEnabled(true);
            m_reprocessConfirm->setFocus();
        });
    }
    connect(m_rebag, &QRadioButton::clicked, this, [this] { chooseWay(false); });
    connect(m_blend, &QRadioButton::clicked, this, [this] { chooseWay(true); });
    m_reprocessConfirm = button(QStringLiteral("确认"), "reprocessConfirm", [this] { confirmReprocessing(); });
    m_show = button(QStringLiteral("显示/修改"), "showReprocessing", [this] { toggleReprocessList(); });

    auto *box = new QGroupBox(QStringLiteral("回机处理工资标准"), page);
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("回机处理方式："), box), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("规格:(公斤/包)"), box), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("工资标准：(元/吨)"), box), 0, 3);
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(i ? m_blend : m_rebag, i + 1, 1);
        grid->addWidget(m_bagSize[size_t(i)], i + 1, 2);
        grid->addWidget(m_wayWage[size_t(i)], i + 1, 3);
        m_bagSize[size_t(i)]->setAccessibleName(QStringLiteral("规格") + (i ? m_blend : m_rebag)->text());
        m_wayWage[size_t(i)]->setAccessibleName(QStringLiteral("工资标准") + (i ? m_blend : m_rebag)->text());
    }
    grid->addLayout(buttonRow({m_reprocessConfirm, m_show}), 3, 0, 1, 4);

    m_reprocessList = new EditTable({{QStringLiteral("说明"), QStringLiteral("sm")},
                                     {QStringLiteral("规格"), QStringLiteral("cpgg"), false, true},
                                     {QStringLiteral("工资标准"), QStringLiteral("gzbz"), true, true},
                                     {QStringLiteral("其他标准"), QStringLiteral("qtbz"), true, true},
                                     {QStringLiteral("颗粒标志"), QStringLiteral("klbz")},
                                     {QStringLiteral("日期"), QStringLiteral("rq_1")}},
                                    page, "reprocessing");
    m_reprocessList->guard = [this](const std::function<void()> &fn) { return guarded(fn); };
    m_reprocessList->edited = [this](qint64 id, const QString &field, const QString &text) { return editStandard(id, field, text); };
    m_reprocessPanel = new QGroupBox(page);
    auto *panelLayout = new QVBoxLayout(m_reprocessPanel);
    panelLayout->addWidget(m_reprocessList);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(box);
    layout->addWidget(m_reprocessPanel, 1);
    layout->addStretch();
    return page;
}

void Tcs_xg::chooseWay(bool blending)
{
    const int mine = blending ? 1 : 0, other = blending ? 0 : 1;
    m_bagSize[size_t(mine)]->setEnabled(true);
    m_wayWage[size_t(mine)]->setEnabled(true);
    m_wayWage[size_t(other)]->setEnabled(false);
    m_bagSize[size_t(other)]->setEnabled(false);
    m_bagSize[size_t(mine)]->setFocus();
}

void Tcs_xg::confirmReprocessing()
{
    const bool blending = m_blend->isChecked();
    if (!blending && !m_rebag->isChecked()) return;
    QLineEdit *standard = m_wayWage[blending ? 1 : 0];
    double wage = 0;
    if (standard->text().trimmed().isEmpty()) {
        inform(ProductionParameters::missingStandardMessage(blending));
        EnterChain::focusField(standard);
        return;
    }
    if (!parseNumber(standard->text(), &wage)) throw badNumber();
    QComboBox *size = m_bagSize[blending ? 1 : 0];
    if (!guarded([&] { params().addReprocessingStandard(blending, size->currentIndex() >= 0 ? size->currentText() : QString(), wage); })) {
        EnterChain::focusField(standard);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        m_bagSize[size_t(i)]->setCurrentIndex(-1);
        m_bagSize[size_t(i)]->setEnabled(i == (blending ? 1 : 0));
        m_wayWage[size_t(i)]->clear();
        m_wayWage[size_t(i)]->setEnabled(false);
    }
    m_reprocessConfirm->setEnabled(false);
    reloadStandards();
    m_rebag->setFocus();
}

void Tcs_xg::toggleReprocessList()
{
    const bool showing = m_reprocessPanel->isVisible();
    m_reprocessPanel->setVisible(!showing);
    m_show->setText(showing ? QStringLiteral("显示/修改") : QStringLiteral("恢复"));
    reloadStandards();
}

// ---- activation -----------------------------------------------------------------

void Tcs_xg::activate()
{
    m_tabs->setCurrentIndex(0);
    guarded([this] {
        const QSignalBlocker block(m_category);
        m_category->clear();
        for (const ProductCategory &c : ProductCatalogue(session(), *ctx().clock).categories()) m_category->addItem(c.lbmc);
        reloadKinds();
        reloadStandards();
    });
    resetStandardEntry();
    m_editList->setEditable(false);
    m_allow->setEnabled(true);
    m_forbid->setEnabled(false);
    m_delete->hide();
    m_chosenStandard = 0;
    // 压模破碎
    m_kindName->clear();
    m_kindSize->clear();
    m_kindSize->setEnabled(false);
    m_kindConfirm->setEnabled(false);
    for (QRadioButton *b : m_classes) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    // 回机处理
    for (QRadioButton *b : {m_rebag, m_blend}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    for (int i = 0; i < 2; ++i) {
        m_bagSize[size_t(i)]->setCurrentIndex(-1);
        m_bagSize[size_t(i)]->setEnabled(false);
        m_wayWage[size_t(i)]->setText(QStringLiteral("0"));
        m_wayWage[size_t(i)]->setEnabled(false);
    }
    m_reprocessConfirm->setEnabled(false);
    m_reprocessPanel->hide();
    m_show->setText(QStringLiteral("显示/修改"));
    EnterChain::focusField(m_kindName);
}

} // namespace fm
