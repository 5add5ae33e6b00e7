#pragma once

#include "platform/wholefile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace ruvo {

// The two text files that keep a day's page: "<stem>N.<ext>" holds the notes, one line per
// line as the editor shows them, and "<stem>T.<ext>" the 17 hour rows. Every line ends with
// CR LF. The stem is the date as ddmmyy, so dates a century apart share their files.

// "061226" for 06/12/2026. Throws Error for a text that is not a date.
QString NoteFileName(const QString &dateText);

enum class DayFileKind : char16_t { Notes = u'N', TimeFields = u'T' };

// Directory, "/", stem, "N" or "T", ".", extension. A directory that already ends with "/"
// gives "//", which the file system reads as one.
QString DayFilePath(const QString &directory, const QString &stem, DayFileKind kind,
                    const QString &extension);

// Day file bytes and text. A file is read as UTF-8 when it is valid UTF-8 and as
// Windows-1252 otherwise; it is written in Windows-1252 when that holds every character and
// cannot be mistaken for UTF-8, else in UTF-8. So files of the original single-byte format
// read as they always did, and any character typed comes back.
QString DecodeDayText(const QByteArray &bytes);
QByteArray EncodeDayText(const QString &text);

// Lines broken at CR, LF or CR LF; a last line without a break counts; a NUL ends the text.
QStringList SplitDayLines(const QString &text);

// The same lines as views into text, for what only looks at most of them.
QList<QStringView> DayLineViews(QStringView text);

// Every line followed by CR LF; no lines give no bytes.
QByteArray DayFileBytes(const QStringList &lines);

// The bytes of a day file; none when there is no plain file of that name. Throws
// Error("Ne peut ouvrir le fichier <path>") when it exists but cannot be read, or is far
// larger than any page (over 256 KiB), which is left unread.
std::optional<QByteArray> ReadDayFileBytes(const QString &path);

// The text that a day file's bytes hold: up to a NUL byte, if any, decoded.
QString DayFileText(const QByteArray &bytes);

// The lines that a day file's bytes hold: SplitDayLines(DayFileText(bytes)).
QStringList DayFileLines(const QByteArray &bytes);

// The lines of a file; throws as ReadDayFileBytes, and also when there is no file.
QStringList ReadDayFile(const QString &path);

// Replaces the file whole or not at all. Throws Error("Ne peut créer le fichier <path>")
// when it cannot be written, or when the bytes are more than the reader takes; an old file of
// that name is then left as it was.
void WriteDayFileBytes(const QString &path, const QByteArray &bytes);

// The same for a page's files at once, with one disk commit for them all: none is replaced
// when any cannot be written. Throws for the first file that could not be written; the files
// before it in the list are then replaced.
void WriteDayFilesBytes(const QList<FileReplacement> &files);

// The same for lines; a file that already holds exactly these bytes is left alone.
void WriteDayFile(const QString &path, const QStringList &lines);

// Keeps bytes that another program wrote into a day file beside it, under a name that neither
// the loader nor the purge ever uses ("061226N.ruv" gives "061226N-autre-20261208-093012.ruv",
// the time of now, with "-2", "-3" … added if that name is taken). Returns its path. Throws
// Error("Ne peut créer le fichier <that path>").
QString KeepOutsideVersion(const QString &path, const QByteArray &bytes, const QDateTime &now);

// Moves the day files of the dates from today - 365 days up to the day before
// today - destroyDelay days, and no others, to the user's trash (the freedesktop.org trash,
// where a file manager can restore them); deletes them where no trash can take them.
// Failures are ignored.
void PurgeDayFiles(const QString &directory, const QString &extension, const QString &today,
                   int destroyDelay);

} // namespace ruvo
