#include "formulation/windows/tvelpf.h"

#include "data/dberror.h"
#include "formulation/windows/tvelpf1.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kStandardPlaceholder = QStringLiteral("标准");
const QString kTemplatePlaceholder = QStringLiteral("配方代码:");

QListWidget *list(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAccessibleName(caption);
    l->setMinimumWidth(180);
    return l;
}

} // namespace

Tvelpf::Tvelpf(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("配方（一）1."));
    resize(720, 520);

    m_available = list(this, "available", QStringLiteral("原料清单"));
    m_chosen = list(this, "chosen", QStringLiteral("配方用原料"));
    m_right = button(QStringLiteral(">"), "moveOne", [this] { move(m_available, m_chosen, false); });
    m_left = button(QStringLiteral("<"), "moveBack", [this] { move(m_chosen, m_available, false); });
    m_allRight = button(QStringLiteral(">>"), "moveAll", [this] { move(m_available, m_chosen, true); });
    m_allLeft = button(QStringLiteral("<<"), "moveAllBack", [this] { move(m_chosen, m_available, true); });
    m_standards = chooser("standards", kStandardPlaceholder);
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirmMaterials(); });
    m_next = button(QStringLiteral("下一步"), "next", [this] { openStepTwo(); });
    m_template = button(QStringLiteral("配方样板"), "template", [this] { toggleTemplate(); });
    QPushButton *cancel = button(QStringLiteral("取消"), "cancel", [this] { reject(); });
    m_templateNumbers = chooser("templateNumbers", kTemplatePlaceholder);
    m_templateName = display("templateName");

    auto *lists = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("原料清单"), this));
    left->addWidget(m_available, 1);
    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *b : {m_right, m_left, m_allRight, m_allLeft}) {
        b->setFixedWidth(48);
        moves->addWidget(b);
    }
    moves->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("配方用原料"), this));
    right->addWidget(m_chosen, 1);
    lists->addLayout(left, 1);
    lists->addLayout(moves);
    lists->addLayout(right, 1);

    m_templatePanel = new QGroupBox(QStringLiteral("配方样板"), this);
    FieldGrid tg(m_templatePanel, 2);
    tg.add(QStringLiteral("配方代码："), m_templateNumbers).add(QStringLiteral("配方名称："), m_templateName);

    auto *standardRow = new QWidget(this);
    FieldGrid sg(standardRow, 1);
    sg.layout()->setContentsMargins(0, 0, 0, 0);
    sg.add(QStringLiteral("标准选择："), m_standards);

    auto *body = new QVBoxLayout;
    body->addLayout(lists, 1);
    body->addWidget(standardRow);
    body->addWidget(m_templatePanel);
    auto *root = new QHBoxLayout(this);
    root->addLayout(body, 1);
    root->addLayout(buttonColumn({m_confirm, m_next, m_template, cancel}));

    connect(m_standards, qOverload<int>(&QComboBox::activated), this, [this] { guarded([this] { chooseStandard(); }); });
    connect(m_templateNumbers, qOverload<int>(&QComboBox::activated), this,
            [this] { guarded([this] { chooseTemplate(); }); });
    connect(m_available, &QListWidget::itemDoubleClicked, this, [this] { move(m_available, m_chosen, false); });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, [this] { move(m_chosen, m_available, false); });
}

FormulaCalculation Tvelpf::calculation() const
{
    return FormulaCalculation(session(), *ctx().clock, ctx().operatorCode);
}

void Tvelpf::activate()
{
    m_comp = FormulaComposition();
    m_chosen->clear();
    m_available->clear();
    m_templatePanel->hide();
    {
        const QSignalBlocker block(m_standards);
        m_standards->clear();
    }
    guarded([this] {
        FormulaCalculation c = calculation();
        m_available->addItems(c.materialNames());
        for (const NutrientStandard &s : NutrientStandards(session(), *ctx().clock).all()) m_standards->addItem(s.name);
    });
    m_standards->setCurrentIndex(-1);
    m_standards->setEnabled(false);
    m_confirm->setEnabled(false);
    m_next->setEnabled(false);
    updateButtons();
    m_available->setFocus();
    if (m_available->count() > 0) m_available->setCurrentRow(0);
}

void Tvelpf::move(QListWidget *from, QListWidget *to, bool all)
{
    if (from->count() == 0) return;
    if (all) {
        while (from->count() > 0) to->addItem(from->takeItem(0));
    } else {
        int row = from->currentRow();
        if (row < 0 || !from->item(row)->isSelected()) row = from->selectedItems().isEmpty() ? 0 : from->row(from->selectedItems().front());
        to->addItem(from->takeItem(row));
        if (from->count() > 0) from->setCurrentRow(std::min(row, from->count() - 1));
    }
    // The materials changed: they are confirmed again before the next step.
    m_comp.lines.clear();
    m_next->setEnabled(false);
    const bool any = m_chosen->count() > 0;
    m_confirm->setEnabled(any);
    if (any) m_standards->setEnabled(true);
    updateButtons();
}

void Tvelpf::updateButtons()
{
    const bool more = m_available->count() > 0, any = m_chosen->count() > 0;
    m_right->setEnabled(more);
    m_allRight->setEnabled(more);
    m_left->setEnabled(any);
    m_allLeft->setEnabled(any);
}

void Tvelpf::chooseStandard()
{
    const QString name = m_standards->currentText().trimmed();
    if (m_standards->currentIndex() < 0 || name.isEmpty() || name == kStandardPlaceholder) return;
    m_comp.standard = calculation().standard(name);
    if (m_comp.standard) m_confirm->setEnabled(m_chosen->count() > 0);
}

void Tvelpf::toggleTemplate()
{
    if (m_templatePanel->isVisible()) {
        m_templatePanel->hide();
        return;
    }
    {
        const QSignalBlocker block(m_templateNumbers);
        m_templateNumbers->clear();
        m_templateNumbers->addItems(calculation().formulaNumbers());
        m_templateNumbers->setCurrentIndex(-1);
    }
    m_templateName->clear();
    m_templatePanel->show();
    m_templateNumbers->setFocus();
}

void Tvelpf::chooseTemplate()
{
    const QString number = m_templateNumbers->currentText().trimmed();
    if (number.isEmpty() || number == kTemplatePlaceholder) return;
    const auto t = calculation().templateFormula(number);
    if (!t) return;
    m_templateName->setText(t->name);
    m_chosen->clear();
    m_chosen->addItems(t->materials);
    m_comp.lines.clear();
    m_next->setEnabled(false);
    m_standards->setEnabled(true);
    m_confirm->setEnabled(m_chosen->count() > 0);
    updateButtons();
}

void Tvelpf::confirmMaterials()
{
    const QString name = m_standards->currentText().trimmed();
    if (m_standards->currentIndex() < 0 || name.isEmpty() || name == kStandardPlaceholder || !m_comp.standard) {
        inform(FormulaCalculation::kNoStandard);
        m_standards->setFocus();
        return;
    }
    QStringList names;
    for (int i = 0; i < m_chosen->count(); ++i) names << m_chosen->item(i)->text();
    m_comp.lines = calculation().linesFor(names);
    m_comp.result.reset();
    m_confirm->setEnabled(false);
    m_next->setEnabled(!m_comp.lines.empty());
    m_next->setFocus();
}

void Tvelpf::openStepTwo()
{
    if (m_comp.lines.empty()) return;
    calculation().price(m_comp.lines);
    if (!m_step2) m_step2 = new Tvelpf1(ctx(), this);
    m_step2->start(m_comp);
    // This step closes; closing the second step in any way returns to
    // where this one was opened from.
    hide();
    m_step2->exec();
    reject();
}

} // namespace fm
