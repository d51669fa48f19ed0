#include "common/dates.h"
#include "common/gbk.h"
#include "common/numbertext.h"

#include <QtTest>

using namespace fm;

class TestCommon : public QObject {
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void parseNumber_data();
    void parseNumber();
    void parseWholeNumber_data();
    void parseWholeNumber();
    void foldFullWidth_data();
    void foldFullWidth();

    void parseDateText_data();
    void parseDateText();
    void readDateTime_data();
    void readDateTime();
    void settlementPeriod_data();
    void settlementPeriod();

    void gbkLength_data();
    void gbkLength();
    void gbkLeft_data();
    void gbkLeft();
};

// ---- numbers -------------------------------------------------------------

void TestCommon::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 2350.0 << "2350";
    QTest::newRow("small whole") << 94.0 << "94";
    QTest::newRow("half") << 1.5 << "1.5";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("noise on 87.96") << 87.96000000000001 << "87.96";
    QTest::newRow("1/3") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("15 digits") << 123456789012.345 << "123456789012.345";
    QTest::newRow("beyond 6 digits") << 1234567.89 << "1234567.89";
    QTest::newRow("-0") << -0.0 << "0";
    QTest::newRow("1e-5") << 1e-5 << "0.00001";
    QTest::newRow("1e-7") << 1e-7 << "0.0000001";
    QTest::newRow("2/3000") << 2.0 / 3000 << "0.000666666666666667";
    QTest::newRow("residue of a sum") << 0.1 + 0.2 - 0.3 << "0";
    QTest::newRow("tiny negative") << -1e-20 << "0";
    QTest::newRow("1e15") << 1e15 << "1000000000000000";
    QTest::newRow("1.5e15") << 1.5e15 << "1500000000000000";
    QTest::newRow("rounds up to 1e15") << 999999999999999.9 << "1000000000000000";
    QTest::newRow("19 digits") << 1234567890123456789.0 << "1234567890123460000";
    QTest::newRow("-1e15") << -1e15 << "-1000000000000000";
}

void TestCommon::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    const QString text = fm::numberText(value);
    QCOMPARE(text, expected);
    // What is shown can be typed back.
    double back = 0;
    QVERIFY(fm::parseNumber(text, &back));
    QCOMPARE(fm::numberText(back), expected);
}

void TestCommon::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    QTest::newRow("whole") << "1500" << true << 1500.0;
    QTest::newRow("blanks around") << "  12.5 " << true << 12.5;
    QTest::newRow("minus") << "-3" << true << -3.0;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("minus point") << "-.25" << true << -0.25;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("full-width") << QString::fromUtf16(u"１２．５") << true << 12.5;
    QTest::newRow("full-width minus") << QString::fromUtf16(u"－８") << true << -8.0;
    QTest::newRow("ideographic blanks") << QString::fromUtf16(u"\u3000１２\u3000") << true << 12.0;
    QTest::newRow("ideographic full stop") << QString::fromUtf16(u"12。5") << true << 12.5;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("point only") << "." << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("sql tail") << "1500,kpjg=0" << false << 0.0;
    QTest::newRow("exponent") << "1e5" << false << 0.0;
    QTest::newRow("exponent upper") << "1E5" << false << 0.0;
    QTest::newRow("thousands") << "1,500" << false << 0.0;
    QTest::newRow("inner blank") << "1 500" << false << 0.0;
    QTest::newRow("two points") << "12.5.1" << false << 0.0;
    QTest::newRow("two signs") << "--5" << false << 0.0;
    QTest::newRow("sign after") << "5-" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("beyond double") << "1" + QString(400, QLatin1Char('0')) << false << 0.0;
}

void TestCommon::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    double out = -99;
    QCOMPARE(fm::parseNumber(text, &out), ok);
    QCOMPARE(out, ok ? expected : -99.0); // untouched on refusal
}

void TestCommon::parseWholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("plain") << "42" << true << qint64(42);
    QTest::newRow("blanks, minus") << " -7 " << true << qint64(-7);
    QTest::newRow("full-width") << QString::fromUtf16(u"＋１２") << true << qint64(12);
    QTest::newRow("largest") << "9223372036854775807" << true
                             << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << "-9223372036854775808" << true
                              << std::numeric_limits<qint64>::min();
    QTest::newRow("overflow") << "9223372036854775808" << false << qint64(0);
    QTest::newRow("underflow") << "-9223372036854775809" << false << qint64(0);
    QTest::newRow("decimal") << "1.0" << false << qint64(0);
    QTest::newRow("exponent") << "1e3" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("sign only") << "+" << false << qint64(0);
    QTest::newRow("trailing letter") << "12a" << false << qint64(0);
}

void TestCommon::parseWholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, expected);
    qint64 out = -99;
    QCOMPARE(fm::parseWholeNumber(text, &out), ok);
    QCOMPARE(out, ok ? expected : qint64(-99));
}

void TestCommon::foldFullWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code") << QString::fromUtf16(u"ＡＢＣ０１") << "ABC01";
    QTest::newRow("lower case") << QString::fromUtf16(u"ｚｊ００１") << "zj001";
    QTest::newRow("range ends") << QString::fromUtf16(u"！～") << "!~";
    QTest::newRow("ideographic blank") << QString::fromUtf16(u"Ａ\u3000Ｂ") << "A B";
    QTest::newRow("untouched") << QString::fromUtf16(u"饲料。￥｟") << QString::fromUtf16(u"饲料。￥｟");
}

void TestCommon::foldFullWidth()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(fm::foldFullWidth(text), expected);
}

// ---- dates ---------------------------------------------------------------

void TestCommon::parseDateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("stored form") << "2018-04-19" << "2018-04-19";
    QTest::newRow("slashes") << "2018/04/19" << "2018-04-19";
    QTest::newRow("dots") << "2018.04.19" << "2018-04-19";
    QTest::newRow("blanks around") << " 2018-04-19 " << "2018-04-19";
    QTest::newRow("full-width") << QString::fromUtf16(u"２０１８－０４－１９") << "2018-04-19";
    QTest::newRow("leap day") << "2020-02-29" << "2020-02-29";

    QTest::newRow("unpadded") << "2018-4-19" << "";
    QTest::newRow("mixed separators") << "2018-04/19" << "";
    QTest::newRow("no such day") << "2018-02-30" << "";
    QTest::newRow("not a leap year") << "2019-02-29" << "";
    QTest::newRow("month 13") << "2018-13-01" << "";
    QTest::newRow("no separators") << "20180419" << "";
    QTest::newRow("two-digit year") << "18-04-19" << "";
    QTest::newRow("with time") << "2018-04-19 10:00:00" << "";
    QTest::newRow("blank mask") << "    -  -  " << "";
    QTest::newRow("empty") << "" << "";
}

void TestCommon::parseDateText()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    const QDate d = fm::parseDateText(text);
    QCOMPARE(d.isNull(), stored.isEmpty());
    QCOMPARE(dateText(d), stored);
}

void TestCommon::readDateTime_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected"); // canonical text; empty: null
    const QDateTime moment(QDate(2018, 4, 19), QTime(8, 5, 3));
    QTest::newRow("QDateTime") << QVariant(moment) << "2018-04-19 08:05:03";
    QTest::newRow("QDate") << QVariant(QDate(2018, 4, 19)) << "2018-04-19 00:00:00";
    QTest::newRow("canonical text") << QVariant("2018-04-19 08:05:03") << "2018-04-19 08:05:03";
    QTest::newRow("ISO text") << QVariant("2018-04-19T08:05:03") << "2018-04-19 08:05:03";
    QTest::newRow("ISO with ms") << QVariant("2018-04-19T08:05:03.000") << "2018-04-19 08:05:03";
    QTest::newRow("date text") << QVariant("2018-04-19") << "2018-04-19 00:00:00";
    QTest::newRow("UTC text") << QVariant("2018-04-19T08:05:03Z")
                              << dateTimeText(QDateTime(QDate(2018, 4, 19), QTime(8, 5, 3), Qt::UTC)
                                                  .toLocalTime());
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("empty text") << QVariant("") << "";
    QTest::newRow("garbage") << QVariant("yesterday") << "";
    QTest::newRow("no such day") << QVariant("2018-02-30 10:00:00") << "";
}

void TestCommon::readDateTime()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(dateTimeText(fm::readDateTime(value)), expected);
}

void TestCommon::settlementPeriod_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("monthKey");
    const QDate apr19(2018, 4, 19), may18(2018, 5, 18);
    QTest::newRow("first day") << apr19 << apr19 << may18 << "2018-04";
    QTest::newRow("first of month") << QDate(2018, 5, 1) << apr19 << may18 << "2018-04";
    QTest::newRow("the 18th closes it") << may18 << apr19 << may18 << "2018-04";
    QTest::newRow("the 19th opens the next") << QDate(2018, 5, 19) << QDate(2018, 5, 19)
                                             << QDate(2018, 6, 18) << "2018-05";
    const QDate dec19(2018, 12, 19), jan18(2019, 1, 18);
    QTest::newRow("December 19th") << dec19 << dec19 << jan18 << "2018-12";
    QTest::newRow("New Year's Eve") << QDate(2018, 12, 31) << dec19 << jan18 << "2018-12";
    QTest::newRow("January 10th") << QDate(2019, 1, 10) << dec19 << jan18 << "2018-12";
    QTest::newRow("January 18th") << jan18 << dec19 << jan18 << "2018-12";
    QTest::newRow("January 19th") << QDate(2019, 1, 19) << QDate(2019, 1, 19)
                                  << QDate(2019, 2, 18) << "2019-01";
    QTest::newRow("leap day") << QDate(2020, 2, 29) << QDate(2020, 2, 19)
                              << QDate(2020, 3, 18) << "2020-02";
}

void TestCommon::settlementPeriod()
{
    QFETCH(QDate, day);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, monthKey);
    const Period p = settlementPeriodOf(day);
    QCOMPARE(p.start, start);
    QCOMPARE(p.end, end);
    QCOMPARE(periodMonthKey(p), monthKey);
    QVERIFY(periodEndingIn(end.year(), end.month()) == p);
}

// ---- GBK -----------------------------------------------------------------

void TestCommon::gbkLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ASCII") << "abc 1" << 5;
    QTest::newRow("Chinese") << QString::fromUtf16(u"饲料") << 4;
    QTest::newRow("mixed") << QString::fromUtf16(u"Velan饲料") << 9;
    QTest::newRow("full-width") << QString::fromUtf16(u"ＡＢ") << 4;
    QTest::newRow("Latin-1") << QString::fromUtf16(u"é") << 2;
    QTest::newRow("outside the BMP") << QString::fromUtf16(u"a\U00020000b") << 6;
}

void TestCommon::gbkLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(fm::gbkLength(text), bytes);
}

void TestCommon::gbkLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("expected");
    const QString name = QString::fromUtf16(u"饲料公司");
    QTest::newRow("even cut") << name << 4 << QString::fromUtf16(u"饲料");
    QTest::newRow("mid-character") << name << 5 << QString::fromUtf16(u"饲料");
    QTest::newRow("one byte short") << name << 7 << QString::fromUtf16(u"饲料公");
    QTest::newRow("fits") << name << 8 << name;
    QTest::newRow("mixed") << QString::fromUtf16(u"a饲料") << 2 << "a";
    QTest::newRow("wide enough") << "abc" << 10 << "abc";
    QTest::newRow("zero") << "abc" << 0 << "";
    QTest::newRow("negative") << "abc" << -1 << "";
    const QString pair = QString::fromUtf16(u"a\U00020000b");
    QTest::newRow("pair not split") << pair << 3 << "a";
    QTest::newRow("pair kept") << pair << 5 << QString::fromUtf16(u"a\U00020000");
}

void TestCommon::gbkLeft()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(QString, expected);
    QCOMPARE(fm::gbkLeft(text, bytes), expected);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
