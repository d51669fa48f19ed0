#include "reports/reportvalue.h"

#include "common/dates.h"
#include "common/numbertext.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace fm {

namespace {

bool isIntegral(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isNumeric(const QVariant &v)
{
    if (isIntegral(v))
        return true;
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// "-0", "-0.00" and the like print without the sign.
QString withoutNegativeZero(QString text)
{
    if (!text.startsWith(u'-'))
        return text;
    for (int i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'0' && c != u'.' && c != u',')
            return text;
    }
    return text.mid(1);
}

QString datePart(const QString &text)
{
    // Stored dates may carry a time ("2024-05-18T00:00:00"); the document
    // prints the date only.
    if (text.size() >= 10 && QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")).isValid())
        return text.left(10);
    return text;
}

} // namespace

QString NumberFormat::format(double value) const
{
    if (!std::isfinite(value))
        return QString();
    if (isFull())
        return numberText(value);
    if (!grouping)
        return withoutNegativeZero(QString::number(value, 'f', decimals));
    QLocale c(QLocale::C);
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return withoutNegativeZero(c.toString(value, 'f', decimals));
}

QString NumberFormat::spreadsheetFormat() const
{
    if (isFull())
        return QStringLiteral("General");
    QString fmt = grouping ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (decimals > 0)
        fmt += u'.' + QString(decimals, u'0');
    return fmt;
}

std::optional<double> reportNumber(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    double d = 0;
    bool ok = false;
    if (isNumeric(v)) {
        d = v.toDouble();
        ok = true;
    } else if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        d = v.toString().trimmed().toDouble(&ok);
    }
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

FormattedValue formatReportValue(const QVariant &v, ValueKind kind, const NumberFormat &format)
{
    if (!v.isValid() || v.isNull())
        return {};

    const int type = v.typeId();
    if (kind == ValueKind::Auto) {
        if (isNumeric(v))
            kind = ValueKind::Number;
        else if (type == QMetaType::QDate)
            kind = ValueKind::Date;
        else if (type == QMetaType::QDateTime)
            return {v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), std::nullopt};
        else
            kind = ValueKind::Text;
    }

    switch (kind) {
    case ValueKind::Number: {
        const std::optional<double> n = reportNumber(v);
        if (!n)
            return {isNumeric(v) ? QString() : v.toString(), std::nullopt};
        // Whole numbers of integer type print exactly, however long.
        if (isIntegral(v) && format.isFull())
            return {v.toString(), n};
        return {format.format(*n), n};
    }
    case ValueKind::Date:
        if (type == QMetaType::QDate)
            return {dateText(v.toDate()), std::nullopt};
        if (type == QMetaType::QDateTime)
            return {dateText(v.toDateTime().date()), std::nullopt};
        return {datePart(v.toString()), std::nullopt};
    case ValueKind::Text:
    case ValueKind::Auto:
        break;
    }
    if (type == QMetaType::Double || type == QMetaType::Float)
        return {NumberFormat::full().format(v.toDouble()), std::nullopt};
    return {v.toString(), std::nullopt};
}

} // namespace fm
