#pragma once
// Teams as production records carry them. The production window writes a
// team's code into its lines, the product inputs write the team's name, so
// every reader of production lines accepts either form of the team asked for
// (trimmed, letter case ignored).

#include "data/session.h"

#include <QString>
#include <optional>

namespace fm {

struct TeamForms {
    QString code; // bzdm
    QString name; // bzmc, empty when the team register has no such code
};

// The team of a code in the team register (bzzl), or nothing.
std::optional<TeamForms> registeredTeam(Session &s, const QString &code);
// The code as a worker of the production staff (bzry) carries it, or nothing:
// the production window accepts a team that has staff.
std::optional<QString> staffedTeam(Session &s, const QString &code);
// Every team name of the register, in code order.
QStringList teamNames(Session &s);
// The team whose name is this (trimmed, letter case ignored).
std::optional<TeamForms> teamByName(Session &s, const QString &name);

// "(column matches code or name)" with the values appended to values; a
// team without a name matches by its code alone.
QString teamCondition(const QString &column, const TeamForms &team, Values &values);

} // namespace fm
