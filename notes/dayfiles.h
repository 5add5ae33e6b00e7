// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include "calendar/error.h"
#include "platform/wholefile.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ruvo {

// Day files on disk: read, written whole, kept aside, purged.

// The errors the user is shown for a file: "Ne peut ouvrir le fichier <path>" (it cannot be
// read), "Ne peut créer le fichier <path>" (it cannot be written).
Error CannotOpenFile(const QString &path);
// The same for several: "Ne peut ouvrir les fichiers <path>, <path>".
Error CannotOpenFiles(const QStringList &paths);
Error CannotCreateFile(const QString &path);

// The bytes of a day file; none when there is no plain file of that name. Throws
// CannotOpenFile when it exists but cannot be read, or is far larger than any page
// (kMaxDayFileSize), which is left unread.
std::optional<QByteArray> ReadDayFileBytes(const QString &path);

// Replaces a page's files whole or not at all, with one disk commit for them all: none is
// replaced when any cannot be written, or holds more than the reader takes. Throws
// CannotCreateFile for the first file that could not be written; the files before it in the
// list are then replaced. replaced is told of each old file as the new one takes its place
// (see ReplaceFilesWhole).
void WriteDayFilesBytes(const QList<FileReplacement> &files, const ReplacedFile &replaced = {});

// Keeps bytes that another program wrote into a day file beside it, under a name that neither
// the loader nor the purge ever uses ("061226N.ruv" gives "061226N-autre-20261208-093012.ruv",
// the time of now, with "-2", "-3" … added if that name is taken). Returns its path. Throws
// CannotCreateFile for that path.
QString KeepOutsideVersion(const QString &path, const QByteArray &bytes, const QDateTime &now);
// The same for a whole file that lies at file: moved there, not copied, so that what another
// program still writes into it goes there too.
QString MoveOutsideVersion(const QString &path, const QString &file, const QDateTime &now);

// Moves the day files of the dates from today - 365 days up to the day before
// today - destroyDelay days, and no others, to the user's trash (the freedesktop.org trash,
// where a file manager can restore them). Whatever the clock says, the last 30 days (or
// destroyDelay days, if more) up to the newest day whose files hold text stay. Nothing is ever
// deleted: a file the trash cannot take stays in the folder, and so does one the trash took
// without the information to restore it, which is put back, and the purge stops there.
// Returns the message for the user when any of those files stayed: "Ne peut mettre à la
// corbeille 335 anciens fichiers de notes du dossier <directory> : ils y restent."
//
// guard, when given, is asked about each expired day: keep before its files go (true: they
// stay, and are not counted as staying), bringBack once they have gone (true: they are put back
// where they were). A purge on a thread of its own so keeps the days the page turns to.
// Moves the file at path, of folder, to the desktop trash as the purge does; false when it stays
// where it was.
bool MoveToTrash(const QString &folder, const QString &path);

struct PurgeGuard
{
    std::function<bool(const QDate &day)> keep;
    std::function<bool(const QDate &day)> bringBack;
};
std::optional<Error> PurgeDayFiles(const QString &directory, const QString &extension,
                                   const QDate &today, int destroyDelay,
                                   const PurgeGuard &guard = {});

} // namespace ruvo
