#include "pricing/windows/txg_jg.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "pricing/windows/pricegrid.h"
#include "ui/enterchain.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kCategoryPlaceholder = QStringLiteral("产品类别");
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

} // namespace

Txg_jg::Txg_jg(AppContext &ctx, QWidget *parent) : PricePage(ctx, parent)
{
    m_productGrid = new PriceGrid({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                   QStringLiteral("开票价格"), QStringLiteral("成本价格"), QStringLiteral("日期")},
                                  this, "productGrid", 1);
    QStringList rebateTitles{QStringLiteral("产品标志"), QStringLiteral("类别")};
    for (const char *t : kTierTitles) rebateTitles << QString::fromUtf8(t);
    rebateTitles << QStringLiteral("日期");
    m_rebateGrid = new PriceGrid(rebateTitles, this, "rebateGrid");
    m_rebateGrid->setMinimumHeight(m_rebateGrid->verticalHeader()->defaultSectionSize() * 3
                                   + m_rebateGrid->horizontalHeader()->sizeHint().height() + 6);
    m_rebateGrid->setMaximumHeight(m_rebateGrid->minimumHeight());

    auto *top = new QHBoxLayout;
    top->addWidget(m_productGrid, 3);
    top->addWidget(buildProductBox(), 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    auto *caption = new QLabel(QStringLiteral("月底让利：（元/包 1x40kg）"), this);
    layout->addWidget(caption);
    layout->addWidget(m_rebateGrid);
    layout->addWidget(buildRebateBox());
}

QWidget *Txg_jg::buildProductBox()
{
    auto *box = new QGroupBox(QStringLiteral("产品价格修改"), this);
    m_code = priceEdit(box, "code", 20);
    m_code->installEventFilter(this);
    m_category = new QComboBox(box);
    m_category->setObjectName(QStringLiteral("category"));
    m_category->addItem(QStringLiteral("浓缩料"), QStringLiteral("0"));
    m_category->addItem(QStringLiteral("全价料"), QStringLiteral("1"));
    m_category->addItem(QStringLiteral("预混料"), QStringLiteral("2"));
    m_category->setPlaceholderText(kCategoryPlaceholder);
    m_product = new QComboBox(box);
    m_product->setObjectName(QStringLiteral("product"));
    m_product->setPlaceholderText(kProductPlaceholder);
    m_product->setMinimumWidth(240);
    m_pickConfirm = priceButton(box, QStringLiteral("确认"), "pickConfirm");
    m_pickDiscard = priceButton(box, QStringLiteral("放弃"), "pickDiscard");
    m_listPrice = priceEdit(box, "listPrice");
    m_costPrice = priceEdit(box, "costPrice");
    m_priceConfirm = priceButton(box, QStringLiteral("确认"), "priceConfirm");
    m_priceDiscard = priceButton(box, QStringLiteral("放弃"), "priceDiscard");

    auto buttonRow = [](QPushButton *a, QPushButton *b) {
        auto *h = new QHBoxLayout;
        h->addStretch();
        h->addWidget(a);
        h->addWidget(b);
        return h;
    };
    auto *form = new QFormLayout(box);
    form->addRow(QStringLiteral("产品代码："), m_code);
    form->addRow(QStringLiteral("产品类别："), m_category);
    form->addRow(QString(), m_product);
    form->addRow(buttonRow(m_pickConfirm, m_pickDiscard));
    form->addRow(QStringLiteral("市场牌价："), withUnit(m_listPrice, QStringLiteral("（元/吨）")));
    form->addRow(QStringLiteral("成本价格："), withUnit(m_costPrice, QStringLiteral("（元/吨）")));
    form->addRow(buttonRow(m_priceConfirm, m_priceDiscard));

    enter().on(m_code, [this] { codeEntered(false); });
    connect(m_category, QOverload<int>::of(&QComboBox::activated), this, [this] { categoryChosen(); });
    enter().on(m_category, [this] { categoryChosen(); });
    connect(m_product, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { productChosen(i); });
    enter().on(m_product, [this] { productChosen(m_product->currentIndex()); });
    connect(m_pickConfirm, &QPushButton::clicked, this, [this] { pickConfirmed(); });
    connect(m_pickDiscard, &QPushButton::clicked, this, [this] { pickDiscarded(); });
    enter().on(m_listPrice, [this] { listPriceEntered(); });
    enter().on(m_costPrice, [this] { costPriceEntered(); });
    connect(m_priceConfirm, &QPushButton::clicked, this, [this] { pricesConfirmed(); });
    connect(m_priceDiscard, &QPushButton::clicked, this, [this] { pricesDiscarded(); });
    return box;
}

QWidget *Txg_jg::buildRebateBox()
{
    auto *row = new QWidget(this);
    m_rebateCategory = new QComboBox(row);
    m_rebateCategory->setObjectName(QStringLiteral("rebateCategory"));
    for (const QString &flag : {PriceBook::kConcentrateRebate, PriceBook::kCompleteFeedRebate, PriceBook::kPromotion})
        m_rebateCategory->addItem(scheduleName(flag), flag);
    m_rebateCategory->setMinimumWidth(110);
    m_rebateConfirm = priceButton(row, QStringLiteral("确认"), "rebateConfirm");
    m_rebateDiscard = priceButton(row, QStringLiteral("放弃"), "rebateDiscard");
    auto *chooser = new QVBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("选择类别:"), row));
    chooser->addWidget(m_rebateCategory);
    chooser->addStretch();
    chooser->addWidget(m_rebateConfirm);
    chooser->addWidget(m_rebateDiscard);

    auto tierBox = [this, row](bool promotion) {
        auto *box = new QGroupBox(promotion ? QStringLiteral("浓缩料临时促销：")
                                            : QStringLiteral("修改月底让利：（元/包 1x40kg）"),
                                  row);
        auto *grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        for (int i = 0; i < RebateSchedule::kTiers; ++i) {
            auto *e = priceEdit(box, promotion ? "promotionTier" : "rebateTier", 10);
            e->setObjectName(e->objectName() + QString::number(i + 1));
            e->setMinimumWidth(64);
            e->setMaximumWidth(96);
            e->setAlignment(Qt::AlignRight);
            tierSet(promotion).append(e);
            const int r = i % 5, c = (i / 5) * 2;
            grid->addWidget(new QLabel(QString::fromUtf8(kTierLabels[i]), box), r, c, Qt::AlignRight);
            grid->addWidget(e, r, c + 1);
            enter().on(e, [this, promotion, i] { tierEntered(promotion, i); });
        }
        grid->setColumnMinimumWidth(2, 64);
        return box;
    };

    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addLayout(chooser);
    h->addWidget(tierBox(false));
    h->addWidget(tierBox(true));
    h->addStretch();

    connect(m_rebateCategory, QOverload<int>::of(&QComboBox::activated), this, [this] { rebateCategoryChosen(); });
    enter().on(m_rebateCategory, [this] { rebateCategoryChosen(); });
    connect(m_rebateConfirm, &QPushButton::clicked, this, [this] { rebatesConfirmed(); });
    connect(m_rebateDiscard, &QPushButton::clicked, this, [this] { rebatesDiscarded(); });
    return row;
}

QString Txg_jg::productEntry(const ProductPrice &p)
{
    return p.cpmc + QString(12, QLatin1Char(' ')) + p.cpgg;
}

// ---------------------------------------------------------------- state

void Txg_jg::activate()
{
    pickDiscarded();
    m_rebateCategory->setCurrentIndex(-1);
    for (bool promotion : {false, true})
        for (QLineEdit *e : tierSet(promotion)) {
            e->setText(QStringLiteral("0"));
            e->setEnabled(false);
        }
    m_rebateConfirm->setEnabled(false);
    m_rebateDiscard->setEnabled(false);
    reloadProducts();
    reloadRebates();
    m_code->setFocus();
}

void Txg_jg::refresh()
{
    reloadProducts();
    reloadRebates();
}

void Txg_jg::reloadProducts()
{
    guarded([this] {
        std::vector<PriceGrid::Row> rows;
        for (const ProductPrice &p : book().feedProducts())
            rows.push_back({p.id, {p.cpdm, p.cpmc, p.cpgg, p.kpjg, p.cbjg, dateText(p.rq.date())}});
        m_productGrid->setRows(std::move(rows));
    });
    if (m_editId) m_productGrid->selectId(m_editId);
}

void Txg_jg::reloadRebates()
{
    guarded([this] {
        std::vector<PriceGrid::Row> rows;
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
        codeEntered(true);
    return PricePage::eventFilter(watched, event);
}

// ---------------------------------------------------------------- one product

void Txg_jg::showCategory(const QString &flag)
{
    m_category->setCurrentIndex(m_category->findData(flag));
}

void Txg_jg::codeEntered(bool quiet)
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) return;
    std::optional<ProductPrice> p;
    if (!guarded([&] { p = book().feedProductByCode(code); })) return;
    if (!p && quiet) return;
    m_product->clear();
    if (!p) {
        m_pickedId = 0;
        resetPriceEntry();
        m_category->setCurrentIndex(-1);
        m_product->setPlaceholderText(PriceBook::kNoProduct);
        m_pickConfirm->setEnabled(false);
        m_pickDiscard->setEnabled(true);
        return;
    }
    m_pickedId = p->id;
    if (m_pickedId != m_editId) resetPriceEntry();
    showCategory(p->cpbz);
    m_product->setPlaceholderText(kProductPlaceholder);
    m_product->addItem(productEntry(*p), p->id);
    m_product->setCurrentIndex(0);
    m_pickConfirm->setEnabled(true);
    m_pickDiscard->setEnabled(true);
    if (!quiet) m_pickConfirm->setFocus();
}

void Txg_jg::categoryChosen()
{
    const QString flag = m_category->currentData().toString();
    if (flag.isEmpty()) return;
    std::vector<ProductPrice> products;
    if (!guarded([&] { products = book().feedProductsWithFlag(flag); })) return;
    m_product->clear();
    m_product->setPlaceholderText(kProductPlaceholder);
    for (const ProductPrice &p : products) m_product->addItem(productEntry(p), p.id);
    m_product->setCurrentIndex(-1);
    m_pickedId = 0;
    resetPriceEntry();
    m_pickConfirm->setEnabled(false);
    m_pickDiscard->setEnabled(true);
    m_product->setFocus();
}

void Txg_jg::productChosen(int index)
{
    if (index < 0) return;
    const qint64 id = m_product->itemData(index).toLongLong();
    std::optional<ProductPrice> p;
    if (!guarded([&] { p = book().productById(id); })) return;
    m_pickedId = p ? id : 0;
    if (m_pickedId != m_editId) resetPriceEntry();
    m_code->setText(p ? p->cpdm : PriceBook::kNoProduct);
    m_pickConfirm->setEnabled(p.has_value());
    m_pickDiscard->setEnabled(true);
    if (p) m_pickConfirm->setFocus();
}

void Txg_jg::pickConfirmed()
{
    if (!m_pickedId) return;
    std::optional<ProductPrice> p;
    if (!guarded([&] { p = book().productById(m_pickedId); })) return;
    if (!p) {
        // Deleted by another workstation since it was listed.
        m_pickedId = 0;
        m_product->clear();
        m_product->setPlaceholderText(PriceBook::kNoProduct);
        m_pickConfirm->setEnabled(false);
        return;
    }
    m_editId = p->id;
    showCategory(p->cpbz);
    m_code->setText(p->cpdm);
    m_listPrice->setText(numberText(p->kpjg));
    m_costPrice->setText(numberText(p->cbjg));
    m_priceConfirm->setEnabled(false);
    m_priceDiscard->setEnabled(false);
    m_costPrice->setEnabled(false);
    EnterChain::advance(m_listPrice);
    m_listPrice->selectAll();
    m_productGrid->selectId(m_editId);
}

void Txg_jg::pickDiscarded()
{
    m_code->clear();
    m_category->setCurrentIndex(-1);
    m_product->clear();
    m_product->setPlaceholderText(kProductPlaceholder);
    m_pickedId = 0;
    m_pickConfirm->setEnabled(false);
    m_pickDiscard->setEnabled(false);
    // The prices belonged to the product given up.
    resetPriceEntry();
    m_code->setFocus();
}

void Txg_jg::resetPriceEntry()
{
    m_editId = 0;
    for (QLineEdit *e : {m_listPrice, m_costPrice}) {
        e->clear();
        e->setEnabled(false);
    }
    m_priceConfirm->setEnabled(false);
    m_priceDiscard->setEnabled(false);
}

void Txg_jg::listPriceEntered()
{
    if (m_listPrice->text().trimmed().isEmpty()) return;
    EnterChain::advance(m_costPrice);
    m_costPrice->selectAll();
}

void Txg_jg::costPriceEntered()
{
    if (m_costPrice->text().trimmed().isEmpty()) return;
    m_priceDiscard->setEnabled(true);
    EnterChain::advance(m_priceConfirm);
}

void Txg_jg::pricesConfirmed()
{
    if (!m_editId) return;
    const bool done = guarded([this] {
        book().setProductPrices(m_editId, m_listPrice->text(), m_costPrice->text(), PriceBook::DateStamp::Keep);
    });
    if (!done) {
        pricesDiscarded();
        return;
    }
    m_priceConfirm->setEnabled(false);
    m_priceDiscard->setEnabled(false);
    m_listPrice->setEnabled(false);
    m_costPrice->setEnabled(false);
    reloadProducts();
}

void Txg_jg::pricesDiscarded()
{
    m_priceConfirm->setEnabled(false);
    m_priceDiscard->setEnabled(false);
    EnterChain::advance(m_listPrice);
    m_listPrice->selectAll();
}

// ---------------------------------------------------------------- rebates

QString Txg_jg::rebateFlag() const
{
    return m_rebateCategory->currentData().toString();
}

void Txg_jg::rebateCategoryChosen()
{
    const QString flag = rebateFlag();
    if (flag.isEmpty()) return;
    std::optional<RebateSchedule> r;
    if (!guarded([&] { r = book().rebateSchedule(flag); })) return;
    const bool promotion = flag == PriceBook::kPromotion;
    for (bool set : {false, true})
        for (QLineEdit *e : tierSet(set)) e->setEnabled(false);
    QList<QLineEdit *> &inputs = tierSet(promotion);
    for (int i = 0; i < RebateSchedule::kTiers; ++i)
        inputs[i]->setText(numberText(r ? r->tiers[i] : 0.0));
    m_rebateConfirm->setEnabled(false);
    m_rebateDiscard->setEnabled(false);
    EnterChain::advance(inputs.first());
    inputs.first()->selectAll();
}

void Txg_jg::tierEntered(bool promotion, int i)
{
    QLineEdit *e = tierSet(promotion).at(i);
    if (e->text().trimmed().isEmpty()) e->setText(QStringLiteral("0"));
    if (i + 1 < RebateSchedule::kTiers) {
        QLineEdit *next = tierSet(promotion).at(i + 1);
        EnterChain::advance(next);
        next->selectAll();
        return;
    }
    // The last tier of the set that belongs to the category chosen.
    if ((rebateFlag() == PriceBook::kPromotion) != promotion || rebateFlag().isEmpty()) return;
    m_rebateDiscard->setEnabled(true);
    EnterChain::advance(m_rebateConfirm);
}

void Txg_jg::rebatesConfirmed()
{
    const QString flag = rebateFlag();
    if (flag.isEmpty()) return;
    QStringList tiers;
    for (QLineEdit *e : tierSet(flag == PriceBook::kPromotion)) tiers << e->text();
    if (!guarded([&] { book().saveRebateSchedule(flag, tiers); })) return;
    m_rebateConfirm->setEnabled(false);
    m_rebateDiscard->setEnabled(false);
    for (bool set : {false, true})
        for (QLineEdit *e : tierSet(set)) e->setEnabled(false);
    reloadRebates();
}

void Txg_jg::rebatesDiscarded()
{
    for (bool set : {false, true})
        for (QLineEdit *e : tierSet(set)) {
            e->setText(QStringLiteral("0"));
            e->setEnabled(false);
        }
    m_rebateConfirm->setEnabled(false);
    m_rebateDiscard->setEnabled(false);
    m_rebateCategory->setFocus();
}

} // namespace fm
