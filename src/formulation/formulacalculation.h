#pragma once
// Composing a formula: the materials chosen (step 1), priced, given shares
// and evaluated against a standard (step 2), then saved under a number.
//
// The formula being composed lives in its window (a FormulaComposition), not
// in a table the workstations share, so two formulators never disturb each
// other. Saving writes the register row (pfzlk), the lines (velpfk) and the
// 39 results (pfyyk) in one transaction; a number that exists is replaced:
// its lines and that day's results go, its name and standard stay.

#include "formulation/formulakernel.h"
#include "formulation/leastcost.h"
#include "formulation/standards.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

struct CompositionLine {
    QString code;  // yldm
    QString name;  // ylmc
    QString flag;  // first character of the class flag
    double price = 0; // the register's s0 when the materials were priced (yuan/kg)
    double share = 0; // percent
    QDateTime created;
};

// One factor of the result: the formula's value, the standard's, and how
// far the formula lies above (positive) or below it.
struct FactorResult {
    int factor = 0;
    QString name;   // ylys
    QString recNum; // the factor number as text
    double result = 0;
    double stand = 0;
    double comp = 0;
};

struct FormulaComposition {
    std::vector<CompositionLine> lines;
    std::optional<NutrientStandard> standard;
    std::optional<FactorValues> result; // after "计算"

    std::vector<double> shares() const;
    // All 39 factors in factor order (results of 0 before a calculation).
    std::vector<FactorResult> results() const;
    // The factors shown: those with a result, standard or comparison other
    // than 0, ordered by their number as text ("0", "1", "10", ...).
    std::vector<FactorResult> shownResults() const;
};

struct FormulaToSave {
    QString number;
    QString name;
    bool replace = false; // the number exists and the formulator agreed to replace it
};

struct TemplateFormula {
    QString name;
    QStringList materials; // ylmc of its lines, in their order
};

class FormulaCalculation {
public:
    FormulaCalculation(Session &s, const Clock &clock, QString operatorCode)
        : m_s(s), m_clock(clock), m_operator(std::move(operatorCode)) {}

    static const QString kNoStandard;  // "没有选择标准!"
    static const QString kBadMaterial; // "原料名称有错误！"
    static const QString kReplace;     // "配方号码已存在，是否覆盖？"
    static const QString kNoNumber;    // "请输入配方号码！"
    static const QString kNoName;      // "请输入配方名称！"
    static constexpr int kNumberLength = 6;
    static constexpr int kNameLength = 12;
    static constexpr double kMaxShare = 100;
    // "原料" + code + "无价格，请检查！"
    static QString noPriceMessage(const QString &code);

    // ---- step 1 ---------------------------------------------------------
    // Every material name of the register, in code order.
    QStringList materialNames();
    // Every formula number of the register, in number order.
    QStringList formulaNumbers();
    // A saved formula as a template: its name and its materials; empty when
    // the number is not registered.
    std::optional<TemplateFormula> templateFormula(const QString &number);
    // The standard chosen by name (see NutrientStandards::findByName).
    std::optional<NutrientStandard> standard(const QString &name);
    // "确认": one line per material name found in the register (by name,
    // letter case ignored; a name listed twice gives one line), share 0.
    std::vector<CompositionLine> linesFor(const QStringList &names);
    // "下一步": every line takes its material's price; refused with
    // noPriceMessage when a material is no longer registered.
    void price(std::vector<CompositionLine> &lines);

    // ---- step 2 ---------------------------------------------------------
    // A typed share: a number (blank is 0), else "请输入正确的数字！"; whether
    // the shares make a formula is the share check's to say.
    static double checkShare(const QString &typed);
    // "计算": checks the shares and evaluates them with the register's
    // current values; "原料名称有错误！" when a material is missing.
    FactorValues evaluate(const std::vector<CompositionLine> &lines);
    // Whether a formula of that number (letter case ignored) is registered.
    bool exists(const QString &number);
    // A typed number: trimmed, 1 to 6 characters.
    static QString checkNumber(const QString &typed);
    static QString checkName(const QString &typed);
    // "完成": checks and evaluates again, then writes in one transaction.
    // Returns the cost (yuan/kg). A number that exists is refused
    // (Duplicate, kReplace) unless replace is set.
    double save(const FormulaComposition &c, const FormulaToSave &what);

    // ---- least cost -------------------------------------------------------
    // The problem of the lines' materials (the register's current values) and
    // the standard; low and high are the per-material bounds in percent,
    // maximum the typed maximum per factor. "原料名称有错误！" when a
    // material is missing.
    LeastCostProblem leastCostProblem(const std::vector<CompositionLine> &lines, const NutrientStandard &standard,
                                      const std::vector<double> &low, const std::vector<double> &high,
                                      const std::array<std::optional<double>, kFormulaFactors> &maximum);
    // A typed bound or maximum: blank is none, else a number from 0 to max.
    static std::optional<double> checkBound(const QString &typed, double max);

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
