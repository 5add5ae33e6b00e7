// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Ends the event loop at the first paint a widget receives, so a start-up run measures
// exactly "created, shown and painted once". The exit is posted with high priority: the paint
// itself finishes first, as it would for a user, and work the program queued for after its
// first paint is not counted.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>

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
        writePaintTime();
        appendResidentMemory();
        QCoreApplication::exit(0);
        return true;
    }

private:
    // With RUVO_BENCH_PAINT_FILE set, writes the monotonic clock in nanoseconds once the first
    // paint is done, so the runner can time the start-up without the process's ending.
    static void writePaintTime()
    {
        const QString out = qEnvironmentVariable("RUVO_BENCH_PAINT_FILE");
        QFile file(out);
        if (out.isEmpty() || !file.open(QIODevice::WriteOnly))
            return;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        file.write(QByteArray::number(qint64(std::chrono::nanoseconds(now).count())));
    }

    // With RUVO_BENCH_MEMORY_FILE set, appends "<private KiB> <file-backed KiB> <peak KiB>" as
    // resident at the first paint: the pages of the program's own data against those of the
    // shared libraries and fonts it has touched, and the most it held until then (VmHWM), which
    // leaves out what runs after the first paint and at the end.
    static void appendResidentMemory()
    {
        const QString out = qEnvironmentVariable("RUVO_BENCH_MEMORY_FILE");
        QFile status(QStringLiteral("/proc/self/status"));
        if (out.isEmpty() || !status.open(QIODevice::ReadOnly))
            return;
        QByteArray anon, file, peak;
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> words = line.simplified().split(' ');
            if (words.size() >= 2 && words.first() == "RssAnon:")
                anon = words.at(1);
            else if (words.size() >= 2 && words.first() == "RssFile:")
                file = words.at(1);
            else if (words.size() >= 2 && words.first() == "VmHWM:")
                peak = words.at(1);
        }
        QFile log(out);
        if (log.open(QIODevice::Append))
            log.write(anon + ' ' + file + ' ' + peak + '\n');
    }

    static constexpr int kGiveUpMs = 10000;
    static constexpr auto kExitEvent = QEvent::Type(QEvent::User + 1);
    bool m_seen = false;
};

} // namespace ruvobench
