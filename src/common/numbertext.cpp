#include "common/numbertext.h"

#include <cmath>
#include <limits>

namespace fm {

namespace {

// Rewrites the exponent form that QString::number(v, 'g', 15) uses at and
// above 1e15 ("1.5e+15") as positional digits ("1500000000000000").
// Only called for non-negative exponents.
QString expandPositiveExponent(const QString &g)
{
    const int e = g.indexOf(QLatin1Char('e'));
    QString mantissa = g.left(e);
    const int exponent = g.mid(e + 1).toInt();
    int pointAt = mantissa.indexOf(QLatin1Char('.'));
    if (pointAt < 0)
        pointAt = mantissa.size();
    QString digits = mantissa;
    digits.remove(QLatin1Char('.'));
    const int integerDigits = pointAt + exponent;
    if (digits.size() < integerDigits)
        digits.append(QString(integerDigits - digits.size(), QLatin1Char('0')));
    else if (digits.size() > integerDigits)
        digits.insert(integerDigits, QLatin1Char('.'));
    return digits;
}

// Rewrites "1.23e-07" as "0.000000123".
QString expandNegativeExponent(const QString &g)
{
    const int e = g.indexOf(QLatin1Char('e'));
    QString digits = g.left(e);
    digits.remove(QLatin1Char('.'));
    const int exponent = g.mid(e + 1).toInt(); // < 0
    return QLatin1String("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Trims and folds the text and splits off an optional sign. Returns the rest,
// with the ideographic full stop turned into a decimal point.
QString prepareNumber(const QString &text, bool *negative)
{
    QString s = foldFullWidth(text).trimmed();
    s.replace(QChar(0x3002), QLatin1Char('.'));
    *negative = false;
    if (!s.isEmpty() && (s.front() == QLatin1Char('-') || s.front() == QLatin1Char('+'))) {
        *negative = s.front() == QLatin1Char('-');
        s.remove(0, 1);
    }
    return s;
}

} // namespace

QString numberText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("nan");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    if (std::fabs(v) < 1e-15)
        return QStringLiteral("0");

    const bool negative = v < 0;
    QString text = QString::number(std::fabs(v), 'g', 15);
    const int e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        text = text.at(e + 1) == QLatin1Char('-') ? expandNegativeExponent(text)
                                                   : expandPositiveExponent(text);
    }
    return negative ? QLatin1Char('-') + text : text;
}

bool parseNumber(const QString &text, double *out)
{
    bool negative = false;
    const QString s = prepareNumber(text, &negative);
    int digits = 0;
    int points = 0;
    for (QChar c : s) {
        if (isAsciiDigit(c))
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1)
        return false;

    bool ok = false;
    const double magnitude = s.toDouble(&ok); // C locale, whatever the system's
    if (!ok || !std::isfinite(magnitude))
        return false;
    *out = negative ? -magnitude : magnitude;
    return true;
}

bool parseWholeNumber(const QString &text, qint64 *out)
{
    bool negative = false;
    const QString s = prepareNumber(text, &negative);
    if (s.isEmpty())
        return false;
    // Accumulate negatively so that the most negative qint64 fits too.
    qint64 value = 0;
    const qint64 lowest = std::numeric_limits<qint64>::min();
    for (QChar c : s) {
        if (!isAsciiDigit(c))
            return false;
        const int d = c.unicode() - '0';
        if (value < (lowest + d) / 10)
            return false;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == lowest)
            return false;
        value = -value;
    }
    *out = value;
    return true;
}

QString foldFullWidth(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
    }
    return folded;
}

} // namespace fm
