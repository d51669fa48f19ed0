#include "data/session.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>

namespace fm {

namespace {

QAtomicInt connectionCounter;

QString driverText(const QSqlError &e)
{
    QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("数据库错误") : t;
}

// ODBC attribute values in braces, with a closing brace doubled, cannot end
// the attribute early whatever the user typed.
QString odbcValue(const QString &v)
{
    QString out = v;
    out.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + out + QLatin1Char('}');
}

} // namespace

std::unique_ptr<Session> Session::open(const ConnectionSettings &settings, bool create)
{
    std::unique_ptr<Session> s(new Session(settings));
    s->connect(create);
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

void Session::connect(bool create)
{
    const ConnectionSettings &cs = m_settings;
    switch (cs.engine) {
    case Engine::SQLite: {
        QDir dir(cs.dataDir.isEmpty() ? QStringLiteral(".") : cs.dataDir);
        if (!dir.exists()) {
            if (!create || !QDir().mkpath(dir.absolutePath()))
                throw DbError(QStringLiteral("数据目录不存在：%1").arg(dir.absolutePath()));
        }
        const QString vel = dir.absoluteFilePath(QStringLiteral("vel.db"));
        const QString sc = dir.absoluteFilePath(QStringLiteral("sc.db"));
        const QString hist = dir.absoluteFilePath(QStringLiteral("histvel.db"));
        if (!create) {
            for (const QString &f : {vel, sc, hist})
                if (!QFileInfo::exists(f))
                    throw DbError(QStringLiteral("数据库文件不存在：%1").arg(f));
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(vel);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=60000"));
        if (!db.open()) throw DbError(driverText(db.lastError()));
        exec(QStringLiteral("ATTACH DATABASE ? AS sc"), {sc});
        exec(QStringLiteral("ATTACH DATABASE ? AS histvel"), {hist});
        // Rollback journal: a commit across attached files is atomic only then.
        // Changing the mode needs the files to ourselves, so only when it differs.
        for (const char *schema : {"main", "sc", "histvel"}) {
            const QString mode = scalar(QStringLiteral("PRAGMA %1.journal_mode").arg(QLatin1String(schema))).toString();
            if (mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
                execDdl(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(QLatin1String(schema)));
        }
        break;
    }
    case Engine::PostgreSQL: {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        db.setHostName(cs.host);
        if (cs.port > 0) db.setPort(cs.port);
        db.setUserName(cs.user);
        db.setPassword(cs.password);
        db.setDatabaseName(cs.database.isEmpty() ? QStringLiteral("feedmill") : cs.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(cs.loginTimeoutSeconds));
        if (!db.open()) throw DbError(driverText(db.lastError()));
        break;
    }
    case Engine::SQLServer: {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        QString conn = QStringLiteral("DRIVER=%1;SERVER=%2;PORT=%3;DATABASE=vel;UID=%4;PWD=%5;ClientCharset=UTF-8")
                           .arg(odbcValue(cs.odbcDriver), odbcValue(cs.host))
                           .arg(cs.port > 0 ? cs.port : 1433)
                           .arg(odbcValue(cs.user), odbcValue(cs.password));
        db.setDatabaseName(conn);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                                 .arg(cs.loginTimeoutSeconds));
        if (!db.open()) throw DbError(driverText(db.lastError()));
        break;
    }
    }
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
        } else {
            throw DbError(QStringLiteral("语句占位符有错：%1").arg(m.captured(0)));
        }
        last = m.capturedEnd();
    }
    out += QStringView(statement).mid(last);
    m_expanded.insert(statement, out);
    return out;
}

void Session::fail(const QSqlQuery &q, const QString &statement) const
{
    Q_UNUSED(statement);
    throw DbError(driverText(q.lastError()));
}

void Session::failWriteAt(int n)
{
    m_failWriteAt = n;
    m_writes = 0;
}

void Session::countWrite(const QString &sql)
{
    if (m_failWriteAt <= 0) return;
    const QStringView head = QStringView(sql).trimmed().left(6);
    if (head.compare(QLatin1String("INSERT"), Qt::CaseInsensitive) != 0
        && head.compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) != 0
        && head.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) != 0)
        return;
    if (++m_writes == m_failWriteAt) throw DbError(QStringLiteral("模拟的写入失败（第 %1 次写入）").arg(m_writes));
}

QSqlQuery Session::exec(const QString &statement, const Values &values)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    const QString sql = expand(statement);
    countWrite(sql);
    if (!q.prepare(sql)) fail(q, sql);
    for (const QVariant &v : values) q.addBindValue(v);
    if (!q.exec()) fail(q, sql);
    return q;
}

QSqlQuery &Session::run(const QString &statement, const Values &values)
{
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
            const QString error = driverText(q.lastError());
            m_prepared.remove(sql);
            throw DbError(error);
        }
        p = std::make_shared<Prepared>(Prepared{std::move(q), values.size()});
    }
    QSqlQuery &q = p->query;
    for (qsizetype i = 0; i < values.size(); ++i) q.bindValue(int(i), values[i]);
    if (!q.exec()) {
        const QString error = driverText(q.lastError());
        m_prepared.remove(sql);
        throw DbError(error);
    }
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
    if (engine() == Engine::SQLite) {
        id = q.lastInsertId().toLongLong();
    } else if (q.next()) {
        id = q.value(0).toLongLong();
    }
    q.finish();
    return id;
}

void Session::execDdl(const QString &statement)
{
    QSqlQuery q(database());
    if (!q.exec(statement)) fail(q, statement);
}

void Session::transaction(const std::function<void()> &fn)
{
    if (m_depth > 0) {
        fn();
        return;
    }
    QSqlDatabase db = database();
    if (engine() == Engine::SQLite) {
        // Take the write lock up front: a deferred transaction that reads and
        // then writes can fail at once instead of waiting for the other writer.
        execDdl(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!db.transaction()) {
        throw DbError(driverText(db.lastError()));
    }
    m_depth = 1;
    try {
        fn();
    } catch (...) {
        m_depth = 0;
        if (engine() == Engine::SQLite) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("ROLLBACK"));
        } else {
            db.rollback();
        }
        throw;
    }
    m_depth = 0;
    if (engine() == Engine::SQLite) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("COMMIT"))) {
            const QString err = driverText(q.lastError());
            QSqlQuery r(db);
            r.exec(QStringLiteral("ROLLBACK"));
            throw DbError(err);
        }
    } else if (!db.commit()) {
        const QString err = driverText(db.lastError());
        db.rollback();
        throw DbError(err);
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
        if (engine() == Engine::PostgreSQL) {
            QStringList names;
            for (const TableDef &t : schemaTables()) names << m_dialect->qualify(t.catalog, t.name);
            execDdl(QStringLiteral("TRUNCATE %1 RESTART IDENTITY").arg(names.join(QLatin1Char(','))));
            return;
        }
        for (const TableDef &t : schemaTables()) {
            const QString name = m_dialect->qualify(t.catalog, t.name);
            execDdl(QStringLiteral("DELETE FROM ") + name);
        }
        if (engine() == Engine::SQLite) {
            for (const char *schema : {"main", "sc", "histvel"})
                execDdl(QStringLiteral("DELETE FROM %1.sqlite_sequence").arg(QLatin1String(schema)));
        }
    });
}

} // namespace fm
