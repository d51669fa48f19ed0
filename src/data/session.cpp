#include "data/session.h"

#include "common/dates.h"

#include <QAtomicInt>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

namespace fm {

namespace {

QAtomicInt connectionCounter;

} // namespace

std::unique_ptr<Session> Session::open(const ConnectionSettings &settings, bool create)
{
    readLocalTimesWithoutZoneLookups();
    std::unique_ptr<Session> s(new Session(settings));
    s->m_dialect->open(s->m_connectionName, s->m_settings, create);
    return s;
}

Session::Session(const ConnectionSettings &settings)
    : m_settings(settings), m_dialect(makeDialect(settings.engine))
{
    m_connectionName = QStringLiteral("fm-session-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
}

Session::~Session()
{
    m_prepared.clear(); // before the connection they belong to goes
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Session::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool Session::isOpen() const
{
    return database().isOpen();
}

QString Session::expand(const QString &statement) const
{
    auto cached = m_expanded.constFind(statement);
    if (cached != m_expanded.constEnd()) return *cached;

    static const QRegularExpression token(QStringLiteral("\\{([a-z_]+:)?([^{}]*)\\}"));
    QString out;
    int last = 0;
    auto it = token.globalMatch(statement);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(statement).mid(last, m.capturedStart() - last);
        const QString kind = m.captured(1);
        const QString arg = m.captured(2).trimmed();
        if (kind.isEmpty()) {
            const TableDef *t = findTable(arg);
            if (!t) throw DbError(QStringLiteral("未知的数据表：%1").arg(arg));
            out += m_dialect->qualify(t->catalog, t->name);
        } else if (kind == QLatin1String("ci:")) {
            out += m_dialect->caseFold(arg);
        } else if (kind == QLatin1String("first:")) {
            out += m_dialect->firstRows(arg.toInt());
        } else if (kind == QLatin1String("stored:")) {
            out += m_dialect->storedMoney(arg);
        } else {
            throw DbError(QStringLiteral("语句占位符有错：%1").arg(m.captured(0)));
        }
        last = m.capturedEnd();
    }
    out += QStringView(statement).mid(last);
    m_expanded.insert(statement, out);
    return out;
}

void Session::fail(const QSqlQuery &q)
{
    const DbError e = m_dialect->error(q.lastError());
    if (m_depth > 0 && !m_aborted) {
        QSqlDatabase db = database();
        m_dialect->rollback(db);
        m_aborted = true;
    }
    throw e;
}

void Session::checkNotAborted() const
{
    if (m_aborted)
        throw DbError(QStringLiteral("数据库操作失败，已撤销本次操作。"));
}

void Session::failWriteAt(int n)
{
    m_failWriteAt = n;
    m_writes = 0;
    m_atWrite = nullptr;
}

void Session::onWriteAt(int n, std::function<void()> action)
{
    failWriteAt(n);
    m_atWrite = std::move(action);
}

void Session::countWrite(const QString &sql)
{
    if (m_failWriteAt <= 0) return;
    const QStringView head = QStringView(sql).trimmed().left(6);
    if (head.compare(QLatin1String("INSERT"), Qt::CaseInsensitive) != 0
        && head.compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) != 0
        && head.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) != 0)
        return;
    if (++m_writes != m_failWriteAt) return;
    if (m_atWrite) {
        const std::function<void()> action = std::exchange(m_atWrite, nullptr);
        action();
        return;
    }
    throw DbError(QStringLiteral("模拟的写入失败（第 %1 次写入）").arg(m_writes));
}

QSqlQuery Session::exec(const QString &statement, const Values &values)
{
    checkNotAborted();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    const QString sql = expand(statement);
    countWrite(sql);
    if (!q.prepare(sql)) fail(q);
    for (const QVariant &v : values) q.addBindValue(v);
    if (!q.exec()) fail(q);
    return q;
}

QSqlQuery &Session::run(const QString &statement, const Values &values)
{
    checkNotAborted();
    const QString sql = expand(statement);
    countWrite(sql);
    std::shared_ptr<Prepared> &p = m_prepared[sql];
    // A different number of values gets the driver's own complaint.
    if (!p || p->values != values.size()) {
        p.reset();
        // Statements built from varying text would grow the cache for ever.
        constexpr qsizetype kMaxPrepared = 256;
        if (m_prepared.size() > kMaxPrepared) {
            m_prepared.clear();
            return run(statement, values);
        }
        QSqlQuery q(database());
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!q.prepare(sql)) {
            m_prepared.remove(sql);
            fail(q);
        }
        p = std::make_shared<Prepared>(Prepared{std::move(q), values.size()});
    }
    QSqlQuery &q = p->query;
    for (qsizetype i = 0; i < values.size(); ++i) q.bindValue(int(i), values[i]);
    // A statement that failed stays prepared: it is still valid on the server
    // (a rollback does not undo PREPARE), and freeing it now could not work.
    if (!q.exec()) fail(q);
    return q;
}

int Session::execute(const QString &statement, const Values &values)
{
    QSqlQuery &q = run(statement, values);
    const int n = q.numRowsAffected();
    q.finish();
    return n;
}

QVariant Session::scalar(const QString &statement, const Values &values)
{
    QSqlQuery &q = run(statement, values);
    QVariant v;
    if (q.next()) v = q.value(0);
    q.finish();
    return v;
}

std::optional<QSqlRecord> Session::first(const QString &statement, const Values &values)
{
    QSqlQuery &q = run(statement, values);
    std::optional<QSqlRecord> r;
    if (q.next()) r = q.record();
    q.finish();
    return r;
}

Rows Session::rows(const QString &statement, const Values &values)
{
    QSqlQuery &q = run(statement, values);
    Rows out;
    std::shared_ptr<const Row::Columns> columns;
    while (q.next()) {
        if (!columns) columns = Row::columnsOf(q.record());
        out.push_back(Row::current(q, columns));
    }
    q.finish();
    return out;
}

std::optional<Row> Session::row(const QString &statement, const Values &values)
{
    QSqlQuery &q = run(statement, values);
    std::optional<Row> r;
    if (q.next()) r = Row::current(q, Row::columnsOf(q.record()));
    q.finish();
    return r;
}

qint64 Session::insert(const QString &table, const Fields &fields)
{
    const TableDef *t = findTable(table);
    if (!t) throw DbError(QStringLiteral("未知的数据表：%1").arg(table));
    QStringList columns;
    Values values;
    columns.reserve(int(fields.size()));
    for (const auto &f : fields) {
        columns << f.first;
        values << f.second;
    }
    const QString sql = m_dialect->insertSql(m_dialect->qualify(t->catalog, t->name), columns);
    QSqlQuery &q = run(sql, values);
    qint64 id = 0;
    if (q.next()) id = q.value(0).toLongLong();
    q.finish();
    return id;
}

void Session::execDdl(const QString &statement)
{
    checkNotAborted();
    QSqlQuery q(database());
    if (!q.exec(statement)) fail(q);
}

void Session::batchCommits(const std::function<void()> &fn)
{
    if (inTransaction()) return fn(); // the outer transaction commits it all
    for (const QString &st : m_dialect->beginBatchCommits()) execDdl(st);
    try {
        fn();
    } catch (...) {
        for (const QString &st : m_dialect->endBatchCommits()) execDdl(st);
        throw;
    }
    for (const QString &st : m_dialect->endBatchCommits()) execDdl(st);
}

void Session::transaction(const std::function<void()> &fn)
{
    if (m_depth > 0) {
        checkNotAborted();
        fn();
        return;
    }
    for (int attempt = 1;; ++attempt) {
        QSqlDatabase db = database();
        m_dialect->begin(db);
        m_depth = 1;
        m_aborted = false;
        // Ends a transaction that did not commit; a failed statement may
        // have rolled it back already.
        auto undo = [&] {
            const bool rolledBack = m_aborted;
            m_depth = 0;
            m_aborted = false;
            if (!rolledBack) m_dialect->rollback(db);
        };
        try {
            fn();
            m_depth = 0;
            m_dialect->commit(db);
            return;
        } catch (const DbError &e) {
            undo();
            if (e.kind() != DbError::Kind::Deadlock || attempt >= kTransactionAttempts) throw;
        } catch (...) {
            undo();
            throw;
        }
        // The other workstation's transaction goes on; start again a moment later.
        ++m_retries;
        QThread::msleep(QRandomGenerator::global()->bounded(10u, 40u) * unsigned(attempt));
    }
}

void Session::lockRows(const QString &table, const QString &column, const QString &where, const Values &values)
{
    if (m_depth == 0) throw DbError(QStringLiteral("lockRows outside a transaction"));
    QString sql = QStringLiteral("UPDATE {%1} SET %2 = %2").arg(table, column);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    execute(sql, values);
}

void Session::createSchema()
{
    const QStringList catalogs = m_dialect->createCatalogs();
    for (const QString &s : catalogs) execDdl(s);
    transaction([&] {
        for (const TableDef &t : schemaTables()) {
            for (const QString &s : m_dialect->createTable(t)) execDdl(s);
            for (const QString &s : m_dialect->createIndexes(t)) execDdl(s);
        }
    });
}

void Session::dropIndexes(const QString &table)
{
    const TableDef *t = findTable(table);
    if (!t) throw DbError(QStringLiteral("未知的数据表：%1").arg(table));
    for (const QString &s : m_dialect->dropIndexes(*t)) execDdl(s);
}

void Session::createIndexes(const QString &table)
{
    const TableDef *t = findTable(table);
    if (!t) throw DbError(QStringLiteral("未知的数据表：%1").arg(table));
    for (const QString &s : m_dialect->createIndexes(*t)) execDdl(s);
}

void Session::clearAllTables()
{
    transaction([&] {
        for (const QString &s : m_dialect->clearAllTables()) execDdl(s);
    });
}

} // namespace fm
