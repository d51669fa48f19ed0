#include "formulation/windows/tvelpf1.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace fm {

namespace {

// Prices shown to the formulator: four decimals of a yuan are plenty.
double shown(double x)
{
    return std::round(x * 1e4) / 1e4;
}

GridColumn column(const char *title, GridColumn::Kind kind = GridColumn::Kind::Number, bool editable = false)
{
    GridColumn c;
    c.title = QString::fromUtf8(title);
    c.kind = kind;
    c.editable = editable;
    return c;
}

} // namespace

Tvelpf1::Tvelpf1(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(ctx.qymc + QStringLiteral("配方（二）"));
    resize(1120, 680);

    m_lines = new Grid({column("原料名称", GridColumn::Kind::Text), column("配方比率%", GridColumn::Kind::Number, true),
                        column("价格(元/公斤)"), column("最低%", GridColumn::Kind::Number, true),
                        column("最高%", GridColumn::Kind::Number, true), column("进入价格(元/公斤)"),
                        column("时间", GridColumn::Kind::Text)},
                       this, "lines");
    m_lines->setSortOnTitleClick(false);
    m_lines->setStretchColumn(Name);
    m_results = new Grid({column("营养因素", GridColumn::Kind::Text), column("计算结果"), column("标准"), column("比较结果")},
                         this, "results");
    m_results->setSortOnTitleClick(false);
    m_results->setStretchColumn(0);
    m_results->hide();
    m_limits = new Grid({column("营养因素", GridColumn::Kind::Text), column("标准(下限)"),
                         column("上限", GridColumn::Kind::Number, true), column("影子价格")},
                        this, "limits");
    m_limits->setSortOnTitleClick(false);
    m_limits->setStretchColumn(LimitName);
    m_limits->setMinimumWidth(380);

    m_standard = display("standard");
    m_name = input("formulaName", FormulaCalculation::kNameLength);
    m_number = input("formulaNumber", FormulaCalculation::kNumberLength);
    m_compute = button(QStringLiteral("计算"), "compute", [this] { computeResults(); });
    m_showResults = button(QStringLiteral("营养显示"), "showResults", [this] { toggleResults(); });
    m_leastCost = button(QStringLiteral("最低成本配方"), "leastCost", [this] { runLeastCost(); });
    QPushButton *factors = button(QStringLiteral("原料营养"), "materialFactors", [this] { openFunction(Fn::MaterialFactors); });
    QPushButton *standards = button(QStringLiteral("营养标准"), "nutrientStandards", [this] {
        openFunction(Fn::NutrientStandards);
        standardsChanged();
    });
    m_finish = button(QStringLiteral("完成"), "finish");
    m_back = button(QStringLiteral("上一步"), "back", [this] { reject(); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { reject(); });
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    auto *head = new QWidget(this);
    FieldGrid hg(head, 1);
    hg.layout()->setContentsMargins(0, 0, 0, 0);
    hg.add(QStringLiteral("参考营养标准:"), m_standard);

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(m_lines, 3);
    left->addWidget(m_results, 2);
    left->addWidget(m_status);
    auto *naming = new QWidget(this);
    FieldGrid ng(naming, 2);
    ng.layout()->setContentsMargins(0, 0, 0, 0);
    ng.add(QStringLiteral("配方名称："), m_name).add(QStringLiteral("配方号码："), m_number);
    left->addWidget(naming);

    auto *least = new QGroupBox(QStringLiteral("最低成本配方（上限可输入；各原料的最低%、最高%在左表输入）"), this);
    auto *ll = new QVBoxLayout(least);
    ll->addWidget(m_limits, 1);
    ll->addWidget(m_leastCost);

    auto *body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addWidget(least, 2);
    auto *root = new QVBoxLayout(this);
    root->addLayout(body, 1);
    root->addLayout(buttonRow({m_compute, m_showResults, factors, standards, m_finish, m_back, quit}));

    chain()
        .step(m_name,
              [this] {
                  FormulaCalculation::checkName(m_name->text());
                  return Go::advance();
              })
        .step(m_number,
              [this] {
                  FormulaCalculation::checkNumber(m_number->text());
                  return Go::advance();
              })
        .step(m_finish, [this] {
            save();
            return Go::done();
        });
    connect(m_lines, &Grid::cellEdited, this, [this](int, int column) {
        // Shares typed after a calculation are computed again before saving.
        if (column == Share) m_comp.result.reset();
    });
    connect(m_lines, &Grid::enterPastLastRow, this, [this](int column) {
        if (column == Share) m_compute->setFocus();
    });
}

FormulaCalculation Tvelpf1::calculation() const
{
    return FormulaCalculation(session(), *ctx().clock, ctx().operatorCode);
}

void Tvelpf1::start(const FormulaComposition &composition)
{
    setWindowTitle(ctx().qymc + QStringLiteral("配方（二）"));
    m_comp = composition;
    m_comp.result.reset();
    m_solution = LeastCostResult();
    m_standard->setText(m_comp.standard ? m_comp.standard->name : QString());
    m_results->hide();
    m_results->clear();
    m_compute->setEnabled(true);
    m_showResults->setEnabled(true);
    m_back->setEnabled(true);
    m_status->clear();
    m_name->clear();
    m_number->clear();
    chain().disableAll();
    showLines();
    showLimits();
    m_lines->editCell(0, Share);
}

void Tvelpf1::showLines()
{
    std::vector<GridRow> rows;
    qint64 id = 0;
    for (const CompositionLine &l : m_comp.lines)
        rows.push_back({++id,
                        {l.name, l.share, l.price, QVariant(), QVariant(), QVariant(), dateTimeText(l.created)}});
    m_lines->setRows(std::move(rows));
}

void Tvelpf1::showLimits()
{
    std::vector<GridRow> rows;
    for (int f = 1; f < kFormulaFactors; ++f) {
        const double minimum = m_comp.standard ? m_comp.standard->values[size_t(f)] : 0;
        rows.push_back({f, {factor(f).name, minimum != 0 ? QVariant(minimum) : QVariant(), QVariant(), QVariant()}});
    }
    m_limits->setRows(std::move(rows));
}

void Tvelpf1::showResultRows()
{
    std::vector<GridRow> rows;
    for (const FactorResult &r : m_comp.shownResults())
        rows.push_back({r.factor + 1, {r.name, r.result, r.stand, r.comp}});
    m_results->setRows(std::move(rows));
}

void Tvelpf1::typeShare(int row, const QString &text)
{
    m_lines->setValue(row, Share, text);
    m_comp.result.reset();
}

void Tvelpf1::readShares()
{
    for (int row = 0; row < int(m_comp.lines.size()); ++row) {
        try {
            m_comp.lines[size_t(row)].share = FormulaCalculation::checkShare(m_lines->textAt(row, Share));
        } catch (const DomainError &) {
            m_lines->editCell(row, Share);
            throw;
        }
    }
}

void Tvelpf1::computeResults()
{
    const bool ok = guarded([this] {
        readShares();
        m_comp.result = calculation().evaluate(m_comp.lines);
    });
    if (!ok) {
        m_lines->view()->setFocus();
        return;
    }
    if (m_results->isVisible()) showResultRows();
    m_back->setEnabled(false);
    m_showResults->setEnabled(true);
    m_status->setText(QStringLiteral("配方成本：%1 元/公斤").arg(numberText(shown((*m_comp.result)[kPriceFactor]))));
    chain().reach(m_name);
}

void Tvelpf1::toggleResults()
{
    if (m_results->isVisible()) {
        m_results->hide();
        m_compute->setEnabled(true);
        return;
    }
    showResultRows();
    m_results->show();
    m_compute->setEnabled(false);
}

void Tvelpf1::runLeastCost()
{
    if (!m_comp.standard) return;
    std::vector<double> low, high;
    std::array<std::optional<double>, kFormulaFactors> maximum{};
    for (int row = 0; row < m_lines->rowCount(); ++row) {
        for (const int c : {int(Low), int(High)}) {
            std::optional<double> v;
            try {
                v = FormulaCalculation::checkBound(m_lines->textAt(row, c), FormulaCalculation::kMaxShare);
            } catch (const DomainError &) {
                m_lines->editCell(row, c);
                throw;
            }
            (c == Low ? low : high).push_back(v ? *v : (c == Low ? 0.0 : 100.0));
        }
    }
    for (int row = 0; row < m_limits->rowCount(); ++row) {
        try {
            maximum[size_t(m_limits->idAt(row))] = FormulaCalculation::checkBound(m_limits->textAt(row, LimitMaximum), 1e7);
        } catch (const DomainError &) {
            m_limits->editCell(row, LimitMaximum);
            throw;
        }
    }
    const LeastCostProblem p = calculation().leastCostProblem(m_comp.lines, *m_comp.standard, low, high, maximum);
    m_solution = fm::solveLeastCost(p);

    for (int row = 0; row < m_lines->rowCount(); ++row) m_lines->setValue(row, Entering, QVariant());
    for (int row = 0; row < m_limits->rowCount(); ++row) m_limits->setValue(row, LimitShadow, QVariant());
    if (!m_solution.feasible) {
        m_status->setText(QStringLiteral("没有满足全部约束的配方。"));
        inform(m_solution.conflictMessage());
        return;
    }
    for (int row = 0; row < m_lines->rowCount(); ++row) m_lines->setValue(row, Share, m_solution.rounded[size_t(row)]);
    for (const EnteringPrice &e : m_solution.entering) m_lines->setValue(e.material, Entering, shown(e.price));
    QStringList binding;
    for (const BindingNutrient &b : m_solution.binding) {
        for (int row = 0; row < m_limits->rowCount(); ++row)
            if (m_limits->idAt(row) == b.factor) m_limits->setValue(row, LimitShadow, shown(b.shadowPrice));
        binding << factor(b.factor).name + (b.atMaximum ? QStringLiteral("(上限)") : QString());
    }
    m_lines->view()->resizeColumnToContents(Entering);
    m_limits->view()->resizeColumnToContents(LimitShadow);
    m_comp.result.reset();
    if (m_results->isVisible()) toggleResults();
    m_status->setText(QStringLiteral("最低成本配方：成本 %1 元/公斤；起作用的营养约束：%2。按“计算”核算后保存。")
                          .arg(numberText(shown(m_solution.cost)), binding.isEmpty() ? QStringLiteral("无") : binding.join(QStringLiteral("、"))));
    m_compute->setEnabled(true);
    m_compute->setFocus();
}

void Tvelpf1::save()
{
    readShares();
    const QString number = FormulaCalculation::checkNumber(m_number->text());
    const QString name = FormulaCalculation::checkName(m_name->text());
    FormulaCalculation c = calculation();
    // "完成" computes again from the shares as they stand.
    m_comp.result = c.evaluate(m_comp.lines);
    const bool replace = c.exists(number);
    if (replace && !ask(FormulaCalculation::kReplace)) {
        chain().reach(m_number);
        return;
    }
    const double cost = c.save(m_comp, {number, name, replace});
    if (m_results->isVisible()) showResultRows();
    m_finish->setEnabled(false);
    m_back->setEnabled(true);
    m_showResults->setEnabled(true);
    m_status->setText(QStringLiteral("配方 %1 %2 已保存，成本 %3 元/公斤。").arg(number, name, numberText(shown(cost))));
}

void Tvelpf1::standardsChanged()
{
    if (!m_comp.standard) return;
    guarded([this] {
        const auto st = calculation().standard(m_comp.standard->name);
        if (!st) return;
        m_comp.standard = st;
        for (int row = 0; row < m_limits->rowCount(); ++row) {
            const double v = st->values[size_t(m_limits->idAt(row))];
            m_limits->setValue(row, LimitMinimum, v != 0 ? QVariant(v) : QVariant());
        }
        if (m_results->isVisible()) showResultRows();
    });
}

} // namespace fm
