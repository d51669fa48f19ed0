// Production parameters and wages: kind numbering, standards and their
// deletion, the team wage of a period, the wage sheet's shares and amounts;
// and the production queries on a small fixture.

#include "common/clock.h"
#include "data/session.h"
#include "production/productionparameters.h"
#include "production/productionqueries.h"
#include "production/productionwages.h"
#include "productionfixture.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestProductionWages : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }
    ProductionParameters params() { return ProductionParameters(s(), m_clock); }
    ProductionWages wages() { return ProductionWages(s(), m_clock); }

    qint64 line(const QString &team, double scsl, double psnum, const QString &txm = QString(), const char *date = "2026-12-05",
                const char *spec = "40")
    {
        return s().insert(QStringLiteral("velcpk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", spec}, {"scsl", scsl},
                                                     {"psnum", psnum}, {"scbz", team}, {"scrq_1", date}, {"txm", txm},
                                                     {"cpbz", "1"}, {"klbz", "0"}, {"scpc", 0}});
    }
    void standard(const char *spec, double wage, double other, const char *klbz = "0", const char *kind = "0")
    {
        s().insert(QStringLiteral("sccsk"), {{"cpbz", "1"}, {"cpgg", spec}, {"lbmc", "全价料"}, {"klbz", klbz}, {"bz_1", kind},
                                             {"gzbz", wage}, {"qtbz", other}});
    }
    void wageLine(const char *code, const char *team)
    {
        Fields f{{"rydm", code}, {"rymc", code}, {"bzdm", team}};
        for (const char *c : {"scgz", "jsbt", "gwbt", "wsf", "fsbt", "jgf", "qtys", "ysgz", "fk", "qt", "sjgz", "dbf"})
            f.emplace_back(QString::fromLatin1(c), 0.0);
        s().insert(QStringLiteral("scgzmx"), f);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        test::loadProductionFixture(s());
    }

    // ---- parameters ------------------------------------------------------------

    void kindNumbers()
    {
        ProductionParameters p = params();
        QCOMPARE(p.addKind(QStringLiteral("环模"), QStringLiteral("1"), QStringLiteral("大颗粒"), QStringLiteral("大于34mm")),
                 QStringLiteral("1"));
        QCOMPARE(value(QStringLiteral("SELECT rec_no FROM {ymps}")).toInt(), 0);
        QCOMPARE(p.addKind(QStringLiteral("环模"), QStringLiteral("2"), QStringLiteral("中颗粒"), QString()), QStringLiteral("1"));
        QCOMPARE(value(QStringLiteral("SELECT ypmc FROM {ymps} WHERE rec_no = 1")).toString(), QString());
        QCOMPARE(value(QStringLiteral("SELECT sm FROM {ymps} WHERE rec_no = 1")).toString(), QStringLiteral(" "));
        QCOMPARE(p.addKind(QStringLiteral("破碎"), QString(), QString(), QStringLiteral("2mm")), QStringLiteral("2"));
        QCOMPARE(p.addKind(QStringLiteral("平模"), QString(), QString(), QStringLiteral("3mm")), QStringLiteral("3"));
        // A gap is filled first.
        s().execute(QStringLiteral("DELETE FROM {ymps} WHERE bz_1 = '2'"));
        QCOMPARE(p.addKind(QStringLiteral("新模"), QString(), QString(), QStringLiteral("4mm")), QStringLiteral("2"));
        QCOMPARE(value(QStringLiteral("SELECT MAX(rec_no) FROM {ymps}")).toInt(), 4);
        QCOMPARE(p.sizesOfKind(QStringLiteral("1")).size(), 2);
        for (int i = 4; i <= 9; ++i) p.addKind(QStringLiteral("模%1").arg(i), QString(), QString(), QString());
        QVERIFY_THROWS_EXCEPTION(DomainError, p.addKind(QStringLiteral("第十种"), QString(), QString(), QString()));
        QCOMPARE(p.crumbleChoices().size(), size_t(10));
        QCOMPARE(p.pelletChoices().size(), size_t(3));
    }

    void standardsAndDeletion()
    {
        ProductionParameters p = params();
        p.addKind(QStringLiteral("环模"), QStringLiteral("1"), QStringLiteral("大颗粒"), QStringLiteral("大于34mm"));
        const qint64 a = p.addStandard({QStringLiteral("全价料"), QStringLiteral("40"), QStringLiteral("环模"), QStringLiteral("大于34mm"), 10, 2});
        auto r = s().row(QStringLiteral("SELECT * FROM {sccsk} WHERE id = ?"), {a});
        QCOMPARE(r->text(QStringLiteral("cpbz")), QStringLiteral("1"));
        QCOMPARE(r->text(QStringLiteral("klbz")), QStringLiteral("1"));
        QCOMPARE(r->text(QStringLiteral("bz_1")), QStringLiteral("1"));
        QCOMPARE(r->text(QStringLiteral("klmc")), QStringLiteral("大颗粒"));
        // Nothing chosen but the category: blanks.
        const qint64 b = p.addStandard({QStringLiteral("全价料"), QString(), QString(), QString(), 5, 0});
        r = s().row(QStringLiteral("SELECT * FROM {sccsk} WHERE id = ?"), {b});
        QCOMPARE(r->value(QStringLiteral("cpgg")).toString(), QStringLiteral(" "));
        QCOMPARE(r->value(QStringLiteral("klbz")).toString(), QStringLiteral(" "));
        p.addStandard({QStringLiteral("全价料"), QString(), QString(), QString(), 5, 0});
        p.addStandard({QStringLiteral("全价料"), QString(), QString(), QString(), 6, 0});
        QCOMPARE(ProductionParameters::deleteQuestion(*r), QStringLiteral("确认删除记录[全价料规格:  工资标准:5 说明: ]吗?"));
        QCOMPARE(p.deleteStandard(b), 2);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {sccsk}")).toInt(), 2);

        // Blending for 40 kg bags at 8 yuan; a standard of 0 is refused.
        const qint64 x = p.addReprocessingStandard(true, QStringLiteral("40"), 8);
        r = s().row(QStringLiteral("SELECT * FROM {sccsk} WHERE id = ?"), {x});
        QCOMPARE(r->text(QStringLiteral("cpbz")), QStringLiteral("x"));
        QCOMPARE(r->text(QStringLiteral("sm")), QStringLiteral("掺拌生产"));
        QCOMPARE(r->text(QStringLiteral("klbz")), QStringLiteral("B"));
        QCOMPARE(r->text(QStringLiteral("cpgg")), QStringLiteral("40"));
        QCOMPARE(r->number(QStringLiteral("gzbz")), 8.0);
        QCOMPARE(r->number(QStringLiteral("qtbz")), 0.0);
        try {
            p.addReprocessingStandard(false, QStringLiteral("40"), 0);
            QFAIL("stored");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("更换包装的工资标准不能为0!"));
        }
        p.editStandard(x, QStringLiteral("gzbz"), QStringLiteral("9.5"));
        QCOMPARE(value(QStringLiteral("SELECT gzbz FROM {sccsk} WHERE id = ?"), {x}).toDouble(), 9.5);
        QVERIFY_THROWS_EXCEPTION(DomainError, p.editStandard(x, QStringLiteral("gzbz"), QStringLiteral("abc")));
        QVERIFY_THROWS_EXCEPTION(DomainError, p.editStandard(x, QStringLiteral("lbmc"), QStringLiteral("x")));
    }

    // ---- wages -----------------------------------------------------------------

    // 2 t × (10 + 2) + 2 t × 5 = 34: the standard of the line's size and the
    // one for every size both count.
    void teamWage_data()
    {
        QTest::addColumn<double>("scsl");
        QTest::addColumn<double>("psnum");
        QTest::newRow("crumbled kilograms") << 1500.0 << 2000.0;
        QTest::newRow("produced kilograms when nothing crumbled") << 2000.0 << 0.0;
    }
    void teamWage()
    {
        QFETCH(double, scsl);
        QFETCH(double, psnum);
        standard("40", 10, 2);
        standard(" ", 5, 0);
        standard("20", 100, 0);                   // another size
        standard(" ", 100, 0, "1", "1");          // another pellet class
        line(QStringLiteral("01"), scsl, psnum);
        QCOMPARE(wages().teamWage(QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 34.0);
        // Sundry returns earn nothing; another team's lines are not this team's.
        line(QStringLiteral("01"), 5000, 0, QStringLiteral("杂料回机"));
        line(QStringLiteral("二班"), 1000, 0);
        QCOMPARE(wages().teamWage(QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 34.0);
        // A team is found by its code on lines written with its name.
        QCOMPARE(wages().teamWage(QStringLiteral("02"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 17.0);
        QCOMPARE(wages().teamWage(ProductionWages::kAllTeams, QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 51.0);
        QCOMPARE(wages().teamWage(QStringLiteral("01"), QStringLiteral("2026-12-06"), QStringLiteral("2026-12-31")), 0.0);
    }

    void sheet()
    {
        wageLine("10001", "01");
        wageLine("10002", "01");
        wageLine("10009", "01");
        wageLine("10003", "02");
        s().insert(QStringLiteral("sccbk"), {{"bzdm", "01"}, {"scgz", 2000.0}, {"rq_1", "2026-12-05"}});
        s().insert(QStringLiteral("sccbk"), {{"bzdm", "01"}, {"scgz", 1000.0}, {"rq_1", "2026-12-10"}});
        s().insert(QStringLiteral("sccbk"), {{"bzdm", "01"}, {"scgz", 7000.0}, {"rq_1", "2026-11-10"}});
        ProductionWages w = wages();
        const qint64 first = w.sheet(QStringLiteral("01")).front().id();
        WageAmounts a;
        a.jsbt = 100;
        a.fk = 50;
        w.post(first, a); // typed before the distribution
        QCOMPARE(w.distribute(QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 1000.0);
        const Rows rows = w.sheet(QStringLiteral("01"));
        QCOMPARE(int(rows.size()), 3);
        for (const Row &r : rows) QCOMPARE(r.number(QStringLiteral("scgz")), 1000.0);
        // The distribution keeps each line's wages equal to their definition.
        QCOMPARE(rows[0].number(QStringLiteral("ysgz")), 1100.0);
        QCOMPARE(rows[0].number(QStringLiteral("sjgz")), 1050.0);
        QCOMPARE(rows[1].number(QStringLiteral("sjgz")), 1000.0);
        QCOMPARE(w.sheet(QStringLiteral("02")).front().number(QStringLiteral("scgz")), 0.0);

        // A fine typed afterwards is in the wage paid at once.
        a.fk = 80;
        a.qt = 20;
        const Row r = w.post(first, a);
        QCOMPARE(r.number(QStringLiteral("ysgz")), 1100.0);
        QCOMPARE(r.number(QStringLiteral("sjgz")), 1000.0);
        a.qtys = -1e10;
        QVERIFY_THROWS_EXCEPTION(DomainError, w.post(first, a));

        // A team without wage lines: nothing changes, no division by zero.
        QCOMPARE(w.distribute(QStringLiteral("03"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")), 0.0);
        w.clear(QStringLiteral("01"));
        QCOMPARE(value(QStringLiteral("SELECT SUM(sjgz) FROM {scgzmx}")).toDouble(), 0.0);
        QCOMPARE(ProductionWages::summaryDocument(QStringLiteral("测试"), QStringLiteral("01 一班"), w.sheet(QStringLiteral("01")),
                                                  QDate(2026, 12, 10))
                     .toText()
                     .count(QStringLiteral("row:")),
                 3);
    }

    // ---- queries ---------------------------------------------------------------

    // 1000 kg at 2000 and 3000 kg at 2400 → 4000 kg at 2300; lines not
    // committed, out of the period or of materials without lines are left out.
    void materialUseSummary()
    {
        const auto scylk = [&](const char *code, double kg, double price, const char *date, const char *bz) {
            s().insert(QStringLiteral("scylk"), {{"yldm", code}, {"lrsl", kg}, {"yljg", price}, {"rq_1", date}, {"bz", bz}, {"bzdm", "01"}});
        };
        scylk("m01", 1000, 2000, "2026-12-01", "1");
        scylk("M01", 3000, 2400, "2026-12-09", "1");
        scylk("m01", 5000, 9999, "2026-12-09", "");
        scylk("m01", 5000, 9999, "2026-11-30", "1");
        scylk("m02", 100, 3000, "2026-12-02", "1");
        ProductionQueries q(s(), m_clock);
        const Rows rows = q.rebuildMaterialUse(QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"));
        QCOMPARE(int(rows.size()), 2);
        QCOMPARE(rows[0].number(QStringLiteral("ylsl")), 4000.0);
        QCOMPARE(rows[0].number(QStringLiteral("yljg")), 2300.0);
        QCOMPARE(rows[0].text(QStringLiteral("ylmc")), QStringLiteral("玉米"));
        QCOMPARE(rows[0].text(QStringLiteral("rq_0")), QStringLiteral("2026-12-31"));
        // Rebuilt whole: a second run does not add up.
        q.rebuildMaterialUse(QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"));
        double kg = 0;
        QCOMPARE(int(q.materialUseQuery(QStringLiteral("2026-12-01"), QStringLiteral("2026-12-01"), QString(), &kg).size()), 2);
        QCOMPARE(kg, 4100.0);
        QCOMPARE(int(q.materialUseQuery(QStringLiteral("2026-12-01"), QStringLiteral("2026-12-01"), QStringLiteral("豆粕"), &kg).size()), 1);
        QCOMPARE(kg, 100.0);
    }

    void workshopAndBarCode()
    {
        line(QStringLiteral("01"), 2000, 0);
        line(QStringLiteral("一班"), 1000, 0, QStringLiteral("掺拌生产"));
        line(QStringLiteral("01"), 500, 0, QStringLiteral("换包"));
        line(QStringLiteral("01"), 700, 0, QStringLiteral("杂料回机"));
        line(QStringLiteral("02"), 300, 0, QString(), "2026-12-20");
        ProductionQueries q(s(), m_clock);
        WorkshopTotals t;
        QCOMPARE(int(q.workshopLines(LineFilter::ByTeam, QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"), &t)
                         .size()),
                 4);
        QCOMPARE(t.productionTonnes, 3.5);
        QCOMPARE(t.blendingTonnes, 1.0);
        QCOMPARE(t.rebaggingTonnes, 0.5);
        q.workshopLines(LineFilter::ByDate, QString(), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"), &t);
        QCOMPARE(t.productionTonnes, 3.8);
        QCOMPARE(int(q.workshopLines(LineFilter::ByProduct, QStringLiteral("P401"), QStringLiteral("2026-12-20"),
                                     QStringLiteral("2026-12-20"))
                         .size()),
                 1);

        const qint64 id = line(QStringLiteral("01"), 1234, 0, QStringLiteral("2000000000999"));
        QVERIFY(!q.lineByBarCode(QStringLiteral("200000000099")));
        QCOMPARE(q.lineByBarCode(QStringLiteral("2000000000999"))->id(), id);
    }

    void returnsAndPrint()
    {
        const auto ret = [&](const char *name, double kg, double amount, const char *kind, const char *team, const char *date) {
            s().insert(QStringLiteral("cphj"), {{"cpdm1", "p401"}, {"cpmc1", QString::fromUtf8(name)}, {"cpgg1", "40"}, {"hjsl", kg},
                                                {"cpjg", 2000.0}, {"cpje", amount}, {"hjrq", date}, {"rymc", QString::fromUtf8(kind)},
                                                {"bzdm", team}});
        };
        ret("猪全价料40", 1000, 2000, "换包", "01", "2026-12-02");
        ret("猪全价料40", 300, 600, "杂料回机", "01", "2026-12-03");
        ret("猪全价料40", 200, 400, "掺拌生产", "02", "2026-12-04");
        ret("猪全价料40", 999, 999, "换包", "01", "2026-11-04");
        ProductionQueries q(s(), m_clock);
        double kg = 0;
        const Rows rows = q.returns(LineFilter::ByDate, QString(), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"), &kg);
        QCOMPARE(int(rows.size()), 3);
        QCOMPARE(kg, 1500.0);
        q.returns(LineFilter::ByTeam, QStringLiteral("01"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"), &kg);
        QCOMPARE(kg, 1300.0);
        const QString text = ProductionQueries::returnsDocument(QStringLiteral("测试饲料有限公司"), rows, QDate(2026, 12, 10),
                                                                QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31"))
                                 .toText();
        FM_COMPARE_GOLDEN(text, "production/golden/returns.txt");
    }
};

QTEST_GUILESS_MAIN(TestProductionWages)
#include "tst_productionwages.moc"
