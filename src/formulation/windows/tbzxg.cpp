#include "formulation/windows/tbzxg.h"

#include "data/dberror.h"
#include "formulation/standards.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kDelete = QStringLiteral("删除当前标准");
const QString kShow = QStringLiteral("显示当前标准");

} // namespace

Tbzxg::Tbzxg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("营养因素标准修改"));
    resize(900, 560);

    m_list = chooser("standards", NutrientStandards::kPlaceholder, true);
    m_list->setMinimumWidth(200);
    m_newName = input("newName", NutrientStandards::kNameLength);
    m_newCode = input("newCode", NutrientStandards::kCodeLength);
    for (int n : standardEntryOrder()) {
        QLineEdit *e = input(qPrintable(factorCode(n)), 14);
        e->setAlignment(Qt::AlignRight);
        m_inputs[size_t(n)] = e;
    }
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("放弃"), "cancel", [this] {
        if (m_adding) {
            clearFactorInputs(m_inputs);
            chain().reach(m_newName);
            return;
        }
        if (m_id)
            if (const auto st = NutrientStandards(session(), *this->ctx().clock).byId(m_id))
                showFactorValues(m_inputs, st->values);
        chain().reach(m_list);
    });
    m_add = button(QStringLiteral("增加新标准"), "add", [this] { startAdding(); });
    m_delete = button(kDelete, "delete", [this] {
        if (m_adding) showEditMode();
        else deleteStandard();
    });
    QPushButton *close = button(QStringLiteral("退出"), "close", [this] { reject(); });

    auto *head = new QWidget(this);
    auto *hl = new QHBoxLayout(head);
    hl->setContentsMargins(0, 0, 0, 0);
    m_listCaption = labelFor(QStringLiteral("标准种类："), m_list, head);
    m_newNameCaption = labelFor(QStringLiteral("新标准名称："), m_newName, head);
    m_newCodeCaption = labelFor(QStringLiteral("代码："), m_newCode, head);
    hl->addWidget(m_listCaption);
    hl->addWidget(m_list);
    hl->addWidget(m_newNameCaption);
    hl->addWidget(m_newName);
    hl->addWidget(m_newCodeCaption);
    hl->addWidget(m_newCode);
    hl->addStretch();

    auto *values = new QGroupBox(QStringLiteral("营养因素标准"), this);
    values->setLayout(factorGrid(values, m_inputs, standardEntryOrder(),
                                 [](int n) { return fm::factor(n).standardLabel; }, 3));

    auto *root = new QVBoxLayout(this);
    root->addWidget(head);
    root->addWidget(values, 1);
    root->addLayout(buttonRow({m_confirm, m_cancel, m_add, m_delete, close}));

    chain()
        .step(m_list, [this] { return chooseStandard() ? Go::to(m_inputs[0]) : Go::stay(); })
        .step(m_newName, [this] { return m_newName->text().trimmed().isEmpty() ? Go::stay() : Go::advance(); })
        .step(m_newCode, [this] {
            m_code = NutrientStandards(session(), *this->ctx().clock).checkNewCode(m_newCode->text());
            clearFactorInputs(m_inputs);
            return Go::to(m_inputs[0]);
        });
    for (int n : standardEntryOrder()) {
        QLineEdit *e = m_inputs[size_t(n)];
        chain().step(e,
                     [e] {
                         NutrientStandards::checkValue(e->text());
                         return Go::advance();
                     },
                     StepOptions{QStringLiteral("0"), false, false, {}});
    }
    chain().step(m_confirm,
                 [this] {
                     store();
                     return Go::done();
                 },
                 StepOptions{QString(), false, false, {m_cancel}});

    connect(m_list, qOverload<int>(&QComboBox::activated), this, [this] { chain().run(m_list); });
    connect(m_list, &QComboBox::editTextChanged, this, [this] { updateDelete(); });
}

void Tbzxg::activate()
{
    m_id = 0;
    m_code.clear();
    showEditMode();
}

void Tbzxg::reloadList(const QString &shown)
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    guarded([this] {
        for (const NutrientStandard &s : NutrientStandards(session(), *ctx().clock).all()) m_list->addItem(s.name, s.id);
    });
    m_list->setCurrentIndex(-1);
    m_list->setEditText(shown);
}

bool Tbzxg::chooseStandard()
{
    const QString name = m_list->currentText().trimmed();
    updateDelete();
    if (name.isEmpty() || name == NutrientStandards::kPlaceholder) return false;
    const auto st = NutrientStandards(session(), *ctx().clock).findByName(name);
    if (!st) return false;
    m_id = st->id;
    showFactorValues(m_inputs, st->values);
    return true;
}

void Tbzxg::store()
{
    FactorValues v{};
    for (int n : standardEntryOrder()) v[size_t(n)] = NutrientStandards::checkValue(m_inputs[size_t(n)]->text());
    NutrientStandards standards(session(), *ctx().clock);
    if (m_adding) {
        m_id = standards.add(m_code, m_newName->text(), v);
        m_newName->clear();
        m_newCode->clear();
        m_code.clear();
        chain().reach(m_newName);
        return;
    }
    if (!m_id) return;
    standards.update(m_id, v);
    chain().reach(m_list);
}

void Tbzxg::startAdding()
{
    m_adding = true;
    m_listCaption->hide();
    m_list->hide();
    for (QWidget *w : {static_cast<QWidget *>(m_newNameCaption), static_cast<QWidget *>(m_newName),
                       static_cast<QWidget *>(m_newCodeCaption), static_cast<QWidget *>(m_newCode)})
        w->show();
    m_newName->clear();
    m_newCode->clear();
    clearFactorInputs(m_inputs);
    m_delete->setText(kShow);
    m_delete->setAccessibleName(kShow);
    m_delete->setEnabled(true);
    chain().reach(m_newName);
}

void Tbzxg::showEditMode()
{
    m_adding = false;
    for (QWidget *w : {static_cast<QWidget *>(m_newNameCaption), static_cast<QWidget *>(m_newName),
                       static_cast<QWidget *>(m_newCodeCaption), static_cast<QWidget *>(m_newCode)})
        w->hide();
    m_listCaption->show();
    m_list->show();
    m_delete->setText(kDelete);
    m_delete->setAccessibleName(kDelete);
    clearFactorInputs(m_inputs);
    reloadList();
    chain().reset();
    updateDelete();
}

void Tbzxg::deleteStandard()
{
    const QString name = m_list->currentText().trimmed();
    if (name.isEmpty() || name == NutrientStandards::kPlaceholder) return;
    NutrientStandards standards(session(), *ctx().clock);
    if (ask(QStringLiteral("确认删除标准:") + name + QStringLiteral("?"))) {
        if (const auto st = standards.findByName(name)) standards.remove(st->id);
    }
    // Yes or No, the list shows the first standard.
    const std::vector<NutrientStandard> all = standards.all();
    m_id = 0;
    clearFactorInputs(m_inputs);
    reloadList(all.empty() ? QString() : all.front().name);
    chain().reset();
    updateDelete();
}

void Tbzxg::updateDelete()
{
    if (m_adding) return;
    const QString t = m_list->currentText().trimmed();
    m_delete->setEnabled(!t.isEmpty() && t != NutrientStandards::kPlaceholder);
}

} // namespace fm
