#pragma once
// Least-cost formulation: the shares that make the cheapest mix of the
// chosen materials which still meets the standard.
//
//   minimise   Σ price_i × x_i / 100                 (cost in yuan/kg)
//   subject to Σ x_i = 100                           (shares in percent)
//              Σ a_ij × x_i / 100 ≥ minimum_j        (each factor the standard asks for)
//              Σ a_ij × x_i / 100 ≤ maximum_j        (where the formulator sets one)
//              low_i ≤ x_i ≤ high_i                  (per material, 0 .. 100 by default)
//
// The price factor s0 is the objective, not a constraint. A solved problem
// reports, for each nutrient constraint that binds, its shadow price (what
// one more unit of the bound costs, yuan/kg per unit), and for each material
// left out, the price at which it would enter the mix. An infeasible problem
// reports the constraints that conflict.
//
// solveLeastCost (the COIN-OR Clp solver) lives in the library
// feedmill_leastcost, which only the windows link; the rest is core.

#include "formulation/factors.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace fm {

struct LeastCostMaterial {
    QString code;
    QString name;
    FactorValues values{}; // s0 is the price, yuan/kg
    double low = 0;        // percent
    double high = 100;     // percent
};

struct LeastCostProblem {
    std::vector<LeastCostMaterial> materials;
    // What the standard asks for: a factor whose value is not 0 is a minimum
    // (s0 is ignored).
    FactorValues minimum{};
    // Maximums the formulator typed, per factor (s0 ignored).
    std::array<std::optional<double>, kFormulaFactors> maximum{};
};

struct BindingNutrient {
    int factor = 0;
    bool atMaximum = false; // the maximum binds, not the minimum
    double bound = 0;       // the bound's value
    // Change of the cost (yuan/kg) when the bound rises by one unit: positive
    // for a minimum, negative for a maximum.
    double shadowPrice = 0;
};

struct EnteringPrice {
    int material = 0;   // index into the problem's materials
    double price = 0;   // yuan/kg at or below which it would enter
};

struct LeastCostResult {
    bool feasible = false;
    double cost = 0;               // yuan/kg of the exact solution
    std::vector<double> shares;    // exact, percent
    std::vector<double> rounded;   // to 0.01 %, adding up to 100
    std::vector<BindingNutrient> binding;
    std::vector<EnteringPrice> entering;
    // Infeasible: the constraints that conflict, one line each.
    QStringList conflicts;

    // The message to show for an infeasible problem.
    QString conflictMessage() const;
};

// The conflicts found from the problem's own numbers, before any solving:
// a material whose minimum exceeds its maximum, minimums that add up to
// more than 100, maximums that add up to less, a factor whose maximum is
// below the standard's minimum. Empty when there is none.
QStringList boundConflicts(const LeastCostProblem &p);

// Shares rounded to 0.01 % so that they add up to exactly 100 (what the
// share check accepts), each within its bounds where the bounds allow it:
// every share is rounded to the nearest hundredth inside its bounds, and
// the residue goes, a hundredth at a time, to the shares that rounding
// moved furthest the other way (the largest on a tie) and that have room.
std::vector<double> roundShares(const std::vector<double> &shares, const std::vector<double> &low,
                                const std::vector<double> &high);

// "粗蛋白 不低于 18" and the like.
QString describeMinimum(int factor, double value);
QString describeMaximum(int factor, double value);

LeastCostResult solveLeastCost(const LeastCostProblem &p);

} // namespace fm
