#include "common/capitals.h"

#include <cmath>
#include <cstdlib>

namespace fm {

namespace {

const char16_t kDigits[] = u"零壹贰叁肆伍陆柒捌玖";
const char16_t kUnits[] = u"\0拾佰仟"; // within a group of four digits
const qint64 kCentsLimit = 100000000000000LL; // 12 integer digits

QString integerCapitals(qint64 n)
{
    const QString digits = QString::number(n);
    const int count = digits.size();
    QString out;
    bool zeroPending = false;
    bool groupHasDigit = false;
    for (int i = 0; i < count; ++i) {
        const int position = count - i; // 1 for the units digit
        const int d = digits.at(i).unicode() - '0';
        if (d == 0) {
            zeroPending = true; // written only if a non-zero digit follows
        } else {
            if (zeroPending)
                out += QChar(kDigits[0]);
            zeroPending = false;
            groupHasDigit = true;
            out += QChar(kDigits[d]);
            const int unit = (position - 1) % 4;
            if (unit != 0)
                out += QChar(kUnits[unit]);
        }
        if (position == 9 || position == 5) {
            // The group unit goes before any 零 that continues past it.
            if (groupHasDigit)
                out += position == 9 ? QStringLiteral("亿") : QStringLiteral("万");
            groupHasDigit = false;
        }
    }
    return out + QStringLiteral("元");
}

} // namespace

QString chineseCapitals(double amount)
{
    if (!std::isfinite(amount) || std::fabs(amount) * 100 >= double(kCentsLimit))
        return QString();
    const qint64 signedCents = std::llround(amount * 100);
    const qint64 cents = std::llabs(signedCents);
    if (cents >= kCentsLimit)
        return QString();
    if (cents == 0)
        return QStringLiteral("零");

    QString out;
    if (signedCents < 0)
        out += QStringLiteral("负");
    const qint64 yuan = cents / 100;
    const int jiao = int(cents / 10 % 10);
    const int fen = int(cents % 10);
    if (yuan > 0)
        out += integerCapitals(yuan);
    if (jiao != 0 || fen != 0) {
        out += QChar(kDigits[jiao]) + QStringLiteral("角");
        if (fen != 0)
            out += QChar(kDigits[fen]) + QStringLiteral("分");
    }
    return out + QStringLiteral("整");
}

} // namespace fm
