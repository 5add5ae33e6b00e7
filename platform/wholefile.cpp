#include "wholefile.h"

#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
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

WholeFileWriter::~WholeFileWriter() = default;

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

bool WholeFileWriter::commit()
{
    const bool committed = m_open && (m_synced || sync()) && m_file->commit();
    m_open = false;
    return committed;
}

bool ReplaceFileWhole(const QString &path, QByteArrayView bytes)
{
    WholeFileWriter file(path);
    return file.write(bytes) && file.commit();
}

qsizetype ReplaceFilesWhole(const QList<FileReplacement> &files, qsizetype *failed)
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
        if (!saving[i]->sync()) {
            failing(qsizetype(i));
            return 0;
        }
    }
    qsizetype replaced = 0;
    for (const auto &temporary : saving) {
        if (!temporary->commit()) {
            failing(replaced);
            break;
        }
        ++replaced;
    }
    return replaced;
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
