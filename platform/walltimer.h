// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QObject>

class QSocketNotifier;

namespace ruvo {

// A timer set to a time of the wall clock rather than to a length of time: it goes off when the
// clock shows that time, after a suspend too (a time that passed while the machine slept goes
// off at the resume), and it tells when the clock was set, so that a time computed from it can
// be computed again. One timer file descriptor (CLOCK_REALTIME, cancelled on a clock change)
// watched by the event loop: nothing wakes the process meanwhile.
class WallTimer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WallTimer)

public:
    explicit WallTimer(QObject *parent = nullptr);
    ~WallTimer() override;

    // Goes off once at (any time zone), instead of the time set before; a time passed goes off
    // at once.
    void start(const QDateTime &at);
    void stop();
    bool isActive() const { return m_active; }

signals:
    void timeout();
    // The clock was set (by hand, by the network time, at a resume) or its zone changed: the
    // timer is stopped.
    void clockChanged();

private:
    void readExpiry();

    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
    bool m_active = false;
};

} // namespace ruvo
