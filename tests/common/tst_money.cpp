#include "common/money.h"

#include <QtTest>

using namespace fm;

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void cents_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<double>("expected");
        QTest::newRow("half a cent") << 0.005 << 0.01;
        QTest::newRow("1.005 as it reads") << 1.005 << 1.01;
        QTest::newRow("negative half") << -0.005 << -0.01;
        QTest::newRow("a line amount") << money::lineAmount(2345.67, 200) << 469.13;
        QTest::newRow("1000.005") << 1000.005 << 1000.01;
        QTest::newRow("below half") << 2.004999 << 2.0;
        QTest::newRow("large") << 123456789012.345 << 123456789012.35;
        QTest::newRow("no negative zero") << -0.001 << 0.0;
    }
    void cents()
    {
        QFETCH(double, amount);
        QFETCH(double, expected);
        QCOMPARE(money::cents(amount), expected);
        QVERIFY(!std::signbit(money::cents(amount)) || expected < 0);
    }

    void storedKeepsFourDecimals()
    {
        QCOMPARE(money::stored(money::lineAmount(2345.67, 200)), 469.134);
        QCOMPARE(money::stored(0.00005), 0.0001);
    }

    void typedAmounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "300" << true << 300.0;
        QTest::newRow("negative") << "-300" << true << -300.0;
        QTest::newRow("fraction of a cent rounds") << "12.345" << true << 12.35;
        QTest::newRow("too large") << "100000000000000000000" << false << 0.0;
        QTest::newRow("not a number") << "12a" << false << 0.0;
    }
    void typedAmounts()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double v = 0;
        QCOMPARE(money::parseAmount(text, &v), ok);
        if (ok) QCOMPARE(v, value);
    }

    void tolerance()
    {
        QVERIFY(money::same(0.1 + 0.2, 0.3));
        QVERIFY(!money::same(10.00, 10.01));
        QVERIFY(money::isZero(0.004));
    }
};

QTEST_MAIN(TestMoney)
#include "tst_money.moc"
