// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "relieflabel.h"

namespace ruvo {

// Relief label that fits itself to its caption at every normal paint while AutomaticSize is
// on. Its transparent blink look empties Caption; the normal look puts the last non-empty
// caption back.
class TSpecialLabel final : public ReliefLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpecialLabel)
    Q_PROPERTY(int BlinkSpeed READ BlinkSpeed WRITE setBlinkSpeed)
    Q_PROPERTY(bool AutomaticSize READ AutomaticSize WRITE setAutomaticSize)

public:
    explicit TSpecialLabel(QWidget *parent = nullptr);

    // Milliseconds that each look stays on screen; 0 or less does not blink.
    int BlinkSpeed() const { return blinkInterval(); }
    void setBlinkSpeed(int milliseconds) { setBlinkInterval(milliseconds); }

    bool AutomaticSize() const { return m_automaticSize; }
    void setAutomaticSize(bool automatic);

protected:
    Look chooseLook() override;

private:
    void fitToCaption();

    bool m_automaticSize = true;
};

} // namespace ruvo
