#include "dayfiles.h"

#include "platform/wholefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace ruvo {

Error CannotOpenFile(const QString &path)
{
    return Error(u"Ne peut ouvrir le fichier " + path);
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

// Into the desktop's trash, from where any file manager can restore it; deleted only where
// no trash can take it. A folder of that name is no day file and stays.
void removeDayFile(const QString &path, bool trashReady)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return;
    if (!trashReady || !QFile::moveToTrash(path))
        QFile::remove(path);
}

// The trash lives in the user's data folder. Qt finds no trash when that folder is missing,
// and then moves the file into the current folder instead, so it is made first.
bool prepareTrash()
{
    return QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace

void PurgeDayFiles(const QString &directory, const QString &extension, const QDate &today,
                   int destroyDelay)
{
    // The folder is listed once and only the files present are deleted: most days of the
    // window have nothing left to delete, and 730 failing removals cost more than one listing.
    QSet<QString> present;
    // Every kind of entry, as a removal by name would meet it: a directory is not removed.
    QDirIterator entries(directory + u'/',
                         QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext())
        present.insert(entries.nextFileInfo().fileName());

    std::optional<bool> trashReady;
    const QDate end = today.addDays(-destroyDelay);
    for (QDate day = today.addDays(-365); day < end; day = day.addDays(1)) {
        const QString stem = DayFileStem(day);
        for (const DayFileKind kind : {DayFileKind::TimeFields, DayFileKind::Notes}) {
            const QString path = DayFilePath(directory, stem, kind, extension);
            const QString name = path.sliced(directory.size() + 1);
            // A name that reaches into a subfolder cannot be found by the listing.
            if (present.contains(name) || name.contains(u'/')) {
                if (!trashReady)
                    trashReady = prepareTrash();
                removeDayFile(path, *trashReady);
            }
        }
    }
}

} // namespace ruvo
