// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <array>

namespace ruvo {
Q_NAMESPACE

// The languages of the page texts. laDefault follows the system's language, looked up anew
// each time it is used.
enum TLanguage : quint8 {
    laDefault = 0,
    laEnglish = 1,
    laGerman = 2,
    laFrench = 3,
    laItalian = 4,
    laSpanish = 5,
};
Q_ENUM_NS(TLanguage)

// The language named by a language abbreviation or locale name: its first two letters,
// upper-cased, "DE", "ES", "FR", "IT" or "EN"; anything else is English.
TLanguage languageFromAbbreviation(const QString &abbreviation);

// The language of the process's messages, as gettext picks it: the first of the languages
// listed in LANGUAGE that the page speaks, unless the locale is the C one; else that of the
// messages locale, LC_ALL, else LC_MESSAGES, else LANG. Read at every call so that a change
// shows at the next use. Never laDefault.
TLanguage SystemLanguage();

// laDefault replaced by SystemLanguage(); every other value as it is.
TLanguage resolvedLanguage(TLanguage language);

// Names by weekday (1 = Sunday ... 7 = Saturday) and month (1 ... 12); an empty text for an
// index out of range.
QString DayName(int weekday, TLanguage language);
QString ShortDayName(int weekday, TLanguage language);
QString MonthName(int month, TLanguage language);
QString ShortMonthName(int month, TLanguage language);

// The page's own words: the labels of the line under the notes ("Day 65 - Week 10") and the
// hints of its three hot areas.
struct PadWords
{
    QString day;
    QString week;
    QString prior;
    QString next;
    QString go;
    QString notes; // what a screen reader calls the notes editor
};
// laDefault is the system's language, looked up at the call.
PadWords PadWordsOf(TLanguage language);

// The page's commands beyond its corners (the keys, the wheel, its context menu, the search
// and the export), and the names of their keys as the keyboards of the language label them.
struct PadCommandWords
{
    QString previousDay;
    QString nextDay;
    QString today;
    QString goToDate;
    QString search;
    QString exportNotes;
    QString previousKey;       // Ctrl+Page Up
    QString nextKey;           // Ctrl+Page Down
    QString todayKey;          // Alt+Home
    QString goToDateKey;       // Ctrl+G
    QString searchKey;         // Ctrl+F
    QString exportKey;         // Ctrl+E
    QString searchTitle;       // the search window's caption
    QString searchPlaceholder; // what its empty field says
    QString noMatch;           // when no day holds the text
    QString exportTitle;       // the export's file dialog
    QString notesAsEvents;     // its choice of a calendar file whose notes are events
    QString sync;              // sync the notes with the calendar now
    QString syncSettings;      // the sync's settings
};
PadCommandWords PadCommandWordsOf(TLanguage language);

// The page menu's choice of reminders: its title, then "none" and each lead of kReminderChoices.
struct ReminderWords
{
    QString title;
    std::array<QString, 6> choices;
};
// The leads of the choices in minutes, after "none".
inline constexpr std::array<int, 5> kReminderChoices = {0, 5, 10, 15, 30};
ReminderWords ReminderWordsOf(TLanguage language);

// What a screen reader calls the date dialog's month list, year field and month grid.
struct DateDialogWords
{
    QString month;
    QString year;
    QString days;
    // What a screen reader is told of the year's arrows and of the grid's days.
    QString nextYear;
    QString previousYear;
    QString withNotes;
    QString today;
};
DateDialogWords DateDialogWordsOf(TLanguage language);

// The caption of the date dialog's cancel button, with its access key ("&Annuler").
QString CancelCaption(TLanguage language);

// Texts of a date: 0 "Vendredi 6 Mars 1998", 1 "6 Mars 1998", 2 the date text, 3 the day with
// two digits, 4 the day name, 5 the month name, 6 the year; an empty text for other formats.
QString DateTextInFormat(const QDate &date, int format, TLanguage language);

// The same for today's date from the system clock.
QString TodayText(int format, TLanguage language);

} // namespace ruvo
