// The parts of least-cost formulation that need no solver: the checks of
// the bounds, the rounding of the shares and the texts.

#include "common/numbertext.h"
#include "formulation/leastcost.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace fm {

QString describeMinimum(int factor, double value)
{
    return fm::factor(factor).name + QStringLiteral(" 不低于 ") + numberText(value);
}

QString describeMaximum(int factor, double value)
{
    return fm::factor(factor).name + QStringLiteral(" 不高于 ") + numberText(value);
}

QString LeastCostResult::conflictMessage() const
{
    return QStringLiteral("无法配出满足全部约束的配方，以下约束互相冲突：\n") + conflicts.join(QLatin1Char('\n'));
}

QStringList boundConflicts(const LeastCostProblem &p)
{
    QStringList out;
    double lows = 0, highs = 0;
    for (const LeastCostMaterial &m : p.materials) {
        if (m.low > m.high)
            out << QStringLiteral("%1 最低比率 %2% 高于最高比率 %3%").arg(m.name, numberText(m.low), numberText(m.high));
        lows += m.low;
        highs += m.high;
    }
    if (!out.isEmpty()) return out;
    if (lows > 100 + 1e-9) {
        out << QStringLiteral("各原料最低比率之和 %1% 超过 100%").arg(numberText(lows));
        for (const LeastCostMaterial &m : p.materials)
            if (m.low > 0) out << QStringLiteral("%1 最低比率 %2%").arg(m.name, numberText(m.low));
        return out;
    }
    if (highs < 100 - 1e-9) {
        out << QStringLiteral("各原料最高比率之和 %1% 不足 100%").arg(numberText(highs));
        for (const LeastCostMaterial &m : p.materials)
            out << QStringLiteral("%1 最高比率 %2%").arg(m.name, numberText(m.high));
        return out;
    }
    for (int f = 1; f < kFormulaFactors; ++f) {
        const double lo = p.minimum[size_t(f)];
        const auto &hi = p.maximum[size_t(f)];
        if (lo != 0 && hi && *hi < lo) out << describeMinimum(f, lo) + QStringLiteral("，但") + describeMaximum(f, *hi);
    }
    return out;
}

std::vector<double> roundShares(const std::vector<double> &shares, const std::vector<double> &low,
                                const std::vector<double> &high)
{
    const size_t n = shares.size();
    std::vector<long long> k(n), lo(n), hi(n);
    for (size_t i = 0; i < n; ++i) {
        // Bounds in hundredths, inside the typed bounds (a bound of 12.345
        // allows 12.35 at most).
        lo[i] = std::max(0LL, (long long)std::ceil(low[i] * 100 - 1e-7));
        hi[i] = std::min(10000LL, (long long)std::floor(high[i] * 100 + 1e-7));
        k[i] = std::llround(shares[i] * 100);
        if (lo[i] <= hi[i]) k[i] = std::clamp(k[i], lo[i], hi[i]);
    }
    long long residue = 10000 - std::accumulate(k.begin(), k.end(), 0LL);
    // A hundredth at a time to the share that rounding moved furthest the
    // other way (the larger share on a tie), among those with room: no share
    // ends further than a hundredth from its exact value unless a bound
    // forces it.
    while (residue != 0 && n > 0) {
        const int step = residue > 0 ? 1 : -1;
        size_t best = n;
        double bestScore = 0;
        for (size_t i = 0; i < n; ++i) {
            if (step > 0 ? k[i] >= hi[i] : k[i] <= lo[i]) continue;
            const double score = step * (shares[i] * 100 - double(k[i]));
            if (best == n || score > bestScore + 1e-12
                || (std::fabs(score - bestScore) <= 1e-12 && shares[i] > shares[best])) {
                best = i;
                bestScore = score;
            }
        }
        if (best == n) {
            // The bounds cannot hold 100 (the solver would have said so):
            // the largest share takes the rest.
            best = size_t(std::max_element(shares.begin(), shares.end()) - shares.begin());
            k[best] += residue;
            break;
        }
        k[best] += step;
        residue -= step;
    }
    std::vector<double> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = double(k[i]) / 100;
    return out;
}

} // namespace fm
