#pragma once
// What production needs of a saved formula: its register row (pfzlk) and its
// lines (velpfk), each line priced in yuan per tonne for costing a run.
// Finding a formula by its number is the formula book's (formulation/formulabook.h).

#include "data/session.h"

#include <QString>
#include <vector>

namespace fm {

struct PricedFormulaLine {
    QString yldm, ylmc, yldj;
    double share = 0;         // ylsl: kilograms per 100 kg of feed
    double pricePerTonne = 0; // see FormulaReader::pricedLines
};

class FormulaReader {
public:
    explicit FormulaReader(Session &s) : m_s(s) {}

    // The formula's lines in order. A material is priced at its stock's
    // moving average (ylhzk.yljg, yuan per tonne); one without a stock row at
    // its register price s0 × 1000; one in neither at the formula line's own
    // price × 1000 (velpfk.yljg is yuan per kilogram).
    std::vector<PricedFormulaLine> pricedLines(const QString &number);
    // The formula's line prices follow the stock: every line whose material
    // has a stock row takes its average price, in the line's own unit (yuan
    // per kilogram). Returns the lines changed.
    int refreshPricesFromStock(const QString &number);

private:
    Session &m_s;
};

} // namespace fm
