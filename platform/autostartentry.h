// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

namespace ruvo {

// The user's XDG autostart entry ($XDG_CONFIG_HOME/autostart, ~/.config/autostart by default)
// that starts a program at login: one per notes folder, named after it (FolderKey).
class AutostartEntry final
{
public:
    explicit AutostartEntry(const QString &notesFolder);

    QString path() const { return m_path; }

    // Writes the entry, whole or not at all, to start program with arguments; name and comment
    // are what a desktop's list of programs started at login shows. False when it cannot be
    // written.
    bool write(const QString &program, const QStringList &arguments, const QString &name,
               const QString &comment) const;
    // False when an entry is there and stays.
    bool remove() const;

    // The arguments as the Exec key of a desktop entry reads them: each quoted, its quotes,
    // back quotes, dollars and backslashes escaped, then the value escaped as a string.
    static QString execLine(const QStringList &arguments);

private:
    QString m_path;
};

} // namespace ruvo
