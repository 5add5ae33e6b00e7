#include "ruvotestmain.h"

#include "app/instancelock.h"
#include "app/runningcopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

using namespace ruvo;

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
    void secondCopyIsRefused_data();
    void secondCopyIsRefused();
    void leftoverLock_data();
    void leftoverLock();
    void folderWithoutRoomForALock_startsAnyway();
    void secondStart_bringsTheRunningWindowToTheFront_data();
    void secondStart_bringsTheRunningWindowToTheFront();
};

void InstanceLockTest::secondCopyIsRefused_data()
{
    QTest::addColumn<qint64>("age");
    QTest::newRow("first copy just started") << qint64(0);
    QTest::newRow("first copy running for a day") << qint64(24 * 3600);
}

void InstanceLockTest::secondCopyIsRefused()
{
    QFETCH(qint64, age);
    QTemporaryDir dir;
    std::optional<InstanceLock> first(std::in_place, dir.path());
    QVERIFY(first->acquire());
    QVERIFY(first->isLocked());
    QCOMPARE(first->lockFilePath(), dir.filePath(u".ruvo.lock"_qs));
    QVERIFY(setAge(first->lockFilePath(), age));

    InstanceLock second(dir.path());
    QVERIFY(!second.acquire());
    QVERIFY(!second.isLocked());
    QCOMPARE(second.refusalMessage(), u"Ruvo est déjà ouvert dans le dossier " + dir.path());
    QVERIFY(first->isLocked());

    // Once the first copy has ended, the folder is free again.
    first.reset();
    QVERIFY(!QFile::exists(dir.filePath(u".ruvo.lock"_qs)));
    QVERIFY(second.acquire());
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
    const QString path = dir.filePath(u".ruvo.lock"_qs);
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

// Where no lock file can be made no notes can be saved either: nothing to protect.
void InstanceLockTest::folderWithoutRoomForALock_startsAnyway()
{
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(u"file"_qs);
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    InstanceLock lock(notAFolder);
    QVERIFY(lock.acquire());
    QVERIFY(!lock.isLocked());
}

void InstanceLockTest::secondStart_bringsTheRunningWindowToTheFront_data()
{
    QTest::addColumn<int>("extraDepth"); // folders below the temporary one
    QTest::newRow("beside the lock") << 0;
    QTest::newRow("a path too long for a socket") << 12;
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
    // No copy running: the second start gets no answer and shows its message.
    QVERIFY(!RunningCopy::bringToFront(folder, 200));

    QWidget window;
    window.showMinimized();
    RunningCopy running(folder, &window);
    QSignalSpy fronted(&running, &RunningCopy::broughtToFront);
    // The second start waits for its answer, so it cannot share this thread's event loop.
    std::atomic<bool> answered = false;
    std::unique_ptr<QThread> secondStart(
        QThread::create([&] { answered = RunningCopy::bringToFront(folder); }));
    secondStart->start();
    QTRY_VERIFY(secondStart->isFinished());
    QVERIFY(answered);
    QCOMPARE(fronted.count(), 1);
    QVERIFY(!(window.windowState() & Qt::WindowMinimized));
}

RUVO_TEST_MAIN(InstanceLockTest)

#include "tst_instancelock.moc"
