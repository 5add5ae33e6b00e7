// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

namespace ruvo {

// The two text files that keep a day's page: "<stem>N.<ext>" holds the notes, one line per
// line as the editor shows them, and "<stem>T.<ext>" the 17 hour rows. Every line ends with
// CR LF. The stem is the date as ddmmyy, so dates a century apart share their files.

enum class DayFileKind : char16_t { Notes = u'N', TimeFields = u'T' };

// The page's hour scale and its file: 17 rows, one line each.
constexpr int kHourRows = 17;
// What the editors take: the notes' typing limit and one hour row's.
constexpr int kNotesMaxLength = 32000;
constexpr int kTimeFieldMaxLength = 255;
// A full page (32000 characters, each wrapped row a line of its own) stays under 160 KiB even
// in UTF-8. A larger file is no page the program wrote: it is refused unread, so turning to
// its day stays quick, and never written, so every day can be opened again.
constexpr qint64 kMaxDayFileSize = 256 * 1024;
// The time in the names of the copies the program keeps beside day files and of its rescue
// files: 20261208-093012.
inline constexpr QStringView kFileTimeStamp = u"yyyyMMdd-HHmmss";

// The two files of a page in the order they are kept and written: the notes, then the hours.
constexpr std::array<DayFileKind, 2> kDayFileKinds{DayFileKind::Notes, DayFileKind::TimeFields};
constexpr std::size_t DayFileIndex(DayFileKind kind)
{
    return kind == DayFileKind::Notes ? 0 : 1;
}

// "061226" for 6 December 2026 (and 1926).
QString DayFileStem(const QDate &date);
// The same for a date text. Throws Error for a text that is not a date.
QString NoteFileName(const QString &dateText);

// Directory, "/", stem, "N" or "T", ".", extension; a directory that already ends with "/"
// gets no second one.
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

// What an empty page writes: a notes file of no bytes, an hour file of 17 empty lines.
QByteArray EmptyDayFileBytes(DayFileKind kind);

// Whether a day file of that kind and size holds any text.
bool DayFileHasText(DayFileKind kind, qint64 size);

// The text that a day file's bytes hold: up to a NUL byte, if any, decoded.
QString DayFileText(const QByteArray &bytes);

// The lines that a day file's bytes hold: SplitDayLines(DayFileText(bytes)).
QStringList DayFileLines(const QByteArray &bytes);

// Whether every byte of a day file (past a NUL too) holds text and nothing else once its line
// breaks are left out: then a page that shows text writes back all that the file held, in its
// own line breaks (CR LF, wrapped lines) and encoding.
bool DayFileHoldsOnly(const QByteArray &bytes, QStringView text);

// The 17 hour rows of an hour file's lines: line k for row k, empty rows where lines are
// missing; lines after the 17th are not the page's.
std::array<QString, kHourRows> HourRowsOf(const QStringList &lines);

} // namespace ruvo
