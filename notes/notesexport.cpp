#include "notesexport.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "notes/dayfilefolder.h"
#include "notes/dayfiles.h"
#include "notes/hourscale.h"
#include "notes/icalendarwriter.h"
#include "platform/installedfiles.h"
#include "platform/wholefile.h"

#include <QMap>

#include <algorithm>
#include <memory>

namespace ruvo {

namespace {

// What one date holds: its notes lines (blank lines at either end left out) and its hours.
struct DayNotes
{
    QStringList notes;
    QList<HourEntry> hours;
};

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

// Every date of the folder with text, oldest first. All day files are read before anything is
// written, so a file that cannot be read stops the export before the target is touched.
QMap<QDate, DayNotes> daysOfFolder(const QString &folder, const QString &extension, int startTime,
                                   TLanguage language, const QDate &today)
{
    const std::array<QString, kHourRows> labels = HourScaleLabels(startTime, language);
    QMap<QDate, DayNotes> days;
    for (const DayFileEntry &entry : ListDayFiles(folder, extension, today)) {
        const std::optional<QByteArray> bytes = ReadDayFileBytes(entry.path);
        if (!bytes) // gone since the listing
            continue;
        const QStringList lines = DayFileLines(*bytes);
        if (entry.kind == DayFileKind::Notes) {
            QStringList notes = withoutBlankEnds(lines);
            if (!notes.isEmpty())
                days[entry.date].notes = std::move(notes);
            continue;
        }
        for (int row = 0; row < kHourRows && row < lines.size(); ++row) {
            if (isBlank(lines[row]))
                continue;
            // A scale that starts late runs past midnight: those rows are the next day's.
            const int hour = startTime + row;
            const QDate date = hour < 24 ? entry.date : entry.date.addDays(1);
            days[date].hours.append({hour % 24, labels[std::size_t(row)], lines[row].trimmed()});
        }
    }
    // A day's own rows and the rows the day before carried over arrive in listing order.
    for (DayNotes &day : days)
        std::stable_sort(day.hours.begin(), day.hours.end(),
                         [](const HourEntry &a, const HourEntry &b) { return a.hour < b.hour; });
    return days;
}

// ---- iCalendar, built and serialised by libical in its module (see icalendarwriter.h).

QByteArray iCalendarOf(const QMap<QDate, DayNotes> &days)
{
    QString failures;
    auto *writer = qobject_cast<ICalendarWriter *>(LoadProgramModule(kICalendarModule, &failures));
    if (!writer) {
        qWarning("No calendar file, its module could not be loaded:%s", qPrintable(failures));
        return {};
    }
    QList<ExportDay> list;
    list.reserve(days.size());
    for (auto day = days.cbegin(); day != days.cend(); ++day)
        list.append({day.key(), day->notes, day->hours});
    return writer->iCalendarOf(list);
}

// ---- Markdown

// A notes line as Markdown text that reads as the line: the mark that would open a heading,
// a list, a quote, a rule or a code block at its start is escaped, and a backslash at its end
// is kept from turning the hard break after it into an escape. Marks inside the line are left
// as written: escaping every one would spoil the text to read.
QString markdownLine(const QString &line)
{
    QString text = line.trimmed(); // leading spaces would make a code block
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

QByteArray markdownOf(const QMap<QDate, DayNotes> &days, TLanguage language)
{
    QString text = QStringLiteral("# Ruvo\n");
    for (auto day = days.cbegin(); day != days.cend(); ++day) {
        text += u"\n## " + DateTextInFormat(day.key(), 0, language) + u'\n';
        if (!day->notes.isEmpty())
            text += u'\n' + markdownNotes(day->notes) + u'\n';
        if (!day->hours.isEmpty()) {
            text += u'\n';
            for (const HourEntry &entry : day->hours)
                text += u"- " + entry.label + u' ' + entry.text + u'\n';
        }
    }
    return text.toUtf8();
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

void ExportNotes(const QString &folder, const QString &extension, const QString &file,
                 int startTime, TLanguage language, const QDate &today)
{
    const std::optional<ExportFormat> format = ExportFormatOf(file);
    if (!format)
        throw Error(u"Format d'export inconnu : " + file + u" (.ics ou .md)");
    const QMap<QDate, DayNotes> days = daysOfFolder(folder, extension, startTime, language, today);
    const QByteArray bytes =
        *format == ExportFormat::ICalendar ? iCalendarOf(days) : markdownOf(days, language);
    if (bytes.isEmpty() || !ReplaceFileWhole(file, bytes))
        throw CannotCreateFile(file);
}

} // namespace ruvo
