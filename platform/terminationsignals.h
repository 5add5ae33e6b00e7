#pragma once

#include <QObject>

class QSocketNotifier;

namespace ruvo {

// Turns SIGTERM, SIGHUP and SIGINT (the session ending, the terminal closing, Ctrl+C) into a
// Qt signal delivered by the event loop, so the program can save the page before it goes.
// One per process.
class TerminationSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    // How long the program has, after a signal, before the process is ended regardless.
    static constexpr unsigned kGraceSeconds = 3;

    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the handlers could not be installed (the program then ends as usual).
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signal);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace ruvo
