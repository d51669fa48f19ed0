// Backups: a copy made while another workstation holds a transaction open,
// restored into an empty installation with every table as it was; a restore
// that would replace data refused unless forced; files never overwritten.

#include "common/clock.h"
#include "data/backup.h"
#include "data/schema.h"
#include "data/seed.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace fm;
using fm::test::TestDb;

namespace {

QStringList allTables()
{
    QStringList out;
    for (const TableDef &t : schemaTables()) out << t.name;
    return out;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    QTemporaryDir m_files;

    Session &s() { return m_db->session(); }

    // Where a restore goes: an empty folder, or a database without the schemas.
    ConnectionSettings emptyInstallation(std::unique_ptr<TestDb> &holder, const QString &folder)
    {
        ConnectionSettings cs = m_db->settings();
        if (cs.engine == Engine::SQLite) {
            cs.dataDir = m_files.filePath(folder);
            return cs;
        }
        holder = std::make_unique<TestDb>();
        for (const char *schema : {"vel", "sc", "histvel"})
            holder->session().execDdl(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(QLatin1String(schema)));
        return holder->settings();
    }

private slots:
    void initTestCase()
    {
        FM_INIT_TEST_DB(m_db);
        QVERIFY(m_files.isValid());
    }
    void init()
    {
        m_db->reset();
        seedNewInstallation(s(), m_clock, SeedOptions{});
        loadDemoData(s(), m_clock);
        s().insert(QStringLiteral("his_sale1"), {{"rq_1", "2025-01-02"}, {"khmc", QStringLiteral("O'Brien; --")}, {"zznum", 1.25}});
    }

    void backupRestoresIntoAnEmptyInstallation()
    {
        const QString before = fm::test::snapshot(s(), allTables());
        // Another workstation's transaction that is still open is not in the copy.
        std::unique_ptr<Session> other = m_db->openAnother();
        QSqlDatabase db = other->database();
        QVERIFY(db.transaction());
        QSqlQuery q(db);
        QVERIFY(q.exec(other->expand(QStringLiteral("INSERT INTO {dqk} (dq, bh) VALUES ('未提交片区', '99')"))));
        const QString file = m_files.filePath(backupFileName(s().engine(), m_clock.now()));
        makeBackup(s(), file);
        QVERIFY(db.commit());
        QVERIFY(QFileInfo(file).size() > 0);
        QVERIFY(!QFileInfo::exists(file + QStringLiteral(".part")));
        // A backup never replaces a file.
        QVERIFY_THROWS_EXCEPTION(DomainError, makeBackup(s(), file));

        std::unique_ptr<TestDb> target;
        const ConnectionSettings cs = emptyInstallation(target, QStringLiteral("restored"));
        const RestoreResult r = restoreBackup(cs, file, false);
        QCOMPARE(r.tables, int(schemaTables().size()));
        std::unique_ptr<Session> restored = Session::open(cs);
        QCOMPARE(fm::test::snapshot(*restored, allTables()), before);
        // New rows continue above the restored keys.
        const qint64 maxId = restored->scalar(QStringLiteral("SELECT MAX(id) FROM {khprice}")).toLongLong();
        QVERIFY(restored->insert(QStringLiteral("khprice"), {{"khdm", "1100001"}}) > maxId);

        // Restoring again over data is refused without force, and with force
        // replaces every table.
        try {
            restoreBackup(cs, file, false);
            QFAIL("restored over data without --force");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("该数据库已有数据，恢复会替换全部数据；确需恢复请加 --force。"));
        }
        restored->insert(QStringLiteral("dqk"), {{"dq", "后加片区"}, {"bh", "88"}});
        restored.reset();
        restoreBackup(cs, file, true);
        restored = Session::open(cs);
        QCOMPARE(fm::test::snapshot(*restored, allTables()), before);
    }

    void notABackupIsRefused()
    {
        const QString file = m_files.filePath(QStringLiteral("not-a-backup.db"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database");
        f.close();
        std::unique_ptr<TestDb> target;
        const ConnectionSettings cs = emptyInstallation(target, QStringLiteral("other"));
        QVERIFY_THROWS_EXCEPTION(std::exception, restoreBackup(cs, file, false));
        QVERIFY_THROWS_EXCEPTION(DomainError, restoreBackup(cs, m_files.filePath(QStringLiteral("missing.db")), false));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
