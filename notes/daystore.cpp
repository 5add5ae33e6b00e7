// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "daystore.h"

#include "notes/dayfiles.h"
#include "notes/hourscale.h"
#include "notes/notesexport.h"

#include "calendar/datetext.h"
#include "platform/rescuefolder.h"
#include "platform/wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace ruvo {

namespace {

// How long, in milliseconds, a day file found emptied as the page replaces it is watched for
// the rest of its writer's write. Only that rare moment waits; a busy machine may keep the
// writer from its write for a while.
constexpr int kTruncatedFileWait = 250;

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
    std::array<std::size_t, 2> fileOfWrite{};
    // Each old file is looked at the moment ours takes its place: another program may have
    // written it since it was read below, while the new files were written and synced.
    const auto replaced = [&](qsizetype index, const QString &oldFile) {
        const std::size_t i = fileOfWrite[std::size_t(index)];
        PageFile &file = files[i];
        QByteArray bytes;
        WholeFileRead read = ReadFileWhole(oldFile, kMaxDayFileSize, bytes);
        if (read == WholeFileRead::NoPlainFile) {
            // A folder of that name is no version and is never replaced; a pipe or the like
            // holds no text and goes, unless the page only meant to make a missing file.
            return file.unsaved && !QFileInfo(oldFile).isDir();
        }
        if (!file.unsaved) {
            // Only a missing file is made: one that came meanwhile is shown instead.
            file.bytes = read == WholeFileRead::Read ? std::optional(bytes) : std::nullopt;
            done.changedOutside[i] = true;
            saved[i].reset();
            return true;
        }
        // Emptied since the page read it: most likely caught between a writer's truncation and
        // its write, which is given a moment to come.
        for (int wait = 0; read == WholeFileRead::Read && bytes.isEmpty() && file.bytes &&
                           !file.bytes->isEmpty() && wait < kTruncatedFileWait;
             ++wait) {
            QThread::msleep(1);
            read = ReadFileWhole(oldFile, kMaxDayFileSize, bytes);
        }
        // What the page read (unless it could not show all of it), what it writes and an empty
        // file hold nothing to keep. Anything else is kept as it is, moved rather than copied:
        // what its writer still puts into it goes there too.
        if (read == WholeFileRead::Read &&
            (bytes.isEmpty() || (bytes == file.bytes && !file.notShownWhole) || bytes == saved[i]))
            return true;
        done.keptAs << MoveOutsideVersion(paths[i], oldFile, QDateTime::currentDateTime());
        done.changedFiles << paths[i];
        return true;
    };
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
            }
            if (now != bytes) {
                fileOfWrite[std::size_t(writes.size())] = i;
                // An empty file made for a day on show holds nothing a crash could lose.
                writes.append({paths[i], bytes, !file.unsaved, file.unsaved});
            }
            saved[i] = bytes;
        }
        WriteDayFilesBytes(writes, replaced);
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
    const QString stem =
        date.toString(u"yyyy-MM-dd") + u'_' + QDateTime::currentDateTime().toString(kFileTimeStamp);
    QString text = DateToText(date) + u"\n\n";
    for (const QString &line : notes)
        text += line + u'\n';
    text += u'\n';
    const std::array<QString, kHourRows> labels = HourScaleLabels(startTime, laFrench);
    for (std::size_t row = 0; row < hours.size(); ++row)
        text += labels[row] + u' ' + hours[row] + u'\n';
    // Two copies of the program ending in the same second each get a file of their own.
    const QString path = WriteNewRescueFile(folder, stem, text.toUtf8());
    if (path.isEmpty())
        throw CannotCreateFile(folder + u'/' + stem + u".txt");
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

std::optional<Error> DayStore::purge(const QDate &today, int destroyDelay) const
{
    return PurgeDayFiles(m_folder, m_extension, today, destroyDelay);
}

std::optional<Error> DayStore::exportTo(const QString &file, int startTime, TLanguage language,
                                        const QDate &today, NotesAs notesAs,
                                        std::optional<int> alarmLead) const
{
    return ExportNotes(m_folder, m_extension, file, startTime, language, today, notesAs, alarmLead);
}

} // namespace ruvo
