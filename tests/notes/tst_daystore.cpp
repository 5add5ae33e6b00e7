// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "errorof.h"

#include "filebytes.h"
#include "fullfilesystem.h"

#include "notes/dayfiles.h"
#include "notes/daystore.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace ruvo;
using ruvo::testing::bytesOf;
using ruvo::testing::errorOf;
using ruvo::testing::writeBytes;

namespace {

const QDate kDay(2026, 12, 6); // 061226

// Writes lines into the notes file of kDay as the page writes a file typed on; throws what the
// write met.
void writeTypedNotes(const DayStore &store, const QStringList &lines)
{
    PageFiles files;
    files[DayFileIndex(DayFileKind::Notes)].unsaved = true;
    const PageWrite written = store.write(kDay, files, {lines, {}});
    if (written.failure)
        throw *written.failure;
}

QStringList notesOf(const DayStore &store)
{
    return store.read(kDay).notes();
}

// The user's home and data folder, and so the trash, moved under home for as long as it lives.
class TrashUnder final
{
public:
    explicit TrashUnder(const QString &home)
        : m_home(home), m_savedHome(qgetenv("HOME")), m_savedData(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataFolder()));
    }
    ~TrashUnder()
    {
        qputenv("HOME", m_savedHome);
        qputenv("XDG_DATA_HOME", m_savedData);
    }
    Q_DISABLE_COPY_MOVE(TrashUnder)

    QString dataFolder() const { return m_home + u"/share"; }
    QString trash() const { return dataFolder() + u"/Trash"; }
    // The names in the trash whose information a file manager could not put back.
    QStringList withoutInformation() const
    {
        QStringList names;
        for (const QString &name :
             QDir(trash() + u"/files").entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (!bytesOf(trash() + u"/info/" + name + u".trashinfo").contains("\nPath="))
                names << name;
        }
        return names;
    }

private:
    QString m_home;
    QByteArray m_savedHome;
    QByteArray m_savedData;
};

} // namespace

class DayStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { setDateSeparator(u'/'); }

    void noteFileName_data();
    void noteFileName();
    void pathWithAndWithoutClosingSeparator();
    void savedBytes_data();
    void savedBytes();
    void everyCharacterComesBack_data();
    void everyCharacterComesBack();
    void readLines_data();
    void readLines();
    void missingFolder_saveFails();
    void onlyChangedFilesAreReplaced_data();
    void onlyChangedFilesAreReplaced();
    void pipeOfTheSameNameIsReplacedNotWaitedOn();
    void folderInPlaceOfFile_isNoFileAndCannotBeWritten();
    void unreadableFile_cannotBeRead_data();
    void unreadableFile_cannotBeRead();
    void purgeWindow_data();
    void purgeWindow();
    void purgeEntryKinds();
    void purgeMissingFolder_isSilent();
    void purgedFilesGoToTheTrash();
    void purgeGuard_daysWantedStay();
    void trashCannotTakeThem_theyStay_data();
    void trashCannotTakeThem_theyStay();
    void rescuesInTheSameSecond_keepEveryPage();
};

void DayStoreTest::noteFileName_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("stem");

    QTest::newRow("1 January 2000") << "01/01/2000"
                                    << "010100";
    QTest::newRow("31 December 1999") << "31/12/1999"
                                      << "311299";
    QTest::newRow("6 December 1926") << "06/12/1926"
                                     << "061226";
    QTest::newRow("6 December 2026") << "06/12/2026"
                                     << "061226";
}

void DayStoreTest::noteFileName()
{
    QFETCH(QString, date);
    QFETCH(QString, stem);
    QCOMPARE(NoteFileName(date), stem);
}

void DayStoreTest::pathWithAndWithoutClosingSeparator()
{
    QTemporaryDir dir;
    const QString withSeparator = DayFilePath(dir.path() + u'/', QStringLiteral("061226"),
                                              DayFileKind::Notes, QStringLiteral("ruv"));
    const QString without = DayFilePath(dir.path(), QStringLiteral("061226"), DayFileKind::Notes,
                                        QStringLiteral("ruv"));
    QCOMPARE(without, dir.path() + u"/061226N.ruv");
    QCOMPARE(withSeparator, without);
    writeTypedNotes(DayStore(dir.path() + u'/', u"ruv"_qs), {QStringLiteral("abc")});
    QCOMPARE(notesOf(DayStore(dir.path(), u"ruv"_qs)), QStringList{QStringLiteral("abc")});
    QCOMPARE(DayFilePath(dir.path(), QStringLiteral("061226"), DayFileKind::TimeFields,
                         QStringLiteral("000")),
             dir.path() + u"/061226T.000");
}

void DayStoreTest::savedBytes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty notes") << QStringList{} << QByteArray();
    QTest::newRow("17 empty rows") << QStringList(17, QString()) << QByteArray("\r\n").repeated(17);
    QTest::newRow("abc") << QStringList{u"abc"_qs} << QByteArray("abc\r\n");
    QTest::newRow("two lines") << QStringList{u"a"_qs, u"b"_qs} << QByteArray("a\r\nb\r\n");
    QTest::newRow("accent in one byte") << QStringList{u"é"_qs} << QByteArray("\xE9\r\n");
    QTest::newRow("euro in one byte") << QStringList{u"€"_qs} << QByteArray("\x80\r\n");
    // "Ã©" in one byte each would read back as UTF-8 "é": written as UTF-8 instead.
    QTest::newRow("looks like UTF-8")
        << QStringList{u"Ã©"_qs} << QByteArray("\xC3\x83\xC2\xA9\r\n");
    QTest::newRow("beyond one byte")
        << QStringList{u"日本"_qs} << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC\r\n");
}

void DayStoreTest::savedBytes()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    writeTypedNotes(store, lines);
    QCOMPARE(bytesOf(store.path(kDay, DayFileKind::Notes)), bytes);
    QCOMPARE(notesOf(store), lines);
}

void DayStoreTest::everyCharacterComesBack_data()
{
    QTest::addColumn<QString>("line");

    QTest::newRow("euro") << u"Réunion à 10 € près"_qs;
    QTest::newRow("Japanese") << u"日本"_qs;
    QTest::newRow("mixed single-byte and wide") << u"café 日本 ß"_qs;
    QTest::newRow("mojibake-looking text") << u"Ã©tÃ©"_qs;
    QTest::newRow("emoji") << u"anniversaire 🎂"_qs;
    QTest::newRow("byte-order mark first") << u"\uFEFFtext"_qs;
    QTest::newRow("control characters") << u"a\tb\u0001"_qs;
    QTest::newRow("undefined code page slots") << u"\u0081\u008D\u008F\u0090\u009D"_qs;
}

void DayStoreTest::everyCharacterComesBack()
{
    QFETCH(QString, line);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    writeTypedNotes(store, {line, line});
    QCOMPARE(notesOf(store), (QStringList{line, line}));
}

void DayStoreTest::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const QStringList ab{u"a"_qs, u"b"_qs};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << ab;
    QTest::newRow("LF only") << QByteArray("a\nb\n") << ab;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << ab;
    QTest::newRow("last line without break") << QByteArray("a\r\nb") << ab;
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << QStringList{u"a"_qs, u""_qs, u"b"_qs};
    QTest::newRow("empty lines kept")
        << QByteArray("\r\n\r\nx\r\n") << QStringList{u""_qs, u""_qs, u"x"_qs};
    QTest::newRow("NUL ends the text") << QByteArray("a\r\nb\0c\r\n", 8) << ab;
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("old single-byte file")
        << QByteArray("f\xEAte \x80\r\n") << QStringList{u"fête €"_qs};
}

void DayStoreTest::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    writeBytes(store.path(kDay, DayFileKind::Notes), bytes);
    QCOMPARE(notesOf(store), lines);
}

void DayStoreTest::missingFolder_saveFails()
{
    QTemporaryDir dir;
    const DayStore store(dir.filePath(u"missing"_qs), u"ruv"_qs);
    const QString path = store.path(kDay, DayFileKind::Notes);
    QCOMPARE(errorOf([&] { writeTypedNotes(store, {u"abc"_qs}); }),
             ruvo::testing::cannotCreate(path));
    QVERIFY(!QDir(dir.filePath(QStringLiteral("missing"))).exists());
}

// A folder of a day file's name is no day file: the page is empty, and cannot be saved there.
void DayStoreTest::folderInPlaceOfFile_isNoFileAndCannotBeWritten()
{
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    const QString path = store.path(kDay, DayFileKind::Notes);
    QVERIFY(QDir().mkdir(path));
    QCOMPARE(store.read(kDay).files[DayFileIndex(DayFileKind::Notes)].bytes, std::nullopt);
    QCOMPARE(errorOf([&] { writeTypedNotes(store, {u"abc"_qs}); }),
             ruvo::testing::cannotCreate(path));
    QVERIFY(QFileInfo(path).isDir());
}

void DayStoreTest::unreadableFile_cannotBeRead_data()
{
    QTest::addColumn<bool>("readError");
    QTest::newRow("no read permission") << false;
    // Reading the process's memory from its start fails with an input/output error; unlike
    // permissions, this holds for root too.
    QTest::newRow("read error") << true;
}

// A file that is there but cannot be read is an error, never "no file": the pad would show an
// empty page and save it over the file.
void DayStoreTest::unreadableFile_cannotBeRead()
{
    QFETCH(bool, readError);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    const QString path = store.path(kDay, DayFileKind::Notes);
    if (readError) {
        QVERIFY(QFile::link(u"/proc/self/mem"_qs, path));
    } else {
        writeBytes(path, "abc\r\n");
        QVERIFY(QFile::setPermissions(path, {}));
        if (QFile probe(path); probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not bind this user (root): covered by the read error row");
    }
    const QString error = ruvo::testing::cannotOpen(path);
    QCOMPARE(errorOf([&] { store.read(kDay); }), error);
}

void DayStoreTest::onlyChangedFilesAreReplaced_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("same bytes") << QByteArray("one\r\ntwo\r\n") << false;
    QTest::newRow("same size, other bytes") << QByteArray("one\r\ntwO\r\n") << true;
    QTest::newRow("longer") << QByteArray("one\r\ntwo\r\nthree\r\n") << true;
    QTest::newRow("shorter") << QByteArray("one\r\n") << true;
    QTest::newRow("empty") << QByteArray() << true;
}

// A file that already holds the page is left alone (same inode); any other is replaced whole.
void DayStoreTest::onlyChangedFilesAreReplaced()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    const QString path = store.path(kDay, DayFileKind::Notes);
    writeBytes(path, before);
    auto inodeOf = [&] {
        struct stat info = {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
    };
    const auto inode = inodeOf();
    writeTypedNotes(store, {u"one"_qs, u"two"_qs});
    QCOMPARE(bytesOf(path), QByteArray("one\r\ntwo\r\n"));
    QCOMPARE(inodeOf() != inode, replaced);
}

// Reading or comparing with what is there must not wait on a pipe, which would wait for a writer
// forever.
void DayStoreTest::pipeOfTheSameNameIsReplacedNotWaitedOn()
{
    QTemporaryDir dir;
    const DayStore store(dir.path(), u"ruv"_qs);
    const QString path = store.path(kDay, DayFileKind::Notes);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QCOMPARE(store.read(kDay).files[DayFileIndex(DayFileKind::Notes)].bytes, std::nullopt);
    writeTypedNotes(store, {u"one"_qs});
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(bytesOf(path), QByteArray("one\r\n"));
}

void DayStoreTest::purgeWindow_data()
{
    QTest::addColumn<int>("destroyDelay");
    QTest::addColumn<int>("clockAhead"); // days the clock runs ahead of the true day
    // The days moved, counted back from the true day; none when both are 0.
    QTest::addColumn<int>("oldestMoved");
    QTest::addColumn<int>("newestMoved");

    QTest::newRow("30 days") << 30 << 0 << 365 << 31;
    // The newest day with text is 5 days ahead: the 30 days up to it stay whatever the delay.
    QTest::newRow("1 day") << 1 << 0 << 365 << 25;
    QTest::newRow("365 days") << 365 << 0 << 0 << 0;
    QTest::newRow("a clock 60 days ahead") << 30 << 60 << 305 << 25;
}

// Files for every date from 400 days back to 5 days ahead; exactly the dates from 365 days
// back to destroyDelay + 1 days back lose both files, but never a date of the 30 days up to
// the newest one written.
void DayStoreTest::purgeWindow()
{
    QFETCH(int, destroyDelay);
    QFETCH(int, clockAhead);
    QFETCH(int, oldestMoved);
    QFETCH(int, newestMoved);
    QTemporaryDir dir;
    const TrashUnder trash(dir.filePath(u"home"_qs));
    const QDate today(2026, 3, 15);
    for (int back = -5; back <= 400; ++back) {
        const QString stem = DayFileStem(today.addDays(-back));
        for (auto kind : {DayFileKind::Notes, DayFileKind::TimeFields})
            writeBytes(DayFilePath(dir.path(), stem, kind, u"ruv"_qs), "x\r\n");
    }
    // Files that only look alike stay: another extension, another letter case.
    const QString stem = DayFileStem(today.addDays(-100));
    writeBytes(dir.filePath(stem + u"N.000"), "x");
    writeBytes(dir.filePath(stem + u"n.ruv"), "x");

    QVERIFY(!DayStore(dir.path() + u'/', u"ruv"_qs).purge(today.addDays(clockAhead), destroyDelay));

    for (int back = -5; back <= 400; ++back) {
        const QString s = DayFileStem(today.addDays(-back));
        const bool notes = QFile::exists(DayFilePath(dir.path(), s, DayFileKind::Notes, u"ruv"_qs));
        const bool rows =
            QFile::exists(DayFilePath(dir.path(), s, DayFileKind::TimeFields, u"ruv"_qs));
        const bool shouldGo = back >= newestMoved && back <= oldestMoved && oldestMoved > 0;
        QVERIFY2(notes == rows, qPrintable(s));
        QVERIFY2(notes != shouldGo, qPrintable(QStringLiteral("%1 days back").arg(back)));
    }
    QVERIFY(QFile::exists(dir.filePath(stem + u"N.000")));
    QVERIFY(QFile::exists(dir.filePath(stem + u"n.ruv")));
}

// What is a day file: a file or a link to one goes (the link, not what it leads to); a
// directory and a link that leads nowhere hold no notes and stay; an extension that reaches
// into a subfolder still finds its file.
void DayStoreTest::purgeEntryKinds()
{
    QTemporaryDir dir;
    const TrashUnder trash(dir.filePath(u"home"_qs));
    const QDate today(2026, 3, 15);
    const QString stem = DayFileStem(QDate(2026, 3, 1));
    const QString notes = DayFilePath(dir.path(), stem, DayFileKind::Notes, u"ruv"_qs);
    const QString rows = DayFilePath(dir.path(), stem, DayFileKind::TimeFields, u"ruv"_qs);
    const QString elsewhere = dir.filePath(u"elsewhere"_qs);
    writeBytes(elsewhere, "");
    QVERIFY(QFile::link(elsewhere, notes));
    QVERIFY(QDir().mkpath(rows));
    const QString dangling =
        DayFilePath(dir.path(), DayFileStem(QDate(2026, 3, 2)), DayFileKind::Notes, u"ruv"_qs);
    QVERIFY(QFile::link(dir.filePath(u"gone"_qs), dangling));
    QVERIFY(!DayStore(dir.path(), u"ruv"_qs).purge(today, 1));
    QVERIFY(!QFileInfo(notes).isSymLink());
    QVERIFY(QFileInfo(elsewhere).isFile());
    QVERIFY(QFileInfo(rows).isDir());
    QVERIFY(QFileInfo(dangling).isSymLink());

    QVERIFY(QDir(dir.path()).mkpath(stem + u"N.sub"));
    const QString nested = DayFilePath(dir.path(), stem, DayFileKind::Notes, u"sub/ruv"_qs);
    writeBytes(nested, "x");
    QVERIFY(!DayStore(dir.path(), u"sub/ruv"_qs).purge(today, 1));
    QVERIFY(!QFile::exists(nested));
}

void DayStoreTest::purgeMissingFolder_isSilent()
{
    QVERIFY(!DayStore(u"/nonexistent/ruvo"_qs, u"ruv"_qs).purge(QDate(2026, 3, 15), 30));
}

// Into the trash of the user's data folder, even one that does not exist yet, with the
// information a file manager needs to put them back.
void DayStoreTest::purgedFilesGoToTheTrash()
{
    QTemporaryDir home;
    const TrashUnder trash(home.path());
    const QString folder = home.filePath(u"notes"_qs);
    QVERIFY(QDir().mkdir(folder));
    const QString stem = DayFileStem(QDate(2026, 1, 10));
    const QString notes = DayFilePath(folder, stem, DayFileKind::Notes, u"ruv"_qs);
    writeBytes(notes, "notes de janvier\r\n");
    const QString today = DayFilePath(folder, u"150326"_qs, DayFileKind::Notes, u"ruv"_qs);
    writeBytes(today, "notes du jour\r\n");

    QVERIFY(!DayStore(folder, u"ruv"_qs).purge(QDate(2026, 3, 15), 30));
    QVERIFY(!QFile::exists(notes));
    QCOMPARE(bytesOf(trash.trash() + u"/files/" + stem + u"N.ruv"),
             QByteArray("notes de janvier\r\n"));
    QVERIFY(bytesOf(trash.trash() + u"/info/" + stem + u"N.ruv.trashinfo")
                .contains(QByteArray("Path=" + QFile::encodeName(notes))));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"150326N.ruv"_qs});
}

// A day the page shows before the purge reaches it stays; one it turns to while the day's files
// go gets them back as they were, and the trash keeps nothing of it.
void DayStoreTest::purgeGuard_daysWantedStay()
{
    QTemporaryDir home;
    const TrashUnder trash(home.path());
    const QString folder = home.filePath(u"notes"_qs);
    QVERIFY(QDir().mkdir(folder));
    const QDate today(2026, 3, 15);
    writeBytes(DayFilePath(folder, DayFileStem(today), DayFileKind::Notes, u"ruv"_qs), "x\r\n");
    for (int back = 40; back <= 44; ++back) {
        for (auto kind : {DayFileKind::Notes, DayFileKind::TimeFields})
            writeBytes(DayFilePath(folder, DayFileStem(today.addDays(-back)), kind, u"ruv"_qs),
                       "x\r\n");
    }
    const QDate shown = today.addDays(-41);
    const QDate turnedTo = today.addDays(-43);
    const PurgeGuard guard{[&](const QDate &day) { return day == shown; },
                           [&](const QDate &day) {
                               return day == turnedTo;
                           }};
    QVERIFY(!PurgeDayFiles(folder, u"ruv"_qs, today, 30, guard));

    QStringList left;
    for (const QDate &day : {today, shown, turnedTo})
        for (auto kind : {DayFileKind::TimeFields, DayFileKind::Notes})
            if (day != today || kind == DayFileKind::Notes)
                left
                    << QFileInfo(DayFilePath(folder, DayFileStem(day), kind, u"ruv"_qs)).fileName();
    left.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), left);
    QCOMPARE(QDir(trash.trash() + u"/files").entryList(QDir::Files).size(), 6);
    QCOMPARE(QDir(trash.trash() + u"/info").entryList(QDir::Files).size(), 6);
}

void DayStoreTest::trashCannotTakeThem_theyStay_data()
{
    QTest::addColumn<QString>("trashIs");
    QTest::newRow("a file where the trash should be") << "a file";
    // Where the information cannot be written, a plain move would wait on it forever.
    QTest::newRow("a trash on a read-only file system") << "read-only";
    // The move goes through, but the information to put the file back cannot be written.
    QTest::newRow("the trash on a full file system") << "full";
}

// Expired notes are never deleted, nor left in a trash that cannot give them back: they stay
// where they are, and the user is told once.
void DayStoreTest::trashCannotTakeThem_theyStay()
{
    QFETCH(QString, trashIs);
    QTemporaryDir dir;
    ruvo::testing::FullFileSystem disk;
    const bool fullDisk = trashIs == u"full";
    if (fullDisk)
        RUVO_REQUIRE_FULL_FILE_SYSTEM(disk);
    const QString home = fullDisk ? disk.path() : dir.path();
    const TrashUnder trash(home);
    const QByteArray trashPath = QFile::encodeName(trash.trash());
    if (trashIs == u"a file") {
        QVERIFY(QDir().mkpath(trash.dataFolder()));
        writeBytes(trash.trash(), "not a folder");
    } else {
        QVERIFY(QDir().mkpath(trash.trash() + u"/files"));
        QVERIFY(QDir().mkpath(trash.trash() + u"/info"));
    }
    const auto unmount = qScopeGuard([&] {
        if (trashIs == u"read-only")
            ::umount2(trashPath.constData(), MNT_DETACH);
    });
    if (trashIs == u"read-only" &&
        (::mount(trashPath.constData(), trashPath.constData(), nullptr, MS_BIND, nullptr) != 0 ||
         ::mount(nullptr, trashPath.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                 nullptr) != 0))
        QSKIP("cannot mount the trash read-only");
    const QString folder = home + u"/notes";
    QVERIFY(QDir().mkdir(folder));
    const QDate today(2026, 3, 15);
    QMap<QString, QByteArray> expired;
    for (int back = 40; back <= 42; ++back) {
        const QString stem = DayFileStem(today.addDays(-back));
        for (auto kind : {DayFileKind::Notes, DayFileKind::TimeFields}) {
            const QString path = DayFilePath(folder, stem, kind, u"ruv"_qs);
            expired[path] = "notes du " + stem.toLatin1() + "\r\n";
            writeBytes(path, expired[path]);
        }
    }
    writeBytes(DayFilePath(folder, DayFileStem(today), DayFileKind::Notes, u"ruv"_qs), "x\r\n");
    if (fullDisk)
        QVERIFY(disk.fill());

    const std::optional<Error> told = DayStore(folder + u'/', u"ruv"_qs).purge(today, 30);
    QVERIFY(told);
    QCOMPARE(told->message(), u"Ne peut mettre à la corbeille 6 anciens fichiers de notes du "
                              u"dossier " +
                                  folder + u" : ils y restent.");
    for (auto file = expired.cbegin(); file != expired.cend(); ++file)
        QCOMPARE(bytesOf(file.key()), file.value());
    QCOMPARE(trash.withoutInformation(), QStringList());
}

// Two copies of the program ending at once, each with a page of the same date it cannot save:
// two files, each with its own text and at the path returned.
void DayStoreTest::rescuesInTheSameSecond_keepEveryPage()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"state/Ruvo"_qs);
    const std::array<QString, kHourRows> hours;
    const QString first = DayStore::rescue(folder, kDay, {u"première copie"_qs}, hours, 7);
    const QString second = DayStore::rescue(folder, kDay, {u"seconde copie"_qs}, hours, 7);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    QVERIFY(QString::fromUtf8(bytesOf(first)).contains(u"\npremière copie\n"_qs));
    QVERIFY(QString::fromUtf8(bytesOf(second)).contains(u"\nseconde copie\n"_qs));
}

QTEST_GUILESS_MAIN(DayStoreTest)

#include "tst_daystore.moc"
