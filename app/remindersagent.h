// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/daystore.h"
#include "notes/reminders.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace ruvo {

class DayFileWatcher;
class DesktopNotifications;
class WallTimer;

// Reminds the user of today's hour lines through the desktop's notifications, with or without
// the window: QtCore, Qt DBus and the day files only. Asleep until the next reminder falls due,
// the day changes, the clock is set, or today's files or the settings file change; what fell
// due while nothing ran (the agent down, the machine asleep) is shown once, as one summary.
class RemindersAgent final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemindersAgent)

public:
    using Clock = std::function<QDateTime()>;

    // A shown reminder is late, and goes to the summary, past this long after it fell due.
    static constexpr qint64 kLateAfter = 60;      // s
    static constexpr qint64 kSnoozeFor = 10 * 60; // s

    // program: what "Ouvrir la page" starts (the window's program).
    RemindersAgent(const QString &notesFolder, const QString &settingsPath, const QString &program,
                   QObject *parent = nullptr);
    ~RemindersAgent() override;

    // The clock the agent goes by; the system's local time unless set.
    void setClock(Clock clock);

    // Asks the notification server what it offers, then looks at today.
    void start();
    // Looks again now: the clock or the files may have changed.
    void lookAgain();

signals:
    // The settings say no reminders: the agent has nothing left to do.
    void turnedOff();
    // Each notification shown: its summary and body (for the log and the tests).
    void shown(const QString &summary, const QString &body);

private:
    void readToday(const QDateTime &now);
    void showDue(const QDateTime &now);
    void arm(const QDateTime &now);
    void act(int notification, const QString &key);

    QString m_folder;
    QString m_settingsPath;
    QString m_program;
    DayStore m_store;
    ReminderLog m_log;
    Clock m_clock;
    DesktopNotifications *m_notifications = nullptr;
    WallTimer *m_timer = nullptr;
    DayFileWatcher *m_dayFiles = nullptr;
    DayFileWatcher *m_settings = nullptr;
    QDate m_today;
    int m_lead = 0;
    QList<Reminder> m_lines;         // today's, as last read
    QList<Reminder> m_snoozed;       // asked again later, due then
    QHash<int, Reminder> m_notified; // the notification's number -> what it showed
    bool m_started = false;
    bool m_toldFailure = false;
};

} // namespace ruvo
