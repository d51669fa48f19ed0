#include "formulation/windows/tsx_pf.h"

#include "formulation/formularefresh.h"
#include "formulation/materialfactors.h"
#include "formulation/standards.h"
#include "formulation/windows/formulationfields.h"
#include "ui/layouts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kMaterialCode = QStringLiteral("原料代码：");
const QString kStandardCode = QStringLiteral("标准代码：");

QRadioButton *radio(QWidget *parent, const QString &text, const char *name)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

} // namespace

Tsx_pf::Tsx_pf(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("配方刷新"));
    resize(620, 420);

    auto *ways = new QGroupBox(QStringLiteral("选择刷新方式"), this);
    m_byFactors = radio(ways, QStringLiteral("原料营养因素发生变化"), "byFactors");
    m_byPrices = radio(ways, QStringLiteral("原料价格发生变化"), "byPrices");
    m_byStandards = radio(ways, QStringLiteral("原料营养标准发生变化"), "byStandards");
    m_byAll = radio(ways, QStringLiteral("所有原料变化刷新"), "byAll");
    auto *group = new QButtonGroup(this);
    for (QRadioButton *r : {m_byFactors, m_byPrices, m_byStandards, m_byAll}) group->addButton(r);
    m_factorMaterials = chooser("factorMaterials", QStringLiteral("原料名称"));
    m_priceMaterials = chooser("priceMaterials", QStringLiteral("原料名称"));
    m_standards = chooser("standards", QStringLiteral("营养标准"));
    m_code = display("code");
    m_start = dateInput("start");
    m_end = dateInput("end");
    makeBlankable(m_start, *ctx.clock);
    makeBlankable(m_end, *ctx.clock);
    m_refresh = button(QStringLiteral("按日期刷新"), "refresh", [this] { runRefresh(); });
    QPushButton *show = button(QStringLiteral("显示配方"), "showFormulas", [this] { openFunction(Fn::FormulaDisplay); });
    QPushButton *close = button(QStringLiteral("退出"), "close", [this] { reject(); });
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setValue(0);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));

    auto *wl = new QGridLayout(ways);
    wl->addWidget(m_byFactors, 0, 0);
    wl->addWidget(m_factorMaterials, 0, 1);
    wl->addWidget(m_byPrices, 1, 0);
    wl->addWidget(m_priceMaterials, 1, 1);
    wl->addWidget(m_byStandards, 2, 0);
    wl->addWidget(m_standards, 2, 1);
    wl->addWidget(m_byAll, 3, 0);
    wl->setColumnStretch(1, 1);
    m_factorMaterials->setAccessibleName(m_byFactors->text());
    m_priceMaterials->setAccessibleName(m_byPrices->text());
    m_standards->setAccessibleName(m_byStandards->text());

    auto *fields = new QWidget(this);
    auto *fl = new QGridLayout(fields);
    fl->setContentsMargins(0, 0, 0, 0);
    m_codeCaption = labelFor(kMaterialCode, m_code, fields);
    fl->addWidget(m_codeCaption, 0, 0, Qt::AlignRight);
    fl->addWidget(m_code, 0, 1);
    fl->addWidget(labelFor(QStringLiteral("起始日期："), m_start, fields), 1, 0, Qt::AlignRight);
    fl->addWidget(m_start, 1, 1);
    fl->addWidget(labelFor(QStringLiteral("截止日期："), m_end, fields), 2, 0, Qt::AlignRight);
    fl->addWidget(m_end, 2, 1);
    fl->setColumnStretch(1, 1);

    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(ways);
    left->addWidget(fields);
    top->addLayout(left, 1);
    top->addLayout(buttonColumn({m_refresh, show, close}));
    auto *root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addWidget(m_progress);
    root->addWidget(m_status);

    connect(m_byFactors, &QRadioButton::clicked, this, [this] { pickWay(m_factorMaterials); });
    connect(m_byPrices, &QRadioButton::clicked, this, [this] { pickWay(m_priceMaterials); });
    connect(m_byStandards, &QRadioButton::clicked, this, [this] { pickWay(m_standards); });
    connect(m_byAll, &QRadioButton::clicked, this, [this] {
        pickWay(nullptr);
        m_refresh->setEnabled(true);
        m_refresh->setFocus();
    });
    for (QComboBox *list : {m_factorMaterials, m_priceMaterials, m_standards})
        connect(list, qOverload<int>(&QComboBox::activated), this, [this, list] { showCode(list); });
    chain().on(m_start, [this] {
        if (!EnterChain::isBlank(m_start)) m_end->setFocus();
    });
    chain().on(m_end, [this] {
        if (EnterChain::isBlank(m_end)) return;
        m_refresh->setEnabled(true);
        m_refresh->setFocus();
    });
}

void Tsx_pf::activate()
{
    guarded([this] {
        for (QComboBox *list : {m_factorMaterials, m_priceMaterials, m_standards}) {
            const QSignalBlocker block(list);
            list->clear();
        }
        for (const MaterialName &m : MaterialFactorEditor(session()).materials()) {
            m_factorMaterials->addItem(m.name, m.code);
            m_priceMaterials->addItem(m.name, m.code);
        }
        for (const NutrientStandard &s : NutrientStandards(session(), *ctx().clock).all())
            m_standards->addItem(s.name, s.code);
    });
    for (QComboBox *list : {m_factorMaterials, m_priceMaterials, m_standards}) {
        list->setCurrentIndex(-1);
        list->setEnabled(false);
    }
    for (QRadioButton *r : {m_byFactors, m_byPrices, m_byStandards, m_byAll}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    m_code->clear();
    m_codeCaption->setText(kMaterialCode);
    blank(m_start);
    blank(m_end);
    m_refresh->setEnabled(false);
    m_progress->setValue(0);
    m_status->clear();
    m_start->setFocus();
}

void Tsx_pf::pickWay(QComboBox *list)
{
    for (QComboBox *l : {m_factorMaterials, m_priceMaterials, m_standards}) l->setEnabled(l == list);
    if (list) {
        m_refresh->setEnabled(false);
        list->setFocus();
    }
}

void Tsx_pf::showCode(QComboBox *list)
{
    if (list->currentIndex() < 0) return;
    m_codeCaption->setText(list == m_standards ? kStandardCode : kMaterialCode);
    m_code->setText(list->currentData().toString());
}

void Tsx_pf::runRefresh()
{
    if (EnterChain::isBlank(m_start) || EnterChain::isBlank(m_end)) {
        inform(FormulaRefresh::kBlankDatesAll);
        return;
    }
    if (!ask(FormulaRefresh::kQuestion)) return;
    setEnabled(false);
    RefreshOutcome out;
    const bool ok = guarded([&] {
        out = FormulaRefresh(session(), *ctx().clock)
                  .refreshAll(dateIn(m_start), dateIn(m_end),
                              [this](int done, int total) { showProgress(m_progress, done, total); });
    });
    setEnabled(true);
    m_progress->setValue(0);
    m_refresh->setEnabled(false);
    if (!ok) return;
    m_status->setText(QStringLiteral("已刷新 %1 个配方，共 %2 个。").arg(out.refreshed).arg(out.total));
    if (!out.stopMessage.isEmpty()) inform(out.stopMessage);
}

} // namespace fm
