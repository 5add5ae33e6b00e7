// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendar/calendarnames.h"
#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/language.h"
#include "calendar/pointinrect.h"

#include <QTest>

using namespace ruvo;

namespace {

// Sets the three locale variables for the life of the object.
class LocaleEnvironment
{
public:
    LocaleEnvironment(const QByteArray &lcAll, const QByteArray &lcMessages, const QByteArray &lang,
                      const QByteArray &languages = {})
    {
        for (int i = 0; i < 4; ++i)
            m_saved[i] = qgetenv(kNames[i]);
        qputenv("LC_ALL", lcAll);
        qputenv("LC_MESSAGES", lcMessages);
        qputenv("LANG", lang);
        qputenv("LANGUAGE", languages);
    }
    ~LocaleEnvironment()
    {
        for (int i = 0; i < 4; ++i)
            qputenv(kNames[i], m_saved[i]);
    }
    Q_DISABLE_COPY_MOVE(LocaleEnvironment)

private:
    static constexpr const char *kNames[4] = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};
    QByteArray m_saved[4];
};

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { setDateSeparator(u'/'); }
    void cleanup() { RestoreLocaleCalendarNames(); }

    void systemLanguage_data();
    void systemLanguage();
    void languageList_data();
    void languageList();
    void systemLanguage_readAtEveryCall();
    void names_data();
    void names();
    void namesOutOfRange();
    void dateTextFormats_data();
    void dateTextFormats();
    void todayText();
    void installCalendarNames_mondayFirstHeader_data();
    void installCalendarNames_mondayFirstHeader();
    void installCalendarNames_default();
    void pointInRect_data();
    void pointInRect();
};

void LanguageTest::systemLanguage_data()
{
    QTest::addColumn<QByteArray>("lcAll");
    QTest::addColumn<QByteArray>("lcMessages");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<TLanguage>("language");

    QTest::newRow("FRA") << QByteArray("FRA") << QByteArray() << QByteArray() << laFrench;
    QTest::newRow("fra") << QByteArray("fra") << QByteArray() << QByteArray() << laFrench;
    QTest::newRow("DEU") << QByteArray("DEU") << QByteArray() << QByteArray() << laGerman;
    QTest::newRow("ESN") << QByteArray("ESN") << QByteArray() << QByteArray() << laSpanish;
    QTest::newRow("ITA") << QByteArray("ITA") << QByteArray() << QByteArray() << laItalian;
    QTest::newRow("ENU") << QByteArray("ENU") << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("NLD") << QByteArray("NLD") << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("one letter") << QByteArray("F") << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("fr_FR.UTF-8") << QByteArray("fr_FR.UTF-8") << QByteArray() << QByteArray()
                                 << laFrench;
    QTest::newRow("es_ES@euro") << QByteArray("es_ES@euro") << QByteArray() << QByteArray()
                                << laSpanish;
    QTest::newRow("C") << QByteArray("C") << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("POSIX") << QByteArray("POSIX") << QByteArray() << QByteArray() << laEnglish;
    QTest::newRow("LC_ALL over the others")
        << QByteArray("it_IT.UTF-8") << QByteArray("de_DE.UTF-8") << QByteArray("fr_FR")
        << laItalian;
    QTest::newRow("then LC_MESSAGES")
        << QByteArray() << QByteArray("de_DE.UTF-8") << QByteArray("fr_FR") << laGerman;
    QTest::newRow("then LANG") << QByteArray() << QByteArray() << QByteArray("fr_FR") << laFrench;
}

void LanguageTest::languageList_data()
{
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QByteArray>("languages");
    QTest::addColumn<TLanguage>("language");
    QTest::newRow("LANGUAGE first") << QByteArray("fr_FR.UTF-8") << QByteArray("de:en") << laGerman;
    QTest::newRow("languages the page lacks skipped")
        << QByteArray("fr_FR.UTF-8") << QByteArray("nl_NL:pt:it_IT") << laItalian;
    QTest::newRow("English is one of them")
        << QByteArray("de_DE") << QByteArray("en_GB:de") << laEnglish;
    QTest::newRow("none of them: the locale")
        << QByteArray("es_ES.UTF-8") << QByteArray("nl:sv") << laSpanish;
    QTest::newRow("ignored in the C locale") << QByteArray("C") << QByteArray("de") << laEnglish;
    QTest::newRow("ignored without a locale") << QByteArray() << QByteArray("fr") << laEnglish;
}

// As gettext picks the language of messages.
void LanguageTest::languageList()
{
    QFETCH(QByteArray, lang);
    QFETCH(QByteArray, languages);
    QFETCH(TLanguage, language);
    const LocaleEnvironment env({}, {}, lang, languages);
    QCOMPARE(SystemLanguage(), language);
}

void LanguageTest::systemLanguage()
{
    QFETCH(QByteArray, lcAll);
    QFETCH(QByteArray, lcMessages);
    QFETCH(QByteArray, lang);
    QFETCH(TLanguage, language);
    const LocaleEnvironment env(lcAll, lcMessages, lang);
    QCOMPARE(SystemLanguage(), language);
    QCOMPARE(resolvedLanguage(laDefault), language);
}

void LanguageTest::systemLanguage_readAtEveryCall()
{
    {
        const LocaleEnvironment env("de_DE.UTF-8", "", "");
        QCOMPARE(DayName(1, laDefault), QStringLiteral("Sonntag"));
    }
    {
        const LocaleEnvironment env("fr_FR.UTF-8", "", "");
        QCOMPARE(DayName(1, laDefault), QStringLiteral("Dimanche"));
        QCOMPARE(DayName(1, laSpanish), QStringLiteral("Domingo")); // an explicit language wins
    }
}

void LanguageTest::names_data()
{
    QTest::addColumn<bool>("isMonth");
    QTest::addColumn<int>("index");
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("longName");
    QTest::addColumn<QString>("shortName");

    QTest::newRow("Sunday, French") << false << 1 << laFrench << "Dimanche"
                                    << "Dim";
    QTest::newRow("Saturday, Spanish") << false << 7 << laSpanish << u"Sálbado"_qs << u"Sál"_qs;
    QTest::newRow("Wednesday, Spanish") << false << 4 << laSpanish << u"Miércoles"_qs << u"Mié"_qs;
    QTest::newRow("Monday, Italian, no accent") << false << 2 << laItalian << "Lunedi"
                                                << "Lun";
    QTest::newRow("Thursday, German") << false << 5 << laGerman << "Donnerstag"
                                      << "Don";
    QTest::newRow("Wednesday, English") << false << 4 << laEnglish << "Wednesday"
                                        << "Wed";
    QTest::newRow("August, French") << true << 8 << laFrench << u"Août"_qs << u"Aoû"_qs;
    QTest::newRow("March, German") << true << 3 << laGerman << u"März"_qs << u"Mär"_qs;
    QTest::newRow("June, French") << true << 6 << laFrench << "Juin"
                                  << "Jui";
    QTest::newRow("July, French") << true << 7 << laFrench << "Juillet"
                                  << "Jui";
    QTest::newRow("December, French") << true << 12 << laFrench << u"Décembre"_qs << u"Déc"_qs;
    QTest::newRow("September, Italian") << true << 9 << laItalian << "Settembre"
                                        << "Set";
    QTest::newRow("May, Spanish") << true << 5 << laSpanish << "Mayo"
                                  << "May";
    QTest::newRow("October, German") << true << 10 << laGerman << "Oktober"
                                     << "Okt";
}

void LanguageTest::names()
{
    QFETCH(bool, isMonth);
    QFETCH(int, index);
    QFETCH(TLanguage, language);
    QFETCH(QString, longName);
    QFETCH(QString, shortName);
    QCOMPARE(isMonth ? MonthName(index, language) : DayName(index, language), longName);
    QCOMPARE(isMonth ? ShortMonthName(index, language) : ShortDayName(index, language), shortName);
}

void LanguageTest::namesOutOfRange()
{
    QCOMPARE(DayName(0, laEnglish), QString());
    QCOMPARE(DayName(8, laEnglish), QString());
    QCOMPARE(MonthName(13, laFrench), QString());
    QCOMPARE(CalendarShortDayName(0), QString());
}

void LanguageTest::dateTextFormats_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("format");
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("text");

    const QDate friday(1998, 3, 6);
    QTest::newRow("0, French") << friday << 0 << laFrench << "Vendredi 6 Mars 1998";
    QTest::newRow("0, German") << friday << 0 << laGerman << u"Freitag 6 März 1998"_qs;
    QTest::newRow("1") << friday << 1 << laFrench << "6 Mars 1998";
    QTest::newRow("2") << friday << 2 << laFrench << "06/03/1998";
    QTest::newRow("3 on the 6th") << friday << 3 << laFrench << "06";
    QTest::newRow("3 on the 16th") << QDate(1998, 3, 16) << 3 << laFrench << "16";
    QTest::newRow("4") << friday << 4 << laItalian << "Venerdi";
    QTest::newRow("5") << friday << 5 << laSpanish << "Marzo";
    QTest::newRow("6") << friday << 6 << laEnglish << "1998";
    QTest::newRow("unknown format") << friday << 7 << laEnglish << "";
}

void LanguageTest::dateTextFormats()
{
    QFETCH(QDate, date);
    QFETCH(int, format);
    QFETCH(TLanguage, language);
    QFETCH(QString, text);
    QCOMPARE(DateTextInFormat(date, format, language), text);
}

void LanguageTest::todayText()
{
    const QDate today = QDate::currentDate();
    const QString text = TodayText(0, laEnglish);
    if (QDate::currentDate() != today)
        QSKIP("midnight passed during the test");
    QCOMPARE(TodayText(2, laEnglish), DateToText(today));
    QCOMPARE(text, QLocale(QLocale::English).toString(today, u"dddd d MMMM yyyy"));
}

void LanguageTest::installCalendarNames_mondayFirstHeader_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("header");

    QTest::newRow("French") << laFrench << "Lun Mar Mer Jeu Ven Sam Dim";
    QTest::newRow("Spanish") << laSpanish << u"Lun Mar Mié Jue Vie Sál Dom"_qs;
    QTest::newRow("German") << laGerman << "Mon Die Mit Don Fre Sam Son";
}

void LanguageTest::installCalendarNames_mondayFirstHeader()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, header);
    InstallCalendarNames(language);
    QStringList columns;
    for (int i = 0; i < 7; ++i)
        columns << CalendarShortDayName(i < 6 ? i + 2 : 1); // Monday first
    QCOMPARE(columns.join(u' '), header);
    QCOMPARE(CalendarLongMonthName(8), MonthName(8, language));
    QCOMPARE(CalendarShortMonthName(12), ShortMonthName(12, language));
    QCOMPARE(CalendarLongDayName(1), DayName(1, language));
}

void LanguageTest::installCalendarNames_default()
{
    const LocaleEnvironment env("it_IT.UTF-8", "", "");
    InstallCalendarNames(laDefault);
    QCOMPARE(CalendarLongMonthName(1), QStringLiteral("Gennaio"));
    RestoreLocaleCalendarNames();
    QCOMPARE(CalendarLongMonthName(1), QLocale().monthName(1));
}

void LanguageTest::pointInRect_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("inside");

    // The previous-day corner of the page: (1, 249) to (36, 269), every edge inside.
    QTest::newRow("bottom-right corner") << 36 << 269 << true;
    QTest::newRow("top-left corner") << 1 << 249 << true;
    QTest::newRow("right of it") << 37 << 269 << false;
    QTest::newRow("below it") << 36 << 270 << false;
    QTest::newRow("left of it") << 0 << 260 << false;
    QTest::newRow("above it") << 10 << 248 << false;
}

void LanguageTest::pointInRect()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, inside);
    QCOMPARE(PointInRect(x, y, QRect(QPoint(1, 249), QPoint(36, 269))), inside);
}

QTEST_GUILESS_MAIN(LanguageTest)

#include "tst_language.moc"
