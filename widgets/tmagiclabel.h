// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "relieflabel.h"

namespace ruvo {

// Relief label that keeps its size and keeps showing its last non-empty caption: emptying
// Caption leaves the text on screen.
class TMagicLabel final : public ReliefLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMagicLabel)
    Q_PROPERTY(quint16 BlinkSpeed READ BlinkSpeed WRITE setBlinkSpeed)

public:
    explicit TMagicLabel(QWidget *parent = nullptr);

    // Milliseconds that each look stays on screen; 0 does not blink.
    quint16 BlinkSpeed() const { return quint16(blinkInterval()); }
    void setBlinkSpeed(quint16 milliseconds) { setBlinkInterval(milliseconds); }

protected:
    Look chooseLook() override;
};

} // namespace ruvo
