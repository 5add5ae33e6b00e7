// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

namespace ruvo {

// The purge of a folder's expired day files (PurgeDayFiles) on a thread of its own, so that the
// page never waits for the trash. The days the page shows, before or while it runs, are never
// touched: keep() them. Neither keep() nor anything else here ever waits for the purge's files.
class DayPurge final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayPurge)

public:
    explicit DayPurge(QObject *parent = nullptr);
    // A purge under way stops before its next day, which it waits for.
    ~DayPurge() override;

    // Starts the purge of folder (see PurgeDayFiles); one already under way stops before its
    // next day.
    void start(const QString &folder, const QString &extension, const QDate &today,
               int destroyDelay);
    // The day's files stay, in the purge under way and in those to come. Should they be leaving
    // this moment, they come back at once.
    void keep(const QDate &day);
    bool isRunning() const { return m_running; }
    // The worker of the last purge; once it is done, finished() may still be on its way.
    QFuture<void> worker() const { return m_future; }

    struct Days; // shared with the worker

signals:
    // The purge has ended; failure is the message for the user when files stayed, else empty.
    void finished(const QString &failure);

private:
    QThreadPool m_pool; // one thread
    QFuture<void> m_future;
    std::shared_ptr<Days> m_days;
    QList<QDate> m_kept;
    bool m_running = false;
};

} // namespace ruvo
