// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QObject;

namespace ruvo {

// Where an installed Ruvo keeps what it carries (the page sound, the help documents, the
// modules loaded on first use). The folders are found from the program's own folder, so an install
// works under any prefix and no path of the build or the install is compiled in.
QString InstalledDataFolder();
QString InstalledModuleFolder();

// The file called name in the start folder when it is there, else the installed copy when
// that is there, else the start folder's path (whose absence its user reports as before): a
// file the user put in the start folder always wins.
QString StartOrInstalledFile(const QString &startFolder, const QString &name);

// The instance of the module called name (without the platform's prefix and suffix): looked
// for in the folder RUVO_MODULE_DIR names (the build's tests and benchmarks), beside the
// program (the build), then where the install put it. Null when none loads; failures then
// tells why, a line for each place looked at.
QObject *LoadProgramModule(const char *name, QString *failures = nullptr);

} // namespace ruvo
