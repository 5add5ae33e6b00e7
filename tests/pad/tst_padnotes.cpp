// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "errorof.h"
#include "padtestsupport.h"

#include "notes/daystore.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include "calendar/datetext.h"
#include "calendar/error.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace ruvo;
using padtest::activate;
using padtest::bytesOf;
using padtest::PadOnDisk;
using padtest::writeBytes;

class PadNotesTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void emptyPage_writesEmptyFiles();
    void savedBytes();
    void filesAreNamedAfterTheDate();
    void loadShowsTheDaysFiles();
    void newDateIsNeverPaintedWithTheOldNotes();
    void wrappedParagraphIsSavedAsShownLines();
    void everyCharacterSurvives_data();
    void everyCharacterSurvives();
    void shortAndLongRowFiles_data();
    void shortAndLongRowFiles();
    void typedTextSurvivesRepaints();
    void typedTextSurvivesFocusChanges();
    void typedTextSurvivesAFailedSave();
    void typedThenErased_isNothingUnsaved_data();
    void typedThenErased_isNothingUnsaved();
    void focusLeavingThePadSaves();
    void focusComingBack_keepsTheCursorAndSelection();
    void changingDateSavesUnsavedTextUnderItsOwnDate();
    void closingAWindowWithTheFocusInThePad();
    void missingDirectory();
    void folderInPlaceOfADayFile();
    void purgeUsesDestroyDelay();
    void purgeLeavesTheDaysShown();
    void pastedTextIsCleaned_data();
    void pastedTextIsCleaned();
    void lengthLimitKeepsWholeCharacters_data();
    void lengthLimitKeepsWholeCharacters();
};

void PadNotesTest::emptyPage_writesEmptyFiles()
{
    PadOnDisk p;
    p.pad.SaveNotes();
    QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), QByteArray());
    QCOMPARE(bytesOf(p.rows(u"06/03/1998"_qs)), QByteArray("\r\n").repeated(17));
}

void PadNotesTest::savedBytes()
{
    PadOnDisk p;
    p.type(QStringLiteral("abc"));
    p.pad.TimeFields(3)->setText(QStringLiteral("dentist"));
    p.pad.SaveNotes();
    QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), QByteArray("abc\r\n"));
    QCOMPARE(bytesOf(p.rows(u"06/03/1998"_qs)),
             QByteArray("\r\n\r\ndentist\r\n") + QByteArray("\r\n").repeated(14));
    QVERIFY(!p.pad.hasUnsavedNotes());
}

void PadNotesTest::filesAreNamedAfterTheDate()
{
    PadOnDisk p;
    // The pad's folder ends with its separator: the path, which messages show, has only one.
    QCOMPARE(p.notes(u"06/12/2026"_qs), QString(p.dir.path() + u"/061226N.ruv"));
    QCOMPARE(p.rows(u"06/12/1926"_qs), QString(p.dir.path() + u"/061226T.ruv"));
}

void PadNotesTest::loadShowsTheDaysFiles()
{
    PadOnDisk p(QStringLiteral("05/03/1998"));
    writeBytes(p.notes(u"06/03/1998"_qs), "first\nsecond\rthird\r\n");
    writeBytes(p.rows(u"06/03/1998"_qs), "seven\r\n\r\nnine\r\n");
    p.pad.setDate(QStringLiteral("06/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    QCOMPARE(p.pad.TimeFields(1)->text(), QStringLiteral("seven"));
    QCOMPARE(p.pad.TimeFields(3)->text(), QStringLiteral("nine"));
    QCOMPARE(p.pad.TimeFields(4)->text(), QString()); // a short file leaves the rest empty
    QCOMPARE(p.pad.LoadedDate(), QStringLiteral("06/03/1998"));
    // A date without files shows an empty page.
    p.pad.setDate(QStringLiteral("07/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    QCOMPARE(p.pad.TimeFields(1)->text(), QString());
}

void PadNotesTest::wrappedParagraphIsSavedAsShownLines()
{
    PadOnDisk p;
    const QString paragraph = QStringLiteral(
        "This paragraph is typed as a single line and is far too long for the notes area");
    p.type(paragraph);
    p.pad.SaveNotes();
    const QStringList lines = p.pad.store().read(QDate(1998, 3, 6)).notes();
    QVERIFY2(lines.size() > 1, qPrintable(lines.join(u'|')));
    QCOMPARE(lines.join(QString()).remove(u' '), QString(paragraph).remove(u' '));
    // It comes back broken where the editor wrapped it.
    p.pad.setDate(QStringLiteral("07/03/1998"));
    p.pad.setDate(QStringLiteral("06/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText().split(u'\n').size(), lines.size());
}

void PadNotesTest::everyCharacterSurvives_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("euro") << u"10 €"_qs;
    QTest::newRow("accent") << u"déjà"_qs;
    QTest::newRow("Japanese") << u"日本"_qs;
    QTest::newRow("looks like UTF-8") << u"Ã©"_qs;
}

void PadNotesTest::everyCharacterSurvives()
{
    QFETCH(QString, text);
    PadOnDisk p;
    p.pad.NotesMemo()->setPlainText(text);
    p.pad.TimeFields(17)->setText(text);
    p.pad.SaveNotes();
    p.pad.setDate(QStringLiteral("07/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    p.pad.setDate(QStringLiteral("06/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), text);
    QCOMPARE(p.pad.TimeFields(17)->text(), text);
}

// Every paint of the pad after the date changes finds the editors holding that date's notes.
void PadNotesTest::newDateIsNeverPaintedWithTheOldNotes()
{
    PadOnDisk p;
    writeBytes(p.notes(u"07/03/1998"_qs), "seventh\r\n");
    writeBytes(p.rows(u"07/03/1998"_qs), "row of the seventh\r\n");
    p.pad.LoadNotes();
    QStringList paintedWith;
    auto *paints = new padtest::PaintCounter(&p.pad);
    paints->onPaint = [&] {
        paintedWith << p.pad.Date() + u' ' + p.pad.NotesMemo()->toPlainText() + u' ' +
                           p.pad.TimeFields(1)->text();
    };
    p.pad.setDate(u"07/03/1998"_qs);
    QCoreApplication::sendPostedEvents();
    delete paints;
    QVERIFY(!paintedWith.isEmpty());
    for (const QString &paint : std::as_const(paintedWith))
        QCOMPARE(paint, u"07/03/1998 seventh row of the seventh"_qs);
}

void PadNotesTest::shortAndLongRowFiles_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("3 lines") << 3;
    QTest::newRow("40 lines") << 40;
}

void PadNotesTest::shortAndLongRowFiles()
{
    QFETCH(int, lines);
    PadOnDisk p(QStringLiteral("05/03/1998"));
    QByteArray file;
    for (int i = 1; i <= lines; ++i)
        file += "row " + QByteArray::number(i) + "\r\n";
    writeBytes(p.rows(u"06/03/1998"_qs), file);
    p.pad.TimeFields(17)->setText(QStringLiteral("old"));
    p.pad.SaveNotes();
    p.pad.setDate(QStringLiteral("06/03/1998"));
    for (int row = 1; row <= 17; ++row)
        QCOMPARE(p.pad.TimeFields(row)->text(),
                 row <= lines ? QStringLiteral("row %1").arg(row) : QString());
}

void PadNotesTest::typedTextSurvivesRepaints()
{
    PadOnDisk p;
    writeBytes(p.notes(u"06/03/1998"_qs), "stored\r\n");
    p.pad.LoadNotes();
    p.type(QStringLiteral(" and typed"));
    const QString typed = p.pad.NotesMemo()->toPlainText();
    p.pad.repaint();
    p.pad.setLanguage(laFrench); // a setter that repaints
    p.pad.LoadNotes();           // an explicit load of the same date
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), typed);
    QVERIFY(p.pad.hasUnsavedNotes());
    p.pad.hide(); // an uncovered window paints again
    p.pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.pad));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), typed);
}

void PadNotesTest::typedTextSurvivesFocusChanges()
{
    PadOnDisk p;
    QLineEdit outside;
    outside.show();
    activate(&p.pad);
    p.type(QStringLiteral("kept"));
    p.pad.TimeFields(2)->setFocus(); // moving inside the pad neither saves nor loads
    QVERIFY(!QFile::exists(p.notes(u"06/03/1998"_qs)));
    activate(&outside); // leaving saves
    QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), QByteArray("kept\r\n"));
    activate(&p.pad); // coming back loads what was saved
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("kept"));
}

void PadNotesTest::typedTextSurvivesAFailedSave()
{
    PadOnDisk p;
    p.type(QStringLiteral("precious"));
    p.pad.setDirectory(p.dir.filePath(u"gone"_qs)); // a folder that does not exist
    QVERIFY_THROWS_EXCEPTION(Error, p.pad.SaveNotes());
    QVERIFY(p.pad.hasUnsavedNotes());
    p.pad.repaint();
    p.pad.LoadNotes();
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("precious"));
    // Once the folder is back, the text is saved under the date it was typed on.
    p.pad.setDirectory(p.dir.path());
    p.pad.SaveNotes();
    QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), QByteArray("precious\r\n"));
}

void PadNotesTest::typedThenErased_isNothingUnsaved_data()
{
    QTest::addColumn<bool>("onAFile"); // the day's files exist, or the page is new
    QTest::newRow("a page with files") << true;
    QTest::newRow("a new page") << false;
}

// What was typed and erased again leaves the page as its files hold it: nothing to save, and
// nothing to hold a close up in a folder that refuses writes.
void PadNotesTest::typedThenErased_isNothingUnsaved()
{
    QFETCH(bool, onAFile);
    PadOnDisk p;
    if (onAFile) {
        writeBytes(p.notes(u"06/03/1998"_qs), "kept\r\n");
        writeBytes(p.rows(u"06/03/1998"_qs), QByteArray("\r\n").repeated(17));
        p.pad.LoadNotes();
    }
    const QString before = p.pad.NotesMemo()->toPlainText();
    p.type(QStringLiteral("x"));
    p.pad.TimeFields(3)->setText(QStringLiteral("y"));
    QVERIFY(p.pad.hasUnsavedNotes());
    p.pad.NotesMemo()->setPlainText(before);
    p.pad.TimeFields(3)->clear();
    QVERIFY(!p.pad.hasUnsavedNotes());
}

void PadNotesTest::focusLeavingThePadSaves()
{
    PadOnDisk p;
    QLineEdit outside;
    outside.show();
    activate(&p.pad);
    p.type(QStringLiteral("x"));
    p.pad.setDirectory(p.dir.filePath(u"gone"_qs));
    activate(&outside);
    QVERIFY(!p.errors.isEmpty());
    QCOMPARE(p.errors.first().first().toString(),
             ruvo::testing::cannotCreate(p.dir.filePath(u"gone"_qs) + u"/060398N.ruv"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("x"));
}

void PadNotesTest::focusComingBack_keepsTheCursorAndSelection()
{
    // Another window and back, as when the user looks something up elsewhere: the files have
    // not changed, so the page stays exactly as it was, the cursor and the selection too.
    PadOnDisk p;
    QLineEdit outside;
    outside.show();
    activate(&p.pad);
    p.type(QStringLiteral("first line, second"));
    QTextCursor cursor = p.pad.NotesMemo()->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    p.pad.NotesMemo()->setTextCursor(cursor);
    activate(&outside); // saves
    activate(&p.pad);   // loads
    p.pad.NotesMemo()->setFocus();
    QCOMPARE(p.pad.NotesMemo()->textCursor().selectedText(), QStringLiteral("st li"));
    p.pad.TimeFields(2)->setText(QStringLiteral("kept"));
    p.pad.TimeFields(2)->setCursorPosition(2);
    activate(&outside);
    activate(&p.pad);
    QCOMPARE(p.pad.TimeFields(2)->cursorPosition(), 2);
}

void PadNotesTest::changingDateSavesUnsavedTextUnderItsOwnDate()
{
    PadOnDisk p;
    p.type(QStringLiteral("for the 6th"));
    p.pad.setDate(QStringLiteral("07/03/1998")); // nobody saved first
    QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), QByteArray("for the 6th\r\n"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    QVERIFY(!QFile::exists(p.notes(u"07/03/1998"_qs)));
}

// Deleting a pad that holds the focus moves the focus out of it while it is being torn down;
// the pad, no longer a pad by then, does not react to that by saving.
void PadNotesTest::closingAWindowWithTheFocusInThePad()
{
    QTemporaryDir dir;
    const auto window = std::make_unique<QWidget>();
    auto *pad = new TCalendarPad(window.get());
    auto *other = new QLineEdit(window.get());
    other->move(0, 300);
    pad->setDirectory(dir.path());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    activate(window.get());
    pad->NotesMemo()->setFocus();
    QTest::keyClicks(pad->NotesMemo(), QStringLiteral("typed"));
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QVERIFY(focus == pad->NotesMemo());
    delete pad;
    QVERIFY(focus.isNull());
    QCOMPARE(QApplication::focusWidget(), nullptr); // the focus went with it
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void PadNotesTest::missingDirectory()
{
    TCalendarPad pad;
    const QString missing = QStringLiteral("/nonexistent/ruvo-notes");
    pad.setDirectory(missing);
    padtest::showPad(pad);
    pad.setDate(QStringLiteral("06/03/1998"));
    QCOMPARE(pad.NotesMemo()->toPlainText(), QString());
    padtest::purgeNotes(pad); // silent
    try {
        pad.SaveNotes();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), ruvo::testing::cannotCreate(missing + u"/060398N.000"));
    }
    QVERIFY(!QDir(missing).exists());
}

void PadNotesTest::folderInPlaceOfADayFile()
{
    PadOnDisk p(QStringLiteral("05/03/1998"));
    QVERIFY(QDir().mkdir(p.notes(u"06/03/1998"_qs)));
    p.pad.setDate(QStringLiteral("06/03/1998")); // a folder is no notes file: an empty page
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    QVERIFY_THROWS_EXCEPTION(Error, p.pad.SaveNotes());
}

void PadNotesTest::purgeUsesDestroyDelay()
{
    PadOnDisk p;
    p.pad.setDestroyDelay(30);
    const QDate today = QDate::currentDate();
    const QString old = DateToText(today.addDays(-31));
    const QString kept = DateToText(today.addDays(-30));
    // Today's page is written too: the 30 days up to the newest one written always stay.
    for (const QString &date : {old, kept, DateToText(today)}) {
        writeBytes(p.notes(date), "x\r\n");
        writeBytes(p.rows(date), "x\r\n");
    }
    padtest::purgeNotes(p.pad);
    QVERIFY(!QFile::exists(p.notes(old)));
    QVERIFY(!QFile::exists(p.rows(old)));
    QVERIFY(QFile::exists(p.notes(kept)));
    QVERIFY(QFile::exists(p.rows(kept)));
}

void PadNotesTest::purgeLeavesTheDaysShown()
{
    // Expired days, one of them shown before the purge and one shown while it runs; today's
    // page is written too.
    PadOnDisk p;
    const QDate today = QDate::currentDate();
    QStringList days;
    for (int back = 0; back <= 200; back += back == 0 ? 40 : 1) {
        days << DateToText(today.addDays(-back));
        writeBytes(p.notes(days.last()), "x\r\n");
        writeBytes(p.rows(days.last()), "x\r\n");
    }
    const QString shownBefore = days.at(100);
    const QString shownWhile = days.at(10);
    p.pad.setDestroyDelay(30);
    p.pad.setDate(shownBefore);
    QSignalSpy done(p.pad.notesPurge(), &DayPurge::finished);
    p.pad.PurgeNotes();
    p.pad.setDate(shownWhile);
    QVERIFY(done.wait(10000));
    QCOMPARE(p.errors.size(), 0);
    QStringList left = QDir(p.dir.path()).entryList(QDir::Files);
    QStringList expected;
    for (const QString &date : {days.first(), shownBefore, shownWhile})
        expected << QFileInfo(p.notes(date)).fileName() << QFileInfo(p.rows(date)).fileName();
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
}

void PadNotesTest::pastedTextIsCleaned_data()
{
    QTest::addColumn<int>("row"); // 0: the notes
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("LF and CR LF in an hour")
        << 1 << u"un\ndeux\r\ntrois"_qs << QByteArray("un deux trois");
    QTest::newRow("CR alone in an hour")
        << 1 << u"Line A\rLine B"_qs << QByteArray("Line A Line B");
    QTest::newRow("Unicode breaks and a tab in an hour")
        << 9 << u"a\u2028b\u2029c\td\ve"_qs << QByteArray("a b c d e");
    QTest::newRow("NUL in an hour") << 17 << u"avant\0après"_qs << QByteArray("avantapr\xe8s");
    QTest::newRow("NUL in the notes") << 0 << u"avant\0après"_qs << QByteArray("avantapr\xe8s");
    QTest::newRow("escape and bell in the notes") << 0
                                                  << u"a\x1b[1mb\x07"
                                                     u"c\x7f"_qs
                                                  << QByteArray("a[1mbc");
    QTest::newRow("tabs and breaks stay in the notes")
        << 0 << u"a\tb\r\nc"_qs << QByteArray("a\tb\r\nc");
}

// Whatever is pasted, the page stores one line per hour row and nothing that would end or
// shift the file when it is read again.
void PadNotesTest::pastedTextIsCleaned()
{
    QFETCH(int, row);
    QFETCH(QString, pasted);
    QFETCH(QByteArray, stored);
    PadOnDisk p;
    for (int r = 1; r <= TCalendarPad::kTimeFieldCount; ++r)
        p.pad.TimeFields(r)->setText(u"row "_qs + QString::number(r));
    QApplication::clipboard()->setText(pasted);
    if (row == 0) {
        p.pad.NotesMemo()->setFocus();
        p.pad.NotesMemo()->paste();
    } else {
        p.pad.TimeFields(row)->selectAll();
        p.pad.TimeFields(row)->paste();
    }
    p.pad.SaveNotes();

    const QList<QByteArray> rows = bytesOf(p.rows(u"06/03/1998"_qs)).split('\n');
    QCOMPARE(rows.size(), 18); // 17 lines and what follows the last break
    for (int r = 1; r <= TCalendarPad::kTimeFieldCount; ++r) {
        const QByteArray expected = r == row ? stored : "row " + QByteArray::number(r);
        QCOMPARE(rows.at(r - 1), expected + '\r');
    }
    if (row == 0)
        QCOMPARE(bytesOf(p.notes(u"06/03/1998"_qs)), stored + "\r\n");
    p.pad.setDate(u"07/03/1998"_qs);
    p.pad.setDate(u"06/03/1998"_qs);
    const QString shown =
        row == 0 ? p.pad.NotesMemo()->toPlainText() : p.pad.TimeFields(row)->text();
    QCOMPARE(shown, DecodeDayText(stored).replace(u"\r\n"_qs, u"\n"_qs));
}

void PadNotesTest::lengthLimitKeepsWholeCharacters_data()
{
    QTest::addColumn<int>("row"); // 0: the notes
    QTest::addColumn<int>("room");
    QTest::newRow("hour field") << 1 << 255;
    QTest::newRow("notes") << 0 << 32000;
}

// An emoji is two UTF-16 units: one unit short of the limit, it does not fit, and no half of
// it is left to be stored as "?".
void PadNotesTest::lengthLimitKeepsWholeCharacters()
{
    QFETCH(int, row);
    QFETCH(int, room);
    PadOnDisk p;
    const QString before(room - 1, u'x');
    const QString emoji = u"\U0001F600"_qs;
    QApplication::clipboard()->setText(before + emoji);
    if (row == 0) {
        p.pad.NotesMemo()->setFocus();
        p.pad.NotesMemo()->paste();
        QCOMPARE(p.pad.NotesMemo()->toPlainText(), before);
    } else {
        p.pad.TimeFields(row)->paste();
        QCOMPARE(p.pad.TimeFields(row)->text(), before);
    }
    p.pad.SaveNotes();
    QByteArray saved = bytesOf(row == 0 ? p.notes(u"06/03/1998"_qs) : p.rows(u"06/03/1998"_qs));
    QCOMPARE(saved.replace("\r\n", ""), before.toLatin1());
}

QTEST_MAIN(PadNotesTest)

#include "tst_padnotes.moc"
