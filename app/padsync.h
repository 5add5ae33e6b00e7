// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/notessync.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <stop_token>

namespace ruvo {

class TCalendarPad;

// The window's sync of the pad's folder with the calendar the settings file names: on a thread
// of its own, so that typing never waits for the network; a few seconds after each save, every
// few minutes, and when asked. A failing sync is tried again later and later, and told once
// until one works again; days merged because both sides had changed them are told each time.
class PadSync final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PadSync)
    Q_PROPERTY(bool running READ isRunning NOTIFY runningChanged)
    // The waits, in milliseconds.
    Q_PROPERTY(int afterSave READ afterSave WRITE setAfterSave)
    Q_PROPERTY(int period READ period WRITE setPeriod)
    Q_PROPERTY(int firstRetry READ firstRetry WRITE setFirstRetry)

public:
    PadSync(TCalendarPad *pad, const QString &settingsPath, QObject *parent = nullptr);
    // A sync under way is stopped (what it settled is kept) and waited for.
    ~PadSync() override;

    // Syncs now, then as the settings file says; nothing while it names no calendar.
    void start();
    // At once, as the user asks: a failure is told even if it was already.
    void syncNow();
    bool isRunning() const { return m_running; }

    // What the last sync did.
    const SyncOutcome &lastOutcome() const { return m_outcome; }

    int afterSave() const { return m_afterSave; }
    void setAfterSave(int milliseconds) { m_afterSave = milliseconds; }
    int period() const { return m_period; }
    void setPeriod(int milliseconds) { m_period = milliseconds; }
    // The wait after a first failure, doubled at each one that follows, up to kLongestRetry.
    int firstRetry() const { return m_firstRetry; }
    void setFirstRetry(int milliseconds) { m_firstRetry = milliseconds; }

    static constexpr int kLongestRetry = 30 * 60 * 1000;

signals:
    void runningChanged(bool running);
    void finished();
    // What the user is to be told: a failure (once until a sync works again), days merged.
    void tell(const QString &message);

private:
    void syncSoon();
    void run();
    void done(const SyncOutcome &outcome);
    // Waits delay unless a sync is already due sooner.
    void scheduleIn(int milliseconds);

    QPointer<TCalendarPad> m_pad;
    QString m_settingsPath;
    QTimer m_next;
    int m_afterSave = 5'000;
    int m_period = 5 * 60 * 1000;
    int m_firstRetry = 30'000;
    SyncOutcome m_outcome;
    int m_failures = 0;
    bool m_started = false;
    bool m_running = false;
    bool m_again = false;    // a save or a demand came while a sync ran
    bool m_demanded = false; // the sync under way was asked for by the user
    bool m_failureTold = false;
    std::stop_source m_stop;
    // Last: the sync under way ends before the rest goes.
    QThreadPool m_thread;
};

} // namespace ruvo
