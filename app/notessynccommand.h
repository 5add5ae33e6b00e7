// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace ruvo {

// `ruvo --sync`: one sync of folder with the calendar Ruvo.ini names, for a timer or cron.
// Returns the process's exit code: 0, or 1 with the reason on standard error. The days merged
// from both sides are told on standard output.
int SyncFromCommandLine(const QString &folder, const QString &settingsPath);

} // namespace ruvo
