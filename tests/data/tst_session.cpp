#include "support/testdb.h"

#include <QSemaphore>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace fm;
using fm::test::TestDb;

Q_DECLARE_METATYPE(fm::DbError::Kind)

namespace {

// Warnings of the Qt drivers, gathered while a test runs.
QStringList g_warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg) g_warnings << text;
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void everyColumnTypeRoundTrips()
    {
        Session &s = m_db->session();
        const QString name = QStringLiteral("张三's; --饲料");
        const qint64 id = s.insert(QStringLiteral("khjggl"),
                                   {{"dqbh", "11"}, {"dqmc", "城关镇"}, {"khmc", name}, {"khdm", "1100001"},
                                    {"cpdm", "n401"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"},
                                    {"zcjg", 1500.25}, {"cbjg", 1600.5}, {"jgce", -100.25},
                                    {"rq", "2026-12-10 09:30:15"}});
        QVERIFY(id > 0);
        auto r = s.first(QStringLiteral("SELECT khmc, zcjg, jgce, rq FROM {khjggl} WHERE id = ?"), {id});
        QVERIFY(r);
        QCOMPARE(r->value(0).toString(), name);
        QCOMPARE(r->value(1).toDouble(), 1500.25);
        QCOMPARE(r->value(2).toDouble(), -100.25);
        const QVariant rq = r->value(3);
        const QDateTime when = rq.typeId() == QMetaType::QDateTime
            ? rq.toDateTime()
            : QDateTime::fromString(rq.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(when, QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));

        const qint64 saleId = s.insert(QStringLiteral("sale1"),
                                       {{"khdm", "1100001"}, {"sjbs", 25}, {"zzje", 2350.0 / 3.0}, {"rq_1", "2026-12-10"}});
        r = s.first(QStringLiteral("SELECT sjbs, zzje, rq_1 FROM {sale1} WHERE id = ?"), {saleId});
        QCOMPARE(r->value(0).toInt(), 25);
        QCOMPARE(r->value(1).toDouble(), 2350.0 / 3.0); // never rounded on the way
        QCOMPARE(r->value(2).toString(), QStringLiteral("2026-12-10"));

        const qint64 bbId = s.insert(QStringLiteral("cpbb"), {{"cpdm", "n401"}, {"zzje", 1234.5678}});
        QCOMPARE(s.scalar(QStringLiteral("SELECT zzje FROM {cpbb} WHERE id = ?"), {bbId}).toDouble(), 1234.5678);
    }

    void failedTransactionLeavesNothing()
    {
        Session &s = m_db->session();
        QVERIFY_THROWS_EXCEPTION(DbError, s.transaction([&] {
            s.insert(QStringLiteral("dqk"), {{"dq", "城关镇"}, {"bh", "11"}});
            s.insert(QStringLiteral("sc_table_that_does_not_exist"), {{"x", 1}});
        }));
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 0);

        // Across catalogs too: a row in vel and a row in sc go together or not at all.
        QVERIFY_THROWS_EXCEPTION(DomainError, s.transaction([&] {
            s.insert(QStringLiteral("dqk"), {{"dq", "城关镇"}, {"bh", "11"}});
            s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ?"), {200.0});
            s.insert(QStringLiteral("bzzl"), {{"bzdm", "01"}, {"bzmc", "一班"}});
            throw DomainError(QStringLiteral("stop"));
        }));
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 0);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {bzzl}")).toInt(), 0);

        // The session stays usable after a rollback.
        s.transaction([&] { s.insert(QStringLiteral("dqk"), {{"dq", "东山乡"}, {"bh", "12"}}); });
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 1);
    }

    void caseInsensitiveCodes()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("price"), {{"cpdm", "zj001"}, {"cpmc", "猪料"}, {"cpbz", "0"}});
        for (const char *typed : {"zj001", "ZJ001", "Zj001"}) {
            const QVariant name = s.scalar(QStringLiteral("SELECT cpmc FROM {price} WHERE {ci:cpdm} = {ci:?}"),
                                           {QString::fromLatin1(typed)});
            QCOMPARE(name.toString(), QStringLiteral("猪料"));
        }
        // The unique key refuses the same code in other letter case.
        QVERIFY_THROWS_EXCEPTION(DbError, s.insert(QStringLiteral("price"), {{"cpdm", "ZJ001"}, {"cpmc", "x"}}));
    }

    void firstRowsByKeyOrder()
    {
        Session &s = m_db->session();
        for (const char *bh : {"13", "11", "12"})
            s.insert(QStringLiteral("dqk"), {{"dq", QStringLiteral("地区") + QLatin1String(bh)}, {"bh", QLatin1String(bh)}});
        QCOMPARE(s.scalar(QStringLiteral("SELECT bh FROM {dqk} ORDER BY bh {first:1}")).toString(), QStringLiteral("11"));
        QCOMPARE(s.scalar(QStringLiteral("SELECT bh FROM {dqk} ORDER BY id {first:1}")).toString(), QStringLiteral("13"));
    }

    // The clerk reads a plain sentence; the driver's words stay in rawText().
    void databaseErrorsInPlainWords()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("price"), {{"cpdm", "zj001"}, {"cpmc", "猪料"}});
        struct Case {
            const char *what;
            std::function<void()> write;
            DbError::Kind kind;
            bool everyEngine;
        };
        const Case cases[] = {
            {"unique key", [&] { s.insert(QStringLiteral("price"), {{"cpdm", "ZJ001"}, {"cpmc", "x"}}); },
             DbError::Kind::UniqueViolation, true},
            // SQLite keeps any number and any length; the server engines refuse.
            {"numeric overflow", [&] { s.insert(QStringLiteral("khjggl"), {{"khdm", "1100001"}, {"zcjg", 1e20}}); },
             DbError::Kind::OutOfRange, false},
            {"text too long", [&] { s.insert(QStringLiteral("zxkh"), {{"khdm", "123456789"}}); },
             DbError::Kind::TooLong, false},
        };
        for (const Case &c : cases) {
            if (!c.everyEngine && m_db->engine() == Engine::SQLite) continue;
            try {
                s.transaction(c.write);
                QFAIL(c.what);
            } catch (const DbError &e) {
                QVERIFY2(e.kind() == c.kind, c.what);
                QCOMPARE(e.message(), DbError::messageFor(c.kind));
                QVERIFY2(!e.rawText().isEmpty() && e.rawText() != e.message(), c.what);
            }
        }
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {price}")).toInt(), 1);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {khjggl}")).toInt() + s.scalar(QStringLiteral("SELECT COUNT(*) FROM {zxkh}")).toInt(), 0);
    }

    void errorCodesByEngine_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<DbError::Kind>("kind");
        const int pg = int(Engine::PostgreSQL), lite = int(Engine::SQLite), ms = int(Engine::SQLServer);
        QTest::newRow("pg deadlock") << pg << "40P01" << "deadlock detected" << DbError::Kind::Deadlock;
        QTest::newRow("pg serialization") << pg << "40001" << "could not serialize access" << DbError::Kind::Deadlock;
        QTest::newRow("pg lock timeout") << pg << "55P03" << "canceling statement due to lock timeout" << DbError::Kind::LockTimeout;
        QTest::newRow("pg numeric overflow") << pg << "22003" << "numeric field overflow" << DbError::Kind::OutOfRange;
        QTest::newRow("pg too long") << pg << "22001" << "value too long" << DbError::Kind::TooLong;
        QTest::newRow("pg unique") << pg << "23505" << "duplicate key value" << DbError::Kind::UniqueViolation;
        QTest::newRow("pg admin shutdown") << pg << "57P01" << "terminating connection" << DbError::Kind::ConnectionLost;
        QTest::newRow("pg broken, no state") << pg << "" << "server closed the connection unexpectedly" << DbError::Kind::ConnectionLost;
        QTest::newRow("pg syntax") << pg << "42601" << "syntax error" << DbError::Kind::Other;
        QTest::newRow("sqlite busy") << lite << "5" << "database is locked" << DbError::Kind::LockTimeout;
        QTest::newRow("sqlite stale snapshot") << lite << "517" << "database is locked" << DbError::Kind::Deadlock;
        QTest::newRow("sqlite unique") << lite << "19" << "UNIQUE constraint failed: price.cpdm" << DbError::Kind::UniqueViolation;
        QTest::newRow("sqlite unique extended") << lite << "2067" << "constraint failed" << DbError::Kind::UniqueViolation;
        QTest::newRow("sqlite not null") << lite << "19" << "NOT NULL constraint failed" << DbError::Kind::Other;
        QTest::newRow("sqlite no code") << lite << "" << "Parameter count mismatch" << DbError::Kind::Other;
        QTest::newRow("mssql deadlock victim") << ms << "1205" << "chosen as the deadlock victim" << DbError::Kind::Deadlock;
        QTest::newRow("mssql lock timeout") << ms << "1222" << "Lock request time out period exceeded" << DbError::Kind::LockTimeout;
        QTest::newRow("mssql overflow") << ms << "8115" << "Arithmetic overflow error" << DbError::Kind::OutOfRange;
        QTest::newRow("mssql truncated") << ms << "8152" << "String or binary data would be truncated" << DbError::Kind::TooLong;
        QTest::newRow("mssql unique index") << ms << "2601" << "Cannot insert duplicate key row" << DbError::Kind::UniqueViolation;
        QTest::newRow("mssql link") << ms << "0" << "[08S01] Communication link failure" << DbError::Kind::ConnectionLost;
    }

    void errorCodesByEngine()
    {
        QFETCH(int, engine);
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(DbError::Kind, kind);
        QCOMPARE(makeDialect(Engine(engine))->classify(code, text), kind);
    }

    // A failed statement ends its transaction at once, alike on every engine,
    // and leaves no statement prepared on the server.
    void failedStatementEndsTheTransaction()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("dqk"), {{"dq", "城关街道"}, {"bh", "11"}});
        auto prepared = [&] {
            return m_db->engine() == Engine::PostgreSQL
                ? s.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")).toInt()
                : 0;
        };
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepWarnings);
        int before = 0;
        for (int round = 0; round < 4; ++round) {
            bool refusedAfter = false;
            QVERIFY_THROWS_EXCEPTION(DbError, s.transaction([&] {
                QSqlQuery open = s.exec(QStringLiteral("SELECT dq FROM {dqk} WHERE bh = ?"), {QStringLiteral("11")});
                s.execute(QStringLiteral("UPDATE {dqk} SET dq = ? WHERE bh = ?"), {QStringLiteral("东山片区"), QStringLiteral("11")});
                try {
                    s.insert(QStringLiteral("dqk"), {{"dq", "西河片区"}, {"bh", "11"}}); // the code is taken
                } catch (const DbError &) {
                    try {
                        s.execute(QStringLiteral("UPDATE {dqk} SET dq = ?"), {QStringLiteral("已撤销")});
                    } catch (const DbError &) {
                        refusedAfter = true;
                    }
                    throw;
                }
            }));
            QVERIFY(refusedAfter);
            if (round == 0) before = prepared();
        }
        qInstallMessageHandler(previous);
        QCOMPARE(g_warnings.filter(QStringLiteral("Unable to free statement")), QStringList());
        QCOMPARE(prepared(), before);
        QCOMPARE(s.scalar(QStringLiteral("SELECT dq FROM {dqk} WHERE bh = '11'")).toString(), QStringLiteral("城关街道"));
        // The statements kept prepared still work after the rollbacks.
        s.transaction([&] { s.insert(QStringLiteral("dqk"), {{"dq", "西河片区"}, {"bh", "13"}}); });
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 2);
    }

    // A deadlock reported in the work is run again from the start, a few times.
    void deadlockRunsTheWorkAgain()
    {
        Session &s = m_db->session();
        int attempts = 0;
        s.transaction([&] {
            ++attempts;
            s.insert(QStringLiteral("dqk"), {{"dq", "城关街道"}, {"bh", "11"}});
            s.transaction([&] { // a nested call leaves the retry to the outermost
                if (attempts < 3) throw DbError(DbError::Kind::Deadlock, QStringLiteral("deadlock detected"));
            });
        });
        QCOMPARE(attempts, 3);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 1);

        attempts = 0;
        try {
            s.transaction([&] {
                ++attempts;
                s.insert(QStringLiteral("dqk"), {{"dq", "东山片区"}, {"bh", "12"}});
                throw DbError(DbError::Kind::Deadlock, QStringLiteral("deadlock detected"));
            });
            QFAIL("no error");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), DbError::messageFor(DbError::Kind::Deadlock));
        }
        QCOMPARE(attempts, Session::kTransactionAttempts);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM {dqk}")).toInt(), 1);

        // Other failures are not retried.
        attempts = 0;
        QVERIFY_THROWS_EXCEPTION(DbError, s.transaction([&] {
            ++attempts;
            throw DbError(DbError::Kind::LockTimeout, QStringLiteral("lock timeout"));
        }));
        QCOMPARE(attempts, 1);
    }

    // Two workstations locking two rows in opposite order: the server picks a
    // victim, whose work runs again, and both finish.
    void realDeadlockIsRetried()
    {
        if (m_db->engine() == Engine::SQLite) QSKIP("SQLite takes the write lock at the start of a transaction");
        Session &s = m_db->session();
        s.insert(QStringLiteral("dqk"), {{"dq", "城关街道"}, {"bh", "11"}});
        s.insert(QStringLiteral("dqk"), {{"dq", "东山片区"}, {"bh", "12"}});
        QSemaphore firstLocked, secondLocked;
        std::atomic<int> attempts{0};
        auto work = [&](const char *first, const char *second, QSemaphore &mine, QSemaphore &other, QString *failure) {
            std::unique_ptr<Session> w = m_db->openAnother();
            bool waited = false;
            try {
                w->transaction([&] {
                    ++attempts;
                    w->execute(QStringLiteral("UPDATE {dqk} SET dq = dq WHERE bh = ?"), {QString::fromLatin1(first)});
                    if (!waited) {
                        waited = true;
                        mine.release();
                        other.tryAcquire(1, 10000);
                    }
                    w->execute(QStringLiteral("UPDATE {dqk} SET dq = dq WHERE bh = ?"), {QString::fromLatin1(second)});
                });
            } catch (const DbError &e) {
                *failure = e.rawText();
            }
        };
        QString failA, failB;
        std::thread a([&] { work("11", "12", firstLocked, secondLocked, &failA); });
        std::thread b([&] { work("12", "11", secondLocked, firstLocked, &failB); });
        a.join();
        b.join();
        QCOMPARE(failA, QString());
        QCOMPARE(failB, QString());
        QCOMPARE(attempts.load(), 3);
    }

    // One round trip that changes a row and hands back what it became, and an
    // insert that hands back more than its key.
    void statementsThatReturnRows()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("fphm"), {{"zzhm", "1000"}, {"rec_num", 7}});
        const Dialect &d = s.dialect();
        const QString draw = d.updateReturningSql(s.expand(QStringLiteral("{fphm}")), QStringLiteral("rec_num = rec_num + 1"),
                                                  QStringLiteral("rec_num < ?"), {QStringLiteral("rec_num"), QStringLiteral("zzhm")});
        s.transaction([&] {
            auto r = s.first(draw, {300});
            QVERIFY(r);
            QCOMPARE(r->value(0).toInt(), 8);
            QCOMPARE(r->value(1).toString(), QStringLiteral("1000"));
            QCOMPARE(s.scalar(draw, {300}).toInt(), 9);
        });
        QVERIFY(!s.first(draw, {5})); // no row changed, none handed back
        QCOMPARE(s.scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt(), 9);

        const QString line = d.insertReturningSql(s.expand(QStringLiteral("{sale1}")), {QStringLiteral("khdm"), QStringLiteral("sjbs")},
                                                  {QStringLiteral("id"), QStringLiteral("sjbs")});
        auto r = s.first(line, {QStringLiteral("1100001"), 2.5});
        QVERIFY(r && r->value(0).toLongLong() > 0);
        QCOMPARE(r->value(1).toDouble(), 2.5); // bags as typed
    }

    // A workstation that holds its locks makes the others wait only so long.
    void lockWaitIsBounded()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("fphm"), {{"zzhm", "1000"}, {"rec_num", 0}});
        ConnectionSettings impatient = m_db->settings();
        impatient.lockTimeoutMs = 300;
        std::unique_ptr<Session> other = Session::open(impatient);
        QElapsedTimer waited;
        s.transaction([&] {
            s.lockRows(QStringLiteral("fphm"), QStringLiteral("rec_num"));
            waited.start();
            try {
                other->transaction([&] { other->execute(QStringLiteral("UPDATE {fphm} SET rec_num = rec_num + 1")); });
                QFAIL("the second workstation did not wait");
            } catch (const DbError &e) {
                QCOMPARE(e.kind(), DbError::Kind::LockTimeout);
                QCOMPARE(e.message(), QStringLiteral("数据库忙，请稍后再试。"));
            }
        });
        QVERIFY(waited.elapsed() >= 250);
        // Once the lock is gone the other workstation goes on.
        other->transaction([&] { other->execute(QStringLiteral("UPDATE {fphm} SET rec_num = rec_num + 1")); });
        QCOMPARE(s.scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt(), 1);
    }

    // The look-ups of the windows, in the folded form their index has.
    void lookUpsUseTheirIndex_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("index");
        QTest::newRow("customer price by code") << "SELECT khdm, khmc, dqmc FROM {khprice} WHERE {ci:khdm} = {ci:'1100001'} "
                                                   "ORDER BY {ci:khdm}, {ci:cpdm} {first:1}" << "khprice_uk1";
        QTest::newRow("customer prices of a code range") << "SELECT khdm, cpdm FROM {khprice} WHERE {ci:khdm} >= {ci:'11'} "
                                                            "AND {ci:khdm} < {ci:'12'} ORDER BY {ci:khdm}, {ci:cpdm}" << "khprice_uk1";
        QTest::newRow("policy prices of a region") << "SELECT id FROM {khprice} WHERE dqmc = '城关街道' AND fhll <> 0 "
                                                      "AND fhll IS NOT NULL" << "khprice_ix3";
        QTest::newRow("customer price by name") << "SELECT khdm, khmc FROM {khprice} WHERE khmc = '张记养殖场'" << "khprice_ix4";
        QTest::newRow("customers of a region code") << "SELECT khdm FROM {zxkh} WHERE {ci:khdm} >= {ci:'11'} AND {ci:khdm} < {ci:'12'}"
                                                    << "zxkh_uk1";
        QTest::newRow("an operator's returns of a day") << "SELECT id FROM {sale1} WHERE czydm = 'admin' AND rq_2 = '2026-12-10' "
                                                           "AND bz_1 = '3'" << "sale1_ix6";
        QTest::newRow("return row of a line") << "SELECT id FROM {khtl} WHERE sale1_id = 5" << "khtl_ix2";
        QTest::newRow("funds row of a line") << "SELECT id FROM {khzj} WHERE sale1_id = 5" << "khzj_ix4";
    }

    void lookUpsUseTheirIndex()
    {
        QFETCH(QString, sql);
        QFETCH(QString, index);
        Session &s = m_db->session();
        const bool sqlite = m_db->engine() == Engine::SQLite;
        // The tables are nearly empty here: a scan would be cheapest, so the
        // server is told to avoid one if it can.
        if (!sqlite) s.execDdl(QStringLiteral("SET enable_seqscan = off"));
        QSqlQuery q(s.database()); // EXPLAIN cannot be prepared on PostgreSQL
        QVERIFY(q.exec((sqlite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ")) + s.expand(sql)));
        QStringList plan;
        while (q.next()) plan << q.value(sqlite ? 3 : 0).toString();
        q.finish();
        if (!sqlite) s.execDdl(QStringLiteral("RESET enable_seqscan"));
        QVERIFY2(plan.join(QLatin1Char(' ')).contains(index), qPrintable(plan.join(QLatin1Char('\n'))));
    }

    // Two workstations drawing from one counter in parallel: every value is
    // handed out once and none is lost.
    void counterIsAtomicAcrossConnections()
    {
        Session &s = m_db->session();
        s.insert(QStringLiteral("fphm"), {{"zzhm", "1000"}, {"rec_num", 0}});
        constexpr int perWorker = 150;
        auto draw = [this] {
            std::vector<int> got;
            std::unique_ptr<Session> w = m_db->openAnother();
            for (int i = 0; i < perWorker; ++i) {
                w->transaction([&] {
                    w->lockRows(QStringLiteral("fphm"), QStringLiteral("rec_num"));
                    const int v = w->scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt() + 1;
                    w->execute(QStringLiteral("UPDATE {fphm} SET rec_num = ?"), {v});
                    got.push_back(v);
                });
            }
            return got;
        };
        std::vector<int> all, other;
        std::thread a([&] { all = draw(); });
        std::thread b([&] { other = draw(); });
        a.join();
        b.join();
        all.insert(all.end(), other.begin(), other.end());
        std::sort(all.begin(), all.end());
        QCOMPARE(int(all.size()), 2 * perWorker);
        QVERIFY(std::adjacent_find(all.begin(), all.end()) == all.end());
        QCOMPARE(s.scalar(QStringLiteral("SELECT rec_num FROM {fphm}")).toInt(), 2 * perWorker);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
