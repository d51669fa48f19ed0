#include "common/clock.h"
#include "common/dates.h"
#include "data/session.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "staff/companystaff.h"
#include "staff/productionstaff.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

namespace {

const QString kUsed = QStringLiteral("该代码已经使用，请重新输入代码。");
const QString kLength = QStringLiteral("代码必须满5位.");

int count(Session &s, const QString &table, const QString &where = QString(), const Values &values = {})
{
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM {%1} %2").arg(table, where), values).toInt();
}

QString refusal(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const DomainError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestStaff : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    // --- company staff -----------------------------------------------------

    void operatorCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QString>("stored");
        QTest::newRow("four") << "1234" << kLength << "";
        QTest::newRow("six") << "123456" << kLength << "";
        QTest::newRow("blanks around five") << " 12345 " << "" << "12345";
        QTest::newRow("four with blanks") << " 1234 " << kLength << "";
        QTest::newRow("used, other case") << "ABCDE" << kUsed << "";
        QTest::newRow("used, blanks") << " abcde" << kUsed << "";
        QTest::newRow("quote kept") << "a'b;c" << "" << "a'b;c";
    }
    void operatorCodes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        CompanyStaff staff(s());
        const qint64 existing = staff.takeOn(QStringLiteral("李四"), QStringLiteral("财务科"),
                                             QStringLiteral("abcde"), QStringLiteral("pw"));
        const qint64 other = staff.takeOn(QStringLiteral("王五"), QStringLiteral("销售科"),
                                          QStringLiteral("zzzzz"), QStringLiteral("pw"));

        // Taking on.
        QCOMPARE(refusal([&] { staff.takeOn(QStringLiteral("张三"), QStringLiteral("生产科"), typed, QStringLiteral("pw")); }),
                 message);
        if (message.isEmpty())
            QCOMPARE(count(s(), "zxauth1", "WHERE authid = ? AND authmc = ?", {stored, QStringLiteral("张三")}), 1);
        else
            QCOMPARE(count(s(), "zxauth1"), 2);

        // Re-coding another operator follows the same rules and writes nothing when refused.
        if (!message.isEmpty()) {
            QCOMPARE(refusal([&] { staff.change(other, QStringLiteral("经理室"), typed); }), message);
            QCOMPARE(Operators(s()).byId(other)->code, QStringLiteral("zzzzz"));
            QCOMPARE(Operators(s()).byId(other)->dept, QStringLiteral("销售科"));
        }
        // An operator may keep its own code, in any letter case.
        staff.change(existing, QStringLiteral("经理室"), QStringLiteral(" ABCDE "));
        QCOMPARE(Operators(s()).byId(existing)->code, QStringLiteral("ABCDE"));
        QCOMPARE(Operators(s()).byId(existing)->dept, QStringLiteral("经理室"));
    }

    void newOperatorLogsInButReachesNothing()
    {
        CompanyStaff staff(s());
        const qint64 id = staff.takeOn(QStringLiteral(" 张三 "), QStringLiteral("销售科"), QStringLiteral("zs001"),
                                       QStringLiteral("Abc12"));
        const auto row = s().first(QStringLiteral("SELECT authmc, deptment, password, author FROM {zxauth1} WHERE id = ?"), {id});
        QCOMPARE(row->value(0).toString(), QStringLiteral("张三"));
        QCOMPARE(row->value(1).toString(), QStringLiteral("销售科"));
        QVERIFY(row->value(2).toString() != QStringLiteral("Abc12")); // never the plain password
        QCOMPARE(row->value(3).toString(), QString(68, QLatin1Char('0')));

        QVERIFY(!Operators(s()).login(QStringLiteral("zs001"), QStringLiteral("wrong")));
        const auto op = Operators(s()).login(QStringLiteral("ZS001"), QStringLiteral("abc12"));
        QVERIFY(op);
        QCOMPARE(op->id, id);
        QVERIFY(reachableFunctions(menuEnabled(op->rights, false)).empty());

        // An empty password is refused, as on a password change.
        QCOMPARE(refusal([&] { staff.takeOn(QStringLiteral("李四"), QStringLiteral("销售科"), QStringLiteral("ls001"), QStringLiteral("  ")); }),
                 QStringLiteral("密码必须是1到6个字符！"));
        QCOMPARE(count(s(), "zxauth1"), 1);
    }

    void removingDeletesOnlyThatOperator()
    {
        CompanyStaff staff(s(), QStringLiteral("ADMIN"));
        const qint64 admin = staff.takeOn(QStringLiteral("管理员"), QStringLiteral("经理室"), QStringLiteral("admin"), QStringLiteral("a"));
        // Two operators of the same name: the chosen row goes, the other stays.
        const qint64 first = staff.takeOn(QStringLiteral("张三"), QStringLiteral("销售科"), QStringLiteral("zs001"), QStringLiteral("a"));
        const qint64 second = staff.takeOn(QStringLiteral("张三"), QStringLiteral("财务科"), QStringLiteral("zs002"), QStringLiteral("a"));
        s().insert(QStringLiteral("sale1"), {{"khdm", "1100001"}, {"czydm", "zs002"}, {"rq_1", "2026-12-10"}});

        staff.remove(second);
        QVERIFY(Operators(s()).byId(first));
        QVERIFY(!Operators(s()).byId(second));
        QCOMPARE(count(s(), "sale1", "WHERE czydm = ?", {QStringLiteral("zs002")}), 1);
        QCOMPARE(refusal([&] { staff.remove(second); }), QStringLiteral("查无此人，请重新输入！"));

        // The operator at this workstation is neither removed nor re-coded; its department may change.
        QCOMPARE(refusal([&] { staff.remove(admin); }), QStringLiteral("不能调出正在使用系统的操作员！"));
        QCOMPARE(refusal([&] { staff.change(admin, QStringLiteral("财务科"), QStringLiteral("adm02")); }),
                 QStringLiteral("不能修改正在使用系统的操作员的代码！"));
        staff.change(admin, QStringLiteral("财务科"), QStringLiteral("admin"));
        QCOMPARE(Operators(s()).byId(admin)->dept, QStringLiteral("财务科"));
        QCOMPARE(count(s(), "zxauth1"), 2);
    }

    void departmentQuery()
    {
        CompanyStaff staff(s());
        staff.takeOn(QStringLiteral("甲"), QStringLiteral("销售科"), QStringLiteral("a0001"), QStringLiteral("a"));
        staff.takeOn(QStringLiteral("乙"), QStringLiteral("财务科"), QStringLiteral("a0002"), QStringLiteral("a"));
        staff.takeOn(QStringLiteral("丙"), QStringLiteral("销售科"), QStringLiteral("a0003"), QStringLiteral("a"));
        QCOMPARE(staff.usedDepartments().size(), 2);
        const std::vector<Operator> sales = staff.ofDepartment(QStringLiteral("销售科"));
        QCOMPARE(int(sales.size()), 2);
        QCOMPARE(sales[1].code, QStringLiteral("a0003"));
    }

    // --- production staff --------------------------------------------------

    void addingAWorkerCreatesAZeroWageRow()
    {
        ProductionStaff staff(s(), m_clock);
        QVERIFY(!staff.hasTeams());
        QCOMPARE(refusal([&] { staff.addWorker(QStringLiteral("10001"), QStringLiteral("陈"), QStringLiteral("01")); }),
                 QStringLiteral("班组代码有错!"));
        staff.addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        const auto team = s().first(QStringLiteral("SELECT msdm, msmc, scpc, rq_1 FROM {bzzl}"));
        QCOMPARE(team->value(0).toString(), QStringLiteral(" "));
        QCOMPARE(team->value(1).toString(), QStringLiteral(" "));
        QCOMPARE(team->value(2).toInt(), 0);
        QCOMPARE(readDateTime(team->value(3)), m_clock.now());

        staff.addWorker(QStringLiteral(" w001 "), QStringLiteral(" 陈师傅 "), QStringLiteral("01"));
        const auto w = staff.findWorker(QStringLiteral("W001"));
        QVERIFY(w);
        QCOMPARE(w->code, QStringLiteral("w001"));
        QCOMPARE(w->name, QStringLiteral("陈师傅"));
        QCOMPARE(w->team, QStringLiteral("01"));
        QCOMPARE(w->date, QStringLiteral("2026-12-10"));

        QSqlQuery q = s().exec(QStringLiteral("SELECT rydm, rymc, bzdm, scgz, jsbt, dbf, gwbt, wsf, fsbt, jgf, qtys, "
                                              "ysgz, fk, qt, sjgz, rq_1, rq_0 FROM {scgzmx}"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("w001"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("陈师傅"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("01"));
        for (int i = 3; i <= 14; ++i) {
            QVERIFY(!q.value(i).isNull());
            QCOMPARE(q.value(i).toDouble(), 0.0);
        }
        QCOMPARE(q.value(15).toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(readDateTime(q.value(16)), m_clock.now());
        QVERIFY(!q.next());

        // A second worker with the same code (any case) or without a name writes nothing.
        QVERIFY(!refusal([&] { staff.addWorker(QStringLiteral("W001"), QStringLiteral("周"), QStringLiteral("01")); }).isEmpty());
        QCOMPARE(refusal([&] { staff.addWorker(QStringLiteral("w002"), QStringLiteral(" "), QStringLiteral("01")); }),
                 QStringLiteral("名称不能为空!"));
        QCOMPARE(count(s(), "bzry"), 1);
        QCOMPARE(count(s(), "scgzmx"), 1);
    }

    void teamCodesAreUnique()
    {
        ProductionStaff staff(s(), m_clock);
        staff.addTeam(QStringLiteral("a1"), QStringLiteral("一班"));
        for (const char *typed : {"a1", "A1", " A1 "})
            QCOMPARE(refusal([&] { staff.addTeam(QString::fromLatin1(typed), QStringLiteral("二班")); }),
                     QStringLiteral("该代码已使用，重新输入!"));
        QCOMPARE(count(s(), "bzzl"), 1);
    }

    void theTwoWorkerDeletionsDiffer()
    {
        ProductionStaff staff(s(), m_clock);
        staff.addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        staff.addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));
        staff.addWorker(QStringLiteral("w002"), QStringLiteral("乙"), QStringLiteral("01"));
        staff.addWorker(QStringLiteral("w003"), QStringLiteral("丙"), QStringLiteral("01"));

        // Through the worker manager: worker and wage row go, together.
        staff.removeWorker(staff.findWorker(QStringLiteral("W001"))->id);
        QVERIFY(!staff.findWorker(QStringLiteral("w001")));
        QCOMPARE(count(s(), "scgzmx", "WHERE rydm = ?", {QStringLiteral("w001")}), 0);

        // Through the worker editor: the wage row stays.
        staff.deleteWorkerKeepingWages(staff.findWorker(QStringLiteral("w002"))->id);
        QVERIFY(!staff.findWorker(QStringLiteral("w002")));
        QCOMPARE(count(s(), "scgzmx", "WHERE rydm = ?", {QStringLiteral("w002")}), 1);

        QVERIFY(staff.findWorker(QStringLiteral("w003")));
        QCOMPARE(count(s(), "scgzmx"), 2);
    }

    void aMovedWorkerTakesItsWageRow()
    {
        ProductionStaff staff(s(), m_clock);
        staff.addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        staff.addTeam(QStringLiteral("02"), QStringLiteral("二班"));
        staff.addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));
        staff.addWorker(QStringLiteral("w002"), QStringLiteral("乙"), QStringLiteral("01"));
        m_clock.set(QDateTime(QDate(2026, 12, 12), QTime(8, 0)));

        staff.changeWorker(staff.findWorker(QStringLiteral("w001"))->id, QStringLiteral("甲二"), QStringLiteral("02"));
        const auto w = staff.findWorker(QStringLiteral("w001"));
        QCOMPARE(w->name, QStringLiteral("甲二"));
        QCOMPARE(w->team, QStringLiteral("02"));
        QCOMPARE(w->date, QStringLiteral("2026-12-12"));
        QCOMPARE(count(s(), "scgzmx", "WHERE rydm = ? AND bzdm = ? AND rymc = ?",
                       {QStringLiteral("w001"), QStringLiteral("02"), QStringLiteral("甲二")}),
                 1);
        QCOMPARE(count(s(), "scgzmx", "WHERE bzdm = ?", {QStringLiteral("01")}), 1);
    }

    // A worker and its wage row are written, moved and removed together
    // (the move and the removal with their change-log row).
    void eachWriteFailingLeavesNothing()
    {
        const QStringList tables{"bzry", "scgzmx", "bzzl", "czrz"};
        ProductionStaff staff(s(), m_clock);
        auto teams = [&] {
            m_db->reset();
            staff.addTeam(QStringLiteral("01"), QStringLiteral("一班"));
            staff.addTeam(QStringLiteral("02"), QStringLiteral("二班"));
        };
        auto withWorker = [&] {
            teams();
            staff.addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));
        };
        auto worker = [&] { return staff.findWorker(QStringLiteral("w001"))->id; };
        QCOMPARE(fm::test::checkEachWriteFailing(s(), tables, teams,
                                                 [&] { staff.addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01")); }),
                 2);
        QCOMPARE(fm::test::checkEachWriteFailing(s(), tables, withWorker,
                                                 [&] { staff.changeWorker(worker(), QStringLiteral("甲二"), QStringLiteral("02")); }),
                 3); // worker moved
        QCOMPARE(fm::test::checkEachWriteFailing(s(), tables, withWorker, [&] { staff.removeWorker(worker()); }), 3);
    }

    void aDeletedTeamLeavesItsWorkers()
    {
        ProductionStaff staff(s(), m_clock);
        const qint64 team = staff.addTeam(QStringLiteral("01"), QStringLiteral("一班"));
        staff.addTeam(QStringLiteral("02"), QStringLiteral("二班"));
        staff.addWorker(QStringLiteral("w001"), QStringLiteral("甲"), QStringLiteral("01"));

        staff.deleteTeam(team);
        QVERIFY(!staff.findTeam(QStringLiteral("01")));
        const auto w = staff.findWorker(QStringLiteral("w001"));
        QCOMPARE(w->team, QStringLiteral("01"));

        // Changing the worker needs an existing team; a refusal writes nothing.
        for (const char *bad : {"01", "", "03"})
            QCOMPARE(refusal([&] { staff.changeWorker(w->id, QStringLiteral("新名"), QString::fromLatin1(bad)); }),
                     QStringLiteral("班组代码有错!"));
        QCOMPARE(staff.findWorker(QStringLiteral("w001"))->name, QStringLiteral("甲"));
        QCOMPARE(count(s(), "scgzmx", "WHERE bzdm = ?", {QStringLiteral("01")}), 1);

        staff.changeWorker(w->id, QStringLiteral("甲"), QStringLiteral("02"));
        QCOMPARE(staff.findWorker(QStringLiteral("w001"))->team, QStringLiteral("02"));
        QCOMPARE(count(s(), "scgzmx", "WHERE bzdm = ?", {QStringLiteral("02")}), 1);
    }
};

QTEST_GUILESS_MAIN(TestStaff)
#include "tst_staff.moc"
