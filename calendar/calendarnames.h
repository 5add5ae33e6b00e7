// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "language.h"

#include <QString>

namespace ruvo {

// The process-wide day and month name lists that the month grid of the date dialog reads.
// They start with the names of the user's locale; InstallCalendarNames overwrites them with
// the names of one of the program's languages, for the rest of the run or until the next call.
// Days are indexed 1 = Sunday ... 7 = Saturday, months 1 ... 12; out of range gives "".
QString CalendarShortDayName(int weekday);
QString CalendarLongDayName(int weekday);
QString CalendarShortMonthName(int month);
QString CalendarLongMonthName(int month);

void InstallCalendarNames(TLanguage language);

// Puts the locale's names back, as at start-up.
void RestoreLocaleCalendarNames();

} // namespace ruvo
