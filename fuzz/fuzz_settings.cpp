// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as the settings file: reading never fails; writing the toggled value succeeds,
// reads back, and changes nothing but the lines of that key. With those lines taken out of both
// files, what is left after the write is what was left before, followed at most by a line break
// ending a last line that had none and, for a section that was missing, its "[section]" line.

#include "platform/settingsfile.h"

#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Propriétés");
const QString kKey = QStringLiteral("apropos");

// In memory where the system offers it: every input is written and replaced twice.
QString scratchPath()
{
    static const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static const QString path = folder + QStringLiteral("/ruvo-fuzz-settings-%1.ini").arg(getpid());
    return path;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray blanksTrimmed(QByteArray text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove(0, 1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// The file without the lines of the key in the section (each with its line ending), read
// here on its own rather than through the code under test. sectionFound tells whether the
// section has a "[section]" line.
QByteArray withoutKeyLines(const QByteArray &bytes, bool *sectionFound)
{
    const QByteArray section = kSection.toUtf8().toLower();
    const QByteArray key = kKey.toUtf8();
    QByteArray kept;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    kept = bytes.first(start);
    bool inSection = false;
    *sectionFound = false;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += bytes.mid(next, 2) == "\r\n" ? 2 : 1;
        const QByteArray text = blanksTrimmed(bytes.mid(start, end - start));
        bool keyLine = false;
        if (text.startsWith('[') && text.contains(']')) {
            // Only ASCII letters are folded; "É" and "é" stay different.
            inSection = blanksTrimmed(text.mid(1, text.indexOf(']') - 1)).toLower() == section;
            *sectionFound = *sectionFound || inSection;
        } else if (inSection && !text.startsWith(';') && !text.startsWith('#') &&
                   text.contains('=')) {
            keyLine = blanksTrimmed(text.first(text.indexOf('='))).toLower() == key;
        }
        if (!keyLine)
            kept += bytes.mid(start, next - start);
        start = next;
    }
    return kept;
}

bool isLineBreak(QByteArrayView text)
{
    return text == "\n" || text == "\r\n" || text == "\r";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A larger file reads as absent, so the new value could not be read back.
    if (size > (1 << 20))
        return 0;
    const QString path = scratchPath();
    const QByteArray before(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(before) != before.size())
            return 0;
    }
    const ruvo::SettingsFile settings(path);
    const bool ticked = settings.readBool(kSection, kKey, false);
    try {
        settings.writeBool(kSection, kKey, !ticked);
    } catch (const ruvo::Error &) {
        std::abort(); // a plain file is always written
    }
    if (settings.readBool(kSection, kKey, ticked) == ticked)
        std::abort();

    bool sectionBefore = false;
    bool sectionAfter = false;
    const QByteArray keptBefore = withoutKeyLines(before, &sectionBefore);
    const QByteArray keptAfter = withoutKeyLines(bytesOf(path), &sectionAfter);
    if (!sectionAfter || !keptAfter.startsWith(keptBefore))
        std::abort();
    QByteArrayView added = QByteArrayView(keptAfter).sliced(keptBefore.size());
    const QByteArray header = '[' + kSection.toUtf8() + ']';
    if (!sectionBefore) {
        // The section line comes last, after a line break when the file lacked a final one.
        if (!added.startsWith(header)) {
            const qsizetype breakSize = added.startsWith("\r\n") ? 2 : 1;
            if (!isLineBreak(added.first(qMin(breakSize, added.size()))))
                std::abort();
            added = added.sliced(breakSize);
        }
        if (!added.startsWith(header) || !isLineBreak(added.sliced(header.size())))
            std::abort();
    } else if (!added.isEmpty() && (keptBefore.size() < before.size() || !isLineBreak(added))) {
        std::abort(); // only a new key line may need a line break before it
    }
    return 0;
}
