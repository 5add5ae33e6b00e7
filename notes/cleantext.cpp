// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cleantext.h"

namespace ruvo {

namespace {

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\x85' ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Appends text[i] unless it is half of a surrogate pair standing alone; returns how many
// units were looked at.
qsizetype appendCharacter(QString &out, const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate()) {
        if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(text.at(i + 1));
            return 2;
        }
        return 1;
    }
    if (!c.isLowSurrogate())
        out.append(c);
    return 1;
}

} // namespace

qsizetype CharacterBoundaryAtOrBefore(const QString &text, qsizetype length)
{
    if (length <= 0)
        return 0;
    if (length >= text.size())
        return text.size();
    return text.at(length - 1).isHighSurrogate() && text.at(length).isLowSurrogate() ? length - 1
                                                                                     : length;
}

QString CleanHourText(const QString &text, qsizetype maxLength)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            out.append(u' ');
            i += 2;
        } else if (isLineBreak(c) || c == u'\t') {
            out.append(u' ');
            ++i;
        } else if (QChar::category(c) == QChar::Other_Control) {
            ++i;
        } else {
            i += appendCharacter(out, text, i);
        }
    }
    out.truncate(CharacterBoundaryAtOrBefore(out, maxLength));
    return out;
}

bool CleanHourInput(QString &input, int &position, qsizetype maxLength)
{
    const QString clean = CleanHourText(input, maxLength);
    if (clean == input)
        return false;
    position = int(CleanHourText(input.left(position), maxLength).size());
    input = clean;
    return true;
}

QString CleanNotesText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text.at(i).unicode();
        if (QChar::category(c) == QChar::Other_Control && c != u'\n' && c != u'\r' && c != u'\t')
            ++i;
        else
            i += appendCharacter(out, text, i);
    }
    return out;
}

} // namespace ruvo
