#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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

// Every line followed by CR LF; no lines give no bytes.
QByteArray DayFileBytes(const QStringList &lines);

// The lines of a file. Throws Error("Ne peut ouvrir le fichier <path>") when it exists but
// cannot be read, or is far larger than any page (over 256 KiB), which is left unread.
QStringList ReadDayFile(const QString &path);

// Replaces the file whole or not at all. Throws Error("Ne peut créer le fichier <path>")
// when it cannot be written; an old file of that name is then left as it was.
void WriteDayFile(const QString &path, const QStringList &lines);

// Deletes the day files of the dates from today - 365 days up to the day before
// today - destroyDelay days, and no others. Failures are ignored.
void PurgeDayFiles(const QString &directory, const QString &extension, const QString &today,
                   int destroyDelay);

} // namespace ruvo
