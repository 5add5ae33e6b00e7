// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>

namespace ruvo {

// The places of the page that react to the pointer.
enum class HotArea { None, Prior, Next, Date };

// The area a point of the page lies in, every edge inside.
HotArea hotAreaAt(QPoint point);

// The cursor number shown over an area (see platform/cursortable.h); 0, the arrow, for None.
int hotAreaCursor(HotArea area);

} // namespace ruvo
