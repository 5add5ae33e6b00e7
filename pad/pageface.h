// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"
#include "notes/hourscale.h"
#include "pad/pagebackground.h"
#include "pad/pagepainter.h"
#include "pad/pagetexts.h"

#include <QColor>
#include <QDate>
#include <QRect>
#include <QString>

#include <array>

class QPainter;

namespace ruvo {

// The inks of the page and what shows where a smaller picture leaves it bare.
struct PageInks
{
    QColor bare;
    QColor year;
    QColor month;
    QColor date;
    QColor day;
    QColor dateBackground;
    QColor dayWeek;
    QColor time;
    QColor currentTime;
};

// What the page shows: the texts of its date in its language, the hour scale and its current
// hour, the picture under them. Worked out when one of them changes; drawn as it is.
class PageFace final
{
public:
    PageFace();

    // Everything in language (laDefault: the system's language now) for date and the hour
    // scale from startTime. Throws Error for a date whose week cannot be counted, changing
    // nothing.
    void show(const QDate &date, TLanguage language, int startTime);
    // The texts of another date in the language shown. Throws as show().
    void showDate(const QDate &date, TLanguage language);
    void showHours(int startTime, TLanguage language);
    void markRow(int row) { m_markedRow = row; }

    // Whether anything was worked out yet.
    bool isShown() const { return m_language != laDefault; }
    // The language the words are in (never laDefault once shown).
    TLanguage language() const { return m_language; }

    const PageTexts &texts() const { return m_texts; }
    const PadWords &words() const { return m_words; }
    const QString &dayWeekLine() const { return m_dayWeekLine; }
    const std::array<QString, kHourRows> &hourLabels() const { return m_hourLabels; }
    int markedRow() const { return m_markedRow; }
    // What the clock tick repaints: the labels of the hour scale.
    QRect hourScaleArea() const { return m_hourScaleArea; }

    PageBackground &background() { return m_background; }
    const PageBackground &background() const { return m_background; }

    // The page, in the order a paint draws it (see PagePainter).
    void draw(QPainter &painter, const PageInks &inks) const;

private:
    PageTexts m_texts;
    PadWords m_words;
    TLanguage m_language = laDefault; // resolved; laDefault until first shown
    QString m_dayWeekLine;
    std::array<QString, kHourRows> m_hourLabels;
    int m_markedRow = 0; // the current hour's row, 1 to 17, or 0
    PageBackground m_background;
    PageFonts m_fonts;
    QRect m_hourScaleArea;
    mutable PageTextLayouts m_textLayouts; // a cache: laid out at the first paint that shows it
};

} // namespace ruvo
