#pragma once

#include "pad/tcalendarpad.h"

#include <QEvent>
#include <QImage>
#include <QTest>

#include <functional>

namespace padtest {

// Counts the paints a widget receives, and runs onPaint as each one begins.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;
    std::function<void()> onPaint;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            if (onPaint)
                onPaint();
        }
        return false;
    }
};

// A pad on screen with a fixed clock; 03:00 is off the scale unless a test moves it.
inline void showPad(ruvo::TCalendarPad &pad, const QTime *now = nullptr)
{
    pad.setClock([now] { return now ? *now : QTime(3, 0); });
    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
}

inline QImage grabPad(ruvo::TCalendarPad &pad)
{
    return pad.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace padtest
