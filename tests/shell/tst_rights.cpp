#include "shell/menutable.h"

#include <QtTest>
#include <set>

using namespace fm;

namespace {

std::set<int> reachable(const QString &rights, bool gate = false, bool found = true)
{
    const std::vector<int> f = reachableFunctions(menuEnabled(rights, gate, found));
    return std::set<int>(f.begin(), f.end());
}

std::set<int> allFunctions()
{
    std::set<int> all;
    for (const MenuEntry &e : menuTable())
        if (e.function > 0) all.insert(e.function);
    return all;
}

} // namespace

class TestRights : public QObject {
    Q_OBJECT
private slots:
    void menuTableIsComplete()
    {
        const std::set<int> all = allFunctions();
        QCOMPARE(int(all.size()), 61); // 1..62 without 9
        QVERIFY(!all.count(9));
        QCOMPARE(int(rightsCaptions().size()), kRightsPositions);
        // Every position of the editor controls at most one item; 51 and 52 control none here.
        // The change log goes with the rights editor's position (53).
        std::set<int> positions;
        for (const MenuEntry &e : menuTable())
            if (e.position && e.function != 62) QVERIFY2(positions.insert(e.position).second, qPrintable(e.caption));
        QCOMPARE(int(positions.size()), 68);
        QCOMPARE(functionWindowCaption(29), functionWindowCaption(52));
        QCOMPARE(functionWindowCaption(2), QString());
    }

    void rightsApplyToTheMenu_data()
    {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("gate");
        QTest::addColumn<QList<int>>("reached");     // functions that must be reachable
        QTest::addColumn<QList<int>>("notReached");  // functions that must not be
        QTest::addColumn<int>("count");              // -1: not checked

        const QString allOnes(70, QLatin1Char('1'));
        QTest::newRow("68 zeros: only 退出") << QString(68, QLatin1Char('0')) << false << QList<int>{}
                                             << QList<int>{10, 11, 37, 38, 61} << 0;
        QTest::newRow("70 ones: everything") << allOnes << false << QList<int>{1, 10, 11, 38, 53, 54, 61, 62} << QList<int>{} << 61;
        // Missing characters grant, except at 9 and 16.
        QTest::newRow("empty string") << QString() << false << QList<int>{1, 13, 37, 38, 61}
                                      << QList<int>{54, 10, 11, 12} << 61 - 4;
        QString blank16 = allOnes;
        blank16[15] = QLatin1Char(' ');
        QTest::newRow("blank at 16 hides 销售管理") << blank16 << false << QList<int>{1, 13} << QList<int>{10, 11, 12} << 58;
        QString zero1 = allOnes;
        zero1[0] = QLatin1Char('0');
        QTest::newRow("0 at 1 hides 生产管理") << zero1 << false << QList<int>{10} << QList<int>{1, 3, 54, 61} << 61 - 16;
        QString zero47 = allOnes;
        zero47[46] = QLatin1Char('0');
        QTest::newRow("0 at a submenu hides its items") << zero47 << false << QList<int>{37, 38} << QList<int>{35, 36} << 59;
        // The change log goes with the rights editor's right.
        QString zero53 = allOnes;
        zero53[52] = QLatin1Char('0');
        QTest::newRow("0 at 53 hides the rights editor and the change log") << zero53 << false << QList<int>{37}
                                                                            << QList<int>{38, 62} << 59;
        QTest::newRow("gate overrides all rights") << allOnes << true << QList<int>{11} << QList<int>{10, 12, 38} << 1;
        QTest::newRow("gate overrides no rights") << QString(68, QLatin1Char('0')) << true << QList<int>{11}
                                                  << QList<int>{10} << 1;
        QTest::newRow("trailing blanks are not characters") << QString(70, QLatin1Char('1')) + QStringLiteral("      ")
                                                             << false << QList<int>{54, 10} << QList<int>{} << 61;
    }
    void rightsApplyToTheMenu()
    {
        QFETCH(QString, rights);
        QFETCH(bool, gate);
        QFETCH(QList<int>, reached);
        QFETCH(QList<int>, notReached);
        QFETCH(int, count);
        const std::set<int> r = reachable(rights, gate);
        for (int f : reached) QVERIFY2(r.count(f), qPrintable(QString::number(f)));
        for (int f : notReached) QVERIFY2(!r.count(f), qPrintable(QString::number(f)));
        if (count >= 0) QCOMPARE(int(r.size()), count);
    }

    void aDeletedOperatorReachesNothing()
    {
        QVERIFY(reachable(QString(70, QLatin1Char('1')), false, false).empty());
        // The exit item stays.
        const std::vector<bool> on = menuEnabled(QString(), false, false);
        QVERIFY(on.back());
    }

    void editorWritesSeventyCharacters_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("68") << QString(68, QLatin1Char('0'));
        QTest::newRow("76 with other characters") << QStringLiteral("1 x") + QString(73, QLatin1Char('1'));
    }
    void editorWritesSeventyCharacters()
    {
        QFETCH(QString, stored);
        std::vector<bool> granted(kRightsPositions, false);
        granted[0] = granted[68] = granted[69] = true;
        const QString out = composeRights(stored, granted);
        QCOMPARE(out.size(), 70);
        QCOMPARE(out.count(QLatin1Char('1')), 3);
        QCOMPARE(out.count(QLatin1Char('0')), 67);
        QCOMPARE(out.at(69), QLatin1Char('1'));
        // What the editor loads is what the menu applies, so saving unchanged keeps it.
        QCOMPARE(effectiveRights(composeRights(stored, effectiveRights(stored))), effectiveRights(stored));
    }
};

QTEST_GUILESS_MAIN(TestRights)
#include "tst_rights.moc"
