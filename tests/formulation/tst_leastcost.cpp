// Least-cost formulation: a textbook problem whose optimum is known, an
// infeasible standard, and the rounding of the shares against their bounds.

#include "common/numbertext.h"
#include "formulation/formulakernel.h"
#include "formulation/leastcost.h"

#include <QtTest>
#include <map>

using namespace fm;

namespace {

enum { Protein = 2, Fibre = 4, Calcium = 7, Energy = 12 };

LeastCostMaterial material(const char *name, double price, double protein, double fibre, double energy, double calcium,
                           double low = 0, double high = 100)
{
    LeastCostMaterial m;
    m.code = QString::fromUtf8(name);
    m.name = QString::fromUtf8(name);
    m.values[0] = price;
    m.values[Protein] = protein;
    m.values[Fibre] = fibre;
    m.values[Energy] = energy;
    m.values[Calcium] = calcium;
    m.low = low;
    m.high = high;
    return m;
}

// Corn, soybean meal, bran and a premix (1–5 %), with fish meal on offer;
// crude protein ≥ 19 %, chicken ME ≥ 11.5 MJ/kg, calcium ≥ 0.8 %, crude
// fibre ≤ 5 %. The optimum was found by enumerating every vertex of the
// problem in exact fractions: protein, energy and calcium bind, fibre does
// not, fish meal stays out.
LeastCostProblem textbook()
{
    LeastCostProblem p;
    p.materials = {material("玉米", 2.2, 8, 2, 13.5, 0.02), material("豆粕", 3.6, 44, 6, 10, 0.3),
                   material("麸皮", 1.6, 15, 10, 6.5, 0.1), material("预混料", 9, 0, 0, 0, 16, 1, 5),
                   material("鱼粉", 9, 62, 0.5, 12, 5)};
    p.minimum[Protein] = 19;
    p.minimum[Energy] = 11.5;
    p.minimum[Calcium] = 0.8;
    p.maximum[Fibre] = 5;
    return p;
}

double nutrient(const LeastCostProblem &p, const std::vector<double> &shares, int factor)
{
    double v = 0;
    for (size_t i = 0; i < shares.size(); ++i) v += p.materials[i].values[size_t(factor)] * shares[i] / 100;
    return v;
}

} // namespace

class TestLeastCost : public QObject {
    Q_OBJECT

private slots:
    void textbookOptimum()
    {
        const LeastCostProblem p = textbook();
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(r.feasible);
        QVERIFY(r.conflicts.isEmpty());
        QVERIFY(qAbs(r.cost - 2.891758766056093) < 1e-6);
        const double expected[] = {60.16549015941284, 30.550781389644353, 4.962779838689718, 4.320948612253091, 0};
        for (int i = 0; i < 5; ++i) QVERIFY2(qAbs(r.shares[size_t(i)] - expected[i]) < 1e-6, qPrintable(QString::number(i)));

        // Shadow prices: what one more unit of each binding minimum costs.
        QCOMPARE(r.binding.size(), size_t(3));
        const std::map<int, double> shadow = {{Protein, 0.04811204272275036}, {Energy, 0.1403195956518272},
                                              {Calcium, 0.5681608812942222}};
        for (const BindingNutrient &b : r.binding) {
            QVERIFY(shadow.count(b.factor));
            QVERIFY(!b.atMaximum);
            QVERIFY2(qAbs(b.shadowPrice - shadow.at(b.factor)) < 1e-6, qPrintable(factor(b.factor).name));
        }
        // Fish meal would enter at 7.417… yuan/kg instead of its 9.
        QCOMPARE(r.entering.size(), size_t(1));
        QCOMPARE(r.entering.front().material, 4);
        QVERIFY(qAbs(r.entering.front().price - 7.417012102396005) < 1e-6);

        // Rounded shares pass the share check and the kernel gives their cost.
        checkShares(r.rounded);
        std::vector<KernelLine> lines;
        for (size_t i = 0; i < p.materials.size(); ++i) lines.push_back({&p.materials[i].values, r.rounded[i]});
        QVERIFY(qAbs(evaluateFormula(lines)[0] - r.cost) < 0.01);
    }

    void aBindingMaximumHasANegativeShadowPrice()
    {
        LeastCostProblem p = textbook();
        p.maximum[Fibre] = 3; // tighter than the 3.53 % the optimum above has
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(r.feasible);
        bool fibre = false;
        for (const BindingNutrient &b : r.binding)
            if (b.factor == Fibre) {
                fibre = true;
                QVERIFY(b.atMaximum);
                QCOMPARE(b.bound, 3.0);
                QVERIFY(b.shadowPrice < 0);
            }
        QVERIFY(fibre);
        QVERIFY(nutrient(p, r.shares, Fibre) <= 3 + 1e-9);
        QVERIFY(r.cost > 2.891758766056093);
    }

    void infeasibleStandardNamesTheConflict()
    {
        LeastCostProblem p = textbook();
        p.materials.pop_back(); // no fish meal
        p.minimum[Protein] = 50; // soybean meal, the richest, has 44
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(!r.feasible);
        // Protein alone conflicts with the materials there are; the other
        // bounds play no part.
        QCOMPARE(r.conflicts, (QStringList{QStringLiteral("粗蛋白 不低于 50（至多只能达到 44）"), QStringLiteral("原料比率合计 100%")}));
        QVERIFY(r.conflictMessage().startsWith(QStringLiteral("无法配出满足全部约束的配方，以下约束互相冲突：\n粗蛋白")));
    }

    void infeasibleBetweenTwoConstraints()
    {
        // Protein needs soybean meal; a maximum on it keeps it out.
        LeastCostProblem p = textbook();
        p.materials.pop_back();
        p.materials[1].high = 10;
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(!r.feasible);
        QCOMPARE(r.conflicts, (QStringList{QStringLiteral("粗蛋白 不低于 19（至多只能达到 17.9）"),
                                           QStringLiteral("豆粕 最高比率 10%"), QStringLiteral("原料比率合计 100%")}));
    }

    void boundConflictsBeforeSolving_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("first");
        QTest::newRow("minimum above maximum") << 0 << QStringLiteral("豆粕 最低比率 30% 高于最高比率 20%");
        QTest::newRow("minimums above 100") << 1 << QStringLiteral("各原料最低比率之和 110% 超过 100%");
        QTest::newRow("maximums below 100") << 2 << QStringLiteral("各原料最高比率之和 95% 不足 100%");
        QTest::newRow("factor maximum below its minimum") << 3 << QStringLiteral("粗蛋白 不低于 19，但粗蛋白 不高于 18");
    }
    void boundConflictsBeforeSolving()
    {
        QFETCH(int, kind);
        QFETCH(QString, first);
        LeastCostProblem p = textbook();
        switch (kind) {
        case 0: p.materials[1].low = 30, p.materials[1].high = 20; break;
        case 1: p.materials[0].low = 60, p.materials[1].low = 49; break;
        case 2:
            for (LeastCostMaterial &m : p.materials) m.high = 19;
            break;
        case 3: p.maximum[Protein] = 18; break;
        }
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(!r.feasible);
        QCOMPARE(r.conflicts.first(), first);
    }

    void roundingKeepsBoundsAndTheHundred_data()
    {
        QTest::addColumn<std::vector<double>>("shares");
        QTest::addColumn<std::vector<double>>("low");
        QTest::addColumn<std::vector<double>>("high");
        QTest::newRow("thirds") << std::vector<double>{100.0 / 3, 100.0 / 3, 100.0 / 3} << std::vector<double>{0, 0, 0}
                                << std::vector<double>{100, 100, 100};
        QTest::newRow("largest at its maximum") << std::vector<double>{60.004, 20.004, 19.992} << std::vector<double>{0, 0, 0}
                                                << std::vector<double>{60, 100, 100};
        QTest::newRow("sevenths at bounds") << std::vector<double>{100.0 / 7, 100.0 / 7, 100.0 / 7, 100.0 / 7, 100.0 / 7, 100.0 / 7, 100.0 / 7}
                                            << std::vector<double>{0, 0, 0, 0, 0, 0, 0}
                                            << std::vector<double>{14.28, 100, 100, 100, 100, 100, 100};
        QTest::newRow("minimum of 4.005") << std::vector<double>{4.005, 47.9975, 47.9975} << std::vector<double>{4.005, 0, 0}
                                          << std::vector<double>{100, 100, 100};
        QTest::newRow("hair outside") << std::vector<double>{25.0000000001, 74.9999999999} << std::vector<double>{25, 0}
                                      << std::vector<double>{25, 100};
    }
    void roundingKeepsBoundsAndTheHundred()
    {
        QFETCH(std::vector<double>, shares);
        QFETCH(std::vector<double>, low);
        QFETCH(std::vector<double>, high);
        const std::vector<double> r = roundShares(shares, low, high);
        QCOMPARE(shareSumText(r), QStringLiteral("100"));
        for (size_t i = 0; i < r.size(); ++i) {
            QVERIFY2(r[i] >= low[i] - 1e-9 || std::ceil(low[i] * 100 - 1e-7) / 100 == r[i], qPrintable(numberText(r[i])));
            QVERIFY2(r[i] <= high[i] + 1e-9, qPrintable(numberText(r[i])));
            QVERIFY2(qAbs(r[i] - shares[i]) <= 0.015 + 1e-9, qPrintable(numberText(r[i])));
            QCOMPARE(r[i] * 100, std::round(r[i] * 100)); // hundredths
        }
    }

    void solvedSharesRoundWithinTheirBounds()
    {
        // The solver's shares hit the bounds; the rounded ones stay inside
        // them and every nutrient moves by no more than the rounding.
        LeastCostProblem p = textbook();
        p.materials[0].high = 55.55;
        p.materials[2].low = 6.25;
        const LeastCostResult r = solveLeastCost(p);
        QVERIFY(r.feasible);
        checkShares(r.rounded);
        double largest = 0;
        for (const LeastCostMaterial &m : p.materials)
            for (double v : m.values) largest = std::max(largest, v);
        for (size_t i = 0; i < p.materials.size(); ++i) {
            QVERIFY(r.rounded[i] >= p.materials[i].low - 1e-9);
            QVERIFY(r.rounded[i] <= p.materials[i].high + 1e-9);
        }
        const double slack = largest * 0.015 * double(p.materials.size()) / 100;
        QVERIFY(nutrient(p, r.rounded, Protein) >= 19 - slack);
        QVERIFY(nutrient(p, r.rounded, Energy) >= 11.5 - slack);
        QVERIFY(nutrient(p, r.rounded, Fibre) <= 5 + slack);
    }
};

QTEST_GUILESS_MAIN(TestLeastCost)
#include "tst_leastcost.moc"
