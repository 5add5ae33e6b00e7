#pragma once

// Ends the event loop at the first paint a widget receives, so a start-up run measures
// exactly "created, shown and painted once". The exit is queued: the paint itself finishes
// first, as it would for a user.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace ruvobench {

class FirstPaintExit final : public QObject
{
public:
    explicit FirstPaintExit(QWidget *widget) : QObject(widget)
    {
        widget->installEventFilter(this);
        // A window that never paints must fail the run, not hang the runner.
        QTimer::singleShot(kGiveUpMs, QCoreApplication::instance(),
                           [] { QCoreApplication::exit(kNeverPainted); });
    }

    static constexpr int kNeverPainted = 3;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr int kGiveUpMs = 10000;
    bool m_seen = false;
};

} // namespace ruvobench
