#pragma once
// The one evaluation of a formula: shares × factors → the 39 factor values
// of the mix. The calculation window, the refresh of the formulas containing
// a material and the refresh of all formulas all evaluate through here.
//
// A line's share is in percent; the value of factor n of the formula is
//   V(n) = Σ (share ÷ 100) × x(n)
// over its lines, x(n) the material's value of the factor. V(0) is the cost
// of the mix in yuan per kilogram, since s0 is the material's price.

#include "data/row.h"
#include "formulation/factors.h"

#include <QHash>
#include <QString>
#include <vector>

namespace fm {

class Session;

// A row of the raw-material register with all its factor values.
struct MaterialFactors {
    qint64 id = 0;
    QString code; // yldm
    QString name; // ylmc
    QString flag; // descip
    FactorValues values{};

    static QString columns();
    static MaterialFactors read(const Row &r);
};

// The register read once, found by code (trimmed, letter case ignored).
class MaterialTable {
public:
    // Every material, in code order.
    static MaterialTable load(Session &s);

    const MaterialFactors *find(const QString &code) const;
    const std::vector<MaterialFactors> &all() const { return m_rows; }
    void add(MaterialFactors m);

private:
    std::vector<MaterialFactors> m_rows;
    QHash<QString, int> m_index;
};

struct KernelLine {
    const FactorValues *values = nullptr; // null: the material is missing and adds nothing
    double share = 0;                     // percent
};

FactorValues evaluateFormula(const std::vector<KernelLine> &lines);

// The sum of the shares as the check shows it: 15 significant digits, so
// 33.3 + 33.3 + 33.4 reads "100" and passes while 99.99 does not.
QString shareSumText(const std::vector<double> &shares);
// "配方比率" + text + "%错误，请检查！"
QString shareMessage(const QString &text);
// Refuses shares that do not add up to "100", and any negative share (its
// own value in the message).
void checkShares(const std::vector<double> &shares);

} // namespace fm
