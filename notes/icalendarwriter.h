// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtPlugin>

namespace ruvo {

// An hour row that holds text, at the day and hour it names.
struct HourEntry
{
    int hour = 0;
    QString label; // as the page's hour scale shows it
    QString text;
};

// What one date holds: its notes lines (blank lines at either end left out) and its hours.
struct ExportDay
{
    QDate date;
    QStringList notes;
    QList<HourEntry> hours;
    // The notes as an all-day event rather than a journal entry, for calendars that drop
    // journal entries.
    bool notesAsEvent = false;
    int alarmLead = -1; // minutes before each hour; -1: no alarm
};

// The iCalendar writer lives in a module of its own, loaded at the first export to a calendar
// file: libical would otherwise be loaded and relocated at every start, for a command most
// sessions never use.
//
// A calendar file is written as it is made, a day at a time, so that a folder of decades never
// has to be held whole: calendarBegin(), the components of each day, calendarEnd(). Put
// together, they are the bytes libical writes for the whole calendar.
class ICalendarWriter
{
public:
    virtual ~ICalendarWriter() = default;

    // The calendar's opening lines, its version and product, and its closing line.
    virtual QByteArray calendarBegin() const = 0;
    virtual QByteArray calendarEnd() const = 0;

    // Appends the day's components to text: a VJOURNAL when it has notes (or an all-day VEVENT,
    // with notesAsEvent), then a one-hour VEVENT per hour entry, in floating local time, each
    // stamped (DTSTAMP) with stamp, the time of the export in UTC. With an alarmLead, each hour
    // VEVENT holds a VALARM that shows its text that many minutes before the hour; the notes
    // never ring. False when libical cannot write them. Days may be written on several threads
    // at once.
    virtual bool appendComponents(const ExportDay &day, const QDateTime &stamp,
                                  QByteArray &text) const = 0;
};

// File name of the module, without the platform's prefix and suffix.
inline constexpr auto kICalendarModule = "ruvo_icalendar";

} // namespace ruvo

// The version names the interface: a module built for another one is not taken.
#define RuvoICalendarWriter_iid "ruvo.ICalendarWriter/4.0"
Q_DECLARE_INTERFACE(ruvo::ICalendarWriter, RuvoICalendarWriter_iid)
