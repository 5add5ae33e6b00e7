// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/notesexport.h"

#include <QString>

#include <optional>

namespace ruvo {

// `ruvo --export FILE`: writes the notes of every day of folder to file as the main window's pad
// reads them, each hour event ringing alarmLead minutes before its hour when given. Returns the
// process's exit code: 0, or 1 with the message on standard error; the day files that could not
// be read are named there too, and the export holds the others.
int ExportFromCommandLine(const QString &folder, const QString &file,
                          NotesAs notesAs = NotesAs::Journal,
                          std::optional<int> alarmLead = std::nullopt);

} // namespace ruvo
