// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padtestsupport.h"

#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include "platform/cursortable.h"
#include "platform/soundplayer.h"

#include "calendar/datetext.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace ruvo;

using padtest::kDayBlock;
using padtest::kNextCorner;
using padtest::kPriorCorner;
using padtest::PadOnDisk;

class PageTurningTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase()
    {
        padtest::initTestCase();
        RegisterStartupCursors();
    }
    // Each test meets the pad as the user does: hints shown, in English, the page sound on. The
    // sound file does not exist, so each play falls back to a beep that m_sounds counts.
    void init()
    {
        m_t = std::make_unique<PadOnDisk>();
        m_t->pad.setSoundFileName(m_t->dir.filePath(QStringLiteral("no-such.wav")));
        m_t->pad.setSoundEffect(true);
        m_t->pad.setShowHint(true);
        m_t->pad.setLanguage(laEnglish);
        m_sounds = std::make_unique<QSignalSpy>(SoundPlayer::instance(), &SoundPlayer::beeped);
    }
    void cleanup()
    {
        m_sounds.reset();
        m_t.reset();
    }

    void hotAreas_data();
    void hotAreas();
    void hintsFollowTheLanguage_data();
    void hintsFollowTheLanguage();
    void cornersTurnPages_data();
    void cornersTurnPages();
    void anyButtonTurns_data();
    void anyButtonTurns();
    void leavingTheCornerWithTheButtonHeldTurnsNothing();
    void doubleClickOnACornerTurnsTwoPages();
    void soundFollowsEveryAllowedTurn();
    void failedDateStepPlaysNoSound();
    void failedSaveTurnsNothing();
    void turningSavesAndLoads();
    void dayBlockDoubleClickGoesToTheChosenDate();
    void dayBlockSingleClickDoesNothing();
    void keysAndWheelTurnOneDay_data();
    void keysAndWheelTurnOneDay();
    void failedSaveStopsKeysAndWheel_data() { keysAndWheelTurnOneDay_data(); }
    void failedSaveStopsKeysAndWheel();
    void wheelAddsUpToOneStep_data();
    void wheelAddsUpToOneStep();
    void newDay_data();
    void newDay();
    void pageMenuAwayFromTheHotAreas_data();
    void pageMenuAwayFromTheHotAreas();

private:
    // A key pressed in the notes editor, or a wheel notch on the page.
    void give(const QString &input);
    void wheel(QPoint at, int delta);

    std::unique_ptr<PadOnDisk> m_t;
    std::unique_ptr<QSignalSpy> m_sounds;
};

void PageTurningTest::hotAreas_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("area"); // 0 none, 1 prior, 2 next, 3 day block
    QTest::addColumn<int>("cursor");

    QTest::newRow("prior top-left") << QPoint(1, 249) << 1 << -1020;
    QTest::newRow("prior bottom-right") << QPoint(36, 269) << 1 << -1020;
    QTest::newRow("left of prior") << QPoint(0, 249) << 0 << 0;
    QTest::newRow("right of prior") << QPoint(37, 260) << 0 << 0;
    QTest::newRow("above prior") << QPoint(20, 248) << 0 << 0;
    QTest::newRow("below prior") << QPoint(20, 270) << 0 << 0;
    QTest::newRow("next bottom-right") << QPoint(384, 269) << 2 << -1019;
    QTest::newRow("next, beside the last field") << QPoint(365, 262) << 2 << -1019;
    QTest::newRow("day block top-left") << QPoint(105, 20) << 3 << -1018;
    QTest::newRow("day block bottom-right") << QPoint(165, 75) << 3 << -1018;
    QTest::newRow("left of day block") << QPoint(104, 50) << 0 << 0;
    QTest::newRow("right of day block") << QPoint(166, 50) << 0 << 0;
}

void PageTurningTest::hotAreas()
{
    QFETCH(QPoint, at);
    QFETCH(int, area);
    QFETCH(int, cursor);
    m_t->moveTo(at);
    QCOMPARE(m_t->pad.OverPriorArea(), area == 1);
    QCOMPARE(m_t->pad.OverNextArea(), area == 2);
    QCOMPARE(m_t->pad.OverDateArea(), area == 3);
    QCOMPARE(m_t->pad.cursorNumber(), cursor);
    QCOMPARE(m_t->pad.cursor().shape(), CursorByNumber(qint16(cursor)).shape());
    const QString hints[] = {QString(), u"prior"_qs, u"next"_qs, u"go"_qs};
    QCOMPARE(m_t->pad.toolTip(), hints[area]);
}

void PageTurningTest::hintsFollowTheLanguage_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("prior");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("go");
    QTest::newRow("French") << laFrench << u"Jour précédent"_qs << u"Jour suivant"_qs
                            << u"Aller à"_qs;
    QTest::newRow("German") << laGerman << u"Vortag"_qs << u"Folgendtag"_qs << u"Gehen"_qs;
    QTest::newRow("Spanish") << laSpanish << u"anterior"_qs << u"proximo"_qs << u"ir"_qs;
}

void PageTurningTest::hintsFollowTheLanguage()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, prior);
    QFETCH(QString, next);
    QFETCH(QString, go);
    m_t->pad.setLanguage(language);
    m_t->moveTo(kPriorCorner);
    QCOMPARE(m_t->pad.toolTip(), prior);
    m_t->moveTo(kNextCorner);
    QCOMPARE(m_t->pad.toolTip(), next);
    m_t->moveTo(kDayBlock);
    QCOMPARE(m_t->pad.toolTip(), go);
}

void PageTurningTest::cornersTurnPages_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("back into a leap day") << "01/03/2024" << false << "29/02/2024"
                                          << "Thursday 29 February 2024";
    QTest::newRow("on into a new year") << "31/12/2026" << true << "01/01/2027"
                                        << "Friday 1 January 2027";
    QTest::newRow("back over the year end") << "01/01/2027" << false << "31/12/2026"
                                            << "Thursday 31 December 2026";
}

void PageTurningTest::cornersTurnPages()
{
    QFETCH(QString, from);
    QFETCH(bool, forward);
    QFETCH(QString, to);
    QFETCH(QString, spoken);
    m_t->pad.setDate(from);
    m_t->clickAt(forward ? kNextCorner : kPriorCorner);
    QCOMPARE(m_t->pad.Date(), to);
    QCOMPARE(m_sounds->count(), 1);
    // A screen reader is told the new date, the day of the year and the week.
    QAccessibleInterface *page = QAccessible::queryAccessibleInterface(&m_t->pad);
    QCOMPARE(page->text(QAccessible::Name), spoken);
    QVERIFY(page->text(QAccessible::Description).startsWith(u"Day "));
}

void PageTurningTest::anyButtonTurns_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void PageTurningTest::anyButtonTurns()
{
    QFETCH(Qt::MouseButton, button);
    m_t->clickAt(kNextCorner, button);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("07/03/1998"));
}

void PageTurningTest::leavingTheCornerWithTheButtonHeldTurnsNothing()
{
    m_t->moveTo(kNextCorner);
    QTest::mousePress(&m_t->pad, Qt::LeftButton, {}, kNextCorner);
    QMouseEvent drag(QEvent::MouseMove, QPointF(200, 150), m_t->pad.mapToGlobal(QPointF(200, 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_t->pad, &drag);
    QTest::mouseRelease(&m_t->pad, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(m_t->pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(m_sounds->count(), 0);
}

void PageTurningTest::doubleClickOnACornerTurnsTwoPages()
{
    int dialogs = 0;
    m_t->pad.setDateDialog([&](TLanguage, const QString &date, const QPoint &) {
        ++dialogs;
        return date;
    });
    m_t->doubleClickAt(kNextCorner);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("08/03/1998"));
    QCOMPARE(dialogs, 0);
}

void PageTurningTest::soundFollowsEveryAllowedTurn()
{
    m_t->pad.setOnChange([](QObject *, const QString &, bool &allow) { allow = false; });
    m_t->clickAt(kNextCorner);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("06/03/1998")); // refused
    QCOMPARE(m_sounds->count(), 1);                          // and still heard
    m_t->pad.setSoundEffect(false);
    m_t->clickAt(kPriorCorner);
    QCOMPARE(m_sounds->count(), 1);
}

void PageTurningTest::failedDateStepPlaysNoSound()
{
    // The stepping calendar has 29/02/2100; the Gregorian one, which dates are built in, has not.
    m_t->pad.setDate(QStringLiteral("28/02/2100"));
    m_t->clickAt(kNextCorner);
    QCOMPARE(m_t->errors.count(), 1);
    QCOMPARE(m_t->errors.first().first().toString(),
             QStringLiteral("Invalid argument to date encode"));
    QCOMPARE(m_t->pad.Date(), QStringLiteral("28/02/2100"));
    QCOMPARE(m_sounds->count(), 0);
}

void PageTurningTest::failedSaveTurnsNothing()
{
    m_t->pad.NotesMemo()->setPlainText(QStringLiteral("unsaved"));
    m_t->pad.setDirectory(m_t->dir.filePath(QStringLiteral("gone")));
    m_t->clickAt(kNextCorner);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(m_sounds->count(), 0);
    QCOMPARE(m_t->errors.count(), 1);
    QVERIFY(m_t->errors.first().first().toString().startsWith(u"Ne peut créer le fichier "));
    QCOMPARE(m_t->pad.NotesMemo()->toPlainText(), QStringLiteral("unsaved"));
}

void PageTurningTest::turningSavesAndLoads()
{
    m_t->pad.NotesMemo()->setPlainText(QStringLiteral("sixth"));
    m_t->clickAt(kNextCorner);
    QCOMPARE(m_t->pad.NotesMemo()->toPlainText(), QString());
    m_t->pad.NotesMemo()->setPlainText(QStringLiteral("seventh"));
    m_t->clickAt(kPriorCorner);
    QCOMPARE(m_t->pad.NotesMemo()->toPlainText(), QStringLiteral("sixth"));
    m_t->clickAt(kNextCorner);
    QCOMPARE(m_t->pad.NotesMemo()->toPlainText(), QStringLiteral("seventh"));
}

void PageTurningTest::dayBlockDoubleClickGoesToTheChosenDate()
{
    m_t->pad.setLanguage(laGerman);
    // Focus moves only inside the active window; it starts away from the notes.
    padtest::activate(&m_t->pad);
    m_t->pad.TimeFields(3)->setFocus();
    QVERIFY(m_t->pad.TimeFields(3)->hasFocus());
    m_t->pad.NotesMemo()->setPlainText(QStringLiteral("saved before the dialog"));
    QFile::remove(m_t->pad.notesFilePath(u"06/03/1998"_qs));
    TLanguage askedLanguage = laDefault;
    QString askedDate;
    QPoint askedAt;
    bool savedFirst = false;
    m_t->pad.setDateDialog([&](TLanguage language, const QString &date, const QPoint &at) {
        askedLanguage = language;
        askedDate = date;
        askedAt = at;
        savedFirst = QFile::exists(m_t->pad.notesFilePath(date));
        return QStringLiteral("25/12/2026");
    });
    m_t->doubleClickAt(kDayBlock);
    QVERIFY(savedFirst);
    QCOMPARE(askedLanguage, laGerman);
    QCOMPARE(askedDate, QStringLiteral("06/03/1998"));
    QCOMPARE(askedAt, QCursor::pos());
    QCOMPARE(m_t->pad.Date(), QStringLiteral("25/12/2026"));
    QCOMPARE(m_t->pad.LoadedDate(), QStringLiteral("25/12/2026"));
    QVERIFY(m_t->pad.NotesMemo()->hasFocus());
    QCOMPARE(m_sounds->count(), 0); // no sound on this path
}

void PageTurningTest::dayBlockSingleClickDoesNothing()
{
    bool asked = false;
    m_t->pad.setDateDialog([&](TLanguage, const QString &date, const QPoint &) {
        asked = true;
        return date;
    });
    m_t->clickAt(kDayBlock);
    QVERIFY(!asked);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("06/03/1998"));
}

// Away from the editors, the corners and the day block.
constexpr QPoint kBarePage(190, 150);

void PageTurningTest::wheel(QPoint at, int delta)
{
    QWheelEvent event(at, m_t->pad.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // As the window system delivers it: to the widget under the pointer, then up to the page.
    QWidget *target = m_t->pad.childAt(at) ? m_t->pad.childAt(at) : &m_t->pad;
    QWheelEvent local(target->mapFrom(&m_t->pad, QPointF(at)), event.globalPosition(), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &local);
}

void PageTurningTest::give(const QString &input)
{
    QWidget *editor = m_t->pad.NotesMemo();
    if (input == u"Ctrl+Page Down")
        QTest::keyClick(editor, Qt::Key_PageDown, Qt::ControlModifier);
    else if (input == u"Ctrl+Page Up")
        QTest::keyClick(editor, Qt::Key_PageUp, Qt::ControlModifier);
    else if (input == u"Alt+Home")
        QTest::keyClick(editor, Qt::Key_Home, Qt::AltModifier);
    else if (input == u"Ctrl+G")
        QTest::keyClick(editor, Qt::Key_G, Qt::ControlModifier);
    else
        wheel(kBarePage, input == u"wheel down" ? -120 : 120);
}

void PageTurningTest::keysAndWheelTurnOneDay_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("sounds");
    QTest::newRow("Ctrl+Page Down") << "Ctrl+Page Down"
                                    << "07/03/1998" << 1;
    QTest::newRow("Ctrl+Page Up") << "Ctrl+Page Up"
                                  << "05/03/1998" << 1;
    QTest::newRow("Alt+Home") << "Alt+Home" << DateToText(QDate::currentDate()) << 0;
    QTest::newRow("Ctrl+G: the date dialog") << "Ctrl+G"
                                             << "25/12/2026" << 0;
    QTest::newRow("wheel down") << "wheel down"
                                << "07/03/1998" << 1;
    QTest::newRow("wheel up") << "wheel up"
                              << "05/03/1998" << 1;
}

void PageTurningTest::keysAndWheelTurnOneDay()
{
    QFETCH(QString, input);
    QFETCH(QString, to);
    QFETCH(int, sounds);
    m_t->pad.setDateDialog(
        [](TLanguage, const QString &, const QPoint &) { return u"25/12/2026"_qs; });
    padtest::activate(&m_t->pad);
    m_t->type(QStringLiteral("typed"));
    give(input);
    QCOMPARE(m_t->pad.Date(), to);
    QCOMPARE(m_sounds->count(), sounds);
    QCOMPARE(padtest::bytesOf(m_t->notes(QStringLiteral("06/03/1998"))), QByteArray("typed\r\n"));
    QCOMPARE(m_t->errors.count(), 0);
}

void PageTurningTest::failedSaveStopsKeysAndWheel()
{
    QFETCH(QString, input);
    m_t->pad.setDateDialog(
        [](TLanguage, const QString &, const QPoint &) { return u"25/12/2026"_qs; });
    padtest::activate(&m_t->pad);
    m_t->type(QStringLiteral("unsaved"));
    m_t->pad.setDirectory(m_t->dir.filePath(QStringLiteral("gone")));
    give(input);
    QCOMPARE(m_t->pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(m_sounds->count(), 0);
    QCOMPARE(m_t->errors.count(), 1);
    QCOMPARE(m_t->pad.NotesMemo()->toPlainText(), QStringLiteral("unsaved"));
}

void PageTurningTest::wheelAddsUpToOneStep_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<QString>("to");
    QTest::newRow("touchpad steps add up")
        << kBarePage << QList<int>{-40, -40, -40} << "07/03/1998";
    QTest::newRow("three notches at once turn one page")
        << kBarePage << QList<int>{-360} << "07/03/1998";
    QTest::newRow("a change of direction starts again")
        << kBarePage << QList<int>{-80, 80, -80} << "06/03/1998";
    QTest::newRow("two notches, two pages") << kBarePage << QList<int>{120, 120} << "04/03/1998";
    QTest::newRow("over the notes: the editor's")
        << QPoint(80, 150) << QList<int>{-120, -120} << "06/03/1998";
    QTest::newRow("over an hour field: the field's")
        << QPoint(300, 56) << QList<int>{-120} << "06/03/1998";
}

void PageTurningTest::wheelAddsUpToOneStep()
{
    QFETCH(QPoint, at);
    QFETCH(QList<int>, deltas);
    QFETCH(QString, to);
    for (const int delta : deltas)
        wheel(at, delta);
    QCOMPARE(m_t->pad.Date(), to);
}

void PageTurningTest::newDay_data()
{
    QTest::addColumn<int>("typedBeforeMidnight"); // seconds; -1: nothing typed
    QTest::addColumn<bool>("turnedAway");
    QTest::addColumn<QString>("afterFirstTick");
    QTest::addColumn<QString>("afterSecondTick");
    QTest::newRow("idle: the first tick turns") << -1 << false << "07/03/1998"
                                                << "07/03/1998";
    QTest::newRow("typing: waits for a minute's pause") << 20 << false << "06/03/1998"
                                                        << "07/03/1998";
    QTest::newRow("a date the user chose stays") << -1 << true << "01/01/2030"
                                                 << "01/01/2030";
}

void PageTurningTest::newDay()
{
    QFETCH(int, typedBeforeMidnight);
    QFETCH(bool, turnedAway);
    QFETCH(QString, afterFirstTick);
    QFETCH(QString, afterSecondTick);
    const QDate day(1998, 3, 6);
    QDateTime now(day, QTime(23, 58, 0));
    m_t->pad.setClock([&now] { return now; });
    m_t->pad.RefreshTimeScale();
    if (typedBeforeMidnight >= 0) {
        now = QDateTime(day, QTime(23, 59, 59)).addSecs(1 - typedBeforeMidnight);
        m_t->type(QStringLiteral("late"));
    }
    if (turnedAway)
        m_t->pad.GoToDate(QStringLiteral("01/01/2030"));
    now = QDateTime(day.addDays(1), QTime(0, 0, 10));
    m_t->pad.RefreshTimeScale();
    QCOMPARE(m_t->pad.Date(), afterFirstTick);
    now = now.addSecs(60);
    m_t->pad.RefreshTimeScale();
    QCOMPARE(m_t->pad.Date(), afterSecondTick);
    QCOMPARE(m_sounds->count(), 0);
    if (typedBeforeMidnight >= 0) // saved on its own day before the page followed
        QCOMPARE(padtest::bytesOf(m_t->notes(QStringLiteral("06/03/1998"))),
                 QByteArray("late\r\n"));
}

void PageTurningTest::pageMenuAwayFromTheHotAreas_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("menus");
    QTest::newRow("the bare page") << kBarePage << 1;
    QTest::newRow("a corner") << kNextCorner << 0;
    QTest::newRow("the day block") << kDayBlock << 0;
}

void PageTurningTest::pageMenuAwayFromTheHotAreas()
{
    QFETCH(QPoint, at);
    QFETCH(int, menus);
    QSignalSpy requested(&m_t->pad, &TCalendarPad::pageMenuRequested);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, m_t->pad.mapToGlobal(at));
    QApplication::sendEvent(&m_t->pad, &event);
    QCOMPARE(requested.count(), menus);
    if (menus)
        QCOMPARE(requested.first().first().toPoint(), m_t->pad.mapToGlobal(at));
}

QTEST_MAIN(PageTurningTest)

#include "tst_pageturning.moc"
