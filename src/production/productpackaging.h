#pragma once
// The packaging recorded on a production line: woven bags, outer packaging,
// labels and anti-counterfeit labels, each with code, name, price per piece,
// count and amount. Bags, and labels when a line is packed in full, come out
// of the packaging stock (bzbqk).
//
// A line is targeted by its id (bar codes of the product inputs are not
// unique). Packing writes the line and moves the stock in one transaction:
// the pieces the line already holds go back to stock and the new count is
// drawn only if the stock has it, so confirming the same packaging twice
// draws nothing the second time, and two workstations drawing the last
// pieces cannot both succeed.

#include "data/dberror.h"
#include "data/row.h"
#include "data/rowpager.h"
#include "data/session.h"
#include "production/productionteams.h"

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

// What "请选择：" offers.
enum class PackagingKind { All, Bags, Outer, Labels, AntiCounterfeit };

struct PackagingPart {
    QString code, name, spec;
    double price = 0; // yuan per piece
    qint64 count = 0;
    double amount() const;
};

// The stock of bags or of labels does not hold the count.
class PackagingShortage : public DomainError {
public:
    PackagingShortage(const QString &message, bool labels) : DomainError(message, ErrorCode::Refused), m_labels(labels) {}
    bool labels() const { return m_labels; }

private:
    bool m_labels;
};

struct PackagingEntry {
    PackagingKind kind = PackagingKind::All;
    std::optional<PackagingPart> bags;
    std::optional<PackagingPart> outer;
    std::optional<PackagingPart> labels;
    std::optional<PackagingPart> antiCounterfeit;
};

class ProductPackaging {
public:
    explicit ProductPackaging(Session &s) : m_s(s) {}

    static inline const QString kBagsShort = QStringLiteral("包装袋数量不够!");
    static inline const QString kLabelsShort = QStringLiteral("标签数量不够!");
    static inline const QString kNoCode = QStringLiteral("代码不存在！");
    static inline const QString kRepack = QStringLiteral("该生产记录已包装，是否重新包装？");
    static inline const QString kGone = QStringLiteral("该生产记录已不存在！");

    static QString kindText(PackagingKind k);

    // Lines that can be packed: every one not flagged "x" (the list on
    // opening, paged), or a team's (matched by code or name) of one
    // production date, never sundry returns.
    static RowQuery linesQuery();
    Rows lines(const TeamForms &team, const QDate &date);
    std::optional<Row> line(qint64 id);

    // A packaging stock row by code, or nothing.
    std::optional<Row> stockItem(const QString &code);
    // Codes offered for outer packaging (woven bags, "A") and anti-counterfeit
    // labels ("F"; every code when letter is empty).
    Rows stockItems(const QString &letter);

    // The whole bags a line of kilograms fills: kilograms ÷ size, rounded
    // down (a size that is not a positive number is refused).
    static qint64 proposedBags(double kilograms, const QString &size);
    // Whether the bag stock, with the bags of that code the line holds
    // already, has count pieces now (the check of the count before the rest
    // is entered; the draw itself happens on packing).
    bool bagsAvailable(const QString &code, qint64 count, qint64 lineId = 0);
    // Whether the line holds packaging already (a repack is asked first).
    static bool packed(const Row &line);

    // Writes the entry's materials onto the line and moves the stock.
    void pack(qint64 lineId, const PackagingEntry &entry);

private:
    void move(const QString &code, qint64 back, qint64 draw, bool labels);
    Session &m_s;
};

} // namespace fm
