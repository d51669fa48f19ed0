#pragma once
// The 39 nutrient factors every part of formulation works on: s0 the price
// in yuan per kilogram, s1 dry matter, s2 .. s38 the nutrients. A factor's
// code is also its column in ylpzk (per material) and yybzk (per standard),
// and ysdm in the saved results; its name is ylys there.

#include <QString>
#include <array>
#include <vector>

namespace fm {

constexpr int kFormulaFactors = 39; // s0 .. s38
constexpr int kPriceFactor = 0;     // s0, yuan per kilogram

using FactorValues = std::array<double, kFormulaFactors>;

struct Factor {
    int number = 0;
    QString code;          // "s0" .. "s38"
    QString name;          // as stored with results ("粗蛋白", "猪消化能(Mj/kg)")
    QString materialLabel; // in the material factor window; empty for s0 and s1
    QString standardLabel; // in the standards window ("粗蛋白：", "猪消化能：(Mj/kg)")
};

const std::array<Factor, kFormulaFactors> &factors();
const Factor &factor(int number);
QString factorCode(int number);
// The number of a code "s0" .. "s38", -1 for anything else.
int factorNumber(const QString &code);

// The order Enter moves through the inputs of the material factor window
// (s2 .. s38) and of the standards window (all 39).
const std::vector<int> &materialEntryOrder();
const std::vector<int> &standardEntryOrder();

// "s0, s1, ..., s38" for a SELECT.
QString factorColumnList();

} // namespace fm
