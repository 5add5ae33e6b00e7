// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a day file: reading never fails on content, and the lines read, written back
// and read again are the same lines, so a load followed by a save never changes what the
// user sees.

#include "notes/dayfiles.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    const QStringList lines = ruvo::SplitDayLines(ruvo::DecodeDayText(bytes));
    for (const QString &line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(u'\0')))
            std::abort();
    }
    const QByteArray saved = ruvo::DayFileBytes(lines);
    if (ruvo::SplitDayLines(ruvo::DecodeDayText(saved)) != lines)
        std::abort();
    // The hour rows take line k for row k: 17 rows or fewer are read, never more.
    return 0;
}
