#include "pricing/windows/txg_jg.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kProductPlaceholder = QStringLiteral("产品名称        产品规格");

const char *const kTierLabels[RebateSchedule::kTiers] = {"0--2:",   "2--5:",   "5--10:",  "10--20:", "20--30:",
                                                         "30--40:", "40--50:", "50--70:", "70--90:", "90--"};
const char *const kTierTitles[RebateSchedule::kTiers] = {"0--2吨",   "2--5吨",   "5--10吨",  "10--20吨", "20--30吨",
                                                         "30--40吨", "40--50吨", "50--70吨", "70--90吨", ">90吨"};

// The schedule rows by flag, as "选择类别:" names them.
QString scheduleName(const QString &flag)
{
    if (flag == PriceBook::kConcentrateRebate) return QStringLiteral("浓缩料");
    if (flag == PriceBook::kCompleteFeedRebate) return QStringLiteral("全价料");
    if (flag == PriceBook::kPromotion) return QStringLiteral("临时促销");
    return QString();
}

const StepOptions kZeroWhenEmpty{QStringLiteral("0"), false, false, {}};

} // namespace

Txg_jg::Txg_jg(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent), m_rebateSteps(new EnterChain(this))
{
    m_productGrid = new Grid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                              QStringLiteral("开票价格"), QStringLiteral("成本价格"), QStringLiteral("日期")},
                             this, "productGrid");
    m_productGrid->setStretchColumn(1);
    QStringList rebateTitles{QStringLiteral("产品标志"), QStringLiteral("类别")};
    for (const char *t : kTierTitles) rebateTitles << QString::fromUtf8(t);
    rebateTitles << QStringLiteral("日期");
    m_rebateGrid = new Grid(rebateTitles, this, "rebateGrid");
    // Three schedules: the grid is as high as its three rows.
    QTableView *rebates = m_rebateGrid->view();
    rebates->setMinimumHeight(0);
    rebates->setFixedHeight(rebates->verticalHeader()->defaultSectionSize() * 3
                            + rebates->horizontalHeader()->sizeHint().height() + 2 * rebates->frameWidth());

    auto *top = new QHBoxLayout;
    top->addWidget(m_productGrid, 3);
    top->addWidget(buildProductBox(), 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(labelFor(QStringLiteral("月底让利：（元/包 1x40kg）"), m_rebateGrid->view(), this));
    layout->addWidget(m_rebateGrid);
    layout->addWidget(buildRebateBox());
}

PriceBook Txg_jg::book() const
{
    return PriceBook(session(), *ctx().clock);
}

QWidget *Txg_jg::buildProductBox()
{
    m_code = input("code", 20);
    m_code->installEventFilter(this);
    m_category = chooser("category", QStringLiteral("产品类别"));
    m_category->addItem(QStringLiteral("浓缩料"), QStringLiteral("0"));
    m_category->addItem(QStringLiteral("全价料"), QStringLiteral("1"));
    m_category->addItem(QStringLiteral("预混料"), QStringLiteral("2"));
    m_product = chooser("product", kProductPlaceholder);
    m_product->setMinimumWidth(240);
    m_pickConfirm = button(QStringLiteral("确认"), "pickConfirm");
    m_pickDiscard = button(QStringLiteral("放弃"), "pickDiscard", [this] { pickDiscarded(); });
    m_listPrice = input("listPrice", 16);
    m_costPrice = input("costPrice", 16);
    m_priceConfirm = button(QStringLiteral("确认"), "priceConfirm");
    m_priceDiscard = button(QStringLiteral("放弃"), "priceDiscard", [this] { chain().reach(m_listPrice); });

    auto *box = new QGroupBox(QStringLiteral("产品价格修改"), this);
    FieldGrid fields(box);
    fields.add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品类别："), m_category)
        .add(m_product)
        .add(buttonRow({m_pickConfirm, m_pickDiscard}))
        .add(QStringLiteral("市场牌价："), m_listPrice, QStringLiteral("（元/吨）"))
        .add(QStringLiteral("成本价格："), m_costPrice, QStringLiteral("（元/吨）"))
        .add(buttonRow({m_priceConfirm, m_priceDiscard}));
    fields.layout()->setRowStretch(fields.layout()->rowCount(), 1);
    m_product->setAccessibleName(QStringLiteral("产品名称"));

    chain()
        .step(m_code, [this] { return codeEntered(false); })
        .step(m_pickConfirm, [this] { return pickConfirmed(); }, StepOptions{QString(), false, false, {m_pickDiscard}})
        .step(m_listPrice, [] { return Go::advance(); })
        .step(m_costPrice, [] { return Go::advance(); })
        .step(m_priceConfirm, [this] { return pricesConfirmed(); }, StepOptions{QString(), false, false, {m_priceDiscard}});
    // Category and product choose the product as the code does, by another way.
    connect(m_category, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { categoryChosen(); }); });
    chain().on(m_category, [this] { categoryChosen(); });
    connect(m_product, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { guarded([&] { productChosen(i); }); });
    chain().on(m_product, [this] { productChosen(m_product->currentIndex()); });
    return box;
}

QWidget *Txg_jg::buildRebateBox()
{
    auto *row = new QWidget(this);
    m_rebateCategory = chooser("rebateCategory");
    for (const QString &flag : {PriceBook::kConcentrateRebate, PriceBook::kCompleteFeedRebate, PriceBook::kPromotion})
        m_rebateCategory->addItem(scheduleName(flag), flag);
    m_rebateCategory->setMinimumWidth(110);
    m_rebateConfirm = button(QStringLiteral("确认"), "rebateConfirm");
    m_rebateDiscard = button(QStringLiteral("放弃"), "rebateDiscard", [this] { rebatesDiscarded(); });
    auto *side = new QVBoxLayout;
    side->addWidget(labelFor(QStringLiteral("选择类别:"), m_rebateCategory, row));
    side->addWidget(m_rebateCategory);
    side->addStretch();
    side->addLayout(buttonColumn({m_rebateConfirm, m_rebateDiscard}));

    m_rebateSteps->setGuard([this](const std::function<void()> &fn) { return guarded(fn); });
    m_rebateSteps->step(m_rebateCategory, [this] { return rebateCategoryChosen(); });
    auto tierBox = [this, row](bool promotion) {
        auto *box = new QGroupBox(promotion ? QStringLiteral("浓缩料临时促销：")
                                            : QStringLiteral("修改月底让利：（元/包 1x40kg）"),
                                  row);
        FieldGrid fields(box, 2);
        QList<QLineEdit *> &set = promotion ? m_promotion : m_rebate;
        for (int i = 0; i < RebateSchedule::kTiers; ++i) {
            const QString name = (promotion ? QStringLiteral("promotionTier%1") : QStringLiteral("rebateTier%1")).arg(i + 1);
            QLineEdit *e = input(qPrintable(name), 10);
            e->setMaximumWidth(96);
            e->setAlignment(Qt::AlignRight);
            set.append(e);
            fields.add(QString::fromUtf8(kTierLabels[i]), e);
            // The last tier of the set leads to "确认": the other set is not entered.
            m_rebateSteps->step(e, [this, i] {
                return i + 1 == RebateSchedule::kTiers ? Go::to(m_rebateConfirm) : Go::advance();
            }, kZeroWhenEmpty);
        }
        return box;
    };
    QWidget *rebates = tierBox(false);
    QWidget *promotions = tierBox(true);
    m_rebateSteps->step(m_rebateConfirm, [this] { return rebatesConfirmed(); },
                        StepOptions{QString(), false, false, {m_rebateDiscard}});
    connect(m_rebateCategory, QOverload<int>::of(&QComboBox::activated), this, [this] { m_rebateSteps->run(m_rebateCategory); });

    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addLayout(side);
    h->addWidget(rebates);
    h->addWidget(promotions);
    h->addStretch();
    return row;
}

QString Txg_jg::productEntry(const ProductPrice &p)
{
    return p.cpmc + QString(12, QLatin1Char(' ')) + p.cpgg;
}

// ---------------------------------------------------------------- state

void Txg_jg::activate()
{
    for (bool promotion : {false, true})
        for (QLineEdit *e : tierSet(promotion)) e->setText(QStringLiteral("0"));
    m_rebateCategory->setCurrentIndex(-1);
    m_rebateSteps->reset();
    reloadProducts();
    reloadRebates();
    pickDiscarded();
}

void Txg_jg::refresh()
{
    reloadProducts();
    reloadRebates();
}

void Txg_jg::reloadProducts()
{
    guarded([this] {
        std::vector<GridRow> rows;
        for (const ProductPrice &p : book().feedProducts())
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cbjg, dateText(p.rq.date())}});
        m_productGrid->setRows(std::move(rows));
    });
    if (m_editId) m_productGrid->selectId(m_editId);
}

void Txg_jg::reloadRebates()
{
    guarded([this] {
        std::vector<GridRow> rows;
        for (const RebateSchedule &r : book().rebateSchedules()) {
            QVariantList cells{r.cpbz, scheduleName(r.cpbz)};
            for (double t : r.tiers) cells << t;
            cells << dateText(r.rq1.date());
            rows.push_back({r.id, cells});
        }
        m_rebateGrid->setRows(std::move(rows));
    });
}

bool Txg_jg::eventFilter(QObject *watched, QEvent *event)
{
    // A click in the code box looks the code up again.
    if (watched == m_code && event->type() == QEvent::MouseButtonRelease && m_code->isEnabled())
        guarded([this] { codeEntered(true); });
    return FormPage::eventFilter(watched, event);
}

// ---------------------------------------------------------------- one product

Go Txg_jg::codeEntered(bool quiet)
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) return Go::stay();
    const auto p = book().feedProductByCode(code);
    if (!p && quiet) return Go::stay();
    m_product->clear();
    m_pickedId = p ? p->id : 0;
    if (!p) {
        m_category->setCurrentIndex(-1);
        m_product->setPlaceholderText(PriceBook::kNoProduct);
        return Go::to(m_code);
    }
    m_category->setCurrentIndex(m_category->findData(p->cpbz));
    m_product->setPlaceholderText(kProductPlaceholder);
    m_product->addItem(productEntry(*p), p->id);
    m_product->setCurrentIndex(0);
    // The prices of the product shown stay open; another product's close.
    if (m_pickedId != m_editId) chain().reach(m_pickConfirm);
    if (quiet) m_code->setFocus();
    else m_pickConfirm->setFocus();
    return Go::done();
}

void Txg_jg::categoryChosen()
{
    const QString flag = m_category->currentData().toString();
    if (flag.isEmpty()) return;
    const std::vector<ProductPrice> products = book().feedProductsWithFlag(flag);
    m_product->clear();
    m_product->setPlaceholderText(kProductPlaceholder);
    for (const ProductPrice &p : products) m_product->addItem(productEntry(p), p.id);
    m_product->setCurrentIndex(-1);
    m_pickedId = 0;
    chain().reach(m_code);
    m_product->setFocus();
}

void Txg_jg::productChosen(int index)
{
    if (index < 0) return;
    const auto p = book().productById(m_product->itemData(index).toLongLong());
    m_pickedId = p ? p->id : 0;
    m_code->setText(p ? p->cpdm : PriceBook::kNoProduct);
    chain().reach(p ? static_cast<QWidget *>(m_pickConfirm) : m_code);
}

Go Txg_jg::pickConfirmed()
{
    if (!m_pickedId) return Go::stay();
    const auto p = book().productById(m_pickedId);
    if (!p) {
        // Deleted by another workstation since it was listed.
        m_pickedId = 0;
        m_product->clear();
        m_product->setPlaceholderText(PriceBook::kNoProduct);
        return Go::to(m_code);
    }
    m_editId = p->id;
    m_category->setCurrentIndex(m_category->findData(p->cpbz));
    m_code->setText(p->cpdm);
    m_listPrice->setText(numberText(p->kpjg));
    m_costPrice->setText(numberText(p->cbjg));
    m_productGrid->selectId(m_editId);
    return Go::advance();
}

void Txg_jg::pickDiscarded()
{
    m_code->clear();
    m_category->setCurrentIndex(-1);
    m_product->clear();
    m_product->setPlaceholderText(kProductPlaceholder);
    m_pickedId = 0;
    // The prices belonged to the product given up.
    m_editId = 0;
    m_listPrice->clear();
    m_costPrice->clear();
    chain().reset();
}

Go Txg_jg::pricesConfirmed()
{
    if (!m_editId) return Go::stay();
    const bool done = guarded([this] {
        book().setProductPrices(m_editId, PriceBook::parsePrice(m_listPrice->text()),
                                PriceBook::parsePrice(m_costPrice->text()), PriceBook::DateStamp::Keep);
    });
    if (!done) return Go::to(m_listPrice);
    reloadProducts();
    return Go::to(m_pickConfirm);
}

// ---------------------------------------------------------------- rebates

QString Txg_jg::rebateFlag() const
{
    return m_rebateCategory->currentData().toString();
}

Go Txg_jg::rebateCategoryChosen()
{
    const QString flag = rebateFlag();
    const auto r = book().rebateSchedule(flag);
    const bool promotion = flag == PriceBook::kPromotion;
    const QList<QLineEdit *> &inputs = tierSet(promotion);
    for (int i = 0; i < RebateSchedule::kTiers; ++i) inputs[i]->setText(numberText(r ? r->tiers[size_t(i)] : 0.0));
    // Only the set of the category chosen is entered.
    m_rebateSteps->reach(m_rebateCategory);
    return Go::to(inputs.first());
}

Go Txg_jg::rebatesConfirmed()
{
    const QString flag = rebateFlag();
    if (flag.isEmpty()) return Go::stay();
    QStringList typed;
    for (QLineEdit *e : tierSet(flag == PriceBook::kPromotion)) typed << e->text();
    book().saveRebateSchedule(flag, PriceBook::parseTiers(typed));
    reloadRebates();
    return Go::to(m_rebateCategory);
}

void Txg_jg::rebatesDiscarded()
{
    for (bool promotion : {false, true})
        for (QLineEdit *e : tierSet(promotion)) e->setText(QStringLiteral("0"));
    m_rebateSteps->reach(m_rebateCategory);
}

} // namespace fm
