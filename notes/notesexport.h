// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/error.h"
#include "calendar/language.h"

#include <QDate>
#include <QString>

#include <optional>

namespace ruvo {

// The notes of a whole folder written out for other programs: a calendar file that calendar
// programs import, or a Markdown document to read, print or keep elsewhere.

enum class ExportFormat { ICalendar, Markdown };

// How a calendar file holds each day's notes: as a journal entry (VJOURNAL), or as an all-day
// event (VEVENT) with the notes as its description, for the calendars that drop journal entries.
enum class NotesAs { Journal, Events };

// The format a file name asks for by its suffix, ".ics" or ".md" in any case; none otherwise.
std::optional<ExportFormat> ExportFormatOf(const QString &file);

// Writes every day of folder whose day files hold text to file, oldest day first, in the format
// its suffix names. Each day is the date nearest today that its files' stem can name. The hour
// rows count from startTime (0 to 23); a row past 23:00 belongs to the next day. Markdown
// headings and hour labels are in language. With an alarmLead, each hour event of a calendar
// file rings that many minutes before its hour (a VALARM), so that a phone reminds as the pad
// does; a Markdown document has nothing to ring and ignores it.
//
// The days are written as they are read, a few at a time on the threads of the global thread
// pool, so the memory taken does not grow with the folder; the call returns once all is done.
// A day file that cannot be read (or is far larger than any page) is left out, and the export
// goes on with the others. Returns the message for the user when files were left out: "L'export
// <file> est écrit sans ce qui ne peut être lu." and, on a line of its own, "Ne peut ouvrir le
// fichier <path>" (or "les fichiers <path>, <path>"). The file is replaced whole or not at all.
// Throws Error with "Format d'export inconnu : <file> (.ics ou .md)" for another suffix, "Ne
// peut ouvrir le fichier <path>" when no day file could be read but some could not, "Aucune
// note à exporter dans le dossier <folder>" when no day holds text (a calendar must hold a
// component), "Ne peut créer le fichier <file>" when file cannot be written; file is then left
// as it was and no temporary file stays beside it.
std::optional<Error> ExportNotes(const QString &folder, const QString &extension,
                                 const QString &file, int startTime, TLanguage language,
                                 const QDate &today, NotesAs notesAs = NotesAs::Journal,
                                 std::optional<int> alarmLead = std::nullopt);

} // namespace ruvo
