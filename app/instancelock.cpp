// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instancelock.h"

#include "platform/runtimefolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace ruvo {

namespace {

// A lock file that names no process was cut short while being written. After this long its
// writer is gone for good.
constexpr qint64 kUnfinishedLockAge = 60; // seconds

} // namespace

InstanceLock::InstanceLock(const QString &folder)
    : m_folder(folder), m_lock(RuntimeFileFor(folder, u".lock"))
{
    // Held for as long as the program runs: only a lock whose process has ended is stale,
    // never one that is merely old.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    if (m_lock.fileName().isEmpty() || m_lock.tryLock(0))
        return true;
    if (m_lock.error() != QLockFile::LockFailedError)
        return true; // no lock can be made here, and so no notes saved either
    qint64 pid = 0;
    QString host;
    QString application;
    const QDateTime written = QFileInfo(m_lock.fileName()).lastModified();
    if (!m_lock.getLockInfo(&pid, &host, &application) && written.isValid() &&
        written.secsTo(QDateTime::currentDateTime()) > kUnfinishedLockAge &&
        m_lock.removeStaleLockFile())
        return m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
    return false;
}

QString InstanceLock::refusalMessage() const
{
    return u"Ruvo est déjà ouvert dans le dossier " + QDir::toNativeSeparators(m_folder);
}

} // namespace ruvo
