#pragma once
// How values turn into printed text on a document. Formatting happens once,
// when a document is computed; every output (page, PDF, spreadsheet) then
// shows the same text.

#include <QString>
#include <QVariant>
#include <optional>

namespace fm {

// How a number is printed. The default is the system's general number text:
// 15 significant digits in shortest form, so amounts appear as stored.
struct NumberFormat {
    int decimals = -1;     // -1: full precision; otherwise fixed decimals
    bool grouping = false; // thousands separators (fixed decimals only)

    static NumberFormat full() { return {}; }
    static NumberFormat fixed(int decimals, bool grouping = false) { return {decimals, grouping}; }

    bool isFull() const { return decimals < 0; }
    QString format(double value) const;
    // The same format in spreadsheet notation ("General", "0.00", "#,##0.00").
    QString spreadsheetFormat() const;
};

// What a value is printed as. Auto follows the value's type: numbers as
// numbers, dates as "yyyy-mm-dd", anything else as text.
enum class ValueKind { Auto, Text, Number, Date };

// The numeric value of v: numbers as they are, text parsed (surrounding
// blanks ignored). Empty, non-numeric and non-finite values have none.
std::optional<double> reportNumber(const QVariant &v);

struct FormattedValue {
    QString text;
    std::optional<double> number; // set when the value is printed as a number
};

FormattedValue formatReportValue(const QVariant &v, ValueKind kind = ValueKind::Auto,
                                 const NumberFormat &format = {});

} // namespace fm
