#pragma once
// A workstation for window tests: fresh catalogs with a new installation, a
// fixed clock, a recording prompter and the application context over them.

#include "common/clock.h"
#include "data/seed.h"
#include "shell/appcontext.h"
#include "support/recordingprompter.h"
#include "support/testdb.h"

namespace fm::test {

struct AppFixture {
    std::unique_ptr<TestDb> db;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    RecordingPrompter prompter;
    AppContext ctx;

    // Empties the catalogs and seeds a new installation (administrator "admin").
    void reset()
    {
        db->reset();
        seedNewInstallation(db->session(), clock, SeedOptions{});
        prompter = RecordingPrompter();
        ctx = AppContext();
        ctx.session = &db->session();
        ctx.clock = &clock;
        ctx.prompter = &prompter;
        ctx.qymc = QStringLiteral("测试饲料有限公司");
        ctx.operatorCode = QStringLiteral("admin");
        ctx.operatorName = QStringLiteral("系统管理员");
        ctx.workstation = QStringLiteral("test-workstation");
        db->session().setActor({ctx.operatorCode, ctx.workstation, &clock});
    }
    Session &session() { return db->session(); }
};

} // namespace fm::test

// In initTestCase() of a window test that uses an AppFixture member.
#define FM_INIT_APP_FIXTURE(fixture) FM_INIT_TEST_DB((fixture).db)
