#pragma once

#include "pad/tcalendarpad.h"

#include <QEvent>
#include <QImage>
#include <QTest>

namespace padtest {

// Counts the paints a widget receives.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
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
