// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace ruvo {

// What the page's editors may hold. Text reaches them typed, pasted, dropped, composed by an
// input method or read from a day file that another program wrote; whatever the way, it must
// come back from the day file exactly as it was stored.

// One hour row: every line break (CR LF, CR, LF, vertical tab, form feed, next line, U+2028,
// U+2029) and tab becomes one space, every other control character and every unpaired
// surrogate goes. The result is at most maxLength UTF-16 units and never ends inside a
// surrogate pair.
QString CleanHourText(const QString &text, qsizetype maxLength);

// An hour field's text as it is being entered, cleaned as CleanHourText does, with the cursor
// kept after what was before it, cleaned the same way. Whether anything changed.
bool CleanHourInput(QString &input, int &position, qsizetype maxLength);

// The notes: control characters other than LF, CR and tab go, and so do unpaired surrogates.
QString CleanNotesText(const QString &text);

// Where text may be cut to at most length units without splitting a surrogate pair.
qsizetype CharacterBoundaryAtOrBefore(const QString &text, qsizetype length);

} // namespace ruvo
