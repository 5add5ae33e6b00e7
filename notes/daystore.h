// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfilefolder.h"
#include "notes/dayfileformat.h"
#include "notes/notesexport.h"

#include "calendar/error.h"
#include "calendar/language.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <bitset>
#include <optional>

namespace ruvo {

// One of a page's two day files as the page last read or wrote it.
struct PageFile
{
    std::optional<QByteArray> bytes; // what the file held; none: there was no file
    bool unsaved = false;            // typed on since
    // The page shows less or other than the file holds (a NUL, an 18th row, a row too long, a
    // control character): written by the page, the file would lose it.
    bool notShownWhole = false;
};
// A page's two files, in the order of kDayFileKinds.
using PageFiles = std::array<PageFile, 2>;

// A page as its files hold it.
struct StoredPage
{
    PageFiles files; // what was read, nothing unsaved
    QStringList notes() const;
    std::array<QString, kHourRows> hours() const;
};

// The lines a page holds for each of its files, in the order of kDayFileKinds; only the lines
// of a file typed on are written.
using PageLines = std::array<QStringList, 2>;

// What a write of a page did besides writing.
struct PageWrite
{
    // For each file not typed on: another program changed it (or removed it, and it was made
    // again empty), and the page shows what PageFiles now holds.
    std::array<bool, 2> changedOutside{};
    // The files typed on that another program changed meanwhile, and where their other
    // versions were kept, in the same order.
    QStringList changedFiles;
    QStringList keptAs;
    // Why the write stopped, when it did: what was typed on a file not replaced stays unsaved.
    std::optional<Error> failure;
};

// The day files of one folder and extension: the pages of dates, and the look across days.
class DayStore final
{
public:
    DayStore() = default;
    DayStore(const QString &folder, const QString &extension)
        : m_folder(folder), m_extension(extension)
    {}

    const QString &folder() const { return m_folder; }
    const QString &extension() const { return m_extension; }
    QString path(const QDate &date, DayFileKind kind) const;

    // Both files of a date. Throws CannotOpenFile for a file that exists but cannot be read.
    StoredPage read(const QDate &date) const;

    // Writes the page of date, respecting what other programs wrote there. A file not typed on
    // is never written over: when another program changed it, files takes its bytes and the page
    // is to show them; only a missing one is made, empty. A file typed on is written from lines;
    // when another program changed it since the page read it, or when the page did not show all
    // of it, its version, as it is the moment ours takes its place, is kept beside it
    // (MoveOutsideVersion; an empty file holds nothing to keep). Both files are replaced together
    // (WriteDayFilesBytes), and files holds what each now holds. A failure is in the result, not
    // thrown.
    PageWrite write(const QDate &date, PageFiles &files, const PageLines &lines) const;

    // A page that cannot be saved where it belongs, written readable as it is into a new file in
    // folder (made if need be), named after the date and the time of now, with a number added
    // where that name is taken (WriteNewRescueFile; no file is ever written over): the date, the
    // notes, then each hour (counted from startTime) with its entry. Returns the path of the
    // file written. Throws CannotCreateFile.
    static QString rescue(const QString &folder, const QDate &date, const QStringList &notes,
                          const std::array<QString, kHourRows> &hours, int startTime);

    // Every day file of the folder, newest first (see ListDayFiles).
    QList<DayFileEntry> list(const QDate &nearDay) const;
    // The days of a month whose files hold text (see DaysWithText).
    std::bitset<32> daysWithText(int year, int month) const;
    // Moves the files of the days from today - 365 up to the day before today - destroyDelay
    // to the trash; the message for the user when any stayed (see PurgeDayFiles).
    std::optional<Error> purge(const QDate &today, int destroyDelay) const;
    // Writes every day with text to file, each hour event ringing alarmLead minutes before its
    // hour when given; the message for the user when files were left out (see ExportNotes).
    std::optional<Error> exportTo(const QString &file, int startTime, TLanguage language,
                                  const QDate &today, NotesAs notesAs = NotesAs::Journal,
                                  std::optional<int> alarmLead = std::nullopt) const;

private:
    QString m_folder;
    QString m_extension;
};

} // namespace ruvo
