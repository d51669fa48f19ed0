#include "production/windows/tscgl.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "production/productionteams.h"
#include "production/windows/productionfields.h"
#include "production/windows/tvelsc.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "warehouse/windows/warehousefields.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tscgl::Tscgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产管理"));
    m_team = input("team", 2);
    m_previousTeam = input("previousTeam", 2);
    m_formula = input("formula", 6);
    m_formulaName = display("formulaName");
    m_category = display("category");
    m_date = dateInput("date");
    allowBlank(m_date, *ctx.clock);
    m_production = input("production", 12);
    m_reprocessed = input("reprocessed", 12);
    // Computed; Enter in it draws the run's lines.
    m_actual = input("actual");
    m_actual->setReadOnly(true);
    m_cost = button(QStringLiteral("确认"), "cost");
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] { cancelRun(); });
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirmRun(); });

    auto *teams = new QGroupBox(this);
    FieldGrid(teams, 2).add(QStringLiteral("本次班组："), m_team).add(QStringLiteral("上次班组："), m_previousTeam);

    auto *formula = new QGroupBox(this);
    FieldGrid(formula, 2)
        .add(QStringLiteral("输入配方号："), m_formula)
        .add(QStringLiteral("配方名称："), m_formulaName)
        .add(QStringLiteral("产品类别:"), m_category)
        .add(QStringLiteral("生产日期:"), m_date)
        .add(QStringLiteral("生产数量："), m_production, QStringLiteral("(公斤)"))
        .add(QStringLiteral("其中：回机："), m_reprocessed, QStringLiteral("(公斤)"))
        .add(QStringLiteral("实际生产："), m_actual, QStringLiteral("(公斤)"));

    auto *left = new QVBoxLayout;
    left->addWidget(teams);
    left->addWidget(formula);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttonColumn({button(QStringLiteral("配方查询"), "formulaQuery", [this] { openFunction(Fn::FormulaDisplay); }),
                                 button(QStringLiteral("生产配方显示"), "workshopQuery", [this] { openFunction(Fn::WorkshopQuery); }),
                                 button(QStringLiteral("生产输入"), "productionInput", [this] {
                                     Tvelsc w(this->ctx(), this);
                                     w.run();
                                 })}));

    m_lines = new Grid({textColumn("原料名称", "ylmc"), numberColumn("理论数量(公斤)", "lrsl"), textColumn("班组", "bzdm"),
                        textColumn("上次班组", "bzdm0"), textColumn("配方号", "pfhm"), numberColumn("价格(元/吨)", "yljg"),
                        textColumn("日期", "rq_1")},
                       this, "runLines");
    m_lines->setStretchColumn(0);
    auto *recipe = new QGroupBox(QStringLiteral("生产配方"), this);
    auto *recipeLayout = new QHBoxLayout(recipe);
    recipeLayout->addWidget(m_lines, 1);
    recipeLayout->addLayout(buttonColumn({m_cost, m_cancel}));

    auto *products = new QGroupBox(this);
    auto *grid = new QGridLayout(products);
    for (int i = 0; i < ProductionRuns::kSlots; ++i) {
        Slot &s = m_slots[size_t(i)];
        const QByteArray n = QByteArray::number(i + 1);
        s.code = input(QByteArray("code" + n).constData(), 20);
        s.spec = input(QByteArray("spec" + n).constData(), 5);
        s.name = input(QByteArray("name" + n).constData(), ProductionRuns::kNameLength);
        s.quantity = input(QByteArray("quantity" + n).constData(), 12);
        s.spec->setMaximumWidth(70);
        grid->addWidget(labelFor(QStringLiteral("产品代码(规格)："), s.code, products), i, 0);
        s.spec->setAccessibleName(QStringLiteral("规格%1").arg(i + 1));
        s.code->setAccessibleName(QStringLiteral("产品代码%1").arg(i + 1));
        grid->addWidget(s.code, i, 1);
        grid->addWidget(s.spec, i, 2);
        grid->addWidget(labelFor(QStringLiteral("产品名称："), s.name, products), i, 3);
        s.name->setAccessibleName(QStringLiteral("产品名称%1").arg(i + 1));
        grid->addWidget(s.name, i, 4);
        grid->addWidget(labelFor(QStringLiteral("数量(公斤)："), s.quantity, products), i, 5);
        s.quantity->setAccessibleName(QStringLiteral("数量%1").arg(i + 1));
        grid->addWidget(s.quantity, i, 6);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 2);
    grid->setColumnStretch(6, 1);
    grid->addLayout(buttonRow({m_confirm}), ProductionRuns::kSlots, 0, 1, 7);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(recipe, 1);
    layout->addWidget(products);
    resize(980, 760);

    chain()
        .step(m_team, [this] { return teamEntered(m_team, true); })
        .step(m_previousTeam, [this] { return teamEntered(m_previousTeam, false); })
        .step(m_formula, [this] { return formulaEntered(); })
        .step(m_date,
              [this] {
                  if (!dateOf(m_date).isValid()) m_date->setDate(this->ctx().clock->today());
                  return Go::advance();
              },
              StepOptions{QString(), true, false, {}})
        .step(m_production,
              [this] {
                  numberIn(m_production);
                  return Go::advance();
              },
              StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_reprocessed, [this] { return quantitiesEntered(); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_actual, [this] { return drawLines(); })
        .step(m_cost, [this] { return costRun(); });
    for (int i = 0; i < ProductionRuns::kSlots; ++i) {
        const Slot &s = m_slots[size_t(i)];
        chain()
            .step(s.code, [this, i] { return codeEntered(i); })
            .step(s.spec, [this, i] { return specEntered(i); })
            .step(s.name, [] { return Go::advance(); })
            .step(s.quantity, [this, i] { return quantityEntered(i); });
    }
}

void Tscgl::activate()
{
    m_run = ProductionRun();
    m_serial = 0;
    m_lines->clear();
    for (QLineEdit *e : {m_team, m_previousTeam, m_formula, m_formulaName, m_category, m_production, m_reprocessed})
        e->clear();
    m_actual->setText(QStringLiteral("0"));
    setBlank(m_date);
    clearSlots();
    setHeadLocked(false);
    m_cancel->setEnabled(false);
    m_confirm->setEnabled(false);
    chain().reset();
}

RunHead Tscgl::head() const
{
    RunHead h;
    h.team = m_team->text().trimmed();
    h.previousTeam = m_previousTeam->text().trimmed();
    h.formula = m_formula->text().trimmed();
    h.formulaName = m_formulaName->text();
    const QDate d = dateOf(m_date);
    h.date = dateText(d.isValid() ? d : ctx().clock->today());
    h.production = numberIn(m_production);
    h.reprocessed = numberIn(m_reprocessed);
    return h;
}

Go Tscgl::teamEntered(QLineEdit *field, bool first)
{
    const std::optional<QString> team = staffedTeam(session(), field->text());
    if (!team) return Go::stay(); // a team without staff: the next input stays closed
    field->setText(*team);
    if (first) {
        m_formula->clear();
        m_formulaName->clear();
        m_actual->setText(QStringLiteral("0"));
    }
    return Go::advance();
}

Go Tscgl::formulaEntered()
{
    m_date->setDate(ctx().clock->today());
    const QString flag = ProductionRuns::productFlag(m_formula->text());
    ProductionRuns r = runs();
    m_category->setText(r.categoryName(flag));
    const std::optional<FormulaHead> f = r.openFormula(m_formula->text());
    if (!f) {
        m_formulaName->clear();
        return Go::stay();
    }
    m_formulaName->setText(f->name);
    return Go::advance();
}

Go Tscgl::quantitiesEntered()
{
    const double production = numberIn(m_production);
    const double reprocessed = numberIn(m_reprocessed);
    m_actual->setText(numberText(production - reprocessed));
    return Go::to(m_actual);
}

Go Tscgl::drawLines()
{
    double actual = 0;
    if (!parseNumber(m_actual->text(), &actual) || actual == 0) return Go::stay();
    if (!ask(QStringLiteral("确认吗？"))) {
        for (QLineEdit *e : {m_actual, m_formula, m_formulaName}) e->clear();
        return Go::to(m_formula);
    }
    const RunHead h = head();
    if (h.reprocessed != 0) {
        inform(ProductionRuns::kReprocessed);
        return Go::stay();
    }
    m_run = runs().draw(h, m_serial);
    m_serial += int(m_run.lineIds.size());
    showLines();
    // The head is fixed while the run is open: drawing it twice would count twice.
    setHeadLocked(true);
    m_cancel->setEnabled(true);
    return Go::to(m_cost);
}

Go Tscgl::costRun()
{
    if (!m_run.isOpen()) return Go::stay();
    m_run.cost = runs().cost(m_run);
    m_cost->setEnabled(false);
    return Go::to(m_slots[0].code);
}

Go Tscgl::codeEntered(int i)
{
    const Slot &s = m_slots[size_t(i)];
    if (const auto name = runs().productName(s.code->text())) s.name->setText(*name);
    return Go::advance();
}

Go Tscgl::specEntered(int i)
{
    const Slot &s = m_slots[size_t(i)];
    return s.name->text().trimmed().isEmpty() ? Go::advance() : Go::to(s.quantity);
}

Go Tscgl::quantityEntered(int i)
{
    numberIn(m_slots[size_t(i)].quantity);
    m_confirm->setEnabled(true);
    if (i + 1 < ProductionRuns::kSlots) return Go::advance();
    return Go::to(m_confirm);
}

void Tscgl::confirmRun()
{
    if (!m_run.isOpen()) return;
    std::vector<ProductSlot> products;
    for (const Slot &s : m_slots) {
        double kg = 0;
        if (!s.code->text().trimmed().isEmpty() && !parseNumber(s.quantity->text(), &kg)) kg = -1;
        products.push_back({s.code->text(), s.spec->text(), s.name->text(), kg});
    }
    ProductionRuns r = runs();
    if (!guarded([&] { r.checkAllocation(m_run, products); })) {
        chain().reach(m_slots[0].code);
        return;
    }
    m_cost->setEnabled(false);
    m_confirm->setEnabled(false);
    if (!guarded([&] { r.confirm(m_run, products); })) {
        m_confirm->setEnabled(true);
        return;
    }
    m_run = ProductionRun();
    m_lines->clear();
    clearSlots();
    for (QLineEdit *e : {m_actual, m_production, m_reprocessed}) e->clear();
    m_cancel->setEnabled(false);
    setHeadLocked(false);
    // The formula number stays for the next run of the same team.
    chain().reach(m_formula);
}

void Tscgl::cancelRun()
{
    m_cost->setEnabled(false);
    m_confirm->setEnabled(false);
    runs().cancel(m_run);
    m_run = ProductionRun();
    m_lines->clear();
    clearSlots();
    setBlank(m_date);
    for (QLineEdit *e : {m_actual, m_formula, m_formulaName}) e->clear();
    m_cancel->setEnabled(false);
    setHeadLocked(false);
    chain().reach(m_formula);
}

void Tscgl::reject()
{
    // A drawn run that was not confirmed goes with the window, so that its
    // lines do not stay behind uncommitted.
    if (m_run.isOpen()) {
        if (!ask(QStringLiteral("本次生产还没有确认，退出将取消本次生产，是否退出？"))) return;
        if (!guarded([this] { cancelRun(); })) return;
    }
    FunctionWindow::reject();
}

void Tscgl::showLines()
{
    m_lines->setRows(runs().lines(m_run));
}

void Tscgl::setHeadLocked(bool locked)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_team, m_previousTeam, m_formula, m_date, m_production, m_reprocessed, m_actual})
        if (locked) w->setEnabled(false);
    if (!locked) {
        m_team->setEnabled(true);
        m_previousTeam->setEnabled(true);
    }
}

void Tscgl::clearSlots()
{
    for (const Slot &s : m_slots) {
        s.code->clear();
        s.spec->clear();
        s.name->clear();
        s.quantity->setText(QStringLiteral("0"));
    }
}

} // namespace fm
