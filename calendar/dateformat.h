// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QChar>
#include <QString>

namespace ruvo {

// The process-wide date format: the short date pattern and the date separator.
// Patterns use "d"/"dd" for the day, "m"/"mm" for the month, "yy"/"yyyy" for the year and
// "/" for the date separator; any other character stands for itself. The main window sets
// the pattern to "dd/mm/yyyy" at start-up; nothing else changes it.

QString ShortDateFormat();
void setShortDateFormat(const QString &pattern);

// The separator is read from the user's locale the first time it is needed and then kept
// for the whole run, so that date texts never change their form while the program runs.
QChar DateSeparator();
void setDateSeparator(QChar separator);

// The separator a locale name ("de_DE.UTF-8", "fr_FR", "C") uses in its short dates; "/"
// when the locale is C or POSIX, unknown, or has none or a blank.
QChar dateSeparatorForLocale(const QString &localeName);

// The separator of the process's time locale, from LC_ALL, else LC_TIME, else LANG.
QChar localeDateSeparator();

// Writes a date with a pattern as described above.
QString formatDate(int year, int month, int day, const QString &pattern, QChar separator);

} // namespace ruvo
