// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/conflictcopies.h"
#include "notes/daystore.h"
#include "notes/editjournal.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class QColor;
class QLineEdit;
class QTimer;
class QWidget;

namespace ruvo {

class DayFileWatcher;
class NotesEditor;

// The editors of the page on show: the notes editor and the 17 hour fields, with what they hold
// unsaved and the store their day files live in. The editors always hold the notes of one date,
// loadedDate(); what the user types is never replaced by a load until it has been saved, and a
// file another program wrote is never written over for nothing. Typing is saved by itself
// autoSaveDelay() after the last key: editor, this object's timer, the store. Until then each
// change is in the folder's journal of edits (see EditJournal), which recover() replays.
class PageNotes final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageNotes)

public:
    // Typed text is saved this long after the last keystroke, so a crash loses at most that.
    static constexpr int kAutoSaveDelay = 2000; // ms
    // After a background save failed, it is tried again this often while nothing is typed.
    static constexpr int kAutoSaveRetry = 30000; // ms

    // The editors are made as children of page, where the page lays them out. The page stops
    // the focus's notices (stopFollowingFocus) before its children go.
    explicit PageNotes(QWidget *page);
    void stopFollowingFocus();
    ~PageNotes() override;

    NotesEditor *notesEditor() const { return m_notesEditor; }
    const std::array<QLineEdit *, kHourRows> &timeFields() const { return m_timeFields; }

    const DayStore &store() const { return m_store; }
    // The folder and extension of the day files from now on; the editors keep what they hold.
    void setStore(const DayStore &store)
    {
        m_store = store;
        m_journal.reset();
    }
    // Where the journal of edits is kept: EditJournal::stateFolder() unless set; an empty
    // folder keeps none.
    void setJournalFolder(const QString &folder)
    {
        m_journalFolder = folder;
        m_journal.reset();
    }
    // The date of the page on show, which the editors may not hold yet.
    QDate dateOnShow() const { return m_dateOnShow; }
    void setDateOnShow(const QDate &date) { m_dateOnShow = date; }
    // The date whose notes the editors hold; invalid while they hold none.
    QDate loadedDate() const { return m_loadedDate; }
    // Whether the editors hold text typed since the last load or save; text typed and erased
    // again, back to what the files hold, counts as nothing.
    bool hasUnsaved() const;

    // What the pad's LoadNotes, SaveNotes and RescueNotes do (see there).
    void load();
    void save();
    QString rescue(const QString &folder, int startTime) const;
    // Replays the journal an earlier run left, which ended before its page was saved: that
    // page is read, what was typed on it put back in the editors and saved the way any save is
    // (another program's version kept beside it). Returns what the user is to be told, empty
    // when there was nothing to replay. A journal that cannot be read or saved is renamed
    // aside and never written over. Throws nothing.
    QString recover();
    // Saves unsaved text without being asked; a failure is told once (errorRaised) until a save
    // succeeds again, and the save is tried again later.
    void saveInBackground();

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
    // What was typed on the page is in its day files now.
    void saved();
    void outsideVersionsKept(const QStringList &dayFiles, const QStringList &keptAs);
    // A save or a load that nobody asked for failed (the typing paused, another program wrote).
    void errorRaised(const QString &message);

private:
    PageLines typedLines() const;
    // Shows a day file in its editors; whether they show all of it (see
    // PageFile::notShownWhole).
    bool showFile(DayFileKind kind, const std::optional<QByteArray> &bytes);
    // row: the hour field typed in, counted from 0; -1 for the notes.
    void markUnsaved(DayFileKind kind, int row);
    EditJournal &journal();
    JournaledPage journaledPage() const;
    // Writes each edit into the journal: appended to the page it holds, or the whole page
    // when the edit is the first on its file since a load or a save.
    void journalEdit(bool fileTypedOn, DayFileKind kind, int row);
    void startJournal();
    // The journal's page could not be replayed: it is kept aside, and the editors go back to
    // holding no date's notes.
    // what: the subject of its sentence.
    QString keepJournalAside(const QString &why, const QString &what, const QString &path);
    void setEditable(bool editable);
    void watchDayFiles();
    // Shows what another program wrote into the files of the page, where nothing was typed over
    // it.
    void followOutsideChanges();
    // The focus entering the page from outside loads it, leaving it saves it; moving between
    // the editors does neither.
    void focusChanged(QWidget *old, QWidget *now);
    bool onPage(const QWidget *widget) const;

    DayStore m_store;
    ConflictCopyFinder m_conflictCopies; // looked at before each load
    QWidget *m_page = nullptr;
    NotesEditor *m_notesEditor = nullptr;
    std::array<QLineEdit *, kHourRows> m_timeFields{};
    QDate m_dateOnShow;
    QDate m_loadedDate;
    PageFiles m_files;
    QTimer *m_autoSaveTimer = nullptr;
    int m_autoSaveDelay = kAutoSaveDelay;
    DayFileWatcher *m_dayFileWatcher = nullptr;
    std::optional<QString> m_journalFolder;
    std::unique_ptr<EditJournal> m_journal;
    bool m_backgroundFailureReported = false;
    bool m_journalFailureReported = false;
    bool m_loading = false;
};

} // namespace ruvo
