#pragma once

#include "calendar/language.h"

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

// Throws Error for a text that is not a date, or whose week cannot be counted.
PageTexts PageTextsOf(const QString &date, TLanguage language);

// "Day 65 - Week 10": the line under the notes.
QString DayWeekLine(const PageTexts &texts, const PadWords &words);

} // namespace ruvo
