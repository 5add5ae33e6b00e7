// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/deadlinerescue.h"
#include "platform/terminationsignals.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ruvo;

class TerminationSignalsTest : public QObject
{
    Q_OBJECT

private slots:
    void signalArrivesThroughTheEventLoop_data();
    void signalArrivesThroughTheEventLoop();
    void oneWatcherPerProcess();
    void rescueBeforeTheDeadline_data();
    void rescueBeforeTheDeadline();
};

void TerminationSignalsTest::signalArrivesThroughTheEventLoop_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void TerminationSignalsTest::signalArrivesThroughTheEventLoop()
{
    QFETCH(int, signal);
    TerminationSignals watcher;
    QVERIFY(watcher.isWatching());
    QSignalSpy requested(&watcher, &TerminationSignals::terminationRequested);
    std::raise(signal);             // would end the test program if it were not caught
    QCOMPARE(requested.count(), 0); // not from inside the handler
    QTRY_COMPARE(requested.count(), 1);
    QCOMPARE(requested.first().first().toInt(), signal);
}

void TerminationSignalsTest::oneWatcherPerProcess()
{
    TerminationSignals first;
    TerminationSignals second;
    QVERIFY(first.isWatching());
    QVERIFY(!second.isWatching());
}

void TerminationSignalsTest::rescueBeforeTheDeadline_data()
{
    QTest::addColumn<bool>("saveHangs");
    QTest::newRow("the save hangs past the deadline") << true;
    QTest::newRow("the save ends in time") << false;
}

// A process that got SIGTERM and whose save hangs (a disk that does not answer) runs its
// rescue and ends before the alarm would kill it; one whose save ended in time goes on.
void TerminationSignalsTest::rescueBeforeTheDeadline()
{
    QFETCH(bool, saveHangs);
    int rescued[2];
    QVERIFY(::pipe2(rescued, O_CLOEXEC) == 0);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(rescued[0]);
        TerminationSignals watcher;
        std::raise(SIGTERM);
        {
            const auto at = TerminationSignals::rescueTime();
            if (!at)
                ::_exit(2);
            const DeadlineRescue lastResort(*at, [&] { (void)::write(rescued[1], "r", 1); });
            if (saveHangs)
                ::pause(); // until the end, as in a sync that never returns
        }
        ::_exit(3);
    }
    ::close(rescued[1]);
    QVERIFY(child > 0);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    char heard = 0;
    const bool ranRescue = ::read(rescued[0], &heard, 1) == 1;
    ::close(rescued[0]);
    QVERIFY2(WIFEXITED(status), "ended by a signal: the alarm came first");
    QCOMPARE(WEXITSTATUS(status), saveHangs ? 0 : 3);
    QCOMPARE(ranRescue, saveHangs);
    if (saveHangs)
        QVERIFY(clock.elapsed() < 1000 * qint64(TerminationSignals::kGraceSeconds));
}

QTEST_GUILESS_MAIN(TerminationSignalsTest)

#include "tst_terminationsignals.moc"
