// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Week numbers in constant time.
//
// The program's week numbers come from counting Mondays one by one from Monday 31/12/1979,
// stepping the dates in its own calendar (a leap year every fourth year, no century rule),
// starting each count at 1 and letting it reach 53 only in the years of a fixed table. The
// count is reproduced here arithmetically: dates become serial day numbers of that calendar,
// the Mondays become a lattice of step 7, and the Mondays at which the count falls back to 1
// are worked out at compile time. The stepping can also fail where it lands on a day the
// Gregorian calendar lacks (29/02/2100 ...); those failures are reproduced too.

#include "datetext.h"

#include "error.h"

#include <algorithm>
#include <array>

namespace ruvo {

namespace {

constexpr std::array<int, 22> kLongYears = {1980, 1986, 1992, 1997, 2003, 2008, 2014, 2020,
                                            2025, 2031, 2036, 2042, 2048, 2053, 2059, 2064,
                                            2070, 2076, 2081, 2087, 2092, 2098};

constexpr bool isLongYear(int year)
{
    return std::find(kLongYears.begin(), kLongYears.end(), year) != kLongYears.end();
}

// Serial day number in the stepping calendar; 1 is 01/01/0001.
constexpr qint64 serialOf(int year, int month, int day)
{
    qint64 days = 365 * qint64(year - 1) + (year - 1) / 4 + day;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(m, year);
    return days;
}

struct Ymd
{
    int year;
    int month;
    int day;
};

constexpr Ymd fromSerial(qint64 serial)
{
    const qint64 zeroBased = serial - 1;
    const qint64 cycle = zeroBased / 1461; // four years, the last one leap
    qint64 rest = zeroBased % 1461;
    const qint64 yearInCycle = std::min<qint64>(rest / 365, 3);
    rest -= yearInCycle * 365;
    const int year = int(cycle * 4 + yearInCycle + 1);
    int month = 1;
    while (rest >= DaysInMonth(month, year)) {
        rest -= DaysInMonth(month, year);
        ++month;
    }
    return {year, month, int(rest) + 1};
}

constexpr bool isGregorianDate(const Ymd &d)
{
    if (d.year < 1 || d.year > 9999)
        return false;
    const bool gregorianLeap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    return !(d.month == 2 && d.day == 29 && !gregorianLeap);
}

constexpr qint64 kFirstMonday = serialOf(1979, 12, 31); // Monday number 0 of the count

constexpr int yearOfMonday(qint64 index)
{
    return fromSerial(kFirstMonday + 7 * index).year;
}

// The Monday indices at which the count is 1: the count runs to 52, or to 53 when the Monday
// that would carry 53 lies in a year of the table. Past the table's last year every count is
// 52 long, so the list ends at the first restart after which no Monday reaches the table.
constexpr std::size_t restartCount()
{
    std::size_t count = 1;
    qint64 restart = 0;
    while (yearOfMonday(restart + 52) <= kLongYears.back()) {
        restart += isLongYear(yearOfMonday(restart + 52)) ? 53 : 52;
        ++count;
    }
    return count;
}

constexpr auto kRestarts = [] {
    std::array<qint64, restartCount()> restarts{};
    for (std::size_t j = 1; j < restarts.size(); ++j) {
        const qint64 previous = restarts[j - 1];
        restarts[j] = previous + (isLongYear(yearOfMonday(previous + 52)) ? 53 : 52);
    }
    return restarts;
}();

static_assert(fromSerial(serialOf(2000, 2, 29)).day == 29);
static_assert(fromSerial(serialOf(2100, 3, 1)).month == 3);

// 29 February of the century years the stepping calendar has and the Gregorian one does not.
// The count fails if one of them is a Monday at or before the last one it reaches.
bool landsOnMissingDay(qint64 lastMonday)
{
    const int lastYear = fromSerial(lastMonday).year;
    for (int year = 2100; year <= lastYear; year += 100) {
        if (year % 400 == 0)
            continue;
        const qint64 day = serialOf(year, 2, 29);
        if (day <= lastMonday && (day - kFirstMonday) % 7 == 0)
            return true;
    }
    return false;
}

} // namespace

int WeekNumber(const QString &text)
{
    return WeekNumber(TextToDate(text));
}

int WeekNumber(const QDate &date)
{
    const int mondayBased = date.dayOfWeek(); // Monday 1 ... Sunday 7
    const qint64 monday = serialOf(date.year(), date.month(), date.day()) - (mondayBased - 1);
    if (mondayBased > 1 && !isGregorianDate(fromSerial(monday)))
        ThrowDateEncodeError();

    // The count always takes at least one step, then stops at the first Monday on or after
    // the Monday of the date.
    const qint64 index = std::max<qint64>(1, (monday - kFirstMonday + 6) / 7);
    const qint64 lastMonday = kFirstMonday + 7 * index;
    if (!isGregorianDate(fromSerial(lastMonday)) || landsOnMissingDay(lastMonday))
        ThrowDateEncodeError();

    const qint64 finalRestart = kRestarts.back();
    if (index >= finalRestart)
        return int((index - finalRestart) % 52) + 1;
    const auto next = std::upper_bound(kRestarts.begin(), kRestarts.end(), index);
    return int(index - *(next - 1)) + 1;
}

} // namespace ruvo
