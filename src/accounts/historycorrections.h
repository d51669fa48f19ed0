#pragma once
// "历史数据修改": corrections of slips entered on earlier days of the current
// period, for one customer and date range, before the customer's period is
// settled: funds rows, issue lines, return lines, the policy price of a
// product, and return prices.
//
// Each correction targets its row by key, checks that the row is still the
// customer's and within the range ("未找到要修改的记录！" otherwise), and
// writes in one transaction. A return's line, register row, funds row and
// the stock move together through the sales corrections (their link and
// locks); the stock by the change in quantity.

#include "accounts/customers.h"
#include "data/row.h"
#include "data/rowpager.h"

#include <QString>
#include <optional>

namespace fm {

class Session;
class Clock;

// The customer and dates the corrections work on.
struct CorrectionRange {
    QString customerCode;
    QString from, to; // "yyyy-mm-dd"
};

struct FundsSums {
    qint64 rows = 0;
    double receivable = 0; // Σ ysje
    double received = 0;   // Σ sjje
    double owed() const { return receivable - received; }
};

class HistoryCorrections {
public:
    HistoryCorrections(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    std::optional<Customer> customer(const QString &code);
    // The range of a customer: the start date is required, an empty end date
    // is today. "查无此客户！", "日期有错！请按yyyy-mm-dd输入。", an end before the
    // start refused.
    CorrectionRange range(const QString &customerCode, const QString &from, const QString &to);

    // ---- the rows of the range, for grids --------------------------------
    RowQuery fundsRows(const CorrectionRange &r) const;
    FundsSums fundsSums(const CorrectionRange &r);
    // Issue lines (bz_1 "1") or return lines (bz_1 "3").
    RowQuery saleLines(const CorrectionRange &r, bool returns) const;
    // The register rows of returns (khtl) by return date.
    RowQuery returnRegister(const CorrectionRange &r) const;

    // One row as the inputs show it; "未找到要修改的记录！" when it is gone.
    Row fundsRow(qint64 id);
    Row saleLine(qint64 id);
    Row registerRow(qint64 id);

    // The amount of a quantity at a price per tonne, as the window shows it;
    // refuses numbers out of range.
    static double amount(double kilograms, double price);

    // ---- corrections, each in one transaction ----------------------------
    // A funds row's receivable, received and owed amounts (to the cent).
    void correctFunds(const CorrectionRange &r, qint64 id, double receivable, double received, double owed);
    // An issue line's quantity and price; its amount follows.
    void correctIssue(const CorrectionRange &r, qint64 id, double kilograms, double price);
    // A return line's quantity, policy price and return price; its register
    // and funds rows and the stock follow. False when the product has no
    // stock row ("该产品不存在！"); the rest is corrected all the same.
    bool correctReturn(const CorrectionRange &r, qint64 id, double kilograms, double policyPrice, double returnPrice);
    // The policy price of every issue of the line's product (name and
    // size) for the customer within the range; with writeBack the
    // customer's price row (khprice.fhll) too. Returns the lines changed.
    int correctPolicyPrice(const CorrectionRange &r, qint64 id, double policyPrice, bool writeBack);
    // The return price of a register row; the return line and its funds row
    // follow.
    void correctReturnPrice(const CorrectionRange &r, qint64 registerId, double price);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
