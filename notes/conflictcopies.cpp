// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "conflictcopies.h"

#include "dayfilefolder.h"
#include "dayfiles.h"
#include "daystore.h"

#include "calendar/datetext.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace ruvo {

namespace {

const QString kSeparator = QStringLiteral(" / ");

// What each sync tool adds to the day file's stem.
const QRegularExpression &conflictPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9]{6}[NT])(?:\\.sync-conflict-[0-9]{8}-[0-9]{6}-[A-Za-z0-9]+"
        "| \\(conflicted copy [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{6}\\)"
        "| \\([^()/]*'s conflicted copy [0-9]{4}-[0-9]{2}-[0-9]{2}(?: \\([0-9]+\\))?\\))\\.(.+)$"));
    return pattern;
}

QStringList withoutBlankEnds(QStringList lines)
{
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

std::optional<QString> ConflictCopyStem(QStringView fileName, QStringView extension)
{
    const QRegularExpressionMatch match = conflictPattern().match(fileName.toString());
    if (!match.hasMatch() || match.capturedView(2) != extension)
        return std::nullopt;
    return match.captured(1);
}

QStringList MergeNotesLines(const QStringList &ours, const QStringList &theirs)
{
    QStringList merged = withoutBlankEnds(ours);
    for (const QString &line : theirs) {
        if (!line.trimmed().isEmpty() && !merged.contains(line))
            merged << line;
    }
    return merged;
}

std::array<QString, kHourRows> MergeHourRows(const std::array<QString, kHourRows> &ours,
                                             const std::array<QString, kHourRows> &theirs,
                                             QStringList &overflow)
{
    std::array<QString, kHourRows> merged = ours;
    for (std::size_t row = 0; row < merged.size(); ++row) {
        const QString &mine = ours[row];
        const QString &other = theirs[row];
        if (other.trimmed().isEmpty() || mine == other || mine.split(kSeparator).contains(other))
            continue;
        if (mine.trimmed().isEmpty())
            merged[row] = other;
        else if (mine.size() + kSeparator.size() + other.size() <= kTimeFieldMaxLength)
            merged[row] = mine + kSeparator + other;
        else if (!overflow.contains(other))
            overflow << other; // a row holds no more: nothing is cut
    }
    return merged;
}

void ConflictMerge::add(const ConflictMerge &other)
{
    merged += other.merged;
    stayed += other.stayed;
    if (!failure)
        failure = other.failure;
}

QString ConflictMerge::message() const
{
    QStringList lines;
    if (!merged.isEmpty())
        lines << u"Copies de conflit d'un outil de synchronisation fusionnées dans leurs pages : " +
                     merged.join(QStringLiteral(", ")) + u'.';
    if (!stayed.isEmpty())
        lines << u"Ne peut mettre à la corbeille " + stayed.join(QStringLiteral(", ")) +
                     u" : elles restent dans le dossier, déjà fusionnées.";
    if (failure)
        lines << failure->message();
    return lines.join(u'\n');
}

QStringList ConflictCopyNames(const QString &folder, QStringView extension)
{
    QStringList names;
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return names;
    while (const dirent *entry = ::readdir(directory)) {
        if (std::strstr(entry->d_name, "conflict") == nullptr ||
            (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN))
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (ConflictCopyStem(name, extension))
            names << name;
    }
    ::closedir(directory);
    return names;
}

QStringList ConflictCopyFinder::names(const DayStore &store)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(store.folder()).constData(), &status) != 0)
        return {};
    const std::pair<qint64, qint64> changed{status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
    if (m_folder != store.folder() || m_extension != store.extension() || m_changed != changed) {
        m_folder = store.folder();
        m_extension = store.extension();
        m_changed = changed;
        m_names = ConflictCopyNames(m_folder, m_extension);
    }
    return m_names;
}

ConflictMerge MergeConflictCopies(const DayStore &store, const QDate &date)
{
    return MergeConflictCopies(store, date, ConflictCopyNames(store.folder(), store.extension()));
}

ConflictMerge MergeConflictCopies(const DayStore &store, const QDate &date,
                                  const QStringList &copyNames)
{
    ConflictMerge done;
    const QDir folder(store.folder());
    const QString stem = DayFileStem(date);
    std::array<QStringList, 2> copies; // in the order of kDayFileKinds
    for (const QString &name : copyNames) {
        const std::optional<QString> of = ConflictCopyStem(name, store.extension());
        if (of && of->startsWith(stem) && of->size() == stem.size() + 1)
            copies[of->endsWith(u'N') ? 0 : 1] << folder.filePath(name);
    }
    if (copies[0].isEmpty() && copies[1].isEmpty())
        return done;

    try {
        StoredPage page = store.read(date);
        const QStringList readNotes = page.notes();
        const std::array<QString, kHourRows> readHours = page.hours();
        QStringList notes = readNotes;
        std::array<QString, kHourRows> hours = readHours;
        for (const QString &copy : copies[0])
            notes =
                MergeNotesLines(notes, DayFileLines(ReadDayFileBytes(copy).value_or(QByteArray())));
        QStringList overflow;
        for (const QString &copy : copies[1]) {
            const QStringList rows = DayFileLines(ReadDayFileBytes(copy).value_or(QByteArray()));
            std::array<QString, kHourRows> theirs;
            for (qsizetype i = 0; i < rows.size() && i < kHourRows; ++i)
                theirs[std::size_t(i)] = rows[i];
            hours = MergeHourRows(hours, theirs, overflow);
            overflow +=
                rows.mid(kHourRows); // rows past the last hour are notes, as the page reads them
        }
        notes = MergeNotesLines(notes, overflow);
        PageLines lines{notes, QStringList(hours.cbegin(), hours.cend())};
        page.files[DayFileIndex(DayFileKind::Notes)].unsaved = notes != readNotes;
        page.files[DayFileIndex(DayFileKind::TimeFields)].unsaved = hours != readHours;
        const PageWrite written = store.write(date, page.files, lines);
        if (written.failure) {
            done.failure = written.failure;
            return done;
        }
    } catch (const Error &error) {
        done.failure = error;
        return done;
    }
    for (const QStringList &ofKind : copies) {
        for (const QString &copy : ofKind) {
            const QString name = QFileInfo(copy).fileName() + u" (" + DateToText(date) + u')';
            done.merged << name;
            if (!MoveToTrash(store.folder(), copy))
                done.stayed << name;
        }
    }
    return done;
}

ConflictMerge MergeAllConflictCopies(const DayStore &store, const QDate &nearDay,
                                     const std::function<bool(const QDate &)> &skip)
{
    const QStringList names = ConflictCopyNames(store.folder(), store.extension());
    QMap<QDate, bool> days;
    for (const QString &name : names) {
        const QString stem = ConflictCopyStem(name, store.extension()).value_or(QString());
        const QDate date = DateOfStem(QStringView(stem).first(6), nearDay);
        if (date.isValid() && !(skip && skip(date)))
            days.insert(date, true);
    }
    ConflictMerge done;
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        done.add(MergeConflictCopies(store, it.key(), names));
    return done;
}

} // namespace ruvo
