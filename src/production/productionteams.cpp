#include "production/productionteams.h"

namespace fm {

std::optional<TeamForms> registeredTeam(Session &s, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT bzdm, bzmc FROM {bzzl} WHERE {ci:bzdm} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return TeamForms{r->text(QStringLiteral("bzdm")), r->text(QStringLiteral("bzmc"))};
}

std::optional<QString> staffedTeam(Session &s, const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT bzdm FROM {bzry} WHERE {ci:bzdm} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return r->text(QStringLiteral("bzdm"));
}

QStringList teamNames(Session &s)
{
    QStringList out;
    for (const Row &r : s.rows(QStringLiteral("SELECT bzmc FROM {bzzl} ORDER BY bzdm, id")))
        out << r.text(QStringLiteral("bzmc"));
    return out;
}

std::optional<TeamForms> teamByName(Session &s, const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = s.row(QStringLiteral("SELECT bzdm, bzmc FROM {bzzl} WHERE {ci:bzmc} = {ci:?} ORDER BY id {first:1}"), {n});
    if (!r) return std::nullopt;
    return TeamForms{r->text(QStringLiteral("bzdm")), r->text(QStringLiteral("bzmc"))};
}

QString teamCondition(const QString &column, const TeamForms &team, Values &values)
{
    values << team.code;
    if (team.name.isEmpty()) return QStringLiteral("{ci:%1} = {ci:?}").arg(column);
    values << team.name;
    return QStringLiteral("({ci:%1} = {ci:?} OR {ci:%1} = {ci:?})").arg(column);
}

} // namespace fm
