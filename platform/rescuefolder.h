// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

namespace ruvo {

// Where text goes that could not be saved where it belongs when the session ends:
// $XDG_STATE_HOME/Ruvo (~/.local/state/Ruvo when it is not set, or not an absolute path).
QString RescueFolder();

// Writes all of bytes to an open file, going on after a short write or a signal; false when the
// system refused some of them (a full disk).
bool WriteAll(int descriptor, QByteArrayView bytes);

// Writes bytes into a new file of folder (made if need be), readable by the user only: stem +
// ".txt", or stem + "-2.txt", "-3.txt" … where that name is taken. A file that exists, whoever
// made it, is never written over. Every write is checked; the bytes are not synced (see there).
// Returns the path of the file written; empty when it could not be written whole, and then
// nothing of it is left.
QString WriteNewRescueFile(const QString &folder, const QString &stem, QByteArrayView bytes);

} // namespace ruvo
