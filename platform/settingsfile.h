// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

namespace ruvo {

// An initialisation file ("[section]" lines, then "key=value" lines), opened for each read or
// write and released right after. Reading and writing see the file through the same lines, so
// a write changes only the lines of its key and keeps every other byte as it stands: other
// sections, comments, lines that are not settings, binary data, line endings.
class SettingsFile final
{
public:
    explicit SettingsFile(QString path) : m_path(std::move(path)) {}

    // The program's settings file: Ruvo.ini in $XDG_CONFIG_HOME (~/.config by default).
    static QString defaultPath();

    QString path() const { return m_path; }

    // The value as text; fallback when the file, the section or the key is missing or the
    // file cannot be read.
    QString readString(const QString &section, const QString &key, const QString &fallback) const;

    // A whole number, or hexadecimal after "0x" / "0X"; anything else counts as absent.
    // True when the number is not 0. Never fails.
    bool readBool(const QString &section, const QString &key, bool fallback) const;

    // Sets the value on every line of that key in that section. Without one, adds the line at
    // the end of the section's last occurrence, or the section and the line at the end of the
    // file.
    // Replaces the file whole or not at all. Throws Error("Ne peut écrire dans <path>") and
    // leaves the file as it was when it cannot be read or replaced, or when the names or the
    // value would not read back as written (a line break, "]" in a section, "=" in a key).
    void writeString(const QString &section, const QString &key, const QString &value) const;

    // "1" or "0".
    void writeBool(const QString &section, const QString &key, bool value) const;

    // Takes out every line of that key in that section, so that it reads as its default again;
    // every other byte stays. Nothing is written when there is no such line. Throws as
    // writeString does.
    void removeKey(const QString &section, const QString &key) const;

    // The number a settings value stands for, if it stands for one.
    static std::optional<qint32> parseInteger(const QString &text);

private:
    QString m_path;
};

} // namespace ruvo
