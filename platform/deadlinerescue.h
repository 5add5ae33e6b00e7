// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>
#include <thread>

namespace ruvo {

// The last resort of a session's end whose save hangs on a disk that does not answer (every
// sync taking seconds on a network or USB disk): the process would be ended by the alarm of
// TerminationSignals with the page in no file. Until it is destroyed, it runs rescue on a
// thread of its own at the moment given, should that come first, and then ends the process
// (status 0) whatever the thread that saves is waiting for. rescue must hold copies of what it
// writes, never the widgets, and write without waiting on a sync.
class DeadlineRescue final
{
    Q_DISABLE_COPY_MOVE(DeadlineRescue)

public:
    DeadlineRescue(std::chrono::steady_clock::time_point at, std::function<void()> rescue);
    // Disarms it: the save finished in time. Waits for a rescue already under way.
    ~DeadlineRescue();

private:
    std::jthread m_thread;
};

} // namespace ruvo
