// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/hourscale.h"
#include "pad/pagetexts.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>

#include <array>

class QPainter;

namespace ruvo {

// The fonts of the page, made once by the pad.
struct PageFonts
{
    PageFonts();
    QFont dayNumber;
    QFont small; // weekday, the line under the notes, the hour scale
    QFont month;
    QFont year;
};

// The page's texts laid out once and kept for the next paints: the hour labels and most of the
// page's words are the same at every paint and turn, and laying text out (shaping it) costs
// more than drawing it.
class PageTextLayouts final
{
public:
    struct LaidOut
    {
        QList<QGlyphRun> runs; // positioned from the top left, baseline at baselineOffset
        qreal baselineOffset = 0;
        int width = 0;  // as QFontMetrics::horizontalAdvance gives it
        int ascent = 0; // of the font, as QFontMetrics gives them
        int height = 0;
    };

    const LaidOut &laidOut(const QFont &font, const QString &text);

private:
    // A page shows a few dozen texts; turning through the year adds a line a day.
    static constexpr qsizetype kKept = 512;
    QHash<QString, LaidOut> m_laidOut; // keyed by the font's key and the text
};

// Everything one paint of the page shows.
struct PageContent
{
    const QImage &background; // in the format drawn fastest; may be null
    QColor bare;              // where a smaller picture leaves the page uncovered
    const PageTexts &texts;
    const QString &dayWeekLine;
    const std::array<QString, kHourRows> &hourLabels;
    int currentHourRow; // 1 to 17, 0 for none
    QColor yearInk;
    QColor monthInk;
    QColor dateInk;
    QColor dayInk;
    QColor dateBackground;
    QColor dayWeekInk;
    QColor timeInk;
    QColor currentTimeInk;
};

// Draws the page, in the order a paint draws it, onto any painter (the pad, an image).
class PagePainter final
{
public:
    PagePainter(QPainter &painter, const PageFonts &fonts, const PageContent &page,
                PageTextLayouts &layouts)
        : m_painter(painter), m_fonts(fonts), m_page(page), m_layouts(layouts)
    {}

    // What the clock tick repaints: the labels of the hour scale.
    static QRect hourScaleArea(const PageFonts &fonts);

    void drawPage() const;
    void drawBackground() const;
    void drawDayBlock() const;
    void drawDayNumber() const;
    void drawWeekday() const;
    void drawMonth() const;
    void drawYear() const;
    void drawDayWeekLine() const;
    void drawHourScale() const;
    void drawRules() const;

private:
    enum class Anchor { CentreTop, RightTop, LeftTop };
    // Text in an opaque cell as tall as the font and as wide as the text, placed by its anchor.
    void drawTextCell(const QString &text, QPoint at, Anchor anchor, const QFont &font,
                      const QColor &ink, const QColor &cell) const;

    QPainter &m_painter;
    const PageFonts &m_fonts;
    const PageContent &m_page;
    PageTextLayouts &m_layouts;
};

} // namespace ruvo
