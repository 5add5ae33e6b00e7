// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

namespace ruvo::artgen {

// A 32 x 32 monochrome cursor: `image` is black where drawn black and white elsewhere; `mask`
// is black where the cursor is opaque and white where it is transparent. Both are indexed
// images with the palette black, white.
struct HandCursor
{
    QString name;
    QPoint hotSpot;
    QImage image;
    QImage mask;
};

// LEFTHAND, RIGHTHAND, TOPHAND and their plainer twins LEFTHAND_D, RIGHTHAND_D, TOPHAND_D.
QList<HandCursor> paintHandCursors();

} // namespace ruvo::artgen
