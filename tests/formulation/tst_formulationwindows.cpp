// The formulation windows driven as a formulator would: factors of a
// material, a standard, a formula composed by hand and by least cost and
// saved, the refreshes, the display with its sheets and the price query.

#include "data/session.h"
#include "formulation/formulabook.h"
#include "formulation/formulacalculation.h"
#include "formulation/windows/tbzxg.h"
#include "formulation/windows/tcxscpf.h"
#include "formulation/windows/tpeidy.h"
#include "formulation/windows/tpf_show.h"
#include "formulation/windows/tsx_pf.h"
#include "formulation/windows/tvelpf.h"
#include "formulation/windows/tvelpf1.h"
#include "formulation/windows/tylxg_1.h"
#include "reports/reportdocument.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <map>

using namespace fm;
using namespace fm::test;

namespace {

// Focus only moves inside the active window.
void showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) qWarning("window not active");
}

void typeDate(QDateEdit *d, QDate date)
{
    d->setFocus();
    d->setDate(date);
    pressEnter(d);
}

} // namespace

class TestFormulationWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::vector<ReportDocument> m_previews, m_prints;

    Session &s() { return m_app.session(); }
    QVariant value(const QString &sql, const Values &values = {}) { return s().scalar(sql, values); }

    void addMaterial(const QString &code, const QString &name, const std::map<int, double> &f)
    {
        Fields row{{"yldm", code}, {"ylmc", name}, {"descip", "1"}};
        for (int n = 0; n < kFormulaFactors; ++n) row.push_back({factorCode(n), f.count(n) ? f.at(n) : 0.0});
        s().insert(QStringLiteral("ylpzk"), row);
    }
    void addStandard(const QString &code, const QString &name, const std::map<int, double> &f)
    {
        FactorValues v{};
        for (const auto &[n, x] : f) v[size_t(n)] = x;
        NutrientStandards(s(), m_app.clock).add(code, name, v);
    }
    // Corn, soybean meal, bran, premix and fish meal, as the least-cost test knows them.
    void materials()
    {
        addMaterial(QStringLiteral("y01"), QStringLiteral("玉米"), {{0, 2.2}, {2, 8}, {4, 2}, {12, 13.5}, {7, 0.02}});
        addMaterial(QStringLiteral("y02"), QStringLiteral("豆粕"), {{0, 3.6}, {2, 44}, {4, 6}, {12, 10}, {7, 0.3}});
        addMaterial(QStringLiteral("y03"), QStringLiteral("麸皮"), {{0, 1.6}, {2, 15}, {4, 10}, {12, 6.5}, {7, 0.1}});
        addMaterial(QStringLiteral("y04"), QStringLiteral("预混料"), {{0, 9}, {7, 16}});
        addMaterial(QStringLiteral("y05"), QStringLiteral("鱼粉"), {{0, 9}, {2, 62}, {4, 0.5}, {12, 12}, {7, 5}});
        addStandard(QStringLiteral("J01"), QStringLiteral("肉鸡标准"), {{2, 19}, {12, 11.5}, {7, 0.8}});
    }
    FormulaComposition composed(const QStringList &names, const QString &standard = QStringLiteral("肉鸡标准"))
    {
        FormulaCalculation c(s(), m_app.clock, m_app.ctx.operatorCode);
        FormulaComposition comp;
        comp.lines = c.linesFor(names);
        c.price(comp.lines);
        comp.standard = c.standard(standard);
        return comp;
    }
    void saveFormula(const QString &number, const QString &name, const QStringList &names, const std::vector<double> &shares)
    {
        FormulaCalculation c(s(), m_app.clock, m_app.ctx.operatorCode);
        FormulaComposition comp = composed(names);
        for (size_t i = 0; i < shares.size(); ++i) comp.lines[i].share = shares[i];
        c.save(comp, {number, name, false});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_previews.clear();
        m_prints.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) { m_previews.push_back(d); };
        m_app.ctx.printDirect = [this](QWidget *, const ReportDocument &d) { m_prints.push_back(d); };
    }

    void materialFactorsAndTheirRefresh()
    {
        materials();
        saveFormula(QStringLiteral("J1"), QStringLiteral("肉鸡料"), {QStringLiteral("玉米"), QStringLiteral("豆粕")}, {60, 40});
        Tylxg_1 w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QCOMPARE(w.materials()->rowCount(), 5);
        QVERIFY(!w.factor(2)->isEnabled());
        QVERIFY(!w.refresh()->isEnabled());

        w.choose(1); // 豆粕
        QCOMPARE(w.name()->text(), QStringLiteral("豆粕"));
        QCOMPARE(w.chosen(), QStringLiteral("y02"));
        QCOMPARE(w.factor(2)->text(), QStringLiteral("44"));
        QVERIFY(w.factor(2)->hasFocus());
        QVERIFY(!w.factor(7)->isEnabled());
        typeAndEnter(w.factor(2), QStringLiteral("46"));
        QVERIFY(w.factor(7)->hasFocus()); // the Enter order: s2, s7, s8, ...
        typeAndEnter(w.factor(7), QStringLiteral("abc"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        QVERIFY(w.factor(7)->hasFocus());
        w.factor(7)->setText(QStringLiteral("0.3"));
        for (int n : materialEntryOrder()) {
            if (n == 2) continue;
            if (n == 38) w.factor(n)->clear(); // an empty value becomes 0
            pressEnter(w.factor(n));
        }
        QCOMPARE(w.factor(38)->text(), QStringLiteral("0"));
        QVERIFY(w.confirm()->isEnabled());
        QVERIFY(w.cancel()->isEnabled());
        QVERIFY(w.confirm()->hasFocus());
        screenshot(&w, QStringLiteral("tylxg_1"));
        w.confirm()->click();
        QCOMPARE(value(QStringLiteral("SELECT s2 FROM {ylpzk} WHERE yldm = 'y02'")).toDouble(), 46.0);
        QCOMPARE(value(QStringLiteral("SELECT s0 FROM {ylpzk} WHERE yldm = 'y02'")).toDouble(), 3.6);
        QVERIFY(!w.confirm()->isEnabled());
        QVERIFY(w.refresh()->isEnabled());
        QVERIFY(w.start()->hasFocus());

        // The refresh needs both dates, and asks.
        w.refresh()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("起始日期或截止日期不能为空！"));
        typeDate(w.start(), QDate(2026, 12, 1));
        QVERIFY(w.end()->hasFocus());
        typeDate(w.end(), QDate(2026, 12, 31));
        QVERIFY(w.refresh()->hasFocus());
        m_app.prompter.answers = {false};
        w.refresh()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("将对所有配方刷新，是否继续？"));
        QVERIFY(qAbs(value(QStringLiteral("SELECT result FROM {pfyyk} WHERE ysdm = 's2'")).toDouble() - 22.4) < 1e-12);
        w.refresh()->click();
        QVERIFY(qAbs(value(QStringLiteral("SELECT result FROM {pfyyk} WHERE ysdm = 's2'")).toDouble() - 23.2) < 1e-12);
        QCOMPARE(w.startCaption()->text(), QStringLiteral("刷新完毕！"));
        QVERIFY(!w.refresh()->isEnabled());
        QVERIFY(w.chosen().isEmpty());
        QCOMPARE(w.progress()->value(), 0);

        // Without a material confirmed since: "先确认，再刷新！".
        typeDate(w.end(), QDate(2026, 12, 31));
        w.refresh()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("先确认，再刷新！"));
        QVERIFY(!w.refresh()->isEnabled());

        // "放弃" puts the stored values back.
        w.choose(0);
        typeAndEnter(w.factor(2), QStringLiteral("99"));
        w.chain().reach(w.confirm());
        w.cancel()->click();
        QCOMPARE(w.factor(2)->text(), QStringLiteral("8"));
        QCOMPARE(value(QStringLiteral("SELECT s2 FROM {ylpzk} WHERE yldm = 'y01'")).toDouble(), 8.0);
    }

    void standards()
    {
        materials();
        Tbzxg w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QVERIFY(!w.deleteOrShow()->isEnabled());
        QVERIFY(!w.newName()->isVisible());
        choose(w.standards(), QStringLiteral("肉鸡标准"));
        QVERIFY(w.factor(0)->hasFocus());
        QCOMPARE(w.factor(2)->text(), QStringLiteral("19"));
        QVERIFY(w.deleteOrShow()->isEnabled());
        for (int n : standardEntryOrder()) {
            if (n == 2) w.factor(n)->setText(QStringLiteral("20"));
            pressEnter(w.factor(n));
        }
        QVERIFY(w.confirm()->hasFocus());
        screenshot(&w, QStringLiteral("tbzxg"));
        w.confirm()->click();
        QCOMPARE(value(QStringLiteral("SELECT s2 FROM {yybzk} WHERE xqdm = 'J01'")).toDouble(), 20.0);
        QVERIFY(w.standards()->hasFocus());
        QVERIFY(!w.confirm()->isEnabled());

        // A new standard: its code is refused in any letter case when used.
        w.addMode()->click();
        QVERIFY(w.adding());
        QVERIFY(w.newName()->isVisible());
        QVERIFY(!w.standards()->isVisible());
        QCOMPARE(w.deleteOrShow()->text(), QStringLiteral("显示当前标准"));
        QVERIFY(w.newName()->hasFocus());
        typeAndEnter(w.newName(), QStringLiteral("蛋鸡标准"));
        typeAndEnter(w.newCode(), QStringLiteral("j01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("代码已存在，不能增加！"));
        QVERIFY(w.newCode()->hasFocus());
        typeAndEnter(w.newCode(), QStringLiteral("D01"));
        QVERIFY(w.factor(0)->hasFocus());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {yybzk}")).toInt(), 1); // nothing until "确认"
        for (int n : standardEntryOrder()) {
            if (n == 2) w.factor(n)->setText(QStringLiteral("16.5"));
            pressEnter(w.factor(n));
        }
        w.confirm()->click();
        QCOMPARE(value(QStringLiteral("SELECT s2 FROM {yybzk} WHERE xqdm = 'D01'")).toDouble(), 16.5);
        QCOMPARE(value(QStringLiteral("SELECT xqmc FROM {yybzk} WHERE xqdm = 'D01'")).toString(), QStringLiteral("蛋鸡标准"));
        QVERIFY(w.newName()->hasFocus());
        screenshot(&w, QStringLiteral("tbzxg-add"));

        w.deleteOrShow()->click(); // "显示当前标准"
        QVERIFY(!w.adding());
        QCOMPARE(w.standards()->count(), 2);
        choose(w.standards(), QStringLiteral("肉鸡标准"));
        m_app.prompter.answers = {true};
        w.deleteOrShow()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认删除标准:肉鸡标准?"));
        QCOMPARE(w.standards()->currentText(), QStringLiteral("蛋鸡标准"));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {yybzk}")).toInt(), 1);
    }

    void stepOneChoosesMaterialsAndStandard()
    {
        materials();
        saveFormula(QStringLiteral("T1"), QStringLiteral("样板"), {QStringLiteral("麸皮"), QStringLiteral("豆粕")}, {30, 70});
        Tvelpf w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QCOMPARE(w.available()->count(), 5);
        QVERIFY(!w.standards()->isEnabled());
        QVERIFY(!w.moveBack()->isEnabled());
        QVERIFY(!w.confirm()->isEnabled());
        w.available()->setCurrentRow(1);
        w.moveOne()->click(); // 豆粕
        QCOMPARE(w.chosen()->item(0)->text(), QStringLiteral("豆粕"));
        QVERIFY(w.standards()->isEnabled());
        QVERIFY(w.moveBack()->isEnabled());
        w.confirm()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("没有选择标准!"));
        w.moveAll()->click();
        QVERIFY(!w.moveOne()->isEnabled());
        w.moveAllBack()->click();
        QVERIFY(!w.confirm()->isEnabled());
        QVERIFY(!w.moveBack()->isEnabled());

        // A saved formula as the template: its materials, without shares.
        w.templateButton()->click();
        QVERIFY(w.templateNumbers()->isVisible());
        choose(w.templateNumbers(), QStringLiteral("T1"));
        QCOMPARE(w.templateName()->text(), QStringLiteral("样板"));
        QCOMPARE(w.chosen()->count(), 2);
        QCOMPARE(w.chosen()->item(0)->text(), QStringLiteral("麸皮"));
        choose(w.standards(), QStringLiteral("肉鸡标准"));
        screenshot(&w, QStringLiteral("tvelpf"));
        w.confirm()->click();
        QCOMPARE(w.composition().lines.size(), size_t(2));
        QVERIFY(w.next()->isEnabled());

        // "下一步" prices the materials and opens the second step.
        QStringList seen;
        QTimer::singleShot(0, &w, [&] {
            Tvelpf1 *two = w.stepTwo();
            seen << two->windowTitle() << two->standard()->text() << two->lines()->textAt(1, Tvelpf1::Name)
                 << two->lines()->textAt(1, Tvelpf1::Price);
            two->reject();
        });
        w.next()->click();
        QCOMPARE(seen, (QStringList{QStringLiteral("测试饲料有限公司配方（二）"), QStringLiteral("肉鸡标准"),
                                    QStringLiteral("豆粕"), QStringLiteral("3.6")}));
        QVERIFY(!w.isVisible()); // the first step has closed
    }

    void stepTwoComputesAndSaves()
    {
        materials();
        Tvelpf1 w(m_app.ctx, nullptr);
        showActive(w);
        w.start(composed({QStringLiteral("玉米"), QStringLiteral("豆粕")}));
        // The first share is open for typing; Enter moves down the column.
        QVERIFY(w.lines()->view()->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("50.5"));
        pressEnter(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("50"));
        pressEnter(QApplication::focusWidget());
        QCOMPARE(w.lines()->valueAt(0, Tvelpf1::Share).toDouble(), 50.5);
        QVERIFY(w.compute()->hasFocus());
        w.compute()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("配方比率100.5%错误，请检查！"));
        QVERIFY(!w.composition().result);

        w.typeShare(0, QStringLiteral("x"));
        w.compute()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));

        w.typeShare(0, QStringLiteral("60"));
        w.typeShare(1, QStringLiteral("40"));
        w.compute()->click();
        QVERIFY(w.composition().result);
        QVERIFY(qAbs((*w.composition().result)[2] - 22.4) < 1e-12);
        QVERIFY(!w.back()->isEnabled());
        QVERIFY(!w.finish()->isEnabled());
        QVERIFY(w.formulaName()->hasFocus());
        w.showResults()->click();
        QVERIFY(w.results()->isVisible());
        QVERIFY(!w.compute()->isEnabled());
        QCOMPARE(w.results()->textAt(0, 0), QStringLiteral("价格")); // rec_num "0"
        QCOMPARE(w.results()->textAt(1, 0), QStringLiteral("鸡代谢能(Mj/kg)")); // "12" before "2"
        QCOMPARE(w.results()->textAt(2, 0), QStringLiteral("粗蛋白"));
        QCOMPARE(w.results()->textAt(2, 3), QStringLiteral("3.4"));
        screenshot(&w, QStringLiteral("tvelpf1"));

        typeAndEnter(w.formulaName(), QStringLiteral("肉鸡前期"));
        typeAndEnter(w.formulaNumber(), QStringLiteral("J1"));
        QVERIFY(w.finish()->hasFocus());
        w.finish()->click();
        QCOMPARE(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'J1'")).toDouble(),
                 value(QStringLiteral("SELECT result FROM {pfyyk} WHERE pfhm = 'J1' AND ysdm = 's0'")).toDouble());
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'J1'")).toDouble() - (0.6 * 2.2 + 0.4 * 3.6)) < 1e-12);
        QVERIFY(w.back()->isEnabled());
        QVERIFY(!w.finish()->isEnabled());

        // Saving the number again asks; No keeps what is stored, Yes replaces.
        w.showResults()->click();
        w.typeShare(0, QStringLiteral("70"));
        w.typeShare(1, QStringLiteral("30"));
        w.compute()->click();
        typeAndEnter(w.formulaName(), QStringLiteral("肉鸡前期"));
        typeAndEnter(w.formulaNumber(), QStringLiteral("j1"));
        m_app.prompter.answers = {false};
        w.finish()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("配方号码已存在，是否覆盖？"));
        QCOMPARE(value(QStringLiteral("SELECT ylsl FROM {velpfk} WHERE pfhm = 'J1' AND yldm = 'y01'")).toDouble(), 60.0);
        QVERIFY(w.formulaNumber()->hasFocus());
        m_app.prompter.answers = {true};
        pressEnter(w.formulaNumber());
        w.finish()->click();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velpfk}")).toInt(), 2);
        QCOMPARE(value(QStringLiteral("SELECT ylsl FROM {velpfk} WHERE pfhm = 'J1' AND yldm = 'y01'")).toDouble(), 70.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {pfyyk}")).toInt(), kFormulaFactors);
    }

    void stepTwoByLeastCost()
    {
        materials();
        Tvelpf1 w(m_app.ctx, nullptr);
        showActive(w);
        w.start(composed({QStringLiteral("玉米"), QStringLiteral("豆粕"), QStringLiteral("麸皮"), QStringLiteral("预混料"),
                          QStringLiteral("鱼粉")}));
        w.lines()->setValue(3, Tvelpf1::Low, 1.0);
        w.lines()->setValue(3, Tvelpf1::High, 5.0);
        w.limits()->setValue(Fibre - 1, Tvelpf1::LimitMaximum, 5.0);
        w.leastCost()->click();
        QVERIFY(w.lastSolution().feasible);
        QVERIFY(qAbs(w.lastSolution().cost - 2.891758766056093) < 1e-6);
        const double expected[] = {60.17, 30.55, 4.96, 4.32, 0};
        for (int i = 0; i < 5; ++i) QCOMPARE(w.lines()->valueAt(i, Tvelpf1::Share).toDouble(), expected[i]);
        // The grid shows prices to four decimals; the solution holds them exact.
        QCOMPARE(w.lines()->valueAt(4, Tvelpf1::Entering).toDouble(), 7.417);
        QVERIFY(qAbs(w.lastSolution().entering.at(0).price - 7.417012102396005) < 1e-6);
        QVERIFY(w.lines()->valueAt(0, Tvelpf1::Entering).isNull());
        QCOMPARE(w.limits()->valueAt(1, Tvelpf1::LimitShadow).toDouble(), 0.0481); // s2
        QVERIFY(w.limits()->valueAt(3, Tvelpf1::LimitShadow).isNull()); // s4, the fibre maximum, does not bind
        QVERIFY(w.status()->text().contains(QStringLiteral("粗蛋白")));
        screenshot(&w, QStringLiteral("tvelpf1-leastcost"));

        // The normal path takes it from here.
        w.compute()->click();
        QVERIFY(w.composition().result);
        QVERIFY(qAbs((*w.composition().result)[0] - 2.891758766056093) < 0.001);
        typeAndEnter(w.formulaName(), QStringLiteral("肉鸡最低成本"));
        typeAndEnter(w.formulaNumber(), QStringLiteral("JL1"));
        w.finish()->click();
        QCOMPARE(value(QStringLiteral("SELECT SUM(ylsl) FROM {velpfk} WHERE pfhm = 'JL1'")).toDouble(), 100.0);

        // An impossible standard: nothing filled, the conflict named.
        w.lines()->setValue(1, Tvelpf1::High, 10.0);
        w.lines()->setValue(4, Tvelpf1::High, 0.0);
        w.leastCost()->click();
        QVERIFY(!w.lastSolution().feasible);
        QVERIFY(m_app.prompter.last().startsWith(QStringLiteral("无法配出满足全部约束的配方，以下约束互相冲突：")));
        QVERIFY(m_app.prompter.last().contains(QStringLiteral("豆粕 最高比率 10%")));
        QCOMPARE(w.lines()->valueAt(0, Tvelpf1::Share).toDouble(), 60.17);
        w.lines()->setValue(2, Tvelpf1::Low, QStringLiteral("x"));
        w.leastCost()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
    }

    void twoCompositionsAtOnceStayApart()
    {
        materials();
        // Two formulators, each with a second step of their own.
        AppContext other = m_app.ctx;
        other.operatorCode = QStringLiteral("op2");
        Tvelpf1 a(m_app.ctx, nullptr), b(other, nullptr);
        a.start(composed({QStringLiteral("玉米"), QStringLiteral("豆粕")}));
        b.start(composed({QStringLiteral("麸皮"), QStringLiteral("鱼粉"), QStringLiteral("玉米")}));
        a.typeShare(0, QStringLiteral("50"));
        b.typeShare(0, QStringLiteral("20"));
        a.typeShare(1, QStringLiteral("50"));
        b.typeShare(1, QStringLiteral("10"));
        b.typeShare(2, QStringLiteral("70"));
        b.compute()->click();
        a.compute()->click();
        typeAndEnter(b.formulaName(), QStringLiteral("乙"));
        typeAndEnter(a.formulaName(), QStringLiteral("甲"));
        typeAndEnter(b.formulaNumber(), QStringLiteral("B1"));
        typeAndEnter(a.formulaNumber(), QStringLiteral("A1"));
        a.finish()->click();
        b.finish()->click();
        QCOMPARE((*a.composition().result)[2], 26.0);
        QVERIFY(qAbs((*b.composition().result)[2] - (0.2 * 15 + 0.1 * 62 + 0.7 * 8)) < 1e-12);
        QCOMPARE(value(QStringLiteral("SELECT result FROM {pfyyk} WHERE pfhm = 'A1' AND ysdm = 's2'")).toDouble(), 26.0);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velpfk} WHERE pfhm = 'B1'")).toInt(), 3);
        QCOMPARE(value(QStringLiteral("SELECT rydm FROM {pfzlk} WHERE pfhm = 'B1'")).toString(), QStringLiteral("op2"));
    }

    void refreshOfAllFormulas()
    {
        materials();
        saveFormula(QStringLiteral("F1"), QStringLiteral("一"), {QStringLiteral("玉米"), QStringLiteral("豆粕")}, {60, 40});
        saveFormula(QStringLiteral("F2"), QStringLiteral("二"), {QStringLiteral("麸皮"), QStringLiteral("鱼粉")}, {50, 50});
        saveFormula(QStringLiteral("F3"), QStringLiteral("三"), {QStringLiteral("玉米"), QStringLiteral("麸皮")}, {50, 50});
        s().execute(QStringLiteral("UPDATE {ylpzk} SET s0 = 2.5 WHERE yldm = 'y01'"));
        s().execute(QStringLiteral("UPDATE {ylpzk} SET s0 = 0 WHERE yldm = 'y05'"));
        Tsx_pf w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QVERIFY(!w.factorMaterials()->isEnabled());
        w.byPrices()->click();
        QVERIFY(w.priceMaterials()->isEnabled());
        QVERIFY(!w.factorMaterials()->isEnabled());
        choose(w.priceMaterials(), QStringLiteral("豆粕"));
        QCOMPARE(w.code()->text(), QStringLiteral("y02"));
        w.byStandards()->click();
        choose(w.standards(), QStringLiteral("肉鸡标准"));
        QCOMPARE(w.codeCaption()->text(), QStringLiteral("标准代码："));
        QCOMPARE(w.code()->text(), QStringLiteral("J01"));
        QVERIFY(!w.refresh()->isEnabled());
        w.byAll()->click();
        QVERIFY(w.refresh()->isEnabled());
        QVERIFY(!w.standards()->isEnabled());
        w.refresh()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("起始日期或截止日期为空，不能刷新！"));
        typeDate(w.start(), QDate(2026, 12, 1));
        typeDate(w.end(), QDate(2026, 12, 31));
        QVERIFY(w.refresh()->hasFocus());
        screenshot(&w, QStringLiteral("tsx_pf"));
        w.refresh()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("将对所有配方刷新，是否继续？"));
        // F2 holds fish meal, priced 0: F1 is refreshed, F2 and F3 are not.
        QCOMPARE(m_app.prompter.last(), QStringLiteral("鱼粉价格为0，计算将不能继续！"));
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'F1'")).toDouble() - (0.6 * 2.5 + 0.4 * 3.6)) < 1e-12);
        QVERIFY(qAbs(value(QStringLiteral("SELECT pfcb FROM {pfzlk} WHERE pfhm = 'F3'")).toDouble() - (0.5 * 2.2 + 0.5 * 1.6)) < 1e-12);
        QVERIFY(!w.refresh()->isEnabled());
        QCOMPARE(w.status()->text(), QStringLiteral("已刷新 1 个配方，共 3 个。"));
    }

    void displayDeleteAndSheets()
    {
        materials();
        m_app.clock.set(QDateTime(QDate(2026, 11, 20), QTime(9, 0)));
        saveFormula(QStringLiteral("F1"), QStringLiteral("猪料"), {QStringLiteral("玉米"), QStringLiteral("豆粕")}, {50, 50});
        saveFormula(QStringLiteral("F2"), QStringLiteral("鸡料"), {QStringLiteral("玉米"), QStringLiteral("豆粕")}, {70, 30});
        m_app.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        Tpf_show w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QCOMPARE(w.formula()->count(), 2);
        QCOMPARE(w.formula()->itemText(0), QStringLiteral("F1        猪料"));
        QVERIFY(!w.remove()->isEnabled());

        w.formula()->setEditText(QStringLiteral("Q9"));
        pressEnter(w.formula());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该配方不存在！"));
        QVERIFY(w.formula()->currentText().isEmpty());

        // Enter on the empty chooser lists every formula.
        pressEnter(w.formula());
        QCOMPARE(w.lines()->rowCount(), 4);

        choose(w.formula(), QStringLiteral("F1        猪料"));
        QCOMPARE(w.formulaName()->text(), QStringLiteral("猪料"));
        QCOMPARE(w.standard()->text(), QStringLiteral("肉鸡标准"));
        QVERIFY(w.remove()->isEnabled());
        QVERIFY(w.previewComposition()->isEnabled());
        w.query()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("输入正确的日期！"));
        typeDate(w.start(), QDate(2026, 11, 1));
        typeDate(w.end(), QDate(2026, 11, 30));
        QVERIFY(w.query()->hasFocus());
        w.query()->click();
        QCOMPARE(w.lines()->rowCount(), 2);
        QCOMPARE(w.results()->textAt(0, 1), QStringLiteral("价格"));
        screenshot(&w, QStringLiteral("tpf_show"));

        w.previewComposition()->click();
        w.printNutrients()->click();
        QCOMPARE(m_previews.size(), size_t(1));
        QCOMPARE(m_prints.size(), size_t(1));
        QVERIFY(m_previews.front().toText().contains(QStringLiteral("配方修改日期：2026-11-20")));
        QVERIFY(m_prints.front().toText().contains(QStringLiteral("配方营养成分明细")));

        // The price query of the range; a click leaves a formula out of the list.
        QTimer::singleShot(0, &w, [&] {
            Tpeidy *q = w.priceQuery();
            screenshot(q, QStringLiteral("tpeidy"));
            QCOMPARE(q->grid()->rowCount(), 2);
            q->toggle(1); // 鸡料 (by name: 猪 sorts before 鸡)
            QCOMPARE(q->grid()->textAt(1, 0), QStringLiteral("X"));
            q->print()->click();
            q->reject();
        });
        w.prices()->click();
        QCOMPARE(m_previews.size(), size_t(2));
        const QString list = m_previews.back().toText();
        QVERIFY(list.contains(QStringLiteral("猪料")));
        QVERIFY(!list.contains(QStringLiteral("鸡料")));

        // Deleting within the dates: everything of F1 is in them.
        m_app.prompter.answers = {true};
        w.remove()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认删除该配方吗(yes/no)?"));
        QCOMPARE(w.formula()->count(), 1);
        QVERIFY(!w.remove()->isEnabled());
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velpfk} WHERE pfhm = 'F1'")).toInt(), 0);
    }

    void productionFormulas()
    {
        s().insert(QStringLiteral("bzzl"), {{"bzdm", "01"}, {"bzmc", "一班"}});
        s().insert(QStringLiteral("bzzl"), {{"bzdm", "02"}, {"bzmc", "二班"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "N401"}, {"pfmc", "猪浓缩"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "n401"}, {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"sccb", 2150.0},
                                               {"pfhm", "N401A"}, {"scrq_1", "2026-12-05"}, {"cpbz", "N"}});
        for (const char *team : {"01", "02"})
            s().insert(QStringLiteral("scylk"), {{"yldm", "y01"}, {"ylmc", "玉米"}, {"bzdm", team}, {"pfhm", "N401"},
                                                  {"rq_1", "2026-12-05"}, {"lrsl", 600.0}});
        Tcxscpf w(m_app.ctx, nullptr);
        showActive(w);
        w.activate();
        QVERIFY(w.allTeams()->isChecked());
        QVERIFY(w.start()->hasFocus());
        QVERIFY(!w.query()->isEnabled());
        typeDate(w.start(), QDate(2026, 12, 1));
        QCOMPARE(w.end()->date(), QDate(2026, 12, 1));
        typeDate(w.end(), QDate(2026, 12, 31));
        QVERIFY(w.query()->hasFocus());
        w.query()->click();
        QCOMPARE(w.products()->rowCount(), 1);
        QVERIFY(!w.query()->isEnabled());
        QVERIFY(w.team()->hasFocus());
        w.chooseProduct(0);
        QCOMPARE(w.drawn()->rowCount(), 2);
        choose(w.team(), QStringLiteral("02"));
        QVERIFY(!w.allTeams()->isChecked());
        QCOMPARE(w.teamName()->text(), QStringLiteral("二班"));
        w.chooseProduct(0);
        QCOMPARE(w.drawn()->rowCount(), 1);
        screenshot(&w, QStringLiteral("tcxscpf"));
        w.allTeams()->setChecked(true);
        QCOMPARE(w.team()->currentIndex(), -1);
    }

private:
    enum { Fibre = 4 };
};

QTEST_MAIN(TestFormulationWindows)
#include "tst_formulationwindows.moc"
