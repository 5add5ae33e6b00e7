// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;

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
    // Made only where no file of that name is; one that is there is left as it is.
    bool onlyWhereMissing = false;
    // Waited for on the disk before it takes its place. A file whose loss in a crash loses
    // nothing (an empty file made where one was missing) need not wait: the commit of the file
    // system's journal that a sync forces carries every change the machine has not yet written.
    bool synced = true;
};

// Told, for the file of that index, of the old file the new one met the moment it took its
// place: at oldFile lies, until the call returns, the very file that was replaced (removed then,
// unless the call moved it), or, for a file made only where missing, the one that was there and
// stays. False fails the replacement, a replaced old file put back first.
using ReplacedFile = std::function<bool(qsizetype index, const QString &oldFile)>;

// Replaces several files as ReplaceFileWhole does each, with one disk commit for all of them
// rather than one each. Every temporary file is written and synced (all checked; those not
// synced only written) before the first rename: when that fails for any of them, no file is
// replaced. Returns how many files were replaced (or left, being made only where missing), in
// order; a rename that fails stops there and leaves the rest untouched. The file that failed, if
// any, is told by its index in failed. With replaced, each old file is handed over as the new one
// takes its place (an atomic exchange), so that nothing another program wrote up to that moment
// goes unseen.
qsizetype ReplaceFilesWhole(const QList<FileReplacement> &files, qsizetype *failed = nullptr,
                            const ReplacedFile &replaced = {});

// Replaces the file at path whole or not at all, as ReplaceFileWhole does, with bytes written
// as they are made, for a file too large to be made in memory first (a folder's export): they
// go to a temporary file in the same folder, every write is checked, and commit() flushes,
// syncs and renames it over the old file. Until commit() has succeeded an old file of that
// name stays byte for byte as it was; destroyed before, the writer leaves no temporary file.
class WholeFileWriter final
{
public:
    explicit WholeFileWriter(const QString &path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter &) = delete;
    WholeFileWriter &operator=(const WholeFileWriter &) = delete;

    // Appends bytes. False when they or any before could not be written, or the temporary file
    // could not be made; after a failure every call fails.
    bool write(QByteArrayView bytes);
    // Hands every byte written to the system and starts sending them to the disk, without
    // waiting (a hint, so that the sync that follows has less to wait for).
    bool flush();
    // Flushes and waits until the bytes are on the disk.
    bool sync();
    // How commit() puts the new file in place.
    enum class Placing : quint8 {
        Rename,           // renamed over the old file
        Exchange,         // exchanged with the old file, which then lies at oldFile()
        OnlyWhereMissing, // renamed only where no file of that name is; one there is left
    };
    // Syncs, unless nothing was written since the last sync or unless told not to (the file
    // is then only flushed), then puts the temporary file in place. The writer takes nothing
    // more after it, whatever it returns. False when it failed, or when a file made only where
    // missing found one (leftExisting()).
    enum class Sync : quint8 { First, Skipped };
    bool commit(Placing placing = Placing::Rename, Sync sync = Sync::First);
    bool leftExisting() const { return m_leftExisting; }
    // After an exchange that met an old file: where that file lies until the writer goes (and
    // is removed then, unless it was moved away).
    const QString &oldFile() const { return m_oldFile; }
    // Puts the old file back in its place, the new one going instead; false when it cannot.
    bool undoExchange();

private:
    bool fail();
    bool place(Placing placing);

    std::unique_ptr<QSaveFile> m_file;
    QString m_temporaryPath;
    QString m_oldFile;
    bool m_leftExisting = false;
    bool m_open = false; // made, nothing failed and not yet committed
    bool m_synced = false;
    qint64 m_flushed = 0;  // bytes handed to the system
    qint64 m_buffered = 0; // bytes written since
};

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
