#include "tcalendarpad.h"

#include "dayfiles.h"
#include "dayfilewatcher.h"
#include "hotareas.h"
#include "hourfieldvalidator.h"
#include "noteseditor.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "calendar/language.h"
#include "platform/colorvalue.h"
#include "platform/cursortable.h"
#include "platform/pointfont.h"
#include "platform/resourcebitmap.h"
#include "platform/soundplayer.h"
#include "platform/wholefile.h"

#include <QApplication>
#include <QCursor>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>
#include <QTimer>

#include <limits>

namespace ruvo {

using namespace pagelayout;

namespace {

constexpr auto kBuiltInPage = u"CalendarPad_";

constexpr int kNotesMaxLength = 32000;
constexpr int kTimeFieldMaxLength = 255;

template<typename Fields> void setEditable(NotesEditor *notes, const Fields &fields, bool editable)
{
    notes->setReadOnly(!editable);
    for (QLineEdit *field : fields)
        field->setReadOnly(!editable);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    if (widget->palette().color(QPalette::Active, QPalette::Text) == color &&
        widget->palette().color(QPalette::Inactive, QPalette::Text) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::Text, color);
    palette.setColor(QPalette::Inactive, QPalette::Text, color);
    widget->setPalette(palette);
}

} // namespace

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

    m_autoSaveTimer = new QTimer(this);
    m_autoSaveTimer->setSingleShot(true);
    connect(m_autoSaveTimer, &QTimer::timeout, this, &TCalendarPad::saveInBackground);

    m_notesMemo = new NotesEditor(this);
    m_notesMemo->setGeometry(kNotesBounds);
    m_notesMemo->setMaxLength(kNotesMaxLength);
    QPalette notesPalette = m_notesMemo->palette();
    notesPalette.setColor(QPalette::Base, ColorToQColor(clWhite));
    notesPalette.setColor(QPalette::Text, ColorToQColor(clBlack));
    m_notesMemo->setPalette(notesPalette);
    m_notesMemo->installEventFilter(this);
    connect(m_notesMemo, &QPlainTextEdit::textChanged, this,
            [this] { markUnsaved(DayFileKind::Notes); });

    const QFont fieldFont = ArialFont(7);
    QWidget *previous = m_notesMemo;
    for (int i = 0; i < kTimeFieldCount; ++i) {
        auto *field = new QLineEdit(this);
        field->setGeometry(timeFieldRect(i + 1));
        field->setFrame(false);
        field->setFont(fieldFont);
        field->setMaxLength(kTimeFieldMaxLength);
        field->setValidator(new HourFieldValidator(kTimeFieldMaxLength, field));
        setTextColor(field, ColorToQColor(m_timeFieldColor));
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this,
                [this] { markUnsaved(DayFileKind::TimeFields); });
        QWidget::setTabOrder(previous, field);
        previous = field;
        m_timeFields[std::size_t(i)] = field;
    }

    m_hourScaleArea = PagePainter::hourScaleArea(m_fonts);

    m_language = laDefault;
    m_date = DateToText(QDate::currentDate());
    m_startTime = 8;
    m_directory = currentDir;
    m_soundEffect = true;
    m_soundFileName = currentDir + u"/paper.wav";
    m_extensionFile = QStringLiteral("000");
    m_destroyDelay = 10;

    connect(qApp, &QApplication::focusChanged, this, &TCalendarPad::focusChanged);
}

TCalendarPad::~TCalendarPad()
{
    // The children go with the base class, after this object has stopped being a pad: their
    // focus changes and edits must no longer reach it.
    disconnect(qApp, &QApplication::focusChanged, this, &TCalendarPad::focusChanged);
    m_notesMemo->disconnect(this);
    for (QLineEdit *field : m_timeFields)
        field->disconnect(this);
    m_notesMemo->removeEventFilter(this);
    for (QLineEdit *field : m_timeFields)
        field->removeEventFilter(this);
    m_builtInBackgroundPending = false;
    m_background = QImage();
    m_backgroundForDrawing = QImage();
}

void TCalendarPad::setBackground(const QImage &picture)
{
    setBackgroundImage(picture);
    repaintPage();
}

void TCalendarPad::setBackground(const QPixmap &picture)
{
    setBackground(picture.toImage());
}

QImage TCalendarPad::Background() const
{
    loadPendingBackground();
    return m_background;
}

void TCalendarPad::loadPendingBackground() const
{
    if (m_builtInBackgroundPending)
        setBackgroundImage(LoadBitmapByName(QString::fromUtf16(kBuiltInPage)));
}

void TCalendarPad::setBackgroundImage(const QImage &picture) const
{
    m_builtInBackgroundPending = false;
    m_background = picture;
    if (picture.isNull())
        m_backgroundForDrawing = QImage();
    else
        m_backgroundForDrawing = picture.convertToFormat(
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

void TCalendarPad::setYearColor(quint32 color)
{
    m_yearColor = color;
    repaintPage();
}

void TCalendarPad::setMonthColor(quint32 color)
{
    m_monthColor = color;
    repaintPage();
}

void TCalendarPad::setDateColor(quint32 color)
{
    m_dateColor = color;
    repaintPage();
}

void TCalendarPad::setDayColor(quint32 color)
{
    m_dayColor = color;
    repaintPage();
}

void TCalendarPad::setDateBackgroundColor(quint32 color)
{
    m_dateBackgroundColor = color;
    repaintPage();
}

void TCalendarPad::setDayWeekColor(quint32 color)
{
    m_dayWeekColor = color;
    repaintPage();
}

void TCalendarPad::setTimeColor(quint32 color)
{
    m_timeColor = color;
    repaintPage();
}

void TCalendarPad::setTimeFieldColor(quint32 color)
{
    m_timeFieldColor = color;
    // Every field, the current hour's too, until the next paint or clock tick marks it again.
    const QColor ink = ColorToQColor(color);
    for (QLineEdit *field : m_timeFields)
        setTextColor(field, ink);
}

void TCalendarPad::setCurrentTimeColor(quint32 color)
{
    m_currentTimeColor = color;
    repaintPage();
}

void TCalendarPad::setLanguage(TLanguage language)
{
    m_language = language;
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

void TCalendarPad::setExtensionFile(const QString &extension)
{
    if (extension.size() <= 3)
        m_extensionFile = extension;
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
    return m_timeFields[std::size_t(row - 1)];
}

void TCalendarPad::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

QTime TCalendarPad::currentTime() const
{
    return m_clock ? m_clock() : QTime::currentTime();
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
    ensureBackground();
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

QStringList TCalendarPad::editorLines(DayFileKind kind) const
{
    if (kind == DayFileKind::Notes)
        return m_notesMemo->visualLines();
    QStringList rows;
    for (const QLineEdit *field : m_timeFields)
        rows << field->text();
    return rows;
}

void TCalendarPad::showLines(DayFileKind kind, const QStringList &lines)
{
    m_loading = true;
    const auto done = qScopeGuard([this] { m_loading = false; });
    if (kind == DayFileKind::Notes) {
        // The typing limit is not the page's: a full page comes back with a line break for
        // every wrapped row, and none of it may be cut.
        m_notesMemo->setMaxLength(std::numeric_limits<int>::max());
        const auto limit = qScopeGuard([this] { m_notesMemo->setMaxLength(kNotesMaxLength); });
        m_notesMemo->setPlainText(lines.join(u'\n'));
        return;
    }
    // Lines after the 17th are not the page's; rows without a line are empty.
    for (int row = 1; row <= kTimeFieldCount; ++row)
        m_timeFields[std::size_t(row - 1)]->setText(row <= lines.size() ? lines.at(row - 1)
                                                                        : QString());
}

bool TCalendarPad::hasUnsavedNotes() const
{
    return std::any_of(m_dayFiles.begin(), m_dayFiles.end(),
                       [](const DayFileState &file) { return file.unsaved; });
}

void TCalendarPad::markUnsaved(DayFileKind kind)
{
    if (m_loading)
        return;
    for (DayFileState &file : m_dayFiles) {
        if (file.kind == kind)
            file.unsaved = true;
    }
    // Restarted at every keystroke: the save waits for a pause in the typing.
    m_autoSaveTimer->start(m_autoSaveDelay);
}

void TCalendarPad::LoadNotes()
{
    if (hasUnsavedNotes()) {
        if (m_loadedDate == m_date)
            return;  // what the user typed stays until it is saved
        SaveNotes(); // it belongs to another date: keep it there first
    }
    m_autoSaveTimer->stop();

    // Until both files are read the editors are not the notes of any date: nothing is saved
    // over a file that could not be read, and no other date's rows stay on this page. Nothing
    // can be typed on such a page either, so no later save replaces the file it could not read.
    m_loadedDate.clear();
    std::array<std::optional<QByteArray>, 2> read;
    try {
        for (std::size_t i = 0; i < m_dayFiles.size(); ++i)
            read[i] = ReadDayFileBytes(dayFilePath(m_dayFiles[i].kind, m_date));
    } catch (const Error &) {
        for (const DayFileState &file : m_dayFiles)
            showLines(file.kind, {});
        setEditable(m_notesMemo, m_timeFields, false);
        throw;
    }
    for (std::size_t i = 0; i < m_dayFiles.size(); ++i) {
        showLines(m_dayFiles[i].kind, read[i] ? DayFileLines(*read[i]) : QStringList());
        m_dayFiles[i] = {m_dayFiles[i].kind, read[i], false};
    }
    setEditable(m_notesMemo, m_timeFields, true);
    m_loadedDate = m_date;
    watchDayFiles();
}

void TCalendarPad::SaveNotes()
{
    if (m_loadedDate.isEmpty()) {
        if (!hasUnsavedNotes())
            return; // nothing loaded and nothing typed: no file to write
        m_loadedDate = m_date;
    }
    QStringList changedFiles;
    QStringList keptAs;
    const auto tell = qScopeGuard([&] {
        if (!keptAs.isEmpty())
            emit outsideVersionsKept(changedFiles, keptAs);
    });
    for (DayFileState &file : m_dayFiles) {
        const QString path = dayFilePath(file.kind, m_loadedDate);
        // Read again before every save: another program may have written it since.
        const std::optional<QByteArray> now = ReadDayFileBytes(path);
        if (!file.unsaved) {
            if (now) {
                // Never written over: nothing was typed that it lacks.
                if (now != file.bytes) {
                    showLines(file.kind, DayFileLines(*now));
                    file.bytes = now;
                }
                continue;
            }
            if (file.bytes) // deleted by another program: the page follows
                showLines(file.kind, {});
        }
        const QByteArray bytes = DayFileBytes(editorLines(file.kind));
        if (file.unsaved && now && now != file.bytes && now != bytes) {
            keptAs << KeepOutsideVersion(path, *now, QDateTime::currentDateTime());
            changedFiles << path;
        }
        if (now != bytes)
            WriteDayFileBytes(path, bytes);
        file.bytes = bytes;
        file.unsaved = false;
    }
    m_backgroundFailureReported = false;
    if (!hasUnsavedNotes())
        m_autoSaveTimer->stop();
}

void TCalendarPad::saveInBackground()
{
    if (!hasUnsavedNotes())
        return;
    try {
        SaveNotes();
    } catch (const Error &e) {
        if (!m_backgroundFailureReported) {
            m_backgroundFailureReported = true;
            emit errorRaised(e.message());
        }
        m_autoSaveTimer->start(kAutoSaveRetry);
    }
}

void TCalendarPad::followOutsideChanges()
{
    if (m_loadedDate != m_date || m_loadedDate.isEmpty())
        return;
    if (!hasUnsavedNotes()) {
        // Reloaded only when a file really changed: the notice also follows the pad's own
        // saves and other files of the folder.
        const bool changed = std::any_of(m_dayFiles.begin(), m_dayFiles.end(), [&](auto &file) {
            return ReadDayFileBytes(dayFilePath(file.kind, m_date)) != file.bytes;
        });
        if (changed)
            LoadNotes();
        return;
    }
    // Typed on: the editor typed on keeps its text (the save keeps both versions); the other
    // one shows the new version now.
    for (DayFileState &file : m_dayFiles) {
        if (file.unsaved)
            continue;
        const std::optional<QByteArray> now = ReadDayFileBytes(dayFilePath(file.kind, m_date));
        if (now != file.bytes) {
            showLines(file.kind, now ? DayFileLines(*now) : QStringList());
            file.bytes = now;
        }
    }
}

void TCalendarPad::watchDayFiles()
{
    if (!m_dayFileWatcher) {
        m_dayFileWatcher = new DayFileWatcher(this);
        connect(m_dayFileWatcher, &DayFileWatcher::changed, this,
                [this] { reportErrors([this] { followOutsideChanges(); }); });
    }
    m_dayFileWatcher->watch({notesFilePath(m_loadedDate), timeFieldsFilePath(m_loadedDate)});
}

QString TCalendarPad::RescueNotes(const QString &folder) const
{
    const QString date = m_loadedDate.isEmpty() ? m_date : m_loadedDate;
    const QDateTime now = QDateTime::currentDateTime();
    const QString path = folder + u'/' + DatePart(date, 2) + u'-' + DatePart(date, 1) + u'-' +
                         DatePart(date, 0) + u"_" +
                         now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + u".txt";
    // Readable as it is: the date, the notes, then each hour with its entry.
    QString text = date + u"\n\n";
    for (const QString &line : m_notesMemo->visualLines())
        text += line + u'\n';
    text += u'\n';
    const std::array<QString, kHourRows> hours = HourScaleLabels(m_startTime, laFrench);
    for (int row = 1; row <= kTimeFieldCount; ++row)
        text +=
            hours[std::size_t(row - 1)] + u' ' + m_timeFields[std::size_t(row - 1)]->text() + u'\n';
    if (!QDir().mkpath(folder) || !ReplaceFileWhole(path, text.toUtf8()))
        throw Error(u"Ne peut créer le fichier " + path);
    return path;
}

void TCalendarPad::PurgeNotes()
{
    PurgeDayFiles(m_directory, m_extensionFile, TodayText(2, laDefault), m_destroyDelay);
}

void TCalendarPad::loadIfDateChanged()
{
    if (m_loadedDate != m_date)
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

void TCalendarPad::ShowAreaHint(const QString &text)
{
    if (toolTip() != text)
        setToolTip(text);
}

void TCalendarPad::mouseMoveEvent(QMouseEvent *event)
{
    // Truncated, not rounded: a pointer at x = 36.6 is still over column 36.
    const QPointF at = event->position();
    const HotArea area = hotAreaAt(QPoint(int(at.x()), int(at.y())));
    m_overPriorArea = area == HotArea::Prior;
    m_overNextArea = area == HotArea::Next;
    m_overDateArea = area == HotArea::Date;
    ShowAreaHint(m_overPriorArea  ? m_words.prior
                 : m_overNextArea ? m_words.next
                 : m_overDateArea ? m_words.go
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
    reportErrors([&] { setDate(days < 0 ? SubtractDays(m_date, -days) : AddDays(m_date, days)); });
    // The sound follows every turn the save allowed, also one that OnChange refused.
    if (m_soundEffect)
        PlaySoundFile(m_soundFileName, SND_ASYNC);
}

void TCalendarPad::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    if (m_overDateArea)
        reportErrors([this] { goToChosenDate(); });
}

void TCalendarPad::goToChosenDate()
{
    SaveNotes();
    if (m_dateDialog)
        setDate(m_dateDialog(m_language, m_date.left(10), QCursor::pos()));
    LoadNotes();
    m_notesMemo->setFocus();
}

void TCalendarPad::repaintPage()
{
    repaint();
}

void TCalendarPad::imposeFixedSize()
{
    const QSize fixed(kWidth, kHeight);
    if (size() != fixed || minimumSize() != fixed || maximumSize() != fixed)
        setFixedSize(fixed);
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
}

void TCalendarPad::ensureBackground()
{
    loadPendingBackground();
    if (m_background.width() <= 0 && m_background.height() <= 0)
        setBackgroundImage(LoadBitmapByName(QString::fromUtf16(kBuiltInPage)));
}

void TCalendarPad::colorTimeFields()
{
    const int current = currentHourRow();
    const QColor normal = ColorToQColor(m_timeFieldColor);
    const QColor marked = ColorToQColor(m_currentTimeColor);
    for (int row = 1; row <= kTimeFieldCount; ++row)
        setTextColor(m_timeFields[std::size_t(row - 1)], row == current ? marked : normal);
}

void TCalendarPad::drawPage(QPainter &painter) const
{
    const PageContent page{m_backgroundForDrawing,
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
    PagePainter(painter, m_fonts, page).drawPage();
}

} // namespace ruvo
