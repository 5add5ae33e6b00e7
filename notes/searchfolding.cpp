// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "searchfolding.h"

#include <QList>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <type_traits>

namespace ruvo {

namespace {

// Folded units of the code points below U+2000 (ASCII, Latin, Greek, Cyrillic and the other
// alphabets, where nearly every accented letter of a note lies), built once: the hot loop then
// never decomposes a string. kDropped marks a nonspacing mark, kUnlisted a character that does
// not fold to one unit (it takes the slow way). Neither is a character.
constexpr char16_t kTableEnd = 0x2000;
constexpr char16_t kDropped = 0xFFFE;
constexpr char16_t kUnlisted = 0xFFFF;

// A folded text: its units and, where asked for, for each the position in the original text of
// the character it comes from.
struct FoldedText
{
    QVarLengthArray<char16_t, 256> units;
    QVarLengthArray<qsizetype, 256> origins;
};

// Accents are nonspacing (and enclosing) marks once decomposed. Spacing marks stay: in Indic
// scripts they are the vowels.
bool isDroppedMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

// What a character folds to, in code points: decomposed (NFD), its marks dropped, case-folded.
template<typename Take> void foldSlowly(char32_t c, Take take)
{
    if (isDroppedMark(c))
        return;
    if (QChar::decompositionTag(c) != QChar::Canonical) {
        take(QChar::toCaseFolded(c));
        return;
    }
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    for (const char32_t part : decomposed.toUcs4()) {
        if (!isDroppedMark(part))
            take(QChar::toCaseFolded(part));
    }
}

const std::array<char16_t, kTableEnd> &foldTable()
{
    static const auto table = [] {
        std::array<char16_t, kTableEnd> built{};
        for (char32_t c = 0; c < kTableEnd; ++c) {
            int count = 0;
            char32_t folded = 0;
            foldSlowly(c, [&](char32_t part) {
                ++count;
                folded = part;
            });
            built[c] = count == 0                                         ? kDropped
                       : count == 1 && !QChar::requiresSurrogates(folded) ? char16_t(folded)
                                                                          : kUnlisted;
        }
        return built;
    }();
    return table;
}

// The one unit a unit folds to, or kDropped, or kUnlisted when it takes the slow way (a
// surrogate, a character that decomposes beyond the table).
char16_t foldedBeyondTable(char16_t unit)
{
    if (QChar::isSurrogate(unit) || unit >= kDropped ||
        QChar::decompositionTag(char32_t(unit)) == QChar::Canonical)
        return kUnlisted;
    if (isDroppedMark(unit))
        return kDropped;
    const char32_t folded = QChar::toCaseFolded(char32_t(unit));
    return QChar::requiresSurrogates(folded) ? kUnlisted : char16_t(folded);
}

// The same for any unit; the table is looked up once by the caller.
inline char16_t foldedUnit(const std::array<char16_t, kTableEnd> &table, char16_t unit)
{
    return unit < kTableEnd ? table[unit] : foldedBeyondTable(unit);
}

// Folds the character at units[at], moves at past it and hands over each unit it folds to.
template<typename Take>
void foldCharacter(const std::array<char16_t, kTableEnd> &table, const char16_t *units,
                   qsizetype size, qsizetype &at, Take take)
{
    const char16_t unit = units[at];
    const char16_t folded = foldedUnit(table, unit);
    if (folded != kUnlisted) {
        ++at;
        if (folded != kDropped)
            take(folded);
        return;
    }
    char32_t c = unit;
    if (QChar::isHighSurrogate(unit) && at + 1 < size && QChar::isLowSurrogate(units[at + 1]))
        c = QChar::surrogateToUcs4(unit, units[++at]);
    ++at;
    foldSlowly(c, [&take](char32_t part) {
        if (QChar::requiresSurrogates(part)) {
            take(QChar::highSurrogate(part));
            take(QChar::lowSurrogate(part));
        } else {
            take(char16_t(part));
        }
    });
}

// Folds text into out, its origins too when KeepOrigins.
template<bool KeepOrigins> void foldInto(QStringView text, FoldedText &out)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    const std::array<char16_t, kTableEnd> &table = foldTable();
    out.units.reserve(size);
    if constexpr (KeepOrigins)
        out.origins.reserve(size);
    for (qsizetype at = 0; at < size;) {
        const qsizetype origin = at;
        foldCharacter(table, units, size, at, [&out, origin](char16_t folded) {
            out.units.append(folded);
            if constexpr (KeepOrigins)
                out.origins.append(origin);
        });
    }
}

// Where a match of key that begins at units[start] ends, the accents after it included; -1 when
// key does not begin there.
qsizetype matchEnd(const std::array<char16_t, kTableEnd> &table, const char16_t *units,
                   qsizetype size, qsizetype start, QStringView key)
{
    qsizetype matched = 0;
    bool differs = false;
    qsizetype at = start;
    while (matched < key.size()) {
        if (at == size)
            return -1;
        // The rest of a character whose first units end the key goes with the match.
        foldCharacter(table, units, size, at, [&](char16_t folded) {
            if (matched == key.size() || differs)
                return;
            if (folded == key[matched].unicode())
                ++matched;
            else
                differs = true;
        });
        if (differs)
            return -1;
    }
    while (at < size) {
        qsizetype next = at;
        bool kept = false;
        foldCharacter(table, units, size, next, [&kept](char16_t) { kept = true; });
        if (kept)
            break;
        at = next;
    }
    return at;
}

// The whole line folded with the origins of its units: the way that finds a key even where it
// begins inside a character that folds to several units.
LineMatch findFolded(QStringView line, QStringView key)
{
    FoldedText folded;
    foldInto<true>(line, folded);
    const qsizetype at = QStringView(folded.units.constData(), folded.units.size()).indexOf(key);
    if (at < 0)
        return {};
    // The match ends where the next character that is kept begins: the accents of its last
    // letter and the rest of a character folded into several units go with it.
    const qsizetype last = folded.origins[at + key.size() - 1];
    qsizetype end = line.size();
    for (qsizetype i = at + key.size(); i < folded.origins.size(); ++i) {
        if (folded.origins[i] != last) {
            end = folded.origins[i];
            break;
        }
    }
    const qsizetype column = folded.origins[at];
    return {column, end - column};
}

char16_t asciiFolded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// Bytes or UTF-16 units, as unsigned values.
template<typename Unit> char16_t unitValue(Unit unit)
{
    return char16_t(std::make_unsigned_t<Unit>(unit));
}

template<typename Unit> bool allAscii(const Unit *units, qsizetype size)
{
    // No early exit: the loop vectorizes, and lines and day files are short.
    char16_t high = 0;
    for (qsizetype i = 0; i < size; ++i)
        high |= unitValue(units[i]);
    return high < 0x80;
}

// The first place where the ASCII key occurs in ASCII units, ignoring case.
template<typename Unit> qsizetype findAscii(const Unit *units, qsizetype size, QStringView key)
{
    const qsizetype keySize = key.size();
    const char16_t first = key[0].unicode();
    for (qsizetype i = 0; i + keySize <= size; ++i) {
        if (asciiFolded(unitValue(units[i])) != first)
            continue;
        qsizetype j = 1;
        while (j < keySize && asciiFolded(unitValue(units[i + j])) == key[j].unicode())
            ++j;
        if (j == keySize)
            return i;
    }
    return -1;
}

} // namespace

bool IsAsciiText(QStringView text)
{
    return allAscii(text.utf16(), text.size());
}

bool MayHoldKey(QByteArrayView bytes, QStringView key, bool keyIsAscii)
{
    if (!allAscii(bytes.data(), bytes.size()))
        return true;
    return keyIsAscii && findAscii(bytes.data(), bytes.size(), key) >= 0;
}

QString FoldedForSearch(QStringView text)
{
    FoldedText folded;
    foldInto<false>(text, folded);
    return QString(reinterpret_cast<const QChar *>(folded.units.constData()), folded.units.size());
}

QString SearchKey(QStringView query)
{
    const QStringView trimmed = query.trimmed();
    int characters = 0;
    for (const char32_t c : trimmed.toUcs4()) {
        if (!isDroppedMark(c))
            ++characters;
    }
    return characters < 2 ? QString() : FoldedForSearch(trimmed);
}

LineMatch FindInLine(QStringView line, QStringView key)
{
    if (key.isEmpty())
        return {};
    if (IsAsciiText(line)) {
        // Folding an ASCII line changes nothing but the case, and no other key can occur in it.
        if (!IsAsciiText(key))
            return {};
        const qsizetype at = findAscii(line.utf16(), line.size(), key);
        return at < 0 ? LineMatch{} : LineMatch{at, key.size()};
    }
    // Most characters fold to one unit: each that folds to the key's first is a place to try,
    // and no folded copy of the line is made. (A key holding a noncharacter, which the table's
    // marks stand for, takes the long way.)
    if (std::any_of(key.begin(), key.end(), [](QChar c) { return c.unicode() >= kDropped; }))
        return findFolded(line, key);
    const std::array<char16_t, kTableEnd> &table = foldTable();
    const char16_t *units = line.utf16();
    const char16_t first = key.front().unicode();
    for (qsizetype at = 0; at < line.size(); ++at) {
        const char16_t folded = foldedUnit(table, units[at]);
        if (folded == kUnlisted)
            return findFolded(line, key);
        if (folded != first)
            continue;
        const qsizetype end = matchEnd(table, units, line.size(), at, key);
        if (end >= 0)
            return {at, end - at};
    }
    return {};
}

} // namespace ruvo
