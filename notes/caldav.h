// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtPlugin>

#include <memory>
#include <optional>

namespace ruvo {

// One calendar object resource of the collection: its path on the server (as the server names
// it, a path under the collection's), its entity tag and, when fetched, its iCalendar text.
struct DavItem
{
    QString href;
    QByteArray etag;
    QByteArray data;
};

// What changed in the collection since a sync token.
struct DavChanges
{
    QList<DavItem> changed; // href and etag; the text is fetched apart
    QStringList removed;
    QByteArray token;      // the token to ask from next time; empty: the server gives none
    bool complete = false; // every item was listed (a first listing, or no sync-collection)
};

// The answer to one conditional write.
struct DavWrite
{
    enum Outcome { Done, Refused, Gone, Failed };
    Outcome outcome = Failed;
    QByteArray etag; // after a Done PUT, when the server tells it
};

// A write to make: the text to put (none: delete) and the tag the item must still have (none:
// it must not exist yet).
struct DavChange
{
    QString href;
    std::optional<QByteArray> data;
    QByteArray ifMatch;
};

// The HTTP exchanges with one calendar collection (RFC 4791, RFC 6578). Every call waits for its
// answers on the calling thread; a failure is told by error() and leaves nothing half done on
// this side. Credentials travel only over TLS or to this machine, a certificate error refuses
// the connection, a redirect is refused, and an answer past a size limit is dropped.
class CalDavSession
{
public:
    virtual ~CalDavSession() = default;

    // The reason of the last failure, for the user.
    virtual QString error() const = 0;
    // The requests sent so far.
    virtual int requests() const = 0;

    // Looks the collection up, making it (MKCALENDAR) when it is missing. Whether it answers
    // sync-collection reports, or none on a failure.
    virtual std::optional<bool> open() = 0;
    // With sync-collection, the changes since token (empty: every item); otherwise every item,
    // listed by a calendar-query of tags. A token the server no longer takes lists every item.
    virtual std::optional<DavChanges> changes(const QByteArray &token, bool syncCollection) = 0;
    // The texts of these items (calendar-multiget); an item gone meanwhile is left out.
    virtual std::optional<QList<DavItem>> fetch(const QStringList &hrefs) = 0;
    // Makes the writes, several at once, each conditional; one answer for each, in order.
    virtual QList<DavWrite> write(const QList<DavChange> &changes) = 0;
    // The path under the collection of a new item named name.
    virtual QString hrefFor(const QString &name) const = 0;
    // Ends the requests under way and refuses the next ones, as failures; the one call that
    // may come from another thread (a window closing while its sync runs).
    virtual void cancel() = 0;
};

// One component of a calendar object as the page can take it.
struct CalendarEntry
{
    enum Kind { Journal, Event, Other };
    Kind kind = Other; // Other: what the page cannot show (a to-do, a repeating series...)
    QString uid;
    QDate date;
    int hour = -1; // the start in local time; -1: a whole day
    int minute = 0;
    QString summary;
    QString description;
};

// The module that brings Qt Network and libical in, loaded after the window's first paint or by
// `ruvo --sync`: a start never maps either.
class CalDavModule
{
public:
    virtual ~CalDavModule() = default;

    // A session with the collection at url, or none with the reason in error (a scheme other
    // than https, plain http to another machine).
    virtual std::unique_ptr<CalDavSession> session(const QUrl &url, const QString &user,
                                                   const QString &password,
                                                   QString *error) const = 0;

    // The components of a calendar object; none when its text is not iCalendar.
    virtual std::optional<QList<CalendarEntry>> read(const QByteArray &text) const = 0;
    // A calendar object of one journal entry (the day's notes) or one one-hour event.
    virtual QByteArray journal(const QString &uid, const QDate &date,
                               const QStringList &notes) const = 0;
    virtual QByteArray event(const QString &uid, const QDate &date, int hour,
                             const QString &summary) const = 0;
    // text with its one component's summary set anew, every other property kept.
    virtual std::optional<QByteArray> withSummary(const QByteArray &text,
                                                  const QString &summary) const = 0;

    // The password kept in the desktop's keyring for user at server; none without one.
    virtual std::optional<QString> storedPassword(const QString &server,
                                                  const QString &user) const = 0;
    virtual bool storePassword(const QString &server, const QString &user, const QString &password,
                               QString *error) const = 0;
};

// File name of the module, without the platform's prefix and suffix.
inline constexpr auto kCalDavModule = "ruvo_caldav";

} // namespace ruvo

#define RuvoCalDavModule_iid "ruvo.CalDavModule/1.0"
Q_DECLARE_INTERFACE(ruvo::CalDavModule, RuvoCalDavModule_iid)
