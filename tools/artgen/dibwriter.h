// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

namespace ruvo::artgen {

// Uncompressed bitmap files with a 40-byte information header and bottom-up rows, each row
// padded to a multiple of 4 bytes.

// 24 bits per pixel, no palette; the pixel data starts at offset 54.
QByteArray encodeBmp24(const QImage &image);

// 1, 4 or 8 bits per pixel from an indexed image; the palette is padded with black to exactly
// 2^depth entries.
QByteArray encodeBmpIndexed(const QImage &indexed, int depth);

// An icon file holding one image at 4 bits per pixel (16-colour palette) and its AND mask;
// transparent[y * width + x] marks the pixels that show what lies behind the icon.
QByteArray encodeIco4(const QImage &indexed, const std::vector<bool> &transparent);

} // namespace ruvo::artgen
