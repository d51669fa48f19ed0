#pragma once
// The numbers a clerk types in the sales window, with the range each must
// fall in. A text that is not a number, or a number out of its range, is
// refused with "请输入正确的数字！" (badNumber) before anything is written.
// The services check the values they are given against the same ranges.

#include <QString>

namespace fm::sales {

// Bags on one line: positive; fractions are kept as typed (2.5 bags).
constexpr double kMaxBags = 100000;
// Kilograms on one line (a sale, a return, a correction): positive.
constexpr double kMaxKilograms = 10000000;
// A price in yuan per tonne: not negative.
constexpr double kMaxPrice = 10000000;
// An amount of money typed (a payment, what a slip received): either sign,
// taken to the cent.
constexpr double kMaxMoney = 10000000000.0;

double parseBags(const QString &text);
double parseKilograms(const QString &text);
double parsePrice(const QString &text);
double parseMoney(const QString &text);

// The same ranges for values already parsed; money comes back to the cent.
double checkBags(double bags);
double checkKilograms(double kilograms);
double checkPrice(double price);
double checkMoney(double amount);

} // namespace fm::sales
