#pragma once
// Saved formulas brought up to date with the raw-material register: each
// formula is evaluated anew through the kernel, and
//   - its saved nutrient results (pfyyk) of the saving dates in the range get
//     the new result and comp = new result − stand,
//   - its lines (velpfk) and its register row (pfzlk) the new cost,
//   - the products following it (velcpzk) the cost per tonne.
// Each formula is one transaction: a failure leaves the formulas before it
// refreshed and the rest as they were, never one half-written.

#include <QDate>
#include <QString>
#include <functional>

namespace fm {

class Session;
class Clock;

struct RefreshOutcome {
    int total = 0;     // formulas to refresh
    int refreshed = 0; // formulas written
    // Set when the run stopped at a material priced 0: the message to show.
    QString stopMessage;
};

class FormulaRefresh {
public:
    FormulaRefresh(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static const QString kBlankDates;      // "起始日期或截止日期不能为空！"
    static const QString kBlankDatesAll;   // "起始日期或截止日期为空，不能刷新！"
    static const QString kNotConfirmed;    // "先确认，再刷新！"
    static const QString kQuestion;        // "将对所有配方刷新，是否继续？"
    static const QString kZeroPrice;       // "价格为0，计算将不能继续！" (after the material's name)
    static const QString kDone;            // "刷新完毕！"

    // Called after each formula: formulas done, formulas in the run.
    using Progress = std::function<void(int done, int total)>;

    // The formulas that have a line of the material, in number order. The
    // products keep their costing date.
    RefreshOutcome refreshContaining(const QString &materialCode, QDate start, QDate end,
                                     const Progress &progress = {});
    // Every formula, in number order. Stops before the first formula with a
    // material whose price is 0 (nothing of it written); products also get
    // today as their costing date.
    RefreshOutcome refreshAll(QDate start, QDate end, const Progress &progress = {});

private:
    struct Target {
        qint64 id = 0;
        QString number;
    };
    RefreshOutcome run(const std::vector<Target> &targets, QDate start, QDate end, bool stopAtZeroPrice,
                       bool withDate, const Progress &progress);

    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
