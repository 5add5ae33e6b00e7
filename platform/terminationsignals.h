// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <chrono>
#include <optional>

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
    // When, after the first signal, a page whose save has not finished is rescued (see
    // DeadlineRescue): a second before the end, time enough to write one file.
    static constexpr std::chrono::milliseconds kRescueDelay{(kGraceSeconds - 1) * 1000};

    // kRescueDelay after the first signal caught; none before a signal came.
    static std::optional<std::chrono::steady_clock::time_point> rescueTime();

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
