// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include "calendar/error.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace ruvo {

class DayStore;

// When two machines change the same day, a sync tool keeps the other machine's day file beside
// it under a name of its own: "061226N.sync-conflict-20261208-101010-ABCDEFG.ruv",
// "061226N (conflicted copy 2026-12-08 101010).ruv", "061226N (Ordinateur's conflicted copy
// 2026-12-08).ruv". Such a copy is never a day of its own: it is merged into its day.

// The stem ("061226N") of the day file that fileName is a conflict copy of; none for any other
// name.
std::optional<QString> ConflictCopyStem(QStringView fileName, QStringView extension);

// The notes lines of both sides: ours, then each of theirs that ours does not hold (blank
// lines aside).
QStringList MergeNotesLines(const QStringList &ours, const QStringList &theirs);

// The hour rows of both sides. A row empty or the same on one side takes the other's; two texts
// are kept both, "ours / theirs", once (a row that holds theirs already stays). Where both
// would make a row longer than a row holds, theirs goes to overflow, for the notes.
std::array<QString, kHourRows> MergeHourRows(const std::array<QString, kHourRows> &ours,
                                             const std::array<QString, kHourRows> &theirs,
                                             QStringList &overflow);

// What merging the copies of some days did.
struct ConflictMerge
{
    QStringList merged;           // the copies merged, as "<file name> (<date>)"
    QStringList stayed;           // of those, the ones the trash did not take
    std::optional<Error> failure; // a day that could not be written: its copies stay unmerged
    bool isEmpty() const { return merged.isEmpty() && !failure; }
    void add(const ConflictMerge &other);
    // The message for the user; empty when nothing was merged and nothing failed.
    QString message() const;
};

// The file names of the conflict copies in folder, of any day, read straight from the directory:
// no name but a copy's is made into a string or looked at twice.
QStringList ConflictCopyNames(const QString &folder, QStringView extension);

// Merges the conflict copies of date's two files into them and moves each copy merged to the
// trash. Merging a copy again changes nothing. Without copyNames (ConflictCopyNames), the folder
// is listed for them.
ConflictMerge MergeConflictCopies(const DayStore &store, const QDate &date);
ConflictMerge MergeConflictCopies(const DayStore &store, const QDate &date,
                                  const QStringList &copyNames);

// The copies in a store's folder for a page that looks before each load: the folder is listed
// again only once it has changed since (its modification time), so turning pages that nobody
// wrote on costs one stat.
class ConflictCopyFinder
{
public:
    QStringList names(const DayStore &store);

private:
    QString m_folder;
    QString m_extension;
    std::optional<std::pair<qint64, qint64>> m_changed; // seconds, nanoseconds
    QStringList m_names;
};

// The same for every day of the folder with a copy, but those skip says to leave (the page on
// show merges its own).
ConflictMerge MergeAllConflictCopies(const DayStore &store, const QDate &nearDay,
                                     const std::function<bool(const QDate &)> &skip);

} // namespace ruvo
