// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "clicktracker.h"

#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "timagelistaccess.h"

class QPainter;

namespace ruvo {

class TImageCtrl;

// Plays a list of pictures in a loop: a timer advances the frame on show and the control
// redraws it. With no frames it shows a white rectangle with a black outline.
class TBmpAnime final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TBmpAnime)
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(int AnimationSpeed READ AnimationSpeed WRITE setAnimationSpeed)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Center READ Center WRITE setCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(int FrameIndex READ FrameIndex)

public:
    explicit TBmpAnime(QWidget *parent = nullptr);
    ~TBmpAnime() override;

    // Whether the frames advance. Both reading and writing restart the sequence at frame 0;
    // the frame on screen changes at the next redraw.
    bool Active();
    void setActive(bool active);

    // Milliseconds between frames; 0 or less stands still.
    int AnimationSpeed() const { return m_animationSpeed; }
    void setAnimationSpeed(int milliseconds);

    // The control takes the size of the frame on show.
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    // The frame is centred; Stretch wins over it.
    bool Center() const { return m_center; }
    void setCenter(bool center);
    // The frame covers the whole control.
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    // Index of the frame on show; always a valid index while there are frames, else 0.
    int FrameIndex() const { return m_frameIndex; }

    TImageListAccess &ImageList() { return m_imageList; }
    const TImageListAccess &ImageList() const { return m_imageList; }
    // Replaces every frame by one new, empty frame per caption, then redraws.
    void setImageList(const QStringList &captions);

    // Appends a frame.
    TImageCtrl *addFrame(const QString &caption, const QPixmap &bmp);
    // Replaces the frames by the pictures of these files or resources, in order, each named
    // after its file. A picture that cannot be read leaves its frame empty; the result says
    // whether every picture was read.
    bool loadFrames(const QStringList &files);
    // pattern with %1 replaced by first ... last: "IMAGE%1.BMP", 1, 3 gives IMAGE1.BMP,
    // IMAGE2.BMP and IMAGE3.BMP.
    static QStringList numberedFiles(const QString &pattern, int first, int last);

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class TImageListAccess;

    void drawEmpty(QPainter &painter) const;
    void drawFrame(QPainter &painter, const QPixmap &frame) const;
    QRect targetRect(const QSize &frame) const;
    void nextFrame();
    void updateTimer();
    // Called by the list view after frames were added, removed or reordered.
    void framesChanged();

    QList<TImageCtrl *> m_frames; // owned as children of this control
    TImageListAccess m_imageList{*this};
    QTimer m_frameTimer{this};
    int m_frameIndex = 0;
    int m_animationSpeed = 80;
    bool m_active = true;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_stretch = false;
    ClickTracker m_click;
};

} // namespace ruvo
