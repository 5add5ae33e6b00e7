// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMouseEvent>
#include <QRect>

namespace ruvo {

// A click as a button sees it: the left button pressed and released over the same widget.
// Releasing outside, after dragging away, is no click.
class ClickTracker final
{
public:
    void press(const QMouseEvent *event)
    {
        if (event->button() == Qt::LeftButton)
            m_pressed = true;
    }

    // True when this release completes a click inside bounds.
    bool release(const QMouseEvent *event, const QRect &bounds)
    {
        if (event->button() != Qt::LeftButton)
            return false;
        const bool click = m_pressed && bounds.contains(event->position().toPoint());
        m_pressed = false;
        return click;
    }

private:
    bool m_pressed = false;
};

} // namespace ruvo
