// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "pad/padtestsupport.h"

#include "caldavserver.h"

#include "app/tform1.h"

#include "app/mainpad.h"
#include "app/padsync.h"
#include "app/ruvoapplication.h"
#include "app/searchwindow.h"
#include "app/syncdialog.h"
#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "notes/dayfiles.h"
#include "notes/notessync.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"
#include "platform/autostartentry.h"
#include "platform/cursortable.h"
#include "platform/helpviewer.h"
#include "platform/installedfiles.h"
#include "widgets/tapropos.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace ruvo;
using padtest::bytesOf;
using padtest::writeBytes;

namespace {

// Answers the about box each time it shows: ticks or unticks its check box, then closes it
// as its picture does. Counts the showings.
class AboutBoxAnswer final : public QObject
{
public:
    AboutBoxAnswer(TForm1 &form, bool tick) : m_about(form.apropos()), m_tick(tick)
    {
        m_about->installEventFilter(this);
    }
    int shown = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            ++shown;
            QTimer::singleShot(0, this, [this] {
                m_about->afficher()->setChecked(m_tick);
                m_about->reject();
            });
        }
        return false;
    }

private:
    Tapropos *m_about;
    bool m_tick;
};

// An environment variable set for as long as it lives, then as it was.
class ScopedVariable final
{
public:
    ScopedVariable(const char *name, const QByteArray &value) : m_name(name), m_saved(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable() { qputenv(m_name, m_saved); }
    Q_DISABLE_COPY_MOVE(ScopedVariable)

private:
    const char *m_name;
    QByteArray m_saved;
};

// The window on a page that cannot be saved where it belongs (a folder has the notes file's
// name), its rescue files kept under dir's state/.
struct UnsaveablePage
{
    UnsaveablePage()
    {
        form.show();
        TCalendarPad *pad = form.CP();
        pad->setDirectory(dir.filePath(u"notes"_qs));
        QDir().mkdir(pad->Directory());
        QDir().mkdir(pad->notesFilePath(pad->Date()));
        pad->LoadNotes();
    }
    QTemporaryDir dir;
    ScopedVariable state{"XDG_STATE_HOME", QFile::encodeName(dir.filePath(u"state"_qs))};
    TForm1 form{nullptr, dir.filePath(QStringLiteral("Ruvo.ini"))};
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // never the user's own settings file
        RegisterStartupCursors();
        padtest::useTemporaryCurrentFolder();
    }
    void init()
    {
        m_savedDir = QDir::currentPath();
        setDateSeparator(u'/');
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedDir);
        setDateSeparator(u'/');
    }

    void clientAreaIsThePage();
    void darkDesktopPalette_keepsThePaper();
    void cannotBeResizedOrMaximised();
    void startFolderIsTheCurrentFolder_data();
    void startFolderIsTheCurrentFolder();
    void installedCopiesServeAStartFolderWithout_data();
    void installedCopiesServeAStartFolderWithout();
    void storedPadValues();
    void showsTodayOnceShown_data();
    void showsTodayOnceShown();
    void oldDayFilesGoOnceThePageIsShown();
    void setsTheDatePattern();
    void menu();
    void pageMenu_offersTheCommandsWithTheirKeys();
    void searchFindsADayAndPutsTheCursorOnTheText();
    void exportHoldsTheTextOnThePage();
    void sync_carriesTheSavesAndBringsOtherClientsChanges();
    void failingSync_isToldOnceAndTriedAgain();
    void syncDialog_triesTheCalendarAndKeepsTheSettings();
    void remindersChoiceWritesTheAutostartEntry();
    void exportIsOfferedTheDocumentsFolder_data();
    void exportIsOfferedTheDocumentsFolder();
    void documentationOpensTheStartFoldersHelp_data();
    void documentationOpensTheStartFoldersHelp();
    void settingsFirstRun();
    void settingsValues_data();
    void settingsValues();
    void settingsKeptWhenTheAboutBoxWasNeverOpened();
    void unwritableSettings_areReportedAndTheWindowCloses();
    void settingsLinesNotUnderstood_areKept_data();
    void settingsLinesNotUnderstood_areKept();
    void nothingUnsaved_closesWhateverTheFolder_data();
    void nothingUnsaved_closesWhateverTheFolder();
    void sessionEndSkipsTheAboutBox();
    void sessionEndWithUnwritableSettingsStillQuits();
    void sessionEndInAnUnwritableFolder_rescuesTheText();
    void unsaveableTypedPage_closeOffersTheRescue_data();
    void unsaveableTypedPage_closeOffersTheRescue();

private:
    QString m_savedDir;
};

void MainWindowTest::darkDesktopPalette_keepsThePaper()
{
    const QPalette saved = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
    QPalette dark(QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    TForm1 form;
    // Hours away from the one marked in red, whatever the time of the run.
    const int marked = form.CP()->currentHourRow();
    for (QWidget *editor :
         {static_cast<QWidget *>(form.CP()->NotesMemo()),
          static_cast<QWidget *>(form.CP()->TimeFields(marked == 1 ? 2 : 1)),
          static_cast<QWidget *>(form.CP()->TimeFields(marked == 17 ? 16 : 17))}) {
        QCOMPARE(editor->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(editor->palette().color(QPalette::Text), QColor(Qt::black));
    }
    QCOMPARE(form.centralWidget()->palette().color(QPalette::Window), QColor(0xc0, 0xc0, 0xc0));
    QCOMPARE(form.menuBar()->palette().color(QPalette::Window), dark.color(QPalette::Window));
}

void MainWindowTest::clientAreaIsThePage()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Ruvo"));
    QCOMPARE(form.centralWidget()->size(), QSize(387, 278));
    QCOMPARE(form.CP()->geometry(), QRect(0, 0, 387, 278));
    QCOMPARE(form.centralWidget()->y(), form.menuBar()->height());
    QCOMPARE(form.height(), form.menuBar()->height() + 278);
    QVERIFY(!form.windowIcon().isNull());
}

void MainWindowTest::cannotBeResizedOrMaximised()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize size = form.size();
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form.minimumSize(), size);
    QCOMPARE(form.maximumSize(), size);
    form.resize(600, 500);
    QCOMPARE(form.size(), size);
    form.showMaximized();
    QCOMPARE(form.centralWidget()->size(), QSize(387, 278));
}

void MainWindowTest::startFolderIsTheCurrentFolder_data()
{
    QTest::addColumn<bool>("root");
    QTest::newRow("a folder") << false;
    QTest::newRow("the root") << true;
}

void MainWindowTest::startFolderIsTheCurrentFolder()
{
    QFETCH(bool, root);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = root ? QStringLiteral("/") : QDir(dir.path()).canonicalPath();
    QVERIFY(QDir::setCurrent(folder));
    TForm1 form;
    const QString expected = folder + u'/';
    QCOMPARE(form.StartDir(), expected);
    QCOMPARE(form.CP()->Directory(), expected);
    QCOMPARE(form.CP()->SoundFileName(), expected + u"paper.wav");
    QCOMPARE(form.HelpFile(), expected + u"DOCFR.HLP");
}

void MainWindowTest::installedCopiesServeAStartFolderWithout_data()
{
    QTest::addColumn<bool>("ownCopies");
    QTest::newRow("none of its own") << false;
    QTest::newRow("its own copies win") << true;
}

void MainWindowTest::installedCopiesServeAStartFolderWithout()
{
    QFETCH(bool, ownCopies);
    // An install puts them in share/ruvo beside the program's bin/; this test program's
    // folder stands for bin/.
    const QString installed = InstalledDataFolder();
    QVERIFY(QDir().mkpath(installed));
    const auto removeInstalled = qScopeGuard([&] { QDir(installed).removeRecursively(); });
    QTemporaryDir start;
    QVERIFY(start.isValid());
    for (const QString &name : {QStringLiteral("paper.wav"), QStringLiteral("DOCFR.HLP")}) {
        padtest::writeBytes(QDir(installed).filePath(name), "installed");
        if (ownCopies)
            padtest::writeBytes(QDir(start.path()).filePath(name), "own");
    }
    QVERIFY(QDir::setCurrent(start.path()));
    TForm1 form;
    const QString from = ownCopies ? form.StartDir() : installed + u'/';
    QCOMPARE(form.CP()->SoundFileName(), from + u"paper.wav");
    QCOMPARE(form.HelpFile(), from + u"DOCFR.HLP");
}

void MainWindowTest::storedPadValues()
{
    TForm1 form;
    TCalendarPad *pad = form.CP();
    // The export from the command line reads the day files with the same values.
    QCOMPARE(pad->ExtensionFile(), kMainPadExtension.toString());
    QCOMPARE(pad->StartTime(), kMainPadStartTime);
    QCOMPARE(pad->DestroyDelay(), 30);
    QCOMPARE(pad->Language(), kMainPadLanguage);
    QVERIFY(pad->SoundEffect());
    QCOMPARE(pad->DateBackgroundColor(), 0x0000FFu);
    QCOMPARE(pad->CurrentTimeColor(), 0x0000FFu);
    // The window's own background replaces the built-in page.
    QCOMPARE(pad->Background().size(), QSize(387, 278));
    QCOMPARE(pad->Background().depth() >= 24, true);
}

void MainWindowTest::showsTodayOnceShown_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::newRow("slash") << QChar(u'/');
    QTest::newRow("dot") << QChar(u'.');
}

void MainWindowTest::showsTodayOnceShown()
{
    QFETCH(QChar, separator);
    setDateSeparator(separator);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QDate today = QDate::currentDate();
    const QString expected = QString::number(today.day()).rightJustified(2, u'0') + separator +
                             QString::number(today.month()).rightJustified(2, u'0') + separator +
                             QString::number(today.year());
    QCOMPARE(form.CP()->Date(), expected);
    // Hiding and showing again does not go back to today.
    form.CP()->setDate(AddDays(expected, 1));
    form.hide();
    form.show();
    QCOMPARE(form.CP()->Date(), AddDays(expected, 1));
}

void MainWindowTest::oldDayFilesGoOnceThePageIsShown()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const QDate today = QDate::currentDate();
    auto pathOf = [&](int daysBack) {
        return dir.filePath(NoteFileName(DateToText(today.addDays(-daysBack))) + u"N.ruv");
    };
    for (int back : {0, 30, 31, 365})
        writeBytes(pathOf(back), "x\r\n");
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(!QFile::exists(pathOf(365)));
    QVERIFY(!QFile::exists(pathOf(31)));
    QVERIFY(QFile::exists(pathOf(30)));
    QVERIFY(QFile::exists(pathOf(0)));
    QCOMPARE(form.CP()->NotesMemo()->toPlainText(), QStringLiteral("x"));
}

void MainWindowTest::setsTheDatePattern()
{
    setShortDateFormat(QStringLiteral("d/m/yy"));
    TForm1 form;
    QCOMPARE(ShortDateFormat(), QStringLiteral("dd/mm/yyyy"));
}

void MainWindowTest::menu()
{
    TForm1 form;
    QStringList shown;
    QStringList hidden;
    const auto collect = [&](const QList<QAction *> &actions, auto &self) -> void {
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            (action->isVisible() ? shown : hidden) << action->text();
            QVERIFY(action->shortcut().isEmpty());
            if (action->menu())
                self(action->menu()->actions(), self);
        }
    };
    collect(form.menuBar()->actions(), collect);
    QCOMPARE(shown, (QStringList{u"&Quitter"_qs, u"&Aide"_qs, u"&Documentation"_qs, u"&A propos"_qs,
                                 u"&Site web (téléchargement)"_qs}));
    QCOMPARE(hidden, (QStringList{u"A&utres logiciels"_qs, u"&Sites Web"_qs}));
}

void MainWindowTest::pageMenu_offersTheCommandsWithTheirKeys()
{
    TForm1 form;
    form.CP()->setLanguage(laFrench);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList offered;
    QTimer::singleShot(0, &form, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                offered << action->text();
            for (QAction *choice : action->menu() ? action->menu()->actions() : QList<QAction *>())
                offered << u"> "_qs + choice->text();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(190, 150),
                            form.CP()->mapToGlobal(QPoint(190, 150)));
    QApplication::sendEvent(form.CP(), &event);
    QCOMPARE(offered,
             (QStringList{u"Jour précédent\tCtrl+Pg préc"_qs, u"Jour suivant\tCtrl+Pg suiv"_qs,
                          u"Aujourd'hui\tAlt+Origine"_qs, u"Aller à une date…\tCtrl+G"_qs,
                          u"Rechercher…\tCtrl+F"_qs, u"Exporter…\tCtrl+E"_qs, u"Rappels"_qs,
                          u"> Aucun"_qs, u"> À l'heure"_qs, u"> 5 minutes avant"_qs,
                          u"> 10 minutes avant"_qs, u"> 15 minutes avant"_qs,
                          u"> 30 minutes avant"_qs, u"Synchroniser"_qs, u"Synchronisation…"_qs}));
}

void MainWindowTest::searchFindsADayAndPutsTheCursorOnTheText()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    writeBytes(dir.filePath(QStringLiteral("060398N.ruv")), "first line\r\nthe Néedle here\r\n");
    TForm1 form;
    form.CP()->setLanguage(laEnglish);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    padtest::activate(&form);
    form.CP()->NotesMemo()->setFocus();
    QTest::keyClicks(form.CP()->NotesMemo(), QStringLiteral("typed today"));
    QTest::keyClick(form.CP()->NotesMemo(), Qt::Key_F, Qt::ControlModifier);
    SearchWindow *search = form.searchWindow();
    QVERIFY(search && search->isVisible());
    QCOMPARE(search->windowTitle(), QStringLiteral("Search"));
    QTest::keyClicks(search->field(), QStringLiteral("needle"));
    QTRY_COMPARE(search->results()->model()->rowCount(), 1);
    QTest::keyClick(search->field(), Qt::Key_Return);
    QCOMPARE(form.CP()->Date(), QStringLiteral("06/03/1998"));
    QCOMPARE(form.CP()->NotesMemo()->textCursor().selectedText(), QStringLiteral("Néedle"));
    const QString today = form.CP()->notesFilePath(DateToText(QDate::currentDate()));
    QCOMPARE(bytesOf(today), QByteArray("typed today\r\n")); // saved before the page turned
}

void MainWindowTest::remindersChoiceWritesTheAutostartEntry()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString settings = dir.filePath(QStringLiteral("Ruvo.ini"));
    TForm1 form(nullptr, settings);
    form.setAgentProgram(QStringLiteral("/bin/true"));
    const QList<QAction *> choices = form.ReminderActions();
    QCOMPARE(choices.size(), 6);
    QVERIFY(choices[0]->isChecked()); // none until the user asks

    choices[2]->trigger();
    QCOMPARE(bytesOf(settings), QByteArray("[Rappels]\navance=5\n"));
    const AutostartEntry entry(dir.path());
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {entry.path()});
    QVERIFY(validate.waitForFinished());
    QCOMPARE(validate.readAllStandardOutput() + validate.readAllStandardError(), QByteArray());
    QCOMPARE(validate.exitCode(), 0);
    const QByteArray exec = "\nExec=\"/bin/true\" \"--reminders\" \"--folder\" \"" +
                            QFile::encodeName(dir.path()) + "\"\n";
    QVERIFY(bytesOf(entry.path()).contains(exec));

    choices[0]->trigger();
    QCOMPARE(bytesOf(settings), QByteArray("[Rappels]\n"));
    QVERIFY(!QFile::exists(entry.path()));
}

void MainWindowTest::exportHoldsTheTextOnThePage()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.CP()->NotesMemo()->setPlainText(QStringLiteral("not saved yet"));
    const QString file = dir.filePath(QStringLiteral("out.md"));
    QSignalSpy finished(&form, &TForm1::exportFinished);
    QVERIFY(form.exportNotes(file));
    // The page waits for nothing: a busy cursor and no second export until this one is done.
    QVERIFY(!form.ExportAction()->isEnabled());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QVERIFY(!form.exportNotes(dir.filePath(QStringLiteral("second.md"))));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(form.ExportAction()->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(bytesOf(file).contains("not saved yet"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("second.md"))));
}

void MainWindowTest::sync_carriesTheSavesAndBringsOtherClientsChanges()
{
    const ruvo::testing::Radicale server;
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const ScopedVariable state("XDG_STATE_HOME", QFile::encodeName(dir.filePath(u"state"_qs)));
    const ScopedVariable password("RUVO_SYNC_PASSWORD", "p");
    const QString settings = dir.filePath(u"Ruvo.ini"_qs);
    WriteSyncSettings(settings, server.settings());
    TForm1 form(nullptr, settings);
    PadSync *sync = form.padSync();
    sync->setAfterSave(50);
    QSignalSpy synced(sync, &PadSync::finished);
    form.show();
    QVERIFY(synced.wait(20'000)); // once the page is on the screen
    QVERIFY2(!sync->lastOutcome().failure, qPrintable(sync->lastOutcome().message()));

    form.CP()->NotesMemo()->setPlainText(u"écrit ici"_qs);
    form.CP()->SaveNotes();
    QVERIFY(synced.wait(20'000));
    const QString today = QDate::currentDate().toString(u"yyyyMMdd");
    QVERIFY(server.items().value(today + u"-notes@ruvo").contains("DESCRIPTION:écrit ici\r\n"));

    server.curl({u"-X"_qs, u"PUT"_qs, u"-H"_qs, u"Content-Type: text/calendar"_qs,
                 u"--data-binary"_qs,
                 u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\nBEGIN:VEVENT\r\n"
                 u"UID:phone\r\nDTSTAMP:20261208T000000Z\r\nDTSTART:"_qs +
                     today + u"T100000\r\nSUMMARY:Dentiste\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
                 server.url(u"phone.ics"_qs)});
    form.SyncAction()->trigger();
    QVERIFY(synced.wait(20'000));
    QTRY_COMPARE(form.CP()->TimeFields(10 - kMainPadStartTime + 1)->text(), u"Dentiste"_qs);
    QCOMPARE(form.CP()->NotesMemo()->toPlainText(), u"écrit ici"_qs);
}

void MainWindowTest::failingSync_isToldOnceAndTriedAgain()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const ScopedVariable state("XDG_STATE_HOME", QFile::encodeName(dir.filePath(u"state"_qs)));
    const QString settings = dir.filePath(u"Ruvo.ini"_qs);
    int port = 0;
    {
        const ruvo::testing::TestServer stopped({u"hostile"_qs, u"huge"_qs});
        port = stopped.port(); // nothing answers there once it has gone
    }
    WriteSyncSettings(settings,
                      {u"http://127.0.0.1:"_qs + QString::number(port) + u"/u/ruvo/", QString()});
    TForm1 form(nullptr, settings);
    PadSync *sync = form.padSync();
    sync->setFirstRetry(20);
    QSignalSpy synced(sync, &PadSync::finished);
    QSignalSpy told(sync, &PadSync::tell);
    form.show();
    QTRY_COMPARE_WITH_TIMEOUT(synced.size(), 4, 20'000);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().first().toString().startsWith(
                 u"La synchronisation n'a pu se faire : le serveur ne répond pas"_qs),
             qPrintable(told.first().first().toString()));
    form.SyncAction()->trigger(); // asked for: told again
    QTRY_COMPARE_WITH_TIMEOUT(told.size(), 2, 20'000);
}

void MainWindowTest::syncDialog_triesTheCalendarAndKeepsTheSettings()
{
    const ruvo::testing::Radicale server;
    QTemporaryDir dir;
    const ScopedVariable password("RUVO_SYNC_PASSWORD", "p");
    const QString settings = dir.filePath(u"Ruvo.ini"_qs);
    SyncDialog dialog(settings);
    QSignalSpy tried(&dialog, &SyncDialog::tried);
    dialog.serverField()->setText(server.settings().server);
    dialog.userField()->setText(u"u"_qs);
    dialog.passwordField()->setText(u"faux"_qs);
    QTest::mouseClick(dialog.tryButton(), Qt::LeftButton);
    QVERIFY(tried.wait(20'000));
    QCOMPARE(tried.last().first().toBool(), false);
    QCOMPARE(
        dialog.status()->text(),
        u"La connexion n'a pu se faire : le serveur refuse l'utilisateur ou le mot de passe."_qs);
    dialog.passwordField()->clear(); // the one kept: here RUVO_SYNC_PASSWORD's
    QTest::mouseClick(dialog.tryButton(), Qt::LeftButton);
    QVERIFY(tried.wait(20'000));
    QCOMPARE(tried.last().first().toBool(), true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(bytesOf(settings), "[Synchronisation]\nserveur=" + server.settings().server.toUtf8() +
                                    "\nutilisateur=u\n");
}

void MainWindowTest::exportIsOfferedTheDocumentsFolder_data()
{
    QTest::addColumn<bool>("documents");
    QTest::newRow("the documents folder") << true;
    QTest::newRow("none: the home folder") << false;
}

// The export is offered a place among the user's documents, never among the day files.
void MainWindowTest::exportIsOfferedTheDocumentsFolder()
{
    QFETCH(bool, documents);
    QTemporaryDir home;
    const ScopedVariable homeFolder("HOME", QFile::encodeName(home.path()));
    if (documents)
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    QTemporaryDir notes;
    QVERIFY(QDir::setCurrent(notes.path()));
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QString offered;
    QStringList kinds;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            offered = dialog->directory().absolutePath();
            kinds = dialog->nameFilters();
            dialog->reject();
        }
    });
    form.ExportAction()->trigger();
    QCOMPARE(offered, documents ? home.filePath(QStringLiteral("Documents")) : home.path());
    // Calendars that drop journal entries get the notes as events.
    QCOMPARE(kinds,
             (QStringList{u"iCalendar (*.ics)"_qs, u"iCalendar, the notes as events (*.ics)"_qs,
                          u"Markdown (*.md)"_qs}));
}

void MainWindowTest::documentationOpensTheStartFoldersHelp_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("present") << true;
    QTest::newRow("missing") << false;
}

void MainWindowTest::documentationOpensTheStartFoldersHelp()
{
    QFETCH(bool, present);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    if (present)
        writeBytes(dir.filePath(QStringLiteral("DOCFR.HLP")),
                   "<h1>Aide de Ruvo</h1><p>Tourner les pages.</p>");
    TForm1 form;
    form.findChild<QAction *>(QStringLiteral("Documentation1"))->trigger();
    QVERIFY(form.helpViewer() && form.helpViewer()->isVisible());
    const QString shown = form.helpViewer()->browser()->toPlainText();
    if (present)
        QVERIFY2(shown.contains(u"Tourner les pages."), qPrintable(shown));
    else
        QVERIFY2(shown.contains(form.HelpFile()), qPrintable(shown)); // said in the window
}

void MainWindowTest::settingsFirstRun()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    {
        TForm1 form(nullptr, ini);
        form.show();
        AboutBoxAnswer answer(form, true);
        QVERIFY(form.close());
        QCOMPARE(answer.shown, 1); // no file: the about box at the first exit
    }
    QCOMPARE(bytesOf(ini), QByteArray("[Propriétés]\napropos=1\n"));
    {
        TForm1 form(nullptr, ini);
        form.show();
        QVERIFY(form.apropos()->afficher()->isChecked());
        AboutBoxAnswer answer(form, false);
        QVERIFY(form.close());
        QCOMPARE(answer.shown, 0); // ticked: no about box
    }
    {
        TForm1 form(nullptr, ini);
        form.show();
        AboutBoxAnswer untick(form, false);
        form.findChild<QAction *>(QStringLiteral("Apropos1"))->trigger(); // "&A propos"
        QCOMPARE(untick.shown, 1);
        QVERIFY(form.close());
    }
    QCOMPARE(bytesOf(ini), QByteArray("[Propriétés]\napropos=0\n"));
}

void MainWindowTest::settingsValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("0x1") << QByteArray("[Propriétés]\napropos=0x1\n") << true;
    QTest::newRow("7") << QByteArray("[Propriétés]\napropos=7\n") << true;
    QTest::newRow("abc") << QByteArray("[Propriétés]\napropos=abc\n") << false;
}

void MainWindowTest::settingsValues()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, ticked);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    writeBytes(ini, "[Fenêtre]\nx=1\n" + file);
    TForm1 form(nullptr, ini);
    form.show();
    QCOMPARE(form.apropos()->afficher()->isChecked(), ticked);
    AboutBoxAnswer answer(form, ticked);
    QVERIFY(form.close());
    QVERIFY(bytesOf(ini).contains("[Fenêtre]\nx=1\n")); // the rest of the file is kept
}

// The about box is built on first use; until then the tick read at start is what is written.
void MainWindowTest::settingsKeptWhenTheAboutBoxWasNeverOpened()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    writeBytes(ini, "[Propriétés]\napropos=1\n");
    TForm1 form(nullptr, ini);
    form.show();
    QVERIFY(form.close());
    QVERIFY(!form.findChild<Tapropos *>());
    QCOMPARE(bytesOf(ini), QByteArray("[Propriétés]\napropos=1\n"));
}

// The file cannot be replaced at all (a folder has its name): the user is told, the file is
// left as it is, and the window closes all the same.
void MainWindowTest::unwritableSettings_areReportedAndTheWindowCloses()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    QVERIFY(QDir().mkdir(ini)); // a folder where the file should be
    auto *app = qobject_cast<RuvoApplication *>(qApp);
    QSignalSpy errors(app, &RuvoApplication::errorShown);
    connect(app, &RuvoApplication::errorShown, this,
            [] { QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); }); });
    const auto done = qScopeGuard([&] { app->disconnect(this); });
    TForm1 form(nullptr, ini);
    form.show();
    AboutBoxAnswer answer(form, true);
    QVERIFY(form.close());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().first().toString(), QString(u"Ne peut écrire dans " + ini));
    QVERIFY(QFileInfo(ini).isDir());
}

void MainWindowTest::settingsLinesNotUnderstood_areKept_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("a line without =")
        << QByteArray("[Propriétés]\nune ligne sans égal\napropos=0\n")
        << QByteArray("[Propriétés]\nune ligne sans égal\napropos=1\n");
    QTest::newRow("apropos twice") << QByteArray("[Propriétés]\r\napropos=0\r\napropos=0\r\n")
                                   << QByteArray("[Propriétés]\r\napropos=1\r\napropos=1\r\n");
    QTest::newRow("an unterminated [") << QByteArray("[Fenêtre\nx=1\n[Propriétés]\napropos=0\n")
                                       << QByteArray("[Fenêtre\nx=1\n[Propriétés]\napropos=1\n");
    QByteArray garbage("\x01\xff\xfe\0\x80 binary\n\0\0");
    QTest::newRow("binary garbage") << garbage << garbage + "\n[Propriétés]\napropos=1\n";
}

// The close writes the about box's tick into any settings file, changing only that line.
void MainWindowTest::settingsLinesNotUnderstood_areKept()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    writeBytes(ini, before);
    TForm1 form(nullptr, ini);
    form.show();
    AboutBoxAnswer answer(form, true);
    QVERIFY(form.close());
    QCOMPARE(bytesOf(ini), after);
}

void MainWindowTest::nothingUnsaved_closesWhateverTheFolder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("the folder is a file") << u"folder is a file"_qs;
    QTest::newRow("the day file is a folder") << u"day file is a folder"_qs;
    QTest::newRow("the day file is a dangling link") << u"dangling link"_qs;
}

void MainWindowTest::nothingUnsaved_closesWhateverTheFolder()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    TForm1 form(nullptr, dir.filePath(QStringLiteral("Ruvo.ini")));
    form.show();
    TCalendarPad *pad = form.CP();
    const QString today = pad->Date();
    if (kind == u"folder is a file") {
        writeBytes(dir.filePath(u"notes"_qs), {});
        pad->setDirectory(dir.filePath(u"notes"_qs));
    } else {
        pad->setDirectory(dir.filePath(u"notes"_qs));
        QVERIFY(QDir().mkdir(pad->Directory()));
        const QString notes = pad->notesFilePath(today);
        QVERIFY(kind == u"dangling link" ? QFile::link(dir.filePath(u"missing/gone"_qs), notes)
                                         : QDir().mkdir(notes));
    }
    pad->LoadNotes();
    QVERIFY(!pad->hasUnsavedNotes());
    AboutBoxAnswer answer(form, true);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Ne peut créer le fichier "_qs));
    QVERIFY(form.close());
}

void MainWindowTest::sessionEndSkipsTheAboutBox()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    TForm1 form(nullptr, ini);
    form.show();
    form.CP()->NotesMemo()->setPlainText(QStringLiteral("typed before logging out"));
    AboutBoxAnswer answer(form, true);
    form.quitForSession();
    QCOMPARE(answer.shown, 0);
    QVERIFY(!form.isVisible());
    QCOMPARE(bytesOf(ini), QByteArray("[Propriétés]\napropos=0\n"));
    QCOMPARE(bytesOf(form.CP()->notesFilePath(form.CP()->Date())),
             QByteArray("typed before logging out\r\n"));
}

void MainWindowTest::sessionEndWithUnwritableSettingsStillQuits()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Ruvo.ini"));
    QVERIFY(QDir().mkdir(ini)); // a folder where the file should be
    TForm1 form(nullptr, ini);
    form.show();
    form.CP()->NotesMemo()->setPlainText(QStringLiteral("kept"));
    QTest::ignoreMessage(QtWarningMsg, qPrintable(u"Ne peut écrire dans " + ini));
    form.quitForSession();
    QVERIFY(!form.isVisible());
    QVERIFY(!form.CP()->hasUnsavedNotes());
}

// The session is ending and the page cannot be saved where it belongs: the program ends all
// the same, and the typed text is in a rescue file.
void MainWindowTest::sessionEndInAnUnwritableFolder_rescuesTheText()
{
    UnsaveablePage page;
    TForm1 &form = page.form;
    TCalendarPad *pad = form.CP();
    pad->NotesMemo()->setPlainText(u"à ne pas perdre"_qs);
    pad->TimeFields(2)->setText(u"réunion"_qs);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Ne peut créer le fichier "_qs));
    form.quitForSession();
    QVERIFY(!form.isVisible());

    const QDir rescue(page.dir.filePath(u"state/Ruvo"_qs));
    const QStringList files = rescue.entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    const QString date = pad->Date();
    QVERIFY(files.first().startsWith(date.mid(6, 4) + u'-' + date.mid(3, 2) + u'-' + date.left(2) +
                                     u'_'));
    const QString text = QString::fromUtf8(bytesOf(rescue.filePath(files.first())));
    QVERIFY(text.contains(u"à ne pas perdre\n"_qs));
    QVERIFY(text.contains(u" réunion\n"_qs));
}

void MainWindowTest::unsaveableTypedPage_closeOffersTheRescue_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("kept in a rescue file: the window closes") << true;
    QTest::newRow("stay: the window and the text stay") << false;
}

void MainWindowTest::unsaveableTypedPage_closeOffersTheRescue()
{
    QFETCH(bool, keep);
    UnsaveablePage page;
    TForm1 &form = page.form;
    TCalendarPad *pad = form.CP();
    pad->NotesMemo()->setPlainText(u"à garder"_qs);
    QTimer::singleShot(0, [keep] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        for (QAbstractButton *button : box ? box->buttons() : QList<QAbstractButton *>()) {
            if (box->buttonRole(button) ==
                (keep ? QMessageBox::AcceptRole : QMessageBox::RejectRole))
                button->click();
        }
    });
    AboutBoxAnswer answer(form, true);
    QCOMPARE(form.close(), keep);
    const QStringList rescued = QDir(page.dir.filePath(u"state/Ruvo"_qs)).entryList(QDir::Files);
    QCOMPARE(rescued.size(), keep ? 1 : 0);
    if (keep)
        QVERIFY(
            bytesOf(page.dir.filePath(u"state/Ruvo/"_qs + rescued.first())).contains("à garder"));
    else
        QCOMPARE(pad->NotesMemo()->toPlainText(), u"à garder"_qs);
}

RUVO_TEST_MAIN(MainWindowTest)

#include "tst_mainwindow.moc"
