// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tperpetualcalendardlg.h"

#include "ui_tperpetualcalendardlg.h"

#include "calendar/calendarnames.h"
#include "calendar/datetext.h"
#include "notes/dayfilefolder.h"
#include "platform/pointfont.h"

#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace ruvo {

namespace {
constexpr int kMonthItemHeight = 16; // pixels, each entry of the month list
} // namespace

TPerpetualCalendarDlg::TPerpetualCalendarDlg(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPerpetualCalendarDlg>())
{
    m_ui->setupUi(this);
    FormCreate();
}

TPerpetualCalendarDlg::~TPerpetualCalendarDlg() = default;

MonthGrid *TPerpetualCalendarDlg::Calendar() const
{
    return m_ui->Calendar;
}

QComboBox *TPerpetualCalendarDlg::Month() const
{
    return m_ui->Month;
}

YearSpinEdit *TPerpetualCalendarDlg::Year() const
{
    return m_ui->Year;
}

QPushButton *TPerpetualCalendarDlg::BitBtn1() const
{
    return m_ui->BitBtn1;
}

QPushButton *TPerpetualCalendarDlg::BitBtn2() const
{
    return m_ui->BitBtn2;
}

void TPerpetualCalendarDlg::FormCreate()
{
    // A title bar and nothing else: the dialog ends through its two buttons or Escape.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    Year()->setText(QString::number(Year()->minimum())); // until a date is given
    Month()->setFont(ArialFont(10));
    Year()->setFont(ArialFont(9));
    Calendar()->setFont(ArialFont(8));
    // The style's menu-like delegate of a drop-down list sizes its entries itself; this one
    // takes the height each entry asks for.
    Month()->setItemDelegate(new QStyledItemDelegate(Month()));
    BitBtn1()->setFont(ArialFont(9));
    BitBtn2()->setFont(ArialFont(9));
    BitBtn1()->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    BitBtn2()->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(Month(), &QComboBox::activated, this, &TPerpetualCalendarDlg::MonthChange);
    connect(Year(), &YearSpinEdit::changed, this, &TPerpetualCalendarDlg::YearChange);
    connect(BitBtn1(), &QPushButton::clicked, this, &TPerpetualCalendarDlg::BitBtn1Click);
    connect(BitBtn2(), &QPushButton::clicked, this, &TPerpetualCalendarDlg::BitBtn2Click);
    connect(Calendar(), &MonthGrid::dateChanged, this, &TPerpetualCalendarDlg::markDaysWithNotes);
}

void TPerpetualCalendarDlg::setNotesFolder(const QString &folder, const QString &extension)
{
    m_notesFolder = folder;
    m_notesExtension = extension;
    m_markedYear = m_markedMonth = 0;
    if (isVisible())
        markDaysWithNotes();
}

void TPerpetualCalendarDlg::markDaysWithNotes()
{
    // One listing of the folder for each month shown, none for a move inside the month.
    if (m_notesFolder.isEmpty() ||
        (Calendar()->year() == m_markedYear && Calendar()->month() == m_markedMonth))
        return;
    m_markedYear = Calendar()->year();
    m_markedMonth = Calendar()->month();
    Calendar()->setMarkedDays(
        DaysWithText(m_notesFolder, m_notesExtension, m_markedYear, m_markedMonth));
}

void TPerpetualCalendarDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPerpetualCalendarDlg::FormShow()
{
    if (m_dialogLanguage == laDefault)
        m_dialogLanguage = SystemLanguage();
    InstallCalendarNames(m_dialogLanguage);
    Calendar()->update();

    Month()->clear();
    for (int month = 1; month <= 12; ++month) {
        Month()->addItem(MonthName(month, m_dialogLanguage));
        Month()->setItemData(month - 1, QSize(0, kMonthItemHeight), Qt::SizeHintRole);
    }

    const QDate date = TextToDate(m_dateText);
    // Day last would be refused on 31/01 by a grid showing a 28-day month, day first on a
    // day the grid's month lacks: going through the 1st avoids both.
    Calendar()->setDay(1);
    Calendar()->setYear(date.year());
    Calendar()->setMonth(date.month());
    Calendar()->setDay(date.day());
    Calendar()->setToday(QDate::currentDate());
    markDaysWithNotes();

    Month()->setCurrentIndex(Calendar()->month() - 1);
    Year()->setValue(Calendar()->year());
    BitBtn2()->setText(CancelCaption(m_dialogLanguage));
    const DateDialogWords words = DateDialogWordsOf(m_dialogLanguage);
    Month()->setAccessibleName(words.month);
    // On this platform a box's accessible name is its value: what it is goes in its description.
    Month()->setAccessibleDescription(words.month);
    Year()->setAccessibleName(words.year);
    Year()->upButton()->setAccessibleName(words.nextYear);
    Year()->downButton()->setAccessibleName(words.previousYear);
    Calendar()->setAccessibleName(words.days);
    Calendar()->setDayWords(words.withNotes, words.today);
}

namespace {

// The length the grid's day is cut to. The grid keeps Gregorian months, so in the century
// years that have no 29 February (2100, typed into the year field) the Gregorian length wins
// and the grid follows the field instead of refusing the year.
int monthLength(int month, int year)
{
    const int days = DaysInMonth(month, year);
    return year >= 1 ? std::min(days, QDate(year, month, 1).daysInMonth()) : days;
}

} // namespace

void TPerpetualCalendarDlg::MonthChange()
{
    const int month = Month()->currentIndex() + 1;
    const int days = monthLength(month, Calendar()->year());
    if (Calendar()->day() > days)
        Calendar()->setDay(days);
    Calendar()->setMonth(month);
}

void TPerpetualCalendarDlg::YearChange()
{
    const int year = Year()->value();
    const int days = monthLength(Calendar()->month(), year);
    if (Calendar()->day() > days)
        Calendar()->setDay(days);
    Calendar()->setYear(year);
}

void TPerpetualCalendarDlg::BitBtn1Click()
{
    m_dateText = DateToText(Calendar()->date()).left(10);
    accept();
}

void TPerpetualCalendarDlg::BitBtn2Click()
{
    reject();
}

} // namespace ruvo
