#include "padtestsupport.h"

#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include "platform/cursortable.h"
#include "platform/soundplayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

namespace {

struct TurningPad
{
    explicit TurningPad(const QString &date = QStringLiteral("06/03/1998"))
    {
        pad.setDirectory(dir.path());
        // A sound file that does not exist: each play falls back to a beep the test can count.
        pad.setSoundFileName(dir.filePath(QStringLiteral("no-such.wav")));
        pad.setShowHint(true);
        pad.setLanguage(laEnglish);
        padtest::showPad(pad);
        pad.setDate(date);
        sounds = std::make_unique<QSignalSpy>(SoundPlayer::instance(), &SoundPlayer::beeped);
    }
    // The pointer goes through a point off every area first: moving to where it already is
    // reports no move.
    void moveTo(QPoint at)
    {
        QTest::mouseMove(&pad, QPoint(200, 150));
        QTest::mouseMove(&pad, at);
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
    void clickAt(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        moveTo(at);
        QTest::mouseClick(&pad, button, {}, at);
    }

    QTemporaryDir dir;
    TCalendarPad pad;
    std::unique_ptr<QSignalSpy> sounds;
};

const QPoint kPrior(18, 265);
const QPoint kNext(370, 265);
const QPoint kDayBlock(130, 40);

} // namespace

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
    void failedSaveTurnsNothing();
    void turningSavesAndLoads();
    void dayBlockDoubleClickGoesToTheChosenDate();
    void dayBlockSingleClickDoesNothing();
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
    TurningPad t;
    t.moveTo(at);
    QCOMPARE(t.pad.OverPriorArea(), area == 1);
    QCOMPARE(t.pad.OverNextArea(), area == 2);
    QCOMPARE(t.pad.OverDateArea(), area == 3);
    QCOMPARE(t.pad.cursorNumber(), cursor);
    QCOMPARE(t.pad.cursor().shape(), CursorByNumber(qint16(cursor)).shape());
    const QString hints[] = {QString(), u"prior"_qs, u"next"_qs, u"go"_qs};
    QCOMPARE(t.pad.toolTip(), hints[area]);
}

void PageTurningTest::hintsFollowTheLanguage_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("prior");
    QTest::addColumn<QString>("go");
    QTest::newRow("French") << laFrench << u"Jour précédent"_qs << u"Aller à"_qs;
    QTest::newRow("German") << laGerman << u"Vortag"_qs << u"Gehen"_qs;
    QTest::newRow("Spanish") << laSpanish << u"anterior"_qs << u"ir"_qs;
}

void PageTurningTest::hintsFollowTheLanguage()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, prior);
    QFETCH(QString, go);
    TurningPad t;
    t.pad.setLanguage(language);
    t.moveTo(kPrior);
    QCOMPARE(t.pad.toolTip(), prior);
    t.moveTo(kDayBlock);
    QCOMPARE(t.pad.toolTip(), go);
}

void PageTurningTest::cornersTurnPages_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("to");
    QTest::newRow("back into a leap day") << "01/03/2024" << false << "29/02/2024";
    QTest::newRow("on into a new year") << "31/12/2026" << true << "01/01/2027";
    QTest::newRow("back over the year end") << "01/01/2027" << false << "31/12/2026";
}

void PageTurningTest::cornersTurnPages()
{
    QFETCH(QString, from);
    QFETCH(bool, forward);
    QFETCH(QString, to);
    TurningPad t(from);
    t.clickAt(forward ? kNext : kPrior);
    QCOMPARE(t.pad.Date(), to);
    QCOMPARE(t.sounds->count(), 1);
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
    TurningPad t;
    t.clickAt(kNext, button);
    QCOMPARE(t.pad.Date(), QStringLiteral("07/03/1998"));
}

void PageTurningTest::leavingTheCornerWithTheButtonHeldTurnsNothing()
{
    TurningPad t;
    t.moveTo(kNext);
    QTest::mousePress(&t.pad, Qt::LeftButton, {}, kNext);
    QMouseEvent drag(QEvent::MouseMove, QPointF(200, 150), t.pad.mapToGlobal(QPointF(200, 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&t.pad, &drag);
    QTest::mouseRelease(&t.pad, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(t.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(t.sounds->count(), 0);
}

void PageTurningTest::doubleClickOnACornerTurnsTwoPages()
{
    TurningPad t;
    int dialogs = 0;
    t.pad.setDateDialog([&](TLanguage, const QString &date, const QPoint &) {
        ++dialogs;
        return date;
    });
    t.doubleClickAt(kNext);
    QCOMPARE(t.pad.Date(), QStringLiteral("08/03/1998"));
    QCOMPARE(dialogs, 0);
}

void PageTurningTest::soundFollowsEveryAllowedTurn()
{
    TurningPad t;
    t.pad.setOnChange([](QObject *, const QString &, bool &allow) { allow = false; });
    t.clickAt(kNext);
    QCOMPARE(t.pad.Date(), QStringLiteral("06/03/1998")); // refused
    QCOMPARE(t.sounds->count(), 1);                       // and still heard
    t.pad.setSoundEffect(false);
    t.clickAt(kPrior);
    QCOMPARE(t.sounds->count(), 1);
}

void PageTurningTest::failedSaveTurnsNothing()
{
    TurningPad t;
    QSignalSpy errors(&t.pad, &TCalendarPad::errorRaised);
    t.pad.NotesMemo()->setPlainText(QStringLiteral("unsaved"));
    t.pad.setDirectory(t.dir.filePath(QStringLiteral("gone")));
    t.clickAt(kNext);
    QCOMPARE(t.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(t.sounds->count(), 0);
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.first().first().toString().startsWith(u"Ne peut créer le fichier "));
    QCOMPARE(t.pad.NotesMemo()->toPlainText(), QStringLiteral("unsaved"));
}

void PageTurningTest::turningSavesAndLoads()
{
    TurningPad t;
    t.pad.NotesMemo()->setPlainText(QStringLiteral("sixth"));
    t.clickAt(kNext);
    QCOMPARE(t.pad.NotesMemo()->toPlainText(), QString());
    t.pad.NotesMemo()->setPlainText(QStringLiteral("seventh"));
    t.clickAt(kPrior);
    QCOMPARE(t.pad.NotesMemo()->toPlainText(), QStringLiteral("sixth"));
    t.clickAt(kNext);
    QCOMPARE(t.pad.NotesMemo()->toPlainText(), QStringLiteral("seventh"));
}

void PageTurningTest::dayBlockDoubleClickGoesToTheChosenDate()
{
    TurningPad t;
    t.pad.setLanguage(laGerman);
    t.pad.NotesMemo()->setPlainText(QStringLiteral("saved before the dialog"));
    QFile::remove(t.pad.notesFilePath(u"06/03/1998"_qs));
    TLanguage askedLanguage = laDefault;
    QString askedDate;
    QPoint askedAt;
    bool savedFirst = false;
    t.pad.setDateDialog([&](TLanguage language, const QString &date, const QPoint &at) {
        askedLanguage = language;
        askedDate = date;
        askedAt = at;
        savedFirst = QFile::exists(t.pad.notesFilePath(date));
        return QStringLiteral("25/12/2026");
    });
    t.doubleClickAt(kDayBlock);
    QVERIFY(savedFirst);
    QCOMPARE(askedLanguage, laGerman);
    QCOMPARE(askedDate, QStringLiteral("06/03/1998"));
    QCOMPARE(askedAt, QCursor::pos());
    QCOMPARE(t.pad.Date(), QStringLiteral("25/12/2026"));
    QCOMPARE(t.pad.LoadedDate(), QStringLiteral("25/12/2026"));
    QVERIFY(t.pad.NotesMemo()->hasFocus() || QApplication::focusWidget() == t.pad.NotesMemo() ||
            !t.pad.isActiveWindow());
    QCOMPARE(t.sounds->count(), 0); // no sound on this path
}

void PageTurningTest::dayBlockSingleClickDoesNothing()
{
    TurningPad t;
    bool asked = false;
    t.pad.setDateDialog([&](TLanguage, const QString &date, const QPoint &) {
        asked = true;
        return date;
    });
    t.clickAt(kDayBlock);
    QVERIFY(!asked);
    QCOMPARE(t.pad.Date(), QStringLiteral("06/03/1998"));
}

QTEST_MAIN(PageTurningTest)

#include "tst_pageturning.moc"
