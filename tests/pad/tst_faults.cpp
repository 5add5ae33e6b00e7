// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the pad does when the disk misbehaves: the program goes on, says what failed, and keeps
// every byte the user typed.

#include "errorof.h"
#include "fullfilesystem.h"

#include "padtestsupport.h"

#include "notes/daystore.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include "calendar/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ruvo;
using padtest::bytesOf;
using padtest::kNextCorner;
using padtest::kPriorCorner;
using padtest::PadOnDisk;
using padtest::writeBytes;
using ruvo::testing::errorOf;
using ruvo::testing::FullFileSystem;

namespace {

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
}

// Runs work in a child process whose files cannot grow beyond limit bytes, as on a full disk.
// The child hands back the message of the error it met, or "no error".
QString messageInChildWithFileSizeLimit(rlim_t limit, const std::function<void()> &work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlimit fileSize{limit, limit};
        signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
        const QByteArray message = setrlimit(RLIMIT_FSIZE, &fileSize) != 0
                                       ? QByteArray("<no limit>")
                                       : errorOf(work).toUtf8();
        const bool sent = write(channel[1], message.constData(), size_t(message.size())) ==
                          ssize_t(message.size());
        _exit(sent ? 0 : 1); // no exit handlers: the parent's objects are not the child's
    }
    close(channel[1]);
    QByteArray received;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        received.append(buffer, n);
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed>");
    return received.isEmpty() ? QStringLiteral("no error") : QString::fromUtf8(received);
}

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void unreadableDayFile_pageStaysEmptyAndFileKept_data();
    void unreadableDayFile_pageStaysEmptyAndFileKept();
    void hugeNotesFile_isRefusedAndKept();
    void fullPage_comesBackWhole_data();
    void fullPage_comesBackWhole();
    void directoryIsAFile_saveFailsAndTextStays();
    void folderRefusesWrites_saveFailsAndTextStays();
    void fullDisk_oldFileStaysWhole_data();
    void fullDisk_oldFileStaysWhole();
    void fullFileSystem_turnFailsAndOldFileStays_data();
    void fullFileSystem_turnFailsAndOldFileStays();
    void notADate_keepsDateAndTypedText_data();
    void notADate_keepsDateAndTypedText();
};

void FaultsTest::unreadableDayFile_pageStaysEmptyAndFileKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no read permission") << u"permission"_qs;
    // Reading the process's memory from its start fails with an input/output error; unlike
    // permissions, this holds for root too.
    QTest::newRow("read error") << u"read error"_qs;
}

// The page of a date whose notes cannot be read opens empty and cannot be typed on, so nothing
// is ever saved over the file; the text typed on the page before is saved under its own date.
void FaultsTest::unreadableDayFile_pageStaysEmptyAndFileKept()
{
    QFETCH(QString, kind);
    PadOnDisk p(u"05/03/1998"_qs);
    const QString path = p.notes(u"06/03/1998"_qs);
    if (kind == u"permission") {
        writeBytes(path, "written before\r\n");
        QVERIFY(QFile::setPermissions(path, {}));
        if (QFile probe(path); probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not bind this user (root): covered by the read error row");
    } else {
        QVERIFY(QFile::link(u"/proc/self/mem"_qs, path));
    }
    p.type(QStringLiteral("typed on the 5th"));

    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(), ruvo::testing::cannotOpen(path));
    QCOMPARE(bytesOf(p.notes(u"05/03/1998"_qs)), QByteArray("typed on the 5th\r\n"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());

    p.type(QStringLiteral("lost?"));
    p.pad.TimeFields(1)->setFocus();
    QTest::keyClicks(p.pad.TimeFields(1), QStringLiteral("lost?"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    QCOMPARE(p.pad.TimeFields(1)->text(), QString());
    QVERIFY(!p.pad.hasUnsavedNotes());

    p.clickAt(kNextCorner); // nothing to save: the page turns
    QCOMPARE(p.pad.Date(), QStringLiteral("07/03/1998"));
    QVERIFY(!QFile::exists(p.pad.timeFieldsFilePath(u"06/03/1998"_qs)));
    if (kind == u"permission") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(bytesOf(path), QByteArray("written before\r\n"));
    } else {
        QCOMPARE(QFileInfo(path).symLinkTarget(), QStringLiteral("/proc/self/mem"));
    }
    p.type(QStringLiteral("the 7th can be typed on"));
    QVERIFY(p.pad.hasUnsavedNotes());
    p.clickAt(kPriorCorner);
    QCOMPARE(bytesOf(p.notes(u"07/03/1998"_qs)), QByteArray("the 7th can be typed on\r\n"));
    p.clickAt(kPriorCorner);
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("typed on the 5th"));
}

// Far more than a page holds: not read at all, reported, and never replaced by a save.
void FaultsTest::hugeNotesFile_isRefusedAndKept()
{
    PadOnDisk p(u"05/03/1998"_qs);
    const QString path = p.notes(u"06/03/1998"_qs);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray line = QByteArray("une ligne de notes parmi beaucoup d'autres\r\n");
        const QByteArray block = line.repeated(20000);
        while (file.size() < 50 * 1024 * 1024)
            QCOMPARE(file.write(block), block.size());
    }
    const QByteArray before = hashOf(path);

    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(), ruvo::testing::cannotOpen(path));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());
    p.type(QStringLiteral("x"));
    QVERIFY(!p.pad.hasUnsavedNotes());

    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("07/03/1998"));
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(hashOf(path), before);
}

void FaultsTest::fullPage_comesBackWhole_data()
{
    QTest::addColumn<QString>("text");
    QString paragraph;
    for (int i = 0; paragraph.size() < 32000; ++i)
        paragraph += QStringLiteral("mot%1 ").arg(i);
    QTest::newRow("one paragraph of words") << paragraph.left(32000);
    QTest::newRow("a wide character per line") << QString(u"日\n"_qs.repeated(16000)).left(31999);
}

// A page typed to its limit is stored as its wrapped rows, so it comes back with a line break
// per row: more characters than can be typed. All of them stay, and saving again writes the
// same bytes.
void FaultsTest::fullPage_comesBackWhole()
{
    QFETCH(QString, text);
    PadOnDisk p(u"05/03/1998"_qs);
    p.pad.NotesMemo()->setPlainText(text);
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), text);
    p.pad.SaveNotes();
    const QByteArray saved = bytesOf(p.notes(u"05/03/1998"_qs));

    p.clickAt(kNextCorner);
    p.clickAt(kPriorCorner);
    QCOMPARE(p.errors.count(), 0);
    const auto withoutBreaks = [](QString s) {
        return s.remove(u'\n').remove(u' ');
    };
    QCOMPARE(withoutBreaks(p.pad.NotesMemo()->toPlainText()), withoutBreaks(text));
    p.pad.SaveNotes();
    QCOMPARE(bytesOf(p.notes(u"05/03/1998"_qs)), saved);
}

void FaultsTest::directoryIsAFile_saveFailsAndTextStays()
{
    PadOnDisk p(u"05/03/1998"_qs);
    const QString notAFolder = p.dir.filePath(u"notes"_qs);
    writeBytes(notAFolder, "a file, not a folder");
    p.pad.setDirectory(notAFolder);
    p.pad.LoadNotes(); // no day files there: an empty page, no error
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QString());

    p.type(QStringLiteral("precious"));
    p.clickAt(kNextCorner);
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(),
             ruvo::testing::cannotCreate(notAFolder + u"/050398N.ruv"));
    QCOMPARE(p.pad.Date(), QStringLiteral("05/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("precious"));
    QCOMPARE(bytesOf(notAFolder), QByteArray("a file, not a folder"));

    // Once the folder is there, the same turn saves the text under its date.
    QVERIFY(QFile::remove(notAFolder));
    QVERIFY(QDir().mkdir(notAFolder));
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(bytesOf(p.notes(u"05/03/1998"_qs)), QByteArray("precious\r\n"));
}

// The folder cannot be written to. Where permission bits do not bind (the tests run as root),
// the notes file's name is taken by a folder instead, which no rename can replace.
void FaultsTest::folderRefusesWrites_saveFailsAndTextStays()
{
    PadOnDisk p(u"05/03/1998"_qs);
    const QString notes = p.notes(u"05/03/1998"_qs);
    const QString rows = p.pad.timeFieldsFilePath(u"05/03/1998"_qs);
    writeBytes(rows, "old row\r\n");
    p.pad.LoadNotes();
    p.type(QStringLiteral("precious"));

    const auto writable = QFile::permissions(p.dir.path());
    QVERIFY(QFile::setPermissions(p.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool bitsBind = !QFile(p.dir.filePath(u"probe"_qs)).open(QIODevice::WriteOnly);
    if (!bitsBind) {
        QVERIFY(QFile::setPermissions(p.dir.path(), writable));
        QVERIFY(QFile::remove(p.dir.filePath(u"probe"_qs)));
        QVERIFY(QDir().mkdir(notes));
    }
    p.clickAt(kNextCorner);
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(), ruvo::testing::cannotCreate(notes));
    QCOMPARE(p.pad.Date(), QStringLiteral("05/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("precious"));
    QCOMPARE(bytesOf(rows), QByteArray("old row\r\n"));

    // Writable again, the same turn saves the text under its date.
    QVERIFY(QFile::setPermissions(p.dir.path(), writable));
    if (!bitsBind)
        QVERIFY(QDir().rmdir(notes));
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(bytesOf(notes), QByteArray("precious\r\n"));
}

void FaultsTest::fullDisk_oldFileStaysWhole_data()
{
    QTest::addColumn<int>("room");
    QTest::newRow("no room at all") << 0;
    QTest::newRow("room for part of the page") << 4096;
}

void FaultsTest::fullDisk_oldFileStaysWhole()
{
    QFETCH(int, room);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    const QDate day(1998, 3, 6);
    const QString path = store.path(day, DayFileKind::Notes);
    const QByteArray old = QByteArray("ancienne note\r\n").repeated(40);
    writeBytes(path, old);
    // Typed on, as the page writes it, with its hour file still to be made.
    const QStringList page(2000, QStringLiteral("une nouvelle ligne bien plus longue"));
    const auto write = [&] {
        PageFiles files;
        files[DayFileIndex(DayFileKind::Notes)] = {old, true};
        if (const PageWrite written = store.write(day, files, {page, {}}); written.failure)
            throw *written.failure;
    };

    const QString message = messageInChildWithFileSizeLimit(rlim_t(room), write);
    QCOMPARE(message, ruvo::testing::cannotCreate(path));
    QCOMPARE(bytesOf(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"060398N.ruv"_qs});
    // With room again the same page is written whole.
    write();
    QCOMPARE(store.read(day).notes(), page);
}

void FaultsTest::fullFileSystem_turnFailsAndOldFileStays_data()
{
    QTest::addColumn<int>("row"); // typed into, 0 for the notes
    QTest::newRow("notes file") << 0;
    QTest::newRow("time-fields file") << 3;
}

// On a real file system with no room left the write fails at the flush, not at the open.
void FaultsTest::fullFileSystem_turnFailsAndOldFileStays()
{
    QFETCH(int, row);
    FullFileSystem disk;
    RUVO_REQUIRE_FULL_FILE_SYSTEM(disk);
    PadOnDisk p(u"05/03/1998"_qs);
    p.pad.setDirectory(disk.path());
    const QString date = u"05/03/1998"_qs;
    const QString path = row == 0 ? p.notes(date) : p.pad.timeFieldsFilePath(date);
    const QByteArray old =
        row == 0 ? QByteArray("saved before\r\n")
                 : QByteArray("\r\n\r\nsaved before\r\n") + QByteArray("\r\n").repeated(14);
    writeBytes(path, old);
    p.pad.LoadNotes();
    QVERIFY(disk.fill());

    QWidget *editor = row == 0 ? static_cast<QWidget *>(p.pad.NotesMemo()) : p.pad.TimeFields(row);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QString(u" and a long line typed today"_qs).repeated(40));
    p.clickAt(kNextCorner);
    QCOMPARE(p.errors.count(), 1);
    QCOMPARE(p.errors.first().first().toString(), ruvo::testing::cannotCreate(path));
    QCOMPARE(p.pad.Date(), date);
    QCOMPARE(bytesOf(path), old);
    // No temporary file is left, and the page's other file is not written either: the two
    // are written together or not at all.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u".filler"_qs, QFileInfo(path).fileName()}));

    disk.release();
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), u"06/03/1998"_qs);
    QVERIFY(
        bytesOf(path).startsWith(row == 0 ? "saved before and a" : "\r\n\r\nsaved before and a"));
}

void FaultsTest::notADate_keepsDateAndTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("30 February") << u"30/02/1998"_qs;
    QTest::newRow("another separator") << u"06-03-1998"_qs;
    QTest::newRow("words") << u"demain"_qs;
}

void FaultsTest::notADate_keepsDateAndTypedText()
{
    QFETCH(QString, text);
    PadOnDisk p(u"05/03/1998"_qs);
    p.type(QStringLiteral("kept"));
    QCOMPARE(errorOf([&] { p.pad.setDate(text); }), u'\'' + text + u"' is not a valid date");
    QCOMPARE(p.pad.Date(), QStringLiteral("05/03/1998"));
    QCOMPARE(p.pad.NotesMemo()->toPlainText(), QStringLiteral("kept"));
    QVERIFY(p.pad.hasUnsavedNotes());
    p.clickAt(kNextCorner);
    QCOMPARE(p.pad.Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(bytesOf(p.notes(u"05/03/1998"_qs)), QByteArray("kept\r\n"));
}

QTEST_MAIN(FaultsTest)

#include "tst_faults.moc"
