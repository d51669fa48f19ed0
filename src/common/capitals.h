#pragma once
// An amount of money in Chinese capital numerals (金额大写), as written on
// payment rows and receipts: "壹拾贰元叁角伍分整".
//
// The amount is first rounded to whole cents (12.35 is stored as
// 12.3499999…, and must still read 叁角伍分). Then:
//   - 0 is "零";
//   - the integer part is written digit by digit with its position unit
//     (拾 佰 仟, then 万 and 亿 for the groups from the 5th and the 9th digit);
//     a run of inner zeros is one 零, written after the group unit it crosses;
//     trailing zeros are not written; the integer part ends with 元;
//   - a non-zero fraction is the 角 digit with 角 (零角 when it is zero), then
//     the 分 digit with 分 unless it is zero;
//   - the text ends with 整; a negative amount starts with 负.
// Integer parts of up to 12 digits (below 1 000 000 000 000 yuan) are
// converted; beyond that, and for infinity or NaN, the result is empty, and a
// caller must refuse the amount.

#include <QString>

namespace fm {

QString chineseCapitals(double amount);

} // namespace fm
