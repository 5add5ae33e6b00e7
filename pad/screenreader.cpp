// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenreader.h"

#include "pageface.h"

#include <QWidget>

namespace ruvo {

void ShowPageToScreenReaders(QWidget &page, const PageFace &face)
{
    if (!face.isShown())
        return;
    const PageTexts &texts = face.texts();
    const PadWords &words = face.words();
    // The day without its leading zero, as it is read out.
    const QString name = texts.weekday + u' ' + QString::number(texts.day.toInt()) + u' ' +
                         texts.month + u' ' + texts.year;
    const QString description =
        face.dayWeekLine() + u". " + words.prior + u", " + words.next + u", " + words.go;
    if (page.accessibleDescription() != description)
        page.setAccessibleDescription(description);
    // Qt tells screen readers of the new name itself: a turn is announced once.
    if (page.accessibleName() != name)
        page.setAccessibleName(name);
}

} // namespace ruvo
