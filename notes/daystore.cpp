#include "daystore.h"

#include "notes/dayfiles.h"
#include "notes/hourscale.h"
#include "notes/notesexport.h"

#include "calendar/datetext.h"
#include "platform/wholefile.h"

#include <QDateTime>
#include <QDir>

namespace ruvo {

namespace {

QStringList linesOf(const std::optional<QByteArray> &bytes)
{
    return bytes ? DayFileLines(*bytes) : QStringList();
}

} // namespace

QStringList StoredPage::notes() const
{
    return linesOf(files[DayFileIndex(DayFileKind::Notes)].bytes);
}

std::array<QString, kHourRows> StoredPage::hours() const
{
    return HourRowsOf(linesOf(files[DayFileIndex(DayFileKind::TimeFields)].bytes));
}

QString DayStore::path(const QDate &date, DayFileKind kind) const
{
    return DayFilePath(m_folder, DayFileStem(date), kind, m_extension);
}

StoredPage DayStore::read(const QDate &date) const
{
    StoredPage page;
    for (std::size_t i = 0; i < kDayFileKinds.size(); ++i)
        page.files[i].bytes = ReadDayFileBytes(path(date, kDayFileKinds[i]));
    return page;
}

PageWrite DayStore::write(const QDate &date, PageFiles &files, const PageLines &lines) const
{
    PageWrite done;
    std::array<QString, 2> paths;
    std::array<std::optional<QByteArray>, 2> saved;
    try {
        QList<FileReplacement> writes;
        for (std::size_t i = 0; i < files.size(); ++i) {
            PageFile &file = files[i];
            paths[i] = path(date, kDayFileKinds[i]);
            // Read again before every write: another program may have written it since.
            const std::optional<QByteArray> now = ReadDayFileBytes(paths[i]);
            QByteArray bytes;
            if (!file.unsaved) {
                if (now) {
                    // Never written over: nothing was typed that it lacks.
                    if (now != file.bytes) {
                        file.bytes = now;
                        done.changedOutside[i] = true;
                    }
                    continue;
                }
                // A day on show gets its missing files; one another program deleted comes back
                // empty, as the page then shows it.
                done.changedOutside[i] = file.bytes.has_value();
                file.bytes.reset();
                bytes = EmptyDayFileBytes(kDayFileKinds[i]);
            } else {
                bytes = DayFileBytes(lines[i]);
                if (now && now != file.bytes && now != bytes) {
                    done.keptAs << KeepOutsideVersion(paths[i], *now, QDateTime::currentDateTime());
                    done.changedFiles << paths[i];
                }
            }
            if (now != bytes)
                writes.append({paths[i], bytes});
            saved[i] = bytes;
        }
        WriteDayFilesBytes(writes);
    } catch (const Error &error) {
        done.failure = error;
        // What was written before the failure is saved; the rest stays to be saved again.
        for (std::size_t i = 0; i < files.size(); ++i) {
            try {
                if (saved[i] && ReadDayFileBytes(paths[i]) != saved[i])
                    saved[i].reset();
            } catch (const Error &) {
                saved[i].reset();
            }
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (saved[i])
            files[i] = {saved[i], false};
    }
    return done;
}

QString DayStore::rescue(const QString &folder, const QDate &date, const QStringList &notes,
                         const std::array<QString, kHourRows> &hours, int startTime)
{
    const QString path = folder + u'/' + date.toString(u"yyyy-MM-dd") + u'_' +
                         QDateTime::currentDateTime().toString(kFileTimeStamp) + u".txt";
    QString text = DateToText(date) + u"\n\n";
    for (const QString &line : notes)
        text += line + u'\n';
    text += u'\n';
    const std::array<QString, kHourRows> labels = HourScaleLabels(startTime, laFrench);
    for (std::size_t row = 0; row < hours.size(); ++row)
        text += labels[row] + u' ' + hours[row] + u'\n';
    if (!QDir().mkpath(folder) || !ReplaceFileWhole(path, text.toUtf8()))
        throw CannotCreateFile(path);
    return path;
}

QList<DayFileEntry> DayStore::list(const QDate &nearDay) const
{
    return ListDayFiles(m_folder, m_extension, nearDay);
}

std::bitset<32> DayStore::daysWithText(int year, int month) const
{
    return DaysWithText(m_folder, m_extension, year, month);
}

void DayStore::purge(const QDate &today, int destroyDelay) const
{
    PurgeDayFiles(m_folder, m_extension, today, destroyDelay);
}

void DayStore::exportTo(const QString &file, int startTime, TLanguage language,
                        const QDate &today) const
{
    ExportNotes(m_folder, m_extension, file, startTime, language, today);
}

} // namespace ruvo
