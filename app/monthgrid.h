// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QWidget>

#include <bitset>

namespace ruvo {

// A month of day numbers under a header of short weekday names, Monday first, with the day
// of its date selected, the days that hold notes in bold and today outlined. Parts of the date that
// cannot be are ignored, so the grid always holds a real day.
class MonthGrid final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MonthGrid)
    Q_PROPERTY(int year READ year WRITE setYear)
    Q_PROPERTY(int month READ month WRITE setMonth)
    Q_PROPERTY(int day READ day WRITE setDay)

public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 7;
    static constexpr int kLineWidth = 1;

    explicit MonthGrid(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    int year() const { return m_date.year(); }
    int month() const { return m_date.month(); }
    int day() const { return m_date.day(); }

    // A year below 1, a month outside 1..12 and a day outside the current month are ignored.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);

    // The days of the month on show drawn in bold (bit n for day n), as the window found them.
    std::bitset<32> markedDays() const { return m_markedDays; }
    void setMarkedDays(std::bitset<32> days);
    // The day drawn with an outline when its month is on show.
    QDate today() const { return m_today; }
    void setToday(const QDate &today);

    // What a screen reader says of a day that holds notes, and of today.
    const QString &withNotesWord() const { return m_withNotesWord; }
    const QString &todayWord() const { return m_todayWord; }
    void setDayWords(const QString &withNotes, const QString &today)
    {
        m_withNotesWord = withNotes;
        m_todayWord = today;
    }

    // Column c (0..6), row r (1..6): the day number it shows, or 0 for an empty cell.
    int dayAt(int column, int row) const;
    // The cell of a day of the current month.
    QPoint cellOfDay(int day) const;
    // Row 0 is the header; column 0 is Monday.
    QString cellText(int column, int row) const;
    QRect cellRect(int column, int row) const;
    QSize cellSize() const;

signals:
    void dateChanged(const QDate &date);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeDate(int year, int month, int day);
    int offset() const;
    void drawCell(QPainter &painter, int column, int row, const QFont &bold) const;

    QDate m_date = QDate::currentDate();
    QDate m_today = QDate::currentDate();
    std::bitset<32> m_markedDays;
    QString m_withNotesWord;
    QString m_todayWord;
};

} // namespace ruvo
