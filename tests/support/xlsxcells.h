#pragma once
// The cell values of an exported spreadsheet's first sheet, as text for
// golden files: one line per row, "A1=text" cells separated by " | ",
// numbers as stored (shortest form). Reads the file with unzip.

#include <QString>

namespace fm::test {

// Empty, with a warning, when the file cannot be read.
QString xlsxCells(const QString &path);

} // namespace fm::test
