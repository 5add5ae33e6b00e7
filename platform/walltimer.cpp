// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "walltimer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

namespace ruvo {

WallTimer::WallTimer(QObject *parent) : QObject(parent)
{
    m_descriptor = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_descriptor < 0) {
        qWarning("Ruvo: no wall-clock timer: %s", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WallTimer::readExpiry);
}

WallTimer::~WallTimer()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void WallTimer::start(const QDateTime &at)
{
    m_active = true;
    const qint64 ms = std::max<qint64>(at.toMSecsSinceEpoch(), 1);
    itimerspec spec{};
    spec.it_value.tv_sec = time_t(ms / 1000);
    spec.it_value.tv_nsec = long(ms % 1000) * 1000000L;
    if (m_descriptor >= 0 &&
        ::timerfd_settime(m_descriptor, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec,
                          nullptr) == 0)
        return;
    // Without one (or when the clock was set between the reading and the setting), the plain
    // timer of the event loop, which a suspend delays.
    if (m_descriptor >= 0 && errno == ECANCELED) {
        QTimer::singleShot(0, this, [this] {
            m_active = false;
            emit clockChanged();
        });
        return;
    }
    QTimer::singleShot(std::max<qint64>(QDateTime::currentDateTimeUtc().msecsTo(at), 0), this,
                       [this] {
                           if (m_active) {
                               m_active = false;
                               emit timeout();
                           }
                       });
}

void WallTimer::stop()
{
    m_active = false;
    if (m_descriptor < 0)
        return;
    const itimerspec off{};
    ::timerfd_settime(m_descriptor, 0, &off, nullptr);
}

void WallTimer::readExpiry()
{
    std::uint64_t expirations = 0;
    const ssize_t count = ::read(m_descriptor, &expirations, sizeof expirations);
    if (count < 0 && errno == ECANCELED) {
        m_active = false;
        emit clockChanged();
        return;
    }
    if (count == ssize_t(sizeof expirations) && m_active) {
        m_active = false;
        emit timeout();
    }
}

} // namespace ruvo
