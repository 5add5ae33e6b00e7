// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dayfiles.h"

#include "notes/dayfilefolder.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace ruvo {

Error CannotOpenFile(const QString &path)
{
    return Error(u"Ne peut ouvrir le fichier " + path);
}

Error CannotOpenFiles(const QStringList &paths)
{
    if (paths.size() == 1)
        return CannotOpenFile(paths.first());
    return Error(u"Ne peut ouvrir les fichiers " + paths.join(u", "));
}

Error CannotCreateFile(const QString &path)
{
    return Error(u"Ne peut créer le fichier " + path);
}

std::optional<QByteArray> ReadDayFileBytes(const QString &path)
{
    QByteArray bytes;
    switch (ReadFileWhole(path, kMaxDayFileSize, bytes)) {
    case WholeFileRead::Read:
        return bytes;
    case WholeFileRead::NoPlainFile:
        return std::nullopt;
    case WholeFileRead::Failed:
        break;
    }
    throw CannotOpenFile(path);
}

void WriteDayFilesBytes(const QList<FileReplacement> &files, const ReplacedFile &replaced)
{
    // A file the reader would refuse is never written: its day could no longer be opened.
    for (const FileReplacement &file : files) {
        if (file.bytes.size() > kMaxDayFileSize)
            throw CannotCreateFile(file.path);
    }
    qsizetype failed = 0;
    if (ReplaceFilesWhole(files, &failed, replaced) != files.size())
        throw CannotCreateFile(files.at(failed).path);
}

namespace {

// The nth name for an outside version of the day file at path, at stamp.
QString outsideVersionPath(const QString &path, const QString &stamp, int n)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot < 0 ? name : name.first(dot);
    const QString extension = dot < 0 ? QString() : name.sliced(dot);
    return info.dir().filePath(base + u"-autre-" + stamp +
                               (n > 1 ? u'-' + QString::number(n) : QString()) + extension);
}

} // namespace

QString KeepOutsideVersion(const QString &path, const QByteArray &bytes, const QDateTime &now)
{
    const QString stamp = now.toString(kFileTimeStamp);
    QString kept;
    for (int n = 1;; ++n) {
        kept = outsideVersionPath(path, stamp, n);
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink())
            break;
    }
    if (!ReplaceFileWhole(kept, bytes))
        throw CannotCreateFile(kept);
    return kept;
}

QString MoveOutsideVersion(const QString &path, const QString &file, const QDateTime &now)
{
    const QString stamp = now.toString(kFileTimeStamp);
    const QByteArray from = QFile::encodeName(file);
    for (int n = 1;; ++n) {
        const QString kept = outsideVersionPath(path, stamp, n);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(kept).constData(),
                        RENAME_NOREPLACE) == 0)
            return kept;
        if (errno != EEXIST)
            throw CannotCreateFile(kept);
    }
}

namespace {

// Whatever the clock says, the days of the last month up to the newest day with text stay.
constexpr int kDaysKeptBeforeNewest = 30;

// Where the trash keeps what a file manager needs to put back the file it holds at inTrash.
QString trashInformationPath(const QString &inTrash)
{
    const QFileInfo file(inTrash);
    return QFileInfo(file.absolutePath()).absolutePath() + u"/info/" + file.fileName() +
           u".trashinfo";
}

// Whether that information was written whole: on a full disk it is made, but empty or cut.
bool hasTrashInformation(const QString &inTrash)
{
    constexpr qint64 kMaxInformation = 64 * 1024;
    QByteArray bytes;
    return ReadFileWhole(trashInformationPath(inTrash), kMaxInformation, bytes) ==
               WholeFileRead::Read &&
           bytes.startsWith("[Trash Info]\n") && bytes.contains("\nPath=") &&
           bytes.contains("\nDeletionDate=") && bytes.endsWith('\n');
}

enum class Trashing { Moved, Refused, Unrestorable };

// The desktop's trash (freedesktop.org), from where any file manager can restore a file, used
// through Qt with its traps kept away: Qt 6.4 moves the file into the current folder when it
// finds no trash, waits forever on a trash whose folders take no file, and leaves a file in it
// without its information when that cannot be written (a full disk).
class Trash final
{
public:
    // The trash folders a file of folder may go to: the home trash and, for a file on another
    // disk, the two at the top of that disk.
    explicit Trash(const QString &folder)
    {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        m_folders << QDir::cleanPath(data + u"/Trash");
        const QStorageInfo disk(folder);
        if (disk.isValid() && disk != QStorageInfo(QDir::home())) {
            const QDir top(disk.rootPath());
            const QString user = QString::number(::getuid());
            m_folders << QDir::cleanPath(top.filePath(u".Trash/" + user))
                      << QDir::cleanPath(top.filePath(u".Trash-" + user));
        }
        m_usable = QDir().mkpath(data) &&
                   std::all_of(m_folders.cbegin(), m_folders.cend(), [&](const QString &trash) {
                       return canTake(trash, trash == m_folders.first());
                   });
    }

    bool usable() const { return m_usable; }

    // Moves the file at path into the trash. One the trash holds where no file manager finds
    // it, or without the information to restore it, is put back where it was.
    Trashing take(const QString &path, QString *inTrash) const
    {
        if (!m_usable || !QFile::moveToTrash(path, inTrash))
            return Trashing::Refused;
        if (holds(*inTrash) && hasTrashInformation(*inTrash))
            return Trashing::Moved;
        putBack(*inTrash, path);
        return Trashing::Unrestorable;
    }

    // Gives a file the trash took back to where it was, with no trace left in the trash.
    static void putBack(const QString &inTrash, const QString &path)
    {
        if (QFile::rename(inTrash, path))
            QFile::remove(trashInformationPath(inTrash));
    }

private:
    // A trash folder that is there must take files into its two folders; a missing one is made
    // when needed, the home trash in a data folder that takes it.
    static bool canTake(const QString &trash, bool home)
    {
        const QFileInfo info(trash);
        if (!info.exists() && !info.isSymLink())
            return !home || QFileInfo(info.absolutePath()).isWritable();
        if (!info.isDir() || !info.isWritable())
            return false;
        for (const QStringView part : {u"/files", u"/info"}) {
            const QFileInfo folder(trash + part);
            if (folder.exists() ? !(folder.isDir() && folder.isWritable()) : folder.isSymLink())
                return false;
        }
        return true;
    }

    bool holds(const QString &inTrash) const
    {
        const QString folder = QFileInfo(inTrash).absolutePath();
        return std::any_of(m_folders.cbegin(), m_folders.cend(),
                           [&](const QString &trash) { return folder == trash + u"/files"; });
    }

    QStringList m_folders;
    bool m_usable = false;
};

// The newest day whose files hold text; invalid when there is none.
QDate newestDayWithText(const QString &directory, const QString &extension, const QDate &today)
{
    for (const DayFileEntry &entry : ListDayFiles(directory, extension, today)) {
        if (DayFileHasText(entry.kind, QFileInfo(entry.path).size()))
            return entry.date;
    }
    return {};
}

Error notMovedToTrash(const QString &directory, qsizetype count)
{
    const QString folder = QDir::cleanPath(directory);
    if (count == 1)
        return Error(u"Ne peut mettre à la corbeille 1 ancien fichier de notes du dossier " +
                     folder + u" : il y reste.");
    return Error(u"Ne peut mettre à la corbeille " + QString::number(count) +
                 u" anciens fichiers de notes du dossier " + folder + u" : ils y restent.");
}

} // namespace

bool MoveToTrash(const QString &folder, const QString &path)
{
    QString inTrash;
    return Trash(folder).take(path, &inTrash) == Trashing::Moved;
}

std::optional<Error> PurgeDayFiles(const QString &directory, const QString &extension,
                                   const QDate &today, int destroyDelay, const PurgeGuard &guard)
{
    // The folder is listed once and only the files present are moved: most days of the
    // window have nothing left to move, and 730 failing moves cost more than one listing.
    QSet<QString> present;
    // Every kind of entry, as a removal by name would meet it: a directory is not removed.
    QDirIterator entries(directory + u'/',
                         QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext())
        present.insert(entries.nextFileInfo().fileName());
    if (present.isEmpty())
        return std::nullopt;

    // A clock far ahead would take the last days written for old ones: whatever the clock
    // says, the days up to the newest one with text are kept as if it were the day after it.
    QDate end = today.addDays(-destroyDelay);
    if (const QDate newest = newestDayWithText(directory, extension, today); newest.isValid())
        end = std::min(end, newest.addDays(1 - std::max(kDaysKeptBeforeNewest, destroyDelay)));

    // Oldest day first, and its hours before its notes.
    QList<std::pair<QDate, QStringList>> expired;
    for (QDate day = today.addDays(-365); day < end; day = day.addDays(1)) {
        const QString stem = DayFileStem(day);
        QStringList files;
        for (const DayFileKind kind : {DayFileKind::TimeFields, DayFileKind::Notes}) {
            const QString path = DayFilePath(directory, stem, kind, extension);
            const QString name = path.sliced(path.size() - (stem.size() + 2 + extension.size()));
            // A name that reaches into a subfolder cannot be found by the listing. A folder, or a
            // link that leads nowhere, holds no notes and stays.
            if (!present.contains(name) && !name.contains(u'/'))
                continue;
            if (QFileInfo(path).isFile())
                files << path;
        }
        if (!files.isEmpty())
            expired.append({day, files});
    }
    if (expired.isEmpty())
        return std::nullopt;

    // Never deleted: a file the trash cannot take stays where it is. A trash that keeps files
    // where they cannot be given back is not used any further.
    const Trash trash(directory);
    bool allMoved = trash.usable();
    QSet<QDate> kept;
    for (const auto &[day, files] : std::as_const(expired)) {
        if (!trash.usable())
            break;
        if (guard.keep && guard.keep(day)) {
            kept.insert(day);
            continue;
        }
        QList<std::pair<QString, QString>> moved; // where each file was, where it is now
        bool unrestorable = false;
        for (const QString &path : files) {
            QString inTrash;
            const Trashing trashing = trash.take(path, &inTrash);
            if (trashing == Trashing::Moved)
                moved.append({path, inTrash});
            allMoved = allMoved && trashing == Trashing::Moved;
            unrestorable = trashing == Trashing::Unrestorable;
            if (unrestorable)
                break;
        }
        // The page turned to the day while its files went: they come back as they were.
        if (guard.bringBack && guard.bringBack(day)) {
            for (const auto &[path, inTrash] : std::as_const(moved))
                Trash::putBack(inTrash, path);
        }
        if (unrestorable)
            break;
    }
    if (allMoved)
        return std::nullopt;
    // The files of the days kept are not among those that stayed: the page wanted them.
    qsizetype stayed = 0;
    for (const auto &[day, files] : std::as_const(expired)) {
        if (!kept.contains(day))
            stayed += std::count_if(files.cbegin(), files.cend(),
                                    [](const QString &path) { return QFileInfo(path).isFile(); });
    }
    return notMovedToTrash(directory, stayed);
}

} // namespace ruvo
