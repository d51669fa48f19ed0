#include "common/money.h"

#include "common/numbertext.h"

#include <cmath>

namespace fm::money {

double roundTo(double value, int decimals)
{
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, decimals);
    // Decide the half on the 15-digit value a clerk reads, not on the
    // binary residue below it (1.005 × 100 is 100.49999999999999).
    const double scaled = QString::number(value * scale, 'g', 15).toDouble();
    const double r = std::round(scaled) / scale;
    return r == 0 ? 0.0 : r; // no "-0"
}

bool same(double a, double b, double tolerance)
{
    return std::fabs(a - b) < tolerance;
}

bool isZero(double a, double tolerance)
{
    return std::fabs(a) < tolerance;
}

bool parseAmount(const QString &text, double *out, double limit)
{
    double v = 0;
    if (!parseNumber(text, &v) || std::fabs(v) > limit) return false;
    *out = cents(v);
    return true;
}

} // namespace fm::money
