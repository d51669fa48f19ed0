// Rows read by column name, fully read before the next statement, the same
// on every engine (TestDb), and the n-th write made to fail for atomicity tests.

#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestRows : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    qint64 addCustomer(const QString &code, const QString &name)
    {
        return s().insert(QStringLiteral("zxkh"), {{QStringLiteral("khdm"), code},
                                                   {QStringLiteral("khmc"), name},
                                                   {QStringLiteral("dq"), QStringLiteral("一区")}});
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void readsByName()
    {
        const qint64 id = addCustomer(QStringLiteral("1100001"), QStringLiteral("张三 "));
        s().insert(QStringLiteral("khzj"), {{QStringLiteral("khdm"), QStringLiteral("1100001")},
                                            {QStringLiteral("ysje"), 469.134},
                                            {QStringLiteral("rq"), QStringLiteral("2026-12-10")}});
        const auto c = s().row(QStringLiteral("SELECT id, KHDM, khmc FROM {zxkh} WHERE id = ?"), {id});
        QVERIFY(c);
        QCOMPARE(c->id(), id);
        QCOMPARE(c->text(QStringLiteral("khdm")), QStringLiteral("1100001")); // names without regard to case
        QCOMPARE(c->text(QStringLiteral("khmc")), QStringLiteral("张三"));
        QVERIFY_THROWS_EXCEPTION(DbError, c->text(QStringLiteral("khbz"))); // not selected: a fault, not ""

        const auto f = s().row(QStringLiteral("SELECT ysje, rq FROM {khzj}"));
        QVERIFY(f);
        QCOMPARE(f->number(QStringLiteral("ysje")), 469.134);
        QCOMPARE(f->dateText(QStringLiteral("rq")), QStringLiteral("2026-12-10"));
        QVERIFY(!s().row(QStringLiteral("SELECT id FROM {zxkh} WHERE id = ?"), {id + 1000}));
    }

    void rowsAreReadBeforeTheNextStatement()
    {
        for (int i = 0; i < 30; ++i) addCustomer(QStringLiteral("11%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("客户"));
        int seen = 0;
        for (const Row &r : s().rows(QStringLiteral("SELECT id, khdm FROM {zxkh} ORDER BY khdm"))) {
            // Another statement on the same connection while walking the rows.
            s().execute(QStringLiteral("UPDATE {zxkh} SET khbz = '1' WHERE id = ?"), {r.id()});
            ++seen;
        }
        QCOMPARE(seen, 30);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {zxkh} WHERE khbz = '1'")).toInt(), 30);
    }

    void failingEachWriteLeavesNothing()
    {
        const auto prepare = [&] { m_db->reset(); };
        const int writes = checkEachWriteFailing(s(), {QStringLiteral("zxkh"), QStringLiteral("dqk")}, prepare, [&] {
            s().transaction([&] {
                addCustomer(QStringLiteral("1100001"), QStringLiteral("甲"));
                s().insert(QStringLiteral("dqk"), {{QStringLiteral("dq"), QStringLiteral("一区")}, {QStringLiteral("bh"), QStringLiteral("11")}});
                s().execute(QStringLiteral("UPDATE {zxkh} SET khbz = '1'"));
            });
        });
        QCOMPARE(writes, 3);
    }
};

QTEST_MAIN(TestRows)
#include "tst_rows.moc"
