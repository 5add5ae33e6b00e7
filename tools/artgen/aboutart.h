// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>

namespace ruvo::artgen {

// Pictures of the about box, on white, in full colour; the caller reduces the animations to
// 256 colours.

// 12 frames, 39 x 42: a wire-frame globe turning, a link ring around it. Loops seamlessly.
QList<QImage> paintGlobeFrames();

// 36 frames, 50 x 40: a desk calendar whose top page flips over. Loops seamlessly.
QList<QImage> paintFlipFrames();

// 176 x 32: the button-like picture that closes the about box.
QImage paintCloseBanner();

} // namespace ruvo::artgen
