// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

namespace ruvo {

// Colours travel through the program's properties and settings as 0x00BBGGRR values, red in
// the lowest byte. A value with the top bit set names a system colour by its index in the
// low byte, so that it follows the desktop's palette.
constexpr quint32 clBlack = 0x000000;
constexpr quint32 clWhite = 0xFFFFFF;
constexpr quint32 clRed = 0x0000FF;
constexpr quint32 clBlue = 0xFF0000;
constexpr quint32 clSilver = 0xC0C0C0;
constexpr quint32 clGray = 0x808080;
constexpr quint32 clBtnFace = 0x8000000F;
constexpr quint32 clGrayText = 0x80000011;

constexpr quint32 kSystemColorFlag = 0x80000000;

// The colour of a 0x00BBGGRR value, or of a system colour from the application's palette
// (an unknown system colour index gives black).
QColor ColorToQColor(quint32 value);

// The same, with system colours from the given palette (a widget's own).
QColor ColorToQColor(quint32 value, const QPalette &palette);

// The 0x00BBGGRR value of a colour (alpha is dropped).
constexpr quint32 RgbToColorValue(int red, int green, int blue)
{
    return quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16;
}

} // namespace ruvo
