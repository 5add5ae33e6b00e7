#include "wholefile.h"

#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace ruvo {

namespace {

bool syncToDisk(int descriptor)
{
    // The data and the size are what a reader needs; the rest of the inode may come later.
    // EINVAL and EROFS: a file that cannot be synced at all (not a disk file), not a failure.
    return ::fdatasync(descriptor) == 0 || errno == EINVAL || errno == EROFS;
}

} // namespace

bool ReplaceFileWhole(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile keeps small writes in a buffer that it flushes inside commit(), where a failed
    // flush goes unseen and the short file is renamed over the old one; it also ignores a
    // failed sync. Both are done and checked here first. Returning without commit() removes
    // the temporary file.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush() ||
        !syncToDisk(file.handle()))
        return false;
    return file.commit();
}

} // namespace ruvo
