#include "common/gbk.h"

namespace fm {

namespace {

// Bytes of the character starting at i, and how many QChars it takes.
int charBytes(const QString &text, int i, int *units)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return 4;
    }
    *units = 1;
    return c.unicode() < 0x80 ? 1 : 2;
}

} // namespace

int gbkLength(const QString &text)
{
    int bytes = 0;
    for (int i = 0, units = 0; i < text.size(); i += units)
        bytes += charBytes(text, i, &units);
    return bytes;
}

QString gbkLeft(const QString &text, int bytes)
{
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        int units = 0;
        const int n = charBytes(text, i, &units);
        if (used + n > bytes)
            break;
        used += n;
        i += units;
    }
    return text.left(i);
}

} // namespace fm
