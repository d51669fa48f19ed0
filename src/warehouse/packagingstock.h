#pragma once
// Packaging materials (woven bags, labels...) counted by the piece. The items
// are catalogue products whose category flag is a letter; their stock lives in
// bzbqk (one row per code) and every receipt or issue leaves a line in bqk.
// A receipt or an issue writes its line and its stock change in one
// transaction, and stock only ever moves by relative updates, so a receipt,
// an issue and a production line's packaging at the same moment all count.

#include "data/row.h"
#include "data/session.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

class Clock;

struct PackagingType {
    QString name;   // lbmc
    QString letter; // cpbz, "A" to "Z"
};

struct PackagingItem {
    QString code, name, spec;
    double listPrice = 0; // kpjg, yuan per piece
    QString letter;
};

struct PackagingTotals {
    double pieces = 0;
    double amount = 0;
};

class PackagingStock {
public:
    PackagingStock(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static inline const QString kNoCode = QStringLiteral("代码不存在！");
    static inline const QString kBadItem = QStringLiteral("包装物代码或包装物名称或规格参数不对");
    static inline const QString kShort = QStringLiteral("库存不足！");
    static inline const QString kTidied = QStringLiteral("整理结束！");
    static constexpr qint64 kMaxPieces = 100000000;

    // The categories whose flag is an upper-case letter, in table order.
    std::vector<PackagingType> types();
    // The catalogue items of a type, by code.
    std::vector<PackagingItem> items(const QString &letter);
    std::optional<PackagingItem> item(const QString &code);

    // A count of pieces as typed: a whole number from 0 up (empty is 0).
    static qint64 pieces(const QString &text);
    // A price per piece as typed: 0 or more, to the cent (empty is 0).
    static double unitPrice(const QString &text);

    // A receipt: a line "I" and the stock row raised (created on the first
    // receipt); the stock takes the receipt's price as its latest price and
    // its value grows by the receipt's amount. Returns the amount.
    double receive(const QString &code, double price, qint64 count);
    // What would remain after issuing count pieces of the stock row as it is
    // now; refused with "库存不足！" when that is below zero.
    qint64 remainder(const QString &code, qint64 count);
    // An issue: the stock row lowered by count only if it holds that many
    // (else "库存不足！" and nothing written) and revalued at its price; a
    // line "O" at the stock's price. Returns the pieces left.
    qint64 issue(const QString &code, qint64 count);

    // Stock rows (all, or of one type), by code.
    Rows stock(const QString &letter = QString());
    // Receipt ("I") or issue ("O") lines of a date range.
    Rows movements(const QString &kind, const QDate &from, const QDate &to);
    static PackagingTotals totals(const Rows &rows);
    // Removes the stock rows and lines holding no pieces; returns how many.
    int tidy();

    // "包装物结存打印": the stock rows with their totals.
    static ReportDocument stockSheet(const Rows &rows, const QDate &today);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
