// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfilefolder.h"
#include "notes/dayfileformat.h"
#include "notes/searchfolding.h"

#include <QDate>
#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QThreadPool>

namespace ruvo {

// A line of a day file that holds the text searched for. line is the 0-based line of the notes
// file (the editor's block) or the 0-based row of the hour file; column and length are the
// first match, in UTF-16 units of text, the whole line as the file holds it.
struct SearchHit
{
    QDate date;
    DayFileKind kind = DayFileKind::Notes;
    int line = 0;
    int column = 0;
    int length = 0;
    QString text;
};

// Searches every day file of a folder in the background, newest day first, and hands the hits
// over in batches on the thread that owns it: for each day the notes' lines in order, then the
// hour rows. A new start or cancel() drops the running search at once: nothing of it arrives
// afterwards.
class NotesSearch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesSearch)

public:
    explicit NotesSearch(QObject *parent = nullptr);
    ~NotesSearch() override;

    // False, and no search, for a query of fewer than two characters; a running search is
    // cancelled either way. today dates the files (see ListDayFiles).
    bool start(const QString &folder, const QString &extension, const QString &query,
               const QDate &today);
    void cancel();
    // Lists folder's day files in the background ahead of a search, while a query is yet to be
    // typed: the search then starts from that listing, as long as the folder's entries have
    // not changed.
    void prepare(const QString &folder, const QString &extension, const QDate &today);
    // Lets go of the names listed, once no search is to come soon.
    void forgetListing();
    bool isRunning() const { return m_running; }
    // The day files the last search to finish could not read (or that are far larger than any
    // page), which it passed over.
    const QStringList &unreadable() const { return m_unreadable; }
    // The worker of the last search. Once it is done its hits may still be on their way to this
    // object's thread.
    QFuture<void> worker() const { return m_future; }

signals:
    void hitsFound(const QList<ruvo::SearchHit> &hits);
    void finished();

private:
    void deliver(quint64 generation, const QList<SearchHit> &hits, bool last,
                 const QStringList &unreadable);

    // One thread: a cancelled search stops at its next file, before the next one reads.
    QThreadPool m_pool;
    // The folder's names from the last listing, read and changed on m_pool's thread only.
    DayFileListing m_listing;
    QFuture<void> m_future;
    // Counts the searches started; a batch of an older one is stale.
    quint64 m_generation = 0;
    bool m_running = false;
    QStringList m_unreadable;
};

} // namespace ruvo
