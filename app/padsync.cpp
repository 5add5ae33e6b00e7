// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padsync.h"

#include "pad/tcalendarpad.h"

#include <QDate>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <utility>

namespace ruvo {

PadSync::PadSync(TCalendarPad *pad, const QString &settingsPath, QObject *parent)
    : QObject(parent), m_pad(pad), m_settingsPath(settingsPath)
{
    m_thread.setMaxThreadCount(1);
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, &PadSync::run);
    connect(pad, &TCalendarPad::notesSaved, this, &PadSync::syncSoon);
}

PadSync::~PadSync()
{
    m_stop.request_stop();
    m_thread.waitForDone();
}

void PadSync::start()
{
    // Perhaps another calendar: its first failure is told.
    m_started = true;
    m_failures = 0;
    m_failureTold = false;
    scheduleIn(0);
}

void PadSync::syncNow()
{
    m_started = true;
    m_demanded = true;
    run();
}

void PadSync::syncSoon()
{
    // While failing, the next try waits its turn: typing does not hammer a server that is down.
    if (!m_started || m_failures > 0)
        return;
    if (m_running)
        m_again = true;
    else
        scheduleIn(m_afterSave);
}

void PadSync::scheduleIn(int milliseconds)
{
    if (!m_next.isActive() || m_next.remainingTime() > milliseconds)
        m_next.start(milliseconds);
}

void PadSync::run()
{
    if (m_running) {
        m_again = true;
        return;
    }
    if (!m_pad || !ReadSyncSettings(m_settingsPath).isSet()) {
        m_next.stop();
        return;
    }
    // What was typed goes with this sync; the save's own call for a sync is answered by it.
    m_pad->saveInBackground();
    m_next.stop();
    m_running = true;
    emit runningChanged(true);
    auto *watcher = new QFutureWatcher<SyncOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const SyncOutcome outcome = watcher->result();
        watcher->deleteLater();
        done(outcome);
    });
    // Copies only: the thread never reads the pad.
    watcher->setFuture(
        QtConcurrent::run(&m_thread, [settingsPath = m_settingsPath, store = m_pad->store(),
                                      startTime = m_pad->StartTime(), today = QDate::currentDate(),
                                      stop = m_stop.get_token()] {
            return SyncAsSet(settingsPath, store, startTime, today, stop);
        }));
}

void PadSync::done(const SyncOutcome &outcome)
{
    m_running = false;
    m_outcome = outcome;
    const bool demanded = std::exchange(m_demanded, false);
    const bool again = std::exchange(m_again, false);
    SyncOutcome told = outcome;
    int wait = m_period;
    if (outcome.failure) {
        ++m_failures;
        if (m_failureTold && !demanded)
            told.failure.reset();
        m_failureTold = true;
        const qint64 grown = qint64(m_firstRetry) << std::min(m_failures - 1, 16);
        wait = int(std::min<qint64>(grown, kLongestRetry));
    } else {
        m_failures = 0;
        m_failureTold = false;
        if (again)
            wait = m_afterSave;
    }
    m_next.start(wait);
    emit runningChanged(false);
    emit finished();
    if (const QString message = told.message(); !message.isEmpty())
        emit tell(message);
}

} // namespace ruvo
