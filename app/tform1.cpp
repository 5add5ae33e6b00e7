// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tform1.h"

#include "mainpad.h"
#include "padsync.h"
#include "ruvoapplication.h"
#include "searchwindow.h"
#include "syncdialog.h"
#include "tperpetualcalendardlg.h"
#include "ui_tform1.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"
#include "notes/daystore.h"
#include "notes/notesexport.h"
#include "notes/notessync.h"
#include "notes/reminders.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"
#include "platform/autostartentry.h"
#include "platform/colorvalue.h"
#include "platform/deadlinerescue.h"
#include "platform/helpviewer.h"
#include "platform/installedfiles.h"
#include "platform/rescuefolder.h"
#include "platform/resourcebitmap.h"
#include "platform/settingsfile.h"
#include "platform/shellopen.h"
#include "platform/terminationsignals.h"
#include "widgets/tapropos.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace ruvo {

namespace {
const QString kSettingsSection = QStringLiteral("Propriétés");
const QString kAproposKey = QStringLiteral("apropos");
} // namespace

TForm1::TForm1(QWidget *parent, const QString &settingsPath)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()),
      m_settingsPath(settingsPath.isEmpty() ? SettingsFile::defaultPath() : settingsPath)
{
    m_exportThread.setMaxThreadCount(1);
    m_ui->setupUi(this);
    FormCreate();
}

TForm1::~TForm1()
{
    m_exportThread.waitForDone();
    if (m_exporting)
        QApplication::restoreOverrideCursor();
}

Tapropos *TForm1::apropos()
{
    if (!m_apropos) {
        m_apropos = new Tapropos(this);
        m_apropos->afficher()->setChecked(m_aproposTicked);
    }
    return m_apropos;
}

TCalendarPad *TForm1::CP() const
{
    return m_ui->CP;
}

void TForm1::FormCreate()
{
    setShortDateFormat(QStringLiteral("dd/mm/yyyy"));

    // Minimise and close only: the page has one size and the window follows it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The icon and the page are decoded straight from their bitmaps (platform/resourcebitmap):
    // no image plugin is loaded for the first page.
    setWindowIcon(
        QIcon(QPixmap::fromImage(ReadIconPicture(QStringLiteral(":/icons/MAINICON.ico")))));
    CP()->setBackground(LoadBitmapByName(QStringLiteral("MAINBACKGROUND")));

    // Silver under the page only: the menu bar follows the desktop's palette. The pad covers the
    // whole client area, so nothing under it is ever erased.
    QPalette palette = centralWidget()->palette();
    palette.setColor(QPalette::Window, ColorToQColor(clSilver));
    centralWidget()->setPalette(palette);
    centralWidget()->setAttribute(Qt::WA_NoSystemBackground);

    // Added even when the directory already ends with one (the root gives "//"): the day
    // files and the sound are found all the same.
    m_startDir = QDir::currentPath() + u'/';
    CP()->setDirectory(m_startDir);
    CP()->setExtensionFile(kMainPadExtension.toString());
    CP()->setStartTime(kMainPadStartTime);
    CP()->setLanguage(kMainPadLanguage);
    // The start folder's own copies win; an installed program brings its own.
    m_helpFile = StartOrInstalledFile(m_startDir, QStringLiteral("DOCFR.HLP"));
    CP()->setSoundFileName(StartOrInstalledFile(m_startDir, QStringLiteral("paper.wav")));

    connect(CP(), &TCalendarPad::errorRaised, this, &TForm1::reportError);
    connect(CP(), &TCalendarPad::outsideVersionsKept, this, &TForm1::reportOutsideVersions);
    connect(CP(), &TCalendarPad::pageMenuRequested, this, &TForm1::showPageMenu);
    m_searchAction = new QAction(this);
    m_searchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(m_searchAction, &QAction::triggered, this, &TForm1::openSearch);
    addAction(m_searchAction);
    m_exportAction = new QAction(this);
    m_exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_exportAction, &QAction::triggered, this, &TForm1::chooseExportFile);
    addAction(m_exportAction);
    m_syncAction = new QAction(this);
    connect(m_syncAction, &QAction::triggered, this, &TForm1::syncOnDemand);
    m_syncSettingsAction = new QAction(this);
    connect(m_syncSettingsAction, &QAction::triggered, this, &TForm1::openSyncSettings);
    m_sync = new PadSync(CP(), m_settingsPath, this);
    connect(m_sync, &PadSync::tell, this, &TForm1::reportError);
    m_agentProgram = QCoreApplication::applicationFilePath();
    m_reminderChoices = new QActionGroup(this);
    m_reminderChoices->setExclusive(true);
    std::array<int, kReminderChoices.size() + 1> leads{-1};
    std::copy(kReminderChoices.begin(), kReminderChoices.end(), leads.begin() + 1);
    for (const int lead : leads) {
        QAction *choice = m_reminderChoices->addAction(QString());
        choice->setCheckable(true);
        choice->setData(lead);
        connect(choice, &QAction::triggered, this, [this, lead] {
            chooseReminderLead(lead < 0 ? std::nullopt : std::optional(lead));
        });
    }
    CP()->setDateDialog([this](TLanguage language, const QString &date, const QPoint &at) {
        return showDateDialog(language, date, at);
    });

    connect(m_ui->File1, &QAction::triggered, this, &TForm1::File1Click);
    connect(m_ui->Documentation1, &QAction::triggered, this, &TForm1::Documentation1Click);
    connect(m_ui->Sitewebtlchargement1, &QAction::triggered, this,
            &TForm1::Sitewebtlchargement1Click);
    connect(m_ui->Autreslogiciels1, &QAction::triggered, this, &TForm1::Autreslogiciels1Click);
    connect(m_ui->Apropos1, &QAction::triggered, this, &TForm1::Apropos1Click);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::File1Click()
{
    close();
}

void TForm1::Documentation1Click()
{
    if (!m_helpViewer)
        m_helpViewer = new HelpViewer(this);
    m_helpViewer->showTopic(m_helpFile, 1);
}

void TForm1::Sitewebtlchargement1Click()
{
    VisitWebSite(this);
}

void TForm1::Autreslogiciels1Click()
{
    StartSiblingProgram(m_startDir);
}

void TForm1::Apropos1Click()
{
    apropos()->exec();
}

bool TForm1::aproposTicked() const
{
    return m_apropos ? m_apropos->afficher()->isChecked() : m_aproposTicked;
}

void TForm1::ReadSettings()
{
    m_aproposTicked = SettingsFile(m_settingsPath).readBool(kSettingsSection, kAproposKey, false);
    if (m_apropos)
        m_apropos->afficher()->setChecked(m_aproposTicked);
}

void TForm1::WriteSettings()
{
    SettingsFile(m_settingsPath).writeBool(kSettingsSection, kAproposKey, aproposTicked());
}

void TForm1::FormShow()
{
    ReadSettings();
    // Old day files are deleted once the page is on the screen: a purge of a full year of them
    // takes longer than drawing the page, and it never touches the day on show.
    m_purgePending = true;
    CP()->installEventFilter(this);
    // What a crash kept from being saved comes back before today's page is read.
    CP()->RecoverNotes();
    CP()->setDate(DateToText(QDate::currentDate()));
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_purgePending && watched == CP() && event->type() == QEvent::Paint) {
        m_purgePending = false;
        CP()->removeEventFilter(this);
        QMetaObject::invokeMethod(CP(), &TCalendarPad::PurgeNotes, Qt::QueuedConnection);
        // The network and the calendar library come in only now, on the sync's thread.
        QMetaObject::invokeMethod(m_sync, &PadSync::start, Qt::QueuedConnection);
        // The agent reminds while reminders are on, the window open or not.
        if (ReminderLead(m_settingsPath))
            QMetaObject::invokeMethod(this, &TForm1::startRemindersAgent, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormCloseQuery()
{
    // Typed text that cannot be saved keeps the window open, unless the user has it kept in a
    // rescue file: it stays on the page. A page with nothing typed never holds the close up,
    // whatever the folder.
    const bool typed = CP()->hasUnsavedNotes();
    try {
        CP()->SaveNotes();
    } catch (const Error &e) {
        if (typed && !keepInRescueFile(e.message()))
            return false;
        if (!typed)
            qWarning("%s", qPrintable(e.message()));
    }
    if (!aproposTicked())
        apropos()->exec();
    try {
        WriteSettings();
    } catch (const Error &e) {
        // The file is left as it was; the user learns why before the window goes.
        if (auto *app = qobject_cast<RuvoApplication *>(QCoreApplication::instance()))
            app->showErrorAndWait(e.message());
    }
    return true;
}

bool TForm1::keepInRescueFile(const QString &failure)
{
    QMessageBox box(QMessageBox::Warning, RuvoApplication::programName(),
                    failure +
                        u"\n\nLa page peut être gardée dans un fichier de secours du dossier " +
                        QDir::toNativeSeparators(RescueFolder()) + u".",
                    QMessageBox::NoButton, this);
    QPushButton *keep =
        box.addButton(QStringLiteral("&Garder et quitter"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QStringLiteral("&Rester"), QMessageBox::RejectRole));
    box.exec();
    if (box.clickedButton() != keep)
        return false;
    try {
        const QString path = CP()->RescueNotes(RescueFolder());
        std::fprintf(stderr, "Ruvo : la page non enregistrée est gardée dans %s\n",
                     QFile::encodeName(path).constData());
        return true;
    } catch (const Error &e) {
        reportError(e.message());
        return false;
    }
}

// The page's unsaved text as it is now, written to a rescue file when called, from whatever
// thread: it holds copies, never the widgets.
std::function<void()> TForm1::pageRescue() const
{
    const QString loaded = CP()->LoadedDate();
    std::array<QString, kHourRows> hours;
    for (std::size_t row = 0; row < hours.size(); ++row)
        hours[row] = CP()->TimeFields(int(row) + 1)->text();
    return [folder = RescueFolder(), date = TextToDate(loaded.isEmpty() ? CP()->Date() : loaded),
            notes = CP()->NotesMemo()->visualLines(), hours, startTime = CP()->StartTime()] {
        try {
            const QString path = DayStore::rescue(folder, date, notes, hours, startTime);
            std::fprintf(stderr, "Ruvo : la page non enregistrée est gardée dans %s\n",
                         QFile::encodeName(path).constData());
        } catch (const Error &e) {
            // Nowhere to write: the text itself goes to standard error, the last place left.
            std::fprintf(stderr, "%s\n%s\n", e.message().toLocal8Bit().constData(),
                         notes.join(u'\n').toLocal8Bit().constData());
            for (const QString &row : hours)
                std::fprintf(stderr, "%s\n", row.toLocal8Bit().constData());
        }
    };
}

void TForm1::savePageForSession()
{
    try {
        CP()->SaveNotes();
        return;
    } catch (const Error &e) {
        qWarning("%s", qPrintable(e.message()));
    }
    if (CP()->hasUnsavedNotes())
        pageRescue()();
}

void TForm1::quitForSession()
{
    if (m_closingForSession)
        return; // a second signal while the first one is being handled
    m_closingForSession = true;
    {
        // The alarm would end a save that hangs on the folder's disk with the page in no file.
        std::optional<DeadlineRescue> lastResort;
        if (const auto at = TerminationSignals::rescueTime(); at && CP()->hasUnsavedNotes())
            lastResort.emplace(*at, pageRescue());
        savePageForSession();
    }
    try {
        WriteSettings();
    } catch (const Error &e) {
        // The saved page is what matters: a settings file that cannot be written, and so is
        // left as it was, does not hold the program back.
        qWarning("%s", qPrintable(e.message()));
    }
    close();
    QCoreApplication::quit();
}

void TForm1::savePageBeforeExit()
{
    m_closingForSession = true;
    // A report would open a box on a display that may be gone.
    const QSignalBlocker quiet(CP());
    savePageForSession();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_closingForSession || FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimised is left: what was typed goes to the disk now.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        CP()->saveInBackground();
}

QString TForm1::showDateDialog(TLanguage language, const QString &date, const QPoint &at)
{
    // Owned by the application, not the window, and placed where the pointer is.
    TPerpetualCalendarDlg dialog;
    dialog.setDialogLanguage(language);
    dialog.move(at);
    dialog.setDateText(date);
    dialog.setNotesFolder(CP()->Directory(), CP()->ExtensionFile());
    dialog.exec();
    return dialog.DateText();
}

void TForm1::nameCommands()
{
    const PadCommandWords words = PadCommandWordsOf(CP()->Language());
    m_searchAction->setText(words.search + u'\t' + words.searchKey);
    m_exportAction->setText(words.exportNotes + u'\t' + words.exportKey);
    m_syncAction->setText(words.sync);
    m_syncSettingsAction->setText(words.syncSettings);
    const ReminderWords reminders = ReminderWordsOf(CP()->Language());
    const QList<QAction *> choices = m_reminderChoices->actions();
    for (qsizetype i = 0; i < choices.size(); ++i)
        choices[i]->setText(reminders.choices[std::size_t(i)]);
}

QList<QAction *> TForm1::ReminderActions()
{
    // As the settings file says now, whoever wrote it.
    const QList<QAction *> choices = m_reminderChoices->actions();
    const std::optional<int> lead = ReminderLead(m_settingsPath);
    for (QAction *choice : choices) {
        const int choiceLead = choice->data().toInt();
        choice->setChecked(lead ? choiceLead == *lead : choiceLead < 0);
    }
    return choices;
}

void TForm1::chooseReminderLead(std::optional<int> lead)
{
    try {
        SetReminderLead(m_settingsPath, lead);
    } catch (const Error &e) {
        reportError(e.message());
        return;
    }
    const QString folder = QDir::cleanPath(CP()->Directory());
    const AutostartEntry entry(folder);
    if (!lead) {
        if (!entry.remove())
            reportError(u"Ne peut supprimer le fichier " + entry.path());
        return;
    }
    if (!entry.write(m_agentProgram,
                     {QStringLiteral("--reminders"), QStringLiteral("--folder"), folder},
                     QStringLiteral("Ruvo"), QStringLiteral("Rappels des heures de Ruvo")))
        reportError(u"Ne peut créer le fichier " + entry.path());
    startRemindersAgent();
}

void TForm1::startRemindersAgent()
{
    // An agent already there for the folder lets this one end at once.
    QProcess::startDetached(m_agentProgram,
                            {QStringLiteral("--reminders"), QStringLiteral("--folder"),
                             QDir::cleanPath(CP()->Directory())});
}

void TForm1::showPageMenu(const QPoint &at)
{
    nameCommands();
    QMenu menu(this);
    menu.addActions({CP()->PriorAction(), CP()->NextAction(), CP()->TodayAction()});
    menu.addSeparator();
    menu.addAction(CP()->GoToDateAction());
    menu.addAction(m_searchAction);
    menu.addAction(m_exportAction);
    menu.addSeparator();
    menu.addMenu(ReminderWordsOf(CP()->Language()).title)->addActions(ReminderActions());
    menu.addSeparator();
    menu.addActions({m_syncAction, m_syncSettingsAction});
    menu.exec(at);
}

void TForm1::syncOnDemand()
{
    if (ReadSyncSettings(m_settingsPath).isSet())
        m_sync->syncNow();
    else
        openSyncSettings();
}

void TForm1::openSyncSettings()
{
    SyncDialog dialog(m_settingsPath, this);
    if (dialog.exec() == QDialog::Accepted)
        m_sync->start(); // with the calendar just set; none: nothing more
}

void TForm1::openSearch()
{
    if (!m_searchWindow) {
        m_searchWindow = new SearchWindow(this);
        connect(m_searchWindow, &SearchWindow::resultChosen, this, &TForm1::goToSearchResult);
        // Over the page, below its day block, the first time; where the user left it after.
        m_searchWindow->move(mapToGlobal(QPoint(40, 60)));
    }
    // The page's folder and language as they are now: the files are searched as the page
    // reads them.
    m_searchWindow->setLanguage(CP()->Language());
    m_searchWindow->setStartTime(CP()->StartTime());
    m_searchWindow->setFolder(CP()->Directory(), CP()->ExtensionFile());
    m_searchWindow->show();
    m_searchWindow->raise();
    m_searchWindow->activateWindow();
}

void TForm1::goToSearchResult(const QDate &date, DayFileKind kind, int line, int column, int length)
{
    // The text typed on the page on show goes to its day first: a failed save keeps the page.
    const QString dateText = DateToText(date);
    CP()->GoToDate(dateText);
    if (CP()->Date() != dateText || CP()->LoadedDate() != dateText)
        return;
    activateWindow();
    raise();
    CP()->showText(kind, line, column, length);
}

void TForm1::chooseExportFile()
{
    const PadCommandWords words = PadCommandWordsOf(CP()->Language());
    const QString iCalendar = QStringLiteral("iCalendar (*.ics)");
    // For the calendars that drop journal entries.
    const QString iCalendarEvents = words.notesAsEvents + u" (*.ics)";
    const QString markdown = QStringLiteral("Markdown (*.md)");
    QString filter = iCalendar;
    // In the user's documents (or the home folder, where there are none), never among the day
    // files: the notes folder is no place for it.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    QString file = QFileDialog::getSaveFileName(
        this, words.exportTitle, QDir(documents).filePath(QStringLiteral("Ruvo.ics")),
        iCalendar + u";;" + iCalendarEvents + u";;" + markdown, &filter);
    if (file.isEmpty())
        return;
    // A name typed without its suffix takes the one of the chosen kind.
    if (!ExportFormatOf(file))
        file += filter == markdown ? QStringLiteral(".md") : QStringLiteral(".ics");
    exportNotes(file, filter == iCalendarEvents ? NotesAs::Events : NotesAs::Journal);
}

bool TForm1::exportNotes(const QString &file, NotesAs notesAs)
{
    if (m_exporting)
        return false;
    try {
        // What is on the page belongs in the export too.
        CP()->SaveNotes();
    } catch (const Error &e) {
        reportError(e.message());
        return false;
    }
    struct Outcome
    {
        bool written = false;
        QString message;
    };
    m_exporting = true;
    m_exportAction->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const Outcome outcome = watcher->result();
        watcher->deleteLater();
        m_exporting = false;
        m_exportAction->setEnabled(true);
        QApplication::restoreOverrideCursor();
        if (!outcome.message.isEmpty())
            reportError(outcome.message); // when written, all the same, without what it names
        emit exportFinished(outcome.written);
    });
    // The store is copied: the worker never reads the pad.
    watcher->setFuture(QtConcurrent::run(
        &m_exportThread,
        [store = CP()->store(), file, startTime = CP()->StartTime(), language = CP()->Language(),
         today = QDate::currentDate(), notesAs, alarmLead = ReminderLead(m_settingsPath)] {
            Outcome outcome;
            try {
                if (const std::optional<Error> leftOut =
                        store.exportTo(file, startTime, language, today, notesAs, alarmLead))
                    outcome.message = leftOut->message();
                outcome.written = true;
            } catch (const Error &e) {
                outcome.message = e.message();
            }
            return outcome;
        }));
    return true;
}

void TForm1::reportError(const QString &message)
{
    if (auto *app = qobject_cast<RuvoApplication *>(QCoreApplication::instance()))
        app->showError(message);
}

void TForm1::reportOutsideVersions(const QStringList &dayFiles, const QStringList &keptAs)
{
    QStringList lines;
    for (qsizetype i = 0; i < dayFiles.size() && i < keptAs.size(); ++i)
        lines << u"Le fichier " + dayFiles.at(i) +
                     u" a été modifié par un autre programme pendant que vous écriviez : votre "
                     u"page y est enregistrée, l'autre version est gardée dans " +
                     keptAs.at(i);
    reportError(lines.join(u'\n'));
}

} // namespace ruvo
