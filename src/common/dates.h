#pragma once
// Dates as the tables hold them: text "yyyy-mm-dd", compared as text, so always
// zero-padded; months as "yyyy-mm"; date-times in one canonical text form.
//
// The settlement period runs from the 19th of one month to the 18th of the
// next. Its month key (`khzqk`.`rq`) names the month of its start: the period
// 2018-04-19 .. 2018-05-18 is "2018-04".

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace fm {

// "yyyy-mm-dd"; empty for a null date.
QString dateText(QDate d);
// "yyyy-mm-dd" as stored, or "yyyy/mm/dd" and "yyyy.mm.dd" as users type it
// (full-width characters folded, blanks around ignored). Month and day take
// two digits each and both separators must be the same. Anything else, or a
// day that does not exist, gives a null date.
QDate parseDateText(const QString &text);
// "yyyy-mm"; empty for a null date.
QString monthText(QDate d);

// "yyyy-MM-dd HH:mm:ss", the one form written into date-time columns; empty
// for a null value.
QString dateTimeText(const QDateTime &dt);
// A date-time column's value as a driver hands it back: a QDateTime, a QDate
// (midnight), or text in the canonical form, in ISO form with "T" (optionally
// with milliseconds and a zone, which is converted to local time), or a bare
// "yyyy-mm-dd". Anything else gives a null QDateTime.
QDateTime readDateTime(const QVariant &value);

// Local date-times are converted without the C library looking at the
// time-zone file each time: sets TZ to the system's zone file when it is not
// set (the first session does this; a program may call it earlier, before
// it starts threads).
void readLocalTimesWithoutZoneLookups();

struct Period {
    QDate start; // a 19th
    QDate end;   // the 18th of the following month
    bool operator==(const Period &o) const { return start == o.start && end == o.end; }
};

// The settlement period that d falls in: the 18th still belongs to the period
// that began on the 19th of the month before.
Period settlementPeriodOf(QDate d);
// The period that ends on the 18th of the given month.
Period periodEndingIn(int year, int month);
// "yyyy-mm" of the period's start.
QString periodMonthKey(const Period &p);

} // namespace fm
