// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rescuefolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ruvo {

namespace {

// Names tried before giving up: far more copies than ever end in the same second.
constexpr int kNamesTried = 1000;

} // namespace

bool WriteAll(int descriptor, QByteArrayView bytes)
{
    const char *next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t count = ::write(descriptor, next, size_t(left));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        next += count;
        left -= count;
    }
    return true;
}

QString RescueFolder()
{
    // Qt 6.4 has no standard location for state data yet; the rule is the XDG one.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Ruvo");
}

// A rescue is written when the session ends or when the notes' disk does not answer, with the
// process about to be ended: it waits for no sync, which may take longer than the time left.
// Once write() has taken them the bytes are the kernel's, kept past the end of the process and
// written out by the shutdown that follows a session's end.
QString WriteNewRescueFile(const QString &folder, const QString &stem, QByteArrayView bytes)
{
    if (!QDir().mkpath(folder))
        return {};
    for (int number = 1; number <= kNamesTried; ++number) {
        const QString path = folder + u'/' + stem +
                             (number > 1 ? u'-' + QString::number(number) : QString()) + u".txt";
        const QByteArray name = QFile::encodeName(path);
        // O_EXCL: another copy of the program ending in the same second takes the next name.
        const int descriptor =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return {};
        const bool written = WriteAll(descriptor, bytes);
        // Sent on to the disk at once, without waiting for it: a power cut soon after the
        // session's end finds it there all the same, most likely.
        if (written)
            ::sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
        // A network file system may report a failed write only here; EINTR has closed it all
        // the same.
        if ((::close(descriptor) == 0 || errno == EINTR) && written)
            return path;
        ::unlink(name.constData());
        return {};
    }
    return {};
}

} // namespace ruvo
