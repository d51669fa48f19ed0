#include "support/testdb.h"

#include "common/clock.h"
#include "common/gbk.h"
#include "data/scaledata.h"
#include "data/seed.h"
#include "sales/turnovernumbers.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestScaleData : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    static MillSize tiny()
    {
        MillSize z;
        z.regions = 3;
        z.customers = 12;
        z.products = 6;
        z.slips = 40;
        z.lines = 100;
        z.years = 2;
        return z;
    }

    int count(const QString &sql) { return m_db->session().scalar(sql).toInt(); }

    // Enough of the rows to tell two loads apart.
    QStringList fingerprint()
    {
        Session &s = m_db->session();
        QStringList out;
        QSqlQuery q = s.exec(QStringLiteral("SELECT rq_1, khdm, cpdm, zznum, zzjg, zcjg, zzhm FROM {sale1} ORDER BY id"));
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < 7; ++i) row << q.value(i).toString();
            out << row.join(QLatin1Char('|'));
        }
        q.finish();
        out << s.scalar(QStringLiteral("SELECT SUM(fhll) FROM {khprice}")).toString();
        return out;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        seedNewInstallation(m_db->session(), m_clock, SeedOptions());
    }

    void tinyMillIsConsistent()
    {
        Session &s = m_db->session();
        generateMill(s, m_clock, tiny());

        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {dqk}")), 3);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {zxkh}")), 12);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {price}")), 6);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {khprice}")), 72);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {sale1}")), 100);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {khzj}")), 40);
        // One turnover number per slip, 1 to 8 lines each, and the counter at the last.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(DISTINCT zzhm) FROM {sale1}")), 40);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM (SELECT zzhm FROM {sale1} GROUP BY zzhm "
                                      "HAVING COUNT(*) > 8) x")), 0);
        QCOMPARE(TurnoverNumbers(s).current(), QStringLiteral("40"));

        // Every line's customer and product exist; codes start with their region's code.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {sale1} l WHERE NOT EXISTS "
                                      "(SELECT 1 FROM {zxkh} k WHERE k.khdm = l.khdm AND k.dq = l.region)")), 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {sale1} l WHERE NOT EXISTS "
                                      "(SELECT 1 FROM {khprice} p WHERE p.khdm = l.khdm AND p.cpdm = l.cpdm AND p.cpgg = l.cpgg)")), 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {zxkh} k WHERE NOT EXISTS "
                                      "(SELECT 1 FROM {dqk} d WHERE d.bh = substr(k.khdm, 1, 2) AND d.dq = k.dq)")), 0);
        // The slips' funds rows carry the lines' totals.
        auto totals = s.first(QStringLiteral("SELECT (SELECT SUM(zzje) FROM {sale1}), (SELECT SUM(ysje) FROM {khzj}), "
                                             "(SELECT SUM(zznum) FROM {sale1}), (SELECT SUM(sjxl) FROM {khzj})"));
        QVERIFY(totals);
        QVERIFY(qAbs(totals->value(0).toDouble() - totals->value(1).toDouble()) < 1e-6);
        QVERIFY(qAbs(totals->value(2).toDouble() - totals->value(3).toDouble()) < 1e-6);
        // Dates as text within the two years up to today.
        auto range = s.first(QStringLiteral("SELECT MIN(rq_1), MAX(rq_1), MIN(rq), MAX(rq) FROM {sale1}, {khzj}"));
        QCOMPARE(range->value(0).toString(), QStringLiteral("2024-12-11"));
        QVERIFY(range->value(1).toString() <= QStringLiteral("2026-12-10"));
        QCOMPARE(range->value(2).toString(), range->value(0).toString());
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {sale1} WHERE rq_1 NOT LIKE '____-__-__'")), 0);
        // The price filter holds exactly the customer prices below cost.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {khjggl}")),
                 count(QStringLiteral("SELECT COUNT(*) FROM {khprice} k, {price} p WHERE p.cpdm = k.cpdm AND k.fhll < p.cbjg")));

        // The indexes are back: the unique key still refuses a second price row.
        QVERIFY_THROWS_EXCEPTION(DbError, s.insert(QStringLiteral("khprice"), {{"khdm", "1100001"}, {"cpdm", "N0001"}}));
        // A second load into the same catalogs is refused.
        QVERIFY_THROWS_EXCEPTION(DomainError, generateMill(s, m_clock, tiny()));
    }

    // What a new installation and the sample mill hold follows the rules the
    // windows apply to what clerks type.
    void seededDataFollowsTheRules()
    {
        Session &s = m_db->session();
        const QStringList departments{QStringLiteral("经理室"), QStringLiteral("财务科"), QStringLiteral("销售科"),
                                      QStringLiteral("原料科"), QStringLiteral("生产科"), QStringLiteral("仓储科")};
        QVERIFY(departments.contains(s.scalar(QStringLiteral("SELECT deptment FROM {zxauth1}")).toString()));
        loadDemoData(s, m_clock);
        QSqlQuery q = s.exec(QStringLiteral("SELECT dq FROM {dqk}"));
        int regions = 0;
        while (q.next()) {
            const int bytes = gbkLength(q.value(0).toString());
            QVERIFY2(bytes >= 8 && bytes <= 10, qPrintable(q.value(0).toString()));
            ++regions;
        }
        QCOMPARE(regions, 3);
        // Every demo customer's region is one of them.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM {zxkh} k WHERE NOT EXISTS (SELECT 1 FROM {dqk} d WHERE d.dq = k.dq)")), 0);
    }

    void sameDayGivesSameRows()
    {
        generateMill(m_db->session(), m_clock, tiny());
        const QStringList first = fingerprint();
        init();
        generateMill(m_db->session(), m_clock, tiny());
        QCOMPARE(fingerprint(), first);
    }

    void scales()
    {
        const MillSize top = millSize(kTopScale);
        QCOMPARE(top.customers, 10000);
        QCOMPARE(top.regions, 60);
        QCOMPARE(top.products, 500);
        QCOMPARE(top.customerPrices(), 5000000LL);
        QCOMPARE(top.lines, 5000000LL);
        QCOMPARE(top.slips, 1500000LL);
        const MillSize one = millSize(1);
        QCOMPARE(one.customers, 100);
        QCOMPARE(one.lines, 50000LL);
        QCOMPARE(one.products, 500);
        QVERIFY_THROWS_EXCEPTION(DomainError, millSize(0));
        QVERIFY_THROWS_EXCEPTION(DomainError, millSize(kTopScale + 1));
        MillSize tooManyLines = tiny();
        tooManyLines.lines = 8 * tooManyLines.slips + 1;
        QVERIFY_THROWS_EXCEPTION(DomainError, generateMill(m_db->session(), m_clock, tooManyLines));
    }
};

QTEST_GUILESS_MAIN(TestScaleData)
#include "tst_scaledata.moc"
