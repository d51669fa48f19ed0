#pragma once
// A production run: a team runs a formula for a shift. Drawing the run
// writes its theoretical raw-material lines (scylk, uncommitted) and adds
// their quantities to the shift's consumption rows (scylxh), creating those
// that do not exist yet; the run's cost per tonne is the formula's prices
// weighted by those quantities; confirming the run books its output as
// production lines (velcpk) and product stock (velcpzk) and commits its
// lines, all in one transaction. Cancelling takes back exactly what the run
// drew. A run touches only its own rows: another team's run in progress on
// another workstation is never changed.

#include "data/session.h"
#include "formulation/formulabook.h"
#include "production/formulareader.h"

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Clock;

// What the top of the production window holds when the lines are drawn.
struct RunHead {
    QString team;         // 本次班组, as the staff register holds it
    QString previousTeam; // 上次班组
    QString formula;      // the number as typed, trimmed
    QString formulaName;
    QString date;         // production date "yyyy-mm-dd"
    double production = 0;  // kilograms out of the mixer
    double reprocessed = 0; // of which returned product fed back in
    double actual() const { return production - reprocessed; }
};

// A shift consumption row the run added to.
struct ShiftShare {
    qint64 id = 0;
    double kilograms = 0;
    bool created = false; // the run created the row
};

// A drawn run, held by its window until it is confirmed or cancelled.
struct ProductionRun {
    RunHead head;
    QString flag;                 // product flag: first character of the formula number
    std::vector<qint64> lineIds;  // its scylk rows
    std::vector<ShiftShare> shiftRows;
    std::optional<double> cost;   // yuan per tonne, once computed
    bool isOpen() const { return !lineIds.empty(); }
};

// One product slot of the run's output.
struct ProductSlot {
    QString code;
    QString spec; // kilograms per bag, as typed
    QString name;
    double kilograms = 0;
};

struct RunBooking {
    std::vector<qint64> lineIds;   // velcpk
    std::vector<QString> barCodes; // in slot order
};

class ProductionRuns {
public:
    ProductionRuns(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static inline const QString kReprocessed = QStringLiteral("有回机，请先输入回机数据");
    static inline const QString kBadAllocation = QStringLiteral("分配数量有错！");
    static constexpr double kMaxKilograms = 1e7; // one run: far above any mixer's shift
    static constexpr int kSlots = 4;
    static constexpr int kNameLength = 14;

    // The product flag of a formula number and the name of its category.
    static QString productFlag(const QString &formula);
    QString categoryName(const QString &flag);

    // The formula looked up, its line prices following the stock first.
    std::optional<FormulaHead> openFormula(const QString &number);

    // Checks the head (a positive actual production in range, nothing
    // reprocessed, a known formula with lines), writes the run's lines with
    // serial numbers after firstSerial and its shares of the shift rows, in one
    // transaction.
    ProductionRun draw(const RunHead &head, int firstSerial);
    // The run's lines as listed in the window: ylmc, lrsl, bzdm, bzdm0, pfhm,
    // yljg, rq_1 (and id), in order.
    Rows lines(const ProductionRun &run);
    // Cost per tonne: Σ lrsl × yljg of the run's lines ÷ actual production.
    double cost(const ProductionRun &run);

    // The name the production master holds for a code, if any.
    std::optional<QString> productName(const QString &code);
    // The allocation is checked before anything is written: every slot with a
    // code has a size, a name and a positive quantity, and the slots add up
    // to the actual production. Refused with "分配数量有错！".
    void checkAllocation(const ProductionRun &run, const std::vector<ProductSlot> &output) const;
    // Books the run (the cost computed if it was not) in one transaction.
    RunBooking confirm(const ProductionRun &run, const std::vector<ProductSlot> &output);
    // Takes back the run's shares of the shift rows, deletes the shift rows
    // it created (unless another run or a balance has used them since) and
    // its uncommitted lines, in one transaction.
    void cancel(const ProductionRun &run);

    // A production line's bar code: an EAN-13 of the in-house range ("2"),
    // the line's key in eleven digits and the check digit. Unique, since keys
    // are never reused.
    static QString barCode(qint64 lineId);
    static int ean13CheckDigit(const QString &twelveDigits);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
