#pragma once
// Corrections of lines just entered in the sales window, by the line's key.
//
// A return's register row (khtl), funds row (khzj) and the stock follow the
// corrected return line in the same transaction. The rows are found through
// their link to the line (sale1_id); rows written before the link existed are
// found by their values as before and linked. Either way exactly one row of
// each must be found, or nothing changes.
//
// Locks are taken in one order: the customer's register row, the line, its
// register and funds rows, the stock.

#include "data/row.h"
#include "sales/saleline.h"

#include <QString>
#include <functional>

namespace fm {

class Session;

class Corrections {
public:
    Corrections(Session &s, QString operatorCode) : m_s(s), m_operator(std::move(operatorCode)) {}

    // The function the change log names for return revisions (the history
    // corrections revise returns through this class too).
    void recordReturnsAs(QString function) { m_returnFunction = std::move(function); }

    // The issue lines of an open slip.
    Rows slipLines(const QString &zzhm, const QString &customerCode, const QString &lineDate);
    // The return lines of a day: the customer's from every operator, or
    // (no customer) this operator's.
    Rows returnLines(const QString &date, const QString &customerCode);
    SaleLine line(qint64 id);

    // The amount a corrected line will have; refuses numbers out of range.
    static double amount(double kilograms, double price);

    // New quantity (kg) and price of an issue line; its print row (this
    // workstation's and operator's row printLine of the customer) follows.
    void modifyIssueLine(qint64 id, double kilograms, double price, const QString &workstation, int printLine);
    // Only the operator's own lines; the print row stays as a blank line.
    void deleteIssueLine(qint64 id, const QString &workstation, int printLine);

    void modifyReturnLine(qint64 id, double kilograms, double price);
    void deleteReturnLine(qint64 id);

    // A return line set anew from an earlier day's entry: quantity, policy
    // price and return price. The policy and return amounts follow, and with
    // them the register row, the funds row (receivable and the promotion fee
    // given back) and the stock, by the change in quantity. revise sees the
    // line locked, before any change, and gives the new values (or refuses by
    // throwing). Returns false when the product has no stock row.
    struct ReturnRevision {
        double kilograms = 0, policyPrice = 0, returnPrice = 0;
    };
    bool reviseReturn(qint64 id, const std::function<ReturnRevision(const SaleLine &)> &revise);
    // The return line a register row (khtl) was written with: by its link,
    // or by its values for a row written before the link. "未找到要修改的记录！"
    // unless exactly one.
    qint64 returnLineOf(qint64 registerId);

private:
    struct LockedReturn {
        SaleLine line;
        qint64 registerId = 0; // khtl
        qint64 fundsId = 0;    // khzj
    };
    // Inside a transaction: the return line and its two rows, locked.
    LockedReturn lockReturn(qint64 id);
    qint64 linkedRow(const QString &table, const QString &legacyMatch, const QVariantList &legacyValues, qint64 lineId);

    Session &m_s;
    QString m_operator;
    QString m_returnFunction = QStringLiteral("退料数据修改");
};

} // namespace fm
