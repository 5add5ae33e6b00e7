// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "timagelistaccess.h"

#include "tbmpanime.h"
#include "timagectrl.h"

#include <utility>

namespace ruvo {

int TImageListAccess::count() const
{
    return int(m_owner.m_frames.size());
}

QString TImageListAccess::string(int index) const
{
    return isValid(index) ? m_owner.m_frames.at(index)->Caption() : QString();
}

void TImageListAccess::setString(int index, const QString &caption)
{
    if (isValid(index))
        m_owner.m_frames.at(index)->setCaption(caption);
}

TImageCtrl *TImageListAccess::object(int index) const
{
    return isValid(index) ? m_owner.m_frames.at(index) : nullptr;
}

QStringList TImageListAccess::strings() const
{
    QStringList captions;
    captions.reserve(count());
    for (const TImageCtrl *frame : m_owner.m_frames)
        captions.append(frame->Caption());
    return captions;
}

TImageCtrl *TImageListAccess::insert(int index, const QString &caption)
{
    if (index < 0 || index > count())
        return nullptr;
    auto *frame = new TImageCtrl(&m_owner); // released by the owner or by remove()
    frame->setCaption(caption);
    m_owner.m_frames.insert(index, frame);
    m_owner.framesChanged();
    return frame;
}

TImageCtrl *TImageListAccess::add(const QString &caption)
{
    return insert(count(), caption);
}

void TImageListAccess::remove(int index)
{
    if (!isValid(index))
        return;
    delete m_owner.m_frames.takeAt(index);
    m_owner.framesChanged();
}

void TImageListAccess::clear()
{
    const QList<TImageCtrl *> frames = std::exchange(m_owner.m_frames, {});
    qDeleteAll(frames);
    m_owner.framesChanged();
}

void TImageListAccess::exchange(int first, int second)
{
    if (!isValid(first) || !isValid(second) || first == second)
        return;
    m_owner.m_frames.swapItemsAt(first, second);
    m_owner.framesChanged();
}

void TImageListAccess::assign(const QStringList &captions)
{
    clear();
    for (const QString &caption : captions)
        add(caption);
}

} // namespace ruvo
