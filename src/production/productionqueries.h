#pragma once
// The production queries: the theoretical raw-material use of a period
// (rebuilt into scyl_lr), the workshop's production lines with their totals
// by kind, the products sent back for reprocessing (cphj) with their print,
// and one production line found by its bar code.

#include "data/row.h"
#include "data/session.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

class Clock;

// How the workshop query and the returns query choose their lines.
enum class LineFilter { ByDate, ByProduct, ByFormula, ByTeam };

struct WorkshopTotals {
    double productionTonnes = 0; // every line but sundry returns
    double blendingTonnes = 0;   // lines of kind "掺拌生产"
    double rebaggingTonnes = 0;  // lines of kind "换包"
};

class ProductionQueries {
public:
    ProductionQueries(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    // Rebuilds scyl_lr for the period from the committed theoretical lines:
    // per material of the register with lines, the kilograms and their
    // quantity-weighted average price. One transaction; two workstations
    // rebuilding at once take turns. Returns the rows, by material code.
    Rows rebuildMaterialUse(const QString &start, const QString &end);
    Rows materialUse(); // as last built
    // The rows built for periods starting from start to end, all materials or
    // one by name, with the sum of their kilograms.
    Rows materialUseQuery(const QString &start, const QString &end, const QString &materialName = QString(),
                          double *kilograms = nullptr);
    QStringList stockMaterialNames(); // every ylmc of ylhzk

    // The choices of the workshop query's list: product codes or formula
    // numbers of the production master, or team codes.
    QStringList workshopChoices(LineFilter f);
    Rows workshopLines(LineFilter f, const QString &choice, const QString &start, const QString &end,
                       WorkshopTotals *totals = nullptr);

    // Products sent back, by date (and product code or team code), with the
    // sum of their kilograms.
    Rows returns(LineFilter f, const QString &choice, const QString &start, const QString &end,
                 double *kilograms = nullptr);
    // "…产品回机名细表：": the listed returns except sundry returns, with totals.
    static ReportDocument returnsDocument(const QString &qymc, const Rows &rows, const QDate &today,
                                          const QString &start, const QString &end);

    // A listed query printed as it shows: the title, the print date, the
    // columns and the rows; the columns marked sum are totalled.
    struct ListColumn {
        QString title, field;
        bool number = false;
        bool sum = false;
    };
    static ReportDocument listDocument(const QString &title, const QList<ListColumn> &columns, const Rows &rows,
                                       const QDate &today);

    // A product of the production master by code: cpdm, cpmc, cpgg.
    std::optional<Row> masterProduct(const QString &code);

    // The production line of a bar code (13 characters), if any.
    std::optional<Row> lineByBarCode(const QString &code);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
