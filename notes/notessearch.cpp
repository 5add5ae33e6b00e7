// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notessearch.h"

#include "calendar/error.h"
#include "notes/dayfilefolder.h"
#include "notes/dayfiles.h"

#include <QElapsedTimer>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>
#include <utility>

namespace ruvo {

namespace {

// The first hits go over to the window's thread as soon as a file gives some; later ones when
// this many are waiting, or when the oldest has waited this long, so that a search that finds
// every line does not flood the window's event queue.
constexpr qsizetype kBatchSize = 512;
constexpr qint64 kBatchIntervalMs = 30;

// False for a file that cannot be read.
bool searchFile(const DayFileEntry &entry, QStringView key, bool keyIsAscii, QList<SearchHit> &hits)
{
    std::optional<QByteArray> bytes;
    try {
        bytes = ReadDayFileBytes(entry.path);
    } catch (const Error &) {
        return false;
    }
    if (!bytes || !MayHoldKey(*bytes, key, keyIsAscii))
        return true;
    // The key is looked for in the whole text at once; only a line where the text holds it is
    // searched again, for the match within it. Most files hold the key nowhere, and most lines
    // of a file that does are passed over.
    const QString text = DayFileText(*bytes);
    LineMatch inText = FindInLine(text, key);
    if (!inText.found())
        return true;
    QList<QStringView> lines = DayLineViews(text);
    // The page shows only the first 17 rows of an hour file.
    if (entry.kind == DayFileKind::TimeFields && lines.size() > kHourRows)
        lines.resize(kHourRows);
    const auto offsetOf = [&text](QStringView line) {
        return line.data() - text.data();
    };
    qsizetype from = 0;
    qsizetype line = 0;
    for (;;) {
        const qsizetype at = from + inText.column;
        while (line < lines.size() && offsetOf(lines[line]) + lines[line].size() < at)
            ++line;
        if (line == lines.size())
            return true;
        const QStringView found = lines[line];
        if (const LineMatch match = FindInLine(found, key); match.found())
            hits.append({entry.date, entry.kind, int(line), int(match.column), int(match.length),
                         found.toString()});
        if (++line == lines.size())
            return true;
        from = offsetOf(lines[line]);
        inText = FindInLine(QStringView(text).sliced(from), key);
        if (!inText.found())
            return true;
    }
}

} // namespace

NotesSearch::NotesSearch(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

NotesSearch::~NotesSearch()
{
    cancel();
    m_pool.waitForDone();
}

bool NotesSearch::start(const QString &folder, const QString &extension, const QString &query,
                        const QDate &today)
{
    cancel();
    const QString key = SearchKey(query);
    if (key.isEmpty())
        return false;
    const quint64 generation = m_generation;
    m_running = true;
    m_future = QtConcurrent::run(
        &m_pool, [this, generation, folder, extension, key, today](QPromise<void> &promise) {
            QStringList unreadable;
            const auto send = [&](QList<SearchHit> hits, bool last) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, hits, last, unreadable = last ? unreadable : QStringList()] {
                        deliver(generation, hits, last, unreadable);
                    },
                    Qt::QueuedConnection);
            };
            const bool keyIsAscii = IsAsciiText(key);
            QList<SearchHit> batch;
            QElapsedTimer sinceSent;
            sinceSent.start();
            bool sentAny = false;
            m_listing.forEachNewestFirst(folder, extension, today, [&](const DayFileEntry &entry) {
                if (promise.isCanceled())
                    return false;
                if (!searchFile(entry, key, keyIsAscii, batch))
                    unreadable << entry.path;
                if (!batch.isEmpty() && (!sentAny || batch.size() >= kBatchSize ||
                                         sinceSent.hasExpired(kBatchIntervalMs))) {
                    send(std::exchange(batch, {}), false);
                    sentAny = true;
                    sinceSent.restart();
                }
                return true;
            });
            if (promise.isCanceled())
                return;
            send(std::move(batch), true);
        });
    return true;
}

void NotesSearch::cancel()
{
    ++m_generation;
    m_future.cancel();
    m_running = false;
}

void NotesSearch::prepare(const QString &folder, const QString &extension, const QDate &today)
{
    // Queued behind any search still stopping: the listing is never read on two threads.
    m_pool.start([this, folder, extension, today] {
        m_listing.forEachNewestFirst(folder, extension, today,
                                     [](const DayFileEntry &) { return false; });
    });
}

void NotesSearch::forgetListing()
{
    m_pool.start([this] { m_listing.clear(); });
}

void NotesSearch::deliver(quint64 generation, const QList<SearchHit> &hits, bool last,
                          const QStringList &unreadable)
{
    if (generation != m_generation)
        return;
    if (!hits.isEmpty())
        emit hitsFound(hits);
    // A receiver of the hits may have started another search meanwhile.
    if (last && generation == m_generation) {
        m_running = false;
        m_unreadable = unreadable;
        emit finished();
    }
}

} // namespace ruvo
