// Formulation in core: the evaluation kernel and the share check, standards,
// saving a formula (replacing an existing number), the refreshes of saved
// formulas, deleting, the price list and the printed sheets.

#include "common/clock.h"
#include "data/session.h"
#include "formulation/formulabook.h"
#include "formulation/formulacalculation.h"
#include "formulation/formulakernel.h"
#include "formulation/formularefresh.h"
#include "formulation/formulasheets.h"
#include "formulation/materialfactors.h"
#include "formulation/standards.h"
#include "reports/reportexport.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QDir>
#include <QtTest>
#include <map>

using namespace fm;
using fm::test::TestDb;

namespace {

using Factors = std::map<int, double>;

FactorValues valuesOf(const Factors &f)
{
    FactorValues v{};
    for (const auto &[n, x] : f) v[size_t(n)] = x;
    return v;
}

} // namespace

class TestFormulation : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    FormulaCalculation calc() { return FormulaCalculation(s(), m_clock, QStringLiteral("op1")); }
    QVariant value(const QString &sql, const Values &values = {}) { return s().scalar(sql, values); }

    void addMaterial(const QString &code, const QString &name, const Factors &f, const QString &flag = QStringLiteral("1"))
    {
        Fields row{{"yldm", code}, {"ylmc", name}, {"descip", flag}};
        const FactorValues v = valuesOf(f);
        for (int n = 0; n < kFormulaFactors; ++n) row.push_back({factorCode(n), v[size_t(n)]});
        s().insert(QStringLiteral("ylpzk"), row);
    }
    void setPrice(const QString &code, double price)
    {
        s().execute(QStringLiteral("UPDATE {ylpzk} SET s0 = ? WHERE yldm = ?"), {price, code});
    }
    qint64 addStandard(const QString &code, const QString &name, const Factors &f)
    {
        return NutrientStandards(s(), m_clock).add(code, name, valuesOf(f));
    }
    // Composes and saves a formula of the materials (by name) and shares.
    double save(const QString &number, const QString &name, const QStringList &materials,
                const std::vector<double> &shares, const QString &standard = QStringLiteral("猪标准"),
                bool replace = false)
    {
        FormulaCalculation c = calc();
        FormulaComposition comp;
        comp.lines = c.linesFor(materials);
        c.price(comp.lines);
        for (size_t i = 0; i < shares.size(); ++i) comp.lines[i].share = shares[i];
        comp.standard = c.standard(standard);
        return c.save(comp, {number, name, replace});
    }
    double result(const QString &number, const QString &code, const char *column = "result")
    {
        return value(QStringLiteral("SELECT %1 FROM {pfyyk} WHERE pfhm = ? AND ysdm = ? ORDER BY id").arg(QLatin1String(column)),
                     {number, code})
            .toDouble();
    }
    int count(const QString &table, const QString &where = QString(), const Values &values = {})
    {
        return value(QStringLiteral("SELECT COUNT(*) FROM {%1}%2").arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                     values)
            .toInt();
    }
    // A formula's saved results, its lines' cost and its register row, as text.
    QString stateOf(const QString &number)
    {
        QStringList out;
        for (const Row &r : s().rows(QStringLiteral("SELECT ysdm, result, stand, comp FROM {pfyyk} WHERE pfhm = ? ORDER BY id"), {number}))
            out << r.text(QStringLiteral("ysdm")) + QLatin1Char('=') + r.value(QStringLiteral("result")).toString() + QLatin1Char('/')
                    + r.value(QStringLiteral("comp")).toString();
        for (const Row &r : s().rows(QStringLiteral("SELECT pfcb FROM {velpfk} WHERE pfhm = ? ORDER BY id"), {number}))
            out << r.value(QStringLiteral("pfcb")).toString();
        out << value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = ?"), {number}).toString();
        return out.join(QLatin1Char(' '));
    }
    void addProduct(const QString &code, const QString &pfhm)
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", code}, {"cpmc", code}, {"cpgg", "40"}, {"scsl", 0.0}, {"sccb", 0.0},
                                               {"pfhm", pfhm}, {"scbz", ""}, {"scrq_1", "2026-01-01"}, {"cpbz", "x"}});
    }
    double productCost(const QString &code)
    {
        return value(QStringLiteral("SELECT sccb FROM {velcpzk} WHERE cpdm = ?"), {code}).toDouble();
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    }

    // ---- the kernel and the share check -----------------------------------

    void kernelWorkedExamples_data()
    {
        QTest::addColumn<std::vector<double>>("shares");
        QTest::addColumn<std::vector<double>>("protein");
        QTest::addColumn<std::vector<double>>("prices");
        QTest::addColumn<double>("s2");
        QTest::addColumn<double>("s0");
        QTest::newRow("50/50") << std::vector<double>{50, 50} << std::vector<double>{44, 8.5} << std::vector<double>{3.2, 1.9}
                               << 26.25 << 2.55;
        QTest::newRow("60/40") << std::vector<double>{60, 40} << std::vector<double>{40, 10} << std::vector<double>{2.5, 1.8}
                               << 28.0 << 2.22;
        QTest::newRow("a value of 0 adds nothing") << std::vector<double>{70, 30} << std::vector<double>{0, 20}
                                                   << std::vector<double>{2, 0} << 6.0 << 1.4;
    }
    void kernelWorkedExamples()
    {
        QFETCH(std::vector<double>, shares);
        QFETCH(std::vector<double>, protein);
        QFETCH(std::vector<double>, prices);
        std::vector<FactorValues> m(shares.size());
        std::vector<KernelLine> lines;
        for (size_t i = 0; i < shares.size(); ++i) {
            m[i][2] = protein[i];
            m[i][0] = prices[i];
            lines.push_back({&m[i], shares[i]});
        }
        lines.push_back({nullptr, 12}); // a material missing from the register adds nothing
        const FactorValues v = evaluateFormula(lines);
        QFETCH(double, s2);
        QFETCH(double, s0);
        QVERIFY(qAbs(v[2] - s2) < 1e-12);
        QVERIFY(qAbs(v[0] - s0) < 1e-12);
        QCOMPARE(v[5], 0.0);
    }

    void shareCheck_data()
    {
        QTest::addColumn<std::vector<double>>("shares");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::newRow("33.3+33.3+33.4") << std::vector<double>{33.3, 33.3, 33.4} << QString();
        QTest::newRow("10.1x9+9.1") << std::vector<double>{10.1, 10.1, 10.1, 10.1, 10.1, 10.1, 10.1, 10.1, 10.1, 9.1} << QString();
        QTest::newRow("100.5") << std::vector<double>{50, 50.5} << QStringLiteral("配方比率100.5%错误，请检查！");
        QTest::newRow("99.99") << std::vector<double>{49.99, 50} << QStringLiteral("配方比率99.99%错误，请检查！");
        QTest::newRow("150 and -50") << std::vector<double>{150, -50} << QStringLiteral("配方比率-50%错误，请检查！");
        QTest::newRow("nothing") << std::vector<double>{} << QStringLiteral("配方比率0%错误，请检查！");
    }
    void shareCheck()
    {
        QFETCH(std::vector<double>, shares);
        QFETCH(QString, message);
        QString got;
        try {
            checkShares(shares);
        } catch (const DomainError &e) {
            got = e.message();
        }
        QCOMPARE(got, message);
    }

    // ---- standards ----------------------------------------------------------

    void standardCodesAreUniqueWithoutRegardToCase()
    {
        NutrientStandards st(s(), m_clock);
        const qint64 id = addStandard(QStringLiteral("AB"), QStringLiteral("猪标准"), {{2, 18}});
        QVERIFY_THROWS_EXCEPTION(DomainError, st.checkNewCode(QStringLiteral("ab")));
        try {
            st.add(QStringLiteral(" ab "), QStringLiteral("另一个"), {});
            QFAIL("a code in another letter case was taken");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("代码已存在，不能增加！"));
            QCOMPARE(e.code(), ErrorCode::Duplicate);
        }
        // Two standards of one name: the name means the first in code order.
        addStandard(QStringLiteral("AA"), QStringLiteral("猪标准"), {{2, 16}});
        QCOMPARE(st.findByName(QStringLiteral(" 猪标准 "))->code, QStringLiteral("AA"));
        FactorValues v{};
        v[2] = 20;
        st.update(id, v);
        QCOMPARE(st.byId(id)->values[2], 20.0);
        QVERIFY(st.remove(id));
        QVERIFY(!st.byId(id));
        QVERIFY_THROWS_EXCEPTION(DomainError, NutrientStandards::checkValue(QStringLiteral("1x")));
        QVERIFY_THROWS_EXCEPTION(DomainError, NutrientStandards::checkValue(QStringLiteral("-1")));
    }

    // ---- saving a formula ---------------------------------------------------

    void saveStoresTheKernelsFigures()
    {
        addMaterial(QStringLiteral("a1"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}, {7, 0.3}});
        addMaterial(QStringLiteral("a2"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}, {5, 3}});
        const double cost = save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {50, 50});
        QVERIFY(qAbs(cost - 2.55) < 1e-12);

        QCOMPARE(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'P1'")).toDouble(), cost);
        QCOMPARE(value(QStringLiteral("SELECT pfbz FROM {pfzlk} WHERE pfhm = 'P1'")).toString(), QStringLiteral("猪标准"));
        QCOMPARE(value(QStringLiteral("SELECT rydm FROM {pfzlk} WHERE pfhm = 'P1'")).toString(), QStringLiteral("op1"));
        QCOMPARE(count(QStringLiteral("velpfk")), 2);
        QCOMPARE(value(QStringLiteral("SELECT yljg FROM {velpfk} WHERE yldm = 'a1'")).toDouble(), 3.2);
        QCOMPARE(value(QStringLiteral("SELECT rq_1 FROM {velpfk} WHERE yldm = 'a1'")).toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(count(QStringLiteral("pfyyk")), kFormulaFactors);
        QCOMPARE(result(QStringLiteral("P1"), QStringLiteral("s2")), 26.25);
        QCOMPARE(result(QStringLiteral("P1"), QStringLiteral("s2"), "comp"), 6.25);
        // A factor the standard leaves at 0: comp is the result.
        QVERIFY(qAbs(result(QStringLiteral("P1"), QStringLiteral("s7"), "comp") - 0.15) < 1e-12);
        QCOMPARE(result(QStringLiteral("P1"), QStringLiteral("s5"), "comp"), -3.0);
        QCOMPARE(value(QStringLiteral("SELECT ylys FROM {pfyyk} WHERE ysdm = 's0'")).toString(), QStringLiteral("价格"));
    }

    void shownResultsLeaveOutZerosInTextOrder()
    {
        FormulaComposition c;
        c.result = FactorValues{};
        (*c.result)[0] = 2;
        (*c.result)[2] = 18;
        (*c.result)[10] = 12;
        NutrientStandard st;
        st.values[3] = 4;
        c.standard = st;
        QStringList order;
        for (const FactorResult &r : c.shownResults()) order << r.recNum;
        QCOMPARE(order, (QStringList{"0", "10", "2", "3"}));
    }

    void resaveReplacesItsLinesAndThatDaysResults()
    {
        addMaterial(QStringLiteral("a1"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}});
        addMaterial(QStringLiteral("a2"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addMaterial(QStringLiteral("a3"), QStringLiteral("麸皮"), {{0, 1.5}, {2, 15}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}});
        addStandard(QStringLiteral("B2"), QStringLiteral("鸡标准"), {{2, 18}});
        m_clock.set(QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
        save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {50, 50});
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {40, 60}, QStringLiteral("猪标准"), true);

        // Without agreeing to replace, the number is refused.
        try {
            save(QStringLiteral("p1"), QStringLiteral("新名"), {QStringLiteral("麸皮")}, {100});
            QFAIL("an existing number was saved over without asking");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("配方号码已存在，是否覆盖？"));
            QCOMPARE(e.code(), ErrorCode::Duplicate);
        }
        QVERIFY(calc().exists(QStringLiteral(" p1")));

        const double cost = save(QStringLiteral("p1"), QStringLiteral("新名"), {QStringLiteral("麸皮"), QStringLiteral("玉米")},
                                 {30, 70}, QStringLiteral("鸡标准"), true);
        QCOMPARE(count(QStringLiteral("pfzlk")), 1);
        QCOMPARE(value(QStringLiteral("SELECT pfmc FROM {pfzlk}")).toString(), QStringLiteral("猪料"));
        QCOMPARE(value(QStringLiteral("SELECT pfbz FROM {pfzlk}")).toString(), QStringLiteral("猪标准"));
        QCOMPARE(value(QStringLiteral("SELECT pfcb FROM {pfzlk}")).toDouble(), cost);
        // The lines are the new ones only, under the register's number.
        QCOMPARE(count(QStringLiteral("velpfk")), 2);
        QCOMPARE(count(QStringLiteral("velpfk"), QStringLiteral("pfhm = 'P1'")), 2);
        QCOMPARE(value(QStringLiteral("SELECT SUM(ylsl) FROM {velpfk}")).toDouble(), 100.0);
        // That day's results replaced, the earlier day's kept as history.
        QCOMPARE(count(QStringLiteral("pfyyk"), QStringLiteral("rq_1 = '2026-12-10'")), kFormulaFactors);
        QCOMPARE(count(QStringLiteral("pfyyk"), QStringLiteral("rq_1 = '2026-12-01'")), kFormulaFactors);
        QVERIFY(qAbs(value(QStringLiteral("SELECT result FROM {pfyyk} WHERE rq_1 = '2026-12-10' AND ysdm = 's2'")).toDouble()
                     - (0.3 * 15 + 0.7 * 8.5))
                < 1e-12);
    }

    void saveIsOneTransaction()
    {
        addMaterial(QStringLiteral("a1"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}});
        addMaterial(QStringLiteral("a2"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}});
        // Each run saves over the 50/50 formula, so each replaces it (and records the change).
        const auto fiftyFifty = [&] {
            save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {50, 50},
                 QStringLiteral("猪标准"), true);
        };
        fiftyFifty();
        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("pfzlk"), QStringLiteral("velpfk"), QStringLiteral("pfyyk"), QStringLiteral("czrz")}, fiftyFifty,
            [&] { save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {20, 80},
                       QStringLiteral("猪标准"), true); });
        QVERIFY(writes > 40);
        save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {20, 80},
             QStringLiteral("猪标准"), true);
        const auto log = s().row(QStringLiteral("SELECT gnmc, jz, xz FROM {czrz} ORDER BY id DESC {first:1}"));
        QVERIFY(log);
        QCOMPARE(log->text(QStringLiteral("gnmc")), QStringLiteral("配方计算"));
        QVERIFY(log->text(QStringLiteral("jz")).endsWith(QStringLiteral("velpfk=a1:50,a2:50")));
        QVERIFY(log->text(QStringLiteral("xz")).endsWith(QStringLiteral("velpfk=a1:20,a2:80")));
    }

    void saveChecksSharesAndMaterialsAgain()
    {
        addMaterial(QStringLiteral("a1"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}});
        addMaterial(QStringLiteral("a2"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}});
        QVERIFY_THROWS_EXCEPTION(DomainError, save(QStringLiteral("P1"), QStringLiteral("猪料"),
                                                   {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {50, 50.5}));
        // A material that left the register since step 1.
        FormulaCalculation c = calc();
        FormulaComposition comp;
        comp.lines = c.linesFor({QStringLiteral("豆粕"), QStringLiteral("玉米"), QStringLiteral("没有")});
        QCOMPARE(comp.lines.size(), size_t(2));
        c.price(comp.lines);
        comp.lines[0].share = comp.lines[1].share = 50;
        comp.standard = c.standard(QStringLiteral("猪标准"));
        s().execute(QStringLiteral("DELETE FROM {ylpzk} WHERE yldm = 'a2'"));
        try {
            c.save(comp, {QStringLiteral("P1"), QStringLiteral("猪料"), false});
            QFAIL("saved with a material missing");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("原料名称有错误！"));
        }
        try {
            c.price(comp.lines);
            QFAIL("priced a missing material");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("原料a2无价格，请检查！"));
        }
        QCOMPARE(count(QStringLiteral("pfzlk")), 0);
        QCOMPARE(count(QStringLiteral("velpfk")), 0);
    }

    void twoCompositionsStayApart()
    {
        addMaterial(QStringLiteral("a1"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}});
        addMaterial(QStringLiteral("a2"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addMaterial(QStringLiteral("a3"), QStringLiteral("麸皮"), {{0, 1.5}, {2, 15}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}});
        addStandard(QStringLiteral("B2"), QStringLiteral("鸡标准"), {{2, 18}});
        // Two workstations, each with its own connection, compose at once.
        std::unique_ptr<Session> other = m_db->openAnother();
        FormulaCalculation one = calc();
        FormulaCalculation two(*other, m_clock, QStringLiteral("op2"));
        FormulaComposition a, b;
        a.lines = one.linesFor({QStringLiteral("豆粕"), QStringLiteral("玉米")});
        b.lines = two.linesFor({QStringLiteral("麸皮"), QStringLiteral("玉米")});
        a.standard = one.standard(QStringLiteral("猪标准"));
        b.standard = two.standard(QStringLiteral("鸡标准"));
        one.price(a.lines);
        two.price(b.lines);
        a.lines[0].share = 50;
        a.lines[1].share = 50;
        b.lines[0].share = 20;
        b.lines[1].share = 80;
        a.result = one.evaluate(a.lines);
        b.result = two.evaluate(b.lines);
        two.save(b, {QStringLiteral("J1"), QStringLiteral("鸡料"), false});
        one.save(a, {QStringLiteral("P1"), QStringLiteral("猪料"), false});
        QCOMPARE((*a.result)[2], 26.25);
        QVERIFY(qAbs((*b.result)[2] - (0.2 * 15 + 0.8 * 8.5)) < 1e-12);
        QCOMPARE(result(QStringLiteral("P1"), QStringLiteral("s2")), 26.25);
        QCOMPARE(result(QStringLiteral("P1"), QStringLiteral("s2"), "stand"), 20.0);
        QCOMPARE(result(QStringLiteral("J1"), QStringLiteral("s2"), "stand"), 18.0);
        QCOMPARE(value(QStringLiteral("SELECT rydm FROM {pfzlk} WHERE pfhm = 'J1'")).toString(), QStringLiteral("op2"));
        QCOMPARE(count(QStringLiteral("velpfk"), QStringLiteral("pfhm = 'P1' AND yldm IN ('a1', 'a2')")), 2);
        QCOMPARE(count(QStringLiteral("velpfk"), QStringLiteral("pfhm = 'J1' AND yldm IN ('a3', 'a2')")), 2);
    }

    // ---- refreshes ------------------------------------------------------------

    void refreshOfAMaterialsFormulas()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 1}, {2, 40}});
        addMaterial(QStringLiteral("B"), QStringLiteral("原料乙"), {{0, 1.8}, {2, 10}});
        addMaterial(QStringLiteral("C"), QStringLiteral("原料丙"), {{0, 2}, {2, 30}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 25}});
        m_clock.set(QDateTime(QDate(2026, 11, 5), QTime(8, 0)));
        save(QStringLiteral("A123"), QStringLiteral("六四"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {60, 40});
        m_clock.set(QDateTime(QDate(2026, 11, 20), QTime(8, 0)));
        save(QStringLiteral("A1234"), QStringLiteral("长号"), {QStringLiteral("原料甲"), QStringLiteral("原料丙")}, {50, 50});
        save(QStringLiteral("Z9"), QStringLiteral("无甲"), {QStringLiteral("原料乙"), QStringLiteral("原料丙")}, {50, 50});
        addProduct(QStringLiteral("p1"), QStringLiteral("A123"));
        addProduct(QStringLiteral("p2"), QStringLiteral("A1234x"));
        addProduct(QStringLiteral("p3"), QStringLiteral("A1239"));
        addProduct(QStringLiteral("p4"), QStringLiteral("Z9"));
        const double zBefore = result(QStringLiteral("Z9"), QStringLiteral("s0"));

        // The price of A rises and its protein is corrected.
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        setPrice(QStringLiteral("A"), 2.5);
        std::vector<int> seen;
        const RefreshOutcome out = FormulaRefresh(s(), m_clock).refreshContaining(
            QStringLiteral("a"), QDate(2026, 11, 1), QDate(2026, 11, 10), [&](int done, int total) { seen.push_back(done * 10 + total); });
        QCOMPARE(out.total, 2);
        QCOMPARE(out.refreshed, 2);
        QCOMPARE(seen, (std::vector<int>{2, 12, 22}));

        // A123, saved inside the dates: results, comp from the new result, cost.
        QCOMPARE(result(QStringLiteral("A123"), QStringLiteral("s2")), 28.0);
        QCOMPARE(result(QStringLiteral("A123"), QStringLiteral("s2"), "comp"), 3.0);
        QVERIFY(qAbs(result(QStringLiteral("A123"), QStringLiteral("s0")) - 2.22) < 1e-12);
        QVERIFY(qAbs(result(QStringLiteral("A123"), QStringLiteral("s0"), "comp") - 2.22) < 1e-12);
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {velpfk} WHERE pfhm = 'A123' ORDER BY id")).toDouble() - 2.22) < 1e-12);
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'A123'")).toDouble() - 2.22) < 1e-12);
        QCOMPARE(productCost(QStringLiteral("p1")), 2220.0);
        QCOMPARE(productCost(QStringLiteral("p3")), 2220.0);
        QCOMPARE(value(QStringLiteral("SELECT cpbz FROM {velcpzk} WHERE cpdm = 'p1'")).toString(), QStringLiteral("A"));
        QCOMPARE(value(QStringLiteral("SELECT scrq_1 FROM {velcpzk} WHERE cpdm = 'p1'")).toString(), QStringLiteral("2026-01-01"));
        // A1234, saved after the dates: results kept, costs renewed; its
        // product follows it, not the shorter A123.
        QVERIFY(qAbs(result(QStringLiteral("A1234"), QStringLiteral("s0")) - 1.5) < 1e-12);
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {velpfk} WHERE pfhm = 'A1234' ORDER BY id")).toDouble() - 2.25) < 1e-12);
        QCOMPARE(productCost(QStringLiteral("p2")), 2250.0);
        // Z9 has no A: untouched.
        QCOMPARE(result(QStringLiteral("Z9"), QStringLiteral("s0")), zBefore);
        QCOMPARE(value(QStringLiteral("SELECT pfcb FROM {velpfk} WHERE pfhm = 'Z9' ORDER BY id")).toDouble(), 0.0);
        QCOMPARE(productCost(QStringLiteral("p4")), 0.0);
    }

    void refreshOfAMaterialsFormulas_messages()
    {
        FormulaRefresh r(s(), m_clock);
        try {
            r.refreshContaining(QStringLiteral("A"), QDate(), QDate(2026, 1, 1));
            QFAIL("refreshed without a start date");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("起始日期或截止日期不能为空！"));
        }
        try {
            r.refreshContaining(QString(), QDate(2026, 1, 1), QDate(2026, 1, 1));
            QFAIL("refreshed without a material");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("先确认，再刷新！"));
        }
        try {
            r.refreshAll(QDate(2026, 1, 1), QDate());
            QFAIL("refreshed without an end date");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("起始日期或截止日期为空，不能刷新！"));
        }
    }

    void materialFactorsKeepPriceAndDryMatter()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 2.5}, {1, 88}, {2, 40}});
        MaterialFactorEditor e(s());
        const qint64 id = e.materials().front().id;
        FactorValues v{};
        v[2] = 42;
        v[38] = 0.2;
        e.save(id, v);
        const MaterialFactors m = *e.byId(id);
        QCOMPARE(m.values[0], 2.5);
        QCOMPARE(m.values[1], 88.0);
        QCOMPARE(m.values[2], 42.0);
        QCOMPARE(m.values[38], 0.2);
        QVERIFY_THROWS_EXCEPTION(DomainError, MaterialFactorEditor::checkValue(QStringLiteral("abc")));
    }

    void refreshAllAfterAPriceChange()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 1}, {2, 40}, {7, 1}});
        addMaterial(QStringLiteral("B"), QStringLiteral("原料乙"), {{0, 1.8}, {2, 10}});
        addMaterial(QStringLiteral("C"), QStringLiteral("原料丙"), {{0, 2}, {2, 30}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 25}});
        m_clock.set(QDateTime(QDate(2026, 11, 5), QTime(8, 0)));
        save(QStringLiteral("F1"), QStringLiteral("甲乙"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {60, 40});
        save(QStringLiteral("F2"), QStringLiteral("乙丙"), {QStringLiteral("原料乙"), QStringLiteral("原料丙")}, {25, 75});
        save(QStringLiteral("F3"), QStringLiteral("甲丙"), {QStringLiteral("原料甲"), QStringLiteral("原料丙")}, {10, 90});
        addProduct(QStringLiteral("p1"), QStringLiteral("F1"));
        m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        FormulaRefresh(s(), m_clock).refreshAll(QDate(2026, 11, 1), QDate(2026, 11, 30));
        const QString f2Before = stateOf(QStringLiteral("F2"));

        setPrice(QStringLiteral("A"), 2.5);
        const RefreshOutcome out = FormulaRefresh(s(), m_clock).refreshAll(QDate(2026, 11, 1), QDate(2026, 11, 30));
        QCOMPARE(out.refreshed, 3);
        QVERIFY(out.stopMessage.isEmpty());

        // Every formula holds what the kernel gives for its lines now.
        const MaterialTable materials = MaterialTable::load(s());
        for (const QString &number : {QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F3")}) {
            std::vector<KernelLine> lines;
            for (const Row &r : s().rows(QStringLiteral("SELECT yldm, ylsl FROM {velpfk} WHERE pfhm = ? ORDER BY id"), {number}))
                lines.push_back({&materials.find(r.text(QStringLiteral("yldm")))->values, r.number(QStringLiteral("ylsl"))});
            const FactorValues v = evaluateFormula(lines);
            for (int n = 0; n < kFormulaFactors; ++n) {
                QCOMPARE(result(number, factorCode(n)), v[size_t(n)]);
                QCOMPARE(result(number, factorCode(n), "comp"), v[size_t(n)] - result(number, factorCode(n), "stand"));
            }
            QCOMPARE(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = ?"), {number}).toDouble(), v[0]);
        }
        QVERIFY(qAbs(result(QStringLiteral("F1"), QStringLiteral("s0")) - 2.22) < 1e-12);
        // F2 has no A: its figures are what they were.
        QCOMPARE(stateOf(QStringLiteral("F2")), f2Before);
        QCOMPARE(productCost(QStringLiteral("p1")), 2220.0);
        QCOMPARE(value(QStringLiteral("SELECT scrq_1 FROM {velcpzk} WHERE cpdm = 'p1'")).toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(value(QStringLiteral("SELECT cpbz FROM {velcpzk} WHERE cpdm = 'p1'")).toString(), QStringLiteral("F"));
    }

    void refreshAllStopsAtAMaterialPricedZero()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 1}, {2, 40}});
        addMaterial(QStringLiteral("B"), QStringLiteral("原料乙"), {{0, 1.8}, {2, 10}});
        addMaterial(QStringLiteral("Z"), QStringLiteral("原料零"), {{0, 3}, {2, 60}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 25}});
        save(QStringLiteral("F1"), QStringLiteral("一"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {60, 40});
        save(QStringLiteral("F2"), QStringLiteral("二"), {QStringLiteral("原料乙"), QStringLiteral("原料零")}, {50, 50});
        save(QStringLiteral("F3"), QStringLiteral("三"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {20, 80});
        setPrice(QStringLiteral("A"), 2.5);
        setPrice(QStringLiteral("Z"), 0);
        const QString second = stateOf(QStringLiteral("F2")), third = stateOf(QStringLiteral("F3"));
        std::vector<int> done;
        const RefreshOutcome out = FormulaRefresh(s(), m_clock).refreshAll(QDate(2026, 1, 1), QDate(2026, 12, 31),
                                                                           [&](int d, int) { done.push_back(d); });
        QCOMPARE(out.stopMessage, QStringLiteral("原料零价格为0，计算将不能继续！"));
        QCOMPARE(out.refreshed, 1);
        QCOMPARE(done, (std::vector<int>{0, 1}));
        QVERIFY(qAbs(result(QStringLiteral("F1"), QStringLiteral("s0")) - 2.22) < 1e-12);
        QCOMPARE(stateOf(QStringLiteral("F2")), second);
        QCOMPARE(stateOf(QStringLiteral("F3")), third);
    }

    void aFailedFormulaLeavesItUntouched()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 1}, {2, 40}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 25}});
        save(QStringLiteral("F1"), QStringLiteral("一"), {QStringLiteral("原料甲")}, {100});
        addProduct(QStringLiteral("p1"), QStringLiteral("F1"));
        setPrice(QStringLiteral("A"), 2);
        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("pfzlk"), QStringLiteral("velpfk"), QStringLiteral("pfyyk"), QStringLiteral("velcpzk")}, [] {},
            [&] { FormulaRefresh(s(), m_clock).refreshAll(QDate(2026, 1, 1), QDate(2026, 12, 31)); });
        QCOMPARE(writes, 4);
    }

    // ---- display, deletion, prices, sheets -------------------------------------

    void deletingAFormula()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("原料甲"), {{0, 1}, {2, 40}});
        addMaterial(QStringLiteral("B"), QStringLiteral("原料乙"), {{0, 1.8}, {2, 10}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 25}});
        m_clock.set(QDateTime(QDate(2026, 11, 5), QTime(8, 0)));
        save(QStringLiteral("F1"), QStringLiteral("一"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {60, 40});
        save(QStringLiteral("F2"), QStringLiteral("二"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {50, 50});
        // F1's lines of another day: a line saved outside the range stays.
        s().execute(QStringLiteral("UPDATE {velpfk} SET rq_1 = '2026-10-01' WHERE pfhm = 'F1' AND yldm = 'B'"));
        FormulaBook book(s());
        try {
            book.remove(QStringLiteral("F1"), QDate(), QDate(2026, 12, 31));
            QFAIL("deleted without dates");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("输入正确的日期！"));
        }
        DeleteOutcome out = book.remove(QStringLiteral("f1"), QDate(2026, 11, 1), QDate(2026, 11, 30));
        QCOMPARE(out.lines, 1);
        QCOMPARE(out.results, kFormulaFactors);
        QVERIFY(!out.registerRemoved);
        QVERIFY(book.find(QStringLiteral("F1")));
        QCOMPARE(count(QStringLiteral("velpfk"), QStringLiteral("pfhm = 'F1'")), 1);

        out = book.remove(QStringLiteral("F1"), QDate(2026, 1, 1), QDate(2026, 12, 31));
        QCOMPARE(out.lines, 1);
        QVERIFY(out.registerRemoved);
        QVERIFY(!book.find(QStringLiteral("F1")));
        QCOMPARE(book.entries(), QStringList{QStringLiteral("F2        二")});
        QCOMPARE(FormulaBook::numberOfEntry(QStringLiteral("F2        二")), QStringLiteral("F2"));
        QCOMPARE(count(QStringLiteral("velpfk"), QStringLiteral("pfhm = 'F2'")), 2);
        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("pfzlk"), QStringLiteral("velpfk"), QStringLiteral("pfyyk")},
            [&] {
                if (!book.find(QStringLiteral("F2")))
                    save(QStringLiteral("F2"), QStringLiteral("二"), {QStringLiteral("原料甲"), QStringLiteral("原料乙")}, {50, 50});
            },
            [&] { book.remove(QStringLiteral("F2"), QDate(2026, 1, 1), QDate(2026, 12, 31)); });
        QVERIFY(writes >= 4);
    }

    void sheets()
    {
        addMaterial(QStringLiteral("A"), QStringLiteral("豆粕"), {{0, 3.2}, {2, 44}, {7, 0.3}});
        addMaterial(QStringLiteral("B"), QStringLiteral("玉米"), {{0, 1.9}, {2, 8.5}});
        addStandard(QStringLiteral("B1"), QStringLiteral("猪标准"), {{2, 20}, {5, 3}});
        m_clock.set(QDateTime(QDate(2026, 11, 5), QTime(8, 0)));
        save(QStringLiteral("P1"), QStringLiteral("猪料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {50, 50});
        m_clock.set(QDateTime(QDate(2026, 11, 6), QTime(8, 0)));
        save(QStringLiteral("J1"), QStringLiteral("鸡料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {20, 80});
        save(QStringLiteral("Y1"), QStringLiteral("鸭料"), {QStringLiteral("豆粕"), QStringLiteral("玉米")}, {30, 70});
        FormulaBook book(s());
        const FormulaView v{false, QStringLiteral("P1"), QDate(2026, 11, 1), QDate(2026, 11, 30)};
        const QDate today(2026, 12, 10);
        FM_COMPARE_GOLDEN(compositionSheet(QStringLiteral("猪料"), book.allRows(FormulaBook::lineQuery(v)), today).toText(),
                          "formulation/golden/composition.txt");
        FM_COMPARE_GOLDEN(nutrientSheet(QStringLiteral("猪料"), book.allRows(FormulaBook::resultQuery(v)), today).toText(),
                          "formulation/golden/nutrients.txt");
        const std::vector<SavedPrice> prices = book.prices(QDate(2026, 11, 1), QDate(2026, 11, 30));
        QCOMPARE(prices.size(), size_t(3));
        QCOMPARE(prices.front().name, QStringLiteral("猪料")); // by name: 猪 < 鸡 < 鸭 in code order
        FM_COMPARE_GOLDEN(priceListSheet(prices, {QStringLiteral("j1")}).toText(), "formulation/golden/pricelist.txt");
        if (const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR"); !dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(exportPdf(compositionSheet(QStringLiteral("猪料"), book.allRows(FormulaBook::lineQuery(v)), today),
                              QDir(dir).filePath(QStringLiteral("composition.pdf"))));
            QVERIFY(exportPdf(nutrientSheet(QStringLiteral("猪料"), book.allRows(FormulaBook::resultQuery(v)), today),
                              QDir(dir).filePath(QStringLiteral("nutrients.pdf"))));
            QVERIFY(exportPdf(priceListSheet(prices, {QStringLiteral("j1")}), QDir(dir).filePath(QStringLiteral("pricelist.pdf"))));
        }
        QVERIFY_THROWS_EXCEPTION(DomainError, book.prices(QDate(), QDate(2026, 11, 30)));
        // Every formula: results with a result and a standard, in text order of the factor number.
        QStringList order;
        for (const Row &r : book.allRows(FormulaBook::resultQuery(FormulaView{})))
            if (r.text(QStringLiteral("pfhm")) == QLatin1String("P1")) order << r.text(QStringLiteral("rec_num"));
        QCOMPARE(order, QStringList{QStringLiteral("2")});
    }

    void productionFormulaQuery()
    {
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "A12"}, {"pfmc", "一"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "A1234"}, {"pfmc", "二"}});
        addProduct(QStringLiteral("p1"), QStringLiteral("A12345678"));
        addProduct(QStringLiteral("p2"), QStringLiteral("A12x"));
        addProduct(QStringLiteral("p3"), QStringLiteral("Q1234567"));
        FormulaBook book(s());
        QCOMPARE(book.formulaOfProduct(QStringLiteral("A12345678")), QStringLiteral("a1234"));
        QCOMPARE(book.formulaOfProduct(QStringLiteral("A12x")), QStringLiteral("a12"));
        QCOMPARE(book.formulaOfProduct(QStringLiteral("Q1234567")), QStringLiteral("Q12345"));
        QCOMPARE(book.productsCosted(QDate(2026, 1, 1), QDate(2026, 1, 1)).size(), size_t(3));
        QCOMPARE(book.productsCosted(QDate(2026, 1, 2), QDate(2026, 1, 31)).size(), size_t(0));
        for (const char *team : {"01", "02"})
            s().insert(QStringLiteral("scylk"), {{"yldm", "A"}, {"ylmc", "原料甲"}, {"bzdm", team}, {"pfhm", "A1234"},
                                                  {"rq_1", "2026-01-01"}, {"lrsl", 10.0}});
        RowPager all(s(), FormulaBook::drawnQuery(QStringLiteral("a1234"), QDate(2026, 1, 1), QDate(2026, 1, 1), QString()));
        QCOMPARE(all.count(), 2);
        RowPager one(s(), FormulaBook::drawnQuery(QStringLiteral("a1234"), QDate(2026, 1, 1), QDate(2026, 1, 1), QStringLiteral("02")));
        QCOMPARE(one.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFormulation)
#include "tst_formulation.moc"
