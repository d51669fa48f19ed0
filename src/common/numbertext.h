#pragma once
// Numbers as the clerk sees and types them.
//
// numberText is the "general decimal text" of the mill: up to 15 significant
// digits, shortest form, always in positional notation (a clerk never meets
// "1.5e+06"). Details:
//   - 0.1 + 0.2 gives "0.3": 15 digits hide the binary noise of double sums;
//   - -0 gives "0";
//   - magnitudes of 1e15 and above are written out in full, digits beyond the
//     15th shown as 0 ("1000000000000000");
//   - magnitudes below 1e-15 give "0": nothing the mill counts (yuan,
//     kilograms, prices per tonne, nutrient fractions) is that small, so such a
//     value is only the residue of a double sum;
//   - infinity and NaN, which no caller should produce, give "inf", "-inf", "nan".
//
// parseNumber accepts what a clerk types: blanks around the text, an optional
// sign, digits and at most one decimal point (".5" and "5." included). Digits,
// point, signs and blank typed through a Chinese input method in full width
// are folded first, and the ideographic full stop "。" counts as the decimal
// point, because Chinese punctuation mode turns the "." key into it. Refused:
// empty text, exponents ("1e5"), thousands separators ("1,500"), inner blanks,
// anything after the number ("1500,kpjg=0"), "inf"/"nan", and values too large
// for a double. On refusal *out is left unchanged.
//
// parseWholeNumber is the same for whole numbers: no decimal point at all, and
// the value must fit in qint64.

#include <QString>
#include <QtGlobal>

namespace fm {

QString numberText(double v);
bool parseNumber(const QString &text, double *out);
bool parseWholeNumber(const QString &text, qint64 *out);

// Full-width ASCII (U+FF01-U+FF5E) to ASCII and the ideographic blank U+3000
// to a blank, for codes and numbers typed through Chinese input methods.
QString foldFullWidth(const QString &text);

} // namespace fm
