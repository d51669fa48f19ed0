// solveLeastCost over COIN-OR Clp. Kept in a library of its own so that
// only what offers least-cost formulation links the solver.

#include "common/numbertext.h"
#include "formulation/leastcost.h"

#include <ClpSimplex.hpp>
#include <CoinFinite.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace fm {

namespace {

constexpr double kTolerance = 1e-9;

// A nutrient row of the model: the factor, and which bounds it carries.
struct NutrientRow {
    int factor = 0;
    bool hasMinimum = false;
    bool hasMaximum = false;
    double minimum = 0;
    double maximum = 0;
};

std::vector<NutrientRow> nutrientRows(const LeastCostProblem &p)
{
    std::vector<NutrientRow> rows;
    for (int f = 1; f < kFormulaFactors; ++f) {
        NutrientRow r;
        r.factor = f;
        r.minimum = p.minimum[size_t(f)];
        r.hasMinimum = r.minimum != 0;
        if (p.maximum[size_t(f)]) {
            r.hasMaximum = true;
            r.maximum = *p.maximum[size_t(f)];
        }
        if (r.hasMinimum || r.hasMaximum) rows.push_back(r);
    }
    return rows;
}

// The model in Clp's column form: row 0 is the sum of the shares, rows 1..
// are the nutrients; the columns are the shares.
struct Model {
    std::vector<NutrientRow> rows;
    std::vector<CoinBigIndex> start;
    std::vector<int> index;
    std::vector<double> value, colLow, colHigh, objective, rowLow, rowHigh;
};

Model buildModel(const LeastCostProblem &p)
{
    Model m;
    m.rows = nutrientRows(p);
    const int nRows = 1 + int(m.rows.size());
    m.rowLow.assign(size_t(nRows), 0);
    m.rowHigh.assign(size_t(nRows), 0);
    m.rowLow[0] = m.rowHigh[0] = 100;
    for (size_t r = 0; r < m.rows.size(); ++r) {
        m.rowLow[r + 1] = m.rows[r].hasMinimum ? m.rows[r].minimum : -COIN_DBL_MAX;
        m.rowHigh[r + 1] = m.rows[r].hasMaximum ? m.rows[r].maximum : COIN_DBL_MAX;
    }
    for (const LeastCostMaterial &mat : p.materials) {
        m.start.push_back(CoinBigIndex(m.index.size()));
        m.index.push_back(0);
        m.value.push_back(1);
        for (size_t r = 0; r < m.rows.size(); ++r) {
            const double a = mat.values[size_t(m.rows[r].factor)];
            if (a == 0) continue;
            m.index.push_back(int(r + 1));
            m.value.push_back(a / 100);
        }
        m.colLow.push_back(mat.low);
        m.colHigh.push_back(mat.high);
        m.objective.push_back(mat.values[kPriceFactor] / 100);
    }
    m.start.push_back(CoinBigIndex(m.index.size()));
    return m;
}

void load(ClpSimplex &clp, Model &m)
{
    clp.setLogLevel(0);
    clp.loadProblem(int(m.colLow.size()), int(m.rowLow.size()), m.start.data(), m.index.data(), m.value.data(),
                    m.colLow.data(), m.colHigh.data(), m.objective.data(), m.rowLow.data(), m.rowHigh.data());
    clp.setOptimizationDirection(1);
}

// The value of a factor in the mix.
double nutrientValue(const LeastCostProblem &p, const double *x, int factor)
{
    double v = 0;
    for (size_t i = 0; i < p.materials.size(); ++i) v += p.materials[i].values[size_t(factor)] * x[i] / 100;
    return v;
}

// One of the bounds the formulator or the standard set: a nutrient's
// minimum or maximum, or a material's minimum or maximum share.
struct Bound {
    enum Kind { NutrientMinimum, NutrientMaximum, MaterialLow, MaterialHigh } kind;
    int index = 0; // nutrient row (1..) or material column
    double value = 0;
};

bool solved(ClpSimplex &clp)
{
    clp.dual();
    return clp.isProvenOptimal();
}

void relax(ClpSimplex &clp, const Bound &b, bool relaxed)
{
    switch (b.kind) {
    case Bound::NutrientMinimum: clp.setRowLower(b.index, relaxed ? -COIN_DBL_MAX : b.value); break;
    case Bound::NutrientMaximum: clp.setRowUpper(b.index, relaxed ? COIN_DBL_MAX : b.value); break;
    case Bound::MaterialLow: clp.setColumnLower(b.index, relaxed ? 0 : b.value); break;
    case Bound::MaterialHigh: clp.setColumnUpper(b.index, relaxed ? 100 : b.value); break;
    }
}

// Which bounds conflict: of all of them, a set that cannot hold together
// while every smaller one can (each bound dropped in turn while the rest
// stays infeasible without it). For each nutrient bound of the set, how far
// the other bounds of the set let the nutrient go.
QStringList explainInfeasible(const LeastCostProblem &p)
{
    Model m = buildModel(p);
    std::fill(m.objective.begin(), m.objective.end(), 0.0);
    ClpSimplex clp;
    load(clp, m);
    std::vector<Bound> bounds;
    for (size_t r = 0; r < m.rows.size(); ++r) {
        if (m.rows[r].hasMinimum) bounds.push_back({Bound::NutrientMinimum, int(r + 1), m.rows[r].minimum});
        if (m.rows[r].hasMaximum) bounds.push_back({Bound::NutrientMaximum, int(r + 1), m.rows[r].maximum});
    }
    for (size_t i = 0; i < p.materials.size(); ++i) {
        if (p.materials[i].low > 0) bounds.push_back({Bound::MaterialLow, int(i), p.materials[i].low});
        if (p.materials[i].high < 100) bounds.push_back({Bound::MaterialHigh, int(i), p.materials[i].high});
    }
    std::vector<bool> needed(bounds.size(), true);
    for (size_t b = 0; b < bounds.size(); ++b) {
        relax(clp, bounds[b], true);
        if (solved(clp)) relax(clp, bounds[b], false);
        else needed[b] = false;
    }
    for (size_t b = 0; b < bounds.size(); ++b)
        if (!needed[b]) relax(clp, bounds[b], true);

    QStringList out;
    for (size_t b = 0; b < bounds.size(); ++b) {
        if (!needed[b]) continue;
        const Bound &x = bounds[b];
        if (x.kind == Bound::MaterialLow || x.kind == Bound::MaterialHigh) {
            const LeastCostMaterial &mat = p.materials[size_t(x.index)];
            out << QStringLiteral("%1 %2 %3%").arg(
                mat.name, x.kind == Bound::MaterialLow ? QStringLiteral("最低比率") : QStringLiteral("最高比率"),
                numberText(x.value));
            continue;
        }
        const int factor = m.rows[size_t(x.index - 1)].factor;
        const bool minimum = x.kind == Bound::NutrientMinimum;
        // The nutrient pushed as far as the other bounds of the set allow.
        relax(clp, x, true);
        for (size_t i = 0; i < p.materials.size(); ++i)
            clp.setObjectiveCoefficient(int(i), (minimum ? -1 : 1) * p.materials[i].values[size_t(factor)] / 100);
        const bool reached = solved(clp);
        const double extreme = reached ? nutrientValue(p, clp.getColSolution(), factor) : 0;
        for (size_t i = 0; i < p.materials.size(); ++i) clp.setObjectiveCoefficient(int(i), 0);
        relax(clp, x, false);
        const QString text = minimum ? describeMinimum(factor, x.value) : describeMaximum(factor, x.value);
        if (!reached) out << text;
        else if (minimum) out << text + QStringLiteral("（至多只能达到 %1）").arg(numberText(extreme));
        else out << text + QStringLiteral("（至少为 %1）").arg(numberText(extreme));
    }
    out << QStringLiteral("原料比率合计 100%");
    return out;
}

} // namespace

LeastCostResult solveLeastCost(const LeastCostProblem &p)
{
    LeastCostResult result;
    if (p.materials.empty()) {
        result.conflicts << QStringLiteral("没有原料");
        return result;
    }
    result.conflicts = boundConflicts(p);
    if (!result.conflicts.isEmpty()) return result;

    Model m = buildModel(p);
    ClpSimplex clp;
    load(clp, m);
    clp.dual();
    if (clp.isProvenPrimalInfeasible() || !clp.isProvenOptimal()) {
        // Dual simplex reports primal infeasibility; anything else (numerical
        // trouble) is explained the same way.
        result.conflicts = explainInfeasible(p);
        return result;
    }

    const size_t n = p.materials.size();
    const double *x = clp.getColSolution();
    const double *dual = clp.getRowPrice();
    const double *reduced = clp.getReducedCost();
    result.feasible = true;
    result.shares.assign(x, x + n);
    double cost = 0;
    std::vector<double> low(n), high(n);
    for (size_t i = 0; i < n; ++i) {
        // The solver may leave a hair outside a bound.
        result.shares[i] = std::clamp(result.shares[i], p.materials[i].low, p.materials[i].high);
        cost += p.materials[i].values[kPriceFactor] * result.shares[i] / 100;
        low[i] = p.materials[i].low;
        high[i] = p.materials[i].high;
    }
    result.cost = cost;
    result.rounded = roundShares(result.shares, low, high);

    for (size_t r = 0; r < m.rows.size(); ++r) {
        const double y = dual[r + 1];
        if (std::fabs(y) <= kTolerance) continue;
        BindingNutrient b;
        b.factor = m.rows[r].factor;
        b.atMaximum = y < 0;
        b.bound = b.atMaximum ? m.rows[r].maximum : m.rows[r].minimum;
        b.shadowPrice = y;
        result.binding.push_back(b);
    }
    for (size_t i = 0; i < n; ++i) {
        const LeastCostMaterial &mat = p.materials[i];
        if (result.shares[i] > 1e-9 || mat.high <= 0) continue;
        // Its reduced cost per percent of share is what its price, per
        // kilogram, must fall by (× 100) before the mix takes it.
        result.entering.push_back({int(i), mat.values[kPriceFactor] - 100 * std::max(0.0, reduced[i])});
    }
    return result;
}

} // namespace fm
