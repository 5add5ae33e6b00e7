// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace ruvo {

class TBmpAnime;
class TImageCtrl;

// The frames of a TBmpAnime seen as a list of strings (the frames' captions) with the frames
// attached. Indices out of range are ignored: reads give an empty text or nullptr, changes do
// nothing.
class TImageListAccess final
{
    Q_DISABLE_COPY_MOVE(TImageListAccess)

public:
    explicit TImageListAccess(TBmpAnime &owner) : m_owner(owner) {}

    int count() const;
    QString string(int index) const;
    void setString(int index, const QString &caption);
    TImageCtrl *object(int index) const;
    QStringList strings() const;

    // A new frame with this caption and an empty picture, placed before index (at the end when
    // index equals count()).
    TImageCtrl *insert(int index, const QString &caption);
    TImageCtrl *add(const QString &caption);
    // Releases the frame at index.
    void remove(int index);
    void clear();
    // Swaps two frames; nothing when the indices are equal. move() is the same exchange: the
    // frames between the two stay where they are.
    void move(int from, int to) { exchange(from, to); }
    void exchange(int first, int second);
    // Replaces every frame by one new, empty frame per caption, in order.
    void assign(const QStringList &captions);

private:
    bool isValid(int index) const { return index >= 0 && index < count(); }

    TBmpAnime &m_owner;
};

} // namespace ruvo
