// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sync against a real Radicale on 127.0.0.1 (the tests' own, tests/caldavserver.py), each
// figure beside the floor it cannot beat on the same server: a sync that finds nothing changed
// in a folder of 10 years beside the one REPORT it sends, on a session of its own; the first
// sync of a year beside as many bare PUTs of the same calendar objects.

#include "caldavserver.h"

#include "notes/caldav.h"
#include "notes/dayfiles.h"
#include "notes/daystore.h"
#include "notes/notessync.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace ruvo;
using ruvo::testing::Radicale;

namespace {

const QDate kToday(2026, 12, 8);
const QString kExtension = QStringLiteral("ruv");
constexpr int kStartTime = 7;
const QString kPassword = QStringLiteral("p");

const CalDavModule &module()
{
    const CalDavModule *found = LoadCalDavModule();
    if (!found)
        std::abort();
    return *found;
}

const Radicale &server()
{
    // In memory, so that the disk's speed is no part of the figures.
    static const Radicale radicale(false, u"/dev/shm/ruvo-bench-radicale-XXXXXX"_qs);
    return radicale;
}

SyncSettings collection(const QString &name)
{
    SyncSettings settings = server().settings();
    settings.server.replace(u"/ruvo/"_qs, u'/' + name + u'/');
    return settings;
}

// A page a day, back from today: three note lines and two hours, so three items on the server.
QStringList notesOf(int day)
{
    return {u"Appeler Hélène pour le devis, jour "_qs + QString::number(day),
            u"Courses : pain, lait, café"_qs, u"Envoyer le rapport à Marc"_qs};
}

QStringList hoursOf()
{
    QStringList rows(kHourRows);
    rows[2] = u"Réunion salle 3"_qs;
    rows[7] = u"Appel client"_qs;
    return rows;
}

// The calendar objects a first sync puts for the folder's pages, by item name.
QList<DavChange> itemsOf(int days)
{
    QList<DavChange> items;
    for (int day = 0; day < days; ++day) {
        const QDate date = kToday.addDays(-day);
        const QString stem = date.toString(u"yyyyMMdd");
        items << DavChange{
            stem + u"-notes.ics", module().journal(stem + u"-notes@ruvo", date, notesOf(day)), {}};
        const QStringList rows = hoursOf();
        for (int row = 0; row < kHourRows; ++row) {
            if (rows[row].isEmpty())
                continue;
            const QString name =
                stem + u'T' + QString::asprintf("%02d", kStartTime + row) + u"0000-hour";
            items << DavChange{name + u".ics",
                               module().event(name + u"@ruvo", date, kStartTime + row, rows[row]),
                               {}};
        }
    }
    return items;
}

struct Folder
{
    explicit Folder(int days) : dir(u"/dev/shm/ruvo-bench-sync-XXXXXX"_qs)
    {
        if (!dir.isValid())
            std::abort();
        const DayStore store(dir.path(), kExtension);
        for (int day = 0; day < days; ++day) {
            const QDate date = kToday.addDays(-day);
            QFile notes(store.path(date, DayFileKind::Notes));
            QFile hours(store.path(date, DayFileKind::TimeFields));
            if (!notes.open(QIODevice::WriteOnly) || !hours.open(QIODevice::WriteOnly) ||
                notes.write(DayFileBytes(notesOf(day))) < 0 ||
                hours.write(DayFileBytes(hoursOf())) < 0)
                std::abort();
        }
    }
    DayStore store() const { return DayStore(dir.path(), kExtension); }
    QTemporaryDir dir;
};

SyncOutcome syncOf(const Folder &folder, const SyncSettings &settings)
{
    return SyncNotes(module(), folder.store(), settings, kPassword, kStartTime, kToday);
}

// Ten years on both sides, before any timing. Radicale takes each PUT in a time that grows with
// the collection (10950 of them would take most of an hour), so the server's side is laid in
// its storage as the items a first sync puts, and a first sync then finds both sides alike.
const Folder &tenYears()
{
    static const Folder folder = [] {
        Folder made(3650);
        const std::unique_ptr<CalDavSession> session =
            module().session(QUrl(collection(u"ten"_qs).server), u"u"_qs, kPassword, nullptr);
        if (!session->open())
            std::abort();
        for (const DavChange &item : itemsOf(3650)) {
            QFile file(server().collectionFolder(u"ten"_qs) + u'/' + item.href);
            if (!file.open(QIODevice::WriteOnly) || file.write(*item.data) < 0)
                std::abort();
        }
        const SyncOutcome first = syncOf(made, collection(u"ten"_qs));
        if (first.failure || first.puts != 0)
            std::abort();
        return made;
    }();
    return folder;
}

void BM_SyncNothingChanged(benchmark::State &state)
{
    const Folder &folder = tenYears();
    SyncOutcome outcome;
    for (auto _ : state)
        outcome = syncOf(folder, collection(u"ten"_qs));
    if (outcome.failure)
        state.SkipWithError(qPrintable(*outcome.failure));
    state.counters["requests"] = outcome.requests;
    state.counters["puts"] = outcome.puts;
}
BENCHMARK(BM_SyncNothingChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the one sync-collection REPORT, from the token of a listing, on a session that
// does nothing else.
void BM_SyncNothingChangedFloor(benchmark::State &state)
{
    tenYears();
    const std::unique_ptr<CalDavSession> session =
        module().session(QUrl(collection(u"ten"_qs).server), u"u"_qs, kPassword, nullptr);
    const std::optional<DavChanges> listed = session->changes({}, true);
    if (!listed || listed->token.isEmpty()) {
        state.SkipWithError("no sync token");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(session->changes(listed->token, true));
}
BENCHMARK(BM_SyncNothingChangedFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

const Folder &oneYear()
{
    static const Folder folder(365);
    return folder;
}

// Each first sync goes to a collection of its own.
SyncSettings newCollection()
{
    static int made = 0;
    return collection(u"year"_qs + QString::number(++made));
}

void BM_FirstSyncOfAYear(benchmark::State &state)
{
    const Folder &folder = oneYear();
    SyncOutcome outcome;
    for (auto _ : state)
        outcome = syncOf(folder, newCollection());
    if (outcome.failure)
        state.SkipWithError(qPrintable(*outcome.failure));
    state.counters["requests"] = outcome.requests;
    state.counters["puts"] = outcome.puts;
}
BENCHMARK(BM_FirstSyncOfAYear)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor: the same calendar objects, made beforehand, put as a first sync puts them (64 at
// once, If-None-Match), into a collection made before the clock starts.
void BM_FirstSyncOfAYearFloor(benchmark::State &state)
{
    const QList<DavChange> items = itemsOf(365);
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<CalDavSession> session =
            module().session(QUrl(newCollection().server), u"u"_qs, kPassword, nullptr);
        session->open();
        QList<DavChange> named = items;
        for (DavChange &change : named)
            change.href = session->hrefFor(change.href);
        state.ResumeTiming();
        for (qsizetype first = 0; first < named.size(); first += 64)
            benchmark::DoNotOptimize(session->write(named.mid(first, 64)));
    }
    state.counters["puts"] = double(items.size());
}
BENCHMARK(BM_FirstSyncOfAYearFloor)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    const QCoreApplication core(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The state of each sync stays in the run.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
