// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "notesexport.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "notes/dayfilefolder.h"
#include "notes/dayfiles.h"
#include "notes/hourscale.h"
#include "notes/icalendarwriter.h"
#include "platform/freedmemory.h"
#include "platform/installedfiles.h"
#include "platform/wholefile.h"

#include <QDateTime>
#include <QFuture>
#include <QScopeGuard>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <deque>
#include <exception>
#include <optional>

namespace ruvo {

namespace {

// The export walks the folder oldest day first and writes each day as soon as it is made, so
// that what it holds does not grow with the folder. The days are made a run at a time on the
// global thread pool, a few runs ahead of the one being written: reading the files and making
// the calendar's components, which costs libical more than the reading, share the cores.
constexpr qsizetype kDaysPerRun = 32;

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

QStringList withoutBlankEnds(QStringList lines)
{
    while (!lines.isEmpty() && isBlank(lines.constLast()))
        lines.removeLast();
    while (!lines.isEmpty() && isBlank(lines.constFirst()))
        lines.removeFirst();
    return lines;
}

// ---- Markdown

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Text in which Markdown sees no HTML: a "<" that would open a tag, a comment or an autolink,
// and an "&" that would start an entity, are escaped. Markdown would otherwise pass them on as
// HTML, which a renderer shows as markup or drops.
QString withoutHtml(const QString &line)
{
    QString text;
    text.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        const bool opensTag =
            c == u'<' && (isAsciiLetter(next) || next == u'/' || next == u'!' || next == u'?');
        const bool opensEntity = c == u'&' && (isAsciiLetter(next) || next == u'#');
        if (opensTag || opensEntity)
            text += u'\\';
        text += c;
    }
    return text;
}

// A notes line as Markdown text that reads as the line: the mark that would open a heading,
// a list, a quote, a rule or a code block at its start is escaped, and a backslash at its end
// is kept from turning the hard break after it into an escape; nothing in it reads as HTML.
// Other marks inside the line are left as written: escaping every one would spoil the text to
// read.
QString markdownLine(const QString &line)
{
    QString text = withoutHtml(line.trimmed()); // leading spaces would make a code block
    static const QString blockMarks = QStringLiteral("#>-+*=_`~<");
    if (blockMarks.contains(text.front()))
        text.insert(0, u'\\');
    else if (text.front().isDigit()) {
        // "1. " and "1) " start a numbered list.
        qsizetype digits = 0;
        while (digits < text.size() && text[digits].isDigit())
            ++digits;
        if (digits < text.size() && (text[digits] == u'.' || text[digits] == u')') &&
            (digits + 1 == text.size() || text[digits + 1].isSpace()))
            text.insert(digits, u'\\');
    }
    if (text.endsWith(u'\\'))
        text += u' ';
    return text;
}

// Each notes line stays a line of its own: lines follow one another with a hard break ("\" at
// the end), and a blank line parts paragraphs as on the page.
QString markdownNotes(const QStringList &notes)
{
    QString text;
    bool afterBlank = false;
    for (const QString &line : notes) {
        if (isBlank(line)) {
            afterBlank = true;
            continue;
        }
        if (!text.isEmpty())
            text += afterBlank ? QStringLiteral("\n\n") : QStringLiteral("\\\n");
        text += markdownLine(line);
        afterBlank = false;
    }
    return text;
}

// ---- One export

// A date's share of the document, from its own files, in the target's bytes.
struct DayText
{
    QDate date;
    QByteArray notes;   // empty when it has none
    QByteArray hours;   // its own hour rows
    QByteArray nextDay; // the rows of a scale that runs past midnight: the next day's first hours
};

// A run of days made ready, oldest first, or what stopped it.
struct RunText
{
    QList<DayText> days;
    qsizetype filesRead = 0;
    QStringList unreadable; // the day files left out
    std::exception_ptr failure;
};

class Export
{
public:
    Export(ExportFormat format, NotesAs notesAs, const ICalendarWriter *calendar, int startTime,
           TLanguage language, const QString &file, int alarmLead)
        : m_format(format), m_notesAs(notesAs), m_calendar(calendar), m_startTime(startTime),
          m_language(language), m_file(file), m_alarmLead(alarmLead),
          m_labels(HourScaleLabels(startTime, language)), m_stamp(QDateTime::currentDateTimeUtc()),
          m_target(file)
    {}

    // Writes the days of entries (newest first, as listed) to the target, and replaces the
    // file with it. Returns the day files left out, that could not be read.
    QStringList writeDays(const QList<DayFileEntry> &entries, const QString &folder)
    {
        write(m_format == ExportFormat::ICalendar ? m_calendar->calendarBegin() : "# Ruvo\n");
        const QList<qsizetype> runEnds = runsOf(entries);
        std::deque<QFuture<RunText>> ahead;
        // Nothing a run reads may go before the run has ended, whatever stopped the export.
        const auto waitForAll = qScopeGuard([&ahead]() noexcept {
            for (QFuture<RunText> &run : ahead)
                run.waitForFinished();
        });
        const qsizetype runsAhead = 2 * qMax(1, QThreadPool::globalInstance()->maxThreadCount());
        qsizetype begin = entries.size();
        for (const qsizetype end : runEnds) {
            // Each run has its own copy of the stamp: one instance is not read on several threads.
            ahead.push_back(QtConcurrent::run(QThreadPool::globalInstance(),
                                              [=, this, &entries, stamp = m_stamp] {
                                                  return runText(entries, begin, end, stamp);
                                              }));
            begin = end;
            if (qsizetype(ahead.size()) > runsAhead)
                writeRun(ahead);
        }
        while (!ahead.empty())
            writeRun(ahead);
        // An export of nothing read would replace the last good one for nothing.
        if (m_filesRead == 0 && !m_unreadable.isEmpty())
            throw CannotOpenFiles(m_unreadable);
        writeCarried();
        // A calendar must hold a component, and an empty document helps nobody: no file is made.
        if (m_daysWritten == 0)
            throw Error(u"Aucune note à exporter dans le dossier " + folder);
        write(m_format == ExportFormat::ICalendar ? m_calendar->calendarEnd() : QByteArray());
        if (!m_target.commit())
            throw CannotCreateFile(m_file);
        return m_unreadable;
    }

private:
    // Where each run of the listing ends, oldest first: runs of entries.size() down to 0, a
    // date's two files never parted.
    static QList<qsizetype> runsOf(const QList<DayFileEntry> &entries)
    {
        QList<qsizetype> ends;
        qsizetype days = 0;
        for (qsizetype i = entries.size() - 1; i >= 0; --i) {
            const bool newDay = i + 1 == entries.size() || entries[i].date != entries[i + 1].date;
            if (newDay && days++ == kDaysPerRun) {
                ends.append(i + 1);
                days = 1;
            }
        }
        ends.append(0);
        return ends;
    }

    // The days of entries [end, begin), read and put in the target's bytes. Runs on a thread of
    // the pool: it only reads the export's settings, never the target or what is carried.
    RunText runText(const QList<DayFileEntry> &entries, qsizetype begin, qsizetype end,
                    const QDateTime &stamp) const
    {
        RunText run;
        try {
            // A day's two files are read before it is made: rows of the hour file past the
            // last hour join the day's notes.
            QStringList notes;
            QStringList hours;
            const auto makeDay = [&] {
                if (run.days.isEmpty())
                    return;
                DayText &day = run.days.last();
                notes += hours.mid(kHourRows);
                day.notes = notesText(day.date, notes, stamp);
                hoursText(day.date, hours, stamp, day);
            };
            for (qsizetype i = begin - 1; i >= end; --i) {
                const DayFileEntry &entry = entries[i];
                if (run.days.isEmpty() || run.days.constLast().date != entry.date) {
                    makeDay();
                    run.days.append({entry.date, {}, {}, {}});
                    notes.clear();
                    hours.clear();
                }
                std::optional<QByteArray> bytes;
                try {
                    bytes = ReadDayFileBytes(entry.path);
                } catch (const Error &) {
                    run.unreadable << entry.path; // the others are written all the same
                    continue;
                }
                if (!bytes) // gone since the listing
                    continue;
                ++run.filesRead;
                (entry.kind == DayFileKind::Notes ? notes : hours) = exportedLines(*bytes);
            }
            makeDay();
        } catch (...) {
            run.failure = std::current_exception();
        }
        return run;
    }

    // All the text of a day file, also what the page leaves out (past a NUL, which ends the
    // page's text), without the control characters no calendar takes.
    static QStringList exportedLines(QByteArray bytes)
    {
        bytes.replace('\0', QByteArrayView());
        QStringList lines = DayFileLines(bytes);
        for (QString &line : lines)
            line.removeIf(
                [](QChar c) { return c.category() == QChar::Other_Control && c != u'\t'; });
        return lines;
    }

    QByteArray notesText(const QDate &date, const QStringList &lines, const QDateTime &stamp) const
    {
        const QStringList notes = withoutBlankEnds(lines);
        if (notes.isEmpty())
            return {};
        if (m_format == ExportFormat::Markdown)
            return (u'\n' + markdownNotes(notes) + u'\n').toUtf8();
        QByteArray text;
        if (!m_calendar->appendComponents({date, notes, {}, m_notesAs == NotesAs::Events}, stamp,
                                          text))
            throw CannotCreateFile(m_file);
        return text;
    }

    void hoursText(const QDate &date, const QStringList &lines, const QDateTime &stamp,
                   DayText &day) const
    {
        QList<HourEntry> own;
        QList<HourEntry> nextDay;
        for (int row = 0; row < kHourRows && row < lines.size(); ++row) {
            if (isBlank(lines[row]))
                continue;
            // A scale that starts late runs past midnight: those rows are the next day's.
            const int hour = m_startTime + row;
            (hour < 24 ? own : nextDay)
                .append({hour % 24, m_labels[std::size_t(row)], lines[row].trimmed()});
        }
        day.hours = entriesText(date, own, stamp);
        day.nextDay = entriesText(date.addDays(1), nextDay, stamp);
    }

    QByteArray entriesText(const QDate &date, const QList<HourEntry> &entries,
                           const QDateTime &stamp) const
    {
        QByteArray text;
        if (entries.isEmpty())
            return text;
        if (m_format == ExportFormat::Markdown) {
            QString lines;
            for (const HourEntry &entry : entries)
                lines += u"- " + entry.label + u' ' + withoutHtml(entry.text) + u'\n';
            return lines.toUtf8();
        }
        if (!m_calendar->appendComponents({date, {}, entries, false, m_alarmLead}, stamp, text))
            throw CannotCreateFile(m_file);
        return text;
    }

    // Writes the oldest run ahead, once it is made.
    void writeRun(std::deque<QFuture<RunText>> &ahead)
    {
        ahead.front().waitForFinished();
        // Taken, not copied: what the run made goes with it, not with its task on the pool.
        const RunText run = ahead.front().takeResult();
        ahead.pop_front();
        if (run.failure)
            std::rethrow_exception(run.failure);
        m_filesRead += run.filesRead;
        m_unreadable += run.unreadable;
        for (const DayText &day : run.days) {
            if (m_carried.date.isValid() && m_carried.date != day.date)
                writeCarried();
            // A day's earliest hours are the ones the day before carried past midnight: a
            // scale that starts at 08:00 or later carries its last rows, up to startTime - 8.
            const QByteArray carried = m_carried.date == day.date ? m_carried.hours : QByteArray();
            writeDay(day.date, day.notes, carried, day.hours);
            m_carried = {day.date.addDays(1), day.nextDay};
        }
    }

    // The hours carried past midnight into a day that has no files of its own.
    void writeCarried()
    {
        writeDay(m_carried.date, {}, m_carried.hours, {});
        m_carried = {};
    }

    void writeDay(const QDate &date, const QByteArray &notes, const QByteArray &carried,
                  const QByteArray &hours)
    {
        if (notes.isEmpty() && carried.isEmpty() && hours.isEmpty())
            return;
        ++m_daysWritten;
        const bool markdown = m_format == ExportFormat::Markdown;
        if (markdown)
            write((u"\n## " + DateTextInFormat(date, 0, m_language) + u'\n').toUtf8());
        write(notes);
        if (markdown && !(carried.isEmpty() && hours.isEmpty()))
            write("\n");
        write(carried);
        write(hours);
    }

    void write(QByteArrayView bytes)
    {
        if (!m_target.write(bytes))
            throw CannotCreateFile(m_file);
    }

    // The hour rows carried past midnight, written with the date they belong to.
    struct Carried
    {
        QDate date;
        QByteArray hours;
    };

    const ExportFormat m_format;
    const NotesAs m_notesAs;
    const ICalendarWriter *const m_calendar;
    const int m_startTime;
    const TLanguage m_language;
    const QString m_file;
    const int m_alarmLead; // as ExportDay has it
    const std::array<QString, kHourRows> m_labels;
    const QDateTime m_stamp; // DTSTAMP: the time of the export
    WholeFileWriter m_target;
    Carried m_carried;
    qsizetype m_filesRead = 0;
    qsizetype m_daysWritten = 0;
    QStringList m_unreadable;
};

// ---- iCalendar, its components made and written by libical in its module (see
// icalendarwriter.h).

const ICalendarWriter *iCalendarWriter()
{
    QString failures;
    auto *writer = qobject_cast<ICalendarWriter *>(LoadProgramModule(kICalendarModule, &failures));
    if (!writer)
        qWarning("No calendar file, its module could not be loaded:%s", qPrintable(failures));
    return writer;
}

} // namespace

std::optional<ExportFormat> ExportFormatOf(const QString &file)
{
    if (file.endsWith(u".ics", Qt::CaseInsensitive))
        return ExportFormat::ICalendar;
    if (file.endsWith(u".md", Qt::CaseInsensitive))
        return ExportFormat::Markdown;
    return std::nullopt;
}

std::optional<Error> ExportNotes(const QString &folder, const QString &extension,
                                 const QString &file, int startTime, TLanguage language,
                                 const QDate &today, NotesAs notesAs, std::optional<int> alarmLead)
{
    const std::optional<ExportFormat> format = ExportFormatOf(file);
    if (!format)
        throw Error(u"Format d'export inconnu : " + file + u" (.ics ou .md)");
    const ICalendarWriter *calendar = nullptr;
    if (*format == ExportFormat::ICalendar && !(calendar = iCalendarWriter()))
        throw CannotCreateFile(file);
    // What the days took on the pool's threads goes back to the system, however the export ends.
    const auto giveBack = qScopeGuard([]() noexcept { ReturnFreedMemory(); });
    const QStringList unreadable =
        Export(*format, notesAs, calendar, startTime, language, file, alarmLead.value_or(-1))
            .writeDays(ListDayFiles(folder, extension, today), folder);
    if (unreadable.isEmpty())
        return std::nullopt;
    return Error(u"L'export " + file + u" est écrit sans ce qui ne peut être lu.\n" +
                 CannotOpenFiles(unreadable).message());
}

} // namespace ruvo
