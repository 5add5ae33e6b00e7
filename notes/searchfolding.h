// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace ruvo {

// How the search compares texts: without regard to case or accents.

// Where a text occurs in a line, in units of the line; column -1 when it does not.
struct LineMatch
{
    qsizetype column = -1;
    qsizetype length = 0;
    bool found() const { return column >= 0; }
};

// Text as the search compares it: each character decomposed (NFD), its nonspacing marks
// dropped, then case-folded, so "É", "é" and "e" all read "e".
QString FoldedForSearch(QStringView text);

// The folded form of a query that lines are searched for; empty when the query, trimmed,
// holds fewer than two characters (accents not counted), which gives no search.
QString SearchKey(QStringView query);

// The first occurrence of key (a SearchKey) in line, compared folded, mapped back to the units
// of line. A match that ends on a letter takes the accents that follow it in line.
LineMatch FindInLine(QStringView line, QStringView key);

// Whether text is ASCII throughout.
bool IsAsciiText(QStringView text);

// Whether a file's bytes can hold the key at all. A file of ASCII bytes reads the same in either
// encoding and folds to itself in lower case, so most files are passed over undecoded.
bool MayHoldKey(QByteArrayView bytes, QStringView key, bool keyIsAscii);

} // namespace ruvo
