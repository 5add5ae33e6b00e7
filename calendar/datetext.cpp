// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "datetext.h"

#include "dateformat.h"
#include "error.h"

#include <optional>

namespace ruvo {

namespace {

[[noreturn]] void throwNotADate(const QString &text)
{
    throw Error(u'\'' + text + u"' is not a valid date");
}

// Reads a date text the way a user types it: see TextToDate in the header.
class DateTextReader
{
public:
    DateTextReader(const QString &text, QChar separator) : m_text(text), m_separator(separator) {}

    bool readNumber(int &value)
    {
        skipBlanks();
        const qsizetype start = m_pos;
        value = 0;
        while (m_pos < m_text.size() && value < 1000) {
            const char16_t c = m_text.at(m_pos).unicode();
            if (c < u'0' || c > u'9')
                break;
            value = value * 10 + (c - u'0');
            ++m_pos;
        }
        return m_pos > start;
    }

    bool readSeparator()
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == m_separator) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool atEnd()
    {
        skipBlanks();
        return m_pos == m_text.size();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos) == u' ')
            ++m_pos;
    }

    const QString &m_text;
    const QChar m_separator;
    qsizetype m_pos = 0;
};

struct DateFields
{
    int year;
    int month;
    int day;
};

DateFields fieldsOf(const QString &text)
{
    const QDate date = TextToDate(text);
    return {date.year(), date.month(), date.day()};
}

} // namespace

QDate EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        ThrowDateEncodeError();
    return QDate(year, month, day);
}

void ThrowDateEncodeError()
{
    throw Error(QStringLiteral("Invalid argument to date encode"));
}

QString DateToText(const QDate &date)
{
    if (!date.isValid())
        return {};
    return formatDate(date.year(), date.month(), date.day(), ShortDateFormat(), DateSeparator());
}

namespace {

// The clock is read only for texts that leave out the century or the year: asking for the
// current date costs a time-zone lookup, and full date texts are read at every paint.
QDate readDateText(const QString &text, std::optional<int> currentYear)
{
    const auto thisYear = [&] {
        if (!currentYear)
            currentYear = QDate::currentDate().year();
        return *currentYear;
    };
    DateTextReader reader(text, DateSeparator());
    int day = 0;
    int month = 0;
    int year = 0;
    if (!reader.readNumber(day) || !reader.readSeparator() || !reader.readNumber(month))
        throwNotADate(text);
    if (reader.readSeparator()) {
        if (!reader.readNumber(year))
            throwNotADate(text);
        if (year < 100)
            year += thisYear() / 100 * 100;
        reader.readSeparator(); // "06/03/1998/" is accepted
    } else {
        year = thisYear();
    }
    if (!reader.atEnd() || year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        throwNotADate(text);
    return QDate(year, month, day);
}

} // namespace

QDate TextToDate(const QString &text)
{
    return readDateText(text, std::nullopt);
}

QDate TextToDate(const QString &text, int currentYear)
{
    return readDateText(text, currentYear);
}

int WeekdayOf(const QString &text)
{
    return TextToDate(text).dayOfWeek() % 7 + 1;
}

QString DatePart(const QString &text, int part)
{
    const DateFields f = fieldsOf(text);
    switch (part) {
    case 0:
        return ZeroPad(quint32(f.day), 2);
    case 1:
        return ZeroPad(quint32(f.month), 2);
    case 2:
        return ZeroPad(quint32(f.year), 2);
    default:
        return {};
    }
}

QString AddDays(const QString &text, int count)
{
    DateFields f = fieldsOf(text);
    for (int i = 0; i < count; ++i) {
        if (++f.day > DaysInMonth(f.month, f.year)) {
            f.day = 1;
            if (f.month == 12) {
                f.month = 1;
                ++f.year;
            } else {
                ++f.month;
            }
        }
    }
    return DateToText(EncodeDate(f.year, f.month, f.day));
}

QString SubtractDays(const QString &text, int count)
{
    DateFields f = fieldsOf(text);
    for (int i = 0; i < count; ++i) {
        if (--f.day < 1) {
            if (f.month == 1) {
                f.month = 12;
                --f.year;
            } else {
                --f.month;
            }
            f.day = DaysInMonth(f.month, f.year);
        }
    }
    return DateToText(EncodeDate(f.year, f.month, f.day));
}

bool DateOnOrAfter(const QString &a, const QString &b)
{
    const DateFields x = fieldsOf(a);
    const DateFields y = fieldsOf(b);
    if (x.year != y.year)
        return x.year > y.year;
    if (x.month != y.month)
        return x.month > y.month;
    return x.day >= y.day;
}

int DayOfYear(const QString &text)
{
    return DayOfYear(TextToDate(text));
}

int DayOfYear(const QDate &date)
{
    int days = date.day();
    for (int month = 1; month < date.month(); ++month)
        days += DaysInMonth(month, date.year());
    return days;
}

QString ZeroPad(quint32 value, int width)
{
    QString text = QString::number(value);
    quint32 limit = 10;
    for (int w = 1; w < 8 && w < width; ++w, limit *= 10) {
        if (value < limit)
            text.prepend(u'0');
    }
    return text;
}

} // namespace ruvo
