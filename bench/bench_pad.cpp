// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pad's hot paths on the offscreen platform, each beside the floor it cannot beat:
// turning a page (and its parts), painting the page, the clock tick and purging old notes.

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "notes/dayfiles.h"
#include "notes/daypurge.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QWidget>
#include <chrono>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <utility>

using ruvo::TCalendarPad;

namespace {

// A clock inside the hour scale, so the current hour is marked as on a working day.
const QTime kTenOClock(10, 0);
constexpr int kNoteLines = 20;
// The files that purging moves to the trash: today - 365 up to the day before today -
// DestroyDelay, the main window's 30 days (never fewer, whatever the delay, before the newest
// day with text).
constexpr int kDestroyDelay = 30;

QString dateText(const QDate &date)
{
    return ruvo::DateToText(date);
}

QStringList noteLines()
{
    QStringList lines;
    for (int i = 1; i <= kNoteLines; ++i)
        lines << QStringLiteral("Note %1: call back").arg(i, 2, 10, QChar(u'0'));
    return lines;
}

QStringList fieldRows()
{
    QStringList rows;
    for (int i = 1; i <= TCalendarPad::kTimeFieldCount; ++i)
        rows << QStringLiteral("Meeting room %1").arg(i);
    return rows;
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// Replaced whole or not at all, as the program writes its day files.
void safeWrite(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        std::abort();
}

QByteArray readPlain(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// Both day files of a date with a full page.
void writeDayFiles(const TCalendarPad &pad, const QString &date)
{
    static const QByteArray notes = ruvo::DayFileBytes(noteLines());
    static const QByteArray rows = ruvo::DayFileBytes(fieldRows());
    writePlain(pad.notesFilePath(date), notes);
    writePlain(pad.timeFieldsFilePath(date), rows);
}

// A shown pad that keeps its day files in a folder of its own.
struct ShownPad
{
    ShownPad()
    {
        pad.setDirectory(dir.path() + u'/');
        pad.setExtensionFile(QStringLiteral("ruv"));
        pad.setSoundEffect(false);
        pad.setDestroyDelay(kDestroyDelay);
        pad.setClock([] { return QDateTime(QDate::currentDate(), kTenOClock); });
        pad.show();
        if (!QTest::qWaitForWindowExposed(&pad))
            std::abort();
    }

    // Whether the editors hold a full page: 20 lines of notes and 17 filled fields.
    bool holdsFullPage() const
    {
        if (pad.NotesMemo()->visualLines() != noteLines())
            return false;
        const QStringList rows = fieldRows();
        for (int row = 1; row <= TCalendarPad::kTimeFieldCount; ++row) {
            if (pad.TimeFields(row)->text() != rows.at(row - 1))
                return false;
        }
        return true;
    }

    // Changes a note line and the first hour field, as typing would.
    void typeOnPage()
    {
        typedLine = QStringLiteral("typed %1").arg(++typedCount);
        QStringList notes = noteLines();
        notes.first() = typedLine;
        pad.NotesMemo()->setPlainText(notes.join(u'\n'));
        pad.TimeFields(1)->setText(typedLine);
        QCoreApplication::sendPostedEvents();
    }

    // Whether the notes file of that date starts with the line typed last.
    bool savedTypedLine(const QString &date) const
    {
        return ruvo::DayFileLines(
                   ruvo::ReadDayFileBytes(pad.notesFilePath(date)).value_or(QByteArray()))
                   .value(0) == typedLine;
    }

    QTemporaryDir dir;
    TCalendarPad pad;
    QString typedLine;
    int typedCount = 0;
};

// A plain shown widget of the pad's size: what any repaint costs Qt before the pad draws.
struct BareWidget
{
    BareWidget()
    {
        widget.setFixedSize(TCalendarPad::kWidth, TCalendarPad::kHeight);
        widget.show();
        if (!QTest::qWaitForWindowExposed(&widget))
            std::abort();
    }
    QWidget widget;
};

const QDate kFirstDay(2001, 1, 1);
const QDate kLastDay(2001, 12, 31);

// ---- Turning a page

// A full page for every day of 2001 in the pad's folder.
void writeTheYear(const TCalendarPad &pad)
{
    for (QDate day = kFirstDay; day <= kLastDay; day = day.addDays(1))
        writeDayFiles(pad, dateText(day));
}

// The same, with the pad on the year's first day.
void fillTheYear(TCalendarPad &pad)
{
    writeTheYear(pad);
    pad.setDate(dateText(kFirstDay));
}

void BM_PageTurn(benchmark::State &state)
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    fillTheYear(pad);
    const QString first = dateText(kFirstDay);
    const QString last = dateText(kLastDay);
    if (!shown.holdsFullPage()) {
        state.SkipWithError("the pad did not load a full page");
        return;
    }
    for (auto _ : state) {
        if (pad.Date() == last) {
            state.PauseTiming();
            pad.SaveNotes();
            pad.setDate(first);
            state.ResumeTiming();
        }
        pad.SaveNotes();
        pad.setDate(ruvo::AddDays(pad.Date(), 1)); // repaints with the editors, then loads
        // The editors' new text is on screen only once their pending updates are painted.
        QCoreApplication::sendPostedEvents();
    }
    if (!shown.holdsFullPage())
        state.SkipWithError("the last page turned was not full");
}
BENCHMARK(BM_PageTurn)->Unit(benchmark::kMicrosecond);

// Turns after typing on every page: a note line and an hour field differ from the files (the
// typing is not timed). Right after typing the turn replaces both files (temporary file, flush,
// rename); with backgroundSaved, the pause in the typing has let the background save write the
// page first (not timed, as it happens while the user reads), so the turn finds nothing to save.
void turnsAfterTyping(benchmark::State &state, bool backgroundSaved)
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    fillTheYear(pad);
    const QString first = dateText(kFirstDay);
    const QString last = dateText(kLastDay);
    for (auto _ : state) {
        state.PauseTiming();
        if (pad.Date() == last) {
            pad.SaveNotes();
            pad.setDate(first);
        }
        shown.typeOnPage();
        if (backgroundSaved)
            pad.saveInBackground(); // what the save timer does after the pause
        const bool saved = !backgroundSaved || !pad.hasUnsavedNotes();
        state.ResumeTiming();
        if (!saved) {
            state.SkipWithError("the background save left text unsaved");
            break;
        }
        pad.SaveNotes();
        pad.setDate(ruvo::AddDays(pad.Date(), 1));
        QCoreApplication::sendPostedEvents();
    }
    if (!shown.savedTypedLine(ruvo::SubtractDays(pad.Date(), 1)))
        state.SkipWithError("the typed note was not saved");
}

void BM_PageTurnEdited(benchmark::State &state)
{
    turnsAfterTyping(state, false);
}
BENCHMARK(BM_PageTurnEdited)->Unit(benchmark::kMicrosecond);

void BM_PageTurnAfterBackgroundSave(benchmark::State &state)
{
    turnsAfterTyping(state, true);
}
BENCHMARK(BM_PageTurnAfterBackgroundSave)->Unit(benchmark::kMicrosecond);

void BM_PageTurnSave(benchmark::State &state)
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    const QString day = dateText(kFirstDay);
    writeDayFiles(pad, day);
    pad.setDate(day);
    if (!shown.holdsFullPage()) {
        state.SkipWithError("the pad did not load a full page");
        return;
    }
    for (auto _ : state)
        pad.SaveNotes();
}
BENCHMARK(BM_PageTurnSave)->Unit(benchmark::kMicrosecond);

// Saving after typing: a note line and an hour field changed (not timed) before each save.
void saveAfterTyping(benchmark::State &state, void (TCalendarPad::*save)())
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    const QString day = dateText(kFirstDay);
    writeDayFiles(pad, day);
    pad.setDate(day);
    for (auto _ : state) {
        state.PauseTiming();
        shown.typeOnPage();
        state.ResumeTiming();
        (pad.*save)();
    }
    if (!shown.savedTypedLine(day) || pad.hasUnsavedNotes())
        state.SkipWithError("the typed note was not saved");
}

void BM_PageTurnSaveEdited(benchmark::State &state)
{
    saveAfterTyping(state, &TCalendarPad::SaveNotes);
}
BENCHMARK(BM_PageTurnSaveEdited)->Unit(benchmark::kMicrosecond);

// ---- Typing and the save that follows it

// One key typed into the notes: the editor's own work plus the pad's (the cleaning of what
// arrives, marking the page unsaved, restarting the save's timer).
void BM_Keystroke(benchmark::State &state)
{
    ShownPad shown;
    ruvo::NotesEditor *notes = shown.pad.NotesMemo();
    notes->setFocus();
    for (auto _ : state) {
        if (notes->document()->characterCount() > 2000) {
            state.PauseTiming();
            notes->clear();
            state.ResumeTiming();
        }
        QTest::keyClick(notes, Qt::Key_A);
    }
    if (!shown.pad.hasUnsavedNotes() || !shown.pad.AutoSaveTimer()->isActive())
        state.SkipWithError("typing did not arm the save");
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// The floor: the same key into a plain QPlainTextEdit of the notes' size.
void BM_KeystrokeFloor(benchmark::State &state)
{
    QPlainTextEdit editor;
    editor.setFixedSize(149, 160);
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        std::abort();
    editor.setFocus();
    for (auto _ : state) {
        if (editor.document()->characterCount() > 2000) {
            state.PauseTiming();
            editor.clear();
            state.ResumeTiming();
        }
        QTest::keyClick(&editor, Qt::Key_A);
    }
}
BENCHMARK(BM_KeystrokeFloor)->Unit(benchmark::kMicrosecond);

// The save the pause in the typing starts: both files of a full page re-read, compared and
// replaced (checked writes, sync, rename). The typing is not timed.
void BM_BackgroundSave(benchmark::State &state)
{
    saveAfterTyping(state, &TCalendarPad::saveInBackground);
}
BENCHMARK(BM_BackgroundSave)->Unit(benchmark::kMicrosecond);

// The pad and its 18 editors, as setDate repaints them.
void BM_PageTurnPaint(benchmark::State &state)
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    const QString day = dateText(kFirstDay);
    writeDayFiles(pad, day);
    pad.setDate(day);
    for (auto _ : state)
        pad.repaint();
}
BENCHMARK(BM_PageTurnPaint)->Unit(benchmark::kMicrosecond);

void BM_PageTurnLoad(benchmark::State &state)
{
    ShownPad shown;
    TCalendarPad &pad = shown.pad;
    const QString day = dateText(kFirstDay);
    writeDayFiles(pad, day);
    pad.setDate(day);
    for (auto _ : state)
        pad.LoadNotes(); // reads both files again: the editors hold nothing unsaved
    if (!shown.holdsFullPage())
        state.SkipWithError("the pad did not load a full page");
}
BENCHMARK(BM_PageTurnLoad)->Unit(benchmark::kMicrosecond);

// The I/O floor of a turn: the same two files written and the next day's two read, with QFile.
void BM_PageTurnIoFloor(benchmark::State &state)
{
    const QTemporaryDir dir;
    TCalendarPad pad;
    pad.setDirectory(dir.path() + u'/');
    pad.setExtensionFile(QStringLiteral("ruv"));
    const QString today = dateText(kFirstDay);
    const QString tomorrow = dateText(kFirstDay.addDays(1));
    writeDayFiles(pad, tomorrow);
    const QByteArray notes = ruvo::DayFileBytes(noteLines());
    const QByteArray rows = ruvo::DayFileBytes(fieldRows());
    const QString notesOut = pad.notesFilePath(today);
    const QString rowsOut = pad.timeFieldsFilePath(today);
    const QString notesIn = pad.notesFilePath(tomorrow);
    const QString rowsIn = pad.timeFieldsFilePath(tomorrow);
    for (auto _ : state) {
        writePlain(notesOut, notes);
        writePlain(rowsOut, rows);
        benchmark::DoNotOptimize(readPlain(notesIn));
        benchmark::DoNotOptimize(readPlain(rowsIn));
    }
}
BENCHMARK(BM_PageTurnIoFloor)->Unit(benchmark::kMicrosecond);

// The two files of a day written again and again into an empty folder by write.
void writeTwoFiles(benchmark::State &state, void (*write)(const QString &, const QByteArray &))
{
    const QTemporaryDir dir;
    const QByteArray notes = ruvo::DayFileBytes(noteLines());
    const QByteArray rows = ruvo::DayFileBytes(fieldRows());
    const QString notesOut = dir.filePath(QStringLiteral("010101N.ruv"));
    const QString rowsOut = dir.filePath(QStringLiteral("010101T.ruv"));
    for (auto _ : state) {
        write(notesOut, notes);
        write(rowsOut, rows);
    }
}

void BM_WriteFloor(benchmark::State &state)
{
    writeTwoFiles(state, writePlain);
}
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMicrosecond);

// What replacing a file whole or not at all costs by itself: temporary file, flush, rename.
void BM_SafeWriteFloor(benchmark::State &state)
{
    writeTwoFiles(state, safeWrite);
}
BENCHMARK(BM_SafeWriteFloor)->Unit(benchmark::kMicrosecond);

// The same in a folder that holds a year of day files, a day further at each iteration, as
// the turn after typing writes them: a new file's inode is found among many recently freed.
void BM_SafeWriteYearFloor(benchmark::State &state)
{
    const QTemporaryDir dir;
    TCalendarPad pad;
    pad.setDirectory(dir.path() + u'/');
    pad.setExtensionFile(QStringLiteral("ruv"));
    writeTheYear(pad);
    const QByteArray notes = ruvo::DayFileBytes(noteLines());
    const QByteArray rows = ruvo::DayFileBytes(fieldRows());
    QDate day = kFirstDay;
    for (auto _ : state) {
        safeWrite(pad.notesFilePath(dateText(day)), notes);
        safeWrite(pad.timeFieldsFilePath(dateText(day)), rows);
        day = day == kLastDay ? kFirstDay : day.addDays(1);
    }
}
BENCHMARK(BM_SafeWriteYearFloor)->Unit(benchmark::kMicrosecond);

void BM_ReadFloor(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString notesIn = dir.filePath(QStringLiteral("020101N.ruv"));
    const QString rowsIn = dir.filePath(QStringLiteral("020101T.ruv"));
    writePlain(notesIn, ruvo::DayFileBytes(noteLines()));
    writePlain(rowsIn, ruvo::DayFileBytes(fieldRows()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPlain(notesIn));
        benchmark::DoNotOptimize(readPlain(rowsIn));
    }
}
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMicrosecond);

void BM_BareRepaint(benchmark::State &state)
{
    BareWidget bare;
    for (auto _ : state)
        bare.widget.repaint();
}
BENCHMARK(BM_BareRepaint)->Unit(benchmark::kMicrosecond);

// ---- Painting the page alone

QImage pageImage()
{
    return QImage(TCalendarPad::kWidth, TCalendarPad::kHeight, QImage::Format_RGB32);
}

void BM_PaintPage(benchmark::State &state)
{
    TCalendarPad pad;
    pad.setClock([] { return QDateTime(QDate::currentDate(), kTenOClock); });
    pad.setDate(dateText(kFirstDay));
    QImage image = pageImage();
    for (auto _ : state) {
        QPainter painter(&image);
        pad.paintPage(painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PaintPage)->Unit(benchmark::kMicrosecond);

void BM_DrawPage(benchmark::State &state)
{
    TCalendarPad pad;
    pad.setClock([] { return QDateTime(QDate::currentDate(), kTenOClock); });
    pad.setDate(dateText(kFirstDay));
    QImage image = pageImage();
    {
        QPainter painter(&image);
        pad.paintPage(painter); // texts and background ready, as after the first paint
    }
    for (auto _ : state) {
        QPainter painter(&image);
        pad.drawPage(painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMicrosecond);

// Any page paint copies the whole background picture at least once.
void BM_PaintFloor(benchmark::State &state)
{
    TCalendarPad pad;
    const QImage background = pad.Background().convertToFormat(
        pad.Background().hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                           : QImage::Format_RGB32);
    QImage image = pageImage();
    for (auto _ : state) {
        QPainter painter(&image);
        painter.drawImage(QPoint(0, 0), background);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PaintFloor)->Unit(benchmark::kMicrosecond);

// ---- The clock tick

void BM_RefreshTimeScale(benchmark::State &state)
{
    ShownPad shown;
    shown.pad.setDate(dateText(kFirstDay));
    for (auto _ : state)
        shown.pad.RefreshTimeScale();
}
BENCHMARK(BM_RefreshTimeScale)->Unit(benchmark::kMicrosecond);

// The same rectangle the pad repaints on a tick (the hour labels' column), on a plain widget.
void BM_RefreshTimeScaleFloor(benchmark::State &state)
{
    BareWidget bare;
    QFont labelFont;
    labelFont.setFamilies({QStringLiteral("Arial")});
    labelFont.setPixelSize(11);
    const QFontMetrics metrics(labelFont);
    const QRect hourScale(218, 19, metrics.horizontalAdvance(QStringLiteral("00:00")),
                          14 * (TCalendarPad::kTimeFieldCount - 1) + metrics.height());
    for (auto _ : state)
        bare.widget.repaint(hourScale);
}
BENCHMARK(BM_RefreshTimeScaleFloor)->Unit(benchmark::kMicrosecond);

// ---- Purging old notes

// The dates purging moves to the trash, today - 365 up to the day before today - DestroyDelay.
QStringList purgedDates()
{
    QStringList dates;
    const QDate today = QDate::currentDate();
    for (QDate day = today.addDays(-365); day < today.addDays(-kDestroyDelay); day = day.addDays(1))
        dates << dateText(day);
    return dates;
}

// Every day of the last year has both its files.
void writeLastYear(const TCalendarPad &pad)
{
    const QDate today = QDate::currentDate();
    for (QDate day = today.addDays(-365); day < today; day = day.addDays(1))
        writeDayFiles(pad, dateText(day));
}

QStringList purgedPaths(const TCalendarPad &pad)
{
    QStringList paths;
    for (const QString &date : purgedDates())
        paths << pad.timeFieldsFilePath(date) << pad.notesFilePath(date);
    return paths;
}

// PurgeNotes to its end on its own thread, the event loop running meanwhile.
void purgeToTheEnd(TCalendarPad &pad)
{
    QEventLoop loop;
    QObject::connect(pad.notesPurge(), &ruvo::DayPurge::finished, &loop, &QEventLoop::quit);
    pad.PurgeNotes();
    loop.exec();
}

struct PadInFolder
{
    PadInFolder()
    {
        pad.setDirectory(dir.path() + u'/');
        pad.setExtensionFile(QStringLiteral("ruv"));
        pad.setDestroyDelay(kDestroyDelay);
    }
    QTemporaryDir dir;
    TCalendarPad pad;
};

void BM_PurgeNotesAllPresent(benchmark::State &state)
{
    PadInFolder folder;
    const qsizetype expectedLeft = 2 * kDestroyDelay;
    for (auto _ : state) {
        state.PauseTiming();
        writeLastYear(folder.pad);
        state.ResumeTiming();
        purgeToTheEnd(folder.pad);
    }
    if (QDir(folder.dir.path()).entryList(QDir::Files).size() != expectedLeft)
        state.SkipWithError("purging left other files than the last DestroyDelay days'");
}
// Creating 730 files takes about half a second here, so few iterations, repeated.
BENCHMARK(BM_PurgeNotesAllPresent)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

void BM_PurgeNotesNone(benchmark::State &state)
{
    PadInFolder folder;
    for (auto _ : state)
        purgeToTheEnd(folder.pad);
}
BENCHMARK(BM_PurgeNotesNone)->Unit(benchmark::kMillisecond);

// The floor: removing the same files by their ready-made paths.
void BM_PurgeFloorAllPresent(benchmark::State &state)
{
    PadInFolder folder;
    const QStringList paths = purgedPaths(folder.pad);
    for (auto _ : state) {
        state.PauseTiming();
        writeLastYear(folder.pad);
        state.ResumeTiming();
        for (const QString &path : paths)
            benchmark::DoNotOptimize(QFile::remove(path));
    }
}
BENCHMARK(BM_PurgeFloorAllPresent)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

void BM_PurgeFloorNone(benchmark::State &state)
{
    PadInFolder folder;
    const QStringList paths = purgedPaths(folder.pad);
    for (auto _ : state) {
        for (const QString &path : paths)
            benchmark::DoNotOptimize(QFile::remove(path));
    }
}
BENCHMARK(BM_PurgeFloorNone)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setCursorFlashTime(0); // no caret timer repainting between iterations
    // Date texts as the main window sets them at start-up.
    ruvo::setDateSeparator(u'/');
    ruvo::setShortDateFormat(QStringLiteral("dd/mm/yyyy"));
    // A pad's default folder is the current one: keep every file out of the source tree.
    const QTemporaryDir workFolder;
    QDir::setCurrent(workFolder.path());

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
