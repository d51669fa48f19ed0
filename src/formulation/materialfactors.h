#pragma once
// The nutrient values of the registered raw materials (ylpzk s2 .. s38), as
// the factor window edits them. The price s0 and dry matter s1 are kept by
// the warehouse and are not written here.

#include "formulation/formulakernel.h"

#include <optional>
#include <vector>

namespace fm {

class Session;

struct MaterialName {
    qint64 id = 0;
    QString code; // yldm
    QString name; // ylmc
};

class MaterialFactorEditor {
public:
    explicit MaterialFactorEditor(Session &s) : m_s(s) {}

    // Far beyond any nutrient value, far below nonsense.
    static constexpr double kMaxValue = 1e7;

    // Every material, in code order.
    std::vector<MaterialName> materials();
    std::optional<MaterialFactors> byId(qint64 id);

    // A typed value: a number from 0 to kMaxValue, else "请输入正确的数字！".
    static double checkValue(const QString &typed);
    // Writes s2 .. s38 of the material (s0 and s1 of values are ignored).
    void save(qint64 id, const FactorValues &values);

private:
    Session &m_s;
};

} // namespace fm
