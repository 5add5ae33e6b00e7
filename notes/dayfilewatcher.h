// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

namespace ruvo {

// Tells when the day files of the page on show may have been changed by another program (a
// sync tool, an editor, another computer). The files and their folder are both watched, so a
// file written in place, replaced by a rename, created or deleted is noticed. The notice
// comes a moment after the last change, when a writer working in several steps is done.
class DayFileWatcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayFileWatcher)

public:
    // How long the folder must be quiet before changed() is emitted.
    static constexpr int kSettleDelay = 150; // ms

    explicit DayFileWatcher(QObject *parent = nullptr);
    ~DayFileWatcher() override;

    // Watches these files (all in one folder) from now on, instead of the ones before.
    void watch(const QStringList &paths);
    QStringList watchedFiles() const { return m_files; }

signals:
    void changed();

private:
    void noticeChange();
    void rewatchFiles();

    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_settle = nullptr;
    QStringList m_files;
    QString m_folder;
};

} // namespace ruvo
