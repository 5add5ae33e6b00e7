// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarnames.h"

#include <QLocale>

#include <array>

namespace ruvo {

namespace {

struct CalendarNameTable
{
    std::array<QString, 7> shortDays;
    std::array<QString, 7> longDays;
    std::array<QString, 12> shortMonths;
    std::array<QString, 12> longMonths;

    CalendarNameTable() { fillFromLocale(); }

    void fillFromLocale()
    {
        const QLocale locale;
        for (int weekday = 1; weekday <= 7; ++weekday) {
            const int qtDay = weekday == 1 ? 7 : weekday - 1; // Qt counts Monday 1 ... Sunday 7
            shortDays[std::size_t(weekday - 1)] = locale.dayName(qtDay, QLocale::ShortFormat);
            longDays[std::size_t(weekday - 1)] = locale.dayName(qtDay, QLocale::LongFormat);
        }
        for (int month = 1; month <= 12; ++month) {
            shortMonths[std::size_t(month - 1)] = locale.monthName(month, QLocale::ShortFormat);
            longMonths[std::size_t(month - 1)] = locale.monthName(month, QLocale::LongFormat);
        }
    }
};

CalendarNameTable &nameTable()
{
    static CalendarNameTable table;
    return table;
}

template<std::size_t N> QString entry(const std::array<QString, N> &names, int index)
{
    if (index < 1 || index > int(N))
        return {};
    return names[std::size_t(index - 1)];
}

} // namespace

QString CalendarShortDayName(int weekday)
{
    return entry(nameTable().shortDays, weekday);
}

QString CalendarLongDayName(int weekday)
{
    return entry(nameTable().longDays, weekday);
}

QString CalendarShortMonthName(int month)
{
    return entry(nameTable().shortMonths, month);
}

QString CalendarLongMonthName(int month)
{
    return entry(nameTable().longMonths, month);
}

void InstallCalendarNames(TLanguage language)
{
    const TLanguage l = resolvedLanguage(language);
    CalendarNameTable &table = nameTable();
    for (int weekday = 1; weekday <= 7; ++weekday) {
        table.shortDays[std::size_t(weekday - 1)] = ShortDayName(weekday, l);
        table.longDays[std::size_t(weekday - 1)] = DayName(weekday, l);
    }
    for (int month = 1; month <= 12; ++month) {
        table.shortMonths[std::size_t(month - 1)] = ShortMonthName(month, l);
        table.longMonths[std::size_t(month - 1)] = MonthName(month, l);
    }
}

void RestoreLocaleCalendarNames()
{
    nameTable().fillFromLocale();
}

} // namespace ruvo
