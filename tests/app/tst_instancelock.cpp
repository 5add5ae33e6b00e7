// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "filebytes.h"

#include "app/instancelock.h"
#include "app/runningcopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ruvo;
using ruvo::testing::writeBytes;

namespace {

bool setAge(const QString &path, qint64 seconds)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                            QFileDevice::FileModificationTime);
}

// A copy of the program that takes the folder and dies without letting go of it.
bool lockAndDieInChild(const QString &folder)
{
    const pid_t child = fork();
    if (child == 0) {
        InstanceLock lock(folder);
        const bool locked = lock.acquire() && lock.isLocked();
        _exit(locked ? 0 : 1); // no destructors: the lock file stays, as after a crash
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

class InstanceLockTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondCopyIsRefused_data();
    void secondCopyIsRefused();
    void leftoverLock_data();
    void leftoverLock();
    void lockLeftInTheNotesFolder_isIgnored();
    void lockGoesToAPrivateFolder_data();
    void lockGoesToAPrivateFolder();
    void secondStart_bringsTheRunningWindowToTheFront_data();
    void secondStart_bringsTheRunningWindowToTheFront();

private:
    // Each test has a runtime and a cache folder of its own.
    std::optional<QTemporaryDir> m_runtime;
    std::optional<QTemporaryDir> m_cache;
    QByteArray m_savedRuntime;
    QByteArray m_savedCache;
};

void InstanceLockTest::init()
{
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    m_savedCache = qgetenv("XDG_CACHE_HOME");
    m_runtime.emplace();
    m_cache.emplace();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache->path()));
}

void InstanceLockTest::cleanup()
{
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    qputenv("XDG_CACHE_HOME", m_savedCache);
    m_runtime.reset();
    m_cache.reset();
}

void InstanceLockTest::secondCopyIsRefused_data()
{
    QTest::addColumn<qint64>("age");
    QTest::addColumn<bool>("throughLink"); // the second start finds the folder through a link
    QTest::newRow("first copy just started") << qint64(0) << false;
    QTest::newRow("first copy running for a day") << qint64(24 * 3600) << false;
    QTest::newRow("second start through a link") << qint64(0) << true;
}

void InstanceLockTest::secondCopyIsRefused()
{
    QFETCH(qint64, age);
    QFETCH(bool, throughLink);
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"notes"_qs);
    QVERIFY(QDir().mkdir(folder));
    const QString link = dir.filePath(u"link"_qs);
    QVERIFY(QFile::link(folder, link));
    std::optional<InstanceLock> first(std::in_place, folder);
    QVERIFY(first->acquire());
    QVERIFY(first->isLocked());
    QCOMPARE(QFileInfo(first->lockFilePath()).path(), m_runtime->path());
    QVERIFY(setAge(first->lockFilePath(), age));

    const QString secondFolder = throughLink ? link : folder;
    InstanceLock second(secondFolder);
    QVERIFY(!second.acquire());
    QVERIFY(!second.isLocked());
    QCOMPARE(second.refusalMessage(), u"Ruvo est déjà ouvert dans le dossier " + secondFolder);
    QVERIFY(first->isLocked());

    // Once the first copy has ended, the folder is free again.
    const QString lockFile = first->lockFilePath();
    first.reset();
    QVERIFY(!QFile::exists(lockFile));
    QVERIFY(second.acquire());
    // Nothing of the lock in the notes folder, which a sync tool carries to other machines.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void InstanceLockTest::leftoverLock_data()
{
    QTest::addColumn<QString>("leftover");
    QTest::addColumn<bool>("takenOver");
    QTest::newRow("left by a copy that was killed") << u"killed"_qs << true;
    QTest::newRow("left empty an hour ago") << u"empty, old"_qs << true;
    QTest::newRow("empty, being written now") << u"empty, new"_qs << false;
}

void InstanceLockTest::leftoverLock()
{
    QFETCH(QString, leftover);
    QFETCH(bool, takenOver);
    QTemporaryDir dir;
    const QString path = InstanceLock(dir.path()).lockFilePath();
    if (leftover == u"killed") {
        QVERIFY(lockAndDieInChild(dir.path()));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        if (leftover == u"empty, old")
            QVERIFY(setAge(path, 3600));
    }
    QVERIFY(QFile::exists(path));
    InstanceLock lock(dir.path());
    QCOMPARE(lock.acquire(), takenOver);
    QCOMPARE(lock.isLocked(), takenOver);
}

// A lock a sync tool brought from another machine, or an older copy left, in the folder
// itself: it names a process of another host, which no start could ever take over.
void InstanceLockTest::lockLeftInTheNotesFolder_isIgnored()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(u".ruvo.lock"_qs), "4242\nRuvo\nanother-machine\n");
    InstanceLock lock(dir.path());
    QVERIFY(lock.acquire());
    QVERIFY(lock.isLocked());
}

void InstanceLockTest::lockGoesToAPrivateFolder_data()
{
    QTest::addColumn<QString>("runtime");  // what XDG_RUNTIME_DIR is
    QTest::addColumn<QString>("cache");    // what the cache folder's runtime folder is
    QTest::addColumn<QString>("lockedIn"); // "runtime", "cache" or "" for no lock at all
    QTest::newRow("private runtime folder") << u"private"_qs << u""_qs << u"runtime"_qs;
    QTest::newRow("no runtime folder") << u"unset"_qs << u""_qs << u"cache"_qs;
    QTest::newRow("runtime folder open to others") << u"0755"_qs << u""_qs << u"cache"_qs;
    QTest::newRow("runtime folder of another user") << u"other"_qs << u""_qs << u"cache"_qs;
    QTest::newRow("runtime folder a link") << u"link"_qs << u""_qs << u"cache"_qs;
    QTest::newRow("cache's folder taken by another user") << u"unset"_qs << u"other"_qs << u""_qs;
    QTest::newRow("cache's folder open to others") << u"0755"_qs << u"0777"_qs << u""_qs;
}

// Never a name another user can make first: where neither the runtime folder nor the user's
// own one under the cache is private, the program starts without a lock.
void InstanceLockTest::lockGoesToAPrivateFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, cache);
    QFETCH(QString, lockedIn);
    constexpr uid_t kNobody = 65534;
    const QByteArray runtimePath = QFile::encodeName(m_runtime->path());
    if (runtime == u"unset") {
        qunsetenv("XDG_RUNTIME_DIR");
    } else if (runtime == u"0755") {
        QVERIFY(::chmod(runtimePath.constData(), 0755) == 0);
    } else if (runtime == u"other") {
        if (::geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(::chown(runtimePath.constData(), kNobody, kNobody) == 0);
    } else if (runtime == u"link") {
        const QString link = m_cache->filePath(u"runtime-link"_qs);
        QVERIFY(QFile::link(m_runtime->path(), link));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(link));
    }
    const QString own = m_cache->path() + u"/Ruvo/runtime-" + QSysInfo::machineHostName();
    if (!cache.isEmpty()) {
        QVERIFY(QDir().mkpath(own));
        const QByteArray ownPath = QFile::encodeName(own);
        if (cache == u"other") {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs root");
            QVERIFY(::chown(ownPath.constData(), kNobody, kNobody) == 0);
        } else {
            QVERIFY(::chmod(ownPath.constData(), 0777) == 0);
        }
    }

    QTemporaryDir notes;
    InstanceLock lock(notes.path());
    QVERIFY(lock.acquire());
    if (lockedIn.isEmpty()) {
        QCOMPARE(lock.lockFilePath(), QString());
        QVERIFY(!lock.isLocked());
        QVERIFY(RunningCopy::serverName(notes.path()).isEmpty());
        return;
    }
    QVERIFY(lock.isLocked());
    const QString folder = lockedIn == u"runtime" ? m_runtime->path() : own;
    QCOMPARE(QFileInfo(lock.lockFilePath()).path(), folder);
    QCOMPARE(QFileInfo(RunningCopy::serverName(notes.path())).path(), folder);
    struct stat status = {};
    QVERIFY(::stat(QFile::encodeName(folder).constData(), &status) == 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0700));
}

void InstanceLockTest::secondStart_bringsTheRunningWindowToTheFront_data()
{
    QTest::addColumn<int>("extraDepth"); // folders below the temporary one
    QTest::newRow("a short path") << 0;
    QTest::newRow("a path too long for a socket") << 12; // over 300 bytes
}

void InstanceLockTest::secondStart_bringsTheRunningWindowToTheFront()
{
    QFETCH(int, extraDepth);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QString folder = root.path();
    for (int i = 0; i < extraDepth; ++i)
        folder += QStringLiteral("/folder-with-a-long-name");
    QVERIFY(QDir().mkpath(folder));
    // In the private runtime folder, where no other user can make its name first.
    QCOMPARE(QFileInfo(RunningCopy::serverName(folder)).path(), m_runtime->path());
    // No copy running: the second start gets no answer and shows its message.
    QVERIFY(!RunningCopy::bringToFront(folder, RunningCopy::Page::AsItIs, 200));

    QWidget window;
    window.showMinimized();
    RunningCopy running(folder, &window);
    QSignalSpy fronted(&running, &RunningCopy::broughtToFront);
    QSignalSpy today(&running, &RunningCopy::todayAsked);
    // The second start waits for its answer, so it cannot share this thread's event loop; the
    // next one asks for today's page (a reminder's "Ouvrir la page").
    for (const RunningCopy::Page page : {RunningCopy::Page::AsItIs, RunningCopy::Page::Today}) {
        std::atomic<bool> answered = false;
        std::unique_ptr<QThread> secondStart(
            QThread::create([&] { answered = RunningCopy::bringToFront(folder, page); }));
        secondStart->start();
        QTRY_VERIFY(secondStart->isFinished());
        QVERIFY(answered);
    }
    QCOMPARE(fronted.count(), 2);
    QCOMPARE(today.count(), 1);
    QVERIFY(!(window.windowState() & Qt::WindowMinimized));
}

RUVO_TEST_MAIN(InstanceLockTest)

#include "tst_instancelock.moc"
