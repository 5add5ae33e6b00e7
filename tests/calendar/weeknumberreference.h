// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The week count exactly as the program first defined it: Monday by Monday from Monday
// 31/12/1979, through date texts. Slow (about 52 steps per year after 1980) but obviously
// right; the constant-time WeekNumber is checked and benchmarked against it.

#include "calendar/datetext.h"

#include <QString>

#include <algorithm>
#include <array>

namespace ruvo::reference {

inline bool isLongWeekYear(int year)
{
    static constexpr std::array<int, 22> years = {1980, 1986, 1992, 1997, 2003, 2008, 2014, 2020,
                                                  2025, 2031, 2036, 2042, 2048, 2053, 2059, 2064,
                                                  2070, 2076, 2081, 2087, 2092, 2098};
    return std::find(years.begin(), years.end(), year) != years.end();
}

// The Monday of the week that holds the date, as a date text.
inline QString mondayOf(const QString &text)
{
    int weekday = WeekdayOf(text);
    weekday = weekday == 1 ? 7 : weekday - 1; // Monday 1 ... Sunday 7
    return weekday > 1 ? SubtractDays(text, weekday - 1) : text;
}

// The Monday-by-Monday count. step() advances one Monday; the count can be resumed for a
// later date, which lets a test walk a whole century in one pass.
class WeekCounter
{
public:
    // Stops at the first Monday on or after `monday`, taking at least one step in all.
    int countTo(const QString &monday)
    {
        do {
            step();
        } while (!DateOnOrAfter(m_week, monday));
        return m_count;
    }

    // For a later date on a counter that has already stopped: the stepping resumes where it
    // left off, which gives the same result as a fresh count.
    int resumeTo(const QString &monday)
    {
        while (!DateOnOrAfter(m_week, monday))
            step();
        return m_count;
    }

private:
    void step()
    {
        m_week = AddDays(m_week, 7);
        ++m_count;
        const int longest = isLongWeekYear(DatePart(m_week, 2).toInt()) ? 53 : 52;
        if (longest < m_count)
            m_count = 1;
    }

    QString m_week = DateToText(EncodeDate(1979, 12, 31));
    int m_count = 1;
};

inline int weekNumberByStepping(const QString &text)
{
    WeekCounter counter;
    return counter.countTo(mondayOf(text));
}

} // namespace ruvo::reference
