// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagetexts.h"

#include "calendar/datetext.h"

namespace ruvo {

PageTexts PageTextsOf(const QDate &read, TLanguage language)
{
    const int weekNumber = WeekNumber(read);
    const int weekday = read.dayOfWeek() % 7 + 1; // 1 = Sunday
    return {ZeroPad(quint32(read.year()), 2),
            MonthName(read.month(), language),
            ZeroPad(quint32(read.day()), 2),
            DayName(weekday, language),
            DayOfYear(read),
            weekNumber};
}

QString DayWeekLine(const PageTexts &texts, const PadWords &words)
{
    return words.day + u' ' + QString::number(texts.dayOfYear) + u" - " + words.week + u' ' +
           QString::number(texts.weekNumber);
}

} // namespace ruvo
