#pragma once

// Ends the event loop at the first paint a widget receives, so a start-up run measures
// exactly "created, shown and painted once". The exit is posted with high priority: the paint
// itself finishes first, as it would for a user, and work the program queued for after its
// first paint is not counted.

#include <QCoreApplication>
#include <QEvent>
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
            QCoreApplication::postEvent(this, new QEvent(kExitEvent), Qt::HighEventPriority);
        }
        return QObject::eventFilter(watched, event);
    }

    bool event(QEvent *event) override
    {
        if (event->type() != kExitEvent)
            return QObject::event(event);
        QCoreApplication::exit(0);
        return true;
    }

private:
    static constexpr int kGiveUpMs = 10000;
    static constexpr auto kExitEvent = QEvent::Type(QEvent::User + 1);
    bool m_seen = false;
};

} // namespace ruvobench
