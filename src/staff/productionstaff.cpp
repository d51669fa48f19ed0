#include "staff/productionstaff.h"

#include "common/clock.h"
#include "common/dates.h"
#include "data/changelog.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kWorkerColumns = QStringLiteral("SELECT id, rydm, rymc, bzdm, rq FROM {bzry} ");
const QString kTeamColumns = QStringLiteral("SELECT id, bzdm, bzmc FROM {bzzl} ");
const QString kNoSuchWorker = QStringLiteral("查无此人，请重新输入！");
const QString kBadTeam = QStringLiteral("班组代码有错!");
const QString kEmptyName = QStringLiteral("名称不能为空!");
const QString kFunction = QStringLiteral("公司生产人员管理");

// A worker removed: who it was, and how many wage rows went with it.
void recordRemoved(Session &s, const Worker &w, int wageRows)
{
    ChangeRecord rec(kFunction, QStringLiteral("bzry"), w.id, w.code, ChangeRecord::Kind::Delete);
    rec.value(QStringLiteral("rymc"), w.name).value(QStringLiteral("bzdm"), w.team);
    if (wageRows > 0) rec.value(QStringLiteral("scgzmx行数"), wageRows);
    rec.write(s);
}

// The amounts of a wage row, all 0 for a new worker.
const char *const kWageAmounts[] = {"scgz", "jsbt", "dbf", "gwbt", "wsf", "fsbt",
                                    "jgf",  "qtys", "ysgz", "fk", "qt",  "sjgz"};

Worker workerFrom(const Row &r)
{
    Worker w;
    w.id = r.id();
    w.code = r.text(QStringLiteral("rydm"));
    w.name = r.text(QStringLiteral("rymc"));
    w.team = r.text(QStringLiteral("bzdm"));
    w.date = r.dateText(QStringLiteral("rq"));
    return w;
}

Team teamFrom(const Row &r)
{
    return Team{r.id(), r.text(QStringLiteral("bzdm")), r.text(QStringLiteral("bzmc"))};
}

} // namespace

std::vector<Worker> ProductionStaff::workers()
{
    std::vector<Worker> out;
    for (const Row &r : m_s.rows(kWorkerColumns + QStringLiteral("ORDER BY id"))) out.push_back(workerFrom(r));
    return out;
}

std::vector<Team> ProductionStaff::teams()
{
    std::vector<Team> out;
    for (const Row &r : m_s.rows(kTeamColumns + QStringLiteral("ORDER BY bzdm, id"))) out.push_back(teamFrom(r));
    return out;
}

bool ProductionStaff::hasTeams()
{
    return m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {bzzl}")).toInt() > 0;
}

std::optional<Worker> ProductionStaff::findWorker(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(kWorkerColumns + QStringLiteral("WHERE {ci:rydm} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return workerFrom(*r);
}

std::optional<Worker> ProductionStaff::workerById(qint64 id)
{
    const auto r = m_s.row(kWorkerColumns + QStringLiteral("WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return workerFrom(*r);
}

std::optional<Team> ProductionStaff::findTeam(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(kTeamColumns + QStringLiteral("WHERE {ci:bzdm} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return teamFrom(*r);
}

qint64 ProductionStaff::addWorker(const QString &code, const QString &name, const QString &team)
{
    const QString c = code.trimmed();
    const QString n = name.trimmed();
    if (c.isEmpty() || c.size() > kWorkerCodeLength) throw DomainError(QStringLiteral("人员代码有错!"));
    if (n.isEmpty()) throw DomainError(kEmptyName, ErrorCode::Incomplete);
    qint64 id = 0;
    m_s.transaction([&] {
        const auto t = findTeam(team);
        if (!t) throw DomainError(kBadTeam, ErrorCode::NotFound);
        if (const auto existing = findWorker(c))
            throw DomainError(QStringLiteral("该人员") + existing->code + QStringLiteral("已经在班组")
                              + existing->team + QStringLiteral("中!"));
        const QString today = dateText(m_clock.today());
        id = m_s.insert(QStringLiteral("bzry"), {{QStringLiteral("rydm"), c},
                                                 {QStringLiteral("rymc"), n},
                                                 {QStringLiteral("bzdm"), t->code},
                                                 {QStringLiteral("rq"), today}});
        Fields wage{{QStringLiteral("rydm"), c}, {QStringLiteral("rymc"), n}, {QStringLiteral("bzdm"), t->code}};
        for (const char *column : kWageAmounts) wage.emplace_back(QString::fromLatin1(column), 0.0);
        wage.emplace_back(QStringLiteral("rq_0"), dateTimeText(m_clock.now()));
        wage.emplace_back(QStringLiteral("rq_1"), today);
        m_s.insert(QStringLiteral("scgzmx"), wage);
    });
    return id;
}

void ProductionStaff::removeWorker(qint64 id)
{
    m_s.transaction([&] {
        const auto w = workerById(id);
        if (!w) throw DomainError(kNoSuchWorker, ErrorCode::NotFound);
        m_s.execute(QStringLiteral("DELETE FROM {bzry} WHERE id = ?"), {id});
        const int wages = m_s.execute(QStringLiteral("DELETE FROM {scgzmx} WHERE {ci:rydm} = {ci:?} AND {ci:bzdm} = {ci:?}"),
                                      {w->code, w->team});
        recordRemoved(m_s, *w, wages);
    });
}

void ProductionStaff::deleteWorkerKeepingWages(qint64 id)
{
    m_s.transaction([&] {
        const auto w = workerById(id);
        if (!w || m_s.execute(QStringLiteral("DELETE FROM {bzry} WHERE id = ?"), {id}) != 1)
            throw DomainError(kNoSuchWorker, ErrorCode::NotFound);
        recordRemoved(m_s, *w, 0);
    });
}

void ProductionStaff::changeWorker(qint64 id, const QString &name, const QString &team)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(kEmptyName, ErrorCode::Incomplete);
    m_s.transaction([&] {
        const auto t = findTeam(team);
        if (!t) throw DomainError(kBadTeam, ErrorCode::NotFound);
        const auto w = workerById(id);
        if (!w) throw DomainError(kNoSuchWorker, ErrorCode::NotFound);
        m_s.execute(QStringLiteral("UPDATE {bzry} SET rymc = ?, bzdm = ?, rq = ? WHERE id = ?"),
                    {n, t->code, dateText(m_clock.today()), id});
        // Wages are shared out by the team code of the wage row, so it follows the worker.
        m_s.execute(QStringLiteral("UPDATE {scgzmx} SET rymc = ?, bzdm = ? "
                                   "WHERE {ci:rydm} = {ci:?} AND {ci:bzdm} = {ci:?}"),
                    {n, t->code, w->code, w->team});
        ChangeRecord(kFunction, QStringLiteral("bzry"), id, w->code)
            .change(QStringLiteral("rymc"), w->name, n)
            .change(QStringLiteral("bzdm"), w->team, t->code)
            .write(m_s);
    });
}

QString ProductionStaff::checkNewTeamCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty() || c.size() > kTeamCodeLength) throw DomainError(kBadTeam);
    if (findTeam(c)) throw DomainError(QStringLiteral("该代码已使用，重新输入!"), ErrorCode::Duplicate);
    return c;
}

qint64 ProductionStaff::addTeam(const QString &code, const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(kEmptyName, ErrorCode::Incomplete);
    qint64 id = 0;
    m_s.transaction([&] {
        const QString c = checkNewTeamCode(code);
        id = m_s.insert(QStringLiteral("bzzl"), {{QStringLiteral("bzdm"), c},
                                                 {QStringLiteral("bzmc"), n},
                                                 {QStringLiteral("msdm"), QStringLiteral(" ")},
                                                 {QStringLiteral("msmc"), QStringLiteral(" ")},
                                                 {QStringLiteral("scpc"), 0},
                                                 {QStringLiteral("rq_1"), dateTimeText(m_clock.now())}});
    });
    return id;
}

void ProductionStaff::deleteTeam(qint64 id)
{
    m_s.transaction([&] {
        const auto t = m_s.row(kTeamColumns + QStringLiteral("WHERE id = ?"), {id});
        if (!t || m_s.execute(QStringLiteral("DELETE FROM {bzzl} WHERE id = ?"), {id}) != 1) throw DomainError(kBadTeam);
        ChangeRecord(kFunction, QStringLiteral("bzzl"), id, t->text(QStringLiteral("bzdm")), ChangeRecord::Kind::Delete)
            .value(QStringLiteral("bzmc"), t->text(QStringLiteral("bzmc")))
            .write(m_s);
    });
}

} // namespace fm
