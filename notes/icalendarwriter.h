#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtPlugin>

namespace ruvo {

// An hour row that holds text, at the day and hour it names.
struct HourEntry
{
    int hour = 0;
    QString label; // as the page's hour scale shows it
    QString text;
};

// What one date holds: its notes lines (blank lines at either end left out) and its hours.
struct ExportDay
{
    QDate date;
    QStringList notes;
    QList<HourEntry> hours;
};

// The iCalendar writer lives in a module of its own, loaded at the first export to a calendar
// file: libical would otherwise be loaded and relocated at every start, for a command most
// sessions never use.
class ICalendarWriter
{
public:
    virtual ~ICalendarWriter() = default;

    // One VJOURNAL per day with notes and a one-hour VEVENT per hour entry, in floating local
    // time; empty when libical cannot write it.
    virtual QByteArray iCalendarOf(const QList<ExportDay> &days) const = 0;
};

// File name of the module, without the platform's prefix and suffix.
inline constexpr auto kICalendarModule = "ruvo_icalendar";

} // namespace ruvo

#define RuvoICalendarWriter_iid "ruvo.ICalendarWriter/1.0"
Q_DECLARE_INTERFACE(ruvo::ICalendarWriter, RuvoICalendarWriter_iid)
