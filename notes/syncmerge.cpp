// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncmerge.h"

#include "conflictcopies.h"

#include <QList>

#include <algorithm>
#include <optional>
#include <vector>

namespace ruvo {

namespace {

const QString kSeparator = QStringLiteral(" / ");

// A page's notes are some hundred lines; past this many line pairs the merge keeps both sides
// whole rather than spend seconds aligning them.
constexpr qsizetype kMaxAlignedPairs = 4'000'000;

// For each line of base, the line of other it stays as (a longest common subsequence), or -1.
// Lines the same at both ends are matched first, so a page of a thousand lines with one change
// is aligned at once.
std::optional<QList<qsizetype>> Alignment(const QStringList &base, const QStringList &other)
{
    QList<qsizetype> match(base.size(), -1);
    qsizetype head = 0;
    while (head < base.size() && head < other.size() && base[head] == other[head]) {
        match[head] = head;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < base.size() - head && tail < other.size() - head &&
           base[base.size() - 1 - tail] == other[other.size() - 1 - tail]) {
        match[base.size() - 1 - tail] = other.size() - 1 - tail;
        ++tail;
    }
    const qsizetype n = base.size() - head - tail;
    const qsizetype m = other.size() - head - tail;
    if (n == 0 || m == 0)
        return match;
    if (n * m > kMaxAlignedPairs)
        return std::nullopt;
    // lengths[i][j]: the longest common run of base[head + i..] and other[head + j..].
    std::vector<int> lengths(std::size_t((n + 1) * (m + 1)), 0);
    const auto at = [m](qsizetype i, qsizetype j) {
        return std::size_t(i * (m + 1) + j);
    };
    for (qsizetype i = n - 1; i >= 0; --i)
        for (qsizetype j = m - 1; j >= 0; --j)
            lengths[at(i, j)] = base[head + i] == other[head + j]
                                    ? lengths[at(i + 1, j + 1)] + 1
                                    : std::max(lengths[at(i + 1, j)], lengths[at(i, j + 1)]);
    for (qsizetype i = 0, j = 0; i < n && j < m;) {
        if (base[head + i] == other[head + j]) {
            match[head + i] = head + j;
            ++i, ++j;
        } else if (lengths[at(i + 1, j)] >= lengths[at(i, j + 1)]) {
            ++i;
        } else {
            ++j;
        }
    }
    return match;
}

// One run of lines between two lines that stayed on both sides.
QStringList MergedRun(const QStringList &base, const QStringList &ours, const QStringList &theirs,
                      bool &conflicted)
{
    if (ours == base || ours == theirs)
        return theirs;
    if (theirs == base)
        return ours;
    conflicted = true;
    return MergeNotesLines(ours, theirs);
}

QStringList MergeNotes(const QStringList &base, const QStringList &ours, const QStringList &theirs,
                       bool &conflicted)
{
    const std::optional<QList<qsizetype>> toOurs = Alignment(base, ours);
    const std::optional<QList<qsizetype>> toTheirs = Alignment(base, theirs);
    if (!toOurs || !toTheirs)
        return MergedRun(base, ours, theirs, conflicted);
    QStringList merged;
    qsizetype b = 0, o = 0, t = 0;
    for (qsizetype k = 0; k <= base.size(); ++k) {
        const bool end = k == base.size();
        if (!end && ((*toOurs)[k] < 0 || (*toTheirs)[k] < 0))
            continue;
        const qsizetype oEnd = end ? ours.size() : (*toOurs)[k];
        const qsizetype tEnd = end ? theirs.size() : (*toTheirs)[k];
        merged += MergedRun(base.mid(b, k - b), ours.mid(o, oEnd - o), theirs.mid(t, tEnd - t),
                            conflicted);
        if (end)
            break;
        merged << base[k];
        b = k + 1, o = oEnd + 1, t = tEnd + 1;
    }
    return merged;
}

} // namespace

bool SyncDay::isEmpty() const
{
    return std::all_of(notes.cbegin(), notes.cend(),
                       [](const QString &line) { return line.trimmed().isEmpty(); }) &&
           std::all_of(hours.cbegin(), hours.cend(),
                       [](const QString &row) { return row.trimmed().isEmpty(); });
}

QStringList MergeNotesThreeWay(const QStringList &base, const QStringList &ours,
                               const QStringList &theirs)
{
    bool conflicted = false;
    return MergeNotes(base, ours, theirs, conflicted);
}

QString MergeHourThreeWay(const QString &base, const QString &ours, const QString &theirs,
                          QStringList &overflow)
{
    if (ours == base || ours == theirs)
        return theirs;
    if (theirs == base)
        return ours;
    if (ours.trimmed().isEmpty())
        return theirs; // emptied here, changed there: the change is kept
    if (theirs.trimmed().isEmpty())
        return ours;
    if (ours.split(kSeparator).contains(theirs))
        return ours;
    if (theirs.split(kSeparator).contains(ours))
        return theirs;
    if (ours.size() + kSeparator.size() + theirs.size() <= kTimeFieldMaxLength)
        return ours + kSeparator + theirs;
    overflow << theirs; // a row holds no more: nothing is cut
    return ours;
}

SyncDay MergeDaysThreeWay(const SyncDay &base, const SyncDay &ours, const SyncDay &theirs,
                          bool *conflicted)
{
    bool both = false;
    SyncDay merged;
    QStringList overflow;
    for (std::size_t row = 0; row < merged.hours.size(); ++row) {
        const QString &mine = ours.hours[row];
        const QString &other = theirs.hours[row];
        both = both || (mine != base.hours[row] && other != base.hours[row] && mine != other);
        merged.hours[row] = MergeHourThreeWay(base.hours[row], mine, other, overflow);
    }
    merged.notes = MergeNotes(base.notes, ours.notes, theirs.notes, both);
    if (!overflow.isEmpty())
        merged.notes = MergeNotesLines(merged.notes, overflow);
    if (conflicted)
        *conflicted = both;
    return merged;
}

} // namespace ruvo
