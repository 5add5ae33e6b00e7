// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "hotareas.h"

#include "calendar/pointinrect.h"

#include <QRect>

#include <array>

namespace ruvo {

namespace {

struct HotAreaPlace
{
    HotArea area;
    QRect rect; // built from its corners: right() and bottom() are inside
    int cursor;
};

constexpr std::array<HotAreaPlace, 3> kHotAreas = {{
    {HotArea::Prior, QRect(QPoint(1, 249), QPoint(36, 269)), -1020},   // the left hand
    {HotArea::Next, QRect(QPoint(349, 249), QPoint(384, 269)), -1019}, // the right hand
    {HotArea::Date, QRect(QPoint(105, 20), QPoint(165, 75)), -1018},   // the pointing hand
}};

} // namespace

HotArea hotAreaAt(QPoint point)
{
    for (const HotAreaPlace &place : kHotAreas) {
        if (PointInRect(point.x(), point.y(), place.rect))
            return place.area;
    }
    return HotArea::None;
}

int hotAreaCursor(HotArea area)
{
    for (const HotAreaPlace &place : kHotAreas) {
        if (place.area == area)
            return place.cursor;
    }
    return 0;
}

} // namespace ruvo
