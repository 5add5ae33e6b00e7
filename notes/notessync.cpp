// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notessync.h"

#include "caldav.h"
#include "cleantext.h"
#include "daystore.h"
#include "syncmerge.h"

#include "platform/installedfiles.h"
#include "platform/rescuefolder.h"
#include "platform/runtimefolder.h"
#include "platform/settingsfile.h"
#include "platform/wholefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMap>
#include <QSet>

#include <sys/stat.h>

#include <algorithm>

namespace ruvo {

namespace {

const QString kSection = QStringLiteral("Synchronisation");
const QString kServerKey = QStringLiteral("serveur");
const QString kUserKey = QStringLiteral("utilisateur");

constexpr qsizetype kWritesAtOnce = 64;
// A write refused because the item changed meanwhile is merged and tried again this often.
constexpr int kMergeRounds = 4;
constexpr int kLockPoll = 200; // ms between two looks at another sync's lock
constexpr qint64 kMaxStateSize = 256 * 1024 * 1024;

// What one server item adds to its day's page, as the last sync read or wrote it.
struct Item
{
    enum Slot { Notes, Row, Extra, None };
    QByteArray etag;
    QDate day;
    Slot slot = None;
    bool ours = false;
    int row = -1;
    int minute = 0;
    QStringList lines;
    // The text of another program's event that holds a row: a changed row changes its summary
    // and keeps the rest.
    QByteArray data;
};

// What both sides of a day held at the last sync, and how its files looked then.
struct DayBase
{
    QString seen;
    SyncDay day;
};

struct State
{
    bool opened = false;
    bool syncCollection = false;
    QByteArray token;
    QHash<QString, Item> items; // by href
    QMap<QDate, DayBase> days;
    QByteArray digest; // of the file as it was read: a sync that changed nothing leaves it
};

QString DayKey(const QDate &date)
{
    return date.toString(u"yyyyMMdd");
}

QString NotesUid(const QDate &date)
{
    return DayKey(date) + u"-notes@ruvo";
}

QString HourUid(const QDate &date, int hour)
{
    return DayKey(date) + u'T' + QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')) +
           u"0000-hour@ruvo";
}

// Blank lines at either end are no part of what a day's notes say.
QStringList Trimmed(QStringList lines)
{
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    return lines.mid(first);
}

QJsonArray ToJson(const QStringList &lines)
{
    return QJsonArray::fromStringList(lines);
}

QStringList LinesOf(const QJsonValue &value)
{
    QStringList lines;
    for (const QJsonValue &line : value.toArray())
        lines << line.toString();
    return lines;
}

QString StatePath(const QString &folder, const SyncSettings &settings)
{
    const QByteArray server = QCryptographicHash::hash(
        (settings.user + u'\n' + settings.server).toUtf8(), QCryptographicHash::Sha1);
    return RescueFolder() + u"/sync/" + FolderKey(folder) + u'-' +
           QString::fromLatin1(server.toHex().left(16)) + u"/state.json";
}

State ReadState(const QString &path)
{
    State state;
    QByteArray bytes;
    if (ReadFileWhole(path, kMaxStateSize, bytes) != WholeFileRead::Read)
        return state;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    if (root.value(u"version").toInt() != 1)
        return state; // none, or damaged: the next sync starts again and merges all
    state.opened = true;
    state.digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    state.syncCollection = root.value(u"syncCollection").toBool();
    state.token = root.value(u"token").toString().toUtf8();
    const QJsonObject items = root.value(u"items").toObject();
    for (auto it = items.begin(); it != items.end(); ++it) {
        const QJsonObject object = it.value().toObject();
        Item item;
        item.etag = object.value(u"etag").toString().toUtf8();
        item.day = QDate::fromString(object.value(u"day").toString(), u"yyyyMMdd");
        item.slot = Item::Slot(std::clamp(object.value(u"slot").toInt(Item::None), 0, 3));
        item.ours = object.value(u"ours").toBool();
        item.row = object.value(u"row").toInt(-1);
        item.minute = object.value(u"minute").toInt();
        item.lines = LinesOf(object.value(u"lines"));
        item.data = object.value(u"data").toString().toUtf8();
        if (item.slot == Item::Row && (item.row < 0 || item.row >= kHourRows))
            item.slot = Item::None;
        state.items.insert(it.key(), item);
    }
    const QJsonObject days = root.value(u"days").toObject();
    for (auto it = days.begin(); it != days.end(); ++it) {
        const QJsonObject object = it.value().toObject();
        DayBase base;
        base.seen = object.value(u"seen").toString();
        base.day.notes = LinesOf(object.value(u"notes"));
        const QStringList hours = LinesOf(object.value(u"hours"));
        for (qsizetype row = 0; row < kHourRows && row < hours.size(); ++row)
            base.day.hours[std::size_t(row)] = hours[row];
        state.days.insert(QDate::fromString(it.key(), u"yyyyMMdd"), base);
    }
    return state;
}

bool WriteState(const QString &path, const State &state)
{
    QJsonObject items;
    for (auto it = state.items.cbegin(); it != state.items.cend(); ++it) {
        const Item &item = it.value();
        QJsonObject object{{u"etag"_qs, QString::fromUtf8(item.etag)}, {u"slot"_qs, item.slot}};
        if (item.day.isValid())
            object.insert(u"day", DayKey(item.day));
        if (item.ours)
            object.insert(u"ours", true);
        if (item.slot == Item::Row) {
            object.insert(u"row", item.row);
            object.insert(u"minute", item.minute);
        }
        if (!item.lines.isEmpty())
            object.insert(u"lines", ToJson(item.lines));
        if (!item.data.isEmpty())
            object.insert(u"data", QString::fromUtf8(item.data));
        items.insert(it.key(), object);
    }
    QJsonObject days;
    for (auto it = state.days.cbegin(); it != state.days.cend(); ++it) {
        days.insert(DayKey(it.key()),
                    QJsonObject{{u"seen"_qs, it->seen},
                                {u"notes"_qs, ToJson(it->day.notes)},
                                {u"hours"_qs, ToJson(QStringList(it->day.hours.cbegin(),
                                                                 it->day.hours.cend()))}});
    }
    const QJsonObject root{{u"version"_qs, 1},
                           {u"syncCollection"_qs, state.syncCollection},
                           {u"token"_qs, QString::fromUtf8(state.token)},
                           {u"items"_qs, items},
                           {u"days"_qs, days}};
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Compact);
    if (!state.digest.isEmpty() &&
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1) == state.digest)
        return true; // as it is on the disk: no write, no wait for the disk
    return QDir().mkpath(QFileInfo(path).path()) && ReplaceFileWhole(path, bytes);
}

// The size and change time of both files of a date: a day whose files still look so is not
// read again.
QString SeenFiles(const DayStore &store, const QDate &date)
{
    QString seen;
    for (const DayFileKind kind : kDayFileKinds) {
        struct stat status = {};
        if (::stat(QFile::encodeName(store.path(date, kind)).constData(), &status) == 0)
            seen += QString::number(status.st_size) + u':' +
                    QString::number(qint64(status.st_mtim.tv_sec) * 1'000'000'000 +
                                    status.st_mtim.tv_nsec) +
                    u';';
        else
            seen += u"-;";
    }
    return seen;
}

// What a server item adds to the page; None for what the page cannot show, which is then
// never written or deleted.
Item ItemOf(const CalDavModule &module, const DavItem &fetched, int startTime, const QDate &today)
{
    Item item;
    item.etag = fetched.etag;
    const std::optional<QList<CalendarEntry>> entries = module.read(fetched.data);
    if (!entries || entries->size() != 1 || entries->first().kind == CalendarEntry::Other)
        return item;
    const CalendarEntry &entry = entries->first();
    // A date a century away shares its files with one near today: it cannot be shown.
    if (DateOfStem(DayFileStem(entry.date), today) != entry.date)
        return item;
    item.day = entry.date;
    if (entry.kind == CalendarEntry::Journal) {
        item.ours = entry.uid == NotesUid(entry.date);
        item.slot = item.ours ? Item::Notes : Item::Extra;
        item.lines = Trimmed(SplitDayLines(
            CleanNotesText(entry.description.isEmpty() ? entry.summary : entry.description)));
    } else {
        const QString text = CleanHourText(entry.summary, kNotesMaxLength);
        const int row = entry.hour - startTime;
        if (entry.hour >= 0 && row >= 0 && row < kHourRows && text.size() <= kTimeFieldMaxLength) {
            item.slot = Item::Row;
            item.row = row;
            item.minute = entry.minute;
            item.ours = entry.minute == 0 && entry.uid == HourUid(entry.date, entry.hour);
            item.lines = QStringList{text};
            if (!item.ours)
                item.data = fetched.data;
        } else {
            item.slot = Item::Extra;
            item.lines =
                QStringList{entry.hour < 0 ? text
                                           : QStringLiteral("%1:%2 ")
                                                     .arg(entry.hour, 2, 10, QLatin1Char('0'))
                                                     .arg(entry.minute, 2, 10, QLatin1Char('0')) +
                                                 text};
        }
    }
    qsizetype length = 0;
    for (const QString &line : std::as_const(item.lines))
        length += line.size() + 1;
    if (length > kNotesMaxLength) {
        item = Item{};
        item.etag = fetched.etag;
    }
    return item;
}

// The day as the server holds it, and which item holds what.
struct DayView
{
    SyncDay day;
    QString notesHref;
    std::array<QString, kHourRows> rowHref;
    QStringList extraLines;
};

DayView ViewOf(const State &state, const QStringList &hrefs)
{
    DayView view;
    QStringList sorted = hrefs;
    std::sort(sorted.begin(), sorted.end());
    // Ruvo's own events hold their rows first; another program's event on a row already held
    // joins the notes.
    QList<const Item *> rowItems;
    QStringList rowItemHrefs;
    for (const bool ours : {true, false}) {
        for (const QString &href : std::as_const(sorted)) {
            const Item &item = *state.items.constFind(href);
            if (item.slot == Item::Row && item.ours == ours) {
                rowItems << &item;
                rowItemHrefs << href;
            }
        }
    }
    for (qsizetype i = 0; i < rowItems.size(); ++i) {
        const Item &item = *rowItems[i];
        QString &holder = view.rowHref[std::size_t(item.row)];
        if (holder.isEmpty()) {
            holder = rowItemHrefs[i];
            view.day.hours[std::size_t(item.row)] = item.lines.value(0);
        }
    }
    QStringList extra;
    for (const QString &href : std::as_const(sorted)) {
        const Item &item = *state.items.constFind(href);
        if (item.slot == Item::Notes && view.notesHref.isEmpty()) {
            view.notesHref = href;
            view.day.notes = item.lines;
        } else if (item.slot == Item::Extra || item.slot == Item::Notes) {
            extra += item.lines;
        } else if (item.slot == Item::Row && view.rowHref[std::size_t(item.row)] != href) {
            extra << QStringLiteral("%1:%2 ")
                             .arg(item.row, 2, 10, QLatin1Char('0'))
                             .arg(item.minute, 2, 10, QLatin1Char('0')) +
                         item.lines.value(0);
        }
    }
    view.extraLines = extra;
    view.day.notes = Trimmed(view.day.notes + extra);
    return view;
}

// A write planned for a day, and what the item is once it is done.
struct PlannedWrite
{
    QDate day;
    DavChange change;
    std::optional<Item> item; // none: deleted
};

QList<PlannedWrite> WritesFor(const CalDavModule &module, const CalDavSession &session,
                              const State &state, const QDate &date, const DayView &view,
                              const SyncDay &merged, int startTime)
{
    QList<PlannedWrite> writes;
    // The journal holds the notes but what other programs' items already add.
    QStringList own = merged.notes;
    for (const QString &line : view.extraLines)
        own.removeOne(line);
    own = Trimmed(own);
    const Item *notes =
        view.notesHref.isEmpty() ? nullptr : &*state.items.constFind(view.notesHref);
    if (own != (notes ? notes->lines : QStringList())) {
        const QString href = notes ? view.notesHref : session.hrefFor(DayKey(date) + u"-notes.ics");
        const QByteArray ifMatch = notes ? notes->etag : QByteArray();
        if (own.isEmpty()) {
            writes << PlannedWrite{date, {href, std::nullopt, ifMatch}, std::nullopt};
        } else {
            Item item{{}, date, Item::Notes, true, -1, 0, own, {}};
            writes << PlannedWrite{
                date, {href, module.journal(NotesUid(date), date, own), ifMatch}, item};
        }
    }
    for (int row = 0; row < kHourRows; ++row) {
        const QString &text = merged.hours[std::size_t(row)];
        const QString &holderHref = view.rowHref[std::size_t(row)];
        const Item *holder = holderHref.isEmpty() ? nullptr : &*state.items.constFind(holderHref);
        const QString held = holder ? holder->lines.value(0) : QString();
        if (text == held || (text.trimmed().isEmpty() && !holder))
            continue;
        if (text.trimmed().isEmpty()) {
            writes << PlannedWrite{date, {holderHref, std::nullopt, holder->etag}, std::nullopt};
            continue;
        }
        Item item = holder ? *holder : Item{{}, date, Item::Row, true, row, 0, {}, {}};
        item.lines = QStringList{text};
        std::optional<QByteArray> data;
        if (holder && !holder->ours)
            data = module.withSummary(holder->data, text);
        else
            data = module.event(HourUid(date, startTime + row), date, startTime + row, text);
        if (!data)
            continue; // another program's event libical cannot write again: left as it is
        if (!item.ours)
            item.data = *data;
        const QString href =
            holder ? holderHref
                   : session.hrefFor(HourUid(date, startTime + row).section(u'@', 0, 0) + u".ics");
        writes << PlannedWrite{date, {href, data, holder ? holder->etag : QByteArray()}, item};
    }
    return writes;
}

SyncDay LocalDay(const StoredPage &page)
{
    return SyncDay{Trimmed(page.notes()), page.hours()};
}

// Writes merged into the day's files where they differ; the write keeps what another program
// wrote there meanwhile, as the page's own saves do.
std::optional<Error> WriteLocal(const DayStore &store, const QDate &date, StoredPage page,
                                const SyncDay &merged)
{
    const SyncDay local = LocalDay(page);
    page.files[DayFileIndex(DayFileKind::Notes)].unsaved = local.notes != merged.notes;
    page.files[DayFileIndex(DayFileKind::TimeFields)].unsaved = local.hours != merged.hours;
    const PageLines lines{merged.notes, QStringList(merged.hours.cbegin(), merged.hours.cend())};
    return store.write(date, page.files, lines).failure;
}

QString DatesText(const QList<QDate> &dates)
{
    QStringList texts;
    for (const QDate &date : dates)
        texts << date.toString(u"dd/MM/yyyy");
    return texts.join(QStringLiteral(", "));
}

} // namespace

SyncSettings ReadSyncSettings(const QString &settingsPath)
{
    const SettingsFile settings(settingsPath);
    return SyncSettings{settings.readString(kSection, kServerKey, QString()).trimmed(),
                        settings.readString(kSection, kUserKey, QString()).trimmed()};
}

void WriteSyncSettings(const QString &settingsPath, const SyncSettings &settings)
{
    const SettingsFile file(settingsPath);
    file.writeString(kSection, kServerKey, settings.server);
    file.writeString(kSection, kUserKey, settings.user);
}

const CalDavModule *LoadCalDavModule(QString *failure)
{
    QString failures;
    const auto *module = qobject_cast<CalDavModule *>(LoadProgramModule(kCalDavModule, &failures));
    if (!module && failure)
        *failure = u"ne peut charger le module de synchronisation (" + failures + u')';
    return module;
}

std::optional<QString> SyncPassword(const CalDavModule &module, const SyncSettings &settings)
{
    if (qEnvironmentVariableIsSet("RUVO_SYNC_PASSWORD"))
        return qEnvironmentVariable("RUVO_SYNC_PASSWORD");
    if (settings.user.isEmpty())
        return QString();
    return module.storedPassword(settings.server, settings.user);
}

namespace {
QString NoPassword(const SyncSettings &settings)
{
    return u"aucun mot de passe pour " + settings.user +
           u" : ni dans le trousseau du bureau, ni dans RUVO_SYNC_PASSWORD";
}
} // namespace

SyncOutcome SyncAsSet(const QString &settingsPath, const DayStore &store, int startTime,
                      const QDate &today, std::stop_token stop)
{
    SyncOutcome outcome;
    const SyncSettings settings = ReadSyncSettings(settingsPath);
    if (!settings.isSet()) {
        outcome.failure = u"la synchronisation n'est pas réglée : donnez l'adresse du calendrier "
                          u"(menu de la page, « Synchronisation… », ou [Synchronisation] "
                          u"serveur= dans " +
                          settingsPath + u')';
        return outcome;
    }
    QString why;
    const CalDavModule *module = LoadCalDavModule(&why);
    if (!module) {
        outcome.failure = why;
        return outcome;
    }
    const std::optional<QString> password = SyncPassword(*module, settings);
    if (!password) {
        outcome.failure = NoPassword(settings);
        return outcome;
    }
    return SyncNotes(*module, store, settings, *password, startTime, today, std::move(stop));
}

std::optional<QString> TryCalendar(const SyncSettings &settings, const QString &password)
{
    QString why;
    const CalDavModule *module = LoadCalDavModule(&why);
    if (!module)
        return why;
    std::optional<QString> tried = password;
    if (password.isEmpty())
        tried = SyncPassword(*module, settings);
    if (!tried)
        return NoPassword(settings);
    const std::unique_ptr<CalDavSession> session =
        module->session(QUrl(settings.server), settings.user, *tried, &why);
    if (!session)
        return why;
    if (!session->open())
        return session->error();
    return std::nullopt;
}

QString SyncOutcome::message() const
{
    QStringList lines;
    if (!conflicts.isEmpty())
        lines << u"Synchronisation : ces pages avaient changé ici et sur le serveur, les deux "
                 u"textes sont gardés : " +
                     DatesText(conflicts) + u'.';
    if (failure)
        lines << u"La synchronisation n'a pu se faire : " + *failure + u'.';
    return lines.join(u'\n');
}

SyncOutcome SyncNotes(const CalDavModule &module, const DayStore &store,
                      const SyncSettings &settings, const QString &password, int startTime,
                      const QDate &today, std::stop_token stop)
{
    SyncOutcome outcome;
    QString why;
    const std::unique_ptr<CalDavSession> session =
        module.session(QUrl(settings.server), settings.user, password, &why);
    if (!session) {
        outcome.failure = why;
        return outcome;
    }
    const std::stop_callback cancel(stop, [&session] { session->cancel(); });
    const QString statePath = StatePath(store.folder(), settings);
    // One sync at a time per folder and server (the window's and a timer's `ruvo --sync`): each
    // writes the state whole from what it read.
    QDir().mkpath(QFileInfo(statePath).path());
    QLockFile lock(statePath + u".lock");
    // Stale only once its process is gone: a first sync of years may hold it for minutes.
    lock.setStaleLockTime(0);
    while (!lock.tryLock(kLockPoll)) {
        if (stop.stop_requested() || lock.error() != QLockFile::LockFailedError) {
            outcome.failure = u"ne peut verrouiller " + lock.fileName();
            return outcome;
        }
    }
    State state = ReadState(statePath);
    const auto done = [&](std::optional<QString> failure = std::nullopt) {
        outcome.requests = session->requests();
        if (!failure && !WriteState(statePath, state))
            failure = u"ne peut écrire " + statePath;
        outcome.failure = failure;
        return outcome;
    };
    const auto stopped = [&] {
        return done(session->error());
    };

    if (!state.opened) {
        const std::optional<bool> syncCollection = session->open();
        if (!syncCollection)
            return stopped();
        state.syncCollection = *syncCollection;
    }
    std::optional<DavChanges> changes = session->changes(state.token, state.syncCollection);
    if (!changes)
        return stopped();

    // What changed on the server.
    QSet<QDate> touched;
    QStringList toFetch;
    for (const DavItem &item : std::as_const(changes->changed)) {
        const auto known = state.items.constFind(item.href);
        if (known == state.items.cend() || known->etag != item.etag)
            toFetch << item.href;
    }
    QSet<QString> gone(changes->removed.cbegin(), changes->removed.cend());
    if (changes->complete) {
        QSet<QString> listed;
        for (const DavItem &item : std::as_const(changes->changed))
            listed.insert(item.href);
        for (auto it = state.items.cbegin(); it != state.items.cend(); ++it)
            if (!listed.contains(it.key()))
                gone.insert(it.key());
    }
    const auto fetchItems = [&](const QStringList &hrefs) {
        const std::optional<QList<DavItem>> fetched = session->fetch(hrefs);
        if (!fetched)
            return false;
        QSet<QString> missing(hrefs.cbegin(), hrefs.cend());
        for (const DavItem &item : *fetched) {
            missing.remove(item.href);
            const auto old = state.items.constFind(item.href);
            if (old != state.items.cend() && old->day.isValid())
                touched.insert(old->day);
            const Item now = ItemOf(module, item, startTime, today);
            if (now.day.isValid())
                touched.insert(now.day);
            state.items.insert(item.href, now);
        }
        for (const QString &href : std::as_const(missing)) {
            const Item old = state.items.take(href);
            if (old.day.isValid())
                touched.insert(old.day);
        }
        return true;
    };
    for (const QString &href : std::as_const(gone)) {
        const Item old = state.items.take(href);
        if (old.day.isValid())
            touched.insert(old.day);
    }
    if (!toFetch.isEmpty() && !fetchItems(toFetch))
        return stopped();

    // What changed here: a day whose files no longer look as they did at the last sync.
    QMap<QDate, QString> seen;
    for (const DayFileEntry &entry : store.list(today)) {
        if (seen.contains(entry.date))
            continue;
        const QString now = SeenFiles(store, entry.date);
        seen.insert(entry.date, now);
        const auto base = state.days.constFind(entry.date);
        if (base == state.days.cend() || base->seen != now)
            touched.insert(entry.date);
    }

    QHash<QDate, QStringList> hrefsOfDay;
    const auto indexDays = [&] {
        hrefsOfDay.clear();
        for (auto it = state.items.cbegin(); it != state.items.cend(); ++it)
            if (it->day.isValid())
                hrefsOfDay[it->day] << it.key();
    };
    indexDays();

    QList<QDate> days(touched.cbegin(), touched.cend());
    std::sort(days.begin(), days.end());
    QSet<QDate> conflicts;
    QSet<QDate> written;
    QSet<QDate> unsettled;
    QSet<QDate> processed;
    for (int round = 0; round < kMergeRounds && !days.isEmpty(); ++round) {
        QList<PlannedWrite> planned;
        for (const QDate &date : std::as_const(days)) {
            processed.insert(date);
            const DayView view = ViewOf(state, hrefsOfDay.value(date));
            const auto baseIt = state.days.constFind(date);
            const SyncDay base = baseIt == state.days.cend() ? SyncDay{} : baseIt->day;
            StoredPage page;
            SyncDay local = base; // a day purged here is no change: the server keeps it
            const QString seenNow = SeenFiles(store, date);
            const bool onDisk = seenNow != u"-;-;";
            try {
                if (onDisk) {
                    page = store.read(date);
                    local = LocalDay(page);
                }
            } catch (const Error &error) {
                outcome.failure = error.message();
                unsettled.insert(date);
                continue;
            }
            bool conflicted = false;
            const SyncDay merged = MergeDaysThreeWay(base, local, view.day, &conflicted);
            if (conflicted)
                conflicts.insert(date);
            if (merged != local && (onDisk || !merged.isEmpty())) {
                if (const std::optional<Error> failure = WriteLocal(store, date, page, merged)) {
                    outcome.failure = failure->message();
                    unsettled.insert(date);
                    continue;
                }
                written.insert(date);
                state.days[date].seen.clear(); // read again next time
            } else {
                state.days[date].seen = seenNow;
            }
            planned += WritesFor(module, *session, state, date, view, merged, startTime);
        }
        QSet<QDate> again;
        QStringList refetch;
        for (qsizetype first = 0; first < planned.size(); first += kWritesAtOnce) {
            const QList<PlannedWrite> batch = planned.mid(first, kWritesAtOnce);
            QList<DavChange> changesToSend;
            for (const PlannedWrite &write : batch)
                changesToSend << write.change;
            const QList<DavWrite> answers = session->write(changesToSend);
            for (qsizetype i = 0; i < batch.size(); ++i) {
                const PlannedWrite &write = batch[i];
                const DavWrite &answer = answers[i];
                if (answer.outcome == DavWrite::Done) {
                    (write.change.data ? outcome.puts : outcome.deletes) += 1;
                    if (write.item) {
                        Item item = *write.item;
                        item.etag = answer.etag; // none: the next listing tells it
                        state.items.insert(write.change.href, item);
                        if (!hrefsOfDay[write.day].contains(write.change.href))
                            hrefsOfDay[write.day] << write.change.href;
                    } else {
                        state.items.remove(write.change.href);
                        hrefsOfDay[write.day].removeAll(write.change.href);
                    }
                } else if (answer.outcome == DavWrite::Failed) {
                    outcome.failure = session->error();
                    unsettled.insert(write.day);
                } else if (!write.change.data && answer.outcome == DavWrite::Gone) {
                    state.items.remove(write.change.href); // deleted there too
                    hrefsOfDay[write.day].removeAll(write.change.href);
                } else {
                    // Changed or made meanwhile by another client: read it, merge, try again.
                    refetch << write.change.href;
                    again.insert(write.day);
                }
            }
            if (outcome.failure)
                break;
        }
        if (outcome.failure)
            break;
        if (!refetch.isEmpty()) {
            touched.clear();
            if (!fetchItems(refetch))
                return stopped();
            for (const QDate &date : std::as_const(touched))
                again.insert(date);
            indexDays();
        }
        days = QList<QDate>(again.cbegin(), again.cend());
        std::sort(days.begin(), days.end());
    }
    unsettled += QSet<QDate>(days.cbegin(), days.cend()); // still refused after every round
    // What both sides hold now is the base of the next sync; a day left unsettled keeps its old
    // base, and its files are read again then.
    for (const QDate &date : std::as_const(processed)) {
        if (unsettled.contains(date))
            state.days[date].seen.clear();
        else
            state.days[date].day = ViewOf(state, hrefsOfDay.value(date)).day;
    }
    if (!outcome.failure && !changes->token.isEmpty())
        state.token = changes->token;
    outcome.conflicts = QList<QDate>(conflicts.cbegin(), conflicts.cend());
    std::sort(outcome.conflicts.begin(), outcome.conflicts.end());
    outcome.written = QList<QDate>(written.cbegin(), written.cend());
    std::sort(outcome.written.begin(), outcome.written.end());
    const std::optional<QString> failure = outcome.failure;
    return done(failure);
}

} // namespace ruvo
