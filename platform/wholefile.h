#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace ruvo {

// Replaces the file at path by bytes, whole or not at all: the bytes go to a temporary file in
// the same folder, every write, the flush and the sync are checked, and only then is it renamed
// over the old file. False on any failure (a full disk, an input/output error, a file size
// limit, a folder that is gone or refuses writes); an old file of that name is then left
// byte for byte as it was and no temporary file stays behind.
bool ReplaceFileWhole(const QString &path, QByteArrayView bytes);

// One file to replace: where, and with what.
struct FileReplacement
{
    QString path;
    QByteArray bytes;
};

// Replaces several files as ReplaceFileWhole does each, with one disk commit for all of them
// rather than one each. Every temporary file is written and synced (all checked) before the
// first rename: when that fails for any of them, no file is replaced. Returns how many files
// were replaced, in order; a rename that fails stops there and leaves the rest untouched. The
// file that failed, if any, is told by its index in failed.
qsizetype ReplaceFilesWhole(const QList<FileReplacement> &files, qsizetype *failed = nullptr);

// What reading a file whole found.
enum class WholeFileRead : quint8 {
    Read,        // bytes hold the file
    NoPlainFile, // nothing of that name, or no plain file: a folder, a pipe, a device
    Failed,      // a plain file that cannot be opened or read, or holds more than allowed
};

// Reads the plain file at path (or the one a link leads to) whole into bytes, if it holds at
// most maxSize bytes; a larger one is left unread. A pipe or a device of that name is never
// waited on. One open, one status and the reads: what is read by the thousand pays no more.
WholeFileRead ReadFileWhole(const QString &path, qint64 maxSize, QByteArray &bytes);

} // namespace ruvo
