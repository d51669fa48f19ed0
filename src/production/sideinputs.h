#pragma once
// What the production entry does not capture: sundry material returned for
// reprocessing (scsyk), the balances of a shift's consumption rows
// (scylxh), the production cost of a team over a period (sccbk) and the
// monthly manufacturing overheads (zzfy).

#include "data/row.h"
#include "data/session.h"
#include "production/productionteams.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace fm {

class Clock;

// A product of the production master as the side inputs choose it.
struct MasterProduct {
    qint64 id = 0;
    QString code, name, spec, formula;
};

class SundryReturns {
public:
    SundryReturns(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}
    static constexpr double kMaxKilograms = 1e7;

    // Names of the production master, by code.
    QStringList productNames();
    std::optional<MasterProduct> productByName(const QString &name);
    // Adds kilograms to the product's row, or creates it with this team and
    // date; the first entry's team and date stay. Returns the row's id.
    qint64 book(const QString &teamCode, const QDate &date, const QString &productCode, double kilograms);
    // Every row, as the browse window lists them.
    Rows all();

private:
    Session &m_s;
    const Clock &m_clock;
};

class ShiftBalances {
public:
    explicit ShiftBalances(Session &s) : m_s(s) {}
    static constexpr double kMaxKilograms = 1e7;

    // A team's consumption rows from start to end (dates "yyyy-mm-dd"), by
    // date and material.
    Rows rows(const QString &teamCode, const QString &start, const QString &end);
    std::optional<Row> row(qint64 id);
    // Actual consumption = previous balance + drawn − balance.
    static double consumption(double drawn, double previous, double balance) { return previous + drawn - balance; }
    // Stores the three balances and the consumption on that one row.
    double enter(qint64 id, double drawn, double previous, double balance);

private:
    Session &m_s;
};

// The figures of a team over a period, as "生产成本输入" shows them.
struct TeamCostFigures {
    double packagingAmount = 0;  // yuan: bags, labels, outer packaging of its lines
    double productionKg = 0;     // its lines except sundry returns
    double actualKg = 0;         // Σ scjc + sjsl + lrjc − sjjc
    double theoreticalKg = 0;    // Σ lrsl
    bool hasConsumption() const { return actualKg != 0; }
    // The shown figures; all "0" while there is no consumption.
    double actualTonnes() const { return hasConsumption() ? actualKg / 1000 : 0; }
    double productionTonnes() const { return hasConsumption() ? productionKg / 1000 : 0; }
    double theoreticalTonnes() const { return hasConsumption() ? theoreticalKg / 1000 : 0; }
    // Yuan per tonne; 0 without production.
    double packagingPerTonne() const;
    // Percent, rounded to four significant digits; 0 without production.
    double lossRate() const;
    // "2.500", "-2.500", "0.000"; "0" without production.
    QString lossRateText() const;
    // "亏" above zero, "赢" below, "平" at zero.
    QString lossMark() const;
};

struct TeamCostEntry {
    QString teamCode;
    QString start, end; // "yyyy-mm-dd"
    double wages = 0, electricity = 0, water = 0, coal = 0, other = 0; // yuan
};

class TeamCosts {
public:
    TeamCosts(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}
    static constexpr double kMaxAmount = 1e9;

    // Workers of the team in the production staff.
    int headCount(const QString &teamCode);
    TeamCostFigures figures(const TeamForms &team, const QString &start, const QString &end);
    // Computes the figures again and stores one row (dated today). Amounts
    // are taken to the cent; refused when out of range.
    qint64 save(const TeamCostEntry &e);
    // The team's stored rows from start to end.
    Rows stored(const QString &teamCode, const QString &start, const QString &end);

private:
    Session &m_s;
    const Clock &m_clock;
};

struct OverheadAmounts {
    double wages = 0, electricity = 0, gas = 0, other = 0; // gz, df, qf, qt
};

class Overheads {
public:
    Overheads(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}
    static constexpr double kMaxAmount = 1e10;

    // The years offered: ten before the current one to the next.
    QStringList years() const;
    static QStringList months(); // "01" … "12"
    // "yyyymm" from what was chosen or typed; "请选择年份!" / "请选择月份!"
    // when one is empty, "请输入正确的数字！" when it is no year or month.
    static QString monthKey(const QString &year, const QString &month);
    // The question asked before a month is overwritten.
    static QString overwriteQuestion(const QString &key);

    std::optional<Row> find(const QString &key);
    // Inserts the month, or replaces its amounts (keeping when it was first
    // entered) when overwrite is set; false when it exists and overwrite is
    // not set. The row's id in *id.
    bool save(const QString &key, const OverheadAmounts &a, const QString &operatorCode, bool overwrite, qint64 *id = nullptr);
    bool remove(qint64 id);
    Rows all(); // by month

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
