// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>

namespace ruvo::artgen {

// The open planner spread under the calendar page: date and notes page on the left, hour page
// on the right, wire binding between them and a lifted corner at each bottom corner. 387 x 278.
QImage paintPageSpread();

// The spread with sample texts, day block and editors where the program puts them; only for
// looking at the composition.
QImage paintPageMockup(const QImage &background);

} // namespace ruvo::artgen
