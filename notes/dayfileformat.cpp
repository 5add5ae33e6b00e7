// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dayfileformat.h"

#include "calendar/datetext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace ruvo {

namespace {

constexpr auto kSingleByteCodePage = "windows-1252";

// A BOM at the start is kept as a character: the text must come back exactly as it was.
constexpr auto kKeepBom =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

bool decodeUtf8(QByteArrayView bytes, QString &text)
{
    QStringDecoder decoder(QStringConverter::Utf8, kKeepBom);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Each byte of the code page is one UTF-16 unit. Its 256 units, decoded once by the system's
// converter, decode a file without opening a converter for it: the search reads thousands.
// Empty when the converter gives anything else.
const QString &singleByteUnits()
{
    static const QString units = [] {
        QByteArray every(256, Qt::Uninitialized);
        for (int byte = 0; byte < 256; ++byte)
            every[byte] = char(byte);
        QStringDecoder decoder(kSingleByteCodePage, kKeepBom);
        const QString decoded = decoder.decode(every);
        return decoded.size() == 256 && !decoder.hasError() ? decoded : QString();
    }();
    return units;
}

QString decodeSingleByte(QByteArrayView bytes)
{
    const QString &units = singleByteUnits();
    if (units.isEmpty()) {
        QStringDecoder decoder(kSingleByteCodePage, kKeepBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [&units](char byte) { return units[uchar(byte)]; });
    return text;
}

bool hasHighByte(const QByteArray &bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) > 127; });
}

} // namespace

QString DayFileStem(const QDate &date)
{
    const auto twoDigits = [](int n) {
        return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
    };
    return twoDigits(date.day()) + twoDigits(date.month()) +
           twoDigits(((date.year() % 100) + 100) % 100);
}

QString NoteFileName(const QString &dateText)
{
    return DayFileStem(TextToDate(dateText));
}

QString DayFilePath(const QString &directory, const QString &stem, DayFileKind kind,
                    const QString &extension)
{
    // A folder given with its closing separator ("/home/ann/Ruvo/") gets no second one.
    const QString name = stem + QChar(char16_t(kind)) + u'.' + extension;
    if (directory.endsWith(u'/'))
        return directory + name;
    return directory + u'/' + name;
}

QString DecodeDayText(const QByteArray &bytes)
{
    QString text;
    if (decodeUtf8(bytes, text))
        return text;
    return decodeSingleByte(bytes);
}

QByteArray EncodeDayText(const QString &text)
{
    QStringEncoder encoder(kSingleByteCodePage, kKeepBom);
    const QByteArray singleByte = encoder.encode(text);
    QString check;
    const bool holdsEveryCharacter = !encoder.hasError() && decodeSingleByte(singleByte) == text;
    const bool readsAsUtf8 = hasHighByte(singleByte) && decodeUtf8(singleByte, check);
    if (holdsEveryCharacter && !readsAsUtf8)
        return singleByte;
    return text.toUtf8();
}

QList<QStringView> DayLineViews(QStringView text)
{
    QList<QStringView> lines;
    const qsizetype end = [&] {
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        return nul < 0 ? text.size() : nul;
    }();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << text.sliced(start, i - start);
            if (c == u'\r' && i + 1 < end && text.at(i + 1) == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines << text.sliced(start, end - start);
    return lines;
}

QStringList SplitDayLines(const QString &text)
{
    QStringList lines;
    for (const QStringView line : DayLineViews(text))
        lines << line.toString();
    return lines;
}

QByteArray DayFileBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n";
    return EncodeDayText(text);
}

QByteArray EmptyDayFileBytes(DayFileKind kind)
{
    return kind == DayFileKind::Notes ? QByteArray() : QByteArray("\r\n").repeated(kHourRows);
}

bool DayFileHasText(DayFileKind kind, qint64 size)
{
    return size > (kind == DayFileKind::Notes ? 0 : 2 * kHourRows);
}

QString DayFileText(const QByteArray &bytes)
{
    // The text ends at a NUL byte; cut before decoding, so nothing past it decides the encoding.
    const qsizetype nul = bytes.indexOf('\0');
    return DecodeDayText(nul < 0 ? bytes : bytes.first(nul));
}

QStringList DayFileLines(const QByteArray &bytes)
{
    return SplitDayLines(DayFileText(bytes));
}

bool DayFileHoldsOnly(const QByteArray &bytes, QStringView text)
{
    QString held = DecodeDayText(bytes);
    held.removeIf([](QChar c) { return c == u'\r' || c == u'\n'; });
    return held == text;
}

std::array<QString, kHourRows> HourRowsOf(const QStringList &lines)
{
    std::array<QString, kHourRows> rows;
    for (int row = 0; row < kHourRows && row < lines.size(); ++row)
        rows[std::size_t(row)] = lines.at(row);
    return rows;
}

} // namespace ruvo
