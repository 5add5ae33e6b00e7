// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"
#include "notes/dayfileformat.h"
#include "notes/notesexport.h"

#include <QMainWindow>
#include <QThreadPool>

#include <QList>
#include <QString>

class QAction;
class QActionGroup;

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TForm1;
}

namespace ruvo {

class HelpViewer;
class PadSync;
class SearchWindow;
class TCalendarPad;
class Tapropos;

// The main window: the calendar pad filling a fixed client area under the menu bar.
class TForm1 final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // settingsPath: the settings file, Ruvo.ini in the user's configuration folder unless a
    // test gives another.
    explicit TForm1(QWidget *parent = nullptr, const QString &settingsPath = QString());
    ~TForm1() override;

    TCalendarPad *CP() const;

    // The current directory at start-up followed by "/": the folder of the day files, the page
    // sound and the help document.
    QString StartDir() const { return m_startDir; }
    QString HelpFile() const { return m_helpFile; }

    // The help window, once "&Documentation" has opened it.
    HelpViewer *helpViewer() const { return m_helpViewer; }

    // The about box, built hidden on first use (start-up does not pay for its pictures and
    // animations) with its check box as the settings file says.
    Tapropos *apropos();
    QString settingsPath() const { return m_settingsPath; }

    // Whether the window may close now: the page is saved, the about box shown unless its
    // check box says not to, and that choice written to the settings file. Only typed text
    // that cannot be saved keeps the window open; a settings file that cannot be written is
    // reported and the window closes all the same.
    bool FormCloseQuery();

    // Saves the page, then writes the notes of every day of the pad's folder to file (.ics or
    // .md) on a thread of its own: the page stays usable, under a busy cursor, and the export
    // command is off until exportFinished(). Returns whether it started; a failure is reported.
    bool exportNotes(const QString &file, NotesAs notesAs = NotesAs::Journal);
    bool isExporting() const { return m_exporting; }
    // The search window over the page (Ctrl+F), once it has been opened.
    SearchWindow *searchWindow() const { return m_searchWindow; }
    void openSearch();
    // Turns to a search result's day, saved first, and puts the cursor on the text found.
    void goToSearchResult(const QDate &date, DayFileKind kind, int line, int column, int length);
    // The page's commands that the window adds to the pad's own: search (Ctrl+F) and export
    // (Ctrl+E).
    QAction *SearchAction() const { return m_searchAction; }
    QAction *ExportAction() const { return m_exportAction; }
    // "Synchroniser" syncs the folder with its calendar now (it opens the settings while none
    // is set); "Synchronisation…" opens them (SyncDialog). The sync itself starts once the
    // page is on the screen, and runs after each save and every few minutes.
    QAction *SyncAction() const { return m_syncAction; }
    QAction *SyncSettingsAction() const { return m_syncSettingsAction; }
    PadSync *padSync() const { return m_sync; }
    void openSyncSettings();

    // The page menu's "Rappels": "Aucun", then each lead of kReminderChoices, the one the
    // settings file holds checked. Choosing one writes it; turning reminders on writes the
    // user's autostart entry for the agent (AutostartEntry) and starts the agent, turning them
    // off removes the entry, and the agent ends once it reads the settings.
    QList<QAction *> ReminderActions();
    // The program started as the agent (`<program> --reminders --folder <folder>`): this one,
    // unless a test gives another.
    void setAgentProgram(const QString &program) { m_agentProgram = program; }

    // The session is ending (a termination signal): save the page and the settings and quit
    // at once, without the about box. Text that cannot be saved where it belongs goes to a
    // rescue file (see RescueFolder()), whose path is printed on standard error; nothing
    // keeps the program from ending. Should the save still hang on the folder's disk shortly
    // before the process is ended (TerminationSignals::rescueTime()), a copy of the page taken
    // here goes to the rescue file first (DeadlineRescue).
    void quitForSession();
    // The process is ending under the event loop (exit() called by Qt when the X connection
    // breaks): the page is saved, or rescued, as at a session's end. Nothing is shown, as the
    // display may be gone.
    void savePageBeforeExit();

signals:
    // The export has ended; written tells whether the file was written (a failure has been
    // reported).
    void exportFinished(bool written);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void File1Click();
    void Documentation1Click();
    void Sitewebtlchargement1Click();
    void Autreslogiciels1Click();
    void Apropos1Click();
    bool aproposTicked() const;
    void ReadSettings();
    void WriteSettings();
    QString showDateDialog(TLanguage language, const QString &date, const QPoint &at);
    void reportError(const QString &message);
    void reportOutsideVersions(const QStringList &dayFiles, const QStringList &keptAs);
    void showPageMenu(const QPoint &at);
    void nameCommands();
    void chooseExportFile();
    void chooseReminderLead(std::optional<int> lead);
    void syncOnDemand();
    void startRemindersAgent();
    void savePageForSession();
    std::function<void()> pageRescue() const;
    // A close refused because typed text cannot be saved (failure says why) offers to keep the
    // page in a rescue file; true once it is there.
    bool keepInRescueFile(const QString &failure);

    std::unique_ptr<Ui::TForm1> m_ui;
    QString m_startDir;
    QString m_helpFile;
    HelpViewer *m_helpViewer = nullptr;
    QAction *m_searchAction = nullptr;
    SearchWindow *m_searchWindow = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_syncAction = nullptr;
    QAction *m_syncSettingsAction = nullptr;
    PadSync *m_sync = nullptr;
    QActionGroup *m_reminderChoices = nullptr;
    QString m_agentProgram;
    Tapropos *m_apropos = nullptr;
    // The about box's check box, "do not show at close", while the box is not built yet.
    bool m_aproposTicked = false;
    QString m_settingsPath;
    bool m_closingForSession = false;
    bool m_shown = false;
    bool m_purgePending = false;
    bool m_exporting = false;
    // Last, so that it is the first to go: an export under way ends before anything else does.
    QThreadPool m_exportThread;
};

} // namespace ruvo
