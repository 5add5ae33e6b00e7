// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a date text: reading either gives a date or throws the conversion error, and a
// date that is read writes back to a text that reads as the same date.

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

bool throwsEncodeErrorOnly(const auto &step)
{
    try {
        step();
    } catch (const ruvo::Error &e) {
        return e.message() == u"Invalid argument to date encode";
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the separator, as the user's locale would.
    static constexpr char16_t separators[] = {u'/', u'.', u'-'};
    ruvo::setDateSeparator(separators[data[0] % 3]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    QDate date;
    try {
        date = ruvo::TextToDate(text, 2026);
    } catch (const ruvo::Error &e) {
        if (!e.message().endsWith(u"' is not a valid date"))
            std::abort();
        return 0;
    }
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        std::abort();
    const QString written = ruvo::DateToText(date);
    if (written.size() != 10 || ruvo::TextToDate(written, 2026) != date)
        std::abort();
    if (!throwsEncodeErrorOnly([&] { ruvo::AddDays(written, 1); }) ||
        !throwsEncodeErrorOnly([&] { ruvo::SubtractDays(written, 1); }) ||
        !throwsEncodeErrorOnly([&] { ruvo::WeekNumber(written); }))
        std::abort();
    return 0;
}
