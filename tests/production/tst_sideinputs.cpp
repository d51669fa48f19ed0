// Production side inputs: shift balances by row, a team's cost figures and
// the loss-rate display, sundry returns, monthly overheads.

#include "common/clock.h"
#include "data/session.h"
#include "production/sideinputs.h"
#include "productionfixture.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestSideInputs : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }

    qint64 shiftRow(const char *date, int serial, double lrsl = 1000)
    {
        return s().insert(QStringLiteral("scylxh"), {{"yldm", "m01"}, {"ylmc", "玉米"}, {"lrsl", lrsl}, {"sjsl", 0.0},
                                                     {"scjc", 0.0}, {"sjjc", 0.0}, {"lrjc", 0.0}, {"sjxh", 0.0},
                                                     {"bzdm", "01"}, {"bzdm0", "02"}, {"rq_1", date}, {"bz", "1"},
                                                     {"rec_num", serial}});
    }
    void line(const char *team, double kg, const char *txm = "", double bags = 0)
    {
        s().insert(QStringLiteral("velcpk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"scsl", kg},
                                              {"sccb", 0.0}, {"scbz", team}, {"scrq_1", "2026-12-05"}, {"txm", txm},
                                              {"bzdje", bags}, {"fwbqje", 0.0}, {"qtbzje", 0.0}, {"bqje", 10.0}});
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        test::loadProductionFixture(s());
    }

    // 120 + 1000 − 80 → 1040 on the row chosen; the row of the same
    // material, team and serial on another date stays.
    void shiftBalanceByRow()
    {
        const qint64 chosen = shiftRow("2026-12-09", 1);
        const qint64 other = shiftRow("2026-12-08", 1);
        ShiftBalances b(s());
        QCOMPARE(int(b.rows(QStringLiteral("01"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09")).size()), 1);
        QCOMPARE(b.enter(chosen, 1000, 120, 80), 1040.0);
        const auto r = b.row(chosen);
        QCOMPARE(r->number(QStringLiteral("sjxh")), 1040.0);
        QCOMPARE(r->number(QStringLiteral("sjsl")), 1000.0);
        QCOMPARE(r->number(QStringLiteral("scjc")), 120.0);
        QCOMPARE(r->number(QStringLiteral("sjjc")), 80.0);
        QCOMPARE(b.row(other)->number(QStringLiteral("sjxh")), 0.0);
        QCOMPARE(b.row(other)->number(QStringLiteral("sjsl")), 0.0);
        QVERIFY_THROWS_EXCEPTION(DomainError, b.enter(chosen, -1, 0, 0));
        QVERIFY_THROWS_EXCEPTION(DomainError, b.enter(chosen + other + 99, 1, 0, 0));
    }

    void lossRate_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("theoretical");
        QTest::addColumn<double>("production");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("mark");
        QTest::newRow("2.5 lost") << 41000.0 << 40000.0 << 40000.0 << "2.500" << "亏";
        QTest::newRow("2.5 gained") << 39000.0 << 40000.0 << 40000.0 << "-2.500" << "赢";
        QTest::newRow("even") << 40000.0 << 40000.0 << 40000.0 << "0.000" << "平";
        QTest::newRow("four digits first") << 41234.56 << 40000.0 << 10000.0 << "12.350" << "亏";
        QTest::newRow("no production") << 41000.0 << 40000.0 << 0.0 << "0" << "平";
    }
    void lossRate()
    {
        QFETCH(double, actual);
        QFETCH(double, theoretical);
        QFETCH(double, production);
        QFETCH(QString, rate);
        QFETCH(QString, mark);
        TeamCostFigures f;
        f.actualKg = actual;
        f.theoreticalKg = theoretical;
        f.productionKg = production;
        QCOMPARE(f.lossRateText(), rate);
        QCOMPARE(f.lossMark(), mark);
    }

    // The figures come from the team's lines, by code or by name, and its
    // shift rows; sundry returns count for packaging only.
    void teamFigures()
    {
        s().insert(QStringLiteral("scylxh"), {{"yldm", "m01"}, {"lrsl", 40000.0}, {"sjsl", 40000.0}, {"scjc", 2000.0},
                                              {"sjjc", 1500.0}, {"lrjc", 500.0}, {"bzdm", "01"}, {"rq_1", "2026-12-05"}});
        s().insert(QStringLiteral("scylxh"), {{"yldm", "m01"}, {"lrsl", 9999.0}, {"sjsl", 9999.0}, {"scjc", 0.0},
                                              {"sjjc", 0.0}, {"lrjc", 0.0}, {"bzdm", "02"}, {"rq_1", "2026-12-05"}});
        line("01", 30000, "", 40);
        line("一班", 10000);
        line("01", 5000, "杂料回机", 20);
        line("02", 7000);
        TeamCosts c(s(), m_clock);
        const TeamCostFigures f = c.figures(TeamForms{QStringLiteral("01"), QStringLiteral("一班")}, QStringLiteral("2026-12-01"),
                                            QStringLiteral("2026-12-31"));
        QCOMPARE(f.productionKg, 40000.0);
        QCOMPARE(f.actualKg, 41000.0);
        QCOMPARE(f.theoreticalKg, 40000.0);
        QCOMPARE(f.packagingAmount, 90.0); // bags 40 + 20, labels 3 × 10
        QCOMPARE(f.packagingPerTonne(), 90.0 / 40);
        QCOMPARE(f.lossRateText(), QStringLiteral("2.500"));
        QCOMPARE(c.headCount(QStringLiteral("01")), 2);

        TeamCostEntry e{QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"), 3000, 120.5, 30, 0, 10.004};
        const qint64 id = c.save(e);
        const auto row = s().row(QStringLiteral("SELECT * FROM {sccbk} WHERE id = ?"), {id});
        QCOMPARE(row->number(QStringLiteral("scsl")), 40.0);
        QCOMPARE(row->number(QStringLiteral("sjcb")), 41.0);
        QCOMPARE(row->number(QStringLiteral("lrxh")), 40.0);
        QCOMPARE(row->number(QStringLiteral("scxhl")), 2.5);
        QCOMPARE(row->number(QStringLiteral("qt")), 10.0);
        QCOMPARE(row->integer(QStringLiteral("scry_num")), qint64(2));
        QCOMPARE(row->text(QStringLiteral("bzmc")), QStringLiteral("一班"));
        QCOMPARE(row->text(QStringLiteral("rq_1")), QStringLiteral("2026-12-10"));
        QCOMPARE(int(c.stored(QStringLiteral("01"), QStringLiteral("2026-12-10"), QStringLiteral("2026-12-10")).size()), 1);

        // Without consumption every figure shows 0.
        const TeamCostFigures none = c.figures(TeamForms{QStringLiteral("01"), QStringLiteral("一班")},
                                               QStringLiteral("2027-01-01"), QStringLiteral("2027-01-31"));
        QVERIFY(!none.hasConsumption());
        QCOMPARE(none.productionTonnes(), 0.0);
    }

    void sundryReturnsAccumulate()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"pfhm", "1401"}, {"cpbz", "1"}});
        SundryReturns r(s(), m_clock);
        QCOMPARE(r.productNames(), QStringList{QStringLiteral("猪全价料40")});
        const auto p = r.productByName(QStringLiteral("猪全价料40"));
        QCOMPARE(p->formula, QStringLiteral("1401"));
        const qint64 first = r.book(QStringLiteral("01"), QDate(2026, 12, 1), p->code, 300);
        QCOMPARE(r.book(QStringLiteral("02"), QDate(2026, 12, 9), QStringLiteral("P401"), 200), first);
        const Rows all = r.all();
        QCOMPARE(int(all.size()), 1);
        QCOMPARE(all[0].number(QStringLiteral("scsl")), 500.0);
        QCOMPARE(all[0].text(QStringLiteral("scbz")), QStringLiteral("01"));
        QCOMPARE(all[0].text(QStringLiteral("scrq_1")), QStringLiteral("2026-12-01"));
        QCOMPARE(all[0].text(QStringLiteral("pfhm")), QStringLiteral("1401"));
        QVERIFY_THROWS_EXCEPTION(DomainError, r.book(QStringLiteral("09"), QDate(2026, 12, 1), p->code, 1));
        QVERIFY_THROWS_EXCEPTION(DomainError, r.book(QStringLiteral("01"), QDate(2026, 12, 1), p->code, 0));
    }

    void monthKeys_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("key"); // or the message
        QTest::newRow("2025 03") << "2025" << "03" << "202503";
        QTest::newRow("month typed as 3") << "2025" << "3" << "202503";
        QTest::newRow("no year") << "" << "03" << "请选择年份!";
        QTest::newRow("no month") << "2025" << " " << "请选择月份!";
        QTest::newRow("two-digit year") << "25" << "03" << "请输入正确的数字！";
        QTest::newRow("month 13") << "2025" << "13" << "请输入正确的数字！";
    }
    void monthKeys()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, key);
        QString got;
        try {
            got = Overheads::monthKey(year, month);
        } catch (const DomainError &e) {
            got = e.message();
        }
        QCOMPARE(got, key);
    }

    void overheadsOverwriteKeepsCreation()
    {
        Overheads o(s(), m_clock);
        QVERIFY(o.years().contains(QStringLiteral("2026")));
        QVERIFY(o.years().contains(QStringLiteral("2016")));
        qint64 id = 0;
        QVERIFY(o.save(QStringLiteral("202511"), {1000, 200, 50, 5}, QStringLiteral("admin"), false, &id));
        const QString created = value(QStringLiteral("SELECT rq_0 FROM {zzfy}")).toString();
        m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(8, 0)));
        qint64 again = 0;
        QVERIFY(!o.save(QStringLiteral("202511"), {9, 9, 9, 9}, QStringLiteral("op2"), false, &again));
        QCOMPARE(again, id);
        QCOMPARE(value(QStringLiteral("SELECT gz FROM {zzfy}")).toDouble(), 1000.0);
        QVERIFY(o.save(QStringLiteral("202511"), {1100, 210, 55, 6}, QStringLiteral("op2"), true, &again));
        const auto r = o.find(QStringLiteral("202511"));
        QCOMPARE(r->number(QStringLiteral("gz")), 1100.0);
        QCOMPARE(r->number(QStringLiteral("qf")), 55.0);
        QCOMPARE(r->text(QStringLiteral("rydm")), QStringLiteral("op2"));
        QCOMPARE(value(QStringLiteral("SELECT rq_0 FROM {zzfy}")).toString(), created);
        QCOMPARE(Overheads::overwriteQuestion(QStringLiteral("202511")), QStringLiteral("2025年11月的数据已经存在，是否覆盖!"));
        QVERIFY(o.remove(id));
        QCOMPARE(int(o.all().size()), 0);
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    }
};

QTEST_GUILESS_MAIN(TestSideInputs)
#include "tst_sideinputs.moc"
