// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tcalendarpad.h"

#include "hotareas.h"
#include "noteseditor.h"
#include "screenreader.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "calendar/language.h"
#include "notes/daypurge.h"
#include "platform/colorvalue.h"
#include "platform/cursortable.h"
#include "platform/pointfont.h"
#include "platform/soundplayer.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QTimer>
#include <QWheelEvent>

namespace ruvo {

using namespace pagelayout;

TCalendarPad::TCalendarPad(QWidget *parent)
    : QWidget(parent), m_clock(new PadClock(this)), m_date(DateToText(QDate::currentDate())),
      m_shownDate(QDate::currentDate()), m_directory(QDir::currentPath())
{
    // The paint covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the hot areas follow the pointer without a button held
    setFixedSize(kWidth, kHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(ArialFont(8));
    m_soundFileName = m_directory + u"/paper.wav";

    connect(m_clock, &PadClock::ticked, this, &TCalendarPad::RefreshTimeScale);

    m_notes = new PageNotes(this);
    m_notes->setStore(DayStore(m_directory, m_extensionFile));
    m_notes->setDateOnShow(m_shownDate);
    m_purge = new DayPurge(this);
    m_purge->keep(m_shownDate);
    connect(m_purge, &DayPurge::finished, this, [this](const QString &failure) {
        if (!failure.isEmpty())
            emit errorRaised(failure);
    });
    connect(m_notes, &PageNotes::errorRaised, this, &TCalendarPad::errorRaised);
    connect(m_notes, &PageNotes::outsideVersionsKept, this, &TCalendarPad::outsideVersionsKept);
    connect(m_notes, &PageNotes::typed, m_clock, &PadClock::typed);
    connect(m_notes, &PageNotes::saved, this, &TCalendarPad::notesSaved);
    m_notes->notesEditor()->installEventFilter(this);
    for (QLineEdit *field : m_notes->timeFields())
        field->installEventFilter(this);

    m_commands = new PadCommands(this);
    connect(PriorAction(), &QAction::triggered, this, &TCalendarPad::PriorPage);
    connect(NextAction(), &QAction::triggered, this, &TCalendarPad::NextPage);
    connect(TodayAction(), &QAction::triggered, this, &TCalendarPad::GoToToday);
    connect(GoToDateAction(), &QAction::triggered, this, &TCalendarPad::chooseDateFromKeys);

    // The page's texts wait for the pad to be shown: a pad that is never shown never needs them.
    markCurrentHour();
}

TCalendarPad::~TCalendarPad()
{
    // The children go with the base class, after this object has stopped being a pad: their
    // events must no longer reach it.
    m_notes->stopFollowingFocus();
    m_notes->notesEditor()->removeEventFilter(this);
    for (QLineEdit *field : m_notes->timeFields())
        field->removeEventFilter(this);
    m_face.background().clear();
}

void TCalendarPad::setBackground(const QImage &picture)
{
    m_face.background().set(picture);
    repaintPage();
}

void TCalendarPad::setTimeFieldColor(quint32 color)
{
    m_timeFieldColor = color;
    // Every field, the current hour's too, until the hour is marked again as soon as the
    // event loop turns (where the next paint would be).
    m_notes->colorTimeFields(0, ColorToQColor(color), {});
    QTimer::singleShot(0, this, &TCalendarPad::markCurrentHour);
}

void TCalendarPad::setCurrentTimeColor(quint32 color)
{
    m_currentTimeColor = color;
    markCurrentHour();
    repaintPage();
}

void TCalendarPad::setDate(const QString &date)
{
    if (m_onChange) {
        bool allowChange = true;
        m_onChange(this, date, allowChange);
        if (!allowChange)
            return;
    }
    // The text is read once, here, where the error reaches the caller and the application's
    // handler. A text that is not a date is not kept: the page on show and the date its notes
    // belong to stay the same.
    const QDate read = TextToDate(date);
    m_face.showDate(read, m_language);
    ShowPageToScreenReaders(*this, m_face);
    m_date = date;
    m_shownDate = read;
    // Before its files are read: a purge under way leaves them alone from now on.
    m_purge->keep(read);
    m_notes->setDateOnShow(read);
    // The editors get the new date's notes before the page is painted, so the new date is
    // never shown with the old notes and the editors are painted once. A page whose notes
    // cannot be read is painted all the same. While hidden, the notes wait until the pad is
    // shown.
    const auto paint = qScopeGuard([this] { repaintPage(); });
    if (isVisible())
        loadIfDateChanged();
}

void TCalendarPad::PurgeNotes()
{
    m_purge->start(store().folder(), store().extension(), QDate::currentDate(), m_destroyDelay);
}

void TCalendarPad::setExtensionFile(const QString &extension)
{
    if (extension.size() > 3)
        return;
    m_extensionFile = extension;
    m_notes->setStore(DayStore(m_directory, m_extensionFile));
}

void TCalendarPad::setDirectory(const QString &directory)
{
    m_directory = directory;
    m_notes->setStore(DayStore(m_directory, m_extensionFile));
}

void TCalendarPad::setStartTime(int hour)
{
    if (hour >= 0 && hour <= 23)
        m_startTime = hour;
    m_face.showHours(m_startTime, m_language);
    nameEditors();
    markCurrentHour();
    repaintPage();
}

void TCalendarPad::setDestroyDelay(int days)
{
    if (days >= 1 && days <= 365)
        m_destroyDelay = days;
    repaintPage();
}

QLineEdit *TCalendarPad::TimeFields(int row) const
{
    if (row < 1 || row > kTimeFieldCount)
        return nullptr;
    return m_notes->timeFields()[std::size_t(row - 1)];
}

QString TCalendarPad::LoadedDate() const
{
    const QDate loaded = m_notes->loadedDate();
    if (!loaded.isValid())
        return {};
    return loaded == m_shownDate ? m_date : DateToText(loaded);
}

void TCalendarPad::showLanguage()
{
    m_face.show(m_shownDate, m_language, m_startTime);
    nameEditors();
    m_commands->name(m_face.language(), m_face.words());
    ShowPageToScreenReaders(*this, m_face);
}

void TCalendarPad::markCurrentHour()
{
    m_face.markRow(currentHourRow());
    m_notes->colorTimeFields(m_face.markedRow(), ColorToQColor(m_timeFieldColor),
                             ColorToQColor(m_currentTimeColor));
}

void TCalendarPad::RefreshTimeScale()
{
    markCurrentHour();
    m_refreshingTimeScale = true;
    repaint(m_face.hourScaleArea());
    m_refreshingTimeScale = false;
    followTheDay();
}

void TCalendarPad::followTheDay()
{
    const std::optional<QDate> today = m_clock->newDayFor(m_shownDate);
    if (!today)
        return;
    try {
        SaveNotes();
    } catch (const Error &) {
        return; // the text stays where it was typed; the background save has told the user
    }
    m_clock->followed(*today);
    reportErrors([&] { setDate(DateToText(*today)); });
}

bool TCalendarPad::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (!m_showHint)
            return true;
        break;
    case QEvent::WindowDeactivate:
        // Leaving the window is a pause in the typing: what was typed goes to the disk now.
        saveInBackground();
        break;
    case QEvent::Paint:
        // The system's language has no notice of its change; a page in laDefault follows it
        // at its next paint, before the paint itself.
        if (m_language == laDefault && m_face.isShown() &&
            resolvedLanguage(laDefault) != m_face.language())
            showLanguage();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TCalendarPad::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    // A clock tick only redraws the hour scale; everything else is a paint of the page.
    if (m_refreshingTimeScale)
        drawPage(painter);
    else
        paintPage(painter);
}

void TCalendarPad::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The page has one size, whatever a layout or a caller asked for.
    if (event->size() != sizeHint())
        setFixedSize(sizeHint());
}

bool TCalendarPad::eventFilter(QObject *watched, QEvent *event)
{
    // The editors show no hints of their own and must not show the pad's either.
    if (event->type() == QEvent::ToolTip && watched != this)
        return true;
    return QWidget::eventFilter(watched, event);
}

// ---- Day notes

void TCalendarPad::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_face.isShown())
        showLanguage(); // the first show
    // The hour may have moved on while the page was hidden.
    markCurrentHour();
    reportErrors([this] { loadIfDateChanged(); });
}

// ---- Turning pages

void TCalendarPad::mouseMoveEvent(QMouseEvent *event)
{
    // Truncated, not rounded: a pointer at x = 36.6 is still over column 36.
    const QPointF at = event->position();
    const HotArea area = hotAreaAt(QPoint(int(at.x()), int(at.y())));
    m_overPriorArea = area == HotArea::Prior;
    m_overNextArea = area == HotArea::Next;
    m_overDateArea = area == HotArea::Date;
    ShowAreaHint(m_overPriorArea  ? m_commands->priorTip()
                 : m_overNextArea ? m_commands->nextTip()
                 : m_overDateArea ? m_commands->goTip()
                                  : QString());
    const int cursor = hotAreaCursor(area);
    if (cursor != m_cursorNumber) {
        m_cursorNumber = cursor;
        setCursor(CursorByNumber(qint16(cursor)));
    }
    QWidget::mouseMoveEvent(event);
}

void TCalendarPad::mouseReleaseEvent(QMouseEvent *event)
{
    // Any button turns the page; the flags stay, so another release turns another page.
    Q_UNUSED(event);
    if (m_overPriorArea)
        turnPage(-1);
    else if (m_overNextArea)
        turnPage(1);
}

void TCalendarPad::turnPage(int days)
{
    // A page whose notes could not be saved is not turned: the text stays on screen.
    if (!reportErrors([this] { SaveNotes(); }))
        return;
    QString date;
    // A day the calendar cannot step to turns nothing, so nothing is heard either.
    if (!reportErrors(
            [&] { date = days < 0 ? SubtractDays(m_date, -days) : AddDays(m_date, days); }))
        return;
    reportErrors([&] { setDate(date); });
    // The sound follows every other turn the save allowed, also one that OnChange refused.
    if (m_soundEffect)
        PlaySoundFile(m_soundFileName);
}

void TCalendarPad::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    if (m_overDateArea)
        ChooseDate(QCursor::pos());
}

void TCalendarPad::goToChosenDate(const QPoint &at)
{
    SaveNotes();
    if (m_dateDialog)
        setDate(m_dateDialog(m_language, m_date.left(10), at));
    LoadNotes();
    NotesMemo()->setFocus();
}

void TCalendarPad::chooseDateFromKeys()
{
    // The dialog opens where the pointer is when it is over the page, as from the page's
    // menu; from the keyboard with the pointer elsewhere, under the day block.
    const QPoint pointer = QCursor::pos();
    ChooseDate(rect().contains(mapFromGlobal(pointer)) ? pointer
                                                       : mapToGlobal(kDayBlock.bottomLeft()));
}

void TCalendarPad::GoToDate(const QString &date)
{
    reportErrors([&] {
        SaveNotes();
        setDate(date);
    });
}

void TCalendarPad::wheelEvent(QWheelEvent *event)
{
    // Over an editor the wheel is the editor's, also when it has nothing left to scroll.
    const QPoint at = event->position().toPoint();
    if (QWidget *child = childAt(at); child && child != this) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if ((delta > 0) != (m_wheelDelta > 0))
        m_wheelDelta = 0; // a change of direction starts again
    m_wheelDelta += delta;
    if (std::abs(m_wheelDelta) >= kWheelStep) {
        // One page per step at most, whatever the event carried: each turn paints its page.
        const int days = m_wheelDelta < 0 ? 1 : -1;
        m_wheelDelta = 0;
        turnPage(days);
    }
    event->accept();
}

void TCalendarPad::contextMenuEvent(QContextMenuEvent *event)
{
    // The corners and the day block keep the right button for themselves.
    if (event->reason() == QContextMenuEvent::Mouse && hotAreaAt(event->pos()) != HotArea::None) {
        event->accept();
        return;
    }
    emit pageMenuRequested(event->globalPos());
    event->accept();
}

PageInks TCalendarPad::inks() const
{
    return {palette().color(QPalette::Window), ColorToQColor(m_yearColor),
            ColorToQColor(m_monthColor),       ColorToQColor(m_dateColor),
            ColorToQColor(m_dayColor),         ColorToQColor(m_dateBackgroundColor),
            ColorToQColor(m_dayWeekColor),     ColorToQColor(m_timeColor),
            ColorToQColor(m_currentTimeColor)};
}

} // namespace ruvo
