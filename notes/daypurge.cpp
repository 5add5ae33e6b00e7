// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "daypurge.h"

#include "notes/conflictcopies.h"
#include "notes/daystore.h"
#include "platform/freedmemory.h"

#include "notes/dayfiles.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <atomic>

namespace ruvo {

// The days a purge may reach (today - 365 to today), each with whether the page wants it,
// and the day whose files the purge is moving. Both sides only store and load: the page's
// thread never waits. Every access is sequentially consistent, so that of a day kept while its
// files move, either the purge sees it kept before it moves them, or it sees it once they are
// moved and brings them back.
struct DayPurge::Days
{
    static constexpr qint64 kReach = 365;

    explicit Days(const QDate &today) : today(today.toJulianDay()) {}

    std::atomic<bool> *flagOf(const QDate &day)
    {
        const qint64 back = today - day.toJulianDay();
        return back >= 0 && back <= kReach ? &kept[std::size_t(back)] : nullptr;
    }
    bool isKept(const QDate &day)
    {
        const std::atomic<bool> *flag = flagOf(day);
        return flag && flag->load();
    }

    const qint64 today;
    std::array<std::atomic<bool>, kReach + 1> kept{};
    std::atomic<bool> stopping = false;
};

DayPurge::DayPurge(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

DayPurge::~DayPurge()
{
    if (m_days)
        m_days->stopping = true;
    m_pool.waitForDone();
}

namespace {

// The purge's messages for the user, a line each: what was merged, what stayed.
QString joinedMessages(const QString &merged, const std::optional<Error> &stayed)
{
    if (!stayed)
        return merged;
    return merged.isEmpty() ? stayed->message() : merged + u'\n' + stayed->message();
}

} // namespace

void DayPurge::start(const QString &folder, const QString &extension, const QDate &today,
                     int destroyDelay)
{
    // The purge under way leaves the rest to this one: it would not see the days kept from now.
    if (m_days)
        m_days->stopping = true;
    auto days = std::make_shared<Days>(today);
    for (const QDate &day : std::as_const(m_kept)) {
        if (std::atomic<bool> *flag = days->flagOf(day))
            flag->store(true);
    }
    m_days = days;
    m_running = true;
    m_future = QtConcurrent::run(&m_pool, [this, days, folder, extension, today, destroyDelay] {
        // The page's thread comes first on a busy machine: the purge can wait.
        QThread::currentThread()->setPriority(QThread::IdlePriority);
        const PurgeGuard guard{
            [&days](const QDate &day) { return days->stopping || days->isKept(day); },
            [&days](const QDate &day) { return days->isKept(day); },
        };
        // Copies a sync tool left are merged into their days first: none is purged unmerged.
        // The days the page shows or turns to merge their own.
        const ConflictMerge merged =
            MergeAllConflictCopies(DayStore(folder, extension), today,
                                   [&days](const QDate &day) { return days->isKept(day); });
        const std::optional<Error> stayed =
            PurgeDayFiles(folder, extension, today, destroyDelay, guard);
        // The listing of the whole folder is gone: its pages go back to the system, or the
        // window would keep them for the rest of the session.
        ReturnFreedMemory();
        QMetaObject::invokeMethod(
            this,
            [this, days, failure = joinedMessages(merged.message(), stayed)] {
                if (days != m_days)
                    return; // another purge has started since
                m_running = false;
                emit finished(failure);
            },
            Qt::QueuedConnection);
    });
}

void DayPurge::keep(const QDate &day)
{
    if (!day.isValid() || m_kept.contains(day))
        return;
    m_kept.append(day);
    if (m_days) {
        if (std::atomic<bool> *flag = m_days->flagOf(day))
            flag->store(true);
    }
}

} // namespace ruvo
