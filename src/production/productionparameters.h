#pragma once
// The production parameters: the pellet and crumble kinds (ymps) and the
// wage standards (sccsk) production wages rest on.

#include "data/row.h"
#include "data/session.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace fm {

class Clock;

// A choice of a parameter list: the value stored and the caption shown.
struct ParameterChoice {
    QString value;
    QString caption;
};

// A production standard as chosen on "加工标准"; empty texts stand for
// nothing chosen.
struct ProductionStandard {
    QString category; // lbmc
    QString spec;
    QString kind;     // ypmc
    QString size;     // sm
    double wage = 0;  // gzbz, yuan per tonne
    double other = 0; // qtbz
};

class ProductionParameters {
public:
    ProductionParameters(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static constexpr int kKindNameLength = 8;
    static constexpr int kSizeLength = 14;
    static constexpr double kMaxStandard = 1e6;
    static inline const QString kRebagging = QStringLiteral("更换包装");
    static inline const QString kBlending = QStringLiteral("掺拌生产");
    // The pellet classes: "1" 大颗粒 … "4" 微型颗粒.
    static QStringList pelletClasses();

    // The pellet classes in use ("1 大颗粒" …), after "0" (none).
    std::vector<ParameterChoice> pelletChoices();
    // The pressing and crumbling kinds by number, after "0" (none).
    std::vector<ParameterChoice> crumbleChoices();

    // ---- kinds --------------------------------------------------------------
    // A size of a kind: a typed name that exists adds a further size row
    // (empty name, the kind's number); a new name starts a kind with the
    // smallest number not in use, at most 9. Returns the kind number.
    QString addKind(const QString &name, const QString &pelletClass, const QString &pelletName, const QString &size);
    Rows kinds(); // every row, in table order
    QStringList kindNames();
    std::optional<QString> kindNumber(const QString &name);
    QStringList sizesOfKind(const QString &number);
    bool sizeExists(const QString &size);
    // An edit made in the kinds list: the size, kind number or pellet class.
    void editKind(qint64 id, const QString &column, const QString &value);

    // ---- standards ----------------------------------------------------------
    qint64 addStandard(const ProductionStandard &p);
    // A reprocessing standard: rebagging ("A") or blending ("B") for a bag
    // size; a standard of 0 is refused with the way's message.
    qint64 addReprocessingStandard(bool blending, const QString &bagSize, double wage);
    static QString missingStandardMessage(bool blending);
    Rows standards();            // by category, pellet name, size
    Rows reprocessingStandards(); // cpbz "x"
    // The question asked before a standard is deleted.
    static QString deleteQuestion(const Row &standard);
    // Deletes every standard with the same category, size, pellet name,
    // remark and wage standard as this one; returns how many.
    int deleteStandard(qint64 id);
    // An edit made in a standards list: the size or one of the standards.
    void editStandard(qint64 id, const QString &column, const QString &value);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
