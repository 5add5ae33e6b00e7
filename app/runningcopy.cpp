// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runningcopy.h"

#include "platform/runtimefolder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace ruvo {

namespace {

constexpr QByteArrayView kRequest = "front\n";
// The same, turned to today's page.
constexpr QByteArrayView kTodayRequest = "today\n";
constexpr QByteArrayView kAnswer = "done\n";

// The address of path; false where the path does not fit one.
bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

// Waits at most until deadline for the descriptor to be ready for events.
bool waitFor(int descriptor, short events, const QDeadlineTimer &deadline)
{
    pollfd watched = {descriptor, events, 0};
    for (;;) {
        const int result = ::poll(&watched, 1, int(deadline.remainingTime()));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

QString RunningCopy::serverName(const QString &folder)
{
    return RuntimeFileFor(folder, u".socket");
}

bool RunningCopy::bringToFront(const QString &folder, Page page, int timeoutMs)
{
    const QByteArrayView request = page == Page::Today ? kTodayRequest : kRequest;
    sockaddr_un address;
    if (!addressOf(serverName(folder), address))
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    const auto closing = qScopeGuard([descriptor] { ::close(descriptor); });
    // A listening socket on this machine accepts at once or refuses at once.
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::send(descriptor, request.data(), size_t(request.size()), MSG_NOSIGNAL) !=
            ssize_t(request.size()))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray heard;
    while (heard.size() < kAnswer.size()) {
        if (!waitFor(descriptor, POLLIN, deadline))
            return false;
        char buffer[16];
        const ssize_t count = ::recv(descriptor, buffer, sizeof buffer, 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        heard.append(buffer, count);
    }
    return heard.startsWith(kAnswer);
}

RunningCopy::RunningCopy(const QString &folder, QWidget *window)
    : m_path(serverName(folder)), m_window(window)
{
    const auto cannotListen = [this](const char *what) {
        qWarning("Ruvo: a second start cannot reach this one: %s %s: %s", what, qPrintable(m_path),
                 std::strerror(errno));
    };
    sockaddr_un address;
    if (!addressOf(m_path, address))
        return;
    m_descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_descriptor < 0) {
        cannotListen("socket");
        return;
    }
    // A socket left by a copy that crashed is stale: this copy holds the folder's lock now, and
    // no one else may make names in the private folder.
    ::unlink(address.sun_path);
    // Only this user may ask: the socket is made without any other permission.
    const mode_t mask = ::umask(S_IRWXG | S_IRWXO);
    const bool bound =
        ::bind(m_descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(m_descriptor, 4) != 0) {
        cannotListen(bound ? "listen" : "bind");
        ::close(m_descriptor);
        m_descriptor = -1;
        return;
    }
    auto *notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &RunningCopy::acceptStarts);
}

RunningCopy::~RunningCopy()
{
    if (m_descriptor < 0)
        return;
    ::close(m_descriptor);
    QFile::remove(m_path);
}

void RunningCopy::acceptStarts()
{
    for (;;) {
        const int client = ::accept4(m_descriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0)
            return; // none left waiting (EAGAIN) or gone before it was taken
        auto *notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, client, notifier] { readRequest(client, notifier, {}); });
    }
}

void RunningCopy::readRequest(int descriptor, QSocketNotifier *notifier, const QByteArray &heard)
{
    QByteArray text = heard;
    char buffer[16];
    ssize_t count;
    while ((count = ::recv(descriptor, buffer, sizeof buffer, 0)) > 0)
        text.append(buffer, count);
    const bool waiting = count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    if (waiting && text.size() < kRequest.size()) {
        // Part of the request: the rest comes with the next notice.
        disconnect(notifier, &QSocketNotifier::activated, this, nullptr);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, descriptor, notifier, text] { readRequest(descriptor, notifier, text); });
        return;
    }
    const bool today = text.startsWith(kTodayRequest);
    if (today || text.startsWith(kRequest)) {
        bringWindowToFront();
        if (today)
            emit todayAsked();
        ::send(descriptor, kAnswer.data(), size_t(kAnswer.size()), MSG_NOSIGNAL);
    }
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(descriptor);
}

void RunningCopy::bringWindowToFront()
{
    m_window->show();
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
    emit broughtToFront();
}

} // namespace ruvo
