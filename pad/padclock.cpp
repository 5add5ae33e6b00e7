// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padclock.h"

#include <QTimer>

namespace ruvo {

PadClock::PadClock(QObject *parent)
    : QObject(parent), m_timer(new QTimer(this)), m_followedDay(QDate::currentDate())
{
    m_timer->setInterval(kInterval);
    connect(m_timer, &QTimer::timeout, this, &PadClock::ticked);
    m_timer->start();
}

void PadClock::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_followedDay = now().date();
    m_lastTyped = {};
}

std::optional<QDate> PadClock::newDayFor(const QDate &shown)
{
    const QDateTime time = now();
    const QDate today = time.date();
    if (today == m_followedDay)
        return std::nullopt;
    if (shown != m_followedDay) {
        m_followedDay = today;
        return std::nullopt;
    }
    // While the user types, the page waits for a pause.
    if (m_lastTyped.isValid() && m_lastTyped.secsTo(time) < kIdleBeforeNewDay)
        return std::nullopt;
    return today;
}

} // namespace ruvo
