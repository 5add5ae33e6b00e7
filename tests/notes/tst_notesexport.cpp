// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "filebytes.h"

#include "errorof.h"
#include "fullfilesystem.h"

#include "notes/notesexport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <libical/ical.h>

#include <memory>
#include <optional>

using namespace ruvo;
using ruvo::testing::bytesOf;
using ruvo::testing::cannotCreate;
using ruvo::testing::cannotOpen;
using ruvo::testing::errorOf;
using ruvo::testing::FullFileSystem;
using ruvo::testing::writeBytes;

namespace {

const QDate kToday(2026, 12, 8);
// The hour scale starts at 08:00, so its last row is midnight: the next day's first hour.
constexpr int kStartTime = 8;

// 17 hour rows, the given ones written.
QByteArray hourRows(const QMap<int, QByteArray> &written)
{
    QByteArray bytes;
    for (int row = 0; row < 17; ++row)
        bytes += written.value(row) + "\r\n";
    return bytes;
}

// A few days as the pad writes them, with the pages that hold nothing beside them.
void writeDays(const QString &folder)
{
    const QDir dir(folder);
    const auto write = [&](const char *name, const QByteArray &bytes) {
        writeBytes(dir.filePath(QString::fromLatin1(name)), bytes);
    };
    write("311299N.ruv", "Fin du siècle\r\n"); // 1999, the nearer of 1999 and 2099
    write("071226T.ruv", hourRows({{4, "Lunch, Bob"}, {15, "Late train"}, {16, "Night bus"}}));
    write("081226N.ruv",
          "\r\nCafé, réunion; à 9h\r\nApporter le gâteau\r\n\r\n# pas un titre\r\n\r\n");
    write("081226T.ruv", hourRows({{0, "Dentist"}}));
    write("061226N.ruv", "");
    write("061226T.ruv", hourRows({}));
    write("051226N.ruv", "  \r\n\r\n");
}

// What writeDays() writes, as a Markdown document.
const QString kMarkdownOfTheDays = uR"(# Ruvo

## Vendredi 31 Décembre 1999

Fin du siècle

## Lundi 7 Décembre 2026

- 12:00 Lunch, Bob
- 23:00 Late train

## Mardi 8 Décembre 2026

Café, réunion; à 9h\
Apporter le gâteau

\# pas un titre

- 00:00 Night bus
- 08:00 Dentist
)"_qs;

// Days enough before the others that the export has written some when it meets a fault.
void writeEarlierDays(const QString &folder, int count)
{
    for (int day = 0; day < count; ++day)
        writeBytes(
            QDir(folder).filePath(QDate(2025, 1, 1).addDays(day).toString(u"ddMMyy") + u"N.ruv"),
            "Une journée ordinaire, une ligne de notes\r\n");
}

// The bytes libical writes for the calendar it reads from ics.
QByteArray libicalRewrite(const QByteArray &ics)
{
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> calendar(
        icalparser_parse_string(ics.constData()), icalcomponent_free);
    const std::unique_ptr<char, void (*)(void *)> text(
        calendar ? icalcomponent_as_ical_string_r(calendar.get()) : nullptr,
        icalmemory_free_buffer);
    return text ? QByteArray(text.get()) : QByteArray();
}

// The calendar file as libical reads it back: its version and the count of what it could not
// read, then each component on a line.
QStringList componentsOf(const QByteArray &ics)
{
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> calendar(
        icalparser_parse_string(ics.constData()), icalcomponent_free);
    if (!calendar)
        return {};
    const auto text = [](const char *value) {
        return QString::fromUtf8(value);
    };
    const auto time = [&](icaltimetype value) {
        return text(icaltime_as_ical_string(value));
    };
    QStringList lines{text(icalproperty_get_version(icalcomponent_get_first_property(
                          calendar.get(), ICAL_VERSION_PROPERTY))) +
                      u" errors " + QString::number(icalcomponent_count_errors(calendar.get()))};
    for (icalcomponent *c = icalcomponent_get_first_component(calendar.get(), ICAL_ANY_COMPONENT);
         c; c = icalcomponent_get_next_component(calendar.get(), ICAL_ANY_COMPONENT)) {
        QString line = text(icalcomponent_kind_to_string(icalcomponent_isa(c))) + u' ' +
                       text(icalcomponent_get_uid(c)) + u' ' + time(icalcomponent_get_dtstart(c));
        if (icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY))
            line += u' ' + time(icalcomponent_get_dtend(c));
        line += u' ' + text(icalcomponent_get_summary(c));
        if (const char *description = icalcomponent_get_description(c))
            line += u" | " + text(description);
        if (!icaltime_is_utc(icalcomponent_get_dtstamp(c)))
            line += u" (DTSTAMP not in UTC)";
        lines << line;
    }
    return lines;
}

// Each component of the calendar file as libical reads it back, on a line: its UID, then each of
// its alarms: its action, its offset from the start in seconds, and its text.
QStringList alarmsOf(const QByteArray &ics)
{
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> calendar(
        icalparser_parse_string(ics.constData()), icalcomponent_free);
    if (!calendar)
        return {};
    QStringList lines;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar.get(), ICAL_ANY_COMPONENT);
         c; c = icalcomponent_get_next_component(calendar.get(), ICAL_ANY_COMPONENT)) {
        QString line = QString::fromUtf8(icalcomponent_get_uid(c));
        for (icalcomponent *alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
             alarm; alarm = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
            const icaltriggertype trigger = icalproperty_get_trigger(
                icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
            const icalproperty_action action = icalproperty_get_action(
                icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY));
            line += u" | "_qs + icalproperty_enum_to_string(action) + u' ' +
                    QString::number(icaldurationtype_as_int(trigger.duration)) + u' ' +
                    QString::fromUtf8(icalcomponent_get_description(alarm));
            if (!icaltime_is_null_time(trigger.time))
                line += u" (at a set time)";
        }
        lines << line;
    }
    return lines;
}

} // namespace

class NotesExportTest : public QObject
{
    Q_OBJECT

private slots:
    void iCalendar_readsBackAsTheDays_data();
    void iCalendar_readsBackAsTheDays();
    void iCalendar_hourEventsRingBeforeTheirHour_data();
    void iCalendar_hourEventsRingBeforeTheirHour();
    void iCalendar_alarmsReadByAnotherParser_data();
    void iCalendar_alarmsReadByAnotherParser();
    void markdown_exactDocument();
    void failure_leavesTheTargetAsItWas_data();
    void failure_leavesTheTargetAsItWas();
    void unreadableDayFiles_areLeftOutAndNamed_data();
    void unreadableDayFiles_areLeftOutAndNamed();
    void textThePageLeavesOut_isExported();
    void markdownShowsNoHtml_data();
    void markdownShowsNoHtml();
};

void NotesExportTest::iCalendar_readsBackAsTheDays_data()
{
    QTest::addColumn<bool>("asEvents");
    QTest::addColumn<QString>("notes"); // how a day's notes begin
    QTest::newRow("notes as journal entries") << false << "VJOURNAL <day> <day>";
    // For the calendars that drop journal entries: an all-day event.
    QTest::newRow("notes as events") << true << "VEVENT <day> <day> <next>";
}

void NotesExportTest::iCalendar_readsBackAsTheDays()
{
    QFETCH(bool, asEvents);
    QFETCH(QString, notes);
    QTemporaryDir dir;
    writeDays(dir.path());
    const QString file = dir.filePath(QStringLiteral("NOTES.ICS")); // the suffix in any case
    ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday,
                asEvents ? NotesAs::Events : NotesAs::Journal);
    const auto notesOf = [&notes](const QString &day, const QString &next) {
        return QString(notes)
            .replace(u"<day> <day>"_qs, day + u"-notes@ruvo " + day)
            .replace(u"<next>"_qs, next);
    };

    QCOMPARE(componentsOf(bytesOf(file)),
             QStringList({
                 u"2.0 errors 0"_qs,
                 notesOf(u"19991231"_qs, u"20000101"_qs) + u" Fin du siècle | Fin du siècle",
                 u"VEVENT 20261207T120000-hour@ruvo 20261207T120000 20261207T130000 Lunch, Bob"_qs,
                 u"VEVENT 20261207T230000-hour@ruvo 20261207T230000 20261208T000000 Late train"_qs,
                 notesOf(u"20261208"_qs, u"20261209"_qs) + u" Café, réunion; à 9h | " +
                     u"Café, réunion; à 9h\nApporter le gâteau\n\n# pas un titre",
                 u"VEVENT 20261208T000000-hour@ruvo 20261208T000000 20261208T010000 Night bus"_qs,
                 u"VEVENT 20261208T080000-hour@ruvo 20261208T080000 20261208T090000 Dentist"_qs,
             }));
    // The file is written a day at a time, yet holds the bytes libical writes for the whole.
    QCOMPARE(libicalRewrite(bytesOf(file)), bytesOf(file));
}

void NotesExportTest::iCalendar_hourEventsRingBeforeTheirHour_data()
{
    QTest::addColumn<int>("lead"); // minutes; -1: no alarm
    QTest::addColumn<bool>("asEvents");
    QTest::newRow("no alarm") << -1 << false;
    QTest::newRow("at the hour") << 0 << false;
    QTest::newRow("10 minutes before, notes as events") << 10 << true;
    QTest::newRow("30 minutes before") << 30 << false;
}

// Each hour event rings once, its text shown lead minutes before its hour; the notes never ring.
void NotesExportTest::iCalendar_hourEventsRingBeforeTheirHour()
{
    QFETCH(int, lead);
    QFETCH(bool, asEvents);
    QTemporaryDir dir;
    writeDays(dir.path());
    const QString file = dir.filePath(QStringLiteral("notes.ics"));
    ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday,
                asEvents ? NotesAs::Events : NotesAs::Journal,
                lead < 0 ? std::nullopt : std::optional(lead));
    const auto hour = [lead](const QString &uid, const QString &text) {
        return lead < 0 ? uid : uid + u" | DISPLAY " + QString::number(-60 * lead) + u' ' + text;
    };

    QCOMPARE(alarmsOf(bytesOf(file)), QStringList({
                                          u"19991231-notes@ruvo"_qs,
                                          hour(u"20261207T120000-hour@ruvo"_qs, u"Lunch, Bob"_qs),
                                          hour(u"20261207T230000-hour@ruvo"_qs, u"Late train"_qs),
                                          u"20261208-notes@ruvo"_qs,
                                          hour(u"20261208T000000-hour@ruvo"_qs, u"Night bus"_qs),
                                          hour(u"20261208T080000-hour@ruvo"_qs, u"Dentist"_qs),
                                      }));
    QCOMPARE(libicalRewrite(bytesOf(file)), bytesOf(file));
}

void NotesExportTest::iCalendar_alarmsReadByAnotherParser_data()
{
    QTest::addColumn<int>("lead");
    QTest::newRow("at the hour") << 0;
    QTest::newRow("30 minutes before") << 30;
}

// A parser other than libical finds one alarm in each timed event, lead minutes before it, and
// none in the notes' all-day events.
void NotesExportTest::iCalendar_alarmsReadByAnotherParser()
{
    QFETCH(int, lead);
    // The Debian module is installed for the system's interpreter, which another python3 earlier
    // on PATH may not see.
    QString python = QStandardPaths::findExecutable(u"python3"_qs, {u"/usr/bin"_qs});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(u"python3"_qs);
    if (python.isEmpty())
        QSKIP("python3 is missing");
    QTemporaryDir dir;
    writeDays(dir.path());
    const QString file = dir.filePath(QStringLiteral("notes.ics"));
    ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday,
                NotesAs::Events, lead);
    const QString script = uR"(
import datetime, sys, icalendar
calendar = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
lead = datetime.timedelta(minutes=int(sys.argv[2]))
timed = 0
for event in calendar.walk('VEVENT'):
    alarms = [c for c in event.subcomponents if c.name == 'VALARM']
    if not isinstance(event.decoded('DTSTART'), datetime.datetime):
        assert not alarms, event.to_ical()
        continue
    assert len(alarms) == 1, event.to_ical()
    assert alarms[0].decoded('TRIGGER') == -lead, alarms[0].to_ical()
    assert alarms[0]['DESCRIPTION'] == event['SUMMARY'], alarms[0].to_ical()
    timed += 1
print(timed)
)"_qs;
    QProcess process;
    process.start(python, {u"-c"_qs, script, file, QString::number(lead)});
    QVERIFY(process.waitForFinished());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             process.readAllStandardError().constData());
    QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("4"));
}

void NotesExportTest::markdown_exactDocument()
{
    QTemporaryDir dir;
    writeDays(dir.path());
    const QString file = dir.filePath(QStringLiteral("notes.md"));
    ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday);

    QCOMPARE(QString::fromUtf8(bytesOf(file)), kMarkdownOfTheDays);
}

void NotesExportTest::failure_leavesTheTargetAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("earlierDays");
    QTest::newRow("unknown suffix") << "none"
                                    << "notes.txt" << 0;
    // Reading the process's memory from its start fails with an input/output error, even as root.
    QTest::newRow("no day file that can be read") << "day file"
                                                  << "notes.ics" << 0;
    QTest::newRow("nothing to export") << "no text"
                                       << "notes.ics" << 0;
    QTest::newRow("a full disk") << "full disk"
                                 << "notes.md" << 0;
    QTest::newRow("a full disk, found while days are written") << "full disk"
                                                               << "notes.ics" << 400;
}

void NotesExportTest::failure_leavesTheTargetAsItWas()
{
    QFETCH(QString, fault);
    QFETCH(QString, name);
    QFETCH(int, earlierDays);
    QTemporaryDir days;
    const QString dayFile = days.filePath(QStringLiteral("091226N.ruv"));
    if (fault == u"day file")
        QVERIFY(QFile::link(u"/proc/self/mem"_qs, dayFile));
    else if (fault == u"no text")
        writeBytes(dayFile, "\r\n"); // a page visited, nothing written on it
    else
        writeDays(days.path());
    writeEarlierDays(days.path(), earlierDays);
    QTemporaryDir targets;
    QString target = targets.filePath(name);
    std::optional<FullFileSystem> disk;
    if (fault == u"full disk") {
        disk.emplace();
        RUVO_REQUIRE_FULL_FILE_SYSTEM(*disk);
        target = disk->filePath(name);
    }
    const QByteArray before("the export of last week\n");
    writeBytes(target, before);
    if (disk)
        QVERIFY(disk->fill());

    const QString message =
        fault == u"none"       ? u"Format d'export inconnu : " + target + u" (.ics ou .md)"
        : fault == u"day file" ? cannotOpen(dayFile)
        : fault == u"no text"  ? u"Aucune note à exporter dans le dossier " + days.path()
                               : cannotCreate(target);
    QCOMPARE(errorOf([&] {
                 ExportNotes(days.path(), QStringLiteral("ruv"), target, kStartTime, laFrench,
                             kToday);
             }),
             message);
    QCOMPARE(bytesOf(target), before);
    QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Files),
             QStringList{QFileInfo(target).fileName()});
}

void NotesExportTest::unreadableDayFiles_areLeftOutAndNamed_data()
{
    QTest::addColumn<QStringList>("unreadable");
    QTest::addColumn<QString>("named");
    QTest::newRow("a read error") << QStringList{u"091226N.ruv"_qs}
                                  << "le fichier <dir>/091226N.ruv";
    QTest::newRow("larger than any page, and a read error")
        << QStringList{u"091226N.ruv"_qs, u"091226T.ruv"_qs}
        << "les fichiers <dir>/091226T.ruv, <dir>/091226N.ruv";
}

// One file that cannot be read leaves the others in the export, and is named.
void NotesExportTest::unreadableDayFiles_areLeftOutAndNamed()
{
    QFETCH(QStringList, unreadable);
    QFETCH(QString, named);
    QTemporaryDir dir;
    writeDays(dir.path());
    QVERIFY(QFile::link(u"/proc/self/mem"_qs, dir.filePath(unreadable.first())));
    if (unreadable.size() > 1)
        writeBytes(dir.filePath(unreadable.at(1)), QByteArray(256 * 1024 + 1, 'x'));
    const QString file = dir.filePath(QStringLiteral("notes.md"));
    const std::optional<Error> leftOut =
        ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday);
    QVERIFY(leftOut);
    QCOMPARE(leftOut->message(), u"L'export " + file +
                                     u" est écrit sans ce qui ne peut être lu.\nNe peut ouvrir " +
                                     named.replace(u"<dir>"_qs, dir.path()));
    QCOMPARE(QString::fromUtf8(bytesOf(file)), kMarkdownOfTheDays);
}

// What another program wrote that the page leaves out is in the export all the same: text past
// a NUL, a row past the last hour; control characters are not.
void NotesExportTest::textThePageLeavesOut_isExported()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"091226N.ruv"_qs), QByteArray("avant\0apr\xE8s\r\n", 14));
    writeBytes(dir.filePath(u"091226T.ruv"_qs), "\r\n\r\nr\x01"
                                                "endez-vous\r\n" +
                                                    QByteArray("\r\n").repeated(14) +
                                                    "dix-huiti\xE8me\r\n");
    const QString file = dir.filePath(QStringLiteral("notes.md"));
    QVERIFY(!ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday));
    const QString exported = QString::fromUtf8(bytesOf(file));
    for (const QString &text : {u"avant"_qs, u"après"_qs, u"rendez-vous"_qs, u"dix-huitième"_qs})
        QVERIFY2(exported.contains(text), qPrintable(text + u" is missing from:\n" + exported));
}

void NotesExportTest::markdownShowsNoHtml_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("markdown");
    QTest::newRow("tags") << QByteArray("Un <b>gras</b> ici") << u"Un \\<b>gras\\</b> ici"_qs;
    QTest::newRow("at the start") << QByteArray("<i>x") << u"\\<i>x"_qs;
    QTest::newRow("a comment and an autolink") << QByteArray("<!-- non --> <http://exemple.org>")
                                               << u"\\<!-- non --> \\<http://exemple.org>"_qs;
    QTest::newRow("entities") << QByteArray("&amp; &#169;") << u"\\&amp; \\&#169;"_qs;
    QTest::newRow("what is no HTML stays") << QByteArray("1 < 2 & 3 > 2") << u"1 < 2 & 3 > 2"_qs;
}

// A note reads in the Markdown document as it reads on the page: no HTML passes through.
void NotesExportTest::markdownShowsNoHtml()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, markdown);
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"081226N.ruv"_qs), line + "\r\n");
    writeBytes(dir.filePath(u"081226T.ruv"_qs),
               "\r\n\r\n" + line + QByteArray("\r\n").repeated(15));
    const QString file = dir.filePath(QStringLiteral("notes.md"));
    QVERIFY(!ExportNotes(dir.path(), QStringLiteral("ruv"), file, kStartTime, laFrench, kToday));
    const QString exported = QString::fromUtf8(bytesOf(file));
    QVERIFY2(exported.contains(u"\n" + markdown + u"\n"), qPrintable(exported));
    QVERIFY2(exported.contains(u" " + markdown + u"\n"), qPrintable(exported)); // the hour line
}

QTEST_GUILESS_MAIN(NotesExportTest)

#include "tst_notesexport.moc"
