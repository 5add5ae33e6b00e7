// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

namespace ruvo {

class PageFace;

// Tells screen readers what the page shows: its accessible name is the date on show
// ("Mercredi 9 Décembre 2026"), its description the day of the year and the week, then the
// corners' and the day block's actions. A change of date or language changes the name, which
// Qt sends on as a name-change event, so a page turn is announced. Nothing is sent when the
// page shows what it showed.
void ShowPageToScreenReaders(QWidget &page, const PageFace &face);

} // namespace ruvo
