// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notesexportcommand.h"

#include "mainpad.h"

#include "calendar/error.h"
#include "notes/daystore.h"

#include <QDate>

#include <cstdio>

namespace ruvo {

int ExportFromCommandLine(const QString &folder, const QString &file, NotesAs notesAs,
                          std::optional<int> alarmLead)
{
    try {
        if (const std::optional<Error> leftOut =
                DayStore(folder, kMainPadExtension.toString())
                    .exportTo(file, kMainPadStartTime, kMainPadLanguage, QDate::currentDate(),
                              notesAs, alarmLead))
            std::fprintf(stderr, "Ruvo : %s\n", leftOut->what());
    } catch (const Error &error) {
        std::fprintf(stderr, "Ruvo : %s\n", error.what());
        return 1;
    }
    return 0;
}

} // namespace ruvo
