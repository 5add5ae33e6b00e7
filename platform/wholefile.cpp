// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ruvo {

namespace {

// Bytes written are handed to the system and their write-back started every few MiB, so that
// the sync at the end of a long file waits for its last part only.
constexpr qint64 kWriteBackStep = 4 * 1024 * 1024;

bool syncToDisk(int descriptor)
{
    // The data and the size are what a reader needs; the rest of the inode may come later.
    // EINVAL and EROFS: a file that cannot be synced at all (not a disk file), not a failure.
    return ::fdatasync(descriptor) == 0 || errno == EINVAL || errno == EROFS;
}

bool isPlainFile(const QByteArray &name)
{
    struct stat status = {};
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// Reads to the end, at most limit bytes; false on a read error or when there is more.
bool readToEnd(int descriptor, qint64 expected, qint64 limit, QByteArray &bytes)
{
    // One byte more than expected shows the end at once; a file that grew since is read on.
    bytes.resize(qsizetype(std::min(expected, limit) + 1));
    qsizetype read = 0;
    for (;;) {
        if (read == bytes.size()) {
            if (read > limit)
                return false;
            bytes.resize(qsizetype(std::min<qint64>(2 * read, limit + 1)));
        }
        const ssize_t count = ::read(descriptor, bytes.data() + read, size_t(bytes.size() - read));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        read += count;
    }
    bytes.truncate(read);
    return true;
}

} // namespace

// QSaveFile keeps small writes in a buffer that it flushes inside commit(), where a failed
// flush goes unseen and the short file is renamed over the old one; it also ignores a failed
// sync. Both are done and checked here first. A QSaveFile destroyed without commit() removes
// its temporary file.
WholeFileWriter::WholeFileWriter(const QString &path) : m_file(std::make_unique<QSaveFile>(path))
{
    m_open = m_file->open(QIODevice::WriteOnly);
}

namespace {

// Where QSaveFile renames its temporary file to: a link's target, not the link.
QByteArray placeOf(const QString &path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
}

bool cannotExchangeHere(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Gives the open file a new hidden name beside target; empty when it cannot.
QString nameOpenFile(int descriptor, const QByteArray &target)
{
    const QByteArray open = "/proc/self/fd/" + QByteArray::number(descriptor);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.first(slash + 1);
    const QByteArray name = slash < 0 ? target : target.sliced(slash + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray hidden = folder + '.' + name + '-' +
                                  QByteArray::number(QRandomGenerator::global()->generate(), 36);
        if (::linkat(AT_FDCWD, open.constData(), AT_FDCWD, hidden.constData(), AT_SYMLINK_FOLLOW) ==
            0)
            return QFile::decodeName(hidden);
        if (errno != EEXIST)
            break;
    }
    return {};
}

} // namespace

WholeFileWriter::~WholeFileWriter()
{
    // An old file an exchange left is removed unless it was moved away; so is the name the
    // temporary file was given when it did not take the old file's place.
    if (!m_oldFile.isEmpty())
        ::unlink(QFile::encodeName(m_oldFile).constData());
    if (!m_temporaryPath.isEmpty())
        ::unlink(QFile::encodeName(m_temporaryPath).constData());
}

// QSaveFile renames by name only (its temporary file may even have none) and offers no
// exchange: the temporary file is given a name of its own here, from its descriptor, and put in
// place by that name. The QSaveFile then only closes it.
bool WholeFileWriter::place(Placing placing)
{
    const QByteArray to = placeOf(m_file->fileName());
    const QString temporary =
        placing == Placing::Rename ? QString() : nameOpenFile(m_file->handle(), to);
    if (temporary.isEmpty()) {
        if (placing == Placing::OnlyWhereMissing && QFileInfo::exists(m_file->fileName())) {
            m_leftExisting = true;
            return false;
        }
        return m_file->commit();
    }
    m_temporaryPath = temporary;
    const QByteArray from = QFile::encodeName(temporary);
    // An old file may come or go between the attempts; a few are enough to meet it either way.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (placing == Placing::Exchange) {
            if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(),
                            RENAME_EXCHANGE) == 0) {
                m_oldFile = std::exchange(m_temporaryPath, QString());
                return true;
            }
            if (cannotExchangeHere(errno))
                break;
            if (errno != ENOENT)
                return false;
        }
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0) {
            m_temporaryPath.clear();
            return true;
        }
        if (errno == EEXIST && placing == Placing::OnlyWhereMissing) {
            m_leftExisting = true;
            return false;
        }
        if (cannotExchangeHere(errno))
            break;
        if (errno != EEXIST)
            return false;
    }
    // A file system without these renames: looked at just before the plain one.
    if (placing == Placing::OnlyWhereMissing && QFileInfo::exists(m_file->fileName())) {
        m_leftExisting = true;
        return false;
    }
    return m_file->commit();
}

bool WholeFileWriter::undoExchange()
{
    if (m_oldFile.isEmpty())
        return false;
    const QByteArray from = QFile::encodeName(m_oldFile);
    const QByteArray to = placeOf(m_file->fileName());
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) != 0)
        return false;
    m_temporaryPath = std::exchange(m_oldFile, QString()); // ours now, and not to stay
    return true;
}

bool WholeFileWriter::fail()
{
    m_open = false;
    return false;
}

bool WholeFileWriter::write(QByteArrayView bytes)
{
    if (!m_open)
        return false;
    m_synced = false;
    if (m_file->write(bytes.data(), bytes.size()) != bytes.size())
        return fail();
    m_buffered += bytes.size();
    return m_buffered < kWriteBackStep || flush();
}

bool WholeFileWriter::flush()
{
    if (!m_open || !m_file->flush())
        return fail();
    // Only a hint: the sync is the checked one.
    if (m_buffered > 0)
        ::sync_file_range(m_file->handle(), m_flushed, 0, SYNC_FILE_RANGE_WRITE);
    m_flushed += m_buffered;
    m_buffered = 0;
    return true;
}

bool WholeFileWriter::sync()
{
    if (!flush() || !syncToDisk(m_file->handle()))
        return fail();
    m_synced = true;
    return true;
}

bool WholeFileWriter::commit(Placing placing, Sync sync)
{
    const bool committed =
        m_open && (m_synced || (sync == Sync::Skipped ? flush() : this->sync())) && place(placing);
    m_open = false;
    return committed;
}

bool ReplaceFileWhole(const QString &path, QByteArrayView bytes)
{
    WholeFileWriter file(path);
    return file.write(bytes) && file.commit();
}

qsizetype ReplaceFilesWhole(const QList<FileReplacement> &files, qsizetype *failed,
                            const ReplacedFile &replaced)
{
    const auto failing = [failed](qsizetype index) {
        if (failed)
            *failed = index;
    };
    std::vector<std::unique_ptr<WholeFileWriter>> saving;
    saving.reserve(std::size_t(files.size()));
    // Every file's data on its way to the disk before the first sync, so that the first sync's
    // commit of the file system's journal carries them all and the next syncs only wait for
    // the disk's cache.
    for (const FileReplacement &file : files) {
        auto &temporary = saving.emplace_back(std::make_unique<WholeFileWriter>(file.path));
        if (!temporary->write(file.bytes) || !temporary->flush()) {
            failing(qsizetype(saving.size()) - 1);
            return 0;
        }
    }
    for (std::size_t i = 0; i < saving.size(); ++i) {
        if (files.at(qsizetype(i)).synced && !saving[i]->sync()) {
            failing(qsizetype(i));
            return 0;
        }
    }
    qsizetype done = 0;
    for (auto &temporary : saving) {
        const FileReplacement &file = files.at(done);
        using Placing = WholeFileWriter::Placing;
        const Placing placing = file.onlyWhereMissing ? Placing::OnlyWhereMissing
                                : replaced            ? Placing::Exchange
                                                      : Placing::Rename;
        const auto sync =
            file.synced ? WholeFileWriter::Sync::First : WholeFileWriter::Sync::Skipped;
        if (!temporary->commit(placing, sync)) {
            if (!temporary->leftExisting()) {
                failing(done);
                break;
            }
            if (replaced && !replaced(done, file.path)) {
                failing(done);
                break;
            }
        } else if (!temporary->oldFile().isEmpty()) {
            // Until the old file is dealt with it must not go with the writer.
            bool dealtWith = false;
            try {
                dealtWith = replaced(done, temporary->oldFile());
            } catch (...) {
                temporary->undoExchange();
                throw;
            }
            if (!dealtWith) {
                temporary->undoExchange();
                failing(done);
                break;
            }
        }
        temporary.reset();
        ++done;
    }
    return done;
}

WholeFileRead ReadFileWhole(const QString &path, qint64 maxSize, QByteArray &bytes)
{
    bytes.clear();
    const QByteArray name = QFile::encodeName(path);
    // Opened without waiting: a pipe would wait for a writer. It is no plain file anyway.
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return isPlainFile(name) ? WholeFileRead::Failed : WholeFileRead::NoPlainFile;
    const auto closing = qScopeGuard([descriptor] { ::close(descriptor); });
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
        return WholeFileRead::Failed;
    if (!S_ISREG(status.st_mode))
        return WholeFileRead::NoPlainFile;
    if (status.st_size > maxSize)
        return WholeFileRead::Failed;
    // Reads of a plain file wait as they always do.
    if (::fcntl(descriptor, F_SETFL, 0) != 0 ||
        !readToEnd(descriptor, status.st_size, maxSize, bytes)) {
        bytes.clear();
        return WholeFileRead::Failed;
    }
    return WholeFileRead::Read;
}

} // namespace ruvo
