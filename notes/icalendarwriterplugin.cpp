// The module that brings libical in; see icalendarwriter.h. libical escapes and folds the text.

#include "icalendarwriter.h"

#include <QObject>

#include <libical/ical.h>

#include <memory>

namespace ruvo {

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype icalDate(const QDate &date)
{
    icaltimetype value = icaltime_null_date();
    value.year = date.year();
    value.month = date.month();
    value.day = date.day();
    return value;
}

// A floating date and time: the hour as written on the page, in whatever zone it is read.
icaltimetype icalDateTime(const QDate &date, int hour)
{
    icaltimetype value = icaltime_null_time();
    value.year = date.year();
    value.month = date.month();
    value.day = date.day();
    value.hour = hour;
    return value;
}

icalcomponent *journalOf(const QDate &date, const QStringList &notes, icaltimetype stamp)
{
    icalcomponent *journal = icalcomponent_new_vjournal();
    const QString uid = date.toString(u"yyyyMMdd") + u"-notes@ruvo";
    icalcomponent_add_property(journal, icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(journal, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(journal, icalproperty_new_dtstart(icalDate(date)));
    // notes has no blank line at its start.
    icalcomponent_add_property(
        journal, icalproperty_new_summary(notes.first().trimmed().toUtf8().constData()));
    icalcomponent_add_property(
        journal, icalproperty_new_description(notes.join(u'\n').toUtf8().constData()));
    return journal;
}

icalcomponent *eventOf(const QDate &date, const HourEntry &entry, icaltimetype stamp)
{
    icalcomponent *event = icalcomponent_new_vevent();
    const QString uid = date.toString(u"yyyyMMdd") + u'T' +
                        QStringLiteral("%1").arg(entry.hour, 2, 10, QLatin1Char('0')) +
                        u"0000-hour@ruvo";
    icalcomponent_add_property(event, icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, icalproperty_new_dtstart(icalDateTime(date, entry.hour)));
    // Wall-clock hours: no daylight saving change makes the hour longer or shorter.
    const bool lastHour = entry.hour == 23;
    icalcomponent_add_property(
        event, icalproperty_new_dtend(
                   icalDateTime(lastHour ? date.addDays(1) : date, lastHour ? 0 : entry.hour + 1)));
    icalcomponent_add_property(event, icalproperty_new_summary(entry.text.toUtf8().constData()));
    return event;
}

QByteArray calendarOf(const QList<ExportDay> &days)
{
    const Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Ruvo//Ruvo//FR"));
    const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    for (const ExportDay &day : days) {
        if (!day.notes.isEmpty())
            icalcomponent_add_component(calendar.get(), journalOf(day.date, day.notes, stamp));
        for (const HourEntry &entry : day.hours)
            icalcomponent_add_component(calendar.get(), eventOf(day.date, entry, stamp));
    }
    const std::unique_ptr<char, decltype(&icalmemory_free_buffer)> text(
        icalcomponent_as_ical_string_r(calendar.get()), &icalmemory_free_buffer);
    return text ? QByteArray(text.get()) : QByteArray();
}

} // namespace

class ICalendarWriterPlugin final : public QObject, public ICalendarWriter
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RuvoICalendarWriter_iid)
    Q_INTERFACES(ruvo::ICalendarWriter)

public:
    QByteArray iCalendarOf(const QList<ExportDay> &days) const override { return calendarOf(days); }
};

} // namespace ruvo

#include "icalendarwriterplugin.moc"
