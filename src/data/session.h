#pragma once
// One database session per workstation. It reaches the three catalogs through
// one connection, so that a transaction can span them.
//
// Lock order. Every operation that writes several tables takes its locks in
// one order, so that two workstations never wait for each other in a circle:
// register tables first (zxkh, dqk, price, khprice, fphm, ...), then the
// lines (sale1, khtl, khzj, khhk, khprn, ...), then stock (velcpzk, ylhzk,
// bzbqk, ...). Within one table, rows are locked in the order of their key.
// A deadlock that happens all the same is run again by transaction().
//
// Statements are written with placeholders that the session expands:
//   {sale1}       the table, qualified by its catalog
//   {ci:khdm}     the column folded for a case-insensitive match
//   {ci:?}        a parameter folded the same way
//   {first:1}     limit to the first n rows (after an ORDER BY)
//   {stored:a-b}  the expression rounded as a money column holds it (4 decimals)
// Values are always bound ("?"), never pasted into the text.

#include "data/connectionsettings.h"
#include "data/dberror.h"
#include "data/dialect.h"
#include "data/row.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace fm {

using Values = QVariantList;
using Fields = std::vector<std::pair<QString, QVariant>>;

class Clock;

// Who works on this session: the change log stamps its rows with it. Set at
// login (a window reused across logins records the new operator).
struct SessionActor {
    QString operatorCode;
    QString workstation;
    const Clock *clock = nullptr; // none: the system clock
};

class Session {
public:
    // Connects; throws DbError (CannotConnect, or our own text for a missing
    // or outdated embedded file) when it cannot. Embedded catalogs that do
    // not exist are created only when create is set.
    static std::unique_ptr<Session> open(const ConnectionSettings &settings, bool create = false);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Engine engine() const { return m_settings.engine; }
    const Dialect &dialect() const { return *m_dialect; }
    const ConnectionSettings &settings() const { return m_settings; }
    QSqlDatabase database() const;
    bool isOpen() const;

    QString expand(const QString &statement) const;

    // Runs a statement with bound values; throws DbError on failure. Inside a
    // transaction a failed statement ends it at once (rolled back; the
    // statements after it are refused until transaction() returns), alike on
    // every engine.
    QSqlQuery exec(const QString &statement, const Values &values = {});
    // Number of rows the statement changed.
    int execute(const QString &statement, const Values &values = {});
    // First column of the first row, or a null QVariant when there is none.
    QVariant scalar(const QString &statement, const Values &values = {});
    // First row, if any.
    std::optional<QSqlRecord> first(const QString &statement, const Values &values = {});
    // Every row of the result, read in full before returning, so no query is
    // left open while the next statement runs on the connection.
    Rows rows(const QString &statement, const Values &values = {});
    // The first row of the result, if any.
    std::optional<Row> row(const QString &statement, const Values &values = {});
    // Inserts one row and returns its id.
    qint64 insert(const QString &table, const Fields &fields);
    // Runs DDL (which some drivers refuse to prepare).
    void execDdl(const QString &statement);

    // Runs fn in a transaction: commits when it returns, rolls back and
    // rethrows when it throws. Nested calls join the outer transaction. The
    // outermost call runs fn again (up to kTransactionAttempts times, after a
    // short random pause) when the engine reports a deadlock or serialization
    // failure, so fn must only assign what it computes, never accumulate
    // into state outside it.
    void transaction(const std::function<void()> &fn);
    bool inTransaction() const { return m_depth > 0; }
    // Runs fn, a batch of transactions each of which may be run again, with
    // commits that do not wait for the disk one by one; however fn ends, the
    // batch is made durable as a whole before this returns or throws.
    void batchCommits(const std::function<void()> &fn);
    static constexpr int kTransactionAttempts = 4;
    // How many times transaction() has run its work again after a deadlock
    // (the load benchmarks report it).
    int transactionRetries() const { return m_retries; }

    // Takes the write lock on the rows a counter lives in, for the rest of the
    // current transaction, so that read-compute-write cannot interleave with
    // another workstation. Must be called inside transaction().
    void lockRows(const QString &table, const QString &column,
                  const QString &where = QString(), const Values &values = {});

    void setActor(SessionActor actor) { m_actor = std::move(actor); }
    const SessionActor &actor() const { return m_actor; }

    // Tests: the n-th write statement (INSERT, UPDATE, DELETE) from now on
    // fails as a database error would; 0 turns it off. writesSeen() counts
    // the writes since the last call, so a test can fail each one in turn.
    void failWriteAt(int n);
    // Tests: action runs just before the n-th write statement from now on
    // (e.g. the connection is cut from outside); the write then goes ahead.
    void onWriteAt(int n, std::function<void()> action);
    int writesSeen() const { return m_writes; }

    // Creates every catalog, table and index. Used by the admin tool and tests.
    void createSchema();
    // Empties every table (tests).
    void clearAllTables();

    // A bulk load (the data generator) runs faster without a table's indexes
    // and builds each of them once at its end.
    void dropIndexes(const QString &table);
    void createIndexes(const QString &table);

private:
    explicit Session(const ConnectionSettings &settings);
    // Throws the driver's error of q, classified. Inside a transaction the
    // transaction is rolled back first: on PostgreSQL it cannot go on anyway,
    // and statements freed while it is aborted would stay prepared on the
    // server ("Unable to free statement").
    [[noreturn]] void fail(const QSqlQuery &q);
    // Refuses statements in a transaction that a failure has already ended.
    void checkNotAborted() const;
    // Runs a statement whose result the session reads and finishes itself
    // (scalar, first, execute, insert). Such statements stay prepared for the
    // next call: preparing costs more than an indexed look-up, and on a server
    // it is a round trip of its own (two, with the one that frees it).
    QSqlQuery &run(const QString &sql, const Values &values);
    void countWrite(const QString &sql);

    ConnectionSettings m_settings;
    SessionActor m_actor;
    std::unique_ptr<Dialect> m_dialect;
    QString m_connectionName;
    int m_depth = 0;
    int m_writes = 0;
    int m_retries = 0;
    int m_failWriteAt = 0;
    std::function<void()> m_atWrite;
    bool m_aborted = false; // a failed statement rolled the transaction back
    mutable QHash<QString, QString> m_expanded;
    struct Prepared {
        QSqlQuery query;
        qsizetype values = 0;
    };
    QHash<QString, std::shared_ptr<Prepared>> m_prepared;
};

} // namespace fm
