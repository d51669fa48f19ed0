#pragma once
// The saved formulas as the display, the price query and the production
// formula query read them, and the deletion of a formula.
//
// Dates are the saving dates (rq_1, "yyyy-mm-dd"), both ends included.

#include "data/row.h"
#include "data/rowpager.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;

struct FormulaHead {
    qint64 id = 0;
    QString number;   // pfhm
    QString name;     // pfmc
    QString standard; // pfbz
    double cost = 0;  // pfcb, yuan/kg
};

// What the display shows: every formula, or one formula's saves in a range.
struct FormulaView {
    bool all = true;
    QString number;
    QDate start, end;
};

// A saved cost of a formula (the pfyyk row of factor s0).
struct SavedPrice {
    qint64 id = 0;
    QString number;  // pfhm
    QString name;    // pfmc
    QString factor;  // ylys, "价格"
    double price = 0; // result, yuan/kg
    QString recNum;
    QString date;    // rq_1
    QString moment;  // rq_0
};

struct DeleteOutcome {
    int lines = 0;   // velpfk rows removed
    int results = 0; // pfyyk rows removed
    bool registerRemoved = false; // no line of the formula was left
};

class FormulaBook {
public:
    explicit FormulaBook(Session &s) : m_s(s) {}

    static const QString kPlaceholder;     // "配方代码"
    static const QString kNotFound;        // "该配方不存在！"
    static const QString kBadDates;        // "输入正确的日期！"
    static const QString kDeleteQuestion;  // "确认删除该配方吗(yes/no)?"
    static const QString kLinesRemain;     // the register row stays: lines outside the dates

    // ---- choosing ---------------------------------------------------------
    // The chooser's entries, in number order: the number padded with blanks
    // to 9 characters, a blank, the name.
    QStringList entries();
    // The number of an entry (or of a typed number): its text up to the first blank.
    static QString numberOfEntry(const QString &text);
    std::optional<FormulaHead> find(const QString &number);

    // ---- what the grids show (paged) -----------------------------------------
    // Results: id, pfhm, pfmc, ylys, result, stand, comp, rq_1 ...; all
    // formulas: those with a result and a standard; one formula: those with a
    // result, of its saves in the range. In factor-number order as text.
    static RowQuery resultQuery(const FormulaView &v);
    // Lines: id, pfhm, pfmc, ylmc, ylsl, rq_1 ..., in line order.
    static RowQuery lineQuery(const FormulaView &v);
    // Every row of such a query, in its order (for the printed sheets).
    Rows allRows(const RowQuery &q);

    // ---- deleting -------------------------------------------------------------
    // The formula's lines and results saved in the range, in one transaction;
    // the register row too when no line of the formula is left. Both dates
    // are required ("输入正确的日期！").
    DeleteOutcome remove(const QString &number, QDate start, QDate end);

    // ---- prices ---------------------------------------------------------------
    // The saved costs in the range (result not 0), by formula name.
    std::vector<SavedPrice> prices(QDate start, QDate end);

    // ---- production formula query -------------------------------------------------
    // Products (velcpzk) costed in the range, by code: id, cpdm, cpmc, cpgg,
    // scsl, sccb, pfhm, scbz, scrq_1, scrq_0, cpbz.
    Rows productsCosted(QDate start, QDate end);
    // The formula a product's pfhm follows (the longest registered number
    // that begins it; its first 6 characters when none does).
    QString formulaOfProduct(const QString &pfhm);
    // The materials drawn for that formula in the range (scylk), by one team
    // or (team empty) by all.
    static RowQuery drawnQuery(const QString &formula, QDate start, QDate end, const QString &team);

private:
    Session &m_s;
};

} // namespace fm
