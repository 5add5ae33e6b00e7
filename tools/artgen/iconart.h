// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>

namespace ruvo::artgen {

// The program icon, 32 x 32: a small tear-off calendar page with a red top. The picture is
// drawn with transparency; encodeProgramIcon() reduces it to 16 colours and a mask.
QImage paintProgramIcon();
QByteArray encodeProgramIcon(const QImage &icon);

// The same picture for the desktop's icon theme, in full colour with alpha, drawn anew at each
// size so that large icons stay sharp; the smallest sizes leave out the finer details.
inline constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
QImage paintThemeIcon(int size);
QByteArray encodePng(const QImage &image);

} // namespace ruvo::artgen
