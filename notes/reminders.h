// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace ruvo {

// The hour lines of a day remind the user a chosen number of minutes before their hour. The
// choice (kReminderChoices) lives in the settings file, [Rappels] avance=<minutes>; no such
// line: no reminders.
inline constexpr int kLongestReminderLead = 24 * 60;

// The lead the settings file at settingsPath holds; none when reminders are off, and for a
// value that is no number of minutes from 0 to a day.
std::optional<int> ReminderLead(const QString &settingsPath);
// Writes the lead, or takes the line out for none. Throws Error as SettingsFile does.
void SetReminderLead(const QString &settingsPath, std::optional<int> lead);

// One hour line that reminds.
struct Reminder
{
    QDate date;
    int hour = 0;  // 0 to 23
    QString text;  // the line, as the page shows it
    QDateTime due; // the hour less the lead, in local time

    // "10:00"
    QString hourText() const;
    // What tells this line's text at this hour from any other, for the log.
    QByteArray key() const;
};

// The reminders of the hour lines of date (rows counted from startTime; a row past 23:00 is
// another day's and reminds nothing), earliest first; blank lines remind nothing.
QList<Reminder> RemindersOf(const QDate &date, const std::array<QString, kHourRows> &hours,
                            int startTime, int lead);

// Which reminders of the newest day were shown already, for one notes folder, kept in the
// user's state folder so that a line is never shown twice, whatever stopped or started
// meanwhile. A day's log replaces the day before's.
class ReminderLog final
{
public:
    explicit ReminderLog(const QString &notesFolder);

    QString path() const { return m_path; }
    bool contains(const Reminder &reminder) const;
    // Adds them and writes the log whole; false when it cannot be written (they then count as
    // shown for this run only).
    bool add(const QList<Reminder> &reminders);

private:
    QString m_path;
    QDate m_date;
    QSet<QByteArray> m_keys;
};

} // namespace ruvo
