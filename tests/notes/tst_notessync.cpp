// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Two-way sync against a real Radicale on 127.0.0.1 (and a server of the tests' own that
// answers badly), started by each test and stopped at its end.

#include "caldavserver.h"
#include "filebytes.h"

#include "notes/caldav.h"
#include "notes/daystore.h"
#include "notes/notessync.h"

#include <QDirIterator>
#include <QFuture>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <csignal>

using namespace ruvo;
using ruvo::testing::bytesOf;
using ruvo::testing::Radicale;
using ruvo::testing::TestServer;

namespace {

const QDate kToday(2026, 12, 9);
const QString kExtension = QStringLiteral("ruv");
constexpr int kStartTime = 7;

const CalDavModule &Module()
{
    const CalDavModule *module = LoadCalDavModule();
    if (!module)
        qFatal("the CalDAV module is missing");
    return *module;
}

SyncOutcome Sync(const QString &folder, const SyncSettings &settings)
{
    return SyncNotes(Module(), DayStore(folder, kExtension), settings, u"p"_qs, kStartTime, kToday);
}

// Writes a day's two files; hours by row.
void WriteDay(const QString &folder, const QDate &date, const QStringList &notes,
              const QMap<int, QString> &hours = {})
{
    QStringList rows(kHourRows);
    for (auto it = hours.cbegin(); it != hours.cend(); ++it)
        rows[it.key()] = it.value();
    const DayStore store(folder, kExtension);
    ruvo::testing::writeBytes(store.path(date, DayFileKind::Notes), DayFileBytes(notes));
    ruvo::testing::writeBytes(store.path(date, DayFileKind::TimeFields), DayFileBytes(rows));
}

StoredPage ReadDay(const QString &folder, const QDate &date)
{
    return DayStore(folder, kExtension).read(date);
}

QByteArray FolderBytes(const QString &folder)
{
    QByteArray all;
    QDirIterator it(folder, QDir::Files);
    QStringList names;
    while (it.hasNext())
        names << it.next();
    names.sort();
    for (const QString &name : names)
        all += name.toUtf8() + '\n' + bytesOf(name);
    return all;
}

} // namespace

class TestNotesSync : public QObject
{
    Q_OBJECT

private slots:
    void firstSyncOfAYear_thenNothingChanged();
    void anotherClientsItems_showOnThePage();
    void twoFolders_offlineEdits_loseNothing_data();
    void twoFolders_offlineEdits_loseNothing();
    void refusedWrite_isMergedAndTriedAgain();
    void purge_deletesNothingOnTheServer();
    void killedSync_nextSyncLosesAndDoublesNothing();
    void unsafeConnection_isRefused_data();
    void unsafeConnection_isRefused();
    void hostileServer_leavesTheNotes_data();
    void hostileServer_leavesTheNotes();
    void stoppedSync_endsWithoutWaitingForTheServer();
};

void TestNotesSync::firstSyncOfAYear_thenNothingChanged()
{
    const Radicale server;
    QTemporaryDir folder;
    for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1))
        WriteDay(folder.path(), date, {u"Jour "_qs + date.toString(Qt::ISODate), u"é ✓"_qs},
                 date.dayOfWeek() == 1 ? QMap<int, QString>{{2, u"Réunion"_qs}}
                                       : QMap<int, QString>{});
    const SyncOutcome first = Sync(folder.path(), server.settings());
    QVERIFY2(!first.failure, qPrintable(first.message()));
    QCOMPARE(first.puts, 365 + 52);
    const QMap<QString, QByteArray> items = server.items();
    QCOMPARE(items.size(), 365 + 52);
    QVERIFY(items.value(u"20260105-notes@ruvo"_qs).contains("DESCRIPTION:Jour 2026-01-05\\né ✓"));
    QVERIFY(items.value(u"20260105T090000-hour@ruvo"_qs).contains("SUMMARY:Réunion"));

    const SyncOutcome second = Sync(folder.path(), server.settings());
    QVERIFY(!second.failure);
    QCOMPARE(second.requests, 1);
    QCOMPARE(second.puts + second.deletes, 0);
}

void TestNotesSync::anotherClientsItems_showOnThePage()
{
    const Radicale server;
    QTemporaryDir folder;
    const QDate day(2026, 12, 8);
    WriteDay(folder.path(), day, {u"Courses"_qs});
    QVERIFY(!Sync(folder.path(), server.settings()).failure);

    const auto put = [&](const QString &name, const QByteArray &component) {
        server.curl({u"-X"_qs, u"PUT"_qs, u"-H"_qs, u"Content-Type: text/calendar"_qs,
                     u"--data-binary"_qs,
                     QString::fromUtf8("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\n" +
                                       component + "END:VCALENDAR\r\n"),
                     server.url(name)});
    };
    put(u"a.ics"_qs, "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261208T000000Z\r\n"
                     "DTSTART:20261208T143000\r\nSUMMARY:Dentiste\r\nEND:VEVENT\r\n");
    put(u"b.ics"_qs, "BEGIN:VEVENT\r\nUID:b\r\nDTSTAMP:20261208T000000Z\r\n"
                     "DTSTART:20261208T060000\r\nSUMMARY:Train\r\nEND:VEVENT\r\n");
    put(u"c.ics"_qs, "BEGIN:VJOURNAL\r\nUID:c\r\nDTSTAMP:20261208T000000Z\r\n"
                     "DTSTART;VALUE=DATE:20261208\r\nDESCRIPTION:Idée du téléphone\r\n"
                     "END:VJOURNAL\r\n");
    put(u"d.ics"_qs, "BEGIN:VTODO\r\nUID:d\r\nDTSTAMP:20261208T000000Z\r\nSUMMARY:Tâche\r\n"
                     "END:VTODO\r\n");
    put(u"e.ics"_qs, "BEGIN:VEVENT\r\nUID:e\r\nDTSTAMP:20261208T000000Z\r\n"
                     "DTSTART:20261208T100000\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Série\r\n"
                     "END:VEVENT\r\n");

    const SyncOutcome outcome = Sync(folder.path(), server.settings());
    QVERIFY2(!outcome.failure, qPrintable(outcome.message()));
    const StoredPage page = ReadDay(folder.path(), day);
    QCOMPARE(page.notes(),
             (QStringList{u"Courses"_qs, u"06:00 Train"_qs, u"Idée du téléphone"_qs}));
    QCOMPARE(page.hours()[14 - kStartTime], u"Dentiste"_qs);
    QCOMPARE(page.hours()[10 - kStartTime], QString());
    // Nothing was doubled on the server, and what the page cannot show is still there.
    QCOMPARE(server.items().keys(),
             (QStringList{u"20261208-notes@ruvo"_qs, u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs}));
    QVERIFY(server.items().value(u"20261208-notes@ruvo"_qs).contains("DESCRIPTION:Courses\r\n"));

    // The line edited here changes the other client's event, which keeps its own properties.
    WriteDay(folder.path(), day, page.notes(), {{14 - kStartTime, u"Dentiste 15h"_qs}});
    QVERIFY(!Sync(folder.path(), server.settings()).failure);
    QVERIFY(server.items().value(u"a"_qs).contains("SUMMARY:Dentiste 15h"));
    QVERIFY(server.items().value(u"a"_qs).contains("DTSTART:20261208T143000"));
    QCOMPARE(server.items().size(), 6);
}

void TestNotesSync::twoFolders_offlineEdits_loseNothing_data()
{
    QTest::addColumn<QStringList>("notesA");
    QTest::addColumn<QString>("hourA");
    QTest::addColumn<QStringList>("notesB");
    QTest::addColumn<QString>("hourB");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<QString>("hour");
    QTest::newRow("different lines")
        << QStringList{u"un A"_qs, u"deux"_qs, u"trois"_qs} << u"Réunion"_qs
        << QStringList{u"un"_qs, u"deux"_qs, u"trois B"_qs} << u"Réunion"_qs
        << QStringList{u"un A"_qs, u"deux"_qs, u"trois B"_qs} << u"Réunion"_qs;
    QTest::newRow("the same line")
        << QStringList{u"un"_qs, u"deux de A"_qs, u"trois"_qs} << u"Réunion à 9h"_qs
        << QStringList{u"un"_qs, u"deux de B"_qs, u"trois"_qs} << u"Réunion salle 2"_qs
        << QStringList{u"un"_qs, u"deux de B"_qs, u"deux de A"_qs, u"trois"_qs}
        << u"Réunion salle 2 / Réunion à 9h"_qs;
}

void TestNotesSync::twoFolders_offlineEdits_loseNothing()
{
    QFETCH(QStringList, notesA);
    QFETCH(QString, hourA);
    QFETCH(QStringList, notesB);
    QFETCH(QString, hourB);
    QFETCH(QStringList, notes);
    QFETCH(QString, hour);
    const Radicale server;
    QTemporaryDir a, b;
    const QDate day(2026, 12, 8);
    WriteDay(a.path(), day, {u"un"_qs, u"deux"_qs, u"trois"_qs}, {{2, u"Réunion"_qs}});
    QVERIFY(!Sync(a.path(), server.settings()).failure);
    QVERIFY(!Sync(b.path(), server.settings()).failure);
    QCOMPARE(ReadDay(b.path(), day).notes(), (QStringList{u"un"_qs, u"deux"_qs, u"trois"_qs}));

    WriteDay(a.path(), day, notesA, {{2, hourA}});
    WriteDay(b.path(), day, notesB, {{2, hourB}});
    for (int round = 0; round < 2; ++round) {
        for (const QTemporaryDir *folder : {&a, &b}) {
            const SyncOutcome outcome = Sync(folder->path(), server.settings());
            QVERIFY2(!outcome.failure, qPrintable(outcome.message()));
        }
    }
    for (const QTemporaryDir *folder : {&a, &b}) {
        const StoredPage page = ReadDay(folder->path(), day);
        QCOMPARE(page.notes(), notes);
        QCOMPARE(page.hours()[2], hour);
    }
    const QMap<QString, QByteArray> items = server.items();
    QCOMPARE(items.keys(),
             (QStringList{u"20261208-notes@ruvo"_qs, u"20261208T090000-hour@ruvo"_qs}));
    QVERIFY(items.first().contains(notes.join(u"\\n"_qs).toUtf8()));
}

void TestNotesSync::refusedWrite_isMergedAndTriedAgain()
{
    const Radicale server;
    QTemporaryDir folder;
    const QDate day(2026, 12, 8);
    WriteDay(folder.path(), day, {u"un"_qs}, {{3, u"Avant"_qs}});
    QVERIFY(!Sync(folder.path(), server.settings()).failure);
    // The tag this side knows is no longer the server's, as after a change that came between
    // a listing and a write: the write is refused, read again, merged and made.
    QDirIterator states(qEnvironmentVariable("XDG_STATE_HOME") + u"/Ruvo/sync", {u"state.json"_qs},
                        QDir::Files, QDirIterator::Subdirectories);
    QString statePath;
    while (states.hasNext()) {
        const QString path = states.next();
        if (bytesOf(path).contains(QByteArray::number(server.port())) ||
            bytesOf(path).contains("Avant"))
            statePath = path;
    }
    QByteArray state = bytesOf(statePath);
    const qsizetype hour = state.indexOf("T100000-hour.ics");
    const qsizetype tag = state.indexOf("\"etag\":\"", hour) + 8;
    state.replace(tag, state.indexOf("\",\"", tag) - tag, "\\\"stale\\\"");
    ruvo::testing::writeBytes(statePath, state);

    WriteDay(folder.path(), day, {u"un"_qs}, {{3, u"Après"_qs}});
    const SyncOutcome outcome = Sync(folder.path(), server.settings());
    QVERIFY2(!outcome.failure, qPrintable(outcome.message()));
    QCOMPARE(outcome.puts, 1);
    QVERIFY(server.items().value(u"20261208T100000-hour@ruvo"_qs).contains("SUMMARY:Après"));
    QCOMPARE(ReadDay(folder.path(), day).hours()[3], u"Après"_qs);
}

void TestNotesSync::purge_deletesNothingOnTheServer()
{
    const Radicale server;
    QTemporaryDir folder;
    const QDate old = kToday.addDays(-100);
    WriteDay(folder.path(), old, {u"ancien"_qs}, {{0, u"tôt"_qs}});
    WriteDay(folder.path(), kToday, {u"récent"_qs});
    QVERIFY(!Sync(folder.path(), server.settings()).failure);
    QVERIFY(!DayStore(folder.path(), kExtension).purge(kToday, 30));
    QVERIFY(!QFile::exists(DayStore(folder.path(), kExtension).path(old, DayFileKind::Notes)));
    const SyncOutcome outcome = Sync(folder.path(), server.settings());
    QVERIFY(!outcome.failure);
    QCOMPARE(outcome.deletes, 0);
    QCOMPARE(server.items().size(), 3);
}

void TestNotesSync::killedSync_nextSyncLosesAndDoublesNothing()
{
    const Radicale server;
    QTemporaryDir folder, config;
    for (QDate date(2026, 6, 1); date < QDate(2026, 9, 1); date = date.addDays(1))
        WriteDay(folder.path(), date, {date.toString(Qt::ISODate)}, {{5, u"midi"_qs}});
    ruvo::testing::writeBytes(config.path() + u"/Ruvo.ini",
                              "[Synchronisation]\r\nserveur=" + server.settings().server.toUtf8() +
                                  "\r\nutilisateur=u\r\n");
    const QByteArray before = FolderBytes(folder.path());
    for (const int afterMs : {150, 400}) {
        QProcess sync;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_qs, config.path());
        environment.insert(u"RUVO_SYNC_PASSWORD"_qs, u"p"_qs);
        sync.setProcessEnvironment(environment);
        sync.start(QStringLiteral(RUVO_PROGRAM), {u"--sync"_qs, u"--folder"_qs, folder.path()});
        QVERIFY(sync.waitForStarted());
        QTest::qWait(afterMs);
        ::kill(pid_t(sync.processId()), SIGKILL);
        sync.waitForFinished();
    }
    const SyncOutcome outcome = Sync(folder.path(), server.settings());
    QVERIFY2(!outcome.failure, qPrintable(outcome.message()));
    QCOMPARE(FolderBytes(folder.path()), before);
    QCOMPARE(server.items().size(), 92 * 2);
    // A folder that starts from the server gets every page as it is here.
    QTemporaryDir copy;
    QVERIFY(!Sync(copy.path(), server.settings()).failure);
    for (QDate date(2026, 6, 1); date < QDate(2026, 9, 1); date = date.addDays(1)) {
        QCOMPARE(ReadDay(copy.path(), date).notes(), QStringList{date.toString(Qt::ISODate)});
        QCOMPARE(ReadDay(copy.path(), date).hours()[5], u"midi"_qs);
    }
}

void TestNotesSync::unsafeConnection_isRefused_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("server"); // empty: the test server's own
    QTest::addColumn<QString>("failure");
    QTest::newRow("self-signed certificate") << true << QString() << u"certificat"_qs;
    QTest::newRow("plain http to another machine")
        << false << u"http://192.0.2.1/u/ruvo/"_qs << u"http://"_qs;
}

void TestNotesSync::unsafeConnection_isRefused()
{
    QFETCH(bool, tls);
    QFETCH(QString, server);
    QFETCH(QString, failure);
    const Radicale radicale(tls);
    QTemporaryDir folder;
    WriteDay(folder.path(), kToday, {u"secret"_qs});
    SyncSettings settings = radicale.settings();
    if (!server.isEmpty())
        settings.server = server;
    const SyncOutcome outcome = Sync(folder.path(), settings);
    QVERIFY(outcome.failure);
    QVERIFY2(outcome.failure->contains(failure), qPrintable(*outcome.failure));
    QVERIFY(radicale.items().isEmpty());
}

void TestNotesSync::hostileServer_leavesTheNotes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("fails");
    QTest::newRow("huge answer") << u"huge"_qs << true;
    QTest::newRow("redirect elsewhere") << u"redirect"_qs << true;
    QTest::newRow("malformed calendar") << u"malformed"_qs << true;
    QTest::newRow("control characters") << u"control"_qs << true;
}

void TestNotesSync::hostileServer_leavesTheNotes()
{
    QFETCH(QString, mode);
    QFETCH(bool, fails);
    const TestServer server({u"hostile"_qs, mode});
    QTemporaryDir folder;
    const QDate day(2026, 12, 8);
    WriteDay(folder.path(), day, {u"mes notes"_qs}, {{3, u"à 10h"_qs}});
    const QByteArray before = FolderBytes(folder.path());
    const SyncOutcome outcome =
        Sync(folder.path(),
             {u"http://127.0.0.1:"_qs + QString::number(server.port()) + u"/cal/", u"u"_qs});
    QCOMPARE(bool(outcome.failure), fails);
    if (mode != u"control") {
        QCOMPARE(FolderBytes(folder.path()), before);
        return;
    }
    // The other side's text joins the page cleaned, as a paste is: one line, no control
    // character.
    const StoredPage page = ReadDay(folder.path(), day);
    QCOMPARE(page.hours()[3], u"à 10h / Bonjour[31m second  fin"_qs);
}

void TestNotesSync::stoppedSync_endsWithoutWaitingForTheServer()
{
    // A window closing while its sync waits on a server that never answers.
    const TestServer silent({u"hostile"_qs, u"silent"_qs});
    QTemporaryDir folder;
    WriteDay(folder.path(), kToday, {u"Courses"_qs});
    const QByteArray before = FolderBytes(folder.path());
    std::stop_source stop;
    QFuture<SyncOutcome> sync = QtConcurrent::run([&] {
        return SyncNotes(
            Module(), DayStore(folder.path(), kExtension),
            {u"http://127.0.0.1:"_qs + QString::number(silent.port()) + u"/cal/", QString()},
            QString(), kStartTime, kToday, stop.get_token());
    });
    QThread::msleep(300);
    stop.request_stop();
    const SyncOutcome outcome = sync.result(); // long before the 30 s a silent server is given
    QCOMPARE(outcome.failure, std::optional(u"la synchronisation est interrompue"_qs));
    QCOMPARE(FolderBytes(folder.path()), before);
}

QTEST_GUILESS_MAIN(TestNotesSync)
#include "tst_notessync.moc"
