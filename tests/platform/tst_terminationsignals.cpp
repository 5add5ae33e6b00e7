#include "platform/terminationsignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using namespace ruvo;

class TerminationSignalsTest : public QObject
{
    Q_OBJECT

private slots:
    void signalArrivesThroughTheEventLoop_data();
    void signalArrivesThroughTheEventLoop();
    void oneWatcherPerProcess();
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

QTEST_GUILESS_MAIN(TerminationSignalsTest)

#include "tst_terminationsignals.moc"
