#pragma once
// Fresh catalogs for one test program. FM_TEST_ENGINE picks the engine:
// "sqlite" (default) builds feedmill.db in a temporary folder; "postgres"
// creates a database of its own on the server that ./test started
// (FM_TEST_PG_PORT, FM_TEST_PG_HOST, FM_TEST_PG_USER) and drops it afterwards.

#include "data/session.h"

#include <QTemporaryDir>
#include <memory>

namespace fm::test {

class TestDb {
public:
    TestDb();
    ~TestDb();

    // Why the engine cannot be reached (then the test program skips), or empty.
    QString unavailable() const { return m_unavailable; }
    Engine engine() const { return m_settings.engine; }

    Session &session() { return *m_session; }
    // Empties every table so that each test starts from the same ground.
    void reset() { m_session->clearAllTables(); }
    // Another workstation on the same catalogs.
    std::unique_ptr<Session> openAnother() const;
    const ConnectionSettings &settings() const { return m_settings; }

private:
    ConnectionSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    QString m_adminConnection;
    QString m_unavailable;
};

} // namespace fm::test

// In initTestCase(): creates the fixture or skips the whole program.
#define FM_INIT_TEST_DB(member)                                                 \
    do {                                                                        \
        member = std::make_unique<fm::test::TestDb>();                          \
        if (!member->unavailable().isEmpty())                                   \
            QSKIP(qPrintable(member->unavailable()));                           \
    } while (0)
