// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padtestsupport.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "pad/noteseditor.h"
#include "platform/colorvalue.h"

#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

using namespace ruvo;
using padtest::PaintCounter;

class CalendarPadTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void creation_setsDefaultsAndChildren();
    void accessibleNames_inThePagesLanguage_data();
    void accessibleNames_inThePagesLanguage();
    void setters_checkRangesAndRepaint_data();
    void setters_checkRangesAndRepaint();
    void timeFieldColor_recoloursFieldsWithoutPaintingThePage();
    void onChange_isAskedOnEveryWrite_data();
    void onChange_isAskedOnEveryWrite();
    void invalidDate_throwsAndKeepsThePage();
    void notes_giveTheWrappedLinesHiddenOrShown();
};

void CalendarPadTest::creation_setsDefaultsAndChildren()
{
    TCalendarPad pad;
    QVERIFY(pad.Date() == DateToText(QDate::currentDate()) ||
            pad.Date() == DateToText(QDate::currentDate().addDays(-1))); // run at midnight
    QCOMPARE(pad.StartTime(), 8);
    QCOMPARE(pad.ExtensionFile(), QStringLiteral("000"));
    QCOMPARE(pad.DestroyDelay(), 10);
    QCOMPARE(pad.Language(), laDefault);
    QCOMPARE(pad.SoundFileName(), QDir::currentPath() + u"/paper.wav");
    QCOMPARE(pad.DateBackgroundColor(), clRed);
    QVERIFY(pad.DayText().isEmpty()); // page texts come with the first paint
    QCOMPARE(pad.ClockTimer()->interval(), 60000);
    QVERIFY(pad.ClockTimer()->isActive());

    QCOMPARE(pad.NotesMemo()->geometry(), QRect(18, 85, 149, 160));
    QCOMPARE(pad.NotesMemo()->maxLength(), 32000);
    QWidget *previous = pad.NotesMemo();
    for (int row = 1; row <= 17; ++row) {
        QLineEdit *field = pad.TimeFields(row);
        QCOMPARE(field->geometry(), QRect(246, 20 + 14 * (row - 1), 115, 16));
        QCOMPARE(field->font().pixelSize(), 9);
        QCOMPARE(field->maxLength(), 255);
        QWidget *next = previous->nextInFocusChain(); // the next stop of Tab
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next, field);
        previous = field;
    }
    // The notes follow the pad's font; the fields keep their own.
    QFont large(QStringLiteral("Arial"));
    large.setPixelSize(20);
    large.setItalic(true);
    large.setOverline(true);
    large.setCapitalization(QFont::AllUppercase);
    large.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    pad.setFont(large);
    QCOMPARE(pad.NotesMemo()->font().pixelSize(), 20);
    const QFont fieldFont = pad.TimeFields(5)->font();
    QCOMPARE(fieldFont.families(), QStringList{QStringLiteral("Arial")});
    QCOMPARE(fieldFont.pixelSize(), 9);
    QCOMPARE(fieldFont.weight(), QFont::Normal);
    QCOMPARE(fieldFont.italic(), false);
    QCOMPARE(fieldFont.overline(), false);
    QCOMPARE(fieldFont.capitalization(), QFont::MixedCase);
    QCOMPARE(fieldFont.letterSpacing(), 0.0);
}

void CalendarPadTest::setters_checkRangesAndRepaint_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<bool>("repaints");

    const auto row = [](const char *name, const char *property, QVariant value, QVariant expected,
                        bool repaints) {
        QTest::newRow(name) << QByteArray(property) << value << expected << repaints;
    };
    row("StartTime 24 ignored", "StartTime", 24, 8, true);
    row("StartTime -1 ignored", "StartTime", -1, 8, true);
    row("StartTime 0", "StartTime", 0, 0, true);
    row("StartTime 23", "StartTime", 23, 23, true);
    row("DestroyDelay 0 ignored", "DestroyDelay", 0, 10, true);
    row("DestroyDelay 366 ignored", "DestroyDelay", 366, 10, true);
    row("DestroyDelay 1", "DestroyDelay", 1, 1, true);
    row("DestroyDelay 365", "DestroyDelay", 365, 365, true);
    row("ExtensionFile of 4 ignored", "ExtensionFile", "abcd", "000", false);
    row("ExtensionFile empty", "ExtensionFile", "", "", false);
    row("ExtensionFile ruv", "ExtensionFile", "ruv", "ruv", false);
    row("YearColor", "YearColor", 0x123456u, 0x123456u, true);
    row("Language", "Language", QVariant::fromValue(laFrench), QVariant::fromValue(laFrench), true);
    row("Directory", "Directory", "/tmp/x", "/tmp/x", false);
    row("SoundEffect", "SoundEffect", false, false, false);
}

void CalendarPadTest::setters_checkRangesAndRepaint()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QFETCH(bool, repaints);

    TCalendarPad pad;
    padtest::showPad(pad);
    PaintCounter paints(&pad);
    QVERIFY(pad.setProperty(property.constData(), value));
    QCOMPARE(pad.property(property.constData()).toString(), expected.toString());
    QCOMPARE(paints.count, repaints ? 1 : 0); // painted before the setter returned
}

void CalendarPadTest::timeFieldColor_recoloursFieldsWithoutPaintingThePage()
{
    TCalendarPad pad;
    pad.setStartTime(7);
    const QTime now(14, 30);
    padtest::showPad(pad, &now);
    QCOMPARE(pad.TimeFields(8)->palette().color(QPalette::Text), QColor(Qt::red));

    PaintCounter paints(&pad);
    pad.setTimeFieldColor(clBlue);
    QCOMPARE(paints.count, 0);
    for (int row = 1; row <= 17; ++row)
        QCOMPARE(pad.TimeFields(row)->palette().color(QPalette::Text), QColor(Qt::blue));
    pad.RefreshTimeScale(); // the next tick marks the current hour again
    QCOMPARE(pad.TimeFields(8)->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(pad.TimeFields(7)->palette().color(QPalette::Text), QColor(Qt::blue));
}

void CalendarPadTest::onChange_isAskedOnEveryWrite_data()
{
    QTest::addColumn<QString>("newDate");
    QTest::addColumn<bool>("allow");

    QTest::newRow("refused") << QStringLiteral("07/03/1998") << false;
    QTest::newRow("allowed") << QStringLiteral("07/03/1998") << true;
    QTest::newRow("same text refused") << QStringLiteral("06/03/1998") << false;
    QTest::newRow("same text allowed") << QStringLiteral("06/03/1998") << true;
}

void CalendarPadTest::onChange_isAskedOnEveryWrite()
{
    QFETCH(QString, newDate);
    QFETCH(bool, allow);

    TCalendarPad pad;
    pad.setDate(QStringLiteral("06/03/1998"));
    padtest::showPad(pad);
    QStringList asked;
    pad.setOnChange([&](QObject *sender, const QString &date, bool &allowChange) {
        QVERIFY(sender == &pad && allowChange); // the handler starts from "yes"
        asked.append(date);
        allowChange = allow;
    });
    PaintCounter paints(&pad);
    pad.setDate(newDate);
    QCOMPARE(asked, QStringList{newDate});
    QCOMPARE(pad.Date(), allow ? newDate : QStringLiteral("06/03/1998"));
    QCOMPARE(pad.DayText(), allow ? newDate.left(2) : QStringLiteral("06"));
    QCOMPARE(paints.count, allow ? 1 : 0);
}

void CalendarPadTest::invalidDate_throwsAndKeepsThePage()
{
    TCalendarPad pad;
    pad.setLanguage(laEnglish);
    pad.setDate(QStringLiteral("06/03/1998"));
    padtest::showPad(pad);
    const QImage before = padtest::grabPad(pad);
    for (const QString &text : {QStringLiteral("hello"), QStringLiteral("32/01/1998")}) {
        try {
            pad.setDate(text);
            QFAIL("no error for a text that is not a date");
        } catch (const Error &error) {
            QCOMPARE(error.message(), u'\'' + text + u"' is not a valid date");
        }
        QCOMPARE(pad.Date(), QStringLiteral("06/03/1998"));
        QCOMPARE(pad.MonthText(), QStringLiteral("March"));
        QCOMPARE(padtest::grabPad(pad), before);
    }
}

void CalendarPadTest::notes_giveTheWrappedLinesHiddenOrShown()
{
    const QString paragraph =
        QStringLiteral("Call the plumber about the kitchen tap and buy bread on the way home");
    TCalendarPad pad;
    NotesEditor *notes = pad.NotesMemo();
    notes->setPlainText(paragraph + u"\n\nend\n");
    const QStringList hidden = notes->visualLines();
    QVERIFY(hidden.size() >= 5);
    QCOMPARE(hidden.mid(hidden.size() - 2), (QStringList{QString(), QStringLiteral("end")}));
    QCOMPARE(hidden.mid(0, hidden.size() - 2).join(QString()), paragraph);
    padtest::showPad(pad);
    QCOMPARE(notes->visualLines(), hidden);
}

void CalendarPadTest::accessibleNames_inThePagesLanguage_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("lastHour");
    QTest::addColumn<QString>("actions");
    QTest::newRow("English") << laEnglish << "Notes"
                             << "12:00"
                             << "prior, next, go";
    QTest::newRow("German") << laGerman << "Notizen"
                            << "00:00"
                            << "Vortag, Folgendtag, Gehen";
}

void CalendarPadTest::accessibleNames_inThePagesLanguage()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, notes);
    QFETCH(QString, lastHour);
    QFETCH(QString, actions);
    TCalendarPad pad;
    pad.setLanguage(language);
    padtest::showPad(pad);
    pad.repaint();
    QCOMPARE(pad.NotesMemo()->accessibleName(), notes);
    QCOMPARE(pad.TimeFields(1)->accessibleName(), QStringLiteral("08:00")); // by its hour
    QCOMPARE(pad.TimeFields(17)->accessibleName(), lastHour);
    // After the day of the year and the week: the corners' actions.
    QVERIFY(pad.accessibleDescription().endsWith(u". " + actions));
}

QTEST_MAIN(CalendarPadTest)

#include "tst_calendarpad.moc"
