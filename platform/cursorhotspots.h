// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QStringView>

#include <array>

namespace ruvo {

// Where each cursor of the cursor resources points. They belong to the cursors, not to their
// pictures: the picture generator draws the fingertips there, and the cursor table gives each
// cursor its point from here.
struct CursorHotSpot
{
    const char16_t *name;
    QPoint point;
};

inline constexpr std::array<CursorHotSpot, 10> kCursorHotSpots = {{
    {u"LEFTHAND", {1, 11}},
    {u"RIGHTHAND", {29, 11}},
    {u"TOPHAND", {11, 3}},
    {u"LEFTHAND_D", {1, 11}},
    {u"RIGHTHAND_D", {29, 11}},
    {u"TOPHAND_D", {11, 3}},
    {u"TRASHHAND", {7, 23}},
    {u"TRASHFORBID", {9, 13}},
    {u"TRASHMATCH", {9, 12}},
    {u"TRASHTOPHAND", {11, 3}},
}};

// The hot spot of a cursor by name, matched without regard to case; (0, 0) for any other.
inline QPoint CursorHotSpotOf(QStringView name)
{
    for (const CursorHotSpot &entry : kCursorHotSpots) {
        if (name.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.point;
    }
    return {0, 0};
}

} // namespace ruvo
