#include "tcalendarpad.h"

#include "hotareas.h"
#include "noteseditor.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "calendar/language.h"
#include "platform/colorvalue.h"
#include "platform/cursortable.h"
#include "platform/pointfont.h"
#include "platform/soundplayer.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>
#include <QTimer>
#include <QWheelEvent>

namespace ruvo {

using namespace pagelayout;

TCalendarPad::TCalendarPad(QWidget *parent) : QWidget(parent)
{
    // The paint covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the hot areas follow the pointer without a button held
    const QString currentDir = QDir::currentPath();
    setFixedSize(kWidth, kHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(ArialFont(8));

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(kClockInterval);
    connect(m_clockTimer, &QTimer::timeout, this, &TCalendarPad::RefreshTimeScale);
    m_clockTimer->start();

    m_notes = new PageNotes(
        this, [this](DayFileKind kind, const QString &date) { return dayFilePath(kind, date); });
    connect(m_notes, &PageNotes::autoSaveDue, this, &TCalendarPad::saveInBackground);
    connect(m_notes, &PageNotes::backgroundSaveFailed, this, &TCalendarPad::errorRaised);
    connect(m_notes, &PageNotes::outsideVersionsKept, this, &TCalendarPad::outsideVersionsKept);
    connect(m_notes, &PageNotes::dayFilesChanged, this,
            [this] { reportErrors([this] { m_notes->followOutsideChanges(m_date); }); });
    connect(m_notes, &PageNotes::typed, this, [this] { m_lastTyped = currentDateTime(); });
    m_notes->notesEditor()->installEventFilter(this);
    m_notes->colorTimeFields(0, ColorToQColor(m_timeFieldColor), {});
    for (QLineEdit *field : m_notes->timeFields())
        field->installEventFilter(this);

    m_hourScaleArea = PagePainter::hourScaleArea(m_fonts);

    // Anywhere in the pad's window, the editors included.
    m_priorAction = addCommand(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    connect(m_priorAction, &QAction::triggered, this, &TCalendarPad::PriorPage);
    m_nextAction = addCommand(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    connect(m_nextAction, &QAction::triggered, this, &TCalendarPad::NextPage);
    m_todayAction = addCommand(QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(m_todayAction, &QAction::triggered, this, &TCalendarPad::GoToToday);
    m_goToDateAction = addCommand(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(m_goToDateAction, &QAction::triggered, this, [this] {
        // The dialog opens where the pointer is when it is over the page, as from the page's
        // menu; from the keyboard with the pointer elsewhere, under the day block.
        const QPoint pointer = QCursor::pos();
        ChooseDate(rect().contains(mapFromGlobal(pointer)) ? pointer
                                                           : mapToGlobal(kDayBlock.bottomLeft()));
    });

    m_date = DateToText(QDate::currentDate());
    m_followedDay = QDate::currentDate();
    m_directory = currentDir;
    m_soundFileName = currentDir + u"/paper.wav";

    connect(qApp, &QApplication::focusChanged, this, &TCalendarPad::focusChanged);
}

QAction *TCalendarPad::addCommand(const QKeySequence &key)
{
    auto *action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

void TCalendarPad::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_followedDay = currentDateTime().date();
    m_lastTyped = {};
}

TCalendarPad::~TCalendarPad()
{
    // The children go with the base class, after this object has stopped being a pad: their
    // focus changes and edits must no longer reach it.
    disconnect(qApp, &QApplication::focusChanged, this, &TCalendarPad::focusChanged);
    m_notes->notesEditor()->removeEventFilter(this);
    for (QLineEdit *field : m_notes->timeFields())
        field->removeEventFilter(this);
    m_background.clear();
}

void TCalendarPad::setBackground(const QImage &picture)
{
    m_background.set(picture);
    repaintPage();
}

void TCalendarPad::setBackground(const QPixmap &picture)
{
    setBackground(picture.toImage());
}

void TCalendarPad::setTimeFieldColor(quint32 color)
{
    m_timeFieldColor = color;
    // Every field, the current hour's too, until the next paint or clock tick marks it again.
    m_notes->colorTimeFields(0, ColorToQColor(color), {});
}

void TCalendarPad::setDate(const QString &date)
{
    if (m_onChange) {
        bool allowChange = true;
        m_onChange(this, date, allowChange);
        if (!allowChange)
            return;
    }
    // A paint cannot report an error, so the text is read here, where the error reaches the
    // caller and the application's handler. A text that is not a date is not kept: the page
    // on show and the date its notes belong to stay the same.
    const QString previous = m_date;
    m_date = date;
    try {
        UpdateDateTexts();
    } catch (const Error &) {
        m_date = previous;
        throw;
    }
    // The editors get the new date's notes before the page is painted, so the new date is
    // never shown with the old notes and the editors are painted once. A page whose notes
    // cannot be read is painted all the same. While hidden, the notes wait until the pad is
    // shown.
    const auto paint = qScopeGuard([this] { repaintPage(); });
    if (isVisible())
        loadIfDateChanged();
}

void TCalendarPad::setStartTime(int hour)
{
    if (hour >= 0 && hour <= 23)
        m_startTime = hour;
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

int TCalendarPad::currentHourRow() const
{
    return CurrentHourRow(m_startTime, CurrentHourText(currentTime()));
}

void TCalendarPad::UpdateDateTexts()
{
    // Everything is read before anything is kept, so a bad date leaves the old texts.
    m_pageTexts = PageTextsOf(m_date, m_language);
}

void TCalendarPad::UpdateLanguageTexts()
{
    // laDefault is looked up at every paint, so a change of the system's language shows.
    m_words = PadWordsOf(m_language);
}

void TCalendarPad::RefreshTimeScale()
{
    colorTimeFields();
    m_refreshingTimeScale = true;
    repaint(m_hourScaleArea);
    m_refreshingTimeScale = false;
    followTheDay();
}

void TCalendarPad::followTheDay()
{
    const QDateTime now = currentDateTime();
    const QDate today = now.date();
    if (today == m_followedDay)
        return;
    // A page turned to another date stays where the user put it.
    if (m_date != DateToText(m_followedDay)) {
        m_followedDay = today;
        return;
    }
    // While the user types, the page waits for a pause.
    if (m_lastTyped.isValid() && m_lastTyped.secsTo(now) < kIdleBeforeNewDay)
        return;
    try {
        SaveNotes();
    } catch (const Error &) {
        return; // the text stays where it was typed; the background save has told the user
    }
    m_followedDay = today;
    reportErrors([&] { setDate(DateToText(today)); });
}

void TCalendarPad::paintEvent(QPaintEvent *event)
{
    // A clock tick only recolours the hour scale, also where the fields it recoloured have the
    // pad paint under them; everything else is a paint of the page.
    Q_UNUSED(event);
    const bool clockTick = m_refreshingTimeScale;
    imposeFixedSize();
    {
        QPainter painter(this);
        if (clockTick) {
            colorTimeFields();
            drawPage(painter);
        } else {
            paintPage(painter);
        }
    }
}

void TCalendarPad::paintPage(QPainter &painter)
{
    preparePageTexts();
    m_background.ensure();
    colorTimeFields();
    drawPage(painter);
}

bool TCalendarPad::eventFilter(QObject *watched, QEvent *event)
{
    // The editors show no hints of their own and must not show the pad's either.
    if (event->type() == QEvent::ToolTip && watched != this)
        return true;
    return QWidget::eventFilter(watched, event);
}

bool TCalendarPad::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint)
        return true;
    // Leaving the window is a pause in the typing: what was typed goes to the disk now.
    if (event->type() == QEvent::WindowDeactivate)
        saveInBackground();
    return QWidget::event(event);
}

template<typename F> bool TCalendarPad::reportErrors(F &&reaction)
{
    try {
        reaction();
        return true;
    } catch (const Error &e) {
        emit errorRaised(e.message());
        return false;
    }
}

// ---- Day notes

QString TCalendarPad::notesFilePath(const QString &date) const
{
    return DayFilePath(m_directory, NoteFileName(date), DayFileKind::Notes, m_extensionFile);
}

QString TCalendarPad::timeFieldsFilePath(const QString &date) const
{
    return DayFilePath(m_directory, NoteFileName(date), DayFileKind::TimeFields, m_extensionFile);
}

QString TCalendarPad::dayFilePath(DayFileKind kind, const QString &date) const
{
    return kind == DayFileKind::Notes ? notesFilePath(date) : timeFieldsFilePath(date);
}

void TCalendarPad::PurgeNotes()
{
    PurgeDayFiles(m_directory, m_extensionFile, TodayText(2, laDefault), m_destroyDelay);
}

void TCalendarPad::loadIfDateChanged()
{
    if (LoadedDate() != m_date)
        LoadNotes();
}

void TCalendarPad::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    reportErrors([this] { loadIfDateChanged(); });
}

bool TCalendarPad::ownsWidget(const QWidget *widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}

void TCalendarPad::focusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = ownsWidget(old);
    const bool isInside = ownsWidget(now);
    if (!wasInside && isInside)
        reportErrors([this] { LoadNotes(); });
    else if (wasInside && !isInside)
        reportErrors([this] { SaveNotes(); });
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
    ShowAreaHint(m_overPriorArea  ? m_priorTip
                 : m_overNextArea ? m_nextTip
                 : m_overDateArea ? m_goTip
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
        PlaySoundFile(m_soundFileName, SND_ASYNC);
}

void TCalendarPad::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    if (m_overDateArea)
        ChooseDate(QCursor::pos());
}

void TCalendarPad::ChooseDate(const QPoint &at)
{
    reportErrors([&] { goToChosenDate(at); });
}

void TCalendarPad::goToChosenDate(const QPoint &at)
{
    SaveNotes();
    if (m_dateDialog)
        setDate(m_dateDialog(m_language, m_date.left(10), at));
    LoadNotes();
    NotesMemo()->setFocus();
}

void TCalendarPad::GoToToday()
{
    GoToDate(DateToText(currentDateTime().date()));
}

void TCalendarPad::GoToDate(const QString &date)
{
    reportErrors([&] {
        SaveNotes();
        setDate(date);
    });
}

void TCalendarPad::showText(DayFileKind kind, int line, int column, int length)
{
    m_notes->showText(kind, line, column, length);
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

void TCalendarPad::repaintPage()
{
    repaint();
}

void TCalendarPad::preparePageTexts()
{
    try {
        UpdateDateTexts();
    } catch (const Error &) {
        // Only a change of the process's date format can make a kept date unreadable; the
        // page then stays as it was rather than failing at every paint.
    }
    UpdateLanguageTexts();
    m_dayWeekText = DayWeekLine(m_pageTexts, m_words);
    if (m_hourLabelsStart != m_startTime || m_hourLabelsLanguage != m_language) {
        m_hourLabels = HourScaleLabels(m_startTime, m_language);
        m_hourLabelsStart = m_startTime;
        m_hourLabelsLanguage = m_language;
    }
    m_notes->nameEditors(m_words.notes, m_hourLabels);
    nameCommands();
    // The page's three corner actions, for a screen reader.
    if (const QString actions = m_words.prior + u", " + m_words.next + u", " + m_words.go;
        accessibleDescription() != actions)
        setAccessibleDescription(actions);
}

void TCalendarPad::nameCommands()
{
    // Named again only when the language changes: a paint should not rebuild sixteen words.
    const TLanguage language = resolvedLanguage(m_language);
    if (language == m_commandsLanguage)
        return;
    m_commandsLanguage = language;
    const PadCommandWords commands = PadCommandWordsOf(language);
    const auto withKey = [](const QString &text, const QString &key) {
        return QStringLiteral("%1 (%2)").arg(text, key);
    };
    m_priorTip = withKey(m_words.prior, commands.previousKey);
    m_nextTip = withKey(m_words.next, commands.nextKey);
    m_goTip = QStringLiteral("%1, %2").arg(withKey(m_words.go, commands.goToDateKey),
                                           withKey(commands.today, commands.todayKey));
    // The key after a tab: a menu shows it in its column of keys, in the page's language.
    const auto menuText = [](const QString &text, const QString &key) {
        return QStringLiteral("%1\t%2").arg(text, key);
    };
    m_priorAction->setText(menuText(commands.previousDay, commands.previousKey));
    m_nextAction->setText(menuText(commands.nextDay, commands.nextKey));
    m_todayAction->setText(menuText(commands.today, commands.todayKey));
    m_goToDateAction->setText(menuText(commands.goToDate, commands.goToDateKey));
}

void TCalendarPad::colorTimeFields()
{
    m_notes->colorTimeFields(currentHourRow(), ColorToQColor(m_timeFieldColor),
                             ColorToQColor(m_currentTimeColor));
}

void TCalendarPad::drawPage(QPainter &painter) const
{
    const PageContent page{m_background.forDrawing(),
                           palette().color(QPalette::Window),
                           m_pageTexts,
                           m_dayWeekText,
                           m_hourLabels,
                           currentHourRow(),
                           ColorToQColor(m_yearColor),
                           ColorToQColor(m_monthColor),
                           ColorToQColor(m_dateColor),
                           ColorToQColor(m_dayColor),
                           ColorToQColor(m_dateBackgroundColor),
                           ColorToQColor(m_dayWeekColor),
                           ColorToQColor(m_timeColor),
                           ColorToQColor(m_currentTimeColor)};
    PagePainter(painter, m_fonts, page, m_textLayouts).drawPage();
}

} // namespace ruvo
