// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Another program (a sync tool, an editor, another computer) writes the day files while the
// page is on show; and typed text reaches the disk without the user doing anything.

#include "errorof.h"
#include "padtestsupport.h"

#include "notes/dayfiles.h"
#include "notes/dayfilewatcher.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace ruvo;
using padtest::bytesOf;
using padtest::kNextCorner;
using padtest::PadOnDisk;
using padtest::writeBytes;

namespace {

const QString kDate = QStringLiteral("06/03/1998");

// Writes the file as another program would: in place, or whole into another file renamed
// over it (how most editors and sync tools save).
void writeFromOutside(const QString &path, const QByteArray &bytes, bool byRename)
{
    if (!byRename)
        return writeBytes(path, bytes);
    const QString other = path + u".sync-tmp";
    writeBytes(other, bytes);
    QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) ==
            0);
}

} // namespace

class OutsideChangesTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void outsideChangeWithNothingTyped_isShownNotWrittenOver_data();
    void outsideChangeWithNothingTyped_isShownNotWrittenOver();
    void outsideChangeWhileTyping_keepsBothVersions();
    void visitedPage_leavesOutsideFilesAsTheyAre();
    void syncToolsCopy_joinsThePageWhenShown();
    void typingOnAFileThePageCannotShowWhole_keepsItFirst_data();
    void typingOnAFileThePageCannotShowWhole_keepsItFirst();
    void typedTextIsSavedAfterAPause();
    void leavingTheWindowSaves();
    void backgroundSaveFailure_isReportedOnce();
};

void OutsideChangesTest::outsideChangeWithNothingTyped_isShownNotWrittenOver_data()
{
    QTest::addColumn<bool>("existedBefore");
    QTest::addColumn<bool>("byRename");
    QTest::addColumn<bool>("waitForNotice"); // else a page turn comes first
    QTest::newRow("written in place, noticed") << true << false << true;
    QTest::newRow("replaced by a rename, noticed") << true << true << true;
    QTest::newRow("created, noticed") << false << true << true;
    QTest::newRow("written in place, then a turn") << true << false << false;
    QTest::newRow("created, then a turn") << false << false << false;
}

void OutsideChangesTest::outsideChangeWithNothingTyped_isShownNotWrittenOver()
{
    QFETCH(bool, existedBefore);
    QFETCH(bool, byRename);
    QFETCH(bool, waitForNotice);
    PadOnDisk p;
    const QString notes = p.notes(kDate);
    if (existedBefore) {
        writeBytes(notes, "old text\r\n");
        p.pad.LoadNotes();
        QCOMPARE(p.pad.NotesMemo()->toPlainText(), u"old text"_qs);
    }
    const QByteArray theirs = "from another computer\nsecond line\n";
    writeFromOutside(notes, theirs, byRename);
    if (waitForNotice) {
        QTRY_COMPARE(p.pad.NotesMemo()->toPlainText(), u"from another computer\nsecond line"_qs);
        QVERIFY(!p.pad.hasUnsavedNotes());
    }
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), u"07/03/1998"_qs);
    QCOMPARE(bytesOf(notes), theirs);
    // The day's other file, which nobody wrote, is still created for the visited day.
    QCOMPARE(bytesOf(p.rows(kDate)), QByteArray("\r\n").repeated(17));
}

void OutsideChangesTest::outsideChangeWhileTyping_keepsBothVersions()
{
    PadOnDisk p;
    const QString notes = p.notes(kDate);
    writeBytes(notes, "old text\r\n");
    p.pad.LoadNotes();
    QSignalSpy told(&p.pad, &TCalendarPad::outsideVersionsKept);
    p.pad.NotesMemo()->setFocus();
    QTest::keyClick(p.pad.NotesMemo(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(p.pad.NotesMemo(), u" and mine"_qs);
    auto *watcher = p.pad.findChild<DayFileWatcher *>();
    QVERIFY(watcher);
    QSignalSpy noticed(watcher, &DayFileWatcher::changed);
    writeBytes(notes, "theirs\r\n");
    QVERIFY(noticed.wait()); // the notice comes and goes: the typed text stays
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), u"old text and mine"_qs);

    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), u"07/03/1998"_qs);
    QCOMPARE(bytesOf(notes), QByteArray("old text and mine\r\n"));
    QCOMPARE(told.count(), 1);
    const QStringList keptAs = told.first().at(1).toStringList();
    QCOMPARE(told.first().at(0).toStringList(), QStringList{notes});
    QCOMPARE(keptAs.size(), 1);
    QCOMPARE(bytesOf(keptAs.first()), QByteArray("theirs\r\n"));
    QVERIFY(QFileInfo(keptAs.first()).fileName().startsWith(u"060398N-autre-"));
    // The kept version is no day file: the page of that day shows the user's text.
    p.pad.setDate(kDate);
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), u"old text and mine"_qs);
    p.pad.SaveNotes();
    QCOMPARE(told.count(), 1);
}

// A file another program wrote (LF line ends, one paragraph far wider than the editor) is
// shown and left byte for byte as it is when the page is left without typing.
void OutsideChangesTest::visitedPage_leavesOutsideFilesAsTheyAre()
{
    PadOnDisk p(u"05/03/1998"_qs);
    const QByteArray notes = QByteArray("mot ").repeated(62500) + "\nfin\n";
    const QByteArray rows = QByteArray("08:00 train\n").repeated(3);
    writeBytes(p.notes(kDate), notes);
    writeBytes(p.rows(kDate), rows);
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), kDate);
    QCOMPARE(p.pad.TimeFields(2)->text(), u"08:00 train"_qs);
    p.pad.NotesMemo()->setFocus();
    p.pad.TimeFields(1)->setFocus();
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), u"07/03/1998"_qs);
    QCOMPARE(bytesOf(p.notes(kDate)), notes);
    QCOMPARE(bytesOf(p.rows(kDate)), rows);
}

void OutsideChangesTest::syncToolsCopy_joinsThePageWhenShown()
{
    PadOnDisk p(u"05/03/1998"_qs);
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    writeBytes(p.rows(kDate), "Dentiste\r\n");
    const QString copy = p.dir.filePath(u"060398T (conflicted copy 2026-12-08 101010).ruv"_qs);
    writeBytes(copy, "Réunion\r\nBus\r\n");
    QSignalSpy told(&p.pad, &TCalendarPad::errorRaised);
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), kDate);
    QCOMPARE(p.pad.TimeFields(1)->text(), u"Dentiste / Réunion"_qs);
    QCOMPARE(p.pad.TimeFields(2)->text(), u"Bus"_qs);
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(told.size(), 1);
    // Back on the day: nothing more to merge, nothing more said.
    p.pad.setDate(u"05/03/1998"_qs);
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.TimeFields(1)->text(), u"Dentiste / Réunion"_qs);
    QCOMPARE(told.size(), 1);
}

void OutsideChangesTest::typingOnAFileThePageCannotShowWhole_keepsItFirst_data()
{
    QTest::addColumn<bool>("hours"); // else the notes
    QTest::addColumn<QByteArray>("theirs");
    QTest::addColumn<bool>("kept");
    const QByteArray empty = "\r\n";
    QTest::newRow("a NUL in the notes") << false << QByteArray("avant\0apr\xE8s\r\n", 13) << true;
    QTest::newRow("a NUL in the hours")
        << true << QByteArray("08:00\0 train\r\n", 14) + empty.repeated(16) << true;
    QTest::newRow("an 18th row") << true << empty.repeated(17) + "dix-huiti\xE8me\r\n" << true;
    QTest::newRow("a row of 300 characters")
        << true << empty + QByteArray(300, 'x') + "\r\n" + empty.repeated(15) << true;
    QTest::newRow("a control character") << false << QByteArray("bip\x07\r\n") << true;
    QTest::newRow("a byte with no character") << false << QByteArray("caf\xE9 \x81\r\n") << true;
    QTest::newRow("a tab in a row not typed on")
        << true << empty.repeated(2) + "a\tb\r\n" + empty.repeated(14) << true;
    // Line ends, a line wider than the editor and the encoding are the page's to choose.
    QTest::newRow("LF line ends, a long line, UTF-8")
        << false << "caf\xC3\xA9\n" + QByteArray("mot ").repeated(40) + "\n"
        << false;
}

// A file another program wrote that the page shows only in part (what the editors cannot
// hold goes) is kept beside the day file before the first save over it, and the user told.
void OutsideChangesTest::typingOnAFileThePageCannotShowWhole_keepsItFirst()
{
    QFETCH(bool, hours);
    QFETCH(QByteArray, theirs);
    QFETCH(bool, kept);
    PadOnDisk p(u"05/03/1998"_qs);
    const QString file = hours ? p.rows(kDate) : p.notes(kDate);
    writeBytes(file, theirs);
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), kDate);
    QSignalSpy told(&p.pad, &TCalendarPad::outsideVersionsKept);
    QWidget *editor = hours ? static_cast<QWidget *>(p.pad.TimeFields(1)) : p.pad.NotesMemo();
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Z);
    p.pad.SaveNotes();
    QVERIFY(bytesOf(file).contains('z'));
    QCOMPARE(told.count(), kept ? 1 : 0);
    if (!kept)
        return;
    QCOMPARE(told.first().at(0).toStringList(), QStringList{file});
    const QStringList keptAs = told.first().at(1).toStringList();
    QCOMPARE(keptAs.size(), 1);
    QCOMPARE(bytesOf(keptAs.first()), theirs);
    // Once: the page's own file now holds all that the page shows.
    QTest::keyClick(editor, Qt::Key_Z);
    p.pad.SaveNotes();
    QCOMPARE(told.count(), 1);
}

void OutsideChangesTest::typedTextIsSavedAfterAPause()
{
    PadOnDisk p;
    p.pad.setAutoSaveDelay(50);
    p.pad.TimeFields(4)->setFocus();
    QTest::keyClicks(p.pad.TimeFields(4), u"dentiste"_qs);
    QVERIFY(!QFile::exists(p.rows(kDate))); // not on the keystroke itself
    QVERIFY(p.pad.AutoSaveTimer()->isActive());
    QTRY_COMPARE(bytesOf(p.rows(kDate)),
                 QByteArray("\r\n").repeated(3) + "dentiste\r\n" + QByteArray("\r\n").repeated(13));
    QVERIFY(!p.pad.hasUnsavedNotes());
    QCOMPARE(TCalendarPad::kAutoSaveDelay, 2000); // what the user gets
}

void OutsideChangesTest::leavingTheWindowSaves()
{
    PadOnDisk p;
    p.pad.NotesMemo()->setPlainText(u"before lunch"_qs);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&p.pad, &deactivate);
    QCOMPARE(bytesOf(p.notes(kDate)), QByteArray("before lunch\r\n"));
}

void OutsideChangesTest::backgroundSaveFailure_isReportedOnce()
{
    PadOnDisk p;
    QVERIFY(QDir().mkdir(p.notes(kDate))); // no file can take that name
    p.pad.setAutoSaveDelay(20);
    p.pad.NotesMemo()->setFocus();
    QTest::keyClicks(p.pad.NotesMemo(), u"first"_qs);
    QTRY_COMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(), ruvo::testing::cannotCreate(p.notes(kDate)));
    QTest::keyClicks(p.pad.NotesMemo(), u" second"_qs);
    QTRY_VERIFY(p.pad.AutoSaveTimer()->interval() == TCalendarPad::kAutoSaveRetry);
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), u"first second"_qs);
    QVERIFY(p.pad.hasUnsavedNotes());

    // Once the name is free the next save goes through, and a later failure is told again.
    QVERIFY(QDir().rmdir(p.notes(kDate)));
    QTest::keyClicks(p.pad.NotesMemo(), u"!"_qs);
    QTRY_COMPARE(bytesOf(p.notes(kDate)), QByteArray("first second!\r\n"));
    QCOMPARE(p.errors.count(), 1);
}

QTEST_MAIN(OutsideChangesTest)

#include "tst_outsidechanges.moc"
