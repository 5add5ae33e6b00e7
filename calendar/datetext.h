// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>

namespace ruvo {

// Every date moves through the program as a date text in the short date pattern
// ("06/03/1998"). These functions read, write and step such texts. Reading a text that is
// not a date throws Error("'<text>' is not a valid date"); stepping onto a day the Gregorian
// calendar does not have throws Error("Invalid argument to date encode").

QString DateToText(const QDate &date);

// Reads day, separator, month and optionally separator and year. Blanks may stand before
// every number and separator; a number stops at its first non-digit or once it reaches 1000.
// A missing year is the current one; a year below 100 lies in the current century.
QDate TextToDate(const QString &text);
QDate TextToDate(const QString &text, int currentYear);

// 1 = Sunday ... 7 = Saturday.
int WeekdayOf(const QString &text);

// 0: the day as two digits, 1: the month as two digits, 2: the year. Any other part gives
// an empty text (the text is still read, so a bad one still throws).
QString DatePart(const QString &text, int part);

// Every fourth year, with no century exception. This is the calendar the program steps
// dates in; within 1901 to 2099 it agrees with the Gregorian one.
constexpr bool IsLeapYear(int year)
{
    return year % 4 == 0;
}

// 28 to 31 for months 1 to 12; 0 for any other month.
constexpr int DaysInMonth(int month, int year)
{
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

// Step a date text by whole days, day by day with DaysInMonth. A count below 1 steps nothing.
QString AddDays(const QString &text, int count);
QString SubtractDays(const QString &text, int count);

// True when a is the same day as b or a later one.
bool DateOnOrAfter(const QString &a, const QString &b);

// 1 for the first of January; counts months with DaysInMonth.
int DayOfYear(const QString &text);
int DayOfYear(const QDate &date);

// The week of the year, 1 to 53, counted Monday to Sunday from Monday 31/12/1979 with the
// program's own table of 53-week years (not ISO 8601). Every date before 07/01/1980 is in
// week 2.
int WeekNumber(const QString &text);
int WeekNumber(const QDate &date);

// The decimal text of value with leading zeros up to width (widths above 8 pad as 8 does).
QString ZeroPad(quint32 value, int width);

// Builds a date from its fields, throwing the date-encode error for a day the Gregorian
// calendar of years 1 to 9999 does not have.
QDate EncodeDate(int year, int month, int day);
// Throws that error.
[[noreturn]] void ThrowDateEncodeError();

} // namespace ruvo
