// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "app/monthgrid.h"
#include "app/ruvoapplication.h"
#include "app/tperpetualcalendardlg.h"
#include "app/yearspinedit.h"

#include "calendar/calendarnames.h"
#include "calendar/dateformat.h"
#include "calendar/datetext.h"

#include <QDate>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace ruvo;

namespace {

// A dialog opened on a date, shown as the pad shows it.
struct OpenDialog
{
    OpenDialog(const QString &date, TLanguage language)
    {
        dialog.setDateText(date);
        dialog.setDialogLanguage(language);
        dialog.show();
    }
    TPerpetualCalendarDlg dialog;
};

void pickMonth(TPerpetualCalendarDlg &dialog, int month)
{
    dialog.Month()->setCurrentIndex(month - 1);
    emit dialog.Month()->activated(month - 1); // as when the user picks it
}

void typeYear(TPerpetualCalendarDlg &dialog, const QString &text)
{
    dialog.Year()->setFocus();
    dialog.Year()->selectAll();
    QTest::keyClick(dialog.Year(), Qt::Key_Delete);
    QTest::keyClicks(dialog.Year(), text);
}

} // namespace

class PerpetualCalendarTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { setDateSeparator(u'/'); }
    void cleanup()
    {
        RestoreLocaleCalendarNames();
        setDateSeparator(u'/');
    }
    void accessibleNames_inTheDialogsLanguage_data();
    void accessibleNames_inTheDialogsLanguage();

    void screenReaderReadsTheGridsDays();
    void daysWithNotesInBold_followTheMonth();
    void todayIsOutlined();

    void opensOnTheDateGiven_data();
    void opensOnTheDateGiven();
    void opensFrenchMarch1998();
    void languages_data();
    void languages();
    void monthListItemsAre16PixelsHigh();
    void marchBeginsOnSunday();
    void monthChangeCutsTheDay_data();
    void monthChangeCutsTheDay();
    void yearChangeCutsTheDay_data();
    void yearChangeCutsTheDay();
    void typingAppliesEveryIntermediateYear();
    void leavingTheYearField_data();
    void leavingTheYearField();
    void yearFieldRefusesOtherKeys();
    void yearArrowsStayInRange();
    void heldYearArrowStepsAtPressThenRepeats_data();
    void heldYearArrowStepsAtPressThenRepeats();
    void gridSelection();
    void okGivesTheGridDate_data();
    void okGivesTheGridDate();
    void cancelKeepsTheDateGiven_data();
    void cancelKeepsTheDateGiven();
    void windowHasNoCloseButton();
};

void PerpetualCalendarTest::opensOnTheDateGiven_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDate>("grid");
    QTest::addColumn<QString>("yearField");

    QTest::newRow("31 January") << "31/01/2026" << QDate(2026, 1, 31) << "2026";
    QTest::newRow("leap day") << "29/02/2024" << QDate(2024, 2, 29) << "2024";
    QTest::newRow("1975 held to 1981") << "15/06/1975" << QDate(1981, 6, 15) << "1981";
    QTest::newRow("2150 held to 2099") << "15/06/2150" << QDate(2099, 6, 15) << "2099";
}

void PerpetualCalendarTest::opensOnTheDateGiven()
{
    QFETCH(QString, date);
    QFETCH(QDate, grid);
    QFETCH(QString, yearField);
    TPerpetualCalendarDlg dialog;
    // The grid shows a 28-day month before it is given a 31st.
    dialog.Calendar()->setDay(1);
    dialog.Calendar()->setYear(2026);
    dialog.Calendar()->setMonth(2);
    dialog.setDateText(date);
    dialog.setDialogLanguage(laEnglish);
    dialog.show();
    QCOMPARE(dialog.Calendar()->date(), grid);
    QCOMPARE(dialog.Year()->text(), yearField);
    QCOMPARE(dialog.Month()->currentIndex(), grid.month() - 1);
}

void PerpetualCalendarTest::opensFrenchMarch1998()
{
    OpenDialog open(QStringLiteral("06/03/1998"), laFrench);
    TPerpetualCalendarDlg &d = open.dialog;
    QCOMPARE(d.Month()->count(), 12);
    QCOMPARE(d.Month()->itemText(0), QStringLiteral("Janvier"));
    QCOMPARE(d.Month()->itemText(11), QStringLiteral("Décembre"));
    QCOMPARE(d.Month()->currentText(), QStringLiteral("Mars"));
    QCOMPARE(d.Year()->text(), QStringLiteral("1998"));
    QStringList header;
    for (int c = 0; c < 7; ++c)
        header << d.Calendar()->cellText(c, 0);
    QCOMPARE(header.join(u' '), QStringLiteral("Lun Mar Mer Jeu Ven Sam Dim"));
    QCOMPARE(d.Calendar()->cellText(6, 1), QStringLiteral("1")); // a Sunday, alone in row 1
    QCOMPARE(d.Calendar()->cellText(0, 1), QString());
    QCOMPARE(d.Calendar()->cellOfDay(6), QPoint(4, 2)); // under Ven
    QCOMPARE(d.Calendar()->day(), 6);
}

void PerpetualCalendarTest::languages_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("march");
    QTest::addColumn<QString>("monday");

    QTest::newRow("English") << laEnglish << QByteArray("fr_FR") << "&Cancel"
                             << "March"
                             << "Mon";
    QTest::newRow("German") << laGerman << QByteArray("fr_FR") << "&Annulieren" << u"März"_qs
                            << "Mon";
    QTest::newRow("Italian") << laItalian << QByteArray() << "&Annulare"
                             << "Marzo"
                             << "Lun";
    QTest::newRow("Spanish") << laSpanish << QByteArray() << "&Cancelar"
                             << "Marzo"
                             << "Lun";
    QTest::newRow("system, Dutch: English") << laDefault << QByteArray("nl_NL.UTF-8") << "&Cancel"
                                            << "March"
                                            << "Mon";
    QTest::newRow("system, French") << laDefault << QByteArray("fr_FR.UTF-8") << "&Annuler"
                                    << "Mars"
                                    << "Lun";
}

void PerpetualCalendarTest::languages()
{
    QFETCH(TLanguage, language);
    QFETCH(QByteArray, system);
    QFETCH(QString, cancel);
    QFETCH(QString, march);
    QFETCH(QString, monday);
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", system);
    OpenDialog open(QStringLiteral("06/03/1998"), language);
    qputenv("LC_ALL", saved);
    QCOMPARE(open.dialog.BitBtn2()->text(), cancel);
    QCOMPARE(open.dialog.Month()->currentText(), march);
    QCOMPARE(open.dialog.Calendar()->cellText(0, 0), monday);
    QVERIFY(open.dialog.DialogLanguage() != laDefault);
    // The names stay installed after the dialog has gone.
    QCOMPARE(CalendarLongMonthName(3), march);
}

void PerpetualCalendarTest::monthListItemsAre16PixelsHigh()
{
    OpenDialog open(QStringLiteral("06/03/1998"), laEnglish);
    QComboBox *month = open.dialog.Month();
    month->showPopup();
    for (int row : {0, 11})
        QCOMPARE(month->view()->visualRect(month->model()->index(row, 0)).height(), 16);
    month->hidePopup();
}

void PerpetualCalendarTest::marchBeginsOnSunday()
{
    OpenDialog open(QStringLiteral("15/03/2026"), laEnglish);
    const MonthGrid *grid = open.dialog.Calendar();
    QCOMPARE(grid->dayAt(6, 1), 1);
    for (int c = 0; c < 6; ++c)
        QCOMPARE(grid->dayAt(c, 1), 0);
    QCOMPARE(grid->dayAt(0, 2), 2);
    QCOMPARE(grid->dayAt(0, 6), 30);
    QCOMPARE(grid->dayAt(1, 6), 31);
    QCOMPARE(grid->dayAt(2, 6), 0);
    // Cells are (183 - 6) / 7 by (106 - 6) / 7 pixels with 1-pixel lines between them.
    QCOMPARE(grid->cellSize(), QSize(25, 14));
    QCOMPARE(grid->cellRect(1, 1), QRect(26, 15, 25, 14));
}

void PerpetualCalendarTest::monthChangeCutsTheDay_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("month");
    QTest::addColumn<QDate>("grid");

    QTest::newRow("31 March to February, leap year") << "31/03/2024" << 2 << QDate(2024, 2, 29);
    QTest::newRow("31 March to February") << "31/03/2026" << 2 << QDate(2026, 2, 28);
    QTest::newRow("31 March to April") << "31/03/2026" << 4 << QDate(2026, 4, 30);
    QTest::newRow("15 March to June") << "15/03/2026" << 6 << QDate(2026, 6, 15);
}

void PerpetualCalendarTest::monthChangeCutsTheDay()
{
    QFETCH(QString, date);
    QFETCH(int, month);
    QFETCH(QDate, grid);
    OpenDialog open(date, laEnglish);
    pickMonth(open.dialog, month);
    QCOMPARE(open.dialog.Calendar()->date(), grid);
    QCOMPARE(open.dialog.Year()->text(), QString::number(grid.year())); // left as it was
}

void PerpetualCalendarTest::yearChangeCutsTheDay_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("grid");

    QTest::newRow("29 February 2024 to 2023") << "29/02/2024" << 2023 << QDate(2023, 2, 28);
    QTest::newRow("29 February 2024 to 2028") << "29/02/2024" << 2028 << QDate(2028, 2, 29);
    QTest::newRow("31 March keeps its day") << "31/03/2024" << 2023 << QDate(2023, 3, 31);
}

void PerpetualCalendarTest::yearChangeCutsTheDay()
{
    QFETCH(QString, date);
    QFETCH(int, year);
    QFETCH(QDate, grid);
    OpenDialog open(date, laEnglish);
    open.dialog.Year()->setValue(year);
    QCOMPARE(open.dialog.Calendar()->date(), grid);
}

void PerpetualCalendarTest::typingAppliesEveryIntermediateYear()
{
    OpenDialog open(QStringLiteral("29/02/2024"), laEnglish);
    QList<int> years;
    connect(open.dialog.Calendar(), &MonthGrid::dateChanged, this,
            [&](const QDate &d) { years << d.year(); });
    typeYear(open.dialog, QStringLiteral("2026"));
    // Emptied: 1981, whose February is shorter, so the day is cut first; then 2, 20, 202, 2026.
    QCOMPARE(years, (QList<int>{2024, 1981, 2, 20, 202, 2026}));
    QCOMPARE(open.dialog.Calendar()->date(), QDate(2026, 2, 28));
}

void PerpetualCalendarTest::leavingTheYearField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("gridYear");

    QTest::newRow("202") << "202"
                         << "1981" << 1981;
    QTest::newRow("empty") << ""
                           << "" << 1981;
    QTest::newRow("3000") << "3000"
                          << "2099" << 2099;
    QTest::newRow("2050") << "2050"
                          << "2050" << 2050;
}

void PerpetualCalendarTest::leavingTheYearField()
{
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(int, gridYear);
    OpenDialog open(QStringLiteral("06/03/1998"), laEnglish);
    QApplication::setActiveWindow(&open.dialog);
    typeYear(open.dialog, typed);
    open.dialog.Calendar()->setFocus(); // the field loses the focus
    QCOMPARE(open.dialog.Year()->text(), field);
    QCOMPARE(open.dialog.Calendar()->year(), gridYear);
}

void PerpetualCalendarTest::yearFieldRefusesOtherKeys()
{
    OpenDialog open(QStringLiteral("06/03/1998"), laEnglish);
    typeYear(open.dialog, QStringLiteral("2a0x2!4"));
    QCOMPARE(open.dialog.Year()->text(), QStringLiteral("2024"));
    QTest::keyClick(open.dialog.Year(), Qt::Key_Return);
    QVERIFY(open.dialog.isVisible()); // Enter neither closes nor confirms
    typeYear(open.dialog, QStringLiteral("123456"));
    QCOMPARE(open.dialog.Year()->text(), QStringLiteral("1234")); // four characters at most
}

void PerpetualCalendarTest::yearArrowsStayInRange()
{
    OpenDialog open(QStringLiteral("06/03/2099"), laEnglish);
    YearSpinEdit *year = open.dialog.Year();
    year->setFocus();
    QTest::keyClick(year, Qt::Key_Up);
    QCOMPARE(year->text(), QStringLiteral("2099"));
    QTest::keyClick(year, Qt::Key_Down);
    QCOMPARE(year->text(), QStringLiteral("2098"));
    QCOMPARE(open.dialog.Calendar()->year(), 2098);
    year->downButton()->click();
    QCOMPARE(year->text(), QStringLiteral("2097"));
    QCOMPARE(year->upButton()->autoRepeatDelay(), 400);
    QCOMPARE(year->upButton()->autoRepeatInterval(), 100);
}

void PerpetualCalendarTest::heldYearArrowStepsAtPressThenRepeats_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("by");
    QTest::newRow("up arrow") << true << 1;
    QTest::newRow("down arrow") << false << -1;
}

void PerpetualCalendarTest::heldYearArrowStepsAtPressThenRepeats()
{
    QFETCH(bool, up);
    QFETCH(int, by);
    OpenDialog open(QStringLiteral("06/03/2040"), laEnglish);
    YearSpinEdit *year = open.dialog.Year();
    QToolButton *arrow = up ? year->upButton() : year->downButton();
    // Short repeats, so that the test sees several without waiting 400 ms.
    arrow->setAutoRepeatDelay(1);
    arrow->setAutoRepeatInterval(1);

    QTest::mousePress(arrow, Qt::LeftButton);
    QCOMPARE(year->value(), 2040 + by);
    QTRY_VERIFY((year->value() - 2040) * by >= 3);
    const int held = year->value();
    QTest::mouseRelease(arrow, Qt::LeftButton);
    QCOMPARE(year->value(), held);
    QCOMPARE(open.dialog.Calendar()->year(), held);
}

void PerpetualCalendarTest::gridSelection()
{
    OpenDialog open(QStringLiteral("15/03/2026"), laEnglish);
    MonthGrid *grid = open.dialog.Calendar();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, 3).center());
    QCOMPARE(grid->day(), grid->dayAt(2, 3));
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 1).center()); // empty cell
    QCOMPARE(grid->day(), grid->dayAt(2, 3));
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(3, 0).center()); // header
    QCOMPARE(grid->day(), grid->dayAt(2, 3));

    grid->setDay(1); // last column of row 1
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Left); // onto an empty cell: stays
    QCOMPARE(grid->day(), 1);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->day(), 8);
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(grid->day(), 7);
    // Picking a day leaves the month list and the year field as they are.
    QCOMPARE(open.dialog.Month()->currentIndex(), 2);
    QCOMPARE(open.dialog.Year()->text(), QStringLiteral("2026"));
}

void PerpetualCalendarTest::okGivesTheGridDate_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("date");
    QTest::newRow("slash") << QChar(u'/') << "06/03/1998";
    QTest::newRow("dot") << QChar(u'.') << "06.03.1998";
}

void PerpetualCalendarTest::okGivesTheGridDate()
{
    QFETCH(QChar, separator);
    QFETCH(QString, date);
    setDateSeparator(separator);
    OpenDialog open(date, laEnglish);
    QTest::mouseClick(open.dialog.BitBtn1(), Qt::LeftButton);
    QCOMPARE(open.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(open.dialog.DateText(), date);

    OpenDialog other(date, laEnglish);
    pickMonth(other.dialog, 12);
    other.dialog.Year()->setValue(2026);
    QCOMPARE(other.dialog.BitBtn1()->text(), QStringLiteral("&OK"));
    other.dialog.BitBtn1()->click();
    QCOMPARE(other.dialog.DateText(), u"06" + separator + u"12" + separator + u"2026");
}

void PerpetualCalendarTest::cancelKeepsTheDateGiven_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("cancel button") << false;
    QTest::newRow("Escape") << true;
}

void PerpetualCalendarTest::cancelKeepsTheDateGiven()
{
    QFETCH(bool, escape);
    OpenDialog open(QStringLiteral("06/03/1998"), laEnglish);
    pickMonth(open.dialog, 7);
    open.dialog.Year()->setValue(2010);
    open.dialog.Calendar()->setDay(20);
    if (escape)
        QTest::keyClick(&open.dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(open.dialog.BitBtn2(), Qt::LeftButton);
    QVERIFY(!open.dialog.isVisible());
    QCOMPARE(open.dialog.result(), int(QDialog::Rejected));
    QCOMPARE(open.dialog.DateText(), QStringLiteral("06/03/1998"));
}

void PerpetualCalendarTest::windowHasNoCloseButton()
{
    TPerpetualCalendarDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Calendar"));
    QCOMPARE(dialog.size(), QSize(193, 171));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
}

void PerpetualCalendarTest::accessibleNames_inTheDialogsLanguage_data()
{
    QTest::addColumn<TLanguage>("language");
    // The month list (its description: its name is its value), the year field, its arrows, the
    // month grid.
    QTest::addColumn<QStringList>("names");
    QTest::newRow("English") << laEnglish
                             << QStringList{"Month", "Year", "Next year", "Previous year",
                                            "Days of the month"};
    QTest::newRow("French") << laFrench
                            << QStringList{"Mois", "Année", "Année suivante", "Année précédente",
                                           "Jours du mois"};
}

void PerpetualCalendarTest::accessibleNames_inTheDialogsLanguage()
{
    QFETCH(TLanguage, language);
    QFETCH(QStringList, names);
    OpenDialog open(QStringLiteral("06/03/1998"), language);
    const auto told = [](QWidget *widget, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(widget)->text(kind);
    };
    QCOMPARE((QStringList{told(open.dialog.Month(), QAccessible::Description),
                          told(open.dialog.Year(), QAccessible::Name),
                          told(open.dialog.Year()->upButton(), QAccessible::Name),
                          told(open.dialog.Year()->downButton(), QAccessible::Name),
                          told(open.dialog.Calendar(), QAccessible::Name)}),
             names);
}

// A screen reader reads the grid as a table of cells: the weekday headers, then the days, the
// chosen one selected, the days with notes and today told apart.
void PerpetualCalendarTest::screenReaderReadsTheGridsDays()
{
    const QDate today = QDate::currentDate();
    const QDate chosen = today.addDays(today.day() > 1 ? -1 : 1);
    OpenDialog open(DateToText(chosen), laFrench);
    MonthGrid *grid = open.dialog.Calendar();
    std::bitset<32> marked;
    marked.set(std::size_t(chosen.day()));
    grid->setMarkedDays(marked);
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->childCount(), MonthGrid::kColumns * MonthGrid::kRows);
    QCOMPARE(table->child(0)->role(), QAccessible::ColumnHeader);
    QCOMPARE(table->child(0)->text(QAccessible::Name), grid->cellText(0, 0));
    const auto cellOf = [&](int day) {
        const QPoint cell = grid->cellOfDay(day);
        return table->child(cell.y() * MonthGrid::kColumns + cell.x());
    };
    QAccessibleInterface *chosenCell = cellOf(chosen.day());
    QCOMPARE(chosenCell->role(), QAccessible::Cell);
    QCOMPARE(chosenCell->parent(), table);
    QCOMPARE(table->child(table->indexOfChild(chosenCell)), chosenCell);
    QCOMPARE(chosenCell->text(QAccessible::Name), QString::number(chosen.day()));
    QCOMPARE(chosenCell->text(QAccessible::Description), u"notes"_qs);
    QVERIFY(chosenCell->state().selected);
    QCOMPARE(cellOf(today.day())->text(QAccessible::Description), u"aujourd'hui"_qs);
    QVERIFY(!cellOf(today.day())->state().selected);
}

void PerpetualCalendarTest::daysWithNotesInBold_followTheMonth()
{
    QTemporaryDir folder;
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("020398N.ruv", "notes\r\n");
    write("030398N.ruv", ""); // an empty page
    write("030398T.ruv", QByteArray("\r\n").repeated(17));
    write("150498T.ruv", "x" + QByteArray("\r\n").repeated(17)); // April: an hour entry
    TPerpetualCalendarDlg dialog;
    dialog.setDateText(QStringLiteral("06/03/1998"));
    dialog.setNotesFolder(folder.path(), QStringLiteral("ruv"));
    dialog.show();
    std::bitset<32> march;
    march.set(2);
    QCOMPARE(dialog.Calendar()->markedDays(), march);
    pickMonth(dialog, 4);
    std::bitset<32> april;
    april.set(15);
    QCOMPARE(dialog.Calendar()->markedDays(), april);
}

void PerpetualCalendarTest::todayIsOutlined()
{
    const QDate today = QDate::currentDate();
    OpenDialog open(DateToText(today.addDays(today.day() > 1 ? -1 : 1)), laEnglish);
    MonthGrid *grid = open.dialog.Calendar();
    const QImage image = grid->grab().toImage();
    const auto redEdges = [&](int day) {
        const QPoint cell = grid->cellOfDay(day);
        const QRect rect = grid->cellRect(cell.x(), cell.y());
        return image.pixelColor(rect.topLeft()) == QColor(Qt::red) &&
               image.pixelColor(rect.bottomRight()) == QColor(Qt::red);
    };
    QVERIFY(redEdges(today.day()));
    QVERIFY(!redEdges(grid->day())); // the selected day is not today
}

RUVO_TEST_MAIN(PerpetualCalendarTest)

#include "tst_perpetualcalendar.moc"
