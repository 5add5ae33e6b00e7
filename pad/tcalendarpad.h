// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "calendar/language.h"
#include "notes/dayfileformat.h"
#include "pad/padclock.h"
#include "pad/padcommands.h"
#include "pad/pageface.h"
#include "pad/pagelayout.h"
#include "pad/pagenotes.h"
#include "platform/colorvalue.h"

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTime>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QLineEdit;
class QPainter;
class QPixmap;
class QTimer;

namespace ruvo {

class DayPurge;
class NotesEditor;

// Asked before every write of the pad's Date, also when the text does not change. Setting
// allowChange to false refuses the change.
using TDateChangeEvent =
    std::function<void(QObject *sender, const QString &newDate, bool &allowChange)>;

// Shows the date dialog modally with its top-left corner at a screen position, for a language
// and a date text, and returns the date text it hands back (the one given, after a cancel).
using TDateDialog =
    std::function<QString(TLanguage language, const QString &date, const QPoint &at)>;

// The tear-off calendar page: a fixed 387 x 278 widget that draws the page of its Date over a
// background picture and carries the notes editor and the 17 hour fields.
//
// Colours are 0x00BBGGRR values (see platform/colorvalue.h). Setters that change the drawn
// page repaint at once while the pad is shown, before they return. What the page shows is
// worked out when what it depends on changes (the date, the language, the start hour, the
// colours, the clock); a paint only draws it.
class TCalendarPad : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCalendarPad)

    Q_PROPERTY(QImage Background READ Background WRITE setBackground)
    Q_PROPERTY(quint32 YearColor READ YearColor WRITE setYearColor)
    Q_PROPERTY(quint32 MonthColor READ MonthColor WRITE setMonthColor)
    Q_PROPERTY(quint32 DateColor READ DateColor WRITE setDateColor)
    Q_PROPERTY(quint32 DayColor READ DayColor WRITE setDayColor)
    Q_PROPERTY(quint32 DateBackgroundColor READ DateBackgroundColor WRITE setDateBackgroundColor)
    Q_PROPERTY(quint32 DayWeekColor READ DayWeekColor WRITE setDayWeekColor)
    Q_PROPERTY(quint32 TimeColor READ TimeColor WRITE setTimeColor)
    Q_PROPERTY(quint32 TimeFieldColor READ TimeFieldColor WRITE setTimeFieldColor)
    Q_PROPERTY(quint32 CurrentTimeColor READ CurrentTimeColor WRITE setCurrentTimeColor)
    Q_PROPERTY(ruvo::TLanguage Language READ Language WRITE setLanguage)
    Q_PROPERTY(QString Date READ Date WRITE setDate)
    Q_PROPERTY(QString ExtensionFile READ ExtensionFile WRITE setExtensionFile)
    Q_PROPERTY(int StartTime READ StartTime WRITE setStartTime)
    Q_PROPERTY(int DestroyDelay READ DestroyDelay WRITE setDestroyDelay)
    Q_PROPERTY(QString Directory READ Directory WRITE setDirectory)
    Q_PROPERTY(QString SoundFileName READ SoundFileName WRITE setSoundFileName)
    Q_PROPERTY(bool SoundEffect READ SoundEffect WRITE setSoundEffect)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)

    // The page's texts, worked out when the date or the language changes (and, for laDefault,
    // at the first paint after the system's language changed).
    Q_PROPERTY(QString YearText READ YearText)
    Q_PROPERTY(QString MonthText READ MonthText)
    Q_PROPERTY(QString DayText READ DayText)
    Q_PROPERTY(QString WeekdayText READ WeekdayText)
    Q_PROPERTY(QString DayLabel READ DayLabel)
    Q_PROPERTY(QString WeekLabel READ WeekLabel)
    Q_PROPERTY(QString PriorHint READ PriorHint)
    Q_PROPERTY(QString NextHint READ NextHint)
    Q_PROPERTY(QString GoHint READ GoHint)

public:
    static constexpr int kWidth = pagelayout::kPageSize.width();
    static constexpr int kHeight = pagelayout::kPageSize.height();
    static constexpr int kClockInterval = PadClock::kInterval;
    static constexpr int kTimeFieldCount = kHourRows;
    static constexpr int kAutoSaveDelay = PageNotes::kAutoSaveDelay;
    static constexpr int kAutoSaveRetry = PageNotes::kAutoSaveRetry;
    static constexpr int kIdleBeforeNewDay = PadClock::kIdleBeforeNewDay;
    // One notch of a mouse wheel; finer wheels and touchpads add up to it.
    static constexpr int kWheelStep = 120;

    using Clock = PadClock::Clock;

    explicit TCalendarPad(QWidget *parent = nullptr);
    ~TCalendarPad() override;

    QSize sizeHint() const override { return {kWidth, kHeight}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    QImage Background() const { return m_face.background().picture(); }
    // Copies the picture; an empty one is replaced by the built-in page at the next paint.
    void setBackground(const QImage &picture);
    // The same for a pixmap, as a form description hands pictures over.
    void setBackground(const QPixmap &picture) { setBackground(picture.toImage()); }

    quint32 YearColor() const { return m_yearColor; }
    void setYearColor(quint32 color) { setColor(m_yearColor, color); }
    quint32 MonthColor() const { return m_monthColor; }
    void setMonthColor(quint32 color) { setColor(m_monthColor, color); }
    quint32 DateColor() const { return m_dateColor; }
    void setDateColor(quint32 color) { setColor(m_dateColor, color); }
    quint32 DayColor() const { return m_dayColor; }
    void setDayColor(quint32 color) { setColor(m_dayColor, color); }
    quint32 DateBackgroundColor() const { return m_dateBackgroundColor; }
    void setDateBackgroundColor(quint32 color) { setColor(m_dateBackgroundColor, color); }
    quint32 DayWeekColor() const { return m_dayWeekColor; }
    void setDayWeekColor(quint32 color) { setColor(m_dayWeekColor, color); }
    quint32 TimeColor() const { return m_timeColor; }
    void setTimeColor(quint32 color) { setColor(m_timeColor, color); }
    quint32 TimeFieldColor() const { return m_timeFieldColor; }
    // Recolours the 17 hour fields at once; the page itself is not repainted.
    void setTimeFieldColor(quint32 color);
    quint32 CurrentTimeColor() const { return m_currentTimeColor; }
    // Marks the current hour's field with it at once, and repaints.
    void setCurrentTimeColor(quint32 color);

    TLanguage Language() const { return m_language; }
    void setLanguage(TLanguage language)
    {
        m_language = language;
        showLanguage();
        repaintPage();
    }

    QString Date() const { return m_date; }
    // Asks OnChange first (on every write, also of the same text). A refused change leaves
    // everything as it was. A text that is not a date throws Error("'<text>' is not a valid
    // date") and is not taken: the pad keeps its date and its page.
    void setDate(const QString &date);

    const TDateChangeEvent &OnChange() const { return m_onChange; }
    void setOnChange(TDateChangeEvent handler) { m_onChange = std::move(handler); }

    QString ExtensionFile() const { return m_extensionFile; }
    // Texts longer than 3 characters are ignored.
    void setExtensionFile(const QString &extension);
    int StartTime() const { return m_startTime; }
    // Hours outside 0..23 are ignored; the page is repainted either way.
    void setStartTime(int hour);
    int DestroyDelay() const { return m_destroyDelay; }
    // Days outside 1..365 are ignored; the page is repainted either way.
    void setDestroyDelay(int days);
    QString Directory() const { return m_directory; }
    void setDirectory(const QString &directory);
    QString SoundFileName() const { return m_soundFileName; }
    void setSoundFileName(const QString &fileName) { m_soundFileName = fileName; }
    bool SoundEffect() const { return m_soundEffect; }
    void setSoundEffect(bool on) { m_soundEffect = on; }
    // Whether the hot areas show their hints.
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool on) { m_showHint = on; }

    // The day files (stem "ddmmyy", "N" for the notes, "T" for the hour rows, ExtensionFile).
    // The editors always hold the notes of one date, LoadedDate(); what the user types is
    // never replaced by a load until it has been saved.
    //
    // Reads the files of Date into the editors. Throws Error("Ne peut ouvrir le fichier <path>")
    // for a file that exists but cannot be read. Does nothing while the editors hold unsaved
    // text of Date; unsaved text of another date is saved first.
    void LoadNotes() { m_notes->load(); }
    // Writes the editors to the files of the date they hold, respecting what other programs
    // wrote there: a file whose editor was not typed on is never written over (only a missing
    // one is created), and when another program changed it, the page shows that version. A
    // file typed on is written; if another program changed it meanwhile, its version is kept
    // beside it first (KeepOutsideVersion) and outsideVersionsKept() tells where. Throws
    // Error("Ne peut créer le fichier <path>"); the text then stays unsaved in the editors.
    void SaveNotes() { m_notes->save(); }
    // The page's unsaved text, written to a new file in folder (created if need be), named
    // after the page's date and the time of now; for when it cannot be saved where it
    // belongs. Returns the path. Throws Error("Ne peut créer le fichier <path>").
    QString RescueNotes(const QString &folder) const
    {
        return m_notes->rescue(folder, m_startTime);
    }
    // Starts moving the day files from 365 days before today up to the day before today minus
    // DestroyDelay days to the trash, on a thread of its own (see PurgeDayFiles, DayPurge):
    // the days the pad shows, before or while it runs, stay. errorRaised() tells of files that
    // stayed once it is done.
    void PurgeNotes();
    DayPurge *notesPurge() const { return m_purge; }
    // Replays the journal of edits left by a run that ended before its page was saved (see
    // PageNotes::recover); errorRaised() tells what came back, or where it is kept.
    void RecoverNotes()
    {
        if (const QString told = m_notes->recover(); !told.isEmpty())
            emit errorRaised(told);
    }
    // Where the journal of edits is kept: the state folder unless set; empty: nowhere.
    void setJournalFolder(const QString &folder) { m_notes->setJournalFolder(folder); }
    // The date text of the notes the editors hold; empty while they hold none.
    QString LoadedDate() const;
    // Whether the editors hold text typed since the last load or save.
    bool hasUnsavedNotes() const { return m_notes->hasUnsaved(); }
    // The day files of a date text. Throws Error for a text that is not a date.
    QString notesFilePath(const QString &date) const
    {
        return store().path(TextToDate(date), DayFileKind::Notes);
    }
    QString timeFieldsFilePath(const QString &date) const
    {
        return store().path(TextToDate(date), DayFileKind::TimeFields);
    }
    // The store of the pad's day files: its Directory and ExtensionFile.
    const DayStore &store() const { return m_notes->store(); }

    // The keys' page turns, the same as the corners': the page is saved first (a failed save
    // turns nothing and is reported), OnChange is asked and the paper sound plays.
    void PriorPage() { turnPage(-1); }
    void NextPage() { turnPage(1); }
    // Today's page, and any date's (a search result's): saved first, OnChange asked, no sound.
    void GoToToday() { GoToDate(DateToText(currentDateTime().date())); }
    void GoToDate(const QString &date);
    // The date dialog, as a double-click on the day block opens it, at a screen position.
    void ChooseDate(const QPoint &at)
    {
        reportErrors([&] { goToChosenDate(at); });
    }
    // Puts the cursor on a text of the page on show: in the notes (line counted from 0 as the
    // notes file holds it) or in an hour field (row counted from 0), and selects it.
    void showText(DayFileKind kind, int line, int column, int length)
    {
        m_notes->showText(kind, line, column, length);
    }

    // The page's commands with their keys, active anywhere in the pad's window: previous day
    // (Ctrl+Page Up), next day (Ctrl+Page Down), today (Alt+Home), go to a date (Ctrl+G).
    QAction *PriorAction() const { return m_commands->prior(); }
    QAction *NextAction() const { return m_commands->next(); }
    QAction *TodayAction() const { return m_commands->today(); }
    QAction *GoToDateAction() const { return m_commands->goToDate(); }

    // Which hot area the last pointer position lay in.
    bool OverPriorArea() const { return m_overPriorArea; }
    bool OverNextArea() const { return m_overNextArea; }
    bool OverDateArea() const { return m_overDateArea; }
    // The cursor number shown over the pad: -1020, -1019, -1018, or 0 for the arrow.
    int cursorNumber() const { return m_cursorNumber; }
    void setDateDialog(TDateDialog dialog) { m_dateDialog = std::move(dialog); }

    QString YearText() const { return m_face.texts().year; }
    QString MonthText() const { return m_face.texts().month; }
    QString DayText() const { return m_face.texts().day; }
    QString WeekdayText() const { return m_face.texts().weekday; }
    QString DayLabel() const { return m_face.words().day; }
    QString WeekLabel() const { return m_face.words().week; }
    QString PriorHint() const { return m_face.words().prior; }
    QString NextHint() const { return m_face.words().next; }
    QString GoHint() const { return m_face.words().go; }
    // "Day 65 - Week 10": the line under the notes.
    QString DayWeekText() const { return m_face.dayWeekLine(); }

    NotesEditor *NotesMemo() const { return m_notes->notesEditor(); }
    // Row 1 to 17, top to bottom; nullptr for any other row.
    QLineEdit *TimeFields(int row) const;
    QTimer *ClockTimer() const { return m_clock->timer(); }
    // Saves in the background autoSaveDelay() (kAutoSaveDelay unless a test shortens it) after
    // the last keystroke.
    QTimer *AutoSaveTimer() const { return m_notes->autoSaveTimer(); }
    int autoSaveDelay() const { return m_notes->autoSaveDelay(); }
    void setAutoSaveDelay(int milliseconds) { m_notes->setAutoSaveDelay(milliseconds); }

    // The date and time the hour scale marks and the page follows; the system clock unless
    // replaced (tests fix it).
    void setClock(Clock clock)
    {
        m_clock->setClock(std::move(clock));
        markCurrentHour();
    }
    QDateTime currentDateTime() const { return m_clock->now(); }
    QTime currentTime() const { return currentDateTime().time(); }
    // The row of the current hour, 1 to 17, or 0 when it is not on the scale.
    int currentHourRow() const
    {
        return CurrentHourRow(m_startTime, CurrentHourText(currentTime()));
    }

    // Work out YearText, MonthText, DayText and WeekdayText from Date. Throws Error when Date
    // is not a date, leaving the texts as they were.
    void UpdateDateTexts() { m_face.showDate(TextToDate(m_date), m_language); }
    // Set DayLabel, WeekLabel and the three hints from Language (laDefault: the system's).
    void UpdateLanguageTexts() { showLanguage(); }

    // What a paint does, onto any painter (the widget, an image): make sure of the background
    // and draw the page.
    void paintPage(QPainter &painter)
    {
        m_face.background().ensure();
        drawPage(painter);
    }
    // The page from the texts as they are, in the order a paint draws it (see PagePainter).
    void drawPage(QPainter &painter) const { m_face.draw(painter, inks()); }

signals:
    // An error met while reacting to the user (turning a page, focus, showing); the window
    // shows it. Calls made by the program itself throw instead.
    void errorRaised(const QString &message);
    // A save found day files changed by another program while the page was typed on: the
    // page was saved into them and their other versions kept at these paths, in order
    // beside the day files named in dayFiles.
    void outsideVersionsKept(const QStringList &dayFiles, const QStringList &keptAs);
    // The right button was pressed on the page away from its corners, its day block and its
    // editors: the window shows the page's menu there.
    void pageMenuRequested(const QPoint &globalPosition);
    // What was typed on the page has been saved into its day files.
    void notesSaved();

public slots:
    // The clock's minute tick: marks the current hour on the labels and the fields without
    // redrawing the rest of the page. The first tick of a new day also turns a page left on
    // the day that has just ended to the new one, once nothing has been typed for
    // kIdleBeforeNewDay seconds.
    void RefreshTimeScale();
    // Saves unsaved text without being asked (the typing paused, the window was left). A
    // failure is reported once until a save succeeds again; the text stays on the page and
    // the save is tried again later.
    void saveInBackground() { m_notes->saveInBackground(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void repaintPage() { repaint(); }
    void setColor(quint32 &member, quint32 color)
    {
        member = color;
        repaintPage();
    }
    // Works out what the page shows in its language: the words, the date's names, the hour
    // labels, the line under the notes, what a screen reader hears, the commands' texts.
    void showLanguage();
    // The editors' names for a screen reader, by the words and the hours shown.
    void nameEditors() { m_notes->nameEditors(m_face.words().notes, m_face.hourLabels()); }
    PageInks inks() const;
    // Marks the current hour's label and field, and inks the other fields.
    void markCurrentHour();
    // Loads the notes of Date when the editors hold another date's. Setting Date does this
    // before its repaint, and showing the pad does it for a date set while hidden.
    void loadIfDateChanged()
    {
        if (m_notes->loadedDate() != m_shownDate)
            LoadNotes();
    }
    void ShowAreaHint(const QString &text)
    {
        if (toolTip() != text)
            setToolTip(text);
    }
    void turnPage(int days);
    void goToChosenDate(const QPoint &at);
    void chooseDateFromKeys();
    void followTheDay();
    // Runs a reaction to the user; an Error is reported, not thrown into the event loop.
    template<typename F> bool reportErrors(F &&reaction)
    {
        try {
            reaction();
            return true;
        } catch (const Error &e) {
            emit errorRaised(e.message());
            return false;
        }
    }

    PageFace m_face;
    PageNotes *m_notes = nullptr;
    PadCommands *m_commands = nullptr;
    PadClock *m_clock = nullptr;
    DayPurge *m_purge = nullptr;
    QString m_date;
    QDate m_shownDate; // Date, read once
    quint32 m_yearColor = clBlack;
    quint32 m_monthColor = clBlack;
    quint32 m_dateColor = clWhite;
    quint32 m_dayColor = clWhite;
    quint32 m_dateBackgroundColor = clRed;
    quint32 m_dayWeekColor = clBlack;
    quint32 m_timeColor = clBlack;
    quint32 m_timeFieldColor = clBlack;
    quint32 m_currentTimeColor = clRed;
    int m_startTime = 8;
    TLanguage m_language = laDefault;
    TDateChangeEvent m_onChange;
    bool m_soundEffect = true;
    QString m_soundFileName;
    QString m_extensionFile = QStringLiteral("000");
    QString m_directory;
    int m_destroyDelay = 10;

    int m_wheelDelta = 0;
    TDateDialog m_dateDialog;
    bool m_showHint = false;
    bool m_overPriorArea = false;
    bool m_overNextArea = false;
    bool m_overDateArea = false;
    int m_cursorNumber = 0;
    bool m_refreshingTimeScale = false;
};

} // namespace ruvo
