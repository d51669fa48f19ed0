#pragma once
// The warehouse keeper's daily desk for raw materials ("原料管理"): receipts
// from suppliers, issues to the workers of the production teams, payments to
// suppliers, and suppliers added on the way.
//
// A receipt keeps three things current together, in one transaction: the
// stock row (quantity and moving average price), the register price s0
// (yuan per kilogram, read by the formula windows) and the supplier's fund
// lines. An issue lowers the stock and records the value issued at the stock
// price. Stock changes are relative updates made under the stock row's lock,
// so two workstations moving the same material lose nothing.
//
// Units: typed in tonnes and yuan per tonne; receipt lines hold kilograms and
// yuan per kilogram, stock rows and issue lines kilograms and yuan per tonne.

#include "data/rowpager.h"

#include <QString>

namespace fm {

class Session;
class Clock;

struct ReceiptEntry {
    QString materialCode;
    QString supplierCode;
    QString contract;     // hthm; blank is stored as " "
    double tonnes = 0;
    double pricePerTonne = 0;
    // An amount-only receipt (no quantity, no price) revalues the stock by
    // the amount typed.
    bool amountOnly = false;
    double amount = 0; // amount-only receipts: the amount typed (yuan)
    double paid = 0;   // paid on the spot (yuan); 0 for amount-only receipts
};

// What a receipt comes to, as the desk shows it before confirming.
struct ReceiptFigures {
    double kilograms = 0;
    double payable = 0; // "合计金额"
    double paid = 0;    // "实付金额"
    double owed = 0;    // "实欠金额" = payable − paid
};

struct ReceiptResult {
    qint64 lineId = 0; // ylrkmx
    qint64 fundId = 0; // gyszjk
    ReceiptFigures figures;
    double stockKilograms = 0;
    double stockPrice = 0;    // yuan per tonne
    double registerPrice = 0; // s0, yuan per kilogram
};

enum class IssueKind { Production, Sale }; // ck_bz "0" / "1"

struct IssueEntry {
    QString materialCode;
    double tonnes = 0;
    QString workerCode; // bzry.rydm
    QString remark;     // ly_sm
    IssueKind kind = IssueKind::Production;
};

struct IssueResult {
    qint64 lineId = 0; // ylckmx
    double kilograms = 0;
    double pricePerTonne = 0; // the stock price at the issue
    double amount = 0;        // yuan
    double stockLeft = 0;     // kilograms
};

struct NewSupplier {
    QString code;
    QString name;
    QString address;
    QString phone;
};

// The desk's running totals while it is open.
struct DeskTotals {
    double paid = 0;        // yuan paid on receipts
    double kilograms = 0;   // received
    int issues = 0;
    double issuedTonnes = 0;

    void add(const ReceiptResult &r);
    void add(const IssueResult &r);
    QString paidText() const;      // "入库金额：" in 万元
    QString receivedText() const;  // "入库数量：" in tonnes
    QString issuesText() const;    // "出库笔数："
    QString issuedText() const;    // "出库数量：" in tonnes
};

class MaterialDesk {
public:
    MaterialDesk(Session &s, const Clock &clock, QString operatorCode);

    static const QString kBadMaterialCode;  // "原料代码错误，重新输入！"
    static const QString kNoSuchMaterial;   // "原料库中无此原料！"
    static const QString kBadWorkerCode;    // "人员代码错误！"
    static const QString kShortSuffix;      // "库存数量不够！"
    static const QString kSupplierExists;   // "该代码已存在，重新选择！"
    static const QString kBadSupplierCode;  // "供应商代码错误，重新输入！"
    static const QString kNoStockToRevalue; // "库存数量为0，不能只输入金额！"

    // Ranges of what is typed; out of range gives "请输入正确的数字！".
    static constexpr double kMaxTonnes = 100000;
    static constexpr double kMaxPricePerTonne = 10000000;
    static constexpr double kMaxAmount = 10000000000.0;
    // A quantity in tonnes (0 allowed) / a price per tonne (0 allowed).
    static double checkTonnes(double tonnes);
    static double checkPrice(double pricePerTonne);
    // Money typed: taken to the cent. Paid: 0 or more. An amount-only
    // receipt's amount: not 0 (negative for a credit).
    static double checkPaid(double amount);
    static double checkRevaluation(double amount);
    // The amount of a payment to a supplier: more than 0.
    static double checkPayment(double amount);

    // What a receipt comes to (no database access): the amount from quantity
    // and price (or the amount typed), and what remains owed.
    static ReceiptFigures figures(const ReceiptEntry &e);

    // Checks everything, then writes the receipt line, the stock row, the
    // register price and the supplier's fund line in one transaction.
    ReceiptResult receive(const ReceiptEntry &e);
    // Checks everything, then lowers the stock and writes the issue line in
    // one transaction.
    IssueResult issue(const IssueEntry &e);
    // A payment to a supplier outside any receipt; returns the fund line's id.
    qint64 pay(const QString &supplierCode, double amount);

    // The supplier panel of the receipt group: a code that is free, trimmed.
    QString checkNewSupplierCode(const QString &code);
    // Adds a supplier (flag "1"); returns its id.
    qint64 addSupplier(const NewSupplier &n);

    // Today's receipt lines, issue lines (returns excluded) and fund lines.
    RowQuery todaysReceipts() const;
    RowQuery todaysIssues() const;
    RowQuery todaysFunds() const;

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
