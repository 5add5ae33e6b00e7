// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tspeciallabel.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QtMath>

namespace ruvo {

TSpecialLabel::TSpecialLabel(QWidget *parent) : ReliefLabel(parent)
{
    resize(65, 17);
}

void TSpecialLabel::setAutomaticSize(bool automatic)
{
    m_automaticSize = automatic;
    repaint();
}

ReliefLabel::Look TSpecialLabel::chooseLook()
{
    if (!Caption().isEmpty())
        setSavedText(Caption());
    if (blinkPhase()) {
        // No fitting in the blink look: an emptied caption would shrink the label.
        if (BlinkTransparent())
            setCaptionQuietly(QString());
        return blinkLook(Caption());
    }
    if (!savedText().isEmpty())
        setCaptionQuietly(savedText());
    if (m_automaticSize)
        fitToCaption();
    return normalLook(Caption());
}

void TSpecialLabel::fitToCaption()
{
    // The one-line extent of the whole caption: breaks and wrapping play no part. Rounded up,
    // so that the text fits the width it is drawn in and does not wrap.
    const QFontMetricsF exact(font());
    const int d = topOffset() + bottomOffset();
    resize(qCeil(exact.horizontalAdvance(Caption())) + d, QFontMetrics(font()).height() + d);
}

} // namespace ruvo
