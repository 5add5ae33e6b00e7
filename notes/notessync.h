// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <stop_token>

namespace ruvo {

class CalDavModule;
class DayStore;

// Where a folder syncs to, as Ruvo.ini keeps it ([Synchronisation] serveur=, utilisateur=).
// The password is never kept there: it is in the desktop's keyring, or in RUVO_SYNC_PASSWORD.
struct SyncSettings
{
    QString server; // the calendar collection's URL
    QString user;
    bool isSet() const { return !server.isEmpty(); }
};
SyncSettings ReadSyncSettings(const QString &settingsPath);
void WriteSyncSettings(const QString &settingsPath, const SyncSettings &settings);

// The module that speaks CalDAV, loaded at the first call; none, with the reason in failure,
// when it cannot be loaded.
const CalDavModule *LoadCalDavModule(QString *failure = nullptr);

// The password for settings: RUVO_SYNC_PASSWORD when set, else the desktop's keyring's.
std::optional<QString> SyncPassword(const CalDavModule &module, const SyncSettings &settings);

// What one sync did.
struct SyncOutcome
{
    std::optional<QString> failure; // why it stopped; what was done until then is kept
    QList<QDate> conflicts;         // days changed on both sides, merged
    QList<QDate> written;           // days whose files the sync wrote
    int requests = 0;
    int puts = 0;
    int deletes = 0;
    // The message for the user: the failure, or the days merged; empty when there is nothing
    // to tell.
    QString message() const;
};

// One two-way sync of store's day files with the collection of settings. Each day is one
// journal entry for its notes and one one-hour event per hour row with text; what others
// created in the collection joins the pages. Every write is conditional, a day changed on both
// sides is merged three ways against what both held at the last sync, and nothing the page
// cannot show is ever written or deleted on the server. The state (what both held, the tags,
// the sync token) lives under $XDG_STATE_HOME/Ruvo/sync/, written whole once a sync is done.
// startTime: the hour of the first row. A stop request ends the requests under way; what was
// settled until then is kept. Two syncs of the same folder and server run one after the other.
SyncOutcome SyncNotes(const CalDavModule &module, const DayStore &store,
                      const SyncSettings &settings, const QString &password, int startTime,
                      const QDate &today, std::stop_token stop = {});

// One sync of store as the settings file sets it: the module loaded, the password looked up
// (SyncPassword), then SyncNotes; the failure tells what is missing.
SyncOutcome SyncAsSet(const QString &settingsPath, const DayStore &store, int startTime,
                      const QDate &today, std::stop_token stop = {});

// Whether the calendar of settings answers (made when it is missing): none when it does, else
// why not. password: the one to try; empty, SyncPassword's.
std::optional<QString> TryCalendar(const SyncSettings &settings, const QString &password);

} // namespace ruvo
