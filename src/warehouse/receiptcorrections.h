#pragma once
// Corrections of raw-material receipt lines ("入库修改"). A corrected line is
// found by its key; the differences go to the supplier's fund lines as a
// correction line, and the stock's value loses the receipt as it was and
// gains it as corrected, all in one transaction. The register price s0 stays
// as the last receipt set it.

#include "data/rowpager.h"

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

class Session;
class Clock;

// A receipt line (ylrkmx).
struct ReceiptLine {
    qint64 id = 0;
    QString materialCode; // yldm
    QString materialName; // ylmc
    double kilograms = 0; // ylsl
    double pricePerKilogram = 0; // yljg
    double payable = 0; // sjje
    double paid = 0;    // sfje
    double owed = 0;    // sqje
    QString supplierCode; // gysdm
    QString supplierName; // gysmc
    QString flag;      // yldj
    QString date;      // rq_1
    QString contract;  // hthm
    QString operatorCode; // czydm

    double pricePerTonne() const { return pricePerKilogram * 1000; }
    // A receipt of an amount only (no quantity, no price).
    bool amountOnly() const;

    static QString columns();
    static ReceiptLine read(const Row &r);
};

struct ReceiptCorrectionEntry {
    qint64 lineId = 0;
    QString supplierName; // corrected
    QString materialName; // corrected
    double kilograms = 0;
    double pricePerTonne = 0;
    double paid = 0;
};

struct CorrectionFigures {
    double payable = 0; // "现应付金额"
    double owed = 0;    // "现实际欠款"
};

struct ReceiptCorrectionResult {
    qint64 fundId = 0; // the correction line in gyszjk
    bool stockChanged = false;
    double stockKilograms = 0;
    double stockPrice = 0;
};

class ReceiptCorrections {
public:
    ReceiptCorrections(Session &s, const Clock &clock, QString operatorCode);

    static const QString kQuestion; // "是否确认修改？"
    static const QString kDeclined; // "你已经放弃修改！"
    static const QString kNotFound; // "未找到要修改的记录！"
    static constexpr double kMaxKilograms = 100000000;

    // Receipt lines dated from .. to, both included.
    RowQuery between(QDate from, QDate to) const;
    std::optional<ReceiptLine> line(qint64 id);

    // The payable and owed amounts of the line as corrected. A line of an
    // amount only keeps its amount while quantity and price stay 0.
    static CorrectionFigures figures(const ReceiptLine &former, double kilograms, double pricePerTonne, double paid);
    // Checks a quantity in kilograms, a price per tonne, a paid amount
    // (taken to the cent); "请输入正确的数字！" when out of range.
    static double checkKilograms(double kilograms);
    static double checkPrice(double pricePerTonne);
    static double checkPaid(double paid);

    ReceiptCorrectionResult correct(const ReceiptCorrectionEntry &e);

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
