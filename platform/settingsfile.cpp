// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settingsfile.h"

#include "calendar/error.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <limits>
#include <vector>

namespace ruvo {

namespace {

// Settings files are a few lines long. Reading at start-up gives up on a larger one, which
// cannot be ours; a write still keeps it whole.
constexpr qint64 kMaxReadSize = 1 << 20;

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// The file's bytes; nothing when it is missing, not a plain file, unreadable or too large.
std::optional<QByteArray> bytesOf(const QString &path, qint64 maxSize)
{
    // A pipe or a device of that name would block or never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Names match with ASCII letters in either case; other bytes (UTF-8 "é") must be equal.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// What one line says. Anything that is not a section or a setting (blank lines, comments,
// text without "=", an unterminated "[", binary data) says nothing and is kept as it is.
struct LineMeaning
{
    enum Kind { Nothing, Section, Setting } kind = Nothing;
    QByteArrayView name; // the section's name or the setting's key
    QByteArrayView value;
};

LineMeaning meaningOf(QByteArrayView text)
{
    text = trimmed(text);
    if (text.isEmpty() || text.front() == ';' || text.front() == '#')
        return {};
    if (text.front() == '[') {
        const qsizetype close = text.indexOf(']');
        if (close < 0)
            return {};
        return {LineMeaning::Section, trimmed(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0 || trimmed(text.first(equals)).isEmpty())
        return {};
    return {LineMeaning::Setting, trimmed(text.first(equals)), trimmed(text.sliced(equals + 1))};
}

struct Line
{
    qsizetype start = 0; // the first byte, after a byte-order mark on the first line
    qsizetype end = 0;   // where the line ending starts
    qsizetype next = 0;  // past the line ending; equal to end on a last line without one
    LineMeaning meaning;
    QByteArrayView section; // the name of the section the line is in, empty before the first
};

// The lines of the file. Views into bytes, which must outlive them.
std::vector<Line> linesOf(QByteArrayView bytes)
{
    std::vector<Line> lines;
    QByteArrayView section;
    qsizetype start = bytes.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        Line line;
        line.start = start;
        line.end = start;
        while (line.end < bytes.size() && bytes[line.end] != '\n' && bytes[line.end] != '\r')
            ++line.end;
        line.next = line.end;
        if (line.next < bytes.size() && bytes[line.next++] == '\r' && line.next < bytes.size() &&
            bytes[line.next] == '\n')
            ++line.next;
        line.meaning = meaningOf(bytes.sliced(line.start, line.end - line.start));
        if (line.meaning.kind == LineMeaning::Section)
            section = line.meaning.name;
        line.section = section;
        lines.push_back(line);
        start = line.next;
    }
    return lines;
}

bool isKeyLine(const Line &line, QByteArrayView section, QByteArrayView key)
{
    return line.meaning.kind == LineMeaning::Setting && sameName(line.section, section) &&
           sameName(line.meaning.name, key);
}

// The line ending most lines of the file have; LF when none has one.
QByteArrayView dominantLineEnding(QByteArrayView bytes, const std::vector<Line> &lines)
{
    qsizetype lf = 0, crlf = 0, cr = 0;
    for (const Line &line : lines) {
        const QByteArrayView ending = bytes.sliced(line.end, line.next - line.end);
        lf += ending == "\n";
        crlf += ending == "\r\n";
        cr += ending == "\r";
    }
    if (lf >= crlf && lf >= cr)
        return "\n";
    return crlf >= cr ? "\r\n" : "\r";
}

// Inserts a line of text with the given ending at offset, between two lines.
QByteArray insertLine(QByteArrayView bytes, qsizetype offset, QByteArrayView text,
                      QByteArrayView ending)
{
    // A lone CR before an LF would read as one CR LF ending and swallow the blank line after.
    if (ending == "\r" && offset < bytes.size() && bytes[offset] == '\n')
        ending = "\r\n";
    return bytes.first(offset).toByteArray() + text + ending + bytes.sliced(offset);
}

// The file with the value set, following the rules in settingsfile.h.
QByteArray withValue(QByteArrayView bytes, QByteArrayView section, QByteArrayView key,
                     QByteArrayView value)
{
    const std::vector<Line> lines = linesOf(bytes);
    QByteArray result;
    qsizetype copied = 0;
    for (const Line &line : lines) {
        if (!isKeyLine(line, section, key))
            continue;
        // The key as the file spells it, so that its case stays.
        result += bytes.sliced(copied, line.start - copied);
        result += line.meaning.name;
        result += '=';
        result += value;
        result += bytes.sliced(line.end, line.next - line.end);
        copied = line.next;
    }
    if (copied > 0)
        return result + bytes.sliced(copied);

    const QByteArrayView ending = dominantLineEnding(bytes, lines);
    const QByteArray setting = key.toByteArray() + '=' + value;
    // The last occurrence of the section, up to the next section; settings before the first
    // section line are in the section without a name.
    const Line *last = nullptr;
    bool inSection = section.isEmpty();
    bool found = inSection;
    for (const Line &line : lines) {
        if (line.meaning.kind == LineMeaning::Section) {
            inSection = sameName(line.meaning.name, section);
            found = found || inSection;
        }
        if (inSection && !trimmed(bytes.sliced(line.start, line.end - line.start)).isEmpty())
            last = &line;
    }
    if (last && last->next == last->end) // the last line of a file without a final line break
        return bytes.toByteArray() + ending + setting;
    if (last)
        return insertLine(bytes, last->next, setting, ending);
    if (found) // the nameless section with no line in it
        return insertLine(bytes, bytes.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0,
                          setting, ending);

    result = bytes.toByteArray();
    if (!lines.empty() && lines.back().next == lines.back().end)
        result += ending;
    return result + '[' + section + ']' + ending + setting + ending;
}

// Whether the section and the key line written for them read back as those names and value.
bool readsBackAsWritten(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const auto breaksLine = [](QByteArrayView text) {
        return text.contains('\n') || text.contains('\r');
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value))
        return false;
    const QByteArray headerLine = '[' + section.toByteArray() + ']';
    const QByteArray settingLine = key.toByteArray() + '=' + value;
    const LineMeaning header = meaningOf(headerLine);
    const LineMeaning setting = meaningOf(settingLine);
    return header.kind == LineMeaning::Section && header.name == section &&
           setting.kind == LineMeaning::Setting && setting.name == key;
}

// The encoding the file spells its names in. A file written by the program's first platform is
// in Windows-1252; where the section is spelt so, its names are matched and written in it, so
// that the file keeps one encoding. Any other file is read and written in UTF-8.
struct FileEncoding
{
    bool windows1252 = false;

    static FileEncoding of(QByteArrayView bytes, const QString &section)
    {
        const std::optional<QByteArray> old = FileEncoding{true}.encode(section);
        if (!old || *old == section.toUtf8())
            return {};
        for (const Line &line : linesOf(bytes)) {
            if (line.meaning.kind == LineMeaning::Section && sameName(line.meaning.name, *old))
                return {true};
        }
        return {};
    }

    // The bytes of text in this encoding; none where a character has no byte in it.
    std::optional<QByteArray> encode(const QString &text) const
    {
        if (!windows1252)
            return text.toUtf8();
        QStringEncoder encoder("windows-1252");
        QByteArray bytes = encoder(text);
        return encoder.hasError() ? std::nullopt : std::optional(bytes);
    }

    QString decode(QByteArrayView bytes) const
    {
        if (!windows1252)
            return QString::fromUtf8(bytes);
        QStringDecoder decoder("windows-1252");
        return decoder(bytes);
    }
};

} // namespace

QString SettingsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ruvo.ini");
}

QString SettingsFile::readString(const QString &section, const QString &key,
                                 const QString &fallback) const
{
    const std::optional<QByteArray> bytes = bytesOf(m_path, kMaxReadSize);
    if (!bytes)
        return fallback;
    const FileEncoding encoding = FileEncoding::of(*bytes, section);
    const std::optional<QByteArray> sectionName = encoding.encode(section);
    const std::optional<QByteArray> keyName = encoding.encode(key);
    if (!sectionName || !keyName)
        return fallback;
    std::optional<QByteArrayView> value;
    for (const Line &line : linesOf(*bytes)) {
        if (isKeyLine(line, *sectionName, *keyName))
            value = line.meaning.value; // the last one counts, as for a section written twice
    }
    return value ? encoding.decode(*value) : fallback;
}

std::optional<qint32> SettingsFile::parseInteger(const QString &text)
{
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    // toLongLong would let a blank or a second sign through after the prefix.
    if (!ok || (text.size() > 2 && text.startsWith(u"0x", Qt::CaseInsensitive) &&
                !QChar(text.at(2)).isLetterOrNumber()))
        return std::nullopt;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

bool SettingsFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    const std::optional<qint32> number = parseInteger(readString(section, key, QString()));
    return number ? *number != 0 : fallback;
}

void SettingsFile::writeString(const QString &section, const QString &key,
                               const QString &value) const
{
    const auto fail = [this] {
        throw Error(u"Ne peut écrire dans " + m_path);
    };
    // Never replace a file we could not read whole: its content would be lost.
    QByteArray bytes;
    if (QFileInfo::exists(m_path)) {
        std::optional<QByteArray> old = bytesOf(m_path, std::numeric_limits<qint64>::max());
        if (!old)
            fail();
        bytes = std::move(*old);
    }
    const FileEncoding encoding = FileEncoding::of(bytes, section);
    const std::optional<QByteArray> sectionName = encoding.encode(section);
    const std::optional<QByteArray> keyName = encoding.encode(key);
    const std::optional<QByteArray> text = encoding.encode(value);
    if (!sectionName || !keyName || !text || !readsBackAsWritten(*sectionName, *keyName, *text))
        fail();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!ReplaceFileWhole(m_path, withValue(bytes, *sectionName, *keyName, *text)))
        fail();
}

void SettingsFile::removeKey(const QString &section, const QString &key) const
{
    if (!QFileInfo::exists(m_path))
        return;
    const std::optional<QByteArray> bytes = bytesOf(m_path, std::numeric_limits<qint64>::max());
    if (!bytes)
        throw Error(u"Ne peut écrire dans " + m_path);
    const FileEncoding encoding = FileEncoding::of(*bytes, section);
    const std::optional<QByteArray> sectionName = encoding.encode(section);
    const std::optional<QByteArray> keyName = encoding.encode(key);
    if (!sectionName || !keyName)
        return; // no line can be spelt so
    QByteArray result;
    qsizetype copied = 0;
    for (const Line &line : linesOf(*bytes)) {
        if (!isKeyLine(line, *sectionName, *keyName))
            continue;
        result += QByteArrayView(*bytes).sliced(copied, line.start - copied);
        copied = line.next;
    }
    if (copied == 0)
        return;
    result += QByteArrayView(*bytes).sliced(copied);
    if (!ReplaceFileWhole(m_path, result))
        throw Error(u"Ne peut écrire dans " + m_path);
}

void SettingsFile::writeBool(const QString &section, const QString &key, bool value) const
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace ruvo
