// The change log of production, formulation and the production registers:
// each correction, deletion or rate change leaves one row with what moved,
// in the transaction of the change; a failed write leaves neither.

#include "common/clock.h"
#include "formulation/factors.h"
#include "formulation/formulabook.h"
#include "formulation/materialfactors.h"
#include "formulation/standards.h"
#include "production/productcatalogue.h"
#include "production/productionparameters.h"
#include "production/productionwages.h"
#include "production/productledger.h"
#include "production/productpackaging.h"
#include "production/sideinputs.h"
#include "sales/turnovernumbers.h"
#include "staff/productionstaff.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>
#include <functional>

using fm::test::TestDb;

namespace {

const QStringList kTables{QStringLiteral("cplbgg"), QStringLiteral("pfzlk"),  QStringLiteral("velpfk"),
                          QStringLiteral("pfyyk"),  QStringLiteral("sccsk"),  QStringLiteral("ymps"),
                          QStringLiteral("bzzl"),   QStringLiteral("bzry"),   QStringLiteral("scgzmx"),
                          QStringLiteral("fphm"),   QStringLiteral("zzfy"),   QStringLiteral("scylxh"),
                          QStringLiteral("cpb"),    QStringLiteral("yybzk"),  QStringLiteral("ylpzk"),
                          QStringLiteral("velcpk"), QStringLiteral("bzbqk"),  QStringLiteral("czrz")};

} // namespace

class TestProductionChangeLog : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    fm::FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    QHash<QString, qint64> m_ids; // the fixture's rows by table

    fm::Session &s() { return m_db->session(); }
    qint64 id(const char *table) const { return m_ids.value(QString::fromLatin1(table)); }

    void add(const char *table, const fm::Fields &f) { m_ids.insert(QString::fromLatin1(table), s().insert(QString::fromLatin1(table), f)); }

    // One row of each register and production table a case touches.
    void load()
    {
        m_db->reset();
        m_ids.clear();
        s().setActor({QStringLiteral("61"), QStringLiteral("ws-1"), &m_clock});
        add("cplbgg", {{"lbmc", "浓缩料"}, {"cpbz", "0"}, {"cpgg", "40,20"}});
        add("pfzlk", {{"pfhm", "P01"}, {"pfmc", "猪料"}, {"pfbz", "生长猪"}, {"pfcb", 2.4}});
        for (const char *day : {"2026-12-02", "2026-12-03"})
            s().insert(QStringLiteral("velpfk"), {{"pfhm", "P01"}, {"pfmc", "猪料"}, {"yldm", "m1"}, {"ylsl", 50.0}, {"rq_1", day}});
        s().insert(QStringLiteral("pfyyk"), {{"pfhm", "P01"}, {"ysdm", "s0"}, {"result", 1.0}, {"rq_1", "2026-12-03"}});
        add("sccsk", {{"cpbz", "0"}, {"lbmc", "浓缩料"}, {"cpgg", "40"}, {"sm", " "}, {"klmc", " "}, {"gzbz", 10.0}});
        add("ymps", {{"ypmc", "颗粒一"}, {"bz_1", "1"}, {"klbz", "1"}, {"klmc", "小颗粒"}, {"sm", "2.0mm"}});
        add("bzzl", {{"bzdm", "01"}, {"bzmc", "甲班"}});
        s().insert(QStringLiteral("bzzl"), {{"bzdm", "02"}, {"bzmc", "乙班"}});
        add("bzry", {{"rydm", "0101"}, {"rymc", "张三"}, {"bzdm", "01"}, {"rq", "2026-12-01"}});
        add("scgzmx", {{"rydm", "0101"}, {"rymc", "张三"}, {"bzdm", "01"}, {"scgz", 100.0}, {"jsbt", 30.0},
                       {"ysgz", 130.0}, {"sjgz", 130.0}});
        add("fphm", {{"zzhm", "123"}, {"rec_num", 7}});
        add("zzfy", {{"rq_1", "202612"}, {"gz", 900.0}, {"df", 200.0}, {"qf", 300.0}, {"qt", 400.0}});
        add("scylxh", {{"yldm", "m1"}, {"bzdm", "01"}, {"rq_1", "2026-12-05"}, {"sjsl", 900.0}, {"scjc", 50.0},
                       {"sjjc", 30.0}, {"sjxh", 920.0}});
        add("cpb", {{"cpdm", "c01"}, {"cpmc", "猪料成品"}, {"gg", "40"}, {"sm", " "}});
        add("yybzk", {{"xqdm", "z1"}, {"xqmc", "仔猪"}, {fm::factorCode(0), 20.0}});
        add("ylpzk", {{"yldm", "m1"}, {"ylmc", "玉米"}});
        add("velcpk", {{"cpdm", "p01"}, {"cpmc", "猪料"}, {"cpgg", "40"}, {"scsl", 4000.0}, {"scrq_1", "2026-12-05"},
                       {"cpbz", "0"}, {"txm", "6900000000017"}, {"bqdm", "b01"}, {"bqmc", "合格证标签"}, {"bqjg", 0.05},
                       {"bqsl", 10}, {"bqje", 0.5}});
        add("bzbqk", {{"dm", "b01"}, {"mc", "合格证标签"}, {"price", 0.05}, {"sl", 1000}, {"zje", 50.0}, {"bz", "B"}});
    }

    struct Case {
        const char *name;
        std::function<void(TestProductionChangeLog &)> run;
        QString function, table, code, action, before, after;
    };

    std::vector<Case> cases() const
    {
        using T = TestProductionChangeLog;
        const QString s2 = fm::factorCode(2), s0 = fm::factorCode(0);
        return {
            {"category sizes", [](T &t) { fm::ProductCatalogue(t.s(), t.m_clock).replaceSpecifications(t.id("cplbgg"), "40,25"); },
             "产品品种管理", "cplbgg", "0", "修改", "lbmc=浓缩料; cpgg=40,20", "lbmc=浓缩料; cpgg=40,25"},
            {"category deleted", [](T &t) { fm::ProductCatalogue(t.s(), t.m_clock).deleteCategory("浓缩料"); },
             "产品品种管理", "cplbgg", "0", "删除", "lbmc=浓缩料; cpgg=40,20", ""},
            {"formula deleted",
             [](T &t) { fm::FormulaBook(t.s()).remove("p01", QDate(2026, 12, 1), QDate(2026, 12, 31)); },
             "配方显示", "pfzlk", "P01", "删除",
             "pfmc=猪料; 起始日期=2026-12-01; 截止日期=2026-12-31; velpfk行数=2; pfyyk行数=1; pfzlk=删除", ""},
            {"wage rate", [](T &t) { fm::ProductionParameters(t.s(), t.m_clock).editStandard(t.id("sccsk"), "gzbz", "12.5"); },
             "系统参数修改", "sccsk", "浓缩料", "修改", "cpgg=40; gzbz=10", "cpgg=40; gzbz=12.5"},
            {"wage standard deleted", [](T &t) { fm::ProductionParameters(t.s(), t.m_clock).deleteStandard(t.id("sccsk")); },
             "系统参数修改", "sccsk", "浓缩料", "删除", "cpgg=40; klmc= ; sm= ; gzbz=10", ""},
            {"pellet kind", [](T &t) { fm::ProductionParameters(t.s(), t.m_clock).editKind(t.id("ymps"), "sm", "2.5mm"); },
             "系统参数修改", "ymps", "颗粒一", "修改", "sm=2.0mm", "sm=2.5mm"},
            {"worker moved", [](T &t) { fm::ProductionStaff(t.s(), t.m_clock).changeWorker(t.id("bzry"), "张三丰", "02"); },
             "公司生产人员管理", "bzry", "0101", "修改", "rymc=张三; bzdm=01", "rymc=张三丰; bzdm=02"},
            {"worker removed", [](T &t) { fm::ProductionStaff(t.s(), t.m_clock).removeWorker(t.id("bzry")); },
             "公司生产人员管理", "bzry", "0101", "删除", "rymc=张三; bzdm=01; scgzmx行数=1", ""},
            {"team deleted", [](T &t) { fm::ProductionStaff(t.s(), t.m_clock).deleteTeam(t.id("bzzl")); },
             "公司生产人员管理", "bzzl", "01", "删除", "bzmc=甲班", ""},
            {"wages posted again",
             [](T &t) {
                 fm::WageAmounts a;
                 a.jsbt = 50;
                 fm::ProductionWages(t.s(), t.m_clock).post(t.id("scgzmx"), a);
             },
             "生产工人工资", "scgzmx", "0101", "修改", "bzdm=01; jsbt=30", "bzdm=01; jsbt=50"},
            {"wage sheet cleared", [](T &t) { fm::ProductionWages(t.s(), t.m_clock).clear("01"); },
             "生产工人工资", "scgzmx", "01", "修改", "行数=1; ysgz合计=130; sjgz合计=130", "行数=1; ysgz合计=0; sjgz合计=0"},
            {"turnover numbers", [](T &t) { fm::TurnoverNumbers(t.s()).initialise("500"); },
             "周转号初始化", "fphm", "", "修改", "zzhm=123", "zzhm=500"},
            {"overheads overwritten",
             [](T &t) { fm::Overheads(t.s(), t.m_clock).save("202612", {1000, 200, 300, 400}, "61", true, nullptr); },
             "制造费用输入", "zzfy", "202612", "修改", "gz=900", "gz=1000"},
            {"overheads removed", [](T &t) { fm::Overheads(t.s(), t.m_clock).remove(t.id("zzfy")); },
             "制造费用输入", "zzfy", "202612", "删除", "gz=900; df=200; qf=300; qt=400", ""},
            {"shift balance", [](T &t) { fm::ShiftBalances(t.s()).enter(t.id("scylxh"), 1000, 50, 40); },
             "生产结存数输入", "scylxh", "m1", "修改", "bzdm=01; rq_1=2026-12-05; sjsl=900; sjjc=30; sjxh=920",
             "bzdm=01; rq_1=2026-12-05; sjsl=1000; sjjc=40; sjxh=1010"},
            {"ledger product deleted", [](T &t) { fm::ProductLedger(t.s()).deleteProduct("C01"); },
             "产品入/出库管理", "cpb", "c01", "删除", "cpmc=猪料成品; gg=40; sm=", ""},
            {"nutrient standard",
             [](T &t) {
                 fm::FactorValues v{};
                 v[0] = 21;
                 fm::NutrientStandards(t.s(), t.m_clock).update(t.id("yybzk"), v);
             },
             "营养因素标准修改", "yybzk", "z1", "修改", s0 + "=20", s0 + "=21"},
            {"nutrient standard deleted", [](T &t) { fm::NutrientStandards(t.s(), t.m_clock).remove(t.id("yybzk")); },
             "营养因素标准修改", "yybzk", "z1", "删除", "xqmc=仔猪; " + s0 + "=20", ""},
            {"labels of a packed line",
             [](T &t) {
                 fm::PackagingEntry e;
                 e.kind = fm::PackagingKind::Labels;
                 e.labels = fm::PackagingPart{"b01", "合格证标签", QString(), 0.05, 50};
                 fm::ProductPackaging(t.s()).pack(t.id("velcpk"), e);
             },
             "产品包装", "velcpk", "p01", "修改", "scrq_1=2026-12-05; bqsl=10; bqje=0.5", "scrq_1=2026-12-05; bqsl=50; bqje=2.5"},
            {"material factors",
             [](T &t) {
                 fm::FactorValues v{};
                 v[2] = 1.5;
                 fm::MaterialFactorEditor(t.s()).save(t.id("ylpzk"), v);
             },
             "原料因素修改", "ylpzk", "m1", "修改", s2 + "=0", s2 + "=1.5"},
        };
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }

    void eachKindLeavesOneRow_data()
    {
        QTest::addColumn<int>("index");
        int i = 0;
        for (const Case &c : cases()) QTest::newRow(c.name) << i++;
    }

    void eachKindLeavesOneRow()
    {
        QFETCH(int, index);
        const Case c = cases().at(size_t(index));
        load();
        c.run(*this);
        const fm::Rows log = s().rows(QStringLiteral("SELECT * FROM {czrz} ORDER BY id"));
        QCOMPARE(log.size(), size_t(1));
        const fm::Row &r = log.front();
        QCOMPARE(r.text(QStringLiteral("gnmc")), c.function);
        QCOMPARE(r.text(QStringLiteral("bm")), c.table);
        QCOMPARE(r.text(QStringLiteral("dm")), c.code);
        QCOMPARE(r.text(QStringLiteral("czlx")), c.action);
        QCOMPARE(r.value(QStringLiteral("jz")).toString(), c.before);
        QCOMPARE(r.value(QStringLiteral("xz")).toString(), c.after);
        QCOMPARE(r.text(QStringLiteral("czydm")), QStringLiteral("61"));

        // A failure of any write, the log's own included, leaves neither
        // the change nor its record.
        QVERIFY(fm::test::checkEachWriteFailing(s(), kTables, [&] { load(); }, [&] { c.run(*this); }) >= 2);
    }

    // First entries are not corrections: a shift's balances entered and a
    // wage row's amounts posted for the first time leave no record.
    void firstEntriesAreNotLogged()
    {
        load();
        const qint64 fresh = s().insert(QStringLiteral("scylxh"), {{"yldm", "m2"}, {"bzdm", "01"}, {"rq_1", "2026-12-06"}});
        fm::ShiftBalances(s()).enter(fresh, 500, 0, 20);
        const qint64 wage = s().insert(QStringLiteral("scgzmx"), {{"rydm", "0102"}, {"rymc", "李四"}, {"bzdm", "01"}, {"scgz", 80.0}});
        fm::WageAmounts a;
        a.jsbt = 20;
        fm::ProductionWages(s(), m_clock).post(wage, a);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {czrz}")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProductionChangeLog)
#include "tst_productionchangelog.moc"
