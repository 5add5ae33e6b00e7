// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/hourscale.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where everything lies on the page, in pixels from the pad's top-left corner.
namespace ruvo::pagelayout {

constexpr QSize kPageSize(387, 278);
constexpr QRect kDayBlock(100, 18, 64, 58); // x 100..163, y 18..75
constexpr QPoint kDayNumberAt(133, 20);     // centre, top
constexpr QPoint kWeekdayAt(133, 60);       // centre, top
constexpr QPoint kMonthAt(60, 55);          // centre, top
constexpr QPoint kYearAt(60, 20);           // centre, top
constexpr QPoint kDayWeekLineAt(165, 250);  // right edge, top
constexpr int kHourLabelLeft = 218;
constexpr int kHourLabelTop = 19;
constexpr int kRowHeight = 14;
constexpr int kRuleLeft = 20;
constexpr int kRuleEnd = 165; // excluded
constexpr int kUpperRuleY = 80;
constexpr int kLowerRuleY = 250;
constexpr QRect kNotesBounds(18, 85, 149, 160);
constexpr int kTimeFieldLeft = 246;
constexpr int kTimeFieldTop = 20;
constexpr QSize kTimeFieldSize(115, 16);

constexpr QRect timeFieldRect(int row) // row 1 to 17
{
    return {QPoint(kTimeFieldLeft, kTimeFieldTop + kRowHeight * (row - 1)), kTimeFieldSize};
}

} // namespace ruvo::pagelayout
