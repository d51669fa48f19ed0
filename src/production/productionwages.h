#pragma once
// Production wages. A team's wage over a period comes from its production
// lines and the wage standards (sccsk); the wage sheet (scgzmx) shares the
// team wages stored with the team's production costs (sccbk) equally among
// its workers and keeps each worker's wage receivable and wage paid equal to
// their definitions whenever an amount changes.

#include "data/row.h"
#include "data/session.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>

namespace fm {

class Clock;

// The amounts typed into a wage line.
struct WageAmounts {
    double jsbt = 0; // 技术补贴
    double gwbt = 0; // 带班费
    double wsf = 0;  // 卫生费
    double fsbt = 0; // 副食补贴
    double jgf = 0;  // 加工费
    double dbf = 0;  // 晚班费
    double qtys = 0; // 其他应收
    double fk = 0;   // 罚款
    double qt = 0;   // 其他罚款
};

class ProductionWages {
public:
    ProductionWages(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static inline const QString kAllTeams = QStringLiteral("所有班组");
    static constexpr double kMaxAmount = 1e9;

    // The wage a team earned from start to end (both "yyyy-mm-dd"): over its
    // lines (the team's code or name; every team for "所有班组") except
    // sundry returns, each line's tonnes × (gzbz + qtbz) of every matching
    // standard. A line's tonnes are its crumbled kilograms psnum when not
    // zero, else its produced kilograms scsl, ÷ 1000. A standard matches on
    // the product flag, the pellet flag and the crumble kind (a blank counts
    // as "0", none) and on the size unless its size is blank. One statement.
    double teamWage(const QString &team, const QString &start, const QString &end);

    // Shares the team wages stored for the period equally among the team's
    // wage lines and recomputes their receivable and paid wage. Returns the
    // share (the total when the team has no lines, which changes nothing).
    double distribute(const QString &teamCode, const QString &start, const QString &end);
    Rows sheet(const QString &teamCode);
    // Stores a line's typed amounts and recomputes its receivable and paid
    // wage from them; returns the line as stored.
    Row post(qint64 id, const WageAmounts &a);
    // Every amount of the team's lines back to 0.
    void clear(const QString &teamCode);

    static double receivable(double scgz, const WageAmounts &a);
    static double paid(double scgz, const WageAmounts &a);

    // "打印总表": every column of the team's sheet with totals.
    static ReportDocument summaryDocument(const QString &qymc, const QString &teamName, const Rows &rows, const QDate &today);
    // "打印工资": one line per worker to sign for the wage paid.
    static ReportDocument payDocument(const QString &qymc, const QString &teamName, const Rows &rows, const QDate &today);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
