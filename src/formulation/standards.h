#pragma once
// Nutrient standards (yybzk): a code, a name, and a required value per
// factor. Formulas record only the name of the standard they follow; two
// standards may share a name, and the name then means the first of them in
// code order.

#include "formulation/factors.h"

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

struct NutrientStandard {
    qint64 id = 0;
    QString code; // xqdm
    QString name; // xqmc
    FactorValues values{};
};

class NutrientStandards {
public:
    NutrientStandards(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static const QString kCodeExists; // "代码已存在，不能增加！"
    static const QString kPlaceholder; // "标准名称"
    static constexpr int kCodeLength = 6;
    static constexpr int kNameLength = 14;
    // Far beyond any required value, far below nonsense.
    static constexpr double kMaxValue = 1e7;

    // Every standard in code order.
    std::vector<NutrientStandard> all();
    // By name, trimmed and without regard to letter case: the first in code order.
    std::optional<NutrientStandard> findByName(const QString &name);
    std::optional<NutrientStandard> byId(qint64 id);

    // A typed value of a factor: a number from 0 to kMaxValue, else
    // "请输入正确的数字！".
    static double checkValue(const QString &typed);
    // A new code: not empty, not longer than the column, not used by any
    // standard in any letter case. Returns it trimmed.
    QString checkNewCode(const QString &code);

    // Adds the standard with its values (one row, written at once); returns its id.
    qint64 add(const QString &code, const QString &name, const FactorValues &values);
    // New values for a standard.
    void update(qint64 id, const FactorValues &values);
    // False when it no longer exists.
    bool remove(qint64 id);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
