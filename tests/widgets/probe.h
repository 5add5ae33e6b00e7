// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Helpers for looking at what a widget put on screen.
namespace probe {

// Bounding box and number of the pixels of exactly this colour.
inline QRect boundsOf(const QImage &image, QRgb color, int *count = nullptr)
{
    QRect bounds;
    int found = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & RGB_MASK) == (color & RGB_MASK)) {
                bounds |= QRect(x, y, 1, 1);
                ++found;
            }
        }
    }
    if (count)
        *count = found;
    return bounds;
}

inline int countOf(const QImage &image, QRgb color)
{
    int count = 0;
    boundsOf(image, color, &count);
    return count;
}

// The area of a child widget as its window shows it, background and all.
inline QImage shot(const QWidget *child)
{
    return child->parentWidget()->grab(child->geometry()).toImage();
}

// Fires a widget's timer once, as if its interval had passed.
inline void tick(QObject *owner, const char *timerName)
{
    auto *timer = owner->findChild<QTimer *>(QLatin1StringView(timerName));
    QVERIFY(timer && QMetaObject::invokeMethod(timer, "timeout"));
}

// A shown window of one colour for the widgets under test.
inline std::unique_ptr<QWidget> makeHost(QColor background)
{
    auto host = std::make_unique<QWidget>();
    QPalette colors = host->palette();
    colors.setColor(QPalette::Window, background);
    host->setPalette(colors);
    host->setAutoFillBackground(true);
    host->resize(320, 240);
    host->show();
    if (!QTest::qWaitForWindowExposed(host.get()))
        qWarning("test window not exposed");
    return host;
}

} // namespace probe
