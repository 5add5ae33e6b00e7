// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reminders agent against a notification server of the tests' own on a private session
// bus, its clock the tests' to move.

#include "app/remindersagent.h"
#include "notes/daystore.h"
#include "notes/reminders.h"
#include "platform/autostartentry.h"
#include "platform/runtimefolder.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

namespace {

const QDate kToday(2026, 12, 9);
const QString kServer = QStringLiteral("org.freedesktop.Notifications");

// The agent's clock: runs from a time the test sets.
struct TestClock
{
    QDateTime from;
    QElapsedTimer since;
    void set(const QTime &time, const QDate &date = kToday)
    {
        from = QDateTime(date, time);
        since.start();
    }
    QDateTime now() const { return from.addMSecs(since.elapsed()); }
};

// A notes folder with its settings file, and the agent on it.
struct Folder
{
    QTemporaryDir dir;
    QString settings = dir.filePath(QStringLiteral("Ruvo.ini"));
    TestClock clock;

    explicit Folder(std::optional<int> lead) { SetReminderLead(settings, lead); }

    // Writes the hour lines of date: hour -> text.
    void writeHours(const QMap<int, QString> &lines, const QDate &date = kToday) const
    {
        QStringList rows(kHourRows);
        for (auto it = lines.cbegin(); it != lines.cend(); ++it)
            rows[it.key() - 7] = it.value();
        PageFiles files;
        files[DayFileIndex(DayFileKind::TimeFields)].unsaved = true;
        PageLines page;
        page[DayFileIndex(DayFileKind::TimeFields)] = rows;
        QVERIFY(!DayStore(dir.path(), QStringLiteral("ruv")).write(date, files, page).failure);
    }

    // program: what "Ouvrir la page" starts.
    std::unique_ptr<RemindersAgent> startAgent(const QString &program = QStringLiteral("true"))
    {
        auto agent = std::make_unique<RemindersAgent>(dir.path(), settings, program);
        agent->setClock([this] { return clock.now(); });
        agent->start();
        return agent;
    }
};

// A call to the server's side for the tests (a plain message: no introspection).
QDBusMessage callTestSide(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kServer, QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.example.RuvoTest"), method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call);
}

// The Notify calls the server heard since the capabilities were last set.
QJsonArray calls()
{
    const QDBusReply<QString> reply = callTestSide(QStringLiteral("Calls"));
    return QJsonDocument::fromJson(reply.value().toUtf8()).array();
}

} // namespace

class RemindersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void remindsOnceAtItsTime_data();
    void remindsOnceAtItsTime();
    void remindsNothing_data();
    void remindsNothing();
    void snoozeRemindsTenMinutesLater();
    void openShowsTodaysPage();
    void lineTypedWhileRunningReminds();
    void missedWhileDownComeAsOneSummary();
    void followsMidnightAndClockJumps();
    void agentProcessLoadsNoWindowAndRunsOnce();
    void autostartEntryStartsTheAgentOnTheFolder_data();
    void autostartEntryStartsTheAgentOnTheFolder();

private:
    QProcess m_server;
};

void RemindersTest::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run under dbus-run-session)");
    m_server.setProcessChannelMode(QProcess::ForwardedChannels);
    m_server.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(RUVO_TESTS_DIR "/app/notificationserver.py")});
    QVERIFY(m_server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        QDBusConnection::sessionBus().interface()->isServiceRegistered(kServer), 10000);
}

void RemindersTest::init()
{
    QVERIFY(callTestSide(QStringLiteral("Capabilities"),
                         {QStringList{QStringLiteral("actions"), QStringLiteral("body")}})
                .type() != QDBusMessage::ErrorMessage);
}

void RemindersTest::cleanupTestCase()
{
    m_server.kill();
    m_server.waitForFinished();
}

void RemindersTest::remindsOnceAtItsTime_data()
{
    QTest::addColumn<int>("lead");
    QTest::addColumn<bool>("actions");
    QTest::newRow("10 minutes before, with actions") << 10 << true;
    QTest::newRow("on the hour, a server without actions") << 0 << false;
}

void RemindersTest::remindsOnceAtItsTime()
{
    QFETCH(int, lead);
    QFETCH(bool, actions);
    if (!actions)
        callTestSide(QStringLiteral("Capabilities"), {QStringList{QStringLiteral("body")}});
    Folder folder(lead);
    folder.writeHours({{10, QStringLiteral("Dentiste <Dr Roux> & fils")}, {11, QString()}});
    folder.clock.set(QTime(10, 0).addSecs(-60 * lead - 2));
    const auto agent = folder.startAgent();

    QTest::qWait(1000);
    QCOMPARE(calls().size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 4000);
    const QJsonObject shown = calls().at(0).toObject();
    QCOMPARE(shown[u"app"].toString(), u"Ruvo");
    QCOMPARE(shown[u"icon"].toString(), u"org.example.Ruvo");
    QCOMPARE(shown[u"desktop-entry"].toString(), u"org.example.Ruvo");
    QCOMPARE(shown[u"summary"].toString(), u"10:00");
    QCOMPARE(shown[u"body"].toString(), u"Dentiste <Dr Roux> & fils"); // no markup offered
    const QStringList offered = actions ? QStringList{u"open"_qs, u"Ouvrir la page"_qs,
                                                      u"snooze"_qs, u"Rappeler dans 10 minutes"_qs}
                                        : QStringList();
    QCOMPARE(shown[u"actions"].toVariant().toStringList(), offered);

    // Never twice: not on a second look, not from a second agent on the same folder.
    agent->lookAgain();
    const auto again = folder.startAgent();
    QTest::qWait(1000);
    QCOMPARE(calls().size(), 1);
}

void RemindersTest::remindsNothing_data()
{
    QTest::addColumn<std::optional<int>>("lead");
    QTest::addColumn<QDate>("lineDate");
    QTest::addColumn<QString>("line");
    QTest::newRow("reminders off") << std::optional<int>() << kToday << u"Dentiste"_qs;
    QTest::newRow("a blank line") << std::optional(5) << kToday << u"   "_qs;
    QTest::newRow("yesterday's line") << std::optional(5) << kToday.addDays(-1) << u"Dentiste"_qs;
}

void RemindersTest::remindsNothing()
{
    QFETCH(std::optional<int>, lead);
    QFETCH(QDate, lineDate);
    QFETCH(QString, line);
    Folder folder(lead);
    folder.writeHours({{9, line}}, lineDate);
    folder.clock.set(QTime(9, 59));
    const auto agent = folder.startAgent();
    QSignalSpy off(agent.get(), &RemindersAgent::turnedOff);
    QTest::qWait(1500);
    QCOMPARE(calls().size(), 0);
    QCOMPARE(off.size(), lead ? 0 : 1);
}

void RemindersTest::snoozeRemindsTenMinutesLater()
{
    Folder folder(10);
    folder.writeHours({{10, u"Réunion"_qs}});
    folder.clock.set(QTime(9, 50));
    const auto agent = folder.startAgent();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 4000);
    QTest::qWait(300); // the agent hears the server's answer, the notification's number
    callTestSide(QStringLiteral("Invoke"), {1u, QStringLiteral("snooze")});
    QTest::qWait(300); // the signal reaches the agent at 09:50

    // Not before its time; then once, as the first was.
    folder.clock.set(QTime(9, 59, 50));
    agent->lookAgain();
    QTest::qWait(500);
    QCOMPARE(calls().size(), 1);
    folder.clock.set(QTime(10, 0, 1));
    agent->lookAgain();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 2, 4000);
    QCOMPARE(calls().at(1)[u"summary"].toString(), u"10:00");
    QCOMPARE(calls().at(1)[u"body"].toString(), u"Réunion");
}

void RemindersTest::openShowsTodaysPage()
{
    Folder folder(5);
    folder.writeHours({{10, u"Réunion"_qs}});
    // The window's program, as the agent starts it: here one that writes what it was given.
    const QString program = folder.dir.filePath(u"window"_qs);
    const QString given = folder.dir.filePath(u"given"_qs);
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.part\" && mv \"$0.part\" " +
                 QFile::encodeName(given) + "\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    folder.clock.set(QTime(9, 55));
    const auto agent = folder.startAgent(program);
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 4000);
    QTest::qWait(300); // the agent hears the server's answer, the notification's number
    callTestSide(QStringLiteral("Invoke"), {1u, QStringLiteral("open")});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(given), 5000);
    QFile arguments(given);
    QVERIFY(arguments.open(QIODevice::ReadOnly));
    QCOMPARE(arguments.readAll(),
             "--folder\n" + QFile::encodeName(folder.dir.path()) + "\n--today\n");
}

void RemindersTest::lineTypedWhileRunningReminds()
{
    Folder folder(10);
    folder.writeHours({});
    folder.clock.set(QTime(9, 49, 57));
    const auto agent = folder.startAgent();
    QTest::qWait(300);
    folder.writeHours({{10, u"Appel"_qs}, {8, u"Déjà passé"_qs}});
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 6000);
    QCOMPARE(calls().at(0)[u"body"].toString(), u"Appel");
    // A line typed after its time has nothing to remind of.
    QTest::qWait(500);
    QCOMPARE(calls().size(), 1);
}

void RemindersTest::missedWhileDownComeAsOneSummary()
{
    Folder folder(10);
    folder.writeHours({{10, u"Réunion"_qs}, {11, u"Appel"_qs}});
    // Down from 09:40 to 10:05.
    folder.clock.set(QTime(9, 40));
    {
        const auto before = folder.startAgent();
        QTest::qWait(300);
    }
    QCOMPARE(calls().size(), 0);
    folder.clock.set(QTime(10, 5));
    const auto agent = folder.startAgent();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 5000);
    QCOMPARE(calls().at(0)[u"summary"].toString(), u"1 rappel manqué");
    QCOMPARE(calls().at(0)[u"body"].toString(), u"10:00 Réunion");
    QTest::qWait(500);
    QCOMPARE(calls().size(), 1);
}

void RemindersTest::followsMidnightAndClockJumps()
{
    Folder folder(0);
    folder.writeHours({{7, u"Réveil"_qs}, {12, u"Déjeuner"_qs}, {15, u"Plus tard"_qs}},
                      kToday.addDays(1));
    folder.clock.set(QTime(23, 59, 59));
    const auto agent = folder.startAgent();
    QTest::qWait(1500); // past midnight: the next day's lines
    // The clock set forward (by hand, or at a resume): what fell due since shows once.
    folder.clock.set(QTime(12, 30), kToday.addDays(1));
    agent->lookAgain();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 4000);
    QCOMPARE(calls().at(0)[u"summary"].toString(), u"2 rappels manqués");
    QCOMPARE(calls().at(0)[u"body"].toString(), u"07:00 Réveil, 12:00 Déjeuner");
    // And set back: nothing twice, and the later line at its time.
    folder.clock.set(QTime(14, 59, 58), kToday.addDays(1));
    agent->lookAgain();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 2, 5000);
    QCOMPARE(calls().at(1)[u"body"].toString(), u"Plus tard");
}

void RemindersTest::agentProcessLoadsNoWindowAndRunsOnce()
{
    QTemporaryDir config;
    QTemporaryDir notes;
    SetReminderLead(config.filePath(QStringLiteral("Ruvo.ini")), 5);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const QStringList arguments{QStringLiteral("--reminders"), QStringLiteral("--folder"),
                                notes.path()};
    QProcess agent;
    agent.setProcessEnvironment(environment);
    agent.start(QStringLiteral(RUVO_PROGRAM), arguments);
    QVERIFY(agent.waitForStarted());
    // The lock is taken once the agent runs.
    const QString lock = RuntimeFileFor(notes.path(), u".reminders.lock");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 5000);
    QFile maps(u"/proc/" + QString::number(agent.processId()) + u"/maps");
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QVERIFY(mapped.contains("libQt6DBus"));
    QVERIFY(!mapped.contains("libQt6Widgets"));
    QVERIFY(!mapped.contains("libQt6Gui"));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(RUVO_PROGRAM), arguments);
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(agent.state() == QProcess::Running);

    // Turned off: the agent ends by itself.
    SetReminderLead(config.filePath(QStringLiteral("Ruvo.ini")), std::nullopt);
    QVERIFY(agent.waitForFinished(5000));
    QCOMPARE(agent.exitCode(), 0);
}

void RemindersTest::autostartEntryStartsTheAgentOnTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << u"Ruvo"_qs;
    QTest::newRow("what the desktop or a shell would read") << u"a \"b\" `c` $HOME \\d %f é"_qs;
}

void RemindersTest::autostartEntryStartsTheAgentOnTheFolder()
{
    QFETCH(QString, name);
    QTemporaryDir home;
    const QString folder = home.filePath(name);
    QVERIFY(QDir().mkpath(folder));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const AutostartEntry entry(folder);
    qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(entry.path().startsWith(home.path() + u"/autostart/"));
    const QStringList arguments{u"--reminders"_qs, u"--folder"_qs, folder};
    QVERIFY(entry.write(u"/usr/bin/ruvo"_qs, arguments, u"Ruvo"_qs, u"Rappels"_qs));

    // As a desktop reads it: GLib's key file and its parse of a command line.
    QProcess glib;
    glib.start(u"/usr/bin/python3"_qs,
               {u"-c"_qs,
                u"import sys\nfrom gi.repository import GLib\nk = GLib.KeyFile()\n"
                "k.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)\n"
                "line = k.get_string('Desktop Entry', 'Exec')\n"
                "sys.stdout.write('\\n'.join(a.replace('%%', '%') for a in "
                "GLib.shell_parse_argv(line)[1]))"_qs,
                entry.path()});
    QVERIFY(glib.waitForFinished());
    QCOMPARE(glib.readAllStandardError(), QByteArray());
    QCOMPARE(QString::fromUtf8(glib.readAllStandardOutput()).split(u'\n'),
             QStringList{u"/usr/bin/ruvo"_qs} + arguments);
    QVERIFY(entry.remove());
    QVERIFY(!QFile::exists(entry.path()));
}

QTEST_GUILESS_MAIN(RemindersTest)
#include "tst_reminders.moc"
