#pragma once
// The feed product stock: for each product code the kilograms on hand are
// the scsl of its production master row (velcpzk). Production runs and
// product inputs raise it, product outputs lower it (it may go below zero).
// Every change is a relative update of the row, so two workstations booking
// the same product at once both count; an input also writes its production
// line (velcpk) in the same transaction.

#include "data/row.h"
#include "data/rowpager.h"
#include "data/session.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace fm {

class Clock;

// How an input is recorded on its production line.
enum class InputKind {
    Production,   // "生产输入" of the production input window: no bar code
    StockInput,   // "生产输入" of the product stock window
    ReturnInput,  // "回机输入" of the product stock window
};

struct ProductInput {
    QString team;     // the team's name, as the inputs record it
    QDate date;       // the production date picked
    QString code;     // product code of the catalogue (price)
    double bags = 0;
    InputKind kind = InputKind::Production;
    // Pellet flag and crumble kind of the line ("0" when not chosen).
    QString pelletFlag = QStringLiteral("0");
    int crumbleKind = 0;
};

// What a run books per product: the master row's cumulative kilograms and
// latest cost.
struct RunOutput {
    QString code, name, spec, formula, flag;
    double kilograms = 0;
    double costPerTonne = 0;
};

class ProductStock {
public:
    ProductStock(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static inline const QString kNoStockRow = QStringLiteral("该产品没有库存记录，不能输出！");
    static inline const QString kNoTeam = QStringLiteral("请选择生产班组！");
    static constexpr double kMaxBags = 1e6;

    // Kilograms of a number of bags of a size: bags × size, exactly (never
    // through tonnes). Refused with "请输入正确的数字！" for a number of bags
    // that is not positive or too large, or a size that is not a positive
    // number.
    static double kilograms(double bags, const QString &spec);

    // Books an input: the master row gains the kilograms (or is created with
    // them) and a production line records them; returns the line's id.
    qint64 input(const ProductInput &in);
    // Takes the kilograms of bags of the product off its stock row. Refused
    // when the product has no stock row. Returns the kilograms.
    double output(const QString &code, double bags);

    // The run's output booked into the master row (inside the caller's
    // transaction): cumulative kilograms, the run's cost as the latest cost,
    // today's booking date; a product made for the first time gets its row.
    static void bookRun(Session &s, const RunOutput &out, const QString &today, const QString &stamp);

    // Master rows: every column and id; all, or those of one product flag;
    // by code, or newest booking first.
    Rows stock(const QString &flag = QString(), bool newestFirst = false);
    static RowQuery stockQuery(bool newestFirst);
    // The rows of one product flag (all when flag is empty), by code, paged.
    static RowQuery stockQuery(const QString &flag);
    // The stock list ("产品库存明细："): a line for every listed product whose
    // stock is not zero, with its bags where its size is a positive number,
    // and the totals of all listed rows.
    static ReportDocument stockList(const Rows &rows, const QDate &today);

private:
    Session &m_s;
    const Clock &m_clock;
};

// Runs fn in a transaction; when the unique key of velcpzk refused a new
// master row (another workstation booked the same new product at the same
// moment), runs it once more, which then finds the row and adds to it.
void runWithMasterRetry(Session &s, const std::function<void()> &fn);

} // namespace fm
