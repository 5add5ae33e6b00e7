// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include "calendar/language.h"

#include <QString>
#include <QTime>

#include <array>

namespace ruvo {

// The labels of the 17 rows, "07:00" and so on. English counts the clock twice round, an
// hour above 12 shown less 12 (the label after 11:00 is 12:00, then 01:00); every other
// language, laDefault included, runs 00:00 to 23:00. A scale started at hour 0 begins with
// 00:00 in every language.
std::array<QString, kHourRows> HourScaleLabels(int startTime, TLanguage language);

// The current hour as the hour scale reads it: two digits, 00 to 23.
QString CurrentHourText(const QTime &time);

// The row (1 to 17) whose hour, (startTime + row - 1) modulo 24, equals the current hour
// text; 0 when the current hour is not on the scale.
int CurrentHourRow(int startTime, const QString &currentHourText);

} // namespace ruvo
