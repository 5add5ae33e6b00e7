// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtimefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace ruvo {

namespace {

// A folder, not a link to one, of this user's, that no one else may enter; the user may.
bool isPrivateFolder(const QByteArray &name)
{
    struct stat status = {};
    return ::lstat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 0777) == 0700;
}

QString cacheFolder()
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    return QDir::isAbsolutePath(cache) ? cache : QDir::homePath() + QStringLiteral("/.cache");
}

// The fallback, under the user's home: the host in its name, as a home shared between
// machines would otherwise share one running copy's lock between them.
QString ownRuntimeFolder()
{
    const QString parent = cacheFolder() + QStringLiteral("/Ruvo");
    const QString folder =
        parent + QStringLiteral("/runtime-") + QSysInfo::machineHostName().replace(u'/', u'_');
    const QByteArray name = QFile::encodeName(folder);
    if (!QDir().mkpath(parent))
        return {};
    if (::mkdir(name.constData(), 0700) == 0) {
        // Made here, so the user's umask may have left it without the user's own rights.
        ::chmod(name.constData(), 0700);
    }
    return isPrivateFolder(name) ? folder : QString();
}

} // namespace

QString PrivateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(QFile::encodeName(runtime)))
        return QDir::cleanPath(runtime);
    return ownRuntimeFolder();
}

namespace {

// Every way to the same folder, spelt the same.
QByteArray canonicalPathOf(const QString &folder)
{
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(QDir(folder).absolutePath());
    return QFile::encodeName(canonical);
}

} // namespace

QString FolderKey(const QString &notesFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalPathOf(notesFolder), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(16));
}

QString RuntimeFileFor(const QString &notesFolder, QStringView suffix)
{
    const QString runtime = PrivateRuntimeFolder();
    if (runtime.isEmpty())
        return {};
    const QByteArray path = canonicalPathOf(notesFolder);
    // The path as a file name: "/" and the escape itself written as %2F and %25.
    QByteArray readable = path;
    readable.replace("%", "%25").replace("/", "%2F");
    const QByteArray folder = QFile::encodeName(runtime) + "/ruvo-";
    const QByteArray suffixBytes = QFile::encodeName(suffix.toString());
    QByteArray name = folder + readable + suffixBytes;
    if (name.size() >= qsizetype(sizeof(sockaddr_un::sun_path)))
        name =
            folder + QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex() + suffixBytes;
    return QFile::decodeName(name);
}

} // namespace ruvo
