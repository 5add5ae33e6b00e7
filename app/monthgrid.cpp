// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monthgrid.h"

#include "monthgridaccessible.h"

#include "calendar/calendarnames.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ruvo {

MonthGrid::MonthGrid(QWidget *parent) : QWidget(parent)
{
    // Qt's table of accessibility factories is the process's: one entry for every grid.
    static const bool describedToScreenReaders =
        (QAccessible::installFactory(&MonthGridAccessibleFactory), true);
    Q_UNUSED(describedToScreenReaders);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MonthGrid::setYear(int year)
{
    if (year >= 1)
        takeDate(year, month(), day());
}

void MonthGrid::setMonth(int month)
{
    if (month >= 1 && month <= 12)
        takeDate(year(), month, day());
}

void MonthGrid::setDay(int day)
{
    if (day >= 1 && day <= m_date.daysInMonth())
        takeDate(year(), month(), day);
}

void MonthGrid::setMarkedDays(std::bitset<32> days)
{
    if (days == m_markedDays)
        return;
    m_markedDays = days;
    update();
}

void MonthGrid::setToday(const QDate &today)
{
    m_today = today;
    update();
}

void MonthGrid::takeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    // A part that leaves no such day (31 April) changes nothing; the dialog cuts the day first.
    if (!date.isValid() || date == m_date)
        return;
    m_date = date;
    update();
    emit dateChanged(m_date);
}

// Where day 1 falls: column c of row 1 shows c + offset. A month that begins on a Sunday
// begins in the last column.
int MonthGrid::offset() const
{
    const int weekday = QDate(year(), month(), 1).dayOfWeek() % 7 + 1; // 1 = Sunday
    const int w = (weekday - 1 + 7) % 7;
    return w == 0 ? -5 : 2 - w;
}

int MonthGrid::dayAt(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 1 || row >= kRows)
        return 0;
    const int n = column + offset() + 7 * (row - 1);
    return n >= 1 && n <= m_date.daysInMonth() ? n : 0;
}

QPoint MonthGrid::cellOfDay(int day) const
{
    const int index = day - offset(); // column + 7 * (row - 1)
    return {index % 7, index / 7 + 1};
}

QString MonthGrid::cellText(int column, int row) const
{
    if (row == 0)
        return CalendarShortDayName((column + 1) % 7 + 1); // Monday first
    const int n = dayAt(column, row);
    return n > 0 ? QString::number(n) : QString();
}

QSize MonthGrid::cellSize() const
{
    return {(width() - (kColumns - 1) * kLineWidth) / kColumns,
            (height() - (kRows - 1) * kLineWidth) / kRows};
}

QRect MonthGrid::cellRect(int column, int row) const
{
    const QSize size = cellSize();
    return {column * (size.width() + kLineWidth), row * (size.height() + kLineWidth), size.width(),
            size.height()};
}

void MonthGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid)); // the grid lines
    QFont bold = font();
    bold.setBold(true);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column)
            drawCell(painter, column, row, bold);
    }
}

void MonthGrid::drawCell(QPainter &painter, int column, int row, const QFont &bold) const
{
    const QRect cell = cellRect(column, row);
    const int n = row > 0 ? dayAt(column, row) : 0;
    const bool selected = n > 0 && n == day();
    QColor background = palette().color(QPalette::Base);
    QColor text = palette().color(QPalette::Text);
    if (row == 0) {
        background = palette().color(QPalette::Button);
        text = palette().color(QPalette::ButtonText);
    } else if (selected) {
        background = palette().color(QPalette::Highlight);
        text = palette().color(QPalette::HighlightedText);
    }
    painter.fillRect(cell, background);
    painter.setPen(text);
    const bool marked = n > 0 && m_markedDays.test(std::size_t(n));
    painter.setFont(marked ? bold : font());
    painter.drawText(cell, Qt::AlignCenter, cellText(column, row));
    if (n > 0 && QDate(year(), month(), n) == m_today) {
        // The page's red, so that today stands out also on the selected day.
        painter.setPen(QPen(QColor(Qt::red), 1));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(text);
    }
    if (selected && hasFocus()) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void MonthGrid::mousePressEvent(QMouseEvent *event)
{
    const QSize size = cellSize();
    const int column = int(event->position().x()) / (size.width() + kLineWidth);
    const int row = int(event->position().y()) / (size.height() + kLineWidth);
    if (const int n = dayAt(column, row); n > 0)
        setDay(n);
    QWidget::mousePressEvent(event);
}

void MonthGrid::keyPressEvent(QKeyEvent *event)
{
    QPoint cell = cellOfDay(day());
    switch (event->key()) {
    case Qt::Key_Left:
        cell.rx() -= 1;
        break;
    case Qt::Key_Right:
        cell.rx() += 1;
        break;
    case Qt::Key_Up:
        cell.ry() -= 1;
        break;
    case Qt::Key_Down:
        cell.ry() += 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // The selection stays on cells that show a number.
    if (const int n = dayAt(cell.x(), cell.y()); n > 0)
        setDay(n);
}

} // namespace ruvo
