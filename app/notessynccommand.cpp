// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notessynccommand.h"

#include "mainpad.h"

#include "notes/daystore.h"
#include "notes/notessync.h"

#include <QDate>

#include <cstdio>

namespace ruvo {

namespace {

int Refuse(const QString &why)
{
    std::fprintf(stderr, "Ruvo : %s\n", qPrintable(why));
    return 1;
}

} // namespace

int SyncFromCommandLine(const QString &folder, const QString &settingsPath)
{
    const SyncOutcome outcome =
        SyncAsSet(settingsPath, DayStore(folder, kMainPadExtension.toString()), kMainPadStartTime,
                  QDate::currentDate());
    if (!outcome.conflicts.isEmpty()) {
        SyncOutcome merged;
        merged.conflicts = outcome.conflicts;
        std::printf("Ruvo : %s\n", qPrintable(merged.message()));
    }
    if (outcome.failure && !ReadSyncSettings(settingsPath).isSet())
        return Refuse(*outcome.failure); // nothing was tried
    if (outcome.failure)
        return Refuse(u"la synchronisation n'a pu se faire : " + *outcome.failure);
    return 0;
}

} // namespace ruvo
