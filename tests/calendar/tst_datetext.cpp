// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "errorof.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"

#include <QTest>

using namespace ruvo;
using ruvo::testing::errorOf;

namespace {

const QString kNotADate = QStringLiteral("' is not a valid date");
const QString kEncodeError = QStringLiteral("Invalid argument to date encode");

} // namespace

class DateTextTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        setDateSeparator(u'/');
        setShortDateFormat(QStringLiteral("dd/mm/yyyy"));
    }
    void cleanupTestCase() { init(); }

    void textToDate_data();
    void textToDate();
    void textToDate_rejects_data();
    void textToDate_rejects();
    void textToDate_usesClockYear();
    void separatorFromLocale_data();
    void separatorFromLocale();
    void separatorFromEnvironment_data();
    void separatorFromEnvironment();
    void dotSeparator();
    void dateToText_data();
    void dateToText();
    void datePart_data();
    void datePart();
    void daysInMonth_data();
    void daysInMonth();
    void stepDays_data();
    void stepDays();
    void stepDays_encodeError_data();
    void stepDays_encodeError();
    void dateOnOrAfter_data();
    void dateOnOrAfter();
    void dayOfYear_data();
    void dayOfYear();
    void agreesWithGregorianCalendar_1901_2099();
    void zeroPad_data();
    void zeroPad();
};

void DateTextTest::textToDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("currentYear");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("full date") << "06/03/1998" << 2026 << QDate(1998, 3, 6);
    QTest::newRow("single digits") << "6/3/1998" << 2026 << QDate(1998, 3, 6);
    QTest::newRow("missing year is this year") << "6/3" << 2026 << QDate(2026, 3, 6);
    QTest::newRow("missing year, trailing blanks") << "6/3  " << 2026 << QDate(2026, 3, 6);
    QTest::newRow("two-digit year in this century") << "06/03/98" << 2026 << QDate(2098, 3, 6);
    QTest::newRow("two-digit year, century from clock") << "06/03/98" << 1999 << QDate(1998, 3, 6);
    QTest::newRow("year 0001 is a small number too") << "01/01/0001" << 2026 << QDate(2001, 1, 1);
    QTest::newRow("three-digit year kept") << "01/01/0100" << 2026 << QDate(100, 1, 1);
    QTest::newRow("blanks everywhere and trailing separator")
        << " 06 / 03 / 1998 / " << 2026 << QDate(1998, 3, 6);
    QTest::newRow("trailing separator") << "06/03/1998/" << 2026 << QDate(1998, 3, 6);
    QTest::newRow("leap day 2000") << "29/02/2000" << 2026 << QDate(2000, 2, 29);
    QTest::newRow("last day of the calendar") << "31/12/9999" << 2026 << QDate(9999, 12, 31);
    QTest::newRow("leading zeros in a long number")
        << "0006/0003/1998" << 2026 << QDate(1998, 3, 6);
}

void DateTextTest::textToDate()
{
    QFETCH(QString, text);
    QFETCH(int, currentYear);
    QFETCH(QDate, expected);
    QCOMPARE(TextToDate(text, currentYear), expected);
}

void DateTextTest::textToDate_rejects_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("no such day") << "31/02/1998";
    QTest::newRow("no 29 February 1900") << "29/02/1900";
    QTest::newRow("wrong separator") << "06-03-1998";
    QTest::newRow("day only") << "06";
    QTest::newRow("separator without month") << "06/";
    QTest::newRow("separator without year") << "06/03/";
    QTest::newRow("two trailing separators") << "06/03/1998//";
    QTest::newRow("text after the year") << "06/03/1998x";
    QTest::newRow("year without separator") << "06/03 1998";
    QTest::newRow("empty field") << "06//1998";
    QTest::newRow("number stops at 1000") << "1/1/10000";
    QTest::newRow("five-digit year") << "06/03/12345";
    QTest::newRow("month 13") << "01/13/1998";
    QTest::newRow("day 0") << "00/03/1998";
    QTest::newRow("tab is not a blank") << "\t06/03/1998";
    QTest::newRow("sign") << "+6/3/1998";
    QTest::newRow("full-width digits") << QString::fromUtf16(u"\uFF10\uFF16/03/1998");
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"06/03/1998\u0000", 11);
}

void DateTextTest::textToDate_rejects()
{
    QFETCH(QString, text);
    QCOMPARE(errorOf([&] { TextToDate(text, 2026); }), u'\'' + text + kNotADate);
}

void DateTextTest::textToDate_usesClockYear()
{
    const int year = QDate::currentDate().year();
    QCOMPARE(TextToDate(QStringLiteral("6/3")), QDate(year, 3, 6));
    QCOMPARE(TextToDate(QStringLiteral("6/3/98")), QDate(year / 100 * 100 + 98, 3, 6));
    QCOMPARE(errorOf([] { TextToDate(QStringLiteral("31/02/1998")); }),
             QStringLiteral("'31/02/1998' is not a valid date"));
}

void DateTextTest::separatorFromLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("German") << "de_DE" << QChar(u'.');
    QTest::newRow("German, codeset") << "de_DE.UTF-8" << QChar(u'.');
    QTest::newRow("German, modifier") << "de_DE@euro" << QChar(u'.');
    QTest::newRow("French") << "fr_FR.UTF-8" << QChar(u'/');
    QTest::newRow("American") << "en_US.UTF-8" << QChar(u'/');
    QTest::newRow("Dutch") << "nl_NL.UTF-8" << QChar(u'-');
    QTest::newRow("C") << "C" << QChar(u'/');
    QTest::newRow("C.UTF-8") << "C.UTF-8" << QChar(u'/');
    QTest::newRow("POSIX") << "POSIX" << QChar(u'/');
    QTest::newRow("empty") << "" << QChar(u'/');
    QTest::newRow("unknown") << "xx_YY" << QChar(u'/');
}

void DateTextTest::separatorFromLocale()
{
    QFETCH(QString, locale);
    QFETCH(QChar, separator);
    QCOMPARE(dateSeparatorForLocale(locale), separator);
}

void DateTextTest::separatorFromEnvironment_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcTime");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("LC_ALL wins") << "de_DE.UTF-8"
                                 << "fr_FR.UTF-8"
                                 << "en_US.UTF-8" << QChar(u'.');
    QTest::newRow("then LC_TIME") << ""
                                  << "de_DE.UTF-8"
                                  << "en_US.UTF-8" << QChar(u'.');
    QTest::newRow("then LANG") << ""
                               << ""
                               << "de_DE.UTF-8" << QChar(u'.');
    QTest::newRow("LC_ALL over a German LANG") << "C"
                                               << ""
                                               << "de_DE.UTF-8" << QChar(u'/');
    QTest::newRow("nothing set") << ""
                                 << ""
                                 << "" << QChar(u'/');
}

void DateTextTest::separatorFromEnvironment()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcTime);
    QFETCH(QString, lang);
    QFETCH(QChar, separator);
    const QByteArray saved[3] = {qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LANG")};
    qputenv("LC_ALL", lcAll.toUtf8());
    qputenv("LC_TIME", lcTime.toUtf8());
    qputenv("LANG", lang.toUtf8());
    const QChar found = localeDateSeparator();
    qputenv("LC_ALL", saved[0]);
    qputenv("LC_TIME", saved[1]);
    qputenv("LANG", saved[2]);
    QCOMPARE(found, separator);
}

void DateTextTest::dotSeparator()
{
    setDateSeparator(u'.');
    QCOMPARE(DateToText(QDate(1998, 3, 6)), QStringLiteral("06.03.1998"));
    QCOMPARE(TextToDate(QStringLiteral("06.03.1998"), 2026), QDate(1998, 3, 6));
    QCOMPARE(AddDays(QStringLiteral("28.02.2000"), 1), QStringLiteral("29.02.2000"));
    QCOMPARE(errorOf([] { TextToDate(QStringLiteral("06/03/1998"), 2026); }),
             QStringLiteral("'06/03/1998' is not a valid date"));
}

void DateTextTest::dateToText_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");

    QTest::newRow("6 March 1998") << QDate(1998, 3, 6) << "06/03/1998";
    QTest::newRow("year below 1000 has four digits") << QDate(987, 11, 25) << "25/11/0987";
    QTest::newRow("last day") << QDate(9999, 12, 31) << "31/12/9999";
}

void DateTextTest::dateToText()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(DateToText(date), text);
    QCOMPARE(TextToDate(text, 2026), date);
}

void DateTextTest::datePart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("expected");

    QTest::newRow("day") << "06/03/1998" << 0 << "06";
    QTest::newRow("month") << "06/03/1998" << 1 << "03";
    QTest::newRow("year") << "06/03/1998" << 2 << "1998";
    QTest::newRow("short year keeps its digits") << "06/03/0150" << 2 << "150";
    QTest::newRow("unknown part") << "06/03/1998" << 3 << "";
}

void DateTextTest::datePart()
{
    QFETCH(QString, text);
    QFETCH(int, part);
    QFETCH(QString, expected);
    QCOMPARE(DatePart(text, part), expected);
}

void DateTextTest::daysInMonth_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");

    QTest::newRow("January") << 1 << 1998 << 31;
    QTest::newRow("April") << 4 << 1998 << 30;
    QTest::newRow("December") << 12 << 1998 << 31;
    QTest::newRow("February 1998") << 2 << 1998 << 28;
    QTest::newRow("February 2000") << 2 << 2000 << 29;
    QTest::newRow("February 1900, no century rule") << 2 << 1900 << 29;
    QTest::newRow("February 2100, no century rule") << 2 << 2100 << 29;
    QTest::newRow("no month 13") << 13 << 1998 << 0;
}

void DateTextTest::daysInMonth()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(DaysInMonth(month, year), days);
}

void DateTextTest::stepDays_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("to");

    // A positive count adds, a negative one subtracts its size.
    QTest::newRow("to a leap day") << "28/02/2000" << 1 << "29/02/2000";
    QTest::newRow("over February 1999") << "28/02/1999" << 1 << "01/03/1999";
    QTest::newRow("year end") << "31/12/1998" << 1 << "01/01/1999";
    QTest::newRow("365 days across a leap day") << "01/03/1999" << 365 << "29/02/2000";
    QTest::newRow("back to a leap day") << "01/03/2000" << -1 << "29/02/2000";
    QTest::newRow("back over the year end") << "01/01/1999" << -1 << "31/12/1998";
    QTest::newRow("back 365 days") << "29/02/2000" << -365 << "01/03/1999";
    QTest::newRow("back a week from March") << "03/03/2024" << -7 << "25/02/2024";
}

void DateTextTest::stepDays()
{
    QFETCH(QString, from);
    QFETCH(int, count);
    QFETCH(QString, to);
    QCOMPARE(count > 0 ? AddDays(from, count) : SubtractDays(from, -count), to);
}

void DateTextTest::stepDays_encodeError_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("count");

    QTest::newRow("onto 29/02/2100") << "28/02/2100" << 1;
    QTest::newRow("back onto 29/02/1900") << "01/03/1900" << -1;
    QTest::newRow("past year 9999") << "31/12/9999" << 1;
}

void DateTextTest::stepDays_encodeError()
{
    QFETCH(QString, from);
    QFETCH(int, count);
    QCOMPARE(errorOf([&] { count > 0 ? AddDays(from, count) : SubtractDays(from, -count); }),
             kEncodeError);
}

void DateTextTest::dateOnOrAfter_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("onOrAfter");

    QTest::newRow("same day") << "06/03/1998"
                              << "06/03/1998" << true;
    QTest::newRow("day before") << "05/03/1998"
                                << "06/03/1998" << false;
    QTest::newRow("next year, smaller fields") << "01/01/1999"
                                               << "31/12/1998" << true;
    QTest::newRow("later month, smaller day") << "01/04/1998"
                                              << "30/03/1998" << true;
    QTest::newRow("earlier year, larger fields") << "31/12/1997"
                                                 << "01/01/1998" << false;
}

void DateTextTest::dateOnOrAfter()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, onOrAfter);
    QCOMPARE(DateOnOrAfter(a, b), onOrAfter);
}

void DateTextTest::dayOfYear_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("day");

    QTest::newRow("6 March 1998") << "06/03/1998" << 65;
    QTest::newRow("leap year end") << "31/12/2000" << 366;
    QTest::newRow("new year") << "01/01/2001" << 1;
    QTest::newRow("1 March 2100 counts 29 February") << "01/03/2100" << 61;
}

void DateTextTest::dayOfYear()
{
    QFETCH(QString, text);
    QFETCH(int, day);
    QCOMPARE(DayOfYear(text), day);
}

// Every date the program works in, against Qt's own Gregorian calendar.
void DateTextTest::agreesWithGregorianCalendar_1901_2099()
{
    for (QDate d(1901, 1, 1); d <= QDate(2099, 12, 31); d = d.addDays(1)) {
        const QString text = DateToText(d);
        if (TextToDate(text) != d)
            QFAIL(qPrintable(u"round trip of " + text));
        if (DayOfYear(text) != d.dayOfYear())
            QFAIL(qPrintable(u"DayOfYear of " + text));
        if (WeekdayOf(text) != d.dayOfWeek() % 7 + 1)
            QFAIL(qPrintable(u"WeekdayOf of " + text));
        if (d < QDate(2099, 12, 31) && AddDays(text, 1) != DateToText(d.addDays(1)))
            QFAIL(qPrintable(u"AddDays of " + text));
        if (d > QDate(1901, 1, 1) && SubtractDays(text, 1) != DateToText(d.addDays(-1)))
            QFAIL(qPrintable(u"SubtractDays of " + text));
    }
}

void DateTextTest::zeroPad_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");

    QTest::newRow("5, 2") << 5u << 2 << "05";
    QTest::newRow("0, 2") << 0u << 2 << "00";
    QTest::newRow("1998, 2") << 1998u << 2 << "1998";
    QTest::newRow("7, 0") << 7u << 0 << "7";
    QTest::newRow("7, 1") << 7u << 1 << "7";
    QTest::newRow("42, 5") << 42u << 5 << "00042";
    for (int width = 8; width <= 12; ++width)
        QTest::addRow("7, %d", width) << 7u << width << "00000007";
    QTest::newRow("wider than the width") << 123456789u << 8 << "123456789";
    QTest::newRow("12345678, 12") << 12345678u << 12 << "12345678";
}

void DateTextTest::zeroPad()
{
    QFETCH(quint32, value);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(ZeroPad(value, width), text);
}

QTEST_GUILESS_MAIN(DateTextTest)

#include "tst_datetext.moc"
