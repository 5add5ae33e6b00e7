// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"

#include <QDate>
#include <QString>

namespace ruvo {

// What the page shows of its date, worked out from one reading of the date text.
struct PageTexts
{
    QString year;    // as the date text writes it, at least two digits
    QString month;   // the month's name
    QString day;     // two digits
    QString weekday; // the day's name
    int dayOfYear = 0;
    int weekNumber = 0;
};

// Throws Error for a date whose week cannot be counted.
PageTexts PageTextsOf(const QDate &date, TLanguage language);

// "Day 65 - Week 10": the line under the notes.
QString DayWeekLine(const PageTexts &texts, const PadWords &words);

} // namespace ruvo
