#pragma once

#include "pad/hourscale.h"
#include "pad/pagetexts.h"

#include <QColor>
#include <QFont>
#include <QImage>
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
    PagePainter(QPainter &painter, const PageFonts &fonts, const PageContent &page)
        : m_painter(painter), m_fonts(fonts), m_page(page)
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
    QPainter &m_painter;
    const PageFonts &m_fonts;
    const PageContent &m_page;
};

} // namespace ruvo
