// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tmagiclabel.h"

namespace ruvo {

TMagicLabel::TMagicLabel(QWidget *parent) : ReliefLabel(parent)
{
    resize(95, 20);
}

ReliefLabel::Look TMagicLabel::chooseLook()
{
    if (blinkPhase()) {
        // The transparent blink look hides the text but keeps it for the normal look, which
        // may have no caption to take it from.
        return blinkLook(BlinkTransparent() ? QString() : savedText());
    }
    if (!Caption().isEmpty())
        setSavedText(Caption());
    return normalLook(savedText());
}

} // namespace ruvo
