// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pointfont.h"

namespace ruvo {

static_assert(PointsToPixels(7) == 9 && PointsToPixels(8) == 11 && PointsToPixels(11) == 15);
static_assert(PointsToPixels(20) == 27 && PointsToPixels(28) == 37 && PointsToPixels(36) == 48);

QFont PointFont(const QStringList &families, int points, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(PointsToPixels(points));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QFont ArialFont(int points, bool bold)
{
    return PointFont({QStringLiteral("Arial")}, points, bold);
}

} // namespace ruvo
