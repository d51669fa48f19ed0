#pragma once
// Production teams (bzzl) and their workers (bzry). Every worker has one wage
// row (scgzmx), created with the worker, that the wage distribution pays by
// its team code.

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;
class Clock;

struct Worker {
    qint64 id = 0;
    QString code; // rydm
    QString name; // rymc
    QString team; // bzdm
    QString date; // rq, "yyyy-mm-dd" of the last change
};

struct Team {
    qint64 id = 0;
    QString code; // bzdm
    QString name; // bzmc
};

class ProductionStaff {
public:
    ProductionStaff(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    static constexpr int kWorkerCodeLength = 5;
    static constexpr int kTeamCodeLength = 2;

    // Workers in table order.
    std::vector<Worker> workers();
    // Teams in code order.
    std::vector<Team> teams();
    bool hasTeams();
    // By code, trimmed, without regard to letter case.
    std::optional<Worker> findWorker(const QString &code);
    std::optional<Worker> workerById(qint64 id);
    std::optional<Team> findTeam(const QString &code);

    // Adds a worker to an existing team together with a wage row of zeros.
    qint64 addWorker(const QString &code, const QString &name, const QString &team);
    // Removes the worker and the wage row it has in its team.
    void removeWorker(qint64 id);
    // Removes the worker only; the wage row stays.
    void deleteWorkerKeepingWages(qint64 id);
    // New name and team for the worker; the wage row moves with the worker.
    void changeWorker(qint64 id, const QString &name, const QString &team);

    // Adds a team with no leader and its batch counter at 0.
    qint64 addTeam(const QString &code, const QString &name);
    // Checks that a team code is free; returns it trimmed.
    QString checkNewTeamCode(const QString &code);
    // Deletes the team; its workers keep the team code.
    void deleteTeam(qint64 id);

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
