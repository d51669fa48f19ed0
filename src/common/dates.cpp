#include "common/dates.h"

#include "common/numbertext.h"

#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

namespace fm {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Digits at [at, at + n) of text as a number, or -1.
int digitsAt(const QString &text, int at, int n)
{
    int v = 0;
    for (int i = at; i < at + n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" read digit by digit: the date-time
// columns are read on every row of a grid, and the format parser costs many
// times the rest of the row.
bool readCanonical(const QString &text, QDate *date, QTime *time)
{
    if (text.size() != 10 && text.size() != 19) return false;
    if (text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')) return false;
    *date = QDate(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    if (!date->isValid()) return false;
    if (text.size() == 10) {
        *time = QTime(0, 0);
        return true;
    }
    if (text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':') || text.at(16) != QLatin1Char(':'))
        return false;
    *time = QTime(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    return time->isValid();
}

} // namespace

void readLocalTimesWithoutZoneLookups()
{
    // Without TZ, the C library checks the zone file on every conversion of
    // a local time; naming the same file once makes it read it once.
#ifdef Q_OS_UNIX
    static const bool done = [] {
        if (qEnvironmentVariableIsSet("TZ")) return true;
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
        tzset();
        return true;
    }();
    Q_UNUSED(done);
#endif
}

QString dateText(QDate d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QDate parseDateText(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{4})([-/.])([0-9]{2})\\2([0-9]{2})$"));
    const QRegularExpressionMatch m = pattern.match(foldFullWidth(text).trimmed());
    if (!m.hasMatch())
        return QDate();
    // QDate is null when the day does not exist (2018-02-30).
    return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
}

QString monthText(QDate d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM")) : QString();
}

QString dateTimeText(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(kDateTimeFormat) : QString();
}

QDateTime readDateTime(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QDateTime();
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    default:
        break;
    }

    const QString text = value.toString().trimmed();
    QDate date;
    QTime time;
    if (readCanonical(text, &date, &time))
        return QDateTime(date, time);
    QDateTime dt = QDateTime::fromString(text, kDateTimeFormat);
    if (dt.isValid())
        return dt;
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    // The ISO form wants the "T"; a blank in its place is accepted too.
    QString iso = text;
    if (iso.size() > 10 && iso.at(10) == QLatin1Char(' '))
        iso[10] = QLatin1Char('T');
    dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!dt.isValid())
        return QDateTime();
    return dt.timeSpec() == Qt::LocalTime ? dt : dt.toLocalTime();
}

Period settlementPeriodOf(QDate d)
{
    if (!d.isValid())
        return {};
    const QDate firstOfMonth(d.year(), d.month(), 1);
    const QDate startMonth = d.day() >= 19 ? firstOfMonth : firstOfMonth.addMonths(-1);
    const QDate endMonth = startMonth.addMonths(1);
    return {QDate(startMonth.year(), startMonth.month(), 19),
            QDate(endMonth.year(), endMonth.month(), 18)};
}

Period periodEndingIn(int year, int month)
{
    return settlementPeriodOf(QDate(year, month, 18));
}

QString periodMonthKey(const Period &p)
{
    return monthText(p.start);
}

} // namespace fm
