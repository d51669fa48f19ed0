#include "support/testdb.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace fm::test {

TestDb::TestDb()
{
    const QString engine = qEnvironmentVariable("FM_TEST_ENGINE", QStringLiteral("sqlite"));
    if (engine == QLatin1String("postgres")) {
        m_settings.engine = Engine::PostgreSQL;
        const QString port = qEnvironmentVariable("FM_TEST_PG_PORT");
        if (port.isEmpty()) {
            m_unavailable = QStringLiteral("no PostgreSQL server for tests (FM_TEST_PG_PORT unset)");
            return;
        }
        m_settings.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
        m_settings.port = port.toInt();
        m_settings.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
        m_settings.database = QStringLiteral("fmtest_") + QUuid::createUuid().toString(QUuid::Id128).left(16);

        m_adminConnection = QStringLiteral("fm-test-admin-") + m_settings.database;
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_adminConnection);
        admin.setHostName(m_settings.host);
        admin.setPort(m_settings.port);
        admin.setUserName(m_settings.user);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open()) {
            qFatal("cannot reach the test PostgreSQL server: %s", qPrintable(admin.lastError().text()));
        }
        QSqlQuery q(admin);
        if (!q.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(m_settings.database)))
            qFatal("cannot create the test database: %s", qPrintable(q.lastError().text()));
    } else {
        m_settings.engine = Engine::SQLite;
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings.dataDir = m_dir->path();
    }
    m_session = Session::open(m_settings, true);
    m_session->createSchema();
}

TestDb::~TestDb()
{
    m_session.reset();
    if (!m_adminConnection.isEmpty()) {
        {
            QSqlDatabase admin = QSqlDatabase::database(m_adminConnection, false);
            QSqlQuery q(admin);
            q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
            admin.close();
        }
        QSqlDatabase::removeDatabase(m_adminConnection);
    }
}

std::unique_ptr<Session> TestDb::openAnother() const
{
    return Session::open(m_settings);
}

} // namespace fm::test
