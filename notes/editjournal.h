// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace ruvo {

class DayStore;

// A page typed on and not saved yet, as its journal keeps it.
struct JournaledPage
{
    QString folder; // the notes folder and the day files' extension it belongs to
    QString extension;
    QDate date;
    // What the day files held when the page read them, in the order of kDayFileKinds; none:
    // there was no file. The save of a replayed page compares them with the files as they are.
    std::array<std::optional<QByteArray>, 2> base;
    // What the editors typed on hold: the notes editor's text, each hour field's.
    std::optional<QString> notes;
    std::array<std::optional<QString>, kHourRows> hours;

    bool typedOn() const;
};

// The journal of the edits of one notes folder's page, written as the user types so that the
// end of the program, however sudden, loses nothing that was typed: each change appends what
// its editor now holds (a write, no sync: the kernel keeps it when the process dies). The page
// is written whole when the journal starts and whenever it has grown well past it, so the file
// stays within a few times the page's size, or a megabyte. Each record carries its length and a checksum; a journal
// with any record missing, cut or changed is no journal at all.
class EditJournal final
{
    Q_DISABLE_COPY_MOVE(EditJournal)

public:
    // No path: a journal that keeps nothing.
    explicit EditJournal(const QString &path = {}) : m_path(path) {}
    ~EditJournal();

    // Where journals are kept: "journal" in the state folder (see RescueFolder), apart from
    // the rescue files that are the user's to read.
    static QString stateFolder();
    // The journal of a store's page in a folder; one per notes folder and extension.
    static QString pathFor(const QString &folder, const DayStore &store);
    // The folder a store's journal names as its own (see JournaledPage).
    static QString folderOf(const DayStore &store);

    const QString &path() const { return m_path; }
    // Whether appends follow a whole page written by start(), and the file is no larger than
    // grow's limit.
    bool appendable() const { return m_descriptor >= 0 && m_size <= m_limit; }

    // Writes the whole page into a new file renamed over the journal, so that a crash finds
    // the old journal or the new one, never half of one. False when it could not be written
    // whole; the old one then stays.
    bool start(const JournaledPage &page);
    // What an editor now holds, appended. False when it could not be written whole: what was
    // appended of it is cut off again, and no append is taken until start() has succeeded.
    bool appendNotes(const QString &text);
    bool appendHour(int row, const QString &text);
    // The page is saved: the journal started here goes. One found on disk is another run's,
    // which only its replay removes.
    void remove();

    enum class Contents { None, Page, Unreadable };
    // Reads a journal whole; Unreadable for one cut, garbled or of another kind.
    static Contents read(const QString &path, JournaledPage &page);
    // Renames an unreadable or unsaveable journal out of the way, never over a file, and
    // returns its new path (empty when it could not be moved).
    static QString keepAside(const QString &path);

private:
    bool append(const QByteArray &record);
    void close();

    QString m_path;
    int m_descriptor = -1;
    qint64 m_size = 0;
    qint64 m_limit = 0;
    bool m_started = false;
};

} // namespace ruvo
