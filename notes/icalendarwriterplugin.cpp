// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The module that brings libical in; see icalendarwriter.h. libical escapes and folds the texts.

#include "icalendarwriter.h"

#include <QObject>

#include <libical/ical.h>

#include <memory>
#include <optional>

namespace ruvo {

namespace {

// Appends what libical writes for a property; false when it writes nothing.
bool appendProperty(icalproperty *property, QByteArray &to)
{
    const std::unique_ptr<char, decltype(&icalmemory_free_buffer)> text(
        icalproperty_as_ical_string_r(property), &icalmemory_free_buffer);
    if (!text)
        return false;
    to += text.get();
    return true;
}

struct PropertyFree
{
    void operator()(icalproperty *property) const { icalproperty_free(property); }
};
using Property = std::unique_ptr<icalproperty, PropertyFree>;

// A text property (SUMMARY, DESCRIPTION) written for one value after another: libical escapes
// and folds each. Set anew, one property is quicker than one made and freed for each value.
class TextProperty
{
public:
    using Make = icalproperty *(*)(const char *);
    using Set = void (*)(icalproperty *, const char *);

    TextProperty(Make make, Set set) : m_property(make("")), m_set(set) {}

    bool append(const QString &value, QByteArray &to) const
    {
        m_set(m_property.get(), value.toUtf8().constData());
        return appendProperty(m_property.get(), to);
    }

private:
    Property m_property;
    Set m_set;
};

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The alarm of an hour event: its text shown lead minutes before the hour. A day's events share
// one component, its description set anew for each, as TextProperty does.
class HourAlarm
{
public:
    explicit HourAlarm(int lead) : m_alarm(icalcomponent_new_valarm())
    {
        icalcomponent_add_property(m_alarm.get(), icalproperty_new_action(ICAL_ACTION_DISPLAY));
        m_description = icalproperty_new_description("");
        icalcomponent_add_property(m_alarm.get(), m_description); // the alarm frees it
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        // Negative: before DTSTART. A lead of 0 is a zero offset, written "PT0S".
        trigger.duration = icaldurationtype_from_int(-60 * lead);
        icalcomponent_add_property(m_alarm.get(), icalproperty_new_trigger(trigger));
    }

    bool append(const QString &text, QByteArray &to) const
    {
        icalproperty_set_description(m_description, text.toUtf8().constData());
        const std::unique_ptr<char, decltype(&icalmemory_free_buffer)> alarm(
            icalcomponent_as_ical_string_r(m_alarm.get()), &icalmemory_free_buffer);
        if (!alarm)
            return false;
        to += alarm.get();
        return true;
    }

private:
    Component m_alarm;
    icalproperty *m_description = nullptr;
};

// The components' other lines hold no text to escape and stay far below the width at which
// libical folds a line: they are written here as libical writes them, digits and all, which is
// quicker than through a property for each (tst_notesexport holds libical to those bytes).

void appendNumber(QByteArray &to, int value, int width)
{
    char digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    to.append(digits, width);
}

// A date as iCalendar writes it, "20261208".
struct DateDigits
{
    explicit DateDigits(const QDate &date)
    {
        int year = 0, month = 0, day = 0;
        date.getDate(&year, &month, &day);
        appendNumber(text, year, 4);
        appendNumber(text, month, 2);
        appendNumber(text, day, 2);
    }
    QByteArray text;
};

// A floating date and time on the hour, "20261208T090000": the hour as written on the page,
// in whatever zone it is read.
void appendDateTime(QByteArray &to, const DateDigits &date, int hour)
{
    to += date.text;
    to += 'T';
    appendNumber(to, hour, 2);
    to += "0000";
}

// The notes as a journal entry, or as an all-day event: the calendars that drop journal
// entries keep events. The same UID either way: it is the same day's notes.
bool appendJournal(const QDate &date, const QStringList &notes, const QByteArray &stampLine,
                   bool asEvent, QByteArray &to)
{
    const DateDigits day(date);
    const QByteArray component = asEvent ? "VEVENT" : "VJOURNAL";
    to += "BEGIN:" + component + "\r\nUID:" + day.text + "-notes@ruvo\r\n" + stampLine +
          "DTSTART;VALUE=DATE:" + day.text + "\r\n";
    if (asEvent)
        to += "DTEND;VALUE=DATE:" + DateDigits(date.addDays(1)).text + "\r\n";
    // notes has no blank line at its start.
    const TextProperty summary(icalproperty_new_summary, icalproperty_set_summary);
    const TextProperty description(icalproperty_new_description, icalproperty_set_description);
    if (!summary.append(notes.first().trimmed(), to) || !description.append(notes.join(u'\n'), to))
        return false;
    to += "END:" + component + "\r\n";
    return true;
}

// alarmLead: minutes before each hour that its alarm rings; none when negative.
bool appendEvents(const QDate &date, const QList<HourEntry> &hours, const QByteArray &stampLine,
                  int alarmLead, QByteArray &to)
{
    const DateDigits day(date);
    const DateDigits nextDay(date.addDays(1));
    // An event is some 150 bytes besides its text, its alarm some 70 besides the text again.
    std::optional<HourAlarm> alarm;
    if (alarmLead >= 0)
        alarm.emplace(alarmLead);
    qsizetype size = to.size();
    for (const HourEntry &entry : hours)
        size += 160 + 2 * entry.text.size() + (alarm ? 80 + 2 * entry.text.size() : 0);
    to.reserve(size);
    const TextProperty summary(icalproperty_new_summary, icalproperty_set_summary);
    for (const HourEntry &entry : hours) {
        to += "BEGIN:VEVENT\r\nUID:";
        appendDateTime(to, day, entry.hour);
        to += "-hour@ruvo\r\n" + stampLine + "DTSTART:";
        appendDateTime(to, day, entry.hour);
        // Wall-clock hours: no daylight saving change makes the hour longer or shorter.
        to += "\r\nDTEND:";
        if (entry.hour == 23)
            appendDateTime(to, nextDay, 0);
        else
            appendDateTime(to, day, entry.hour + 1);
        to += "\r\n";
        if (!summary.append(entry.text, to) || (alarm && !alarm->append(entry.text, to)))
            return false;
        to += "END:VEVENT\r\n";
    }
    return true;
}

} // namespace

class ICalendarWriterPlugin final : public QObject, public ICalendarWriter
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RuvoICalendarWriter_iid)
    Q_INTERFACES(ruvo::ICalendarWriter)

public:
    // libical makes its built-in zones at the first call for one: made here, on the thread that
    // loads the module, before days are written on several.
    ICalendarWriterPlugin() { icaltimezone_get_utc_timezone(); }

    // What libical writes around the components of a calendar that has these two properties.
    QByteArray calendarBegin() const override
    {
        QByteArray text = "BEGIN:VCALENDAR\r\n";
        appendProperty(Property(icalproperty_new_version("2.0")).get(), text);
        appendProperty(Property(icalproperty_new_prodid("-//Ruvo//Ruvo//FR")).get(), text);
        return text;
    }
    QByteArray calendarEnd() const override { return "END:VCALENDAR\r\n"; }

    bool appendComponents(const ExportDay &day, const QDateTime &stamp,
                          QByteArray &text) const override
    {
        QByteArray stampLine;
        if (!appendProperty(
                Property(icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                             time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone())))
                    .get(),
                stampLine))
            return false;
        return (day.notes.isEmpty() ||
                appendJournal(day.date, day.notes, stampLine, day.notesAsEvent, text)) &&
               (day.hours.isEmpty() ||
                appendEvents(day.date, day.hours, stampLine, day.alarmLead, text));
    }
};

} // namespace ruvo

#include "icalendarwriterplugin.moc"
