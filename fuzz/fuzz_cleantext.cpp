// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any UTF-16 as pasted text. An hour field keeps one line: no line break, no control character,
// no half of a surrogate pair, at most its length, and every other character as it came, in
// order. The notes keep their line breaks and tabs and lose only the other control characters
// and the halves of pairs. The expected results come from a model that works on whole code
// points, not from the code under test.

#include "notes/cleantext.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

enum class Kind { Kept, Dropped, Space };

bool isHigh(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// C0, DEL and C1: the control characters of Unicode's Cc category.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isBreakOrTab(char32_t c)
{
    return c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == U'\t' || c == 0x85 ||
           c == 0x2028 || c == 0x2029;
}

// Walks the text a code point at a time; a lone surrogate is a code point of its own.
template<typename Classify> std::u16string model(const std::u16string &in, Classify classify)
{
    std::u16string out;
    for (size_t i = 0; i < in.size();) {
        const bool pair = isHigh(in[i]) && i + 1 < in.size() && isLow(in[i + 1]);
        const size_t units = pair ? 2 : 1;
        const bool lone = !pair && (isHigh(in[i]) || isLow(in[i]));
        const bool crlf = in[i] == u'\r' && i + 1 < in.size() && in[i + 1] == u'\n';
        const Kind kind = lone ? Kind::Dropped : classify(char32_t(in[i]));
        switch (kind) {
        case Kind::Kept:
            out.append(in, i, units);
            break;
        case Kind::Space:
            out.push_back(u' ');
            break;
        case Kind::Dropped:
            break;
        }
        // CR LF is one line break: one space in a field.
        i += kind == Kind::Space && crlf ? 2 : units;
    }
    return out;
}

std::u16string toStd(const QString &text)
{
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
}

// Says which check failed, for the finding's report.
#define check(condition) ((condition) ? void() : failed(#condition, __LINE__))

[[noreturn]] void failed(const char *condition, int line)
{
    std::fprintf(stderr, "fuzz_cleantext.cpp:%d: %s\n", line, condition);
    std::abort();
}

void checkNoHalfPair(const std::u16string &text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (isHigh(text[i]))
            check(i + 1 < text.size() && isLow(text[++i]));
        else
            check(!isLow(text[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte is the field's length limit; the rest, two bytes a unit, the pasted text.
    const qsizetype maxLength = data[0];
    std::u16string in;
    for (size_t i = 1; i + 1 < size; i += 2)
        in.push_back(char16_t(data[i] | (data[i + 1] << 8)));
    // Unit for unit: fromUtf16 would take a leading U+FFFE for a byte-swapped byte order mark.
    const QString text(reinterpret_cast<const QChar *>(in.data()), qsizetype(in.size()));

    const std::u16string field = toStd(ruvo::CleanHourText(text, maxLength));
    const std::u16string fieldModel = model(in, [](char32_t c) {
        return isBreakOrTab(c) ? Kind::Space : isControl(c) ? Kind::Dropped : Kind::Kept;
    });
    checkNoHalfPair(field);
    for (const char16_t c : field)
        check(!isBreakOrTab(c) && !isControl(c));
    // Cut at the limit, and by one unit less only where the limit falls inside a pair.
    check(fieldModel.compare(0, field.size(), field) == 0);
    check(field.size() == fieldModel.size() || field.size() == size_t(maxLength) ||
          (field.size() + 1 == size_t(maxLength) && isHigh(fieldModel[field.size()])));

    // As the field's validator cleans it, with the cursor anywhere: the same text, a cursor
    // inside it.
    QString input = text;
    int position = int(in.empty() ? 0 : data[1] % (in.size() + 1));
    ruvo::CleanHourInput(input, position, maxLength);
    check(toStd(input) == field);
    check(position >= 0 && position <= input.size());

    const std::u16string notes = toStd(ruvo::CleanNotesText(text));
    checkNoHalfPair(notes);
    check(notes == model(in, [](char32_t c) {
              return isControl(c) && c != U'\n' && c != U'\r' && c != U'\t' ? Kind::Dropped
                                                                            : Kind::Kept;
          }));
    return 0;
}
