// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "startfolder.h"

#include "notesexportcommand.h"
#include "notessynccommand.h"
#include "ruvoapplication.h"

#include "notes/reminders.h"
#include "platform/installedfiles.h"
#include "platform/settingsfile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace ruvo {

QString NotesFolder()
{
    const QString named = qEnvironmentVariable("RUVO_HOME");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral("Ruvo")) : named;
}

namespace {

// The program's options, shared by the first look at the command line and its reading.
struct Options
{
    explicit Options(QCommandLineParser &parser)
    {
        parser.setApplicationDescription(QStringLiteral(
            "A tear-off daily calendar: a page for each day, with notes and hours.\n"
            "Started from a terminal without --folder or --notes-folder, it keeps the day\n"
            "files in the current folder."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(folder);
        parser.addOption(notesFolder);
        parser.addOption(exportFile);
        parser.addOption(notesAs);
        parser.addOption(reminders);
        parser.addOption(today);
        parser.addOption(sync);
    }

    const QCommandLineOption folder{
        QStringLiteral("folder"),
        QStringLiteral("Keep the day files in <folder> (created if need be)."),
        QStringLiteral("folder")};
    const QCommandLineOption notesFolder{
        QStringLiteral("notes-folder"),
        QStringLiteral("Keep the day files in the notes folder: $RUVO_HOME, else ~/Ruvo.")};
    const QCommandLineOption exportFile{
        QStringLiteral("export"),
        QStringLiteral("Write the notes of every day of the folder to <file>, an iCalendar file "
                       "(.ics) or a Markdown document (.md), and end without opening a window."),
        QStringLiteral("file")};
    const QCommandLineOption notesAs{
        QStringLiteral("notes-as"),
        QStringLiteral("With --export to a calendar file, each day's notes as a journal entry "
                       "(journal, the default) or as an all-day event (events), for calendars "
                       "that drop journal entries."),
        QStringLiteral("journal|events")};
    const QCommandLineOption reminders{
        QStringLiteral("reminders"),
        QStringLiteral("Remind of today's hour lines through the desktop's notifications, "
                       "without a window, while the reminders are on (the page's menu, "
                       "\"Rappels\").")};
    const QCommandLineOption today{
        QStringLiteral("today"),
        QStringLiteral("Show today's page; a copy already open in the folder turns to it.")};
    const QCommandLineOption sync{
        QStringLiteral("sync"),
        QStringLiteral("Sync the folder once with the calendar server set in the page's menu "
                       "(\"Synchronisation...\") and end without opening a window: for a timer "
                       "or cron.")};
};

// Says why the program cannot start: on standard error, and in a box where there is a window
// system (a start from the desktop's menu has no terminal to read).
[[noreturn]] void refuseToStart(const QString &message)
{
    std::fprintf(stderr, "Ruvo : %s\n", message.toLocal8Bit().constData());
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QMessageBox::critical(nullptr, RuvoApplication::programName(), message);
    std::exit(1);
}

// The agent is a program of its own, run in this process's place: what lives the whole session
// never loads the window's libraries.
[[noreturn]] void becomeRemindersAgent(const QString &folder)
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString name = QStringLiteral("/ruvo-reminders");
    const QStringList places{QFileInfo(program).absolutePath() + name,
                             InstalledModuleFolder() + name};
    for (const QString &agent : places) {
        if (!QFileInfo(agent).isExecutable())
            continue;
        const QByteArray path = QFile::encodeName(agent);
        const QByteArray folderArgument = QFile::encodeName(folder);
        const QByteArray programArgument = QFile::encodeName(program);
        const char *arguments[] = {path.constData(),
                                   "--folder",
                                   folderArgument.constData(),
                                   "--program",
                                   programArgument.constData(),
                                   nullptr};
        std::fflush(nullptr);
        ::execv(path.constData(), const_cast<char *const *>(arguments));
    }
    refuseToStart(u"ne trouve pas le programme des rappels" + name);
}

} // namespace

std::optional<int> AnswerWithoutWindow(int argc, char **argv)
{
    // A first look without any application object: a command line that asks for the window
    // reaches the window system only once it is known to be right.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const Options options(parser);
    const bool understood = parser.parse(arguments) && parser.positionalArguments().isEmpty();
    if (understood && !parser.isSet(QStringLiteral("help")) &&
        !parser.isSet(QStringLiteral("help-all")) && !parser.isSet(QStringLiteral("version")) &&
        !parser.isSet(options.exportFile) && !parser.isSet(options.notesAs) &&
        !parser.isSet(options.reminders) && !parser.isSet(options.sync))
        return std::nullopt;
    const QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(RuvoApplication::programName());
    QCoreApplication::setApplicationVersion(RuvoApplication::programVersion());
    // --help, --version and a command line that is not understood print and end here.
    const CommandLine commandLine = ReadCommandLine(QCoreApplication::arguments());
    if (commandLine.reminders)
        becomeRemindersAgent(commandLine.folder);
    if (commandLine.sync)
        return SyncFromCommandLine(commandLine.folder, SettingsFile::defaultPath());
    if (!commandLine.exportFile)
        return std::nullopt;
    // The hour events ring on other devices as the reminders would here.
    return ExportFromCommandLine(commandLine.folder, *commandLine.exportFile, commandLine.notesAs,
                                 ReminderLead(SettingsFile::defaultPath()));
}

CommandLine ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options options(parser);
    // A mistake is told with the usage. No file is opened by name: a word the program does not
    // take is a mistake too.
    const bool parsed = parser.parse(arguments);
    const QString notesAs = parsed ? parser.value(options.notesAs) : QString();
    const bool notesAsKnown = notesAs.isEmpty() || notesAs == u"journal" || notesAs == u"events";
    if (!parsed || !parser.positionalArguments().isEmpty() || !notesAsKnown) {
        QString mistake = parser.errorText();
        if (parsed && !notesAsKnown)
            mistake = u"Unknown value '" + notesAs + u"' for --notes-as.";
        else if (parsed)
            mistake = u"Unexpected argument '" + parser.positionalArguments().first() + u"'.";
        std::fprintf(stderr, "%s\n\n%s", qPrintable(mistake), qPrintable(parser.helpText()));
        std::exit(1);
    }
    parser.process(arguments); // --help and --version

    QString folder = QDir::currentPath();
    if (parser.isSet(options.folder))
        folder = parser.value(options.folder);
    else if (parser.isSet(options.notesFolder))
        folder = NotesFolder();
    // An export reads a folder and never makes one: a mistyped name would give an empty export.
    if (parser.isSet(options.exportFile) && !QFileInfo(folder).isDir())
        refuseToStart(u"le dossier " + folder + u" n'existe pas");
    if (!QDir().mkpath(folder))
        refuseToStart(u"ne peut créer le dossier " + folder);
    CommandLine commandLine{QDir(folder).absolutePath(), std::nullopt};
    if (parser.isSet(options.exportFile))
        commandLine.exportFile = parser.value(options.exportFile);
    if (notesAs == u"events")
        commandLine.notesAs = NotesAs::Events;
    commandLine.reminders = parser.isSet(options.reminders);
    commandLine.today = parser.isSet(options.today);
    commandLine.sync = parser.isSet(options.sync);
    return commandLine;
}

QString StartFolderFromCommandLine(const QStringList &arguments)
{
    return ReadCommandLine(arguments).folder;
}

} // namespace ruvo
