// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "filebytes.h"

#include "notes/daypurge.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include "calendar/dateformat.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace padtest {

// The programs that make pads run in one setting, whatever the machine's. QTEST_MAIN calls a
// test class's static initMain() before the application exists, and the locale is read then:
// date texts and the system language as the tests expect them.
inline void initMain()
{
    qputenv("LC_ALL", "en_US.UTF-8");
}

// Pads keep their day files in the current folder: keep the tests' out of the build tree, in a
// folder that lasts as long as the program.
inline void useTemporaryCurrentFolder()
{
    static const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir::setCurrent(folder.path()));
}

// The rest of the setting, from a test class's initTestCase().
inline void initTestCase()
{
    QApplication::setCursorFlashTime(0); // a blinking caret would make two grabs differ
    ruvo::setDateSeparator(u'/');
    ruvo::setShortDateFormat(QStringLiteral("dd/mm/yyyy"));
    useTemporaryCurrentFolder();
}

// Counts the paints a widget receives, and runs onPaint as each one begins.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;
    std::function<void()> onPaint;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            if (onPaint)
                onPaint();
        }
        return false;
    }
};

// A pad on screen with a fixed clock; 03:00 is off the scale unless a test moves it.
inline void showPad(ruvo::TCalendarPad &pad, const QTime *now = nullptr)
{
    // An invalid time is no time at all: no hour is marked.
    pad.setClock([now] {
        if (now && !now->isValid())
            return QDateTime();
        return QDateTime(QDate::currentDate(), now ? *now : QTime(3, 0));
    });
    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
}

inline QImage grabPad(ruvo::TCalendarPad &pad)
{
    return pad.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// PurgeNotes to its end: it runs on a thread of its own.
inline void purgeNotes(ruvo::TCalendarPad &pad)
{
    QSignalSpy done(pad.notesPurge(), &ruvo::DayPurge::finished);
    pad.PurgeNotes();
    QVERIFY(done.wait(10000));
}

using ruvo::testing::bytesOf;
using ruvo::testing::writeBytes;

// Focus moves only inside the active window.
inline void activate(QWidget *window)
{
    QApplication::setActiveWindow(window);
    QVERIFY(window->isActiveWindow());
}

// The corners that turn the page, and the day block that opens the date dialog.
constexpr QPoint kPriorCorner(18, 265);
constexpr QPoint kNextCorner(370, 265);
constexpr QPoint kDayBlock(130, 40);

// A shown pad on a date, keeping its day files in a temporary folder, used with the mouse and
// the keyboard as the user uses it, so errors arrive as the window would show them.
struct PadOnDisk
{
    explicit PadOnDisk(const QString &date = QStringLiteral("06/03/1998"))
    {
        pad.setDirectory(dir.path() + u'/');
        pad.setExtensionFile(QStringLiteral("ruv"));
        pad.setSoundEffect(false);
        showPad(pad);
        pad.setDate(date);
    }
    QString notes(const QString &date) const { return pad.notesFilePath(date); }
    QString rows(const QString &date) const { return pad.timeFieldsFilePath(date); }

    // The pointer goes through a point off every area first: moving to where it already is
    // reports no move.
    void moveTo(QPoint at)
    {
        QTest::mouseMove(&pad, QPoint(200, 150));
        QTest::mouseMove(&pad, at);
    }
    void clickAt(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        moveTo(at);
        QTest::mouseClick(&pad, button, {}, at);
    }
    // As a person double-clicks: press, release, the double-click (in place of the second
    // press), release.
    void doubleClickAt(QPoint at)
    {
        moveTo(at);
        QTest::mousePress(&pad, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&pad, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&pad, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&pad, Qt::LeftButton, {}, at);
    }
    // Into the notes, key by key.
    void type(const QString &text)
    {
        pad.NotesMemo()->setFocus();
        QTest::keyClicks(pad.NotesMemo(), text);
    }

    QTemporaryDir dir;
    ruvo::TCalendarPad pad;
    QSignalSpy errors{&pad, &ruvo::TCalendarPad::errorRaised};
};

} // namespace padtest
