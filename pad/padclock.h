// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>

class QTimer;

namespace ruvo {

// The page's clock: a tick a minute for the hour scale, and the turn to the new day of a page
// left open overnight. Its time is the system clock unless replaced (tests cross midnight).
class PadClock final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PadClock)

public:
    static constexpr int kInterval = 60000; // ms
    // A page left on the day that has just ended follows to the new day once the typing has
    // paused this long.
    static constexpr int kIdleBeforeNewDay = 60; // s

    using Clock = std::function<QDateTime()>;

    // Ticks from now on.
    explicit PadClock(QObject *parent = nullptr);

    QTimer *timer() const { return m_timer; }
    void setClock(Clock clock);
    QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

    // The user typed: the turn to a new day waits for a pause.
    void typed() { m_lastTyped = now(); }
    // The day a page showing shown turns to now: the new day, once a day has ended while the
    // page showed it and the typing has paused. A page turned to another date stays where the
    // user put it. None when the page stays.
    std::optional<QDate> newDayFor(const QDate &shown);
    // The page follows the day from now on.
    void followed(const QDate &today) { m_followedDay = today; }

signals:
    void ticked();

private:
    QTimer *m_timer = nullptr;
    Clock m_clock;
    QDate m_followedDay;   // the day of the last tick
    QDateTime m_lastTyped; // by the clock
};

} // namespace ruvo
