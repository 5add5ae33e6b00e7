// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QStringList>

namespace ruvo {

// The program's windows are laid out in pixels, so every font is sized in pixels: a point size
// as it measures at 96 dots per inch (7 pt: 9 px, 8 pt: 11 px, 28 pt: 37 px), whatever the
// screen says.
constexpr int PointsToPixels(int points)
{
    return (points * 96 + 36) / 72;
}

// A font of the first of families that is installed, sized as above. Every attribute is set,
// so a child given it takes nothing from its parent's font.
QFont PointFont(const QStringList &families, int points, bool bold = false);
QFont ArialFont(int points, bool bold = false);

} // namespace ruvo
