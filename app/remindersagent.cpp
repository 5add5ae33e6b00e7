// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "remindersagent.h"

#include "mainpad.h"

#include "notes/dayfilewatcher.h"
#include "platform/desktopnotifications.h"
#include "platform/walltimer.h"

#include "calendar/error.h"

#include <QProcess>

#include <algorithm>

#include <cstdio>

namespace ruvo {

namespace {

const QString kOpenKey = QStringLiteral("open");
const QString kSnoozeKey = QStringLiteral("snooze");

QString missedSummary(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 rappel manqué")
                      : QString::number(count) + QStringLiteral(" rappels manqués");
}

} // namespace

RemindersAgent::RemindersAgent(const QString &notesFolder, const QString &settingsPath,
                               const QString &program, QObject *parent)
    : QObject(parent), m_folder(notesFolder), m_settingsPath(settingsPath), m_program(program),
      m_store(notesFolder, kMainPadExtension.toString()), m_log(notesFolder),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_notifications(new DesktopNotifications(QStringLiteral("Ruvo"),
                                               QStringLiteral("org.example.Ruvo"),
                                               QStringLiteral("org.example.Ruvo"), this)),
      m_timer(new WallTimer(this)), m_dayFiles(new DayFileWatcher(this)),
      m_settings(new DayFileWatcher(this))
{
    connect(m_notifications, &DesktopNotifications::ready, this, [this] {
        m_started = true;
        lookAgain();
    });
    connect(m_notifications, &DesktopNotifications::actionInvoked, this, &RemindersAgent::act);
    connect(m_notifications, &DesktopNotifications::failed, this, [this](const QString &reason) {
        if (!std::exchange(m_toldFailure, true))
            std::fprintf(stderr, "Ruvo : les rappels ne peuvent être montrés : %s\n",
                         qPrintable(reason));
    });
    connect(m_timer, &WallTimer::timeout, this, &RemindersAgent::lookAgain);
    connect(m_timer, &WallTimer::clockChanged, this, &RemindersAgent::lookAgain);
    connect(m_dayFiles, &DayFileWatcher::changed, this, &RemindersAgent::lookAgain);
    connect(m_settings, &DayFileWatcher::changed, this, &RemindersAgent::lookAgain);
    m_settings->watch({m_settingsPath});
}

RemindersAgent::~RemindersAgent() = default;

void RemindersAgent::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void RemindersAgent::start()
{
    m_notifications->askCapabilities();
}

void RemindersAgent::lookAgain()
{
    if (!m_started)
        return;
    const QDateTime now = m_clock();
    // What fell due is shown with the lines as they were: a line changed now is a new one.
    showDue(now);
    const std::optional<int> lead = ReminderLead(m_settingsPath);
    if (!lead) {
        m_timer->stop();
        emit turnedOff();
        return;
    }
    const bool leadChanged = *lead != m_lead;
    m_lead = *lead;
    readToday(now);
    if (leadChanged)
        showDue(now);
    arm(now);
}

void RemindersAgent::readToday(const QDateTime &now)
{
    // At the first look, and at the first of a new day, what fell due was missed.
    const bool firstLook = now.date() != m_today;
    if (firstLook) {
        m_today = now.date();
        m_dayFiles->watch({m_store.path(m_today, DayFileKind::Notes),
                           m_store.path(m_today, DayFileKind::TimeFields)});
    }
    QList<Reminder> lines;
    try {
        lines = RemindersOf(m_today, m_store.read(m_today).hours(), kMainPadStartTime, m_lead);
    } catch (const Error &error) {
        // Unreadable for now: the lines known stay, and the next change is looked at again.
        std::fprintf(stderr, "Ruvo : %s\n", qPrintable(error.message()));
        return;
    }
    // A line written after its time (typed late, brought by a sync) has nothing to remind of.
    QList<Reminder> past;
    if (!firstLook) {
        for (const Reminder &line : std::as_const(lines)) {
            const bool known =
                std::any_of(m_lines.cbegin(), m_lines.cend(), [&](const Reminder &old) {
                    return old.key() == line.key() && old.date == line.date;
                });
            if (!known && line.due <= now && !m_log.contains(line))
                past.append(line);
        }
    }
    m_lines = lines;
    if (!past.isEmpty())
        m_log.add(past);
    if (firstLook)
        showDue(now);
}

void RemindersAgent::showDue(const QDateTime &now)
{
    QList<Reminder> onTime;
    QList<Reminder> late;
    // Another day's lines are never shown: those of a day slept through are gone with it.
    for (const Reminder &line : std::as_const(m_lines)) {
        if (line.due <= now && line.date == now.date() && !m_log.contains(line))
            (line.due.secsTo(now) > kLateAfter ? late : onTime).append(line);
    }
    if (!onTime.isEmpty() || !late.isEmpty())
        m_log.add(onTime + late);
    for (auto it = m_snoozed.begin(); it != m_snoozed.end();) {
        if (it->due <= now) {
            onTime.append(*it);
            it = m_snoozed.erase(it);
        } else {
            ++it;
        }
    }

    const QStringList actions{kOpenKey, QStringLiteral("Ouvrir la page"), kSnoozeKey,
                              QStringLiteral("Rappeler dans 10 minutes")};
    for (const Reminder &line : std::as_const(onTime)) {
        m_notified.insert(m_notifications->notify(line.hourText(), line.text, actions), line);
        emit shown(line.hourText(), line.text);
    }
    if (!late.isEmpty()) {
        QStringList each;
        for (const Reminder &line : std::as_const(late))
            each << line.hourText() + u' ' + line.text;
        const QString summary = missedSummary(late.size());
        const QString body = each.join(QStringLiteral(", "));
        // One page to open: today's; a summary is not asked again later.
        m_notified.insert(m_notifications->notify(summary, body, actions.mid(0, 2)), late.first());
        emit shown(summary, body);
    }
}

void RemindersAgent::arm(const QDateTime &now)
{
    // The start of tomorrow at the latest: the day's lines change then.
    QDateTime next = QDateTime(m_today.addDays(1), QTime(0, 0));
    for (const Reminder &line : std::as_const(m_lines)) {
        if (line.due > now && line.due < next && !m_log.contains(line))
            next = line.due;
    }
    for (const Reminder &line : std::as_const(m_snoozed))
        next = std::min(next, line.due);
    // The wall timer goes by the system's clock; a clock of the agent's own is followed by
    // the same distance.
    m_timer->start(QDateTime::currentDateTimeUtc().addMSecs(now.msecsTo(next)));
}

void RemindersAgent::act(int notification, const QString &key)
{
    const auto shownLine = m_notified.constFind(notification);
    if (shownLine == m_notified.cend())
        return;
    if (key == kSnoozeKey) {
        Reminder again = *shownLine;
        const QDateTime now = m_clock();
        again.due = now.addSecs(kSnoozeFor);
        m_snoozed.append(again);
        arm(now);
    } else if (key == kOpenKey) {
        // A running window comes to the front on today; else one starts there.
        QProcess::startDetached(m_program,
                                {QStringLiteral("--folder"), m_folder, QStringLiteral("--today")});
    }
}

} // namespace ruvo
