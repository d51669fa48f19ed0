#include "staff/windows/companystaffwindow.h"

#include "staff/companystaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kDeptPlaceholder = QStringLiteral("部门");
const QString kNamePlaceholder = QStringLiteral("姓名");
const QString kCodePlaceholder = QStringLiteral("代码");

Grid *operatorGrid(QWidget *parent, const char *name)
{
    auto *grid = new Grid(QStringList{QStringLiteral("代码"), QStringLiteral("姓名"), QStringLiteral("部门")}, parent, name);
    grid->setMinimumWidth(320);
    return grid;
}

void showOperators(Grid *grid, const std::vector<Operator> &ops)
{
    std::vector<GridRow> rows;
    for (const Operator &o : ops) rows.push_back({o.id, {o.code, o.name, o.dept}});
    grid->setRows(std::move(rows));
}

// The departments a clerk chooses from, under their placeholder.
void fillDepartments(QComboBox *c)
{
    c->addItem(kDeptPlaceholder);
    c->addItems(CompanyStaff::departments());
}

void setPlaceholder(QComboBox *c, const QString &text)
{
    c->setCurrentIndex(-1);
    c->setEditText(text);
}

// Refilled, a list of operators keeps what it shows.
void fillOperators(QComboBox *c, const std::vector<Operator> &ops, bool codes)
{
    const qint64 shown = c->currentIndex() >= 0 ? c->currentData().toLongLong() : 0;
    const QString text = c->currentText();
    c->clear();
    for (const Operator &o : ops) c->addItem(codes ? o.code : o.name, o.id);
    const int index = shown ? c->findData(shown) : -1;
    c->setCurrentIndex(index);
    if (index < 0) c->setEditText(text);
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

// A page: the fields on the left, the operators on the right, the buttons below.
void layOut(QWidget *page, QWidget *fields, Grid *grid, const QList<QPushButton *> &buttons)
{
    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    auto *left = new QVBoxLayout;
    left->addWidget(fields);
    left->addStretch();
    top->addLayout(left);
    top->addWidget(grid, 1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addLayout(buttonRow(buttons));
}

QWidget *fieldsOf(QWidget *page, const QList<std::pair<QString, QWidget *>> &fields)
{
    auto *box = new QWidget(page);
    FieldGrid grid(box, 1);
    grid.layout()->setContentsMargins(0, 0, 0, 0);
    grid.layout()->setVerticalSpacing(12);
    for (const auto &f : fields) grid.add(f.first, f.second);
    box->setMinimumWidth(260);
    return box;
}

} // namespace

// --- taking on --------------------------------------------------------------

TakeOnPage::TakeOnPage(AppContext &ctx, QWidget *parent)
    : FormPage(ctx, parent), dept(chooser("takeOnDept")), code(input("takeOnCode", CompanyStaff::kCodeLength)),
      password(passwordInput("takeOnPassword", kPasswordMaxLength)), grid(operatorGrid(this, "takeOnGrid"))
{
    fillDepartments(dept);
    layOut(this,
           fieldsOf(this, {{QStringLiteral("职员姓名："), name},
                           {QStringLiteral("部    门："), dept},
                           {QStringLiteral("操作代码："), code},
                           {QStringLiteral("操作密码："), password}}),
           grid, {confirm, m_discard, button(QStringLiteral("退出"), "takeOnQuit", [this] { window()->close(); })});
    setFocusProxy(name);

    chain()
        .step(name, [] { return Go::advance(); })
        .step(dept, [this] { return dept->currentIndex() > 0 ? Go::advance() : Go::stay(); })
        .step(code,
              [this] {
                  emptyIfRefused(code, [&] { CompanyStaff(session()).checkCode(code->text()); });
                  return Go::advance();
              })
        .step(password, [] { return Go::advance(); })
        .step(confirm,
              [this] {
                  CompanyStaff(session()).takeOn(name->text(), dept->currentText(), code->text(), password->text());
                  emit operatorsChanged();
                  activate();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_discard}});
    connect(dept, &QComboBox::activated, this, [this] { chain().run(dept); });
}

void TakeOnPage::activate()
{
    for (QLineEdit *e : {name, code, password}) e->clear();
    dept->setCurrentIndex(0);
    chain().reset();
}

void TakeOnPage::refresh()
{
    guarded([this] { showOperators(grid, CompanyStaff(session()).all()); });
}

// --- removing ---------------------------------------------------------------

RemovePage::RemovePage(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent), grid(operatorGrid(this, "removeGrid"))
{
    layOut(this,
           fieldsOf(this, {{QStringLiteral("职员姓名："), name},
                           {QStringLiteral("职员代码："), code},
                           {QStringLiteral("部    门："), dept}}),
           grid, {confirm, m_discard, button(QStringLiteral("退出"), "removeQuit", [this] { window()->close(); })});
    setFocusProxy(name);

    chain().step(confirm,
                 [this] {
                     if (!m_id) return Go::stay();
                     CompanyStaff(session(), this->ctx().operatorCode).remove(m_id);
                     emit operatorsChanged();
                     activate();
                     setPlaceholder(name, QString());
                     name->setFocus();
                     return Go::done();
                 },
                 StepOptions{QString(), false, false, {m_discard}});
    // Name and code are two ways to the same operator, not steps.
    chain().on(name, [this] { choose(chosenId(name, kNamePlaceholder), true); });
    chain().on(code, [this] { choose(chosenId(code, kCodePlaceholder), false); });
    connect(name, &QComboBox::activated, this, [this](int i) { guarded([&] { choose(name->itemData(i).toLongLong(), true); }); });
    connect(code, &QComboBox::activated, this, [this](int i) { guarded([&] { choose(code->itemData(i).toLongLong(), false); }); });
}

void RemovePage::activate()
{
    m_id = 0;
    setPlaceholder(code, kCodePlaceholder);
    setPlaceholder(name, kNamePlaceholder);
    dept->setText(kDeptPlaceholder);
    chain().disableAll();
}

void RemovePage::refresh()
{
    guarded([this] {
        const std::vector<Operator> ops = CompanyStaff(session()).all();
        showOperators(grid, ops);
        fillOperators(name, ops, false);
        fillOperators(code, ops, true);
    });
}

void RemovePage::choose(qint64 id, bool byName)
{
    if (id <= 0) return;
    const auto op = Operators(session()).byId(id);
    if (!op) return;
    m_id = op->id;
    dept->setText(op->dept);
    QComboBox *other = byName ? code : name;
    other->setCurrentIndex(other->findData(op->id));
    chain().reach(confirm);
}

// --- changing ---------------------------------------------------------------

ChangePage::ChangePage(AppContext &ctx, QWidget *parent)
    : FormPage(ctx, parent), dept(chooser("changeDept")), code(input("changeCode", CompanyStaff::kCodeLength)),
      grid(operatorGrid(this, "changeGrid"))
{
    fillDepartments(dept);
    layOut(this,
           fieldsOf(this, {{QStringLiteral("职员姓名："), name},
                           {QStringLiteral("部    门："), dept},
                           {QStringLiteral("职员代码："), code}}),
           grid, {confirm, m_discard, button(QStringLiteral("退出"), "changeQuit", [this] { window()->close(); })});
    setFocusProxy(name);

    chain()
        .step(name,
              [this] {
                  const qint64 id = chosenId(name, kNamePlaceholder);
                  const auto op = id > 0 ? Operators(session()).byId(id) : std::nullopt;
                  if (!op) return Go::stay();
                  m_id = op->id;
                  // A department outside the list leaves the placeholder: one must be chosen.
                  dept->setCurrentIndex(qMax(0, dept->findText(op->dept)));
                  code->setText(op->code);
                  return Go::advance();
              })
        .step(dept, [this] { return dept->currentIndex() > 0 ? Go::advance() : Go::stay(); })
        .step(code,
              [this] {
                  // A changed code passes the same checks as a new one.
                  emptyIfRefused(code, [&] { CompanyStaff(session()).checkCode(code->text(), m_id); });
                  return Go::advance();
              })
        .step(confirm,
              [this] {
                  CompanyStaff(session(), this->ctx().operatorCode).change(m_id, dept->currentText(), code->text());
                  emit operatorsChanged();
                  activate();
                  return Go::done();
              },
              StepOptions{QString(), false, false, {m_discard}});
    connect(name, &QComboBox::activated, this, [this] { chain().run(name); });
    connect(dept, &QComboBox::activated, this, [this] { chain().run(dept); });
}

void ChangePage::activate()
{
    m_id = 0;
    setPlaceholder(name, kNamePlaceholder);
    dept->setCurrentIndex(0);
    code->clear();
    chain().reset();
}

void ChangePage::refresh()
{
    guarded([this] {
        const std::vector<Operator> ops = CompanyStaff(session()).all();
        showOperators(grid, ops);
        fillOperators(name, ops, false);
    });
}

// --- the window -------------------------------------------------------------

Tzx_ry::Tzx_ry(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_tabs(new QTabWidget(this)), m_takeOn(new TakeOnPage(ctx, this)),
      m_remove(new RemovePage(ctx, this)), m_change(new ChangePage(ctx, this)), m_pages{m_takeOn, m_remove, m_change}
{
    setWindowTitle(QStringLiteral("公司高级人员管理"));
    m_tabs->addTab(m_takeOn, QStringLiteral("公司职员调入"));
    m_tabs->addTab(m_remove, QStringLiteral("公司职员调出"));
    m_tabs->addTab(m_change, QStringLiteral("职员信息修改"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(720, 400);

    // What one page changes, the lists of every page show.
    const auto refreshAll = [this] {
        for (FormPage *p : m_pages) p->refresh();
    };
    connect(m_takeOn, &TakeOnPage::operatorsChanged, this, refreshAll);
    connect(m_remove, &RemovePage::operatorsChanged, this, refreshAll);
    connect(m_change, &ChangePage::operatorsChanged, this, refreshAll);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) m_pages[size_t(index)]->setFocus();
    });
}

void Tzx_ry::activate()
{
    for (FormPage *p : m_pages) {
        p->refresh();
        p->activate();
    }
    m_tabs->setCurrentIndex(0);
    m_takeOn->setFocus();
}

} // namespace fm
