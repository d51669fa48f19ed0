#include "data/millserver.h"

#include "data/dberror.h"
#include "data/session.h"

#include <QRegularExpression>

namespace fm {

namespace {

// Names and the password cannot be bound in CREATE/ALTER statements; the
// server quotes them itself (format's %I and %L), so no text of ours pastes
// a value into SQL.
QString statement(Session &s, const QString &pattern, const QStringList &args)
{
    QString sql = QStringLiteral("SELECT format(?::text");
    Values values{pattern};
    for (const QString &a : args) {
        sql += QStringLiteral(", ?::text");
        values << a;
    }
    return s.scalar(sql + QLatin1Char(')'), values).toString();
}

const char *const kSchemas[] = {"vel", "sc", "histvel"};

} // namespace

bool isPlainServerName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    return plain.match(name).hasMatch();
}

MillServerResult setUpMillServer(const ConnectionSettings &admin, const QString &role, const QString &password,
                                 const QString &database)
{
    if (admin.engine != Engine::PostgreSQL) throw DomainError(QStringLiteral("饲料厂的服务器用户只能在PostgreSQL上建立。"));
    if (!isPlainServerName(role))
        throw DomainError(QStringLiteral("服务器用户名“%1”不合适：只用小写字母、数字和下划线，以字母开头，最多63个字符。").arg(role));
    if (!isPlainServerName(database))
        throw DomainError(QStringLiteral("数据库名“%1”不合适：只用小写字母、数字和下划线，以字母开头，最多63个字符。").arg(database));
    if (password.isEmpty() || password.contains(QChar(0)))
        throw DomainError(QStringLiteral("请给饲料厂的服务器用户一个密码。"));
    // config.ini drops blanks at the ends of its lines: such a password could never be used.
    if (password.trimmed() != password)
        throw DomainError(QStringLiteral("服务器用户的密码不能以空格开头或结尾。"));

    // Everything is checked before anything changes, so a refusal leaves the server as it was.
    ConnectionSettings cs = admin;
    cs.database = QStringLiteral("postgres");
    std::unique_ptr<Session> server = Session::open(cs);
    const std::optional<Row> existing = server->row(QStringLiteral("SELECT rolsuper FROM pg_roles WHERE rolname = ?"), {role});
    if (existing && existing->value(QStringLiteral("rolsuper")).toBool())
        throw DomainError(QStringLiteral("“%1”是服务器的超级用户，饲料厂要用一个自己的用户。").arg(role));
    const std::optional<Row> db = server->row(
        QStringLiteral("SELECT pg_get_userbyid(datdba) AS owner FROM pg_database WHERE datname = ?"), {database});
    if (db && db->text(QStringLiteral("owner")) != role)
        throw DomainError(QStringLiteral("数据库 %1 已经存在，属于 %2，不属于 %3：请另选数据库名。")
                              .arg(database, db->text(QStringLiteral("owner")), role));
    QStringList missingSchemas;
    ConnectionSettings millCs = admin;
    millCs.database = database;
    for (const char *name : kSchemas) missingSchemas << QString::fromLatin1(name);
    if (db) {
        std::unique_ptr<Session> mill = Session::open(millCs);
        for (const Row &found : mill->rows(QStringLiteral("SELECT nspname, pg_get_userbyid(nspowner) AS owner FROM pg_namespace "
                                                          "WHERE nspname IN ('vel', 'sc', 'histvel')"))) {
            const QString schema = found.text(QStringLiteral("nspname"));
            if (found.text(QStringLiteral("owner")) != role)
                throw DomainError(QStringLiteral("数据库 %1 中的 %2 属于 %3，不属于 %4：请另选数据库名。")
                                      .arg(database, schema, found.text(QStringLiteral("owner")), role));
            missingSchemas.removeAll(schema);
        }
    }

    MillServerResult r;
    r.roleCreated = !existing;
    server->execDdl(statement(*server, existing ? QStringLiteral("ALTER ROLE %I LOGIN PASSWORD %L")
                                                : QStringLiteral("CREATE ROLE %I LOGIN PASSWORD %L"),
                              {role, password}));
    if (!db) {
        server->execDdl(statement(*server, QStringLiteral("CREATE DATABASE %I OWNER %I TEMPLATE template0 ENCODING 'UTF8'"),
                                  {database, role}));
        r.databaseCreated = true;
    }
    // Another mill's role must not even connect to this one.
    server->execDdl(statement(*server, QStringLiteral("REVOKE ALL ON DATABASE %I FROM PUBLIC"), {database}));
    server.reset();

    std::unique_ptr<Session> mill = Session::open(millCs);
    for (const QString &schema : missingSchemas)
        mill->execDdl(statement(*mill, QStringLiteral("CREATE SCHEMA %I AUTHORIZATION %I"), {schema, role}));
    r.schemasCreated = missingSchemas;
    return r;
}

void actAsRole(Session &session, const QString &role)
{
    if (!isPlainServerName(role)) throw DomainError(QStringLiteral("服务器用户名“%1”不合适。").arg(role));
    session.execDdl(statement(session, QStringLiteral("SET ROLE %I"), {role}));
}

} // namespace fm
