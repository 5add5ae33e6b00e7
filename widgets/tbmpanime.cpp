// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tbmpanime.h"

#include "timagectrl.h"

#include "platform/resourcebitmap.h"

#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace ruvo {

TBmpAnime::TBmpAnime(QWidget *parent) : QWidget(parent)
{
    resize(150, 150);
    m_frameTimer.setObjectName(QStringLiteral("FrameTimer"));
    connect(&m_frameTimer, &QTimer::timeout, this, &TBmpAnime::nextFrame);
    updateTimer();
}

TBmpAnime::~TBmpAnime() = default;

bool TBmpAnime::Active()
{
    m_frameIndex = 0;
    return m_active;
}

void TBmpAnime::setActive(bool active)
{
    m_active = active;
    m_frameIndex = 0;
    updateTimer();
}

void TBmpAnime::setAnimationSpeed(int milliseconds)
{
    m_animationSpeed = milliseconds;
    updateTimer();
}

void TBmpAnime::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    repaint();
}

void TBmpAnime::setCenter(bool center)
{
    if (center == m_center)
        return;
    m_center = center;
    repaint();
}

void TBmpAnime::setStretch(bool stretch)
{
    m_stretch = stretch;
    repaint();
}

void TBmpAnime::setImageList(const QStringList &captions)
{
    m_imageList.assign(captions);
    repaint();
}

TImageCtrl *TBmpAnime::addFrame(const QString &caption, const QPixmap &bmp)
{
    TImageCtrl *frame = m_imageList.add(caption);
    frame->setBmp(bmp);
    return frame;
}

bool TBmpAnime::loadFrames(const QStringList &files)
{
    m_imageList.clear();
    bool allRead = true;
    for (const QString &file : files) {
        const QImage image = ReadBmpPicture(file);
        allRead = allRead && !image.isNull();
        addFrame(QFileInfo(file).fileName(), QPixmap::fromImage(image));
    }
    repaint();
    return allRead;
}

QStringList TBmpAnime::numberedFiles(const QString &pattern, int first, int last)
{
    QStringList files;
    for (int number = first; number <= last; ++number)
        files.append(pattern.arg(number));
    return files;
}

void TBmpAnime::paintEvent(QPaintEvent *)
{
    if (m_frames.isEmpty()) {
        QPainter painter(this);
        drawEmpty(painter);
        return;
    }
    const QPixmap &frame = m_frames.at(m_frameIndex)->Bmp();
    if (m_autoSize)
        resize(frame.size());
    QPainter painter(this);
    drawFrame(painter, frame);
}

void TBmpAnime::drawEmpty(QPainter &painter) const
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1)); // a one-pixel pen covers the last pixel
}

void TBmpAnime::drawFrame(QPainter &painter, const QPixmap &frame) const
{
    // Nearest-pixel scaling keeps stretched pictures sharp; same-size copies stay exact.
    painter.drawPixmap(targetRect(frame.size()), frame);
}

QRect TBmpAnime::targetRect(const QSize &frame) const
{
    if (m_stretch)
        return rect();
    if (m_center) {
        // Division rounds towards zero; a frame larger than the control gets negative offsets.
        return QRect(QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2), frame);
    }
    return QRect(QPoint(0, 0), frame);
}

void TBmpAnime::nextFrame()
{
    m_frameIndex = m_frameIndex < m_frames.size() - 1 ? m_frameIndex + 1 : 0;
    repaint();
}

void TBmpAnime::updateTimer()
{
    // A zero interval would tick as fast as the event loop turns; it means standing still.
    if (m_active && m_animationSpeed > 0)
        m_frameTimer.start(m_animationSpeed);
    else
        m_frameTimer.stop();
}

void TBmpAnime::framesChanged()
{
    if (m_frameIndex >= m_frames.size())
        m_frameIndex = 0;
    update();
}

void TBmpAnime::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void TBmpAnime::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void TBmpAnime::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace ruvo
