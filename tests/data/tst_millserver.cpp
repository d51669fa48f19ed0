// A mill's role, database and schemas on the PostgreSQL server that ./test
// starts (FM_TEST_PG_PORT); without that server the program skips.

#include "data/millserver.h"
#include "data/schema.h"
#include "data/session.h"

#include <QUuid>
#include <QtTest>

using namespace fm;

class TestMillServer : public QObject {
    Q_OBJECT
    ConnectionSettings m_admin;
    QString m_suffix;
    QStringList m_roles, m_databases;

    // Roles are the whole server's: every run names its own.
    QString name(const char *base)
    {
        const QString n = QString::fromLatin1(base) + QLatin1Char('_') + m_suffix;
        return n;
    }
    MillServerResult setUp(const QString &role, const QString &password, const QString &database)
    {
        if (!m_roles.contains(role)) m_roles << role;
        if (!m_databases.contains(database)) m_databases << database;
        return setUpMillServer(m_admin, role, password, database);
    }
    ConnectionSettings as(const QString &role, const QString &database) const
    {
        ConnectionSettings cs = m_admin;
        cs.user = role;
        cs.database = database;
        return cs;
    }
    std::unique_ptr<Session> server() const
    {
        ConnectionSettings cs = m_admin;
        cs.database = QStringLiteral("postgres");
        return Session::open(cs);
    }
    QString passwordHash(const QString &role) const
    {
        return server()->scalar(QStringLiteral("SELECT rolpassword FROM pg_authid WHERE rolname = ?"), {role}).toString();
    }

private slots:
    void initTestCase()
    {
        const QString port = qEnvironmentVariable("FM_TEST_PG_PORT");
        if (port.isEmpty()) QSKIP("no PostgreSQL server for tests (FM_TEST_PG_PORT unset)");
        m_admin.engine = Engine::PostgreSQL;
        m_admin.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
        m_admin.port = port.toInt();
        m_admin.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
        m_suffix = QUuid::createUuid().toString(QUuid::Id128).left(10);
    }

    void cleanupTestCase()
    {
        if (m_suffix.isEmpty()) return;
        auto s = server();
        for (const QString &db : m_databases) s->execDdl(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db));
        for (const QString &role : m_roles) s->execDdl(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }

    // The catalogs made as the mill's role belong to it, and the role reaches
    // them on its own; a second run changes nothing but the password.
    void theMillsRoleOwnsItsCatalogs()
    {
        const QString role = name("mill_a");
        const MillServerResult first = setUp(role, QStringLiteral("it's \"饲料\"; --"), role);
        QVERIFY(first.roleCreated);
        QVERIFY(first.databaseCreated);
        QCOMPARE(first.schemasCreated, (QStringList{QStringLiteral("vel"), QStringLiteral("sc"), QStringLiteral("histvel")}));
        const auto roleRow = server()->row(QStringLiteral("SELECT rolcanlogin, rolsuper, rolcreatedb, rolcreaterole "
                                                          "FROM pg_roles WHERE rolname = ?"), {role});
        QVERIFY(roleRow);
        QVERIFY(roleRow->value(QStringLiteral("rolcanlogin")).toBool());
        for (const char *right : {"rolsuper", "rolcreatedb", "rolcreaterole"}) QVERIFY(!roleRow->value(QString::fromLatin1(right)).toBool());
        const QString hash = passwordHash(role);
        QVERIFY2(hash.startsWith(QStringLiteral("SCRAM-SHA-256$")), qPrintable(hash));

        {
            ConnectionSettings cs = m_admin;
            cs.database = role;
            auto s = Session::open(cs);
            actAsRole(*s, role);
            s->createSchema();
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname IN ('vel', 'sc', 'histvel') "
                                              "AND tableowner <> ?"), {role}).toInt(), 0);
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname IN ('vel', 'sc', 'histvel')")).toInt(),
                     int(schemaTables().size()));
        }
        {
            auto s = Session::open(as(role, role));
            s->execute(QStringLiteral("INSERT INTO {zxauth1} (authid, authmc) VALUES (?, ?)"), {QStringLiteral("61937"), QStringLiteral("张三")});
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}")).toInt(), 1);
        }

        const MillServerResult again = setUp(role, QStringLiteral("another"), role);
        QVERIFY(!again.roleCreated);
        QVERIFY(!again.databaseCreated);
        QVERIFY(again.schemasCreated.isEmpty());
        QVERIFY(passwordHash(role) != hash);
        QCOMPARE(Session::open(as(role, role))->scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}")).toInt(), 1);
    }

    // One server holds several mills; none reaches another's database.
    void anotherMillsRoleCannotConnect()
    {
        const QString a = name("mill_c"), b = name("mill_d");
        setUp(a, QStringLiteral("pa"), a);
        setUp(b, QStringLiteral("pb"), b);
        QVERIFY(Session::open(as(b, b))->isOpen());
        try {
            Session::open(as(b, a));
            QFAIL("one mill's role connected to another mill's database");
        } catch (const DbError &e) {
            QVERIFY2(e.rawText().contains(QStringLiteral("permission denied")), qPrintable(e.rawText()));
        }
    }

    void refusalsLeaveTheServerAsItWas_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("says");
        const QString ok = name("mill_e");
        QTest::newRow("capital letters") << name("Mill") << QStringLiteral("pw") << ok << QStringLiteral("小写字母");
        QTest::newRow("starts with a digit") << QStringLiteral("1mill") << QStringLiteral("pw") << ok << QStringLiteral("小写字母");
        QTest::newRow("a quote in the name") << QStringLiteral("mill\"x") << QStringLiteral("pw") << ok << QStringLiteral("小写字母");
        QTest::newRow("64 characters") << QString(64, QLatin1Char('m')) << QStringLiteral("pw") << ok << QStringLiteral("最多63");
        QTest::newRow("database name") << ok << QStringLiteral("pw") << QStringLiteral("mill-e") << QStringLiteral("数据库名");
        QTest::newRow("no password") << ok << QString() << ok << QStringLiteral("密码");
        QTest::newRow("password ending in a blank") << ok << QStringLiteral("pw ") << ok << QStringLiteral("空格");
        QTest::newRow("the superuser") << m_admin.user << QStringLiteral("pw") << ok << QStringLiteral("超级用户");
        QTest::newRow("someone else's database") << ok << QStringLiteral("pw") << name("taken") << QStringLiteral("属于");
        QTest::newRow("someone else's schema") << ok << QStringLiteral("pw") << name("schema_taken") << QStringLiteral("sc 属于");
    }
    void refusalsLeaveTheServerAsItWas()
    {
        QFETCH(QString, role);
        QFETCH(QString, password);
        QFETCH(QString, database);
        QFETCH(QString, says);
        auto s = server();
        if (database == name("taken") && !m_databases.contains(database)) {
            m_databases << database;
            s->execDdl(QStringLiteral("CREATE DATABASE %1").arg(database));
        }
        if (database == name("schema_taken") && !m_databases.contains(database)) {
            m_databases << database;
            // The database is the mill's, but a schema in it was made by the administrator.
            s->execDdl(QStringLiteral("CREATE ROLE %1").arg(role));
            m_roles << role;
            s->execDdl(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(database, role));
            ConnectionSettings cs = m_admin;
            cs.database = database;
            Session::open(cs)->execDdl(QStringLiteral("CREATE SCHEMA sc"));
        }
        // Only this case's own names: other tests share the server.
        const auto roles = [&] { return s->scalar(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?"), {role}).toInt(); };
        const auto databases = [&] {
            return s->scalar(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname = ?"), {database}).toInt();
        };
        const int rolesBefore = roles(), databasesBefore = databases();
        try {
            setUpMillServer(m_admin, role, password, database);
            QFAIL("set up a mill that should have been refused");
        } catch (const DomainError &e) {
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        }
        QCOMPARE(roles(), rolesBefore);
        QCOMPARE(databases(), databasesBefore);
    }
};

QTEST_GUILESS_MAIN(TestMillServer)
#include "tst_millserver.moc"
