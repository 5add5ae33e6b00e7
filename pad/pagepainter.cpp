// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagepainter.h"

#include "pagelayout.h"

#include "platform/colorvalue.h"
#include "platform/pointfont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace ruvo {

using namespace pagelayout;

namespace {

QColor white()
{
    return ColorToQColor(clWhite);
}

} // namespace

const PageTextLayouts::LaidOut &PageTextLayouts::laidOut(const QFont &font, const QString &text)
{
    const QString key = font.key() + u'\n' + text;
    if (const auto found = m_laidOut.constFind(key); found != m_laidOut.cend())
        return *found;
    if (m_laidOut.size() >= kKept)
        m_laidOut.clear();
    LaidOut laid;
    const QFontMetrics metrics(font);
    laid.width = metrics.horizontalAdvance(text);
    laid.ascent = metrics.ascent();
    laid.height = metrics.height();
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        laid.baselineOffset = line.ascent();
        laid.runs = layout.glyphRuns();
    }
    return *m_laidOut.insert(key, laid);
}

void PagePainter::drawTextCell(const QString &text, QPoint at, Anchor anchor, const QFont &font,
                               const QColor &ink, const QColor &cell) const
{
    const PageTextLayouts::LaidOut &laid = m_layouts.laidOut(font, text);
    int left = at.x();
    if (anchor == Anchor::CentreTop)
        left -= laid.width / 2;
    else if (anchor == Anchor::RightTop)
        left -= laid.width;
    m_painter.fillRect(QRect(left, at.y(), laid.width, laid.height), cell);
    m_painter.setPen(ink);
    // The baseline where drawText(QPoint(left, top + ascent), text) puts it.
    const QPointF origin(left, at.y() + laid.ascent - laid.baselineOffset);
    for (const QGlyphRun &run : laid.runs)
        m_painter.drawGlyphRun(origin, run);
}

PageFonts::PageFonts()
    : dayNumber(ArialFont(28, true)), small(ArialFont(8)), month(ArialFont(11, true)),
      year(ArialFont(20, true))
{}

QRect PagePainter::hourScaleArea(const PageFonts &fonts)
{
    const QFontMetrics metrics(fonts.small);
    return {kHourLabelLeft, kHourLabelTop, metrics.horizontalAdvance(QStringLiteral("00:00")),
            kRowHeight * (kHourRows - 1) + metrics.height()};
}

void PagePainter::drawPage() const
{
    drawBackground();
    drawDayBlock();
    drawDayNumber();
    drawWeekday();
    drawMonth();
    drawYear();
    drawDayWeekLine();
    drawHourScale();
    drawRules();
}

void PagePainter::drawBackground() const
{
    const QImage &picture = m_page.background;
    if (!picture.isNull())
        m_painter.drawImage(QPoint(0, 0), picture);
    // A smaller picture leaves part of the page bare: give it the window's colour rather than
    // whatever the screen held there.
    const QRect page(QPoint(0, 0), kPageSize);
    const int coveredWidth = qMin(picture.width(), page.width());
    const int coveredHeight = qMin(picture.height(), page.height());
    if (coveredWidth < page.width())
        m_painter.fillRect(QRect(coveredWidth, 0, page.width() - coveredWidth, page.height()),
                           m_page.bare);
    if (coveredHeight < page.height())
        m_painter.fillRect(QRect(0, coveredHeight, coveredWidth, page.height() - coveredHeight),
                           m_page.bare);
}

void PagePainter::drawDayBlock() const
{
    m_painter.setPen(QPen(white(), 1, Qt::SolidLine));
    m_painter.setBrush(m_page.dateBackground);
    // A one-pixel outline of a QRect covers its right and bottom edges too.
    m_painter.drawRect(kDayBlock.adjusted(0, 0, -1, -1));
}

void PagePainter::drawDayNumber() const
{
    drawTextCell(m_page.texts.day, kDayNumberAt, Anchor::CentreTop, m_fonts.dayNumber,
                 m_page.dateInk, m_page.dateBackground);
}

void PagePainter::drawWeekday() const
{
    drawTextCell(m_page.texts.weekday, kWeekdayAt, Anchor::CentreTop, m_fonts.small, m_page.dayInk,
                 m_page.dateBackground);
}

void PagePainter::drawMonth() const
{
    drawTextCell(m_page.texts.month, kMonthAt, Anchor::CentreTop, m_fonts.month, m_page.monthInk,
                 white());
}

void PagePainter::drawYear() const
{
    drawTextCell(m_page.texts.year, kYearAt, Anchor::CentreTop, m_fonts.year, m_page.yearInk,
                 white());
}

void PagePainter::drawDayWeekLine() const
{
    drawTextCell(m_page.dayWeekLine, kDayWeekLineAt, Anchor::RightTop, m_fonts.small,
                 m_page.dayWeekInk, white());
}

void PagePainter::drawHourScale() const
{
    for (int row = 1; row <= kHourRows; ++row) {
        const QPoint at(kHourLabelLeft, kHourLabelTop + kRowHeight * (row - 1));
        drawTextCell(m_page.hourLabels[std::size_t(row - 1)], at, Anchor::LeftTop, m_fonts.small,
                     row == m_page.currentHourRow ? m_page.currentTimeInk : m_page.timeInk,
                     white());
    }
}

void PagePainter::drawRules() const
{
    m_painter.setPen(QPen(ColorToQColor(clBlack), 1, Qt::SolidLine));
    m_painter.drawLine(kRuleLeft, kUpperRuleY, kRuleEnd - 1, kUpperRuleY);
    m_painter.drawLine(kRuleLeft, kLowerRuleY, kRuleEnd - 1, kLowerRuleY);
}

} // namespace ruvo
