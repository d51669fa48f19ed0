#pragma once
// Money and quantities as the mill reckons them. Prices are yuan per tonne,
// quantities kilograms; an amount is price × kilograms / 1000, computed in
// double. What is stored is rounded only to what its column holds (four
// decimals), so every engine holds the same value; what a clerk types as
// money is taken to the cent. Rounding is half away from zero on the value's
// 15-digit decimal text, so 1.005 (held in binary as 1.00499…) rounds to
// 1.01, as it reads.

#include <QString>

namespace fm::money {

// Half a cent: two amounts closer than this are the same money.
constexpr double kTolerance = 0.005;
// Half the last decimal a Currency column holds.
constexpr double kStoredTolerance = 0.00005;

// Rounds to the given decimals, half away from zero.
double roundTo(double value, int decimals);
inline double cents(double amount) { return roundTo(amount, 2); }
// The value a Currency column holds (four decimals).
inline double stored(double amount) { return roundTo(amount, 4); }

// Amount of a line: price per tonne × kilograms / 1000.
inline double lineAmount(double pricePerTonne, double kilograms) { return pricePerTonne * kilograms / 1000; }
// Price of one bag of spec kilograms at a price per tonne.
inline double bagPrice(double pricePerTonne, double kilogramsPerBag) { return kilogramsPerBag * pricePerTonne / 1000; }
// The promotion fee of a line: what it sold above its policy price.
inline double promotionFee(double kilograms, double price, double policyPrice)
{
    return kilograms * (price - policyPrice) / 1000;
}
// What is still owed of a total after a payment.
inline double owed(double total, double received) { return total - received; }

bool same(double a, double b, double tolerance = kTolerance);
bool isZero(double a, double tolerance = kTolerance);

// A money amount as typed: a number, taken to the cent, within ±limit.
// False for anything else (the caller says "请输入正确的数字！").
bool parseAmount(const QString &text, double *out, double limit = 1e12);

} // namespace fm::money
