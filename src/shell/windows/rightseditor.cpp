#include "shell/windows/rightseditor.h"

#include "shell/menutable.h"
#include "shell/operators.h"
#include "ui/layouts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

namespace {

const QString kPlaceholder = QStringLiteral("姓名");

// The boxes are grouped under the top menus they belong to.
struct Group {
    const char *title;
    int first;
    int last;
};
const Group kGroups[] = {
    {"生产管理", 1, 15}, {"销售管理", 16, 19}, {"数据处理", 20, 30}, {"数据查询", 31, 39},
    {"数据管理", 40, 45}, {"系统管理", 46, 59}, {"配方管理", 60, 64}, {"仓储管理", 65, 70},
};

} // namespace

RightsEditor::RightsEditor(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("人员权限设置"));
    m_names->setAccessibleName(kPlaceholder);
    auto *top = new QHBoxLayout;
    top->addWidget(m_names);
    top->addSpacing(16);
    top->addWidget(labelFor(QStringLiteral("部门："), m_dept, this));
    top->addWidget(m_dept);
    top->addWidget(labelFor(QStringLiteral("人员代码："), m_code, this));
    top->addWidget(m_code);

    auto *groups = new QGridLayout;
    const std::vector<QString> &captions = rightsCaptions();
    m_boxes.resize(kRightsPositions);
    int g = 0;
    for (const Group &grp : kGroups) {
        auto *box = new QGroupBox(QString::fromUtf8(grp.title), this);
        auto *grid = new QGridLayout(box);
        grid->setVerticalSpacing(2);
        int i = 0;
        for (int p = grp.first; p <= grp.last; ++p, ++i) {
            auto *cb = new QCheckBox(captions[p - 1], box);
            m_boxes[p - 1] = cb;
            grid->addWidget(cb, i % 8, i / 8);
        }
        groups->addWidget(box, g / 4, g % 4, Qt::AlignTop);
        ++g;
    }

    QHBoxLayout *buttons = buttonRow({m_confirm, button(QStringLiteral("放弃"), "discard", [this] { discard(); }),
                                      button(QStringLiteral("退出"), "quit", [this] { accept(); })});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(m_names, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        const qint64 id = m_names->itemData(index).toLongLong();
        if (id > 0) load(id);
    });
    // The name is the one field typed; the boxes are ticked in any order.
    chain().on(m_names, [this] {
        loadTyped();
        if (m_loaded) m_boxes.front()->setFocus();
    });
    // Typing another name unloads the operator: the boxes no longer belong to the name shown.
    connect(m_names, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (m_loaded && text.trimmed() != m_loadedName) {
            m_loaded = 0;
            m_confirm->setEnabled(false);
        }
    });
}

void RightsEditor::activate()
{
    m_names->clear();
    guarded([this] {
        for (const Operator &o : Operators(session()).all())
            m_names->addItem(o.name, o.id);
    });
    clearForm();
}

void RightsEditor::loadTyped()
{
    const QString typed = m_names->currentText().trimmed();
    if (typed.isEmpty() || typed == kPlaceholder) return;
    // The chosen entry names its operator; a typed name means the first of that name.
    const int index = m_names->currentIndex();
    if (index >= 0 && m_names->itemText(index).trimmed() == typed) {
        load(m_names->itemData(index).toLongLong());
        return;
    }
    for (int i = 0; i < m_names->count(); ++i) {
        if (m_names->itemText(i).trimmed().compare(typed, Qt::CaseInsensitive) == 0) {
            load(m_names->itemData(i).toLongLong());
            return;
        }
    }
}

void RightsEditor::load(qint64 id)
{
    guarded([&] {
        const auto op = Operators(session()).byId(id);
        if (!op) return;
        m_loaded = op->id;
        m_loadedName = op->name;
        m_dept->setText(op->dept);
        m_code->setText(op->code);
        // Every box shows the right the main window would apply, so nothing
        // of the previous operator stays behind.
        const std::vector<bool> rights = effectiveRights(op->rights);
        for (int p = 0; p < kRightsPositions; ++p) m_boxes[p]->setChecked(rights[p]);
        m_confirm->setEnabled(true);
    });
}

void RightsEditor::confirm()
{
    if (!m_loaded) return;
    std::vector<bool> granted(kRightsPositions);
    for (int p = 0; p < kRightsPositions; ++p) granted[p] = m_boxes[p]->isChecked();
    QString stored;
    if (!guarded([&] { stored = Operators(session()).setRights(m_loaded, granted); })) return;
    inform(composeRights(QString(), granted) + QLatin1Char(' ') + stored);
    clearForm();
}

void RightsEditor::discard()
{
    clearForm();
}

void RightsEditor::clearForm()
{
    m_loaded = 0;
    for (QCheckBox *b : m_boxes) b->setChecked(false);
    m_dept->clear();
    m_code->clear();
    m_names->setCurrentIndex(-1);
    m_names->setEditText(kPlaceholder);
    m_confirm->setEnabled(false);
    m_names->setFocus();
}

} // namespace fm
