#include "common/capitals.h"

#include <QtTest>

#include <limits>

using namespace fm;

class TestCapitals : public QObject {
    Q_OBJECT
private slots:
    void capitals_data();
    void capitals();
    void outOfRange_data();
    void outOfRange();
};

void TestCapitals::capitals_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");

    auto row = [](const char *name, double amount, const char16_t *text) {
        QTest::newRow(name) << amount << QString::fromUtf16(text);
    };
    // The payment window's own examples.
    row("0", 0, u"零");
    row("0.5", 0.5, u"伍角整");
    row("0.05", 0.05, u"零角伍分整");
    row("5", 5, u"伍元整");
    row("12.35", 12.35, u"壹拾贰元叁角伍分整");
    row("12.05", 12.05, u"壹拾贰元零角伍分整");
    row("1510", 1510, u"壹仟伍佰壹拾元整");
    row("1500", 1500, u"壹仟伍佰元整");
    row("10500", 10500, u"壹万零伍佰元整");
    row("300000", 300000, u"叁拾万元整");
    row("1200500", 1200500, u"壹佰贰拾万零伍佰元整");
    row("1010000", 1010000, u"壹佰零壹万元整");
    // Binary fractions: truncating 0.29 * 100 would give 贰角捌分.
    row("0.29", 0.29, u"贰角玖分整");
    row("0.07", 0.07, u"零角柒分整");
    row("0.1+0.2", 0.1 + 0.2, u"叁角整");
    row("0.995 rounds to a yuan", 0.995, u"壹元整");
    row("12.30", 12.30, u"壹拾贰元叁角整");
    // Zero runs and the 万 group.
    row("1001", 1001, u"壹仟零壹元整");
    row("100100", 100100, u"壹拾万零壹佰元整");
    row("110000", 110000, u"壹拾壹万元整");
    row("10000000", 10000000, u"壹仟万元整");
    // Nine to twelve digits with 亿.
    row("123456789", 123456789, u"壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元整");
    row("100000001 empty wan group", 100000001, u"壹亿零壹元整");
    row("200300000", 200300000, u"贰亿零叁拾万元整");
    row("1000100000", 1000100000, u"壹拾亿零壹拾万元整");
    row("largest", 999999999999.99,
        u"玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分整");
    // Sign.
    row("-500", -500, u"负伍佰元整");
    row("-12.35", -12.35, u"负壹拾贰元叁角伍分整");
    row("-0.004 rounds to zero", -0.004, u"零");
}

void TestCapitals::capitals()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(chineseCapitals(amount), expected);
}

void TestCapitals::outOfRange_data()
{
    QTest::addColumn<double>("amount");
    QTest::newRow("13 digits") << 1e12;
    QTest::newRow("-13 digits") << -1e12;
    QTest::newRow("huge") << 1e300;
    QTest::newRow("inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
}

void TestCapitals::outOfRange()
{
    QFETCH(double, amount);
    QVERIFY(chineseCapitals(amount).isEmpty());
}

QTEST_GUILESS_MAIN(TestCapitals)
#include "tst_capitals.moc"
