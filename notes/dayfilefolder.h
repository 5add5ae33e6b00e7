// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

#include <bitset>
#include <functional>
#include <vector>

namespace ruvo {

// The day files of a whole folder, for what looks across days (the marked days of the date
// dialog, the search, the export). A stem has no century, so each file is given the date
// nearest to a day of reference (today) among the dates its stem can name.

// The date a stem ("061226") names that lies nearest to nearDay; an invalid date for a stem
// that names no date (six digits, a real day and month).
QDate DateOfStem(QStringView stem, const QDate &nearDay);

// A day file found in a folder.
struct DayFileEntry
{
    QDate date;
    DayFileKind kind = DayFileKind::Notes;
    QString path;
};

// Every plain file "<stem>N.<extension>" and "<stem>T.<extension>" of folder whose stem names a
// date, newest date first and, for one date, the notes before the hour rows. Nothing is read or
// even looked at beyond the folder's listing (but where a link leads).
QList<DayFileEntry> ListDayFiles(const QString &folder, const QString &extension,
                                 const QDate &nearDay);
// The same files in the same order, handed to take one at a time until it returns false. The
// first comes once the folder is listed, before the others are put in order: a search shows
// the newest day's hits without waiting for the order of twenty years of names.
void ForEachDayFileNewestFirst(const QString &folder, const QString &extension,
                               const QDate &nearDay,
                               const std::function<bool(const DayFileEntry &)> &take);

// The same, from the names of an earlier listing when the folder's entries cannot have changed
// since: a search lists the folder again at each key typed otherwise, and thirty years of
// names take longer to read than the newest day's hits take to find. Used by one thread at a
// time.
class DayFileListing
{
public:
    DayFileListing();
    ~DayFileListing();
    DayFileListing(const DayFileListing &) = delete;
    DayFileListing &operator=(const DayFileListing &) = delete;

    // As ForEachDayFileNewestFirst. The folder is listed again when its modification time has
    // moved since the names kept were read; they are kept only when the folder's last change
    // lies further back than any file system's time stamps are coarse, so that a change made
    // during or after the listing cannot leave the time as it was.
    void forEachNewestFirst(const QString &folder, const QString &extension, const QDate &nearDay,
                            const std::function<bool(const DayFileEntry &)> &take);
    // Lets go of the names kept.
    void clear();

    struct Listed;
    struct FolderState
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 seconds = 0;
        qint64 nanoseconds = 0;
        friend bool operator==(const FolderState &, const FolderState &) = default;
    };

private:
    QString m_folder;
    QString m_extension;
    QDate m_nearDay;
    FolderState m_listedAt;
    bool m_kept = false;
    std::vector<Listed> m_oldestFirst;
};

// The days (bit 1 to 31) of one month whose day files hold text, by their sizes alone: the
// month's 62 possible names are looked up, no folder listed and no file read. The files of a
// month are those of its stem, whatever century they were written in.
std::bitset<32> DaysWithText(const QString &folder, const QString &extension, int year, int month);

} // namespace ruvo
