#pragma once
// Text widths in GBK bytes, the unit the mill's column widths and byte rules
// are given in: 1 byte for U+0000-U+007F, 2 for any other character of the
// Basic Multilingual Plane. A character outside it (a surrogate pair) counts
// 4, its size in GB 18030; GBK itself cannot encode it.

#include <QString>

namespace fm {

int gbkLength(const QString &text);
// The longest start of text that fits in bytes GBK bytes, never splitting a
// character (or a surrogate pair). Empty for bytes <= 0.
QString gbkLeft(const QString &text, int bytes);

} // namespace fm
