#include "support/testdb.h"

#include <QtTest>
#include <thread>

using namespace fm;
using fm::test::TestDb;

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
