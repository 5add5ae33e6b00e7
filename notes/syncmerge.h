// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include <QString>
#include <QStringList>

#include <array>

namespace ruvo {

// A day as a calendar holds it: the notes lines and the 17 hour rows.
struct SyncDay
{
    QStringList notes;
    std::array<QString, kHourRows> hours;

    bool isEmpty() const;
    friend bool operator==(const SyncDay &, const SyncDay &) = default;
};

// The notes of two sides that both started from base, merged line by line: a run of lines
// changed on one side only takes that side's lines; a run changed on both sides keeps ours, then
// each of theirs that ours does not hold. No line of either side is lost, none is doubled.
QStringList MergeNotesThreeWay(const QStringList &base, const QStringList &ours,
                               const QStringList &theirs);

// One hour row of two sides that both started from base. Changed on one side only, it takes
// that side's text; changed on both, it keeps both, "ours / theirs" (one that holds the other
// stays), and where that is longer than a row holds, theirs goes to overflow, for the notes.
QString MergeHourThreeWay(const QString &base, const QString &ours, const QString &theirs,
                          QStringList &overflow);

// A day merged three ways: the notes, each hour row, the overflow of the rows joined to the
// notes. conflicted: some line was changed on both sides.
SyncDay MergeDaysThreeWay(const SyncDay &base, const SyncDay &ours, const SyncDay &theirs,
                          bool *conflicted = nullptr);

} // namespace ruvo
