#include "common/dates.h"

#include "common/numbertext.h"

#include <QRegularExpression>

namespace fm {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

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
