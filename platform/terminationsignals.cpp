// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ruvo {

namespace {

// The handler may only write to a descriptor; the event loop reads the other end. This pair
// is the one piece of state a signal handler can reach.
std::array<int, 2> g_signalPipe = {-1, -1};
// When the first signal came, in nanoseconds of the monotonic clock (steady_clock's); 0 before.
// The rescue's moment counts from it, not from when the event loop got to the signal.
std::atomic<std::int64_t> g_firstSignalAt = 0;
static_assert(std::atomic<std::int64_t>::is_always_lock_free);

constexpr std::array kWatched = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    timespec now = {};
    if (::clock_gettime(CLOCK_MONOTONIC, &now) == 0) {
        std::int64_t none = 0;
        g_firstSignalAt.compare_exchange_strong(none, std::int64_t(now.tv_sec) * 1'000'000'000 +
                                                          now.tv_nsec);
    }
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &number, 1);
    // Should the event loop never get to the signal (the program hangs), the alarm's default
    // action ends the process: a session end is never held up for good.
    ::alarm(TerminationSignals::kGraceSeconds);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (g_signalPipe[0] != -1 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe.data()) != 0)
        return;
    ::fcntl(g_signalPipe[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kWatched)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (int signal : kWatched)
        ::signal(signal, SIG_DFL);
    ::alarm(0);
    g_firstSignalAt = 0;
    delete m_notifier;
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe = {-1, -1};
}

std::optional<std::chrono::steady_clock::time_point> TerminationSignals::rescueTime()
{
    static_assert(std::chrono::steady_clock::is_steady); // CLOCK_MONOTONIC on Linux
    const std::int64_t at = g_firstSignalAt;
    if (at == 0)
        return std::nullopt;
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(at)) + kRescueDelay;
}

void TerminationSignals::readSignal()
{
    unsigned char number = 0;
    if (::read(g_signalPipe[1], &number, 1) == 1)
        emit terminationRequested(number);
}

} // namespace ruvo
