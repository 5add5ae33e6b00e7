// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageface.h"

namespace ruvo {

PageFace::PageFace() : m_hourScaleArea(PagePainter::hourScaleArea(m_fonts)) {}

void PageFace::show(const QDate &date, TLanguage language, int startTime)
{
    // Read before anything is kept, so a date that fails leaves the page as it was.
    PageTexts texts = PageTextsOf(date, language);
    m_words = PadWordsOf(language);
    m_language = resolvedLanguage(language);
    m_texts = std::move(texts);
    m_dayWeekLine = DayWeekLine(m_texts, m_words);
    showHours(startTime, language);
}

void PageFace::showDate(const QDate &date, TLanguage language)
{
    m_texts = PageTextsOf(date, language);
    m_dayWeekLine = DayWeekLine(m_texts, m_words);
}

void PageFace::showHours(int startTime, TLanguage language)
{
    m_hourLabels = HourScaleLabels(startTime, language);
}

void PageFace::draw(QPainter &painter, const PageInks &inks) const
{
    const PageContent page{m_background.forDrawing(),
                           inks.bare,
                           m_texts,
                           m_dayWeekLine,
                           m_hourLabels,
                           m_markedRow,
                           inks.year,
                           inks.month,
                           inks.date,
                           inks.day,
                           inks.dateBackground,
                           inks.dayWeek,
                           inks.time,
                           inks.currentTime};
    PagePainter(painter, m_fonts, page, m_textLayouts).drawPage();
}

} // namespace ruvo
