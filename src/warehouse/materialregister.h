#pragma once
// The raw-material register and its corrections:
//  - MaterialRegister ("原料增加") registers a material in ylpzk with its class
//    flag and 38 nutrient values; a premix the mill sells can be taken from
//    the product list;
//  - StockCorrection ("原料修正") corrects a stock row (quantity, price, name,
//    flag) and carries name, flag and price into the register and the name
//    and flag into every receipt and issue line of the material.

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

constexpr int kFactorCount = 38; // s1 .. s38

struct NewMaterial {
    QString code;
    QString name;
    QString flag; // "1" bulk, "0" minor, "2" premix
    std::array<double, kFactorCount> factors{}; // s1 .. s38
};

// A premix of the product list (price, cpbz "2").
struct Premix {
    qint64 id = 0;
    QString code; // cpdm
    QString name; // cpmc
    QString spec; // cpgg
    QString flag; // cpbz
    // The list item: the name padded with blanks to 14 (GBK bytes), then the grade (ylgg).
    QString itemText() const;
};

class MaterialRegister {
public:
    explicit MaterialRegister(Session &s) : m_s(s) {}

    static const QString kCodeExists;      // "该代码已经存在！重新输入。"
    static const QString kSameNameAndFlag; // "品种库中已经存在同名称同等级的原料。重新输入！"
    static const QString kNoFlag;          // "输入原料标志！"
    static const QString kTooLong;
    static const QString kEmpty;
    static constexpr int kCodeLength = 9;
    static constexpr int kNameLength = 20; // what ylmc holds
    static constexpr double kMaxFactor = 1000000;

    // A code typed for a new material: trimmed and lower-cased, and free.
    QString checkCode(const QString &code);
    // No other material has this name and this flag (letter case ignored).
    void checkNameAndFlag(const QString &name, const QString &flag, qint64 exceptId = 0);
    // A nutrient value: 0 or more, within range.
    static double checkFactor(double value);

    // The premixes of the product list, in code order.
    std::vector<Premix> premixes();
    std::optional<Premix> premix(qint64 id);

    // Checks everything again and adds the material with s0 = 0; returns its id.
    qint64 add(const NewMaterial &m);

private:
    Session &m_s;
};

struct StockCorrectionEntry {
    qint64 stockId = 0;
    // What the clerk was shown and what was typed over it. The stock moves
    // by the difference, so a receipt or an issue another workstation made
    // in between is kept; the price is set only when it was changed.
    double shownKilograms = 0;
    double shownPricePerTonne = 0;
    double kilograms = 0;
    double pricePerTonne = 0;
    QString name;
    QString flag;
};

class StockCorrection {
public:
    StockCorrection(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static const QString kBadFlag;
    static constexpr double kMaxKilograms = 100000000;
    // A stock quantity in kilograms and a price per tonne: 0 or more, in range.
    static double checkKilograms(double kilograms);
    static double checkPrice(double pricePerTonne);
    // "原料" + name + "的库存代码与品种代码不一致，请检查"
    static QString mismatchMessage(const QString &name);

    // Writes the stock row, the register row (when the code is registered)
    // and the name and flag of every receipt and issue line in one
    // transaction. Returns the mismatch message when the register has no row
    // for the code (the rest is written all the same), else empty.
    QString correct(const StockCorrectionEntry &e);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
