// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace ruvo {

// What a screen reader is shown of a MonthGrid: a table whose cells are the weekday headers and
// the days of the month, each cell named by its text; a day's description says whether it holds
// notes and whether it is today, and the chosen day is the selected cell. An accessibility
// factory (QAccessible::installFactory), installed once by the first grid.
QAccessibleInterface *MonthGridAccessibleFactory(const QString &className, QObject *object);

} // namespace ruvo
