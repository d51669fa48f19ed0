#pragma once
// Suppliers (gyszlk) and their funds: every receipt, payment and receipt
// correction is a fund line (gyszjk), and a supplier's balance is what was
// payable less what was paid over its lines, payments included.
//
//  - SupplierRegister ("供应商管理") adds, changes and deletes suppliers;
//  - SupplierFunds ("供应商资金处理", "供应商欠款查询") rebuilds the summary
//    gyszjhz, queries fund lines and the summary with their totals, and
//    makes the supplier documents.

#include "data/rowpager.h"
#include "reports/reportdocument.h"
#include "warehouse/materials.h"

#include <QDate>
#include <QString>

namespace fm {

class Session;
class Clock;

struct SupplierInput {
    QString code;
    QString name;
    QString address;
    QString phone;
};

class SupplierRegister {
public:
    explicit SupplierRegister(Session &s) : m_s(s) {}

    static const QString kCodeExists;   // "该供应商代码已经存在，不能增加！"
    static const QString kCodeTaken;    // changing to another supplier's code
    static const QString kStillOwed;    // deleting a supplier with a balance
    static const QString kEmpty;        // a name or address left empty
    static constexpr int kCodeLength = 5;
    static constexpr int kPhoneLength = 12;

    // A code for a new supplier: trimmed and free (letter case ignored).
    QString checkNewCode(const QString &code);
    // Adds a supplier (flag empty); returns its id.
    qint64 add(const SupplierInput &in);
    // Writes the four values (flag emptied). A new code must be free; the
    // supplier's fund and receipt lines follow it, so its balance stays.
    void change(qint64 id, const SupplierInput &in);
    // Deletes a supplier whose balance is 0; its fund lines stay.
    void remove(qint64 id);

    // Σ payable − Σ paid over all the supplier's fund lines.
    double balance(const QString &code);
    // Every supplier in code order, for the grid.
    RowQuery all() const;

private:
    void checkValues(const SupplierInput &in);
    Session &m_s;
};

// The three amounts of a set of fund lines or summary rows.
struct FundTotals {
    double payable = 0; // Σ yfje
    double paid = 0;    // Σ sfje
    double owed() const { return payable - paid; }
    // In units of 10 000 yuan, as the windows show them.
    QString payableText() const;
    QString paidText() const;
    QString owedText() const;
};

// A date range as the windows give it: start may be blank (null), end is required.
struct DateRange {
    QDate start;
    QDate end;
};

class SupplierFunds {
public:
    SupplierFunds(Session &s, const Clock &clock, QString operatorCode);

    static const QString kNoEndDate;     // "输入截止日期！"
    static const QString kProcessFirst;  // "请先进行供应商欠款处理，再查询！"

    // Replaces the summary with one row per supplier (or the one chosen)
    // over the fund lines of the range, all in one transaction. Suppliers
    // without lines get a row of zeros. Returns the totals of the summary.
    FundTotals process(const QString &supplierCode, const DateRange &range);

    // Fund lines of the range, of one supplier or (empty code) all.
    RowQuery fundLines(const QString &supplierCode, const DateRange &range) const;
    FundTotals fundTotals(const QString &supplierCode, const DateRange &range);
    // Summary rows whose processing date lies in the range.
    RowQuery summary(const QString &supplierCode, const DateRange &range) const;
    FundTotals summaryTotals(const QString &supplierCode, const DateRange &range);

    // "供应商欠款汇总报表" over the summary rows of the range (only suppliers
    // that still owe or are owed print; the footer sums every row).
    ReportDocument summaryDocument(const QString &supplierCode, const DateRange &range);
    // "供应商欠款明细" over the fund lines of the range.
    ReportDocument detailDocument(const QString &supplierCode, const DateRange &range);
    // A supplier's statement: balance brought forward, receipts, payments and
    // corrections of the period with the running balance, balance carried.
    ReportDocument statement(const QString &supplierCode, const DateRange &range);

private:
    void checkRange(const DateRange &range) const;
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

// "供应商名单：": every supplier.
ReportDocument supplierListDocument(const std::vector<Supplier> &suppliers);

} // namespace fm
