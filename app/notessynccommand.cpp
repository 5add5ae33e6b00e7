// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notessynccommand.h"

#include "mainpad.h"

#include "notes/caldav.h"
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
    const SyncSettings settings = ReadSyncSettings(settingsPath);
    if (!settings.isSet())
        return Refuse(u"la synchronisation n'est pas réglée : donnez l'adresse du calendrier "
                      u"(menu de la page, « Synchronisation… », ou [Synchronisation] serveur= "
                      u"dans " +
                      settingsPath + u')');
    QString why;
    const CalDavModule *module = LoadCalDavModule(&why);
    if (!module)
        return Refuse(why);
    const std::optional<QString> password = SyncPassword(*module, settings);
    if (!password)
        return Refuse(u"aucun mot de passe pour " + settings.user +
                      u" : ni dans le trousseau du bureau, ni dans RUVO_SYNC_PASSWORD");
    const SyncOutcome outcome =
        SyncNotes(*module, DayStore(folder, kMainPadExtension.toString()), settings, *password,
                  kMainPadStartTime, QDate::currentDate());
    if (!outcome.conflicts.isEmpty()) {
        SyncOutcome merged;
        merged.conflicts = outcome.conflicts;
        std::printf("Ruvo : %s\n", qPrintable(merged.message()));
    }
    if (outcome.failure)
        return Refuse(u"la synchronisation n'a pu se faire : " + *outcome.failure);
    return 0;
}

} // namespace ruvo
