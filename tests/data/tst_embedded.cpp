// The embedded engine's one file: converting an older three-file installation,
// and surviving a workstation killed in the middle of its writes.

#include "data/dialect.h"
#include "data/migration.h"
#include "data/session.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

using namespace fm;

namespace {

ConnectionSettings embedded(const QString &dir)
{
    ConnectionSettings cs;
    cs.engine = Engine::SQLite;
    cs.dataDir = dir;
    return cs;
}

// The columns and tables this version added; the older files lack them, and
// the bag count was an integer there.
TableDef legacyShape(TableDef t)
{
    const QStringList added{QStringLiteral("sale1_id"), t.name == QLatin1String("pfysk") ? QStringLiteral("czydm") : QString()};
    std::vector<ColumnDef> cols;
    for (ColumnDef c : t.columns) {
        if (added.contains(c.name)) continue;
        if (c.name == QLatin1String("sjbs") && c.type == ColType::Decimal) c.type = ColType::Integer;
        cols.push_back(c);
    }
    t.columns = cols;
    std::vector<IndexDef> indexes;
    for (const IndexDef &ix : t.indexes) {
        bool ok = true;
        for (const QString &c : ix.columns) ok = ok && t.column(c);
        if (ok) indexes.push_back(ix);
    }
    t.indexes = indexes;
    return t;
}

QString dump(QSqlDatabase db, const QString &table, const QStringList &columns)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT id,%1 FROM %2 ORDER BY id").arg(columns.join(QLatin1Char(',')), table)))
        return q.lastError().text();
    QStringList rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i <= columns.size(); ++i) row << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
        rows << row.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// ---- the workstation that is killed -----------------------------------------

// One cross-catalog operation, over and over: a funds row (vel), its archive
// copy (histvel), a sales line (vel) and a stock rise (sc), in one transaction.
int crashChild(const QString &dir)
{
    std::unique_ptr<Session> s = Session::open(embedded(dir));
    std::printf("ready\n");
    std::fflush(stdout);
    for (qint64 n = 1;; ++n) {
        s->transaction([&] {
            const QString tag = QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(n);
            s->insert(QStringLiteral("khzj"), {{QStringLiteral("khdm"), QStringLiteral("1100001")},
                                               {QStringLiteral("sjdx"), tag}, {QStringLiteral("ysje"), 1.5}});
            s->insert(QStringLiteral("sale1"), {{QStringLiteral("khdm"), QStringLiteral("1100001")},
                                                {QStringLiteral("cpmc"), tag}, {QStringLiteral("zznum"), 40.0}});
            s->execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + 1 WHERE cpdm = ?"), {QStringLiteral("n401")});
            s->insert(QStringLiteral("his_khzj"), {{QStringLiteral("khdm"), QStringLiteral("1100001")},
                                                   {QStringLiteral("sjdx"), tag}, {QStringLiteral("ysje"), 1.5}});
        });
    }
}

} // namespace

class TestEmbedded : public QObject {
    Q_OBJECT

private slots:
    void newInstallationIsOneWalFile()
    {
        QTemporaryDir dir;
        {
            auto s = Session::open(embedded(dir.path()), true);
            s->createSchema();
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL
            s->insert(QStringLiteral("bzzl"), {{"bzdm", "01"}});
            // A batch commits without waiting for the disk and leaves the
            // setting and the log as they were, even when it fails.
            QVERIFY_THROWS_EXCEPTION(DomainError, s->batchCommits([&] {
                QCOMPARE(s->scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 1); // NORMAL
                s->transaction([&] { s->insert(QStringLiteral("bzzl"), {{"bzdm", "02"}}); });
                throw DomainError(QStringLiteral("stop"));
            }));
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM bzzl")).toInt(), 2);
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")).toInt(), 0); // not busy
        }
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files, QStringList{QStringLiteral("feedmill.db")});
        // Opening an installation that is not there creates nothing.
        QTemporaryDir empty;
        QVERIFY_THROWS_EXCEPTION(DbError, Session::open(embedded(empty.path())));
        QVERIFY(QDir(empty.path()).entryList(QDir::Files).isEmpty());
    }

    void migrationKeepsEveryRowAndRunsOnce()
    {
        QTemporaryDir dir;
        const std::unique_ptr<Dialect> sqlite = makeDialect(Engine::SQLite);
        // An older installation: three files, each with its catalog's tables.
        for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel}) {
            const QString name = QStringLiteral("legacy-") + catalogName(c);
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(QDir(dir.path()).filePath(legacyEmbeddedFileName(c)));
                QVERIFY(db.open());
                QSqlQuery q(db);
                for (const TableDef &t : schemaTables()) {
                    if (t.catalog != c || t.name == QLatin1String("cprbb")) continue;
                    const TableDef old = legacyShape(t);
                    for (const QString &st : sqlite->createTable(old) + sqlite->createIndexes(old))
                        QVERIFY2(q.exec(st), qPrintable(q.lastError().text()));
                }
                const QStringList rows = c == Catalog::Vel
                    ? QStringList{"INSERT INTO zxkh (khdm, khmc, dq, khbz) VALUES ('1100001', '张记''s; --养殖场', '城关街道', '1')",
                                  "INSERT INTO zxkh (khdm, khmc, dq, khbz) VALUES ('1100002', '李家猪场', NULL, '0')",
                                  "INSERT INTO zxkh (khdm, khmc) VALUES ('1100003', '已删除')",
                                  "DELETE FROM zxkh WHERE khdm = '1100003'",
                                  "INSERT INTO sale1 (khdm, sjbs, zzje, zznum, rq_1) VALUES ('1100001', 25, 783.3333333333334, 1000, '2026-12-10')",
                                  "INSERT INTO sale1 (khdm, sjbs, zzje, zznum, rq_1) VALUES ('1100002', 3, -120.5, 75.5, '2026-12-11')",
                                  "INSERT INTO khtl (khdm, tlnum, tlje, rec_num) VALUES ('1100001', 40, 130.2, 7)",
                                  "INSERT INTO khzj (khdm, ysje, sjje, sjdx, rq) VALUES ('1100001', 783.33, 0, '柒佰捌拾叁元叁角叁分', '2026-12-10')",
                                  "INSERT INTO price (cpdm, cpmc, kpjg, rq) VALUES ('n401', '猪用浓缩料', 3200, '2026-12-10 09:30:00')"}
                    : c == Catalog::Sc
                    ? QStringList{"INSERT INTO velcpzk (cpdm, cpmc, scsl, sccb) VALUES ('n401', '猪用浓缩料', 20000.25, 2900)",
                                  "INSERT INTO pfysk (ysdm, ylys, result) VALUES ('s1', '能量', 3.24)",
                                  "INSERT INTO bzzl (bzdm, bzmc, scpc) VALUES ('01', '一班', 12)"}
                    : QStringList{"INSERT INTO his_sale1 (khdm, sjbs, zzje, rq_1) VALUES ('1100001', 60, 2400, '2016-01-19')",
                                  "INSERT INTO his_khzj (khdm, ysje, rq) VALUES ('1100001', 2400, '2016-01-19')"};
                for (const QString &st : rows) QVERIFY2(q.exec(st), qPrintable(q.lastError().text() + " " + st));
            }
            QSqlDatabase::removeDatabase(name);
        }
        QStringList hashes;
        for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel})
            hashes << fileHash(QDir(dir.path()).filePath(legacyEmbeddedFileName(c))).toHex();

        // Such a folder is refused until it is converted, and nothing is created.
        QVERIFY(needsEmbeddedMigration(dir.path()));
        try {
            Session::open(embedded(dir.path()), true);
            QFAIL("opened an unconverted installation");
        } catch (const DbError &e) {
            QVERIFY(e.message().contains(QStringLiteral("fmadmin migrate")));
        }
        QVERIFY(!QFile::exists(QDir(dir.path()).filePath(embeddedFileName())));

        const MigrationResult r = migrateEmbeddedInstallation(dir.path());
        QCOMPARE(r.rows, qint64(2 + 2 + 1 + 1 + 1 + 3 + 2));
        QCOMPARE(r.missing, QStringList{QStringLiteral("cprbb")});
        QCOMPARE(r.tables, int(schemaTables().size()) - 1);
        QVERIFY(!needsEmbeddedMigration(dir.path()));

        // Every row of every table, keys included, column by column.
        {
            auto s = Session::open(embedded(dir.path()));
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel}) {
                const QString name = QStringLiteral("check-") + catalogName(c);
                {
                    QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                    old.setDatabaseName(QDir(dir.path()).filePath(legacyEmbeddedFileName(c)));
                    old.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
                    QVERIFY(old.open());
                    for (const TableDef &t : schemaTables()) {
                        if (t.catalog != c || t.name == QLatin1String("cprbb")) continue;
                        const QStringList columns = legacyShape(t).columnNames();
                        QCOMPARE(dump(s->database(), t.name, columns), dump(old, t.name, columns));
                    }
                }
                QSqlDatabase::removeDatabase(name);
            }
            QCOMPARE(s->scalar(QStringLiteral("SELECT sjbs FROM sale1 WHERE khdm = '1100001'")).toDouble(), 25.0);
            QVERIFY(s->scalar(QStringLiteral("SELECT sale1_id FROM khtl")).isNull());
            // A key deleted in the old file is not handed out again.
            QCOMPARE(s->insert(QStringLiteral("zxkh"), {{"khdm", "1100004"}}), qint64(4));
            s->insert(QStringLiteral("khtl"), {{"khdm", "1100002"}, {"sale1_id", 2}});
        }

        // The old files are kept as they were, and a second run is refused.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(QString(fileHash(QDir(dir.path()).filePath(legacyEmbeddedFileName(Catalog(i)))).toHex()), hashes[i]);
        const QByteArray converted = fileHash(QDir(dir.path()).filePath(embeddedFileName()));
        QVERIFY_THROWS_EXCEPTION(DomainError, migrateEmbeddedInstallation(dir.path()));
        QCOMPARE(fileHash(QDir(dir.path()).filePath(embeddedFileName())), converted);
        QVERIFY(!QFileInfo::exists(QDir(dir.path()).filePath(QStringLiteral(".feedmill-migrating"))));
    }

    // A workstation killed at any moment of a transaction that spans the three
    // catalogs leaves all of it or none of it, and a sound file.
    void killedWorkstationLeavesConsistentData()
    {
        QTemporaryDir dir;
        {
            auto s = Session::open(embedded(dir.path()), true);
            s->createSchema();
            s->insert(QStringLiteral("velcpzk"), {{"cpdm", "n401"}, {"scsl", 0.0}});
        }
        qint64 last = -1;
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--crash-child"), dir.path()});
            QVERIFY(child.waitForStarted());
            QVERIFY(child.waitForReadyRead(10000));
            QTest::qWait(20 + int(QRandomGenerator::global()->bounded(180)));
            child.kill(); // SIGKILL: no destructor, no rollback
            QVERIFY(child.waitForFinished(10000));

            auto s = Session::open(embedded(dir.path()));
            QCOMPARE(s->scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            const qint64 funds = s->scalar(QStringLiteral("SELECT COUNT(*) FROM {khzj}")).toLongLong();
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM {his_khzj}")).toLongLong(), funds);
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(*) FROM {sale1}")).toLongLong(), funds);
            QCOMPARE(s->scalar(QStringLiteral("SELECT scsl FROM {velcpzk}")).toLongLong(), funds);
            QCOMPARE(s->scalar(QStringLiteral("SELECT COUNT(DISTINCT sjdx) FROM {khzj} WHERE sjdx IN "
                                              "(SELECT sjdx FROM {his_khzj})")).toLongLong(), funds);
            QVERIFY(funds >= last);
            last = funds;
        }
        QVERIFY2(last > 0, "the killed workstation never committed");
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--crash-child") == 0) {
        QCoreApplication app(argc, argv);
        return crashChild(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestEmbedded t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_embedded.moc"
