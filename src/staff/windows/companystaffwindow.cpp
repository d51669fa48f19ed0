#include "staff/windows/companystaffwindow.h"

#include "staff/companystaff.h"
#include "staff/windows/staffgrid.h"
#include "ui/enterchain.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace fm {

namespace {

const QString kDeptPlaceholder = QStringLiteral("部门");
const QString kNamePlaceholder = QStringLiteral("姓名");
const QString kCodePlaceholder = QStringLiteral("代码");

QComboBox *departmentList(QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->addItem(kDeptPlaceholder);
    c->addItems(CompanyStaff::departments());
    c->setMinimumWidth(160);
    return c;
}

// A list of names or codes that also takes a typed entry.
QComboBox *staffChooser(QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(160);
    return c;
}

void setPlaceholder(QComboBox *c, const QString &text)
{
    c->setCurrentIndex(-1);
    c->setEditText(text);
}

// The operator a chooser names: the entry chosen, or else the first entry
// (table order) equal to the typed text, letter case ignored. 0 for none.
qint64 chosenId(const QComboBox *c, const QString &placeholder)
{
    const QString typed = c->currentText().trimmed();
    if (typed.isEmpty() || typed == placeholder) return 0;
    const int index = c->currentIndex();
    if (index >= 0 && c->itemText(index).trimmed() == typed) return c->itemData(index).toLongLong();
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).trimmed().compare(typed, Qt::CaseInsensitive) == 0) return c->itemData(i).toLongLong();
    return 0;
}

QPushButton *staffButton(const char *text, QWidget *parent)
{
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setMinimumWidth(72);
    return b;
}

// A tab: the inputs on the left, the operators on the right, the buttons below.
QWidget *page(QWidget *tab, QFormLayout *form, const QList<QPushButton *> &buttons, QTableWidget *grid)
{
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setVerticalSpacing(12);
    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addLayout(left);
    top->addWidget(grid, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons) row->addWidget(b);
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addLayout(row);
    return tab;
}

QTableWidget *operatorGrid(QWidget *parent)
{
    auto *grid = staffgrid::make(parent, {QStringLiteral("代码"), QStringLiteral("姓名"), QStringLiteral("部门")});
    grid->setMinimumWidth(320);
    return grid;
}

} // namespace

Tzx_ry::Tzx_ry(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("公司高级人员管理"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildTakeOn(), QStringLiteral("公司职员调入"));
    m_tabs->addTab(buildRemove(), QStringLiteral("公司职员调出"));
    m_tabs->addTab(buildChange(), QStringLiteral("职员信息修改"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(720, 400);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget *first[] = {m_inName, m_outName, m_chName};
        if (index >= 0 && index < 3 && first[index]->isEnabled()) first[index]->setFocus();
    });
}

QWidget *Tzx_ry::buildTakeOn()
{
    auto *tab = new QWidget(this);
    m_inName = new QLineEdit(tab);
    m_inName->setMaxLength(10);
    m_inDept = departmentList(tab);
    m_inCode = new QLineEdit(tab);
    m_inCode->setMaxLength(CompanyStaff::kCodeLength);
    m_inPassword = new QLineEdit(tab);
    m_inPassword->setMaxLength(kPasswordMaxLength);
    m_inPassword->setEchoMode(QLineEdit::Password);
    m_inPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_inConfirm = staffButton("确认", tab);
    m_inDiscard = staffButton("放弃", tab);
    auto *quit = staffButton("退出", tab);
    m_inGrid = operatorGrid(tab);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("职员姓名："), m_inName);
    form->addRow(QStringLiteral("部    门："), m_inDept);
    form->addRow(QStringLiteral("操作代码："), m_inCode);
    form->addRow(QStringLiteral("操作密码："), m_inPassword);

    enter().on(m_inName, [this] {
        if (m_inName->text().trimmed().isEmpty()) return;
        EnterChain::advance(m_inDept);
    });
    auto deptChosen = [this] {
        if (m_inDept->currentIndex() <= 0) return;
        EnterChain::advance(m_inCode);
    };
    enter().on(m_inDept, deptChosen);
    connect(m_inDept, QOverload<int>::of(&QComboBox::activated), this, deptChosen);
    enter().on(m_inCode, [this] { takeOnCodeEntered(); });
    enter().on(m_inPassword, [this] {
        if (m_inPassword->text().trimmed().isEmpty()) return;
        m_inConfirm->setEnabled(true);
        m_inDiscard->setEnabled(true);
        m_inConfirm->setFocus();
    });
    connect(m_inConfirm, &QPushButton::clicked, this, &Tzx_ry::confirmTakeOn);
    connect(m_inDiscard, &QPushButton::clicked, this, &Tzx_ry::resetTakeOn);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    return page(tab, form, {m_inConfirm, m_inDiscard, quit}, m_inGrid);
}

QWidget *Tzx_ry::buildRemove()
{
    auto *tab = new QWidget(this);
    m_outName = staffChooser(tab);
    m_outCode = staffChooser(tab);
    m_outDept = new QLineEdit(tab);
    m_outDept->setReadOnly(true);
    m_outConfirm = staffButton("确认", tab);
    m_outDiscard = staffButton("放弃", tab);
    auto *quit = staffButton("退出", tab);
    m_outGrid = operatorGrid(tab);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("职员姓名："), m_outName);
    form->addRow(QStringLiteral("职员代码："), m_outCode);
    form->addRow(QStringLiteral("部    门："), m_outDept);

    connect(m_outName, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { chooseForRemoval(m_outName->itemData(index).toLongLong(), true); });
    connect(m_outCode, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { chooseForRemoval(m_outCode->itemData(index).toLongLong(), false); });
    enter().on(m_outName, [this] { chooseForRemoval(chosenId(m_outName, kNamePlaceholder), true); });
    enter().on(m_outCode, [this] { chooseForRemoval(chosenId(m_outCode, kCodePlaceholder), false); });
    connect(m_outConfirm, &QPushButton::clicked, this, &Tzx_ry::confirmRemoval);
    connect(m_outDiscard, &QPushButton::clicked, this, &Tzx_ry::resetRemove);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    return page(tab, form, {m_outConfirm, m_outDiscard, quit}, m_outGrid);
}

QWidget *Tzx_ry::buildChange()
{
    auto *tab = new QWidget(this);
    m_chName = staffChooser(tab);
    m_chDept = departmentList(tab);
    m_chCode = new QLineEdit(tab);
    m_chCode->setMaxLength(CompanyStaff::kCodeLength);
    m_chConfirm = staffButton("确认", tab);
    m_chDiscard = staffButton("放弃", tab);
    auto *quit = staffButton("退出", tab);
    m_chGrid = operatorGrid(tab);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("职员姓名："), m_chName);
    form->addRow(QStringLiteral("部    门："), m_chDept);
    form->addRow(QStringLiteral("职员代码："), m_chCode);

    connect(m_chName, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { chooseForChange(m_chName->itemData(index).toLongLong()); });
    enter().on(m_chName, [this] { chooseForChange(chosenId(m_chName, kNamePlaceholder)); });
    enter().on(m_chDept, [this] { changeDeptChosen(); });
    connect(m_chDept, QOverload<int>::of(&QComboBox::activated), this, [this] { changeDeptChosen(); });
    enter().on(m_chCode, [this] { changeCodeEntered(); });
    connect(m_chConfirm, &QPushButton::clicked, this, &Tzx_ry::confirmChange);
    connect(m_chDiscard, &QPushButton::clicked, this, &Tzx_ry::resetChange);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    return page(tab, form, {m_chConfirm, m_chDiscard, quit}, m_chGrid);
}

void Tzx_ry::activate()
{
    reload();
    resetRemove();
    setPlaceholder(m_outName, kNamePlaceholder);
    resetChange();
    m_tabs->setCurrentIndex(0);
    resetTakeOn();
}

void Tzx_ry::reload()
{
    std::vector<Operator> ops;
    guarded([&] { ops = CompanyStaff(session()).all(); });
    for (QTableWidget *grid : {m_inGrid, m_outGrid, m_chGrid}) {
        grid->setRowCount(0);
        for (const Operator &o : ops) staffgrid::addRow(grid, o.id, {o.code, o.name, o.dept});
        staffgrid::fit(grid);
    }
    // Refilled lists keep what each tab shows, so work in another tab goes on.
    for (QComboBox *c : {m_outName, m_outCode, m_chName}) {
        const qint64 shown = c->currentIndex() >= 0 ? c->currentData().toLongLong() : 0;
        const QString text = c->currentText();
        c->clear();
        for (const Operator &o : ops) c->addItem(c == m_outCode ? o.code : o.name, o.id);
        const int index = shown ? c->findData(shown) : -1;
        c->setCurrentIndex(index);
        if (index < 0) c->setEditText(text);
    }
}

// --- taking on --------------------------------------------------------------

void Tzx_ry::resetTakeOn()
{
    m_inName->clear();
    m_inCode->clear();
    m_inPassword->clear();
    m_inDept->setCurrentIndex(0);
    for (QWidget *w : std::initializer_list<QWidget *>{m_inDept, m_inCode, m_inPassword, m_inConfirm, m_inDiscard})
        w->setEnabled(false);
    m_inName->setFocus();
}

void Tzx_ry::takeOnCodeEntered()
{
    if (m_inCode->text().trimmed().isEmpty()) return;
    if (!guarded([this] { CompanyStaff(session()).checkCode(m_inCode->text()); })) {
        m_inCode->clear();
        m_inCode->setFocus();
        return;
    }
    EnterChain::advance(m_inPassword);
}

void Tzx_ry::confirmTakeOn()
{
    const bool done = guarded([this] {
        CompanyStaff(session()).takeOn(m_inName->text(), m_inDept->currentText(), m_inCode->text(),
                                       m_inPassword->text());
    });
    if (!done) return;
    reload();
    resetTakeOn();
}

// --- removing ---------------------------------------------------------------

void Tzx_ry::resetRemove()
{
    m_outId = 0;
    setPlaceholder(m_outCode, kCodePlaceholder);
    setPlaceholder(m_outName, QString());
    m_outDept->setText(kDeptPlaceholder);
    m_outConfirm->setEnabled(false);
    m_outDiscard->setEnabled(false);
}

void Tzx_ry::chooseForRemoval(qint64 id, bool byName)
{
    if (id <= 0) return;
    std::optional<Operator> op;
    guarded([&] { op = Operators(session()).byId(id); });
    if (!op) return;
    m_outId = op->id;
    m_outDept->setText(op->dept);
    if (byName) {
        m_outCode->setCurrentIndex(m_outCode->findData(op->id));
    } else {
        m_outName->setCurrentIndex(m_outName->findData(op->id));
    }
    m_outConfirm->setEnabled(true);
    m_outDiscard->setEnabled(true);
    m_outConfirm->setFocus();
}

void Tzx_ry::confirmRemoval()
{
    if (!m_outId) return;
    if (!guarded([this] { CompanyStaff(session(), ctx().operatorCode).remove(m_outId); })) return;
    reload();
    resetRemove();
    m_outName->setFocus();
}

// --- changing ---------------------------------------------------------------

void Tzx_ry::resetChange()
{
    m_chId = 0;
    setPlaceholder(m_chName, kNamePlaceholder);
    m_chDept->setCurrentIndex(0);
    m_chCode->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{m_chDept, m_chCode, m_chConfirm, m_chDiscard})
        w->setEnabled(false);
}

void Tzx_ry::chooseForChange(qint64 id)
{
    if (id <= 0) return;
    std::optional<Operator> op;
    guarded([&] { op = Operators(session()).byId(id); });
    if (!op) return;
    m_chId = op->id;
    // A department outside the list leaves the placeholder: one must be chosen.
    m_chDept->setCurrentIndex(qMax(0, m_chDept->findText(op->dept)));
    m_chCode->setText(op->code);
    m_chCode->setEnabled(false);
    m_chConfirm->setEnabled(false);
    m_chDiscard->setEnabled(false);
    EnterChain::advance(m_chDept);
}

void Tzx_ry::changeDeptChosen()
{
    if (!m_chId || m_chDept->currentIndex() <= 0) return;
    EnterChain::advance(m_chCode);
}

void Tzx_ry::changeCodeEntered()
{
    if (!m_chId) return;
    // A changed code passes the same checks as a new one.
    if (!guarded([this] { CompanyStaff(session()).checkCode(m_chCode->text(), m_chId); })) {
        m_chCode->clear();
        m_chCode->setFocus();
        return;
    }
    m_chConfirm->setEnabled(true);
    m_chDiscard->setEnabled(true);
    m_chConfirm->setFocus();
}

void Tzx_ry::confirmChange()
{
    if (!m_chId) return;
    const bool done = guarded([this] {
        CompanyStaff(session(), ctx().operatorCode).change(m_chId, m_chDept->currentText(), m_chCode->text());
    });
    if (!done) return;
    reload();
    resetChange();
    m_chName->setFocus();
}

} // namespace fm
