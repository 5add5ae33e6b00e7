// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLockFile>
#include <QString>

namespace ruvo {

// Keeps a second copy of the program out of a start folder that one copy already uses: both
// would keep the same day files, and each would save its own page over the other's.
//
// The lock is a file in the user's private runtime folder named after the folder
// (RuntimeFileFor), held from start-up to the end. Never in the folder itself: a sync tool
// would carry it to other machines, where a lock naming a process of another host keeps the
// program from starting; a ".ruvo.lock" an older copy left there is ignored. A copy that ended
// without releasing it (a crash, a kill) leaves a lock that names a process no longer running;
// the next start takes it over.
class InstanceLock final
{
    Q_DISABLE_COPY_MOVE(InstanceLock)

public:
    explicit InstanceLock(const QString &folder);

    // Takes the folder for this copy of the program. False only when a running copy holds it;
    // where no lock file can be made (no private runtime folder) the program starts all the
    // same.
    bool acquire();
    bool isLocked() const { return m_lock.isLocked(); }

    QString folder() const { return m_folder; }
    // Empty when there is no private folder to keep the lock in.
    QString lockFilePath() const { return m_lock.fileName(); }
    // Why a refused start ends: "Ruvo est déjà ouvert dans le dossier <folder>".
    QString refusalMessage() const;

private:
    QString m_folder;
    QLockFile m_lock;
};

} // namespace ruvo
