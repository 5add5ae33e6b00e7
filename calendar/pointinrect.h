// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

namespace ruvo {

// True when (x, y) lies in the rectangle, all four edges included. Build the rectangle from
// its corners, QRect(QPoint(left, top), QPoint(right, bottom)), so right() and bottom() are
// the last column and row inside.
constexpr bool PointInRect(qint32 x, qint32 y, const QRect &rect)
{
    return rect.left() <= x && x <= rect.right() && rect.top() <= y && y <= rect.bottom();
}

} // namespace ruvo
