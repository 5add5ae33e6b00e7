// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "deadlinerescue.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <stop_token>
#include <unistd.h>

namespace ruvo {

DeadlineRescue::DeadlineRescue(std::chrono::steady_clock::time_point at,
                               std::function<void()> rescue)
    : m_thread([at, rescue = std::move(rescue)](const std::stop_token &disarmed) {
          std::mutex mutex;
          std::condition_variable_any wake;
          std::unique_lock lock(mutex);
          wake.wait_until(lock, disarmed, at, [] { return false; });
          if (disarmed.stop_requested())
              return;
          rescue();
          // The saving thread may be held in the kernel for longer than the process has: the
          // page is safe, nothing else is waited for.
          ::_exit(EXIT_SUCCESS);
      })
{}

DeadlineRescue::~DeadlineRescue() = default; // std::jthread asks it to stop, then joins it

} // namespace ruvo
