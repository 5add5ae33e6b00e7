#pragma once

#include "notes/dayfiles.h"
#include "notes/hourscale.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QColor;
class QLineEdit;
class QTimer;
class QWidget;

namespace ruvo {

class DayFileWatcher;
class NotesEditor;

// The notes of the page on show: the notes editor, the 17 hour fields, and what the two day
// files of their date held when they were last read or written. The editors always hold the
// notes of one date, loadedDate(); what the user types is never replaced by a load until it
// has been saved, and a file another program wrote is never written over for nothing.
class PageNotes final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageNotes)

public:
    static constexpr int kNotesMaxLength = 32000;
    static constexpr int kTimeFieldMaxLength = 255;
    // Typed text is saved this long after the last keystroke, so a crash loses at most that.
    static constexpr int kAutoSaveDelay = 2000; // ms
    // After a background save failed, it is tried again this often while nothing is typed.
    static constexpr int kAutoSaveRetry = 30000; // ms

    // Where the day file of a kind lies for a date text.
    using PathOf = std::function<QString(DayFileKind kind, const QString &date)>;

    // The editors are made as children of page, where the page lays them out.
    PageNotes(QWidget *page, PathOf pathOf);
    ~PageNotes() override;

    NotesEditor *notesEditor() const { return m_notesEditor; }
    const std::array<QLineEdit *, kHourRows> &timeFields() const { return m_timeFields; }
    QString loadedDate() const { return m_loadedDate; }
    // Whether the editors hold text typed since the last load or save.
    bool hasUnsaved() const;

    // What the pad's LoadNotes, SaveNotes and RescueNotes do (see there); dateOnShow is the
    // date of the page, which the editors may not hold yet.
    void load(const QString &dateOnShow);
    void save(const QString &dateOnShow);
    QString rescue(const QString &folder, const QString &dateOnShow, int startTime) const;
    // Saves unsaved text without being asked; a failure is told once (backgroundSaveFailed)
    // until a save succeeds again, and the save is tried again later.
    void saveInBackground(const QString &dateOnShow);
    // Shows what another program wrote into the files of the page, where nothing was typed
    // over it.
    void followOutsideChanges(const QString &dateOnShow);

    // The ink of the hour fields: marked for the field of row markedRow (1 to 17; 0 for
    // none), normal for the others.
    void colorTimeFields(int markedRow, const QColor &normal, const QColor &marked);

    // What a screen reader calls the editors: the notes editor, and each hour field by its hour.
    void nameEditors(const QString &notesName, const std::array<QString, kHourRows> &hours);

    // Puts the cursor on a text of the editors and selects it: line of the notes (counted from
    // 0, as the notes file holds it) or row of the hour fields (from 0).
    void showText(DayFileKind kind, int line, int column, int length);

    QTimer *autoSaveTimer() const { return m_autoSaveTimer; }
    int autoSaveDelay() const { return m_autoSaveDelay; }
    void setAutoSaveDelay(int milliseconds) { m_autoSaveDelay = milliseconds; }

signals:
    // The user changed the text of an editor.
    void typed();
    // The typing paused for autoSaveDelay(), or a failed save is due again.
    void autoSaveDue();
    // Another program may have changed the files of the page (after a short settle).
    void dayFilesChanged();
    void outsideVersionsKept(const QStringList &dayFiles, const QStringList &keptAs);
    void backgroundSaveFailed(const QString &message);

private:
    // One of the page's two day files, as the page last read or wrote it.
    struct DayFileState
    {
        DayFileKind kind;
        std::optional<QByteArray> bytes; // what the file held; none: there was no file
        bool unsaved = false;            // typed on since
    };
    QStringList editorLines(DayFileKind kind) const;
    void showLines(DayFileKind kind, const QStringList &lines);
    void markUnsaved(DayFileKind kind);
    void setEditable(bool editable);
    void watchDayFiles();

    PathOf m_pathOf;
    NotesEditor *m_notesEditor = nullptr;
    std::array<QLineEdit *, kHourRows> m_timeFields{};
    QString m_loadedDate;
    std::array<DayFileState, 2> m_dayFiles{
        {{DayFileKind::Notes, {}, false}, {DayFileKind::TimeFields, {}, false}}};
    QTimer *m_autoSaveTimer = nullptr;
    int m_autoSaveDelay = kAutoSaveDelay;
    DayFileWatcher *m_dayFileWatcher = nullptr;
    bool m_backgroundFailureReported = false;
    bool m_loading = false;
};

} // namespace ruvo
