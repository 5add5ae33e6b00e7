// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagebackground.h"

#include "platform/resourcebitmap.h"

namespace ruvo {

namespace {

constexpr auto kBuiltInPage = u"CalendarPad_";

} // namespace

QImage PageBackground::picture() const
{
    loadPending();
    return m_picture;
}

void PageBackground::set(const QImage &picture)
{
    take(picture);
}

void PageBackground::ensure()
{
    loadPending();
    if (m_picture.width() <= 0 && m_picture.height() <= 0)
        take(LoadBitmapByName(QString::fromUtf16(kBuiltInPage)));
}

void PageBackground::clear()
{
    m_builtInPending = false;
    m_picture = QImage();
    m_forDrawing = QImage();
}

void PageBackground::loadPending() const
{
    if (m_builtInPending)
        take(LoadBitmapByName(QString::fromUtf16(kBuiltInPage)));
}

void PageBackground::take(const QImage &picture) const
{
    m_builtInPending = false;
    m_picture = picture;
    if (picture.isNull())
        m_forDrawing = QImage();
    else
        m_forDrawing = picture.convertToFormat(
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

} // namespace ruvo
