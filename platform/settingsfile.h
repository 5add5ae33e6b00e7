#pragma once

#include <QString>

#include <optional>

namespace ruvo {

// An initialisation file ("[section]" lines, then "key=value" lines), opened for each read or
// write and released right after. Writing one value keeps everything else in the file: other
// sections, keys and comments.
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

    // Replaces the file whole or not at all. Throws Error("Ne peut écrire dans <path>"), also
    // for a file that holds lines this class cannot read (they would be lost) and leaves it.
    void writeString(const QString &section, const QString &key, const QString &value) const;

    // "1" or "0".
    void writeBool(const QString &section, const QString &key, bool value) const;

    // The number a settings value stands for, if it stands for one.
    static std::optional<qint32> parseInteger(const QString &text);

private:
    QString m_path;
};

} // namespace ruvo
