// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

namespace ruvo {

// The user's private folder for what a running copy of the program keeps while it runs (its
// instance lock, the socket a second start talks to): $XDG_RUNTIME_DIR when it is a folder of
// the user's own that nobody else may enter; else "Ruvo/runtime-<host>" in the user's cache
// folder ($XDG_CACHE_HOME, or ~/.cache), made so if need be and checked the same way. Empty
// when neither is such a folder: a name in a folder others may write could be theirs first.
QString PrivateRuntimeFolder();

// The path in PrivateRuntimeFolder() of the file with suffix (".lock", ".socket") of the copy
// that keeps notesFolder: named after the folder's canonical path, so every way to the same
// folder finds the same copy, or after a hash of that path where the name would not fit a
// socket's address. Empty without a private folder.
QString RuntimeFileFor(const QString &notesFolder, QStringView suffix);

// Sixteen hexadecimal digits that name notesFolder (its canonical path) in a file name, for
// what is kept of that folder elsewhere.
QString FolderKey(const QString &notesFolder);

} // namespace ruvo
