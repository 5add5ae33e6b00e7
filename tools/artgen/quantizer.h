// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

namespace ruvo::artgen {

// A palette of at most `size` colours for a set of pictures, found by median cut. The `fixed`
// colours come first and are kept exactly (pure white paper must stay pure white).
QList<QRgb> medianCutPalette(const QList<QImage> &images, int size, const QList<QRgb> &fixed);

// Maps every pixel to its nearest palette entry. With `dither`, the rounding error of a pixel
// that has no exact match is spread to its neighbours (Floyd-Steinberg), so soft gradients
// show no bands; exact matches stay exact and stop the error.
QImage toIndexed(const QImage &image, const QList<QRgb> &palette, bool dither);

} // namespace ruvo::artgen
