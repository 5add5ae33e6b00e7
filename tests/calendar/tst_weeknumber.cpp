// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "weeknumberreference.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"

#include <QTest>

#include <optional>

using namespace ruvo;

namespace {

// The week number, or nothing when the count throws (it can only throw the encode error).
std::optional<int> weekOrError(const QString &text, int (*weekNumber)(const QString &))
{
    try {
        return weekNumber(text);
    } catch (const Error &e) {
        if (e.message() != u"Invalid argument to date encode")
            throw;
        return std::nullopt;
    }
}

int fastWeekNumber(const QString &text)
{
    return WeekNumber(text);
}

int steppedWeekNumber(const QString &text)
{
    return reference::weekNumberByStepping(text);
}

} // namespace

class WeekNumberTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { setDateSeparator(u'/'); }

    void knownWeeks_data();
    void knownWeeks();
    void invalidDateThrowsConversionError();
    void equalsSteppingEveryDay_1901_2099();
    void equalsSteppingOnSampledDays();
    void equalsSteppingPastTheTable_data();
    void equalsSteppingPastTheTable();
    void failsLikeSteppingAtTheCalendarEnd();
};

void WeekNumberTest::knownWeeks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("week");

    QTest::newRow("Friday 6 March 1998") << "06/03/1998" << 9;
    QTest::newRow("Thursday 1 January 1998") << "01/01/1998" << 53;
    QTest::newRow("Monday 5 January 1998") << "05/01/1998" << 1;
    QTest::newRow("31 December 1998") << "31/12/1998" << 52;
    QTest::newRow("4 January 1999") << "04/01/1999" << 1;
    QTest::newRow("Saturday 1 January 2000") << "01/01/2000" << 52;
    QTest::newRow("31 December 2020") << "31/12/2020" << 53;
    QTest::newRow("1 January 2021") << "01/01/2021" << 53;
    QTest::newRow("29 December 2025") << "29/12/2025" << 53;
    QTest::newRow("1 January 1980") << "01/01/1980" << 2;
    QTest::newRow("Sunday 6 January 1980") << "06/01/1980" << 2;
    QTest::newRow("Monday 7 January 1980") << "07/01/1980" << 2;
    QTest::newRow("Monday 14 January 1980") << "14/01/1980" << 3;
    QTest::newRow("before 1980") << "15/06/1975" << 2;
    QTest::newRow("year 1000") << "01/01/1000" << 2;
}

void WeekNumberTest::knownWeeks()
{
    QFETCH(QString, text);
    QFETCH(int, week);
    QCOMPARE(WeekNumber(text), week);
    QCOMPARE(reference::weekNumberByStepping(text), week);
}

void WeekNumberTest::invalidDateThrowsConversionError()
{
    try {
        WeekNumber(QStringLiteral("31/02/1998"));
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("'31/02/1998' is not a valid date"));
    }
}

// The full range of the program, with one resumed count walking the whole century.
void WeekNumberTest::equalsSteppingEveryDay_1901_2099()
{
    reference::WeekCounter counter;
    bool started = false;
    for (QDate d(1901, 1, 1); d <= QDate(2099, 12, 31); d = d.addDays(1)) {
        const QString text = DateToText(d);
        const QString monday = reference::mondayOf(text);
        const int expected = started ? counter.resumeTo(monday) : counter.countTo(monday);
        started = true;
        if (WeekNumber(text) != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2, stepping gives %3")
                                 .arg(text)
                                 .arg(WeekNumber(text))
                                 .arg(expected)));
    }
}

// Fresh counts, exactly as written, on a spread of days (the resumed count above is only
// as good as the claim that resuming changes nothing).
void WeekNumberTest::equalsSteppingOnSampledDays()
{
    for (QDate d(1975, 1, 3); d <= QDate(2099, 12, 31); d = d.addDays(53)) {
        const QString text = DateToText(d);
        QCOMPARE(WeekNumber(text), reference::weekNumberByStepping(text));
    }
}

void WeekNumberTest::equalsSteppingPastTheTable_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");

    // Past 2099 the stepping calendar has days the Gregorian one lacks, so some counts fail.
    QTest::newRow("2099 to 2101") << QDate(2099, 11, 1) << QDate(2101, 3, 31);
    QTest::newRow("around 2200") << QDate(2199, 12, 1) << QDate(2200, 4, 30);
    QTest::newRow("around 2300") << QDate(2300, 1, 15) << QDate(2300, 3, 31);
}

void WeekNumberTest::equalsSteppingPastTheTable()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        const QString text = DateToText(d);
        const std::optional<int> fast = weekOrError(text, fastWeekNumber);
        const std::optional<int> stepped = weekOrError(text, steppedWeekNumber);
        if (fast != stepped)
            QFAIL(qPrintable(QStringLiteral("%1: %2, stepping gives %3")
                                 .arg(text, fast ? QString::number(*fast) : u"error"_qs,
                                      stepped ? QString::number(*stepped) : u"error"_qs)));
    }
}

void WeekNumberTest::failsLikeSteppingAtTheCalendarEnd()
{
    // The count never gets past 29/02/2100 when that day is a Monday of the count; and it
    // cannot step beyond 9999.
    const std::optional<int> at2100 = weekOrError(QStringLiteral("15/03/2100"), fastWeekNumber);
    QCOMPARE(at2100, weekOrError(QStringLiteral("15/03/2100"), steppedWeekNumber));
    QCOMPARE(weekOrError(QStringLiteral("31/12/9999"), fastWeekNumber), std::nullopt);
}

QTEST_GUILESS_MAIN(WeekNumberTest)

#include "tst_weeknumber.moc"
