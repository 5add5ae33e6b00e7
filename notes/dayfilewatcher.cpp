// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dayfilewatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace ruvo {

DayFileWatcher::DayFileWatcher(QObject *parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this)), m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleDelay);
    connect(m_settle, &QTimer::timeout, this, &DayFileWatcher::changed);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &DayFileWatcher::noticeChange);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &DayFileWatcher::noticeChange);
}

DayFileWatcher::~DayFileWatcher() = default;

void DayFileWatcher::watch(const QStringList &paths)
{
    const QStringList files = m_watcher->files();
    if (!files.isEmpty())
        m_watcher->removePaths(files);
    m_files = paths;
    const QString folder = paths.isEmpty() ? QString() : QFileInfo(paths.first()).absolutePath();
    if (folder != m_folder) {
        if (!m_folder.isEmpty())
            m_watcher->removePath(m_folder);
        m_folder = folder;
        // A day file that does not exist yet can only be seen appearing in its folder.
        if (!m_folder.isEmpty() && QFileInfo(m_folder).isDir())
            m_watcher->addPath(m_folder);
    }
    rewatchFiles();
    m_settle->stop();
}

void DayFileWatcher::noticeChange()
{
    // A file replaced by a rename is a new file: the watch on the old one is gone.
    rewatchFiles();
    m_settle->start();
}

void DayFileWatcher::rewatchFiles()
{
    const QStringList watched = m_watcher->files();
    for (const QString &path : std::as_const(m_files)) {
        if (!watched.contains(path) && QFileInfo(path).isFile())
            m_watcher->addPath(path);
    }
}

} // namespace ruvo
